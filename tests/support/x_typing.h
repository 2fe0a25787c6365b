#pragma once

// Keys typed on an X display through XTEST on the caller's own connection: once the call returns
// the server has delivered every key to the window that had the keyboard, so whatever the caller
// sends next on that connection (a ping, a request to the window manager) comes after them. The
// program's own injector types on a connection of its own and only flushes it: a request sent on
// another connection right after may reach the server first.
//
// The keys are written in the program's key-sequence notation ("+{TAB}", "{ENTER}", "50").
// Include it last: Xlib's macros (None, Bool ...) clash with Qt's headers.

#include "platform/keystrokes.h"

#include <QString>

#include <array>
#include <utility>
#include <vector>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace varnet::testing {

// The keysym of a key named in braces.
inline KeySym NamedKeysym(NamedKey key)
{
    static const std::array<std::pair<NamedKey, const char*>, 36> names = {{
        {NamedKey::Backspace, "BackSpace"}, {NamedKey::Break, "Pause"},       {NamedKey::CapsLock, "Caps_Lock"},
        {NamedKey::Delete, "Delete"},       {NamedKey::Down, "Down"},         {NamedKey::End, "End"},
        {NamedKey::Enter, "Return"},        {NamedKey::Esc, "Escape"},        {NamedKey::Help, "Help"},
        {NamedKey::Home, "Home"},           {NamedKey::Insert, "Insert"},     {NamedKey::Left, "Left"},
        {NamedKey::NumLock, "Num_Lock"},    {NamedKey::PageDown, "Next"},     {NamedKey::PageUp, "Prior"},
        {NamedKey::PrintScreen, "Print"},   {NamedKey::Right, "Right"},       {NamedKey::ScrollLock, "Scroll_Lock"},
        {NamedKey::Tab, "Tab"},             {NamedKey::Up, "Up"},             {NamedKey::F1, "F1"},
        {NamedKey::F2, "F2"},               {NamedKey::F3, "F3"},             {NamedKey::F4, "F4"},
        {NamedKey::F5, "F5"},               {NamedKey::F6, "F6"},             {NamedKey::F7, "F7"},
        {NamedKey::F8, "F8"},               {NamedKey::F9, "F9"},             {NamedKey::F10, "F10"},
        {NamedKey::F11, "F11"},             {NamedKey::F12, "F12"},           {NamedKey::F13, "F13"},
        {NamedKey::F14, "F14"},             {NamedKey::F15, "F15"},           {NamedKey::F16, "F16"},
    }};
    for (const auto& [named, name] : names)
        if (named == key)
            return XStringToKeysym(name);
    return NoSymbol;
}

// Types `keys` through XTEST on `x` and waits until the server has taken them. A key that no key
// code of the keyboard map types (at its first two levels) is left out; the answer lists those,
// empty when every key was typed.
inline std::vector<SequenceKey> TypeOnDisplay(Display* x, const std::vector<SequenceKey>& keys)
{
    std::vector<SequenceKey> left;
    const KeyCode shiftKey = XKeysymToKeycode(x, XStringToKeysym("Shift_L"));
    const KeyCode ctrlKey = XKeysymToKeycode(x, XStringToKeysym("Control_L"));
    const auto press = [x](KeyCode code, bool down) { XTestFakeKeyEvent(x, code, down ? True : False, CurrentTime); };
    for (const SequenceKey& k : keys) {
        const char16_t c = k.character.unicode();
        const KeySym keysym = k.named ? NamedKeysym(*k.named) : c < 0x100 ? KeySym(c) : KeySym(0x01000000 | c);
        const KeyCode code = keysym == NoSymbol ? 0 : XKeysymToKeycode(x, keysym);
        int level = -1;
        for (const int l : {0, 1})
            if (level < 0 && code != 0 && XkbKeycodeToKeysym(x, code, 0, l) == keysym)
                level = l;
        const bool shift = k.shift || level == 1;
        if (level < 0 || (shift && !shiftKey) || (k.ctrl && !ctrlKey)) {
            left.push_back(k);
            continue;
        }
        if (k.ctrl)
            press(ctrlKey, true);
        if (shift)
            press(shiftKey, true);
        press(code, true);
        press(code, false);
        if (shift)
            press(shiftKey, false);
        if (k.ctrl)
            press(ctrlKey, false);
    }
    XSync(x, False);
    return left;
}

} // namespace varnet::testing
