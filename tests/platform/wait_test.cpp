// The event loop's services: waits that let events run, the default
// instance of a window, and the clock.

#include "platform/clock.h"
#include "platform/form.h"
#include "platform/wait.h"
#include "support/fake_clock.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

#include <ctime>

namespace varnet {
namespace {

TEST(WaitUntil, RunsTimersAndEndsAsSoonAsDoneOrAtTheTimeoutAlsoWhenANestedWaitOutlastsIt)
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

    // A timer handler that waits longer than the wait it interrupted: the
    // outer deadline passes inside the inner wait and must not be lost.
    QTimer::singleShot(5, [] { waitMs(100); });
    elapsed.restart();
    EXPECT_FALSE(waitUntil([] { return false; }, 30));
    EXPECT_GE(elapsed.elapsed(), 100);
    EXPECT_LT(elapsed.elapsed(), 2000);
}

TEST(BusyFlag, HandlerThatWaitsIsNotReenteredAndItsScopeMayOutliveTheFlag)
{
    // Two event sources share one handler that waits, as a timer tick and a
    // receive event do.
    BusyFlag busy;
    int depth = 0, deepest = 0, runs = 0, skipped = 0;
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

    EXPECT_EQ((std::tuple{deepest, runs >= 2, skipped > 0, busy.busy()}), (std::tuple{1, true, true, false}))
        << runs << " runs, " << skipped << " skipped";

    // The window that owned the flag may be deleted during the handler's wait.
    auto flag = std::make_unique<BusyFlag>();
    auto entered = flag->enter();
    ASSERT_TRUE(entered);
    EXPECT_FALSE(flag->enter());
    flag.reset();
}

class CountingForm : public Form {
public:
    static inline int loads = 0;
    static inline int unloads = 0;
    void Form_Load() override { ++loads; }
    ConfigurationHeld configurationHeld() const override { return ConfigurationHeld::Nothing; }

protected:
    void Form_Unload() override { ++unloads; }
};

TEST(DefaultFormTest, CreatedOnFirstReferenceFreshAfterUnloadAndSafeForAHandlerInsideAWait)
{
    CountingForm::loads = CountingForm::unloads = 0;
    EXPECT_FALSE(DefaultForm<CountingForm>::loaded());
    CountingForm& first = DefaultForm<CountingForm>::get();
    EXPECT_EQ((std::tuple{&DefaultForm<CountingForm>::get(), CountingForm::loads}), (std::tuple{&first, 1}));

    const QPointer<CountingForm> old(&first);
    DefaultForm<CountingForm>::unload();
    // Still there for a handler that is inside a wait.
    EXPECT_EQ((std::tuple{CountingForm::unloads, DefaultForm<CountingForm>::loaded(), bool(old)}), (std::tuple{1, false, true}));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(old);

    // Unloaded by a timer while this handler waits.
    const QPointer<CountingForm> fresh(&DefaultForm<CountingForm>::get());
    EXPECT_EQ(CountingForm::loads, 2);
    QTimer::singleShot(10, [] { DefaultForm<CountingForm>::unload(); });
    EXPECT_TRUE(waitUntil([&] { return !DefaultForm<CountingForm>::loaded(); }, 1000));
    DefaultForm<CountingForm>::unload();  // a second unload does nothing
    EXPECT_EQ(CountingForm::unloads, 2);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(fresh);
}

// A load, a save and a run's preparation walk the loaded windows: one on its way out (unloaded,
// its delete pending, or deleted without an unload) is no longer among them.
TEST(DefaultFormTest, TheLoadedFormsAreThoseNotUnloadedInTheOrderMade)
{
    const auto loaded = [] {
        std::vector<Form*> forms;
        for (const QPointer<Form>& form : Form::loadedForms())
            forms.push_back(form.data());
        return forms;
    };
    const std::vector<Form*> before = loaded();
    CountingForm& first = DefaultForm<CountingForm>::get();
    auto* second = new CountingForm;
    auto* third = new CountingForm;
    std::vector<Form*> expected = before;
    expected.insert(expected.end(), {&first, second, third});
    EXPECT_EQ(loaded(), expected);

    DefaultForm<CountingForm>::unload();
    EXPECT_FALSE(first.isLoaded());
    delete second;
    expected.erase(expected.end() - 3, expected.end() - 1);
    EXPECT_EQ(loaded(), expected);
    third->closeAsTitleBar();
    EXPECT_EQ(std::tuple(loaded(), third->isLoaded()), std::tuple(before, false));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(Clock, FakeClockStandsInWhileItLivesAndTheSystemClockTakesTheNewOffsetFromTheMinuteItChanges)
{
    {
        testing::FakeClock fake(QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59)));
        fake.advanceMs(1500);
        EXPECT_EQ(clock().now(), QDateTime(QDate(2024, 1, 1), QTime(0, 0, 0, 500)));
    }
    EXPECT_LT(std::abs(clock().now().secsTo(QDateTime::currentDateTime())), 5);

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
