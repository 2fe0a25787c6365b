#pragma once

// Keys for the simulator: the switches of the I/O modules can type a key
// instead of writing a simulator value. A key code (16 bits) holds:
//   bits 0-7   the character (Latin-1), used with key number 1 only
//   bits 8-13  the key number: 0 no key, 1 the character, 2..37 a name of
//              KeyNames, 38..63 no key either
//   bit 14     Shift
//   bit 15     Ctrl
// The keys go to the window that has the focus, which is the simulator while
// the run window is minimized.

#include <QString>

#include <array>
#include <cstdint>
#include <functional>

namespace varnet {

inline constexpr int kKeyNameCount = 38;
// The layout of a key code.
inline constexpr int kKeyNumberShift = 8;
inline constexpr int kKeyNumberMask = 0x3F;
inline constexpr int kCharacterKey = 1;
inline constexpr int kKeyShiftBit = 0x4000;
inline constexpr int kKeyCtrlBit = 0x8000;

// The key number of a key code (the stored Integer as it is).
constexpr int KeyNumber(int KeyCode)
{
    return (std::uint16_t(KeyCode) >> kKeyNumberShift) & kKeyNumberMask;
}

// The names of the key numbers, as the key sequence writes them in braces.
inline constexpr std::array<const char*, kKeyNameCount> KeyNames{
    "NONE", "KEYSTROKE", "BACKSPACE", "BREAK", "CAPSLOCK", "DELETE", "DOWN", "END", "ENTER", "ESC",
    "HELP", "HOME", "INSERT", "LEFT", "NUMLOCK", "PGDN", "PGUP", "PRTSC", "RIGHT", "SCROLLLOCK",
    "TAB", "UP", "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8",
    "F9", "F10", "F11", "F12", "F13", "F14", "F15", "F16",
};

// The key label the I/O-module configuration window shows.
extern QString KeyName;

// Whether the run window is minimized; the run window installs it while it is
// loaded. Not installed counts as not minimized.
extern std::function<bool()> RunWindowMinimized;

// The key-sequence text of a key code ("+a", "^{ENTER}", "{%}"); empty when
// the code holds no key (key number 0 or 38..63). Takes the stored Integer as
// it is: a negative value is a code with bit 15 set.
QString KeySequenceText(int KeyCode);

// Types the key of KeyCode into the focused window when the run window is
// minimized; otherwise shows it in an OK box and types nothing. A code that
// holds no key does nothing.
void SendKeystroke(int KeyCode, bool runWindowMinimized);
// The same, asking RunWindowMinimized.
void SendKeystroke(int KeyCode);

// Sets KeyName to the label of a key code; every code has the same one.
void ConvertKeytoName(int KeyCode);

} // namespace varnet
