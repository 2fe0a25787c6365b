#include "platform/keystrokes.h"

#include "platform/messages.h"

#include <QByteArray>
#include <QDebug>
#include <QStringView>

#include <algorithm>
#include <array>

// Xlib defines macros (None, Bool, Status, KeyPress ...) that clash with Qt
// names: it comes after every Qt header and stays inside this file.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace varnet {

namespace {

struct NamedKeyInfo {
    NamedKey key;
    const char* name;
    KeySym keysym;
};

constexpr std::array kNamedKeys{
    NamedKeyInfo{NamedKey::Backspace, "BACKSPACE", XK_BackSpace},
    // The Pause/Break key of the keyboard.
    NamedKeyInfo{NamedKey::Break, "BREAK", XK_Pause},
    NamedKeyInfo{NamedKey::CapsLock, "CAPSLOCK", XK_Caps_Lock},
    NamedKeyInfo{NamedKey::Delete, "DELETE", XK_Delete},
    NamedKeyInfo{NamedKey::Down, "DOWN", XK_Down},
    NamedKeyInfo{NamedKey::End, "END", XK_End},
    NamedKeyInfo{NamedKey::Enter, "ENTER", XK_Return},
    NamedKeyInfo{NamedKey::Esc, "ESC", XK_Escape},
    NamedKeyInfo{NamedKey::Help, "HELP", XK_Help},
    NamedKeyInfo{NamedKey::Home, "HOME", XK_Home},
    NamedKeyInfo{NamedKey::Insert, "INSERT", XK_Insert},
    NamedKeyInfo{NamedKey::Left, "LEFT", XK_Left},
    NamedKeyInfo{NamedKey::NumLock, "NUMLOCK", XK_Num_Lock},
    NamedKeyInfo{NamedKey::PageDown, "PGDN", XK_Page_Down},
    NamedKeyInfo{NamedKey::PageUp, "PGUP", XK_Page_Up},
    NamedKeyInfo{NamedKey::PrintScreen, "PRTSC", XK_Print},
    NamedKeyInfo{NamedKey::Right, "RIGHT", XK_Right},
    NamedKeyInfo{NamedKey::ScrollLock, "SCROLLLOCK", XK_Scroll_Lock},
    NamedKeyInfo{NamedKey::Tab, "TAB", XK_Tab},
    NamedKeyInfo{NamedKey::Up, "UP", XK_Up},
    NamedKeyInfo{NamedKey::F1, "F1", XK_F1},
    NamedKeyInfo{NamedKey::F2, "F2", XK_F2},
    NamedKeyInfo{NamedKey::F3, "F3", XK_F3},
    NamedKeyInfo{NamedKey::F4, "F4", XK_F4},
    NamedKeyInfo{NamedKey::F5, "F5", XK_F5},
    NamedKeyInfo{NamedKey::F6, "F6", XK_F6},
    NamedKeyInfo{NamedKey::F7, "F7", XK_F7},
    NamedKeyInfo{NamedKey::F8, "F8", XK_F8},
    NamedKeyInfo{NamedKey::F9, "F9", XK_F9},
    NamedKeyInfo{NamedKey::F10, "F10", XK_F10},
    NamedKeyInfo{NamedKey::F11, "F11", XK_F11},
    NamedKeyInfo{NamedKey::F12, "F12", XK_F12},
    NamedKeyInfo{NamedKey::F13, "F13", XK_F13},
    NamedKeyInfo{NamedKey::F14, "F14", XK_F14},
    NamedKeyInfo{NamedKey::F15, "F15", XK_F15},
    NamedKeyInfo{NamedKey::F16, "F16", XK_F16},
};

std::optional<NamedKey> namedKey(QStringView name)
{
    for (const NamedKeyInfo& info : kNamedKeys) {
        if (name.compare(QLatin1String(info.name), Qt::CaseInsensitive) == 0)
            return info.key;
    }
    return std::nullopt;
}

const NamedKeyInfo& infoOf(NamedKey key)
{
    return *std::find_if(kNamedKeys.begin(), kNamedKeys.end(),
                         [key](const NamedKeyInfo& info) { return info.key == key; });
}

// The keysym that types the character: the keys of the control characters
// that have one, the character itself for Latin-1, the Unicode keysym above.
KeySym keysymOf(QChar c)
{
    const char16_t u = c.unicode();
    switch (u) {
    case 0x08: return XK_BackSpace;
    case 0x09: return XK_Tab;
    case 0x0A:
    case 0x0D: return XK_Return;
    case 0x1B: return XK_Escape;
    case 0x7F: return XK_Delete;
    default: break;
    }
    if ((u >= 0x20 && u < 0x7F) || (u >= 0xA0 && u <= 0xFF))
        return u;
    if (u > 0xFF && !c.isSurrogate())
        return 0x01000000 | u;
    return NoSymbol;
}

QString describe(const SequenceKey& key)
{
    return key.named ? QString::fromLatin1(infoOf(*key.named).name)
                     : QStringLiteral("U+%1").arg(key.character.unicode(), 4, 16, QLatin1Char('0'));
}

int trappedError = 0;

int trapError(Display*, XErrorEvent* error)
{
    trappedError = error->error_code;
    return 0;
}

KeystrokeInjector* current = nullptr;

X11KeystrokeInjector& x11Injector()
{
    static X11KeystrokeInjector injector;
    return injector;
}

} // namespace

