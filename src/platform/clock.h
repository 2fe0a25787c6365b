#pragma once

#include <QDateTime>

#include <limits>

namespace varnet {

// The local date and time as the program sees it. Tests install a fake so
// that clock displays and time-of-day writes do not depend on the real time.
class Clock {
public:
    virtual ~Clock() = default;

    virtual QDateTime now() const = 0;
};

// The clock in use; the system clock unless another one was installed.
const Clock& clock();

// Installs `clock` (not owned) and returns the one it replaces;
// nullptr restores the system clock.
const Clock* setClock(const Clock* clock);

// The local time of the running system. The process loop asks for it on
// every tick, and a look-up of the time zone reads the zone file's state
// each time; so the zone's offset is looked up once a minute (a change of
// offset, summer time or another zone, falls on a whole minute) and the
// time is the current UTC time at that offset.
class SystemClock final : public Clock {
public:
    QDateTime now() const override;

    // `utc` as the local time of this system, at the offset the zone had at
    // the start of that minute.
    QDateTime localTime(const QDateTime& utc) const;

private:
    mutable qint64 offsetMinute_ = std::numeric_limits<qint64>::min();
    mutable int offsetSeconds_ = 0;
};

} // namespace varnet
