#pragma once

// The program on a private X display, so that its boxes are real windows a test can see come to
// the front (titled with the program's name) and answer with the keyboard, as a user does.
//
// A test goes on from what it typed (or asked the window manager for) once the program has taken
// it, never after a time: type() returns when the program has handled the keys and whatever they
// set off among its windows has come to rest. On a busy machine a window may come, take the
// keyboard and hand it on long after any time a test would guess. Times that remain only bound
// a failure.

#include "platform/keystrokes.h"
#include "program_fixture.h"
#include "support/private_xserver.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>
// Last: Xlib's macros (None, Bool ...) clash with the headers above.
#include "support/root_windows.h"
#include "support/x_round_trips.h"
#include "support/x_typing.h"

namespace varnet::testing {

class ProgramWithBoxesTest : public ProgramTest {
protected:
    ProgramWithBoxesTest()
    {
        if (!display_.empty())
            qputenv("DISPLAY", display_.c_str());  // for the program, started with this environment
        platform_ = display_.empty() ? "offscreen" : "xcb";
    }
    ~ProgramWithBoxesTest() override { qunsetenv("DISPLAY"); }

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

    // Types `sequence` (the program's key notation: "+{TAB}", "{ENTER}", "50") into the window that
    // has the keyboard, and returns once the program has taken the keys and come to rest.
    void type(const QString& sequence)
    {
        const std::optional<std::vector<SequenceKey>> keys = parseKeySequence(sequence);
        if (!keys) {
            ADD_FAILURE() << "not a key sequence: " << sequence.toStdString();
            return;
        }
        if (!x_ || keys->empty())
            return;
        // The last key goes with a time later than that of any key before it: once the program
        // has handled that one, it has handled them all.
        std::vector<SequenceKey> left = TypeOnDisplay(x_.get(), {keys->begin(), keys->end() - 1});
        const Window to = focus();
        const std::vector<Window> windows = programWindows();
        const Time last = answers_.timeAfter(answers_.serverTime());
        const std::vector<SequenceKey> lastLeft = TypeOnDisplay(x_.get(), {keys->back()});
        left.insert(left.end(), lastLeft.begin(), lastLeft.end());
        EXPECT_TRUE(left.empty()) << left.size() << " keys of \"" << sequence.toStdString()
                                  << "\" are on no key of this display's keyboard";
        // Keys typed into another window (the test's own) are not the program's to take.
        if (std::ranges::find(windows, to) != windows.end()) {
            EXPECT_TRUE(answers_.keysTaken(windows, to, last, kBoundMs))
                << "the program did not take \"" << sequence.toStdString() << "\" within " << kBoundMs << " ms";
        }
        settle();
    }

    // Waits until the program (and the window manager, where there is one) has handled all that
    // the test sent so far, and all that this set off: two rounds in a row, each a ping answered
    // and the window manager's answer, leave the keyboard and the program's windows as they were.
    // Every round asks anew, after the answers of the one before. A program that has ended has
    // nothing to take.
    void settle()
    {
        if (!x_)
            return;
        QElapsedTimer waited;
        waited.start();
        std::vector<long> before = windowsNow();
        for (int still = 0; still < 2;) {
            if (program_.state() != QProcess::Running)
                return;
            const auto left = [&] { return int(std::max<qint64>(kBoundMs - waited.elapsed(), 1)); };
            const auto windows = [this]() -> std::optional<std::vector<Window>> {
                if (program_.state() != QProcess::Running)
                    return std::nullopt;
                return programWindows();
            };
            if (!answers_.pinged(x_.get(), windows, left())) {
                if (program_.state() == QProcess::Running)
                    ADD_FAILURE() << "the program did not answer a ping within " << kBoundMs << " ms";
                return;
            }
            if (!windowManagerAnswered(left())) {
                ADD_FAILURE() << "the window manager did not answer within " << kBoundMs << " ms";
                return;
            }
            const std::vector<long> now = windowsNow();
            still = now == before ? still + 1 : 0;
            before = now;
            if (still < 2 && waited.hasExpired(kBoundMs)) {
                ADD_FAILURE() << "the program's windows did not come to rest within " << kBoundMs << " ms";
                return;
            }
        }
    }

    // Asks the window manager a question that it answers once it has handled all before it; true
    // at once where there is none.
    virtual bool windowManagerAnswered(int /*timeoutMs*/) { return true; }

