#pragma once

// Round trips through the X server that tell a test when another client has taken what the test
// sent it: an answer that the client gives only once it has handled every event before the
// question. Questions go out on the test's own connection (`via`), after whatever it typed or
// asked there; the answers come back on a connection of this object's own, so that nothing the
// test reads on its connection is taken from under it.
//
// - A Qt window answers _NET_WM_PING to the root window when its event loop handles the ping.
//   Events reach the widgets a step later than the ping's answer, so a first answer may come
//   before the keys in front of the ping took effect; an answer to a ping sent after it comes
//   after them. Inside a wait of its own that holds back user input, the program answers pings
//   and leaves the keys queued.
// - A key press that the program handles (user input is never handled out of turn) stamps the
//   window with the key's time (_NET_WM_USER_TIME), waits or no waits. The stamp is on the window
//   itself: openbox, the tests' window manager, offers no window of its own for it.
// - A window manager answers _NET_REQUEST_FRAME_EXTENTS, for a window it does not even manage,
//   once it has handled every request before it.
//
// Include it last: Xlib's macros (None, Bool ...) clash with Qt's headers.

#include "platform/wait.h"

#include <QElapsedTimer>
#include <QSocketNotifier>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace varnet::testing {

class XRoundTrips {
public:
    explicit XRoundTrips(const std::string& display) : x_(display.empty() ? nullptr : XOpenDisplay(display.c_str()))
    {
        if (!x_)
            return;
        const Window root = DefaultRootWindow(x_);
        // Qt sends the ping's answer to the root window for StructureNotify (and the window
        // manager's SubstructureRedirect).
        XSelectInput(x_, root, StructureNotifyMask);
        own_ = XCreateSimpleWindow(x_, root, -10, -10, 1, 1, 0, 0, 0);
        XSelectInput(x_, own_, PropertyChangeMask);
        clock_ = XInternAtom(x_, "_VARNET_TEST_CLOCK", False);
        frameExtents_ = XInternAtom(x_, "_NET_FRAME_EXTENTS", False);
        XSync(x_, False);
        // Wakes the waits below when an answer comes.
        readable_ = std::make_unique<QSocketNotifier>(ConnectionNumber(x_), QSocketNotifier::Read);
    }
    ~XRoundTrips()
    {
        readable_.reset();
        if (x_)
            XCloseDisplay(x_);
    }
    XRoundTrips(const XRoundTrips&) = delete;
    XRoundTrips& operator=(const XRoundTrips&) = delete;

    explicit operator bool() const { return x_ != nullptr; }

    // The server's time now (ms, as X stamps events); 0 without a display.
    Time serverTime()
    {
        if (!x_)
            return 0;
        XChangeProperty(x_, own_, clock_, XA_INTEGER, 32, PropModeAppend, nullptr, 0);
        Time now = 0;
        waitFor(
            [&](const XEvent& e) {
                if (e.type != PropertyNotify || e.xproperty.window != own_ || e.xproperty.atom != clock_)
                    return false;
                now = e.xproperty.time;
                return true;
            },
            kAnswerMs);
        return now;
    }

    // The first time of the server's clock later than `t`: what it stamps an event sent now with
    // is later than anything it stamped up to `t`. The clock ticks every millisecond.
    Time timeAfter(Time t)
    {
        QElapsedTimer spun;
        spun.start();
        Time now = serverTime();
        while (x_ && !Later(now, t) && !spun.hasExpired(kAnswerMs))
            now = serverTime();
        return now;
    }

    // Whether time `a` is later than `b` (the clock wraps after 49 days).
    static bool Later(Time a, Time b) { return std::int32_t(std::uint32_t(a) - std::uint32_t(b)) > 0; }

    // The time of the last key press that the client of `w` handled in it; 0 for none.
    Time userTime(Window w)
    {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        Time t = 0;
        if (x_ &&
            XGetWindowProperty(x_, w, XInternAtom(x_, "_NET_WM_USER_TIME", False), 0, 1, False, XA_CARDINAL, &type,
                               &format, &count, &after, &data) == Success &&
            data && count == 1)
            t = Time(*reinterpret_cast<const long*>(data));
        XFree(data);
        return t;
    }

    // Waits until the program whose windows are `windows` has handled the key press that went to
    // `to` (one of them) with time `t` or later: a window of its stamped with that time or a later
    // one, or `to` gone (the key went with it). Keys are never handled out of turn, so those typed
    // before it have been handled too, however long the program held them back. False when neither
    // happens within the time.
    bool keysTaken(const std::vector<Window>& windows, Window to, Time t, int timeoutMs)
    {
        if (!x_)
            return false;
        const Atom stamp = XInternAtom(x_, "_NET_WM_USER_TIME", False);
        for (const Window w : windows)
            XSelectInput(x_, w, PropertyChangeMask | StructureNotifyMask);
        // Asked after the selection: what came before it is seen here, what comes after wakes the wait.
        const auto taken = [&] {
            XWindowAttributes attributes;
            return std::ranges::any_of(windows, [&](Window w) { return !Later(t, userTime(w)); }) ||
                   !XGetWindowAttributes(x_, to, &attributes);
        };
        if (taken())
            return true;
        return waitFor(
            [&](const XEvent& e) {
                return ((e.type == PropertyNotify && e.xproperty.atom == stamp) ||
                        (e.type == DestroyNotify && e.xdestroywindow.window == to)) &&
                       taken();
            },
            timeoutMs);
    }