std::optional<std::vector<SequenceKey>> parseKeySequence(const QString& sequence)
{
    std::vector<SequenceKey> keys;
    SequenceKey next;
    for (qsizetype i = 0; i < sequence.size(); ++i) {
        const QChar c = sequence[i];
        if (c == u'^') {
            next.ctrl = true;
            continue;
        }
        if (c == u'+') {
            next.shift = true;
            continue;
        }
        if (c == u'{') {
            // The first character inside belongs to the name even when it is
            // a brace itself: "{}}" and "{{}".
            const qsizetype close = sequence.indexOf(u'}', i + 2);
            if (close < 0)
                return std::nullopt;
            const QStringView inside = QStringView(sequence).mid(i + 1, close - i - 1);
            if (inside.size() == 1)
                next.character = inside[0];
            else if (const auto named = namedKey(inside))
                next.named = named;
            else
                return std::nullopt;
            i = close;
        } else if (QStringView(u"%~()[]{}").contains(c)) {
            return std::nullopt;
        } else {
            next.character = c;
        }
        keys.push_back(next);
        next = {};
    }
    if (next.ctrl || next.shift)
        return std::nullopt;
    return keys;
}

KeystrokeInjector& keystrokes()
{
    return current ? *current : x11Injector();
}

KeystrokeInjector* setKeystrokeInjector(KeystrokeInjector* injector)
{
    KeystrokeInjector* previous = current;
    current = injector;
    return previous;
}

// One connection to the X server: finds a key code for each key (putting
// keys that the keyboard map lacks on spare key codes) and sends the key
// events through XTEST.
class X11KeystrokeInjector::Connection {
public:
    // Nothing, with the reason in whyNot, when no usable display is there.
    static std::unique_ptr<Connection> open(QString& whyNot);
    ~Connection();

    void type(const std::vector<SequenceKey>& keys);

private:
    struct KeyPlace {
        KeyCode code;
        bool shifted;
    };
    // A key code without keysyms in the keyboard map, and what it carries.
    struct Spare {
        KeyCode code;
        KeySym lower = NoSymbol;
        KeySym upper = NoSymbol;
        unsigned long lastUse = 0;
    };

    explicit Connection(Display* display);
    std::optional<KeyPlace> place(KeySym keysym);
    std::optional<KeyPlace> placeOnSpare(KeySym keysym);
    bool isSpare(KeyCode code) const;
    bool setSpare(Spare& spare, KeySym lower, KeySym upper);
    void key(KeyCode code, bool down) { XTestFakeKeyEvent(display_, code, down ? True : False, CurrentTime); }

    Display* display_;
    KeyCode shiftKey_;
    KeyCode ctrlKey_;
    int symsPerCode_ = 0;
    // A client reads the keyboard map when it gets to the keys, which may be
    // after later changes of it: every key that a sequence puts on a spare
    // needs a key code of its own, and the one used longest ago is reused.
    std::vector<Spare> spares_;
    unsigned long uses_ = 0;
};

std::unique_ptr<X11KeystrokeInjector::Connection> X11KeystrokeInjector::Connection::open(QString& whyNot)
{
    const QByteArray name = qgetenv("DISPLAY");
    if (name.isEmpty()) {
        whyNot = QStringLiteral("DISPLAY is not set");
        return nullptr;
    }
    Display* display = XOpenDisplay(name.constData());
    if (!display) {
        whyNot = QStringLiteral("the X11 display \"%1\" cannot be opened").arg(QString::fromLocal8Bit(name));
        return nullptr;
    }
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
        XCloseDisplay(display);
        whyNot = QStringLiteral("the X11 display \"%1\" has no XTEST extension").arg(QString::fromLocal8Bit(name));
        return nullptr;
    }
    return std::unique_ptr<Connection>(new Connection(display));
}

X11KeystrokeInjector::Connection::Connection(Display* display)
    : display_(display),
      shiftKey_(XKeysymToKeycode(display, XK_Shift_L)),
      ctrlKey_(XKeysymToKeycode(display, XK_Control_L))
{
    constexpr std::size_t kMaxSpares = 8;
    int minCode = 0, maxCode = 0;
    XDisplayKeycodes(display_, &minCode, &maxCode);
    KeySym* map = XGetKeyboardMapping(display_, static_cast<KeyCode>(minCode), maxCode - minCode + 1, &symsPerCode_);
    if (!map)
        return;
    // The highest empty key codes: the least likely to be real keys.
    for (int code = maxCode; code >= minCode && spares_.size() < kMaxSpares; --code) {
        const KeySym* syms = map + (code - minCode) * symsPerCode_;
        if (std::all_of(syms, syms + symsPerCode_, [](KeySym s) { return s == NoSymbol; }))
            spares_.push_back(Spare{static_cast<KeyCode>(code)});
    }
    XFree(map);
}

