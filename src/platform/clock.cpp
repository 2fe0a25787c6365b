#include "platform/clock.h"

namespace varnet {

namespace {

const Clock* current = nullptr;

} // namespace

const Clock& clock()
{
    static const SystemClock system;
    return current ? *current : system;
}

const Clock* setClock(const Clock* clock)
{
    const Clock* previous = current;
    current = clock;
    return previous;
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

} // namespace varnet
