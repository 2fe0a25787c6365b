#include "platform/wait.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>

#include <algorithm>

namespace varnet {

namespace {

int openWaits = 0;

// The platform keeps the input it held back in a queue of its own, which
// the event loop only looks at again when something wakes it: on X11 a
// click made during a wait sat there until the next mouse move. Waking the
// loop when the outermost wait ends hands it over once the handler that
// waited has returned, never inside it.
struct OpenWait {
    OpenWait() { ++openWaits; }
    ~OpenWait()
    {
        if (--openWaits == 0)
            if (QAbstractEventDispatcher* loop = QAbstractEventDispatcher::instance())
                loop->wakeUp();
    }
};

} // namespace

bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    if (done())
        return true;

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
        if (expired)
            return false;
    }
}

void waitMs(int ms)
{
    waitUntil([] { return false; }, ms);
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
