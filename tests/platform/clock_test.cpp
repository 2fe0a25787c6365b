#include "platform/clock.h"
#include "support/fake_clock.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace varnet
