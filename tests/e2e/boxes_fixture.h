#pragma once

// The program on a private X display, so that its boxes are real windows a test can see come to
// the front (titled with the program's name) and answer with the keyboard, as a user does.

#include "platform/keystrokes.h"
#include "program_fixture.h"
#include "support/private_xserver.h"

#include <X11/Xlib.h>

#include <functional>
#include <memory>
#include <string>

namespace varnet::testing {

class ProgramWithBoxesTest : public ProgramTest {
protected:
    ProgramWithBoxesTest()
    {
        if (!display_.empty())
            qputenv("DISPLAY", display_.c_str());  // for the keys typed
        platform_ = display_.empty() ? "offscreen" : "xcb";
        previousHandler_ = XSetErrorHandler(ignoreWindowsGone);
    }
    ~ProgramWithBoxesTest() override
    {
        XSetErrorHandler(previousHandler_);
        qunsetenv("DISPLAY");
    }

    // Waits for a state of the X server. Nothing in this process wakes a wait when it changes, so it
    // is asked every 20 ms.
    static bool xUntil(const std::function<bool()>& done, int timeoutMs)
    {
        QElapsedTimer waited;
        waited.start();
        for (;; waitMs(20)) {
            if (done())
                return true;
            if (waited.hasExpired(timeoutMs))
                return false;
        }
    }

    // The box of the program (its windows have titles of their own) that has the keyboard within
    // the time, other than `other`; 0 for none.
    Window boxInFront(int timeoutMs, Window other = 0)
    {
        Window box = 0;
        xUntil(
            [&] {
                Window focus = 0;
                int revert = 0;
                char* title = nullptr;
                XGetInputFocus(x_.get(), &focus, &revert);
                if (focus > PointerRoot && focus != other && XFetchName(x_.get(), focus, &title) &&
                    title == std::string("Varnet"))
                    box = focus;
                XFree(title);
                return box != 0;
            },
            timeoutMs);
        return box;
    }

private:
    // The program's windows close while a test asks for their names: a window gone between the
    // window manager's list (or the focus) and the question is no error that ends the test program.
    static int ignoreWindowsGone(Display* display, XErrorEvent* error)
    {
        return error->error_code == BadWindow || !previousHandler_ ? 0 : previousHandler_(display, error);
    }
    static inline XErrorHandler previousHandler_ = nullptr;

protected:
    PrivateXServer server_;
    std::string display_ = server_.start();
    std::unique_ptr<Display, int (*)(Display*)> x_{display_.empty() ? nullptr : XOpenDisplay(display_.c_str()),
                                                 XCloseDisplay};
    X11KeystrokeInjector keys_;
};

} // namespace varnet::testing