    // Pings the windows that `windows` gives (those of one program) through `via`: true once one
    // answers, false when none answers within the time or `windows` gives nothing (the program is
    // gone). The windows are asked again every little while: a window may go while it is asked,
    // and while the window manager takes a window into its frame the window is in no list.
    bool pinged(Display* via, const std::function<std::optional<std::vector<Window>>()>& windows, int timeoutMs)
    {
        if (!x_ || !via)
            return false;
        const long id = kPingIds | (++pings_ & 0xffffff);
        const Atom protocols = XInternAtom(via, "WM_PROTOCOLS", False);
        const Atom ping = XInternAtom(via, "_NET_WM_PING", False);
        const auto answer = [&](const XEvent& e) {
            return e.type == ClientMessage && e.xclient.format == 32 && e.xclient.data.l[1] == id &&
                   Atom(e.xclient.data.l[0]) == ping;
        };
        QElapsedTimer waited;
        waited.start();
        while (!waited.hasExpired(timeoutMs)) {
            const std::optional<std::vector<Window>> asked = windows();
            if (!asked)
                return false;
            for (const Window w : *asked) {
                XEvent e{};
                e.xclient.type = ClientMessage;
                e.xclient.window = w;
                e.xclient.message_type = protocols;
                e.xclient.format = 32;
                e.xclient.data.l[0] = long(ping);
                e.xclient.data.l[1] = id;
                e.xclient.data.l[2] = long(w);
                XSendEvent(via, w, False, NoEventMask, &e);
            }
            XFlush(via);
            const int again = asked->empty() ? kLookAgainMs : kAskAgainMs;
            if (waitFor(answer, int(std::clamp<qint64>(timeoutMs - waited.elapsed(), 1, again))))
                return true;
        }
        return false;
    }

    // Asks the window manager a question through `via` that it answers once it has handled every
    // request before it: true when it did within the time. The question is about a window made
    // for it, so that no late answer to an earlier one counts; it is asked again every little
    // while, as a window manager still starting may drop it.
    bool windowManagerAnswered(Display* via, int timeoutMs)
    {
        if (!x_ || !via)
            return false;
        const Window asked = XCreateSimpleWindow(x_, DefaultRootWindow(x_), -10, -10, 1, 1, 0, 0, 0);
        XSelectInput(x_, asked, PropertyChangeMask);
        XSync(x_, False);
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = asked;
        e.xclient.message_type = XInternAtom(via, "_NET_REQUEST_FRAME_EXTENTS", False);
        e.xclient.format = 32;
        bool answered = false;
        QElapsedTimer waited;
        waited.start();
        while (!answered && !waited.hasExpired(timeoutMs)) {
            XSendEvent(via, DefaultRootWindow(via), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
            XFlush(via);
            answered = waitFor(
                [&](const XEvent& e) {
                    return e.type == PropertyNotify && e.xproperty.window == asked &&
                           e.xproperty.atom == frameExtents_ && e.xproperty.state == PropertyNewValue;
                },
                int(std::clamp<qint64>(timeoutMs - waited.elapsed(), 1, kAskAgainMs)));
        }
        XDestroyWindow(x_, asked);
        XFlush(x_);
        return answered;
    }

private:
    // Reads the events of this connection until one that `match` takes, within the time; the
    // others (answers come late, other windows change) are dropped. The test's own events (the
    // simulated devices, the program's output) go on meanwhile.
    bool waitFor(const std::function<bool(const XEvent&)>& match, int timeoutMs)
    {
        return waitUntil(
            [&] {
                while (XEventsQueued(x_, QueuedAfterFlush) > 0) {
                    XEvent e;
                    XNextEvent(x_, &e);
                    if (match(e))
                        return true;
                }
                return false;
            },
            timeoutMs);
    }

    static constexpr int kAnswerMs = 10000;
    static constexpr int kAskAgainMs = 200;
    static constexpr int kLookAgainMs = 20;
    // The ping ids of the tests, apart from those of the window manager (which gets every answer
    // too, and counts up from 1).
    static constexpr long kPingIds = 0x3e000000;

    Display* x_;
    Window own_ = 0;
    Atom clock_ = 0;
    Atom frameExtents_ = 0;
    long pings_ = 0;
    std::unique_ptr<QSocketNotifier> readable_;
};

} // namespace varnet::testing
