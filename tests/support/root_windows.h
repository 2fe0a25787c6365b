#pragma once

// What a window manager publishes on the root window of an X server. Include
// it last: Xlib's macros (None, Bool ...) clash with Qt's headers.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <vector>

namespace varnet::testing {

// The windows of a root-window property (_NET_CLIENT_LIST, _NET_ACTIVE_WINDOW,
// _NET_SUPPORTING_WM_CHECK ...); empty when it is not set.
inline std::vector<Window> RootWindows(Display* x, const char* property)
{
    Atom type;
    int format;
    unsigned long count = 0, after;
    unsigned char* data = nullptr;
    std::vector<Window> windows;
    if (XGetWindowProperty(x, DefaultRootWindow(x), XInternAtom(x, property, False), 0, 1024, False, XA_WINDOW, &type,
                           &format, &count, &after, &data) == Success &&
        data) {
        const auto* ids = reinterpret_cast<Window*>(data);
        windows.assign(ids, ids + count);
    }
    XFree(data);
    return windows;
}

// Whether the window manager holds `w` minimized (its WM_STATE is iconic).
inline bool HeldMinimized(Display* x, Window w)
{
    const Atom state = XInternAtom(x, "WM_STATE", False);
    Atom type;
    int format;
    unsigned long count = 0, after;
    unsigned char* data = nullptr;
    bool minimized = false;
    if (XGetWindowProperty(x, w, state, 0, 2, False, state, &type, &format, &count, &after, &data) == Success &&
        data && count >= 1)
        minimized = reinterpret_cast<const long*>(data)[0] == IconicState;
    XFree(data);
    return minimized;
}

} // namespace varnet::testing
