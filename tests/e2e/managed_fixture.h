#pragma once

// The program on a private X display under a window manager (openbox), as a cockpit builder
// meets it: its windows minimize, come back from the taskbar, take the keyboard and close from
// their title bars. A test without such a display (or without openbox) skips.

#include "boxes_fixture.h"
#include "support/window_manager.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>
// Last: Xlib's macros (None, Bool ...) clash with the headers above.
#include "support/root_windows.h"

namespace varnet::testing {

class ProgramUnderWindowManagerTest : public ProgramWithBoxesTest {
protected:
    ProgramUnderWindowManagerTest()
    {
        if (!x_ || !wm_.start(display_))
            return;
        // Running once it names itself on the root window, and through its start-up once it
        // answers a question.
        managed_ = xUntil([&] { return !rootWindows("_NET_SUPPORTING_WM_CHECK").empty(); }, kBoundMs) &&
                   windowManagerAnswered(kBoundMs);
    }

    bool windowManagerAnswered(int timeoutMs) override { return answers_.windowManagerAnswered(x_.get(), timeoutMs); }

    std::vector<Window> rootWindows(const char* property) const { return RootWindows(x_.get(), property); }

    // The window manager's window whose title starts with `title`.
    Window managedWindow(const std::string& title) const
    {
        for (const Window w : rootWindows("_NET_CLIENT_LIST")) {
            char* name = nullptr;
            const bool match = XFetchName(x_.get(), w, &name) && std::string(name).starts_with(title);
            XFree(name);
            if (match)
                return w;
        }
        return 0;
    }

    // Asks the window manager to bring `w` to the front with the keyboard, as a click on its
    // taskbar button does, restoring it when minimized; returns once the program has come to rest.
    void activate(Window w)
    {
        askWindowManager(w, "_NET_ACTIVE_WINDOW", {kFromTaskbar, CurrentTime});
        settle();
    }

    // Asks the window manager to close `w`, as the close button of its title bar does; returns once
    // the program has come to rest (or ended).
    void closeFromTitleBar(Window w)
    {
        askWindowManager(w, "_NET_CLOSE_WINDOW", {CurrentTime, kFromTaskbar});
        settle();
    }

    // The program's window titled `title` (at its start), waited for, with the keyboard once the
    // program has come to rest; 0 when it does not come.
    Window windowWithKeyboard(const std::string& title, int timeoutMs = kBoundMs)
    {
        Window w = 0;
        return keptOnceSettled([&] { return (w = managedWindow(title)) != 0 && focus() == w; }, timeoutMs) ? w : 0;
    }

    // Whether the window manager holds `w` minimized.
    bool iconic(Window w) const { return HeldMinimized(x_.get(), w); }

    WindowManager wm_;
    bool managed_ = false;

private:
    // Where a request comes from, as the window manager is told: a pager or taskbar, as a user's click.
    static constexpr long kFromTaskbar = 2;

    // A request about `w` to the window manager (EWMH), which it takes from the root window.
    void askWindowManager(Window w, const char* message, std::array<long, 2> data)
    {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = w;
        e.xclient.message_type = XInternAtom(x_.get(), message, False);
        e.xclient.format = 32;
        std::copy(data.begin(), data.end(), e.xclient.data.l);
        XSendEvent(x_.get(), DefaultRootWindow(x_.get()), False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &e);
        XFlush(x_.get());
    }
};

} // namespace varnet::testing
