#pragma once

#include "platform/clock.h"

namespace varnet::testing {

// A clock that stands still until the test sets or advances it. Installs
// itself for its lifetime.
class FakeClock final : public Clock {
public:
    explicit FakeClock(const QDateTime& start = QDateTime(QDate(2024, 1, 1), QTime(12, 0)))
        : now_(start), previous_(setClock(this)) {}
    ~FakeClock() override { setClock(previous_); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    QDateTime now() const override { return now_; }

    void set(const QDateTime& now) { now_ = now; }
    void advanceMs(qint64 ms) { now_ = now_.addMSecs(ms); }

private:
    QDateTime now_;
    const Clock* previous_;
};

} // namespace varnet::testing
