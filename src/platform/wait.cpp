#include "platform/wait.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>

namespace varnet {

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