    // The program's windows: those it made (they carry its process id), top-level or in a frame of
    // the window manager's.
    std::vector<Window> programWindows() const
    {
        std::vector<Window> all = RootWindows(x_.get(), "_NET_CLIENT_LIST");
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(x_.get(), DefaultRootWindow(x_.get()), &root, &parent, &children, &count) && children)
            all.insert(all.end(), children, children + count);
        XFree(children);
        std::erase_if(all, [&](Window w) { return processOf(w) != program_.processId() || program_.processId() == 0; });
        std::ranges::sort(all);
        all.erase(std::unique(all.begin(), all.end()), all.end());
        return all;
    }

    Window focus() const
    {
        Window w = 0;
        int revert = 0;
        XGetInputFocus(x_.get(), &w, &revert);
        return w;
    }

    // The box of the program (its windows have titles of their own) that has the keyboard within
    // the time, and keeps it once the program has come to rest, other than `other`; 0 for none.
    Window boxInFront(int timeoutMs, Window other = 0)
    {
        Window box = 0;
        const auto inFront = [&] {
            char* title = nullptr;
            const Window w = focus();
            box = w > PointerRoot && w != other && XFetchName(x_.get(), w, &title) && title == std::string("Varnet")
                      ? w
                      : 0;
            XFree(title);
            return box != 0;
        };
        return keptOnceSettled(inFront, timeoutMs) ? box : 0;
    }

    // Answers `box` with `key` ("y", "{ENTER}") and waits for it to go. A letter answers as a user's
    // does: it presses the box's button, which lets go and answers a tenth of a second later, on a
    // timer of the program's that no round trip waits for. False when the box stays.
    bool answered(Window box, const char* key)
    {
        type(QString::fromLatin1(key));
        return keptOnceSettled([&] { return !shown(box); }, kBoundMs);
    }

    // Whether `w` is on the screen (it may have gone meanwhile).
    bool shown(Window w) const
    {
        XWindowAttributes attributes{};
        return XGetWindowAttributes(x_.get(), w, &attributes) && attributes.map_state == IsViewable;
    }

    // Waits within the time for `done`, then for the program to come to rest, and asks again: a
    // window that had the keyboard for a moment may hand it on.
    bool keptOnceSettled(const std::function<bool()>& done, int timeoutMs)
    {
        QElapsedTimer waited;
        waited.start();
        do {
            if (!xUntil(done, int(std::max<qint64>(timeoutMs - waited.elapsed(), 0))))
                return false;
            settle();
            if (done())
                return true;
        } while (!waited.hasExpired(timeoutMs));
        return false;
    }

    // A bound for what must happen at once on an idle machine: it only ends a test that fails.
    static constexpr int kBoundMs = 10000;

private:
    // The focus, and each of the program's windows with its map state: what a round of settle()
    // compares.
    std::vector<long> windowsNow() const
    {
        std::vector<long> now{long(focus())};
        for (const Window w : programWindows()) {
            XWindowAttributes attributes{};
            now.push_back(long(w));
            now.push_back(XGetWindowAttributes(x_.get(), w, &attributes) ? attributes.map_state : -1);
        }
        return now;
    }

    qint64 processOf(Window w) const
    {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        qint64 pid = 0;
        if (XGetWindowProperty(x_.get(), w, XInternAtom(x_.get(), "_NET_WM_PID", False), 0, 1, False, XA_CARDINAL,
                               &type, &format, &count, &after, &data) == Success &&
            data && count == 1)
            pid = *reinterpret_cast<const long*>(data);
        XFree(data);
        return pid;
    }

    // The program's windows close while a test asks for their names or pings them: a window gone
    // between the window manager's list (or the focus) and the question is no error that ends the
    // test program. The error may come as late as the connection's close, so the handler stays
    // until both connections are closed (it is the first member, the last one destroyed).
    class WindowsGoneIgnored {
    public:
        WindowsGoneIgnored() { previous_ = XSetErrorHandler(ignore); }
        ~WindowsGoneIgnored() { XSetErrorHandler(previous_); }
        WindowsGoneIgnored(const WindowsGoneIgnored&) = delete;
        WindowsGoneIgnored& operator=(const WindowsGoneIgnored&) = delete;

    private:
        static int ignore(Display* display, XErrorEvent* error)
        {
            return error->error_code == BadWindow || !previous_ ? 0 : previous_(display, error);
        }
        static inline XErrorHandler previous_ = nullptr;
    };
    WindowsGoneIgnored windowsGoneIgnored_;

protected:
    PrivateXServer server_;
    std::string display_ = server_.start();
    std::unique_ptr<Display, int (*)(Display*)> x_{display_.empty() ? nullptr : XOpenDisplay(display_.c_str()),
                                                 XCloseDisplay};
    XRoundTrips answers_{display_};
};

} // namespace varnet::testing
