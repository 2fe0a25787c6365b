#include "platform/clock.h"
#include "support/fake_clock.h"

#include <gtest/gtest.h>

#include <ctime>

namespace varnet {
namespace {

TEST(Clock, FakeClockStandsInWhileItLives)
{
    const QDateTime start(QDate(2023, 12, 31), QTime(23, 59, 59));
    {
        testing::FakeClock fake(start);
        fake.advanceMs(1500);
        EXPECT_EQ(clock().now(), QDateTime(QDate(2024, 1, 1), QTime(0, 0, 0, 500)));
    }
    EXPECT_LT(std::abs(clock().now().secsTo(QDateTime::currentDateTime())), 5);
}

TEST(Clock, SystemClockTakesTheNewOffsetFromTheMinuteItChanges)
{
    const bool hadZone = qEnvironmentVariableIsSet("TZ");
    const QByteArray zone = qgetenv("TZ");
    qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    tzset();
    const SystemClock system;
    const QDateTime change(QDate(2024, 3, 31), QTime(1, 0), Qt::UTC);
    for (const qint64 seconds : {-3600, -61, -1, 0, 59, 7200}) {
        const QDateTime utc = change.addSecs(seconds);
        EXPECT_EQ(system.localTime(utc), utc) << "the same instant";
        EXPECT_EQ(system.localTime(utc).time(), utc.toLocalTime().time()) << seconds << " s from the change";
    }
    EXPECT_EQ(system.localTime(change).time(), QTime(3, 0));
    hadZone ? qputenv("TZ", zone) : qunsetenv("TZ");
    tzset();
}

} // namespace
} // namespace varnet
