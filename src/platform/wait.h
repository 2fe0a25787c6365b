#pragma once

#include <functional>
#include <memory>

namespace varnet {

// The one wait of the program that lets pending events run: timers, serial
// and UDP receive events go on while a handler waits for the hardware.
// User input (the title bar's close included) stays queued until the wait
// ends, so a second click cannot start the same action again inside it, and
// reaches the program as soon as the outermost wait has ended.
//
// Returns true as soon as done() is true (at once when it already is), false
// when timeoutMs passed first. done() is checked after every batch of events.
//
// Anything may happen during the wait, including the unloading of the window
// that waits. A window's handler therefore holds a QPointer to itself, lets
// done() end the wait when the window is gone, and checks it afterwards:
//
//     const QPointer<GaugeDialog> self(this);
//     waitUntil([&] { return !self || replyReceived(); }, 500);
//     if (!self)
//         return; // unloaded during the wait: touch no member
bool waitUntil(const std::function<bool()>& done, int timeoutMs);

// Lets events run for ms milliseconds.
void waitMs(int ms);

// A modal loop of the program's own (a message box) counts as a wait while
// this lives; `close` ends the loop as its Escape would, when the program is
// asked to end meanwhile.
class ModalWait {
public:
    explicit ModalWait(std::function<void()> close);
    ~ModalWait();
    ModalWait(const ModalWait&) = delete;
    ModalWait& operator=(const ModalWait&) = delete;

private:
    std::function<void()> close_;
};

// A request to end the program (the system asking it to terminate). With no
// wait or box open, `exit` runs at once. Inside one it must not: the handler
// that waits would go on after it, on the windows and ports the exit has just
// closed. Then every open wait ends and every box closes as its Escape
// would, and `exit` runs from the event loop once the outermost has
// returned. From the request on, waits return at once, no box is shown and
// no port is opened, so that nothing the handlers still do on their way out
// is left behind the exit. Later requests change nothing.
void RequestEnd(std::function<void()> exit);
bool EndRequested();
// For the tests of the above: forgets a request.
void ForgetEndRequest();

// Keeps a handler from running again while an earlier call of it is still
// open: inside a wait, or behind a message box, whose own event loop keeps
// timers and receive events coming. A call that finds the flag raised does
// nothing:
//
//     void RunWindow::processTimerTick()
//     {
//         if (auto busy = processing_.enter()) {
//             ...
//         }
//     }
//
// The flag is lowered when the scope ends, also when its window was deleted
// in the meantime.
class BusyFlag {
public:
    class [[nodiscard]] Scope {
    public:
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        ~Scope();

        // true when this call raised the flag and may run.
        explicit operator bool() const { return flag_ != nullptr; }

    private:
        friend class BusyFlag;
        explicit Scope(std::shared_ptr<bool> flag) : flag_(std::move(flag)) {}

        std::shared_ptr<bool> flag_;
    };

    BusyFlag() = default;
    BusyFlag(const BusyFlag&) = delete;
    BusyFlag& operator=(const BusyFlag&) = delete;

    Scope enter();
    bool busy() const { return *flag_; }

private:
    std::shared_ptr<bool> flag_ = std::make_shared<bool>(false);
};

} // namespace varnet
