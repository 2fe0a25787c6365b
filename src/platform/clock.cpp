#include "platform/clock.h"

namespace varnet {

namespace {

constexpr qint64 kMsPerMinute = 60 * 1000;

const Clock* current = nullptr;

qint64 minuteOf(qint64 msSinceEpoch)
{
    // Whole minutes, also before 1970.
    return msSinceEpoch >= 0 ? msSinceEpoch / kMsPerMinute : (msSinceEpoch + 1) / kMsPerMinute - 1;
}

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
    return localTime(QDateTime::currentDateTimeUtc());
}

QDateTime SystemClock::localTime(const QDateTime& utc) const
{
    const qint64 minute = minuteOf(utc.toMSecsSinceEpoch());
    if (minute != offsetMinute_) {
        offsetMinute_ = minute;
        offsetSeconds_ = QDateTime::fromMSecsSinceEpoch(minute * kMsPerMinute, Qt::LocalTime).offsetFromUtc();
    }
    return utc.toOffsetFromUtc(offsetSeconds_);
}

} // namespace varnet
