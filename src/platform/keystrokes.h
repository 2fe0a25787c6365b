#pragma once

// Keystrokes typed into whatever window has the keyboard focus (the
// simulator, while the program's own windows are minimized).
//
// They are given as key-sequence text: "^" holds Ctrl and "+" holds Shift
// for the next key; a key name stands in braces ("{ENTER}", "{F12}"); a
// single character in braces stands for itself, which is how the characters
// that mean something in the notation are typed ("{+}", "{%}", "{}}").
//
//     keystrokes().inject("^+{F1}");   // Ctrl+Shift+F1

#include <QChar>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace varnet {

// The keys a sequence can name in braces.
enum class NamedKey {
    Backspace, Break, CapsLock, Delete, Down, End, Enter, Esc, Help, Home,
    Insert, Left, NumLock, PageDown, PageUp, PrintScreen, Right, ScrollLock, Tab, Up,
    F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12, F13, F14, F15, F16,
};

// One key of a sequence and the modifiers held while it is typed: a named
// key, or else a character.
struct SequenceKey {
    bool ctrl = false;
    bool shift = false;
    std::optional<NamedKey> named;
    QChar character;

    bool operator==(const SequenceKey&) const = default;
};

// The keys of a sequence in order; nothing when the text does not follow the
// notation: an unknown key name, a modifier with no key after it, an
// unbalanced brace, or one of % ~ ( ) [ ] { } outside braces.
std::optional<std::vector<SequenceKey>> parseKeySequence(const QString& sequence);

class KeystrokeInjector {
public:
    virtual ~KeystrokeInjector() = default;

    // Types the sequence into the window that has the focus and returns at
    // once, without waiting for that window to process the keys. A sequence
    // that is not valid notation types nothing.
    virtual void inject(const QString& sequence) = 0;
};

// The injector in use; the X11 one unless a test installed another.
KeystrokeInjector& keystrokes();

// Installs `injector` (not owned) and returns the one it replaces;
// nullptr restores the X11 injector.
KeystrokeInjector* setKeystrokeInjector(KeystrokeInjector* injector);

// Types through the XTEST extension of the X11 display named by DISPLAY,
// opened at the first sequence. Without a usable display (no DISPLAY, a
// Wayland session without X, a server without XTEST) the first sequence
// shows one OK box saying so and every sequence is dropped from then on.
// A key that the keyboard map lacks is put on an empty key code (one of a
// few, reused in turn); they are emptied again on destruction. A key that
// still cannot be typed is left out with a warning on the log.
class X11KeystrokeInjector final : public KeystrokeInjector {
public:
    X11KeystrokeInjector();
    ~X11KeystrokeInjector() override;
    X11KeystrokeInjector(const X11KeystrokeInjector&) = delete;
    X11KeystrokeInjector& operator=(const X11KeystrokeInjector&) = delete;

    void inject(const QString& sequence) override;

private:
    class Connection;

    // The open connection, or nullptr once the display proved unusable.
    Connection* connection();

    std::unique_ptr<Connection> connection_;
    bool unavailable_ = false;
};

} // namespace varnet
