#include "bus/instrumentoutputs.h"
#include "bus/run_fixture.h"
#include "support/fake_clock.h"
#include "support/scripted_messages.h"

#include <QMap>

namespace varnet {
namespace {

// The run window's own values, by function.
constexpr int kPressure = 1;
constexpr int kAltitude = 4;
constexpr int kPitch = 5;
constexpr int kBank = 6;
constexpr int kHeading = 7;
constexpr int kVoltage = 9;  // selector 2: the second voltage
constexpr int kOutsideTemp = 13;
constexpr int kCompass = 16;

class InstrumentOutputTest : public testing::RunTest {
protected:
    void SetUp() override
    {
        RunTest::SetUp();
        InstrumentOutputs = InstrumentOutputState{};
    }

    // The one write of the next tick (empty when it wrote nothing).
    QByteArray next() { return tick().value(0); }

    QList<QByteArray> next(int ticks)
    {
        QList<QByteArray> writes;
        while (ticks-- > 0)
            writes << next();
        return writes;
    }

    // The simulator's run values reach the outputs one tick after they come in.
    void settle() { next(); }

    void restart(frmStatus& run)
    {
        run.cmdStop_Click();
        run.cmdRun_Click();
        run.ProcessTimer().stop();
    }
};

TEST_F(InstrumentOutputTest, AltimeterSendsTheShownAltitudeAndItsPressureSettingInBothUnits)
{
    gauge(2, 101);  // a pressure selector of its own: the setting goes out
    running();
    sim(kAltitude, 1234.5f);
    sim(kPressure, 29.92f);
    settle();  // asks for the status: the only polled gauge is asked every second tick
    EXPECT_EQ(next(), output({{2, 4, 1235}, {2, 12, 1013}}));
    Cfg.GaugeRecModel[2] = 1;
    EXPECT_EQ(next(), output({{2, 4, 1235}, {2, 12, 2992}, {2, 7, 0}}));
    Cfg.GaugeRecFunction2[2] = 5;  // a pressure function: the altimeter is not asked
    next();
    EXPECT_EQ(next(), output({{2, 4, 1235}, {2, 12, 2992}}));
}

TEST_F(InstrumentOutputTest, AttitudeIndicatorGoesOutEveryTickWithinTheStepsOfItsPlates)
{
    gauge(4, 103, 0, 500, 0, 80);
    running();
    const auto attitude = [&](float bank, float pitch) {
        sim(kBank, bank);
        sim(kPitch, pitch);
        settle();
        return next();
    };
    EXPECT_EQ(attitude(0, 0), output({{4, 4, 500}, {4, 5, 80}}));
    EXPECT_EQ(next(), output({{4, 4, 500}, {4, 5, 80}})) << "no change test";
    EXPECT_EQ(attitude(90, 22.5f), output({{4, 4, 750}, {4, 5, 160}}));
    EXPECT_EQ(attitude(200, -45), output({{4, 4, 1000}, {4, 5, 0}}));
}

TEST_F(InstrumentOutputTest, HeadingIndicatorStaysWithinOneTurnAndIsAskedOnlyWithReplyPorts)
{
    gauge(2, 110, 22);  // asked at turn 0
    gauge(3, 105);      // no heading bug, no drift: no poll number, so turn 0 is not its own
    running();
    sim(kHeading, 359.99f);
    EXPECT_EQ(next(), output({{3, 5, 0}, {2, 7, 0}}));
    EXPECT_EQ(next(), output({{3, 5, 4319}}));
    sim(kHeading, -0.01f);  // stored as 359.99
    EXPECT_EQ(next(2).last(), output({{3, 5, 4319}}));

    Cfg.GaugeRecPlate2[3] = 8;  // shows the compass
    sim(kCompass, 90);
    EXPECT_EQ(next(2).last(), output({{3, 5, 1080}}));
}

TEST_F(InstrumentOutputTest, ADFIndicatorSendsChangedBearingsAndReportsOneThatDoesNotFit)
{
    gauge(9, 108);
    running();
    sim(31, -90);
    EXPECT_EQ(next(), output({{9, 5, 3240}, {9, 7, 0}}));
    EXPECT_TRUE(next().isEmpty());

    testing::ScriptedMessages boxes;
    boxes.expectYesNo("Error 10: An error has occured processing GaugeID:9\r\nGaugetype: 108 , Process State: 3\r\n"
                      "Error: Overflow\r\nCheck gauge and/or assigned function.\r\nContinue?",
                      true);
    sim(31, 1e6f);
    EXPECT_EQ(next(), output({{9, 7, 0}})) << "Yes goes on with the status request";
    EXPECT_TRUE(next().isEmpty()) << "reported once, while the value stands";
}

TEST_F(InstrumentOutputTest, EachVORIndicatorGetsItsOwnChangesAndAllAgainAfterARunStart)
{
    for (int id : {11, 12})
        gauge(id, 106, 0, 1);  // without a course knob: never asked
    gauge(13, 107, 0, 1);
    frmStatus& run = running();
    const QByteArray centred = output({{11, 5, 472}, {11, 6, 472}, {11, 12, 1}, {12, 5, 472}, {12, 6, 472},
                                       {12, 12, 1}, {13, 5, 472}, {13, 12, 1}});
    EXPECT_EQ(next(), centred);
    EXPECT_TRUE(next().isEmpty());

    sim(33, 127);
    EXPECT_EQ(next(), output({{11, 5, 772}, {12, 5, 772}}));
    sim(33, -127);
    sim(35, 1);
    sim(36, 1);
    EXPECT_EQ(next(), output({{11, 5, 172}, {11, 12, 6}, {12, 5, 172}, {12, 12, 6}}));
    sim(33, 63.5f, 2);  // 64 to the even: 151.18 steps
    sim(35, 2, 2);
    EXPECT_EQ(next(), output({{13, 5, 623}, {13, 12, 3}}));

    restart(run);
    EXPECT_EQ(next(), output({{11, 5, 172}, {11, 6, 472}, {11, 12, 6}, {12, 5, 172}, {12, 6, 472}, {12, 12, 6},
                              {13, 5, 623}, {13, 12, 3}}));
}

TEST_F(InstrumentOutputTest, AirlinerClockOnThePCGetsItsTimeOnceAndItsDateAfterEachRunStart)
{
    testing::FakeClock pc(QDateTime(QDate(2024, 3, 5), QTime(18, 12, 16)));
    gauge(20, 104, 0, 1);
    frmStatus& run = running();
    const QByteArray date = output({{20, 4, 24 * 1024 + 3 * 64 + 5}});
    const QList<QByteArray> firstCycle{{}, {}, output({{20, 5, -1}}), {}, date, {}};
    EXPECT_EQ(next(6), firstCycle) << "65536 seconds go out as 65535 minus them";
    EXPECT_EQ(next(6), QList<QByteArray>(6));

    restart(run);
    EXPECT_EQ(next(6), (QList<QByteArray>{{}, {}, {}, {}, date, {}}));
}

TEST_F(InstrumentOutputTest, AirlinerClockOnSimulatorTimeIsSetAtFirstAndThenAtEverySecondZero)
{
    testing::FakeClock pc(QDateTime(QDate(2024, 3, 5), QTime(9, 0)));
    gauge(20, 104, 0, 2);
    running();
    const auto cycle = [&](float localHours) {
        link().XplaneData[1][6] = localHours;
        return next(6);
    };
    const QByteArray date = output({{20, 4, 24 * 1024 + 3 * 64 + 5}});
    EXPECT_EQ(cycle(13.5f), (QList<QByteArray>{{}, {}, {}, output({{20, 5, 48600}}), date, {}}));
    EXPECT_EQ(cycle(13.625f), QList<QByteArray>(6)) << "13:37:30";
    EXPECT_EQ(cycle(13.75f), (QList<QByteArray>{{}, {}, {}, output({{20, 5, 49500}}), {}, {}}));
    EXPECT_EQ(Instruments.ClockSecond, 0);
}

TEST_F(InstrumentOutputTest, LightAircraftClockSpreadsItsWorkOverAHundredAndOneTicks)
{
    testing::FakeClock pc(QDateTime(QDate(2024, 3, 5), QTime(10, 20, 30)));
    gauge(21, 109, 0, 1);  // PC time: set at once, then never again
    running();
    sim(kVoltage, 12.6f);
    QMap<int, QByteArray> work;
    for (int n = 1; n <= 110; ++n) {
        if (const QByteArray written = next(); !written.isEmpty())
            work[n] = written;
        if (n == 14)
            sim(kOutsideTemp, -3.5f);  // read while the clock has the port on
    }
    // The time goes out only at the first tick; the voltage comes again at 115.
    const QMap<int, QByteArray> expected{{1, output({{21, 5, 37230}, {21, 4, 10}})},
                                         {14, output({{21, 9, 12 * 256 + 6}})},
                                         {24, output({{21, 11, -4}})},
                                         {34, output({{21, 12, 26}})}};
    EXPECT_EQ(work, expected);
}

TEST_F(InstrumentOutputTest, RMIFollowsTheSecondVoltageAndSendsOneNeedlePerTick)
{
    gauge(30, 130, 22, 1, 23, 2);  // distance displays; needle 2 and display 2 on the second pair
    running();
    sim(kVoltage, 7.9f, 2);
    sim(kCompass, 90);
    sim(22, 90);
    sim(22, -90, 2);
    sim(23, 360);
    sim(27, 12.34f);
    sim(27, -1, 2);
    // The card and the power see the run values one round later.
    const QList<QByteArray> first{output({{30, 14, 1}, {30, 5, 0}}),
                                  output({{30, 9, 1080 | 16384}, {30, 15, 0x123 | 8192}}),
                                  output({{30, 9, 3240 | 8192}, {30, 15, 2730 | 16384}}), output({{30, 9, 4319}})};
    EXPECT_EQ(next(4), first);

    const QList<QByteArray> unpowered{output({{30, 14, 1}, {30, 5, 1152}}), {}, {}, {}};
    EXPECT_EQ(next(4), unpowered);
    EXPECT_EQ(next(4), QList<QByteArray>(4)) << "7.9 volts: once";

    sim(kVoltage, 8.0f, 2);
    next(4);
    const QList<QByteArray> powered{output({{30, 14, 0}, {30, 5, 1152}}), output({{30, 9, 1080 | 16384}}),
                                    output({{30, 9, 3240 | 8192}}), output({{30, 9, 4319}})};
    EXPECT_EQ(next(4), powered);

    sim(27, 150, 2);
    EXPECT_EQ(next(4), (QList<QByteArray>{{}, {}, output({{30, 15, 0x150 | 8192 | 16384}}), {}}));
}

TEST_F(InstrumentOutputTest, DisplayTextsKeepTheirDigitsInPlace)
{
    EXPECT_EQ(DistanceText(12.34), "12.3");
    EXPECT_EQ(DistanceText(99.94), "99.9");
    EXPECT_EQ(DistanceText(99.96), "100");
    EXPECT_EQ(DistanceText(1234.5), "999") << "never a fourth digit";
    EXPECT_EQ(DisplayText(-5.3, 2, 1), "-05.3");
    EXPECT_EQ(PackDigits("-05.3").word, 0x053);
    EXPECT_EQ(PackDigits("-05.3").lastDigit, 5);
}

} // namespace
} // namespace varnet
