#pragma once

#include <QDateTime>

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

class SystemClock final : public Clock {
public:
    QDateTime now() const override;
};

} // namespace varnet