X11KeystrokeInjector::Connection::~Connection()
{
    for (Spare& spare : spares_) {
        if (spare.lower != NoSymbol)
            setSpare(spare, NoSymbol, NoSymbol);
    }
    XCloseDisplay(display_);
}

bool X11KeystrokeInjector::Connection::isSpare(KeyCode code) const
{
    return std::any_of(spares_.begin(), spares_.end(), [code](const Spare& s) { return s.code == code; });
}

std::optional<X11KeystrokeInjector::Connection::KeyPlace>
X11KeystrokeInjector::Connection::place(KeySym keysym)
{
    for (Spare& spare : spares_) {
        if (spare.lower != NoSymbol && (keysym == spare.lower || keysym == spare.upper)) {
            spare.lastUse = ++uses_;
            return KeyPlace{spare.code, keysym != spare.lower};
        }
    }
    const KeyCode code = XKeysymToKeycode(display_, keysym);
    if (code != 0 && !isSpare(code)) {
        XkbStateRec state{};
        const int group = XkbGetState(display_, XkbUseCoreKbd, &state) == Success ? state.group : 0;
        for (const int level : {0, 1}) {
            if (XkbKeycodeToKeysym(display_, code, group, level) == keysym)
                return KeyPlace{code, level == 1};
        }
    }
    return placeOnSpare(keysym);
}

std::optional<X11KeystrokeInjector::Connection::KeyPlace>
X11KeystrokeInjector::Connection::placeOnSpare(KeySym keysym)
{
    const auto oldest = std::min_element(spares_.begin(), spares_.end(),
                                         [](const Spare& a, const Spare& b) { return a.lastUse < b.lastUse; });
    KeySym lower = NoSymbol, upper = NoSymbol;
    XConvertCase(keysym, &lower, &upper);
    if (oldest == spares_.end() || !setSpare(*oldest, lower, upper))
        return std::nullopt;
    oldest->lastUse = ++uses_;
    return KeyPlace{oldest->code, keysym != lower};
}

bool X11KeystrokeInjector::Connection::setSpare(Spare& spare, KeySym lower, KeySym upper)
{
    std::vector<KeySym> syms(static_cast<std::size_t>(std::max(symsPerCode_, 2)), NoSymbol);
    syms[0] = lower;
    syms[1] = upper;
    // A refused change must not end the program through Xlib's default
    // handler; the round trip tells whether it was taken.
    trappedError = 0;
    const auto previous = XSetErrorHandler(trapError);
    XChangeKeyboardMapping(display_, spare.code, static_cast<int>(syms.size()), syms.data(), 1);
    XSync(display_, False);
    XSetErrorHandler(previous);
    const bool taken = trappedError == 0;
    spare.lower = taken ? lower : NoSymbol;
    spare.upper = taken ? upper : NoSymbol;
    return taken;
}

void X11KeystrokeInjector::Connection::type(const std::vector<SequenceKey>& keys)
{
    for (const SequenceKey& k : keys) {
        const KeySym keysym = k.named ? infoOf(*k.named).keysym : keysymOf(k.character);
        const std::optional<KeyPlace> at = keysym == NoSymbol ? std::nullopt : place(keysym);
        const bool shift = k.shift || (at && at->shifted);
        if (!at || (shift && !shiftKey_) || (k.ctrl && !ctrlKey_)) {
            qWarning() << "Keystroke left out, no key types" << describe(k);
            continue;
        }
        if (k.ctrl)
            key(ctrlKey_, true);
        if (shift)
            key(shiftKey_, true);
        key(at->code, true);
        key(at->code, false);
        if (shift)
            key(shiftKey_, false);
        if (k.ctrl)
            key(ctrlKey_, false);
    }
    XFlush(display_);
}

X11KeystrokeInjector::X11KeystrokeInjector() = default;

X11KeystrokeInjector::~X11KeystrokeInjector() = default;

X11KeystrokeInjector::Connection* X11KeystrokeInjector::connection()
{
    if (!connection_ && !unavailable_) {
        QString whyNot;
        connection_ = Connection::open(whyNot);
        if (!connection_) {
            // Raised before the box: its event loop may bring the next key.
            unavailable_ = true;
            messages().ok(QStringLiteral("Keystrokes cannot be sent: %1.\r\n"
                                         "They need an X11 session with the XTEST extension; none will be "
                                         "sent until the program is restarted.")
                              .arg(whyNot));
        }
    }
    return connection_.get();
}

void X11KeystrokeInjector::inject(const QString& sequence)
{
    const auto keys = parseKeySequence(sequence);
    if (!keys) {
        qWarning() << "Keystrokes not sent, not a key sequence:" << sequence;
        return;
    }
    if (keys->empty())
        return;
    if (Connection* x = connection())
        x->type(*keys);
}

} // namespace varnet
