#include "platform/wait.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

namespace varnet {
namespace {

TEST(WaitUntil, RunsTimersAndEndsAsSoonAsDoneOrAtTheTimeout)
{
    bool replied = false;
    QTimer::singleShot(20, [&] { replied = true; });
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_TRUE(waitUntil([&] { return replied; }, 2000));
    EXPECT_LT(elapsed.elapsed(), 1000);

    elapsed.restart();
    EXPECT_FALSE(waitUntil([] { return false; }, 50));
    EXPECT_GE(elapsed.elapsed(), 49);
    EXPECT_LT(elapsed.elapsed(), 1000);
}

TEST(WaitUntil, OuterWaitEndsWhenANestedWaitOutlastsIt)
{
    // A timer handler that waits longer than the wait it interrupted: the
    // outer deadline passes inside the inner wait and must not be lost.
    QTimer::singleShot(5, [] { waitMs(100); });
    QElapsedTimer elapsed;
    elapsed.start();

    EXPECT_FALSE(waitUntil([] { return false; }, 30));
    EXPECT_GE(elapsed.elapsed(), 100);
    EXPECT_LT(elapsed.elapsed(), 2000);
}

TEST(BusyFlag, HandlerThatWaitsIsNotReentered)
{
    // Two event sources share one handler that waits, as a timer tick and a
    // receive event do.
    BusyFlag busy;
    int depth = 0;
    int deepest = 0;
    int runs = 0;
    int skipped = 0;
    const auto handler = [&] {
        if (auto entered = busy.enter()) {
            ++runs;
            deepest = std::max(deepest, ++depth);
            waitMs(30);
            --depth;
        } else {
            ++skipped;
        }
    };
    QTimer tick;
    QTimer receive;
    for (QTimer* timer : {&tick, &receive}) {
        timer->setTimerType(Qt::PreciseTimer);
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, handler);
        timer->start();
    }
    waitMs(150);
    tick.stop();
    receive.stop();

    EXPECT_EQ(deepest, 1);
    EXPECT_GE(runs, 2);
    EXPECT_GT(skipped, 0);
    EXPECT_FALSE(busy.busy());
}

TEST(BusyFlag, ScopeMayOutliveItsFlag)
{
    // The window that owned the flag was deleted during the handler's wait.
    auto flag = std::make_unique<BusyFlag>();
    auto entered = flag->enter();
    ASSERT_TRUE(entered);
    EXPECT_FALSE(flag->enter());
    flag.reset();
}

} // namespace
} // namespace varnet
