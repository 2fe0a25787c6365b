#include "platform/wait.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <utility>
#include <vector>

namespace varnet {

namespace {

int openWaits = 0;

// The program is ending: the exit still to run once the outermost wait has
// returned, and how to close the boxes open now.
bool endRequested = false;
std::function<void()> pendingExit;
std::vector<std::function<void()>*> openBoxes;

void runPendingExit()
{
    if (std::function<void()> exit = std::exchange(pendingExit, nullptr))
        exit();
}

// The platform keeps the input it held back in a queue of its own, which
// the event loop only looks at again when something wakes it: on X11 a
// click made during a wait sat there until the next mouse move. Waking the
// loop when the outermost wait ends hands it over once the handler that
// waited has returned, never inside it. So does an exit that a request to
// end left for then.
void leaveWait()
{
    if (--openWaits != 0)
        return;
    if (QAbstractEventDispatcher* loop = QAbstractEventDispatcher::instance())
        loop->wakeUp();
    if (pendingExit)
        QMetaObject::invokeMethod(QCoreApplication::instance(), runPendingExit, Qt::QueuedConnection);
}

struct OpenWait {
    OpenWait() { ++openWaits; }
    ~OpenWait() { leaveWait(); }
};

} // namespace

bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    if (done())
        return true;
    if (endRequested)
        return false;

    // The deadline timer also wakes the loop when nothing else happens.
    bool expired = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, [&expired] { expired = true; });
    deadline.start(std::max(timeoutMs, 0));
    const OpenWait open;

    for (;;) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
        if (done())
            return true;
        if (expired || endRequested)
            return false;
    }
}

void waitMs(int ms)
{
    waitUntil([] { return false; }, ms);
}

ModalWait::ModalWait(std::function<void()> close) : close_(std::move(close))
{
    ++openWaits;
    openBoxes.push_back(&close_);
}

ModalWait::~ModalWait()
{
    std::erase(openBoxes, &close_);
    leaveWait();
}

void RequestEnd(std::function<void()> exit)
{
    if (endRequested)
        return;
    endRequested = true;
    if (openWaits == 0)
        return exit();
    pendingExit = std::move(exit);
    // The innermost first: a box closed returns into the handler that
    // opened it, which may have opened it inside an outer one.
    for (auto box = openBoxes.rbegin(); box != openBoxes.rend(); ++box)
        (**box)();
}

bool EndRequested()
{
    return endRequested;
}

void ForgetEndRequest()
{
    endRequested = false;
    pendingExit = nullptr;
}

BusyFlag::Scope::~Scope()
{
    if (flag_)
        *flag_ = false;
}

BusyFlag::Scope BusyFlag::enter()
{
    if (*flag_)
        return Scope(nullptr);
    *flag_ = true;
    return Scope(flag_);
}

} // namespace varnet
