#include "bus/avionicsoutputs.h"
#include "bus/instrumentoutputs.h"
#include "bus/run_fixture.h"
#include "support/fake_clock.h"
#include "support/scripted_messages.h"

#include <QMap>

#include <utility>

namespace varnet {
namespace {

using Writes = QList<QByteArray>;

// The run window's own values, by function (the voltage's selector 2: the second voltage).
constexpr int kPressure = 1, kAltitude = 4, kPitch = 5, kBank = 6, kHeading = 7;
constexpr int kVoltage = 9, kOutsideTemp = 13, kCompass = 16;
// Radio values, and groups of the pairs beyond the fixture's two.
constexpr int kDistance = 27, kSpeed = 28, kTime = 29, kAudioLamp = 38;
constexpr int kDistanceFlagGroup = 60, kThirdLampGroup = 61;

class OutputTest : public testing::RunTest {
protected:
    void SetUp() override
    {
        RunTest::SetUp();
        InstrumentOutputs = InstrumentOutputState{};
        AvionicsOutputs = AvionicsOutputState{};
        for (int f = 90; f <= 100; ++f)
            Cfg.FunctionIndex1[f] = Integer(f);  // the autopilot's values, each in a group of its own
    }

    // The one write of the next tick (empty when it wrote nothing).
    QByteArray next() { return tick().value(0); }

    // The writes of the next ticks, one entry per tick.
    Writes next(int ticks)
    {
        Writes writes;
        while (ticks-- > 0)
            writes << next();
        return writes;
    }

    // The same without the status requests to `id`.
    Writes readings(int id, int ticks)
    {
        Writes writes = next(ticks);
        for (QByteArray& write : writes)
            write.replace(output({{id, 7, 0}}), "");
        return writes;
    }

    // Run values reach the outputs a tick late; the one polled gauge is asked every second tick.
    QByteArray secondTick() { return next(2).last(); }

    // One round of a DME after the source and the pause: distance, speed, time.
    static Writes dme(int id, int distance, int speed, int time)
    {
        return {{}, {}, output({{id, 4, distance}}), output({{id, 3, speed}}), output({{id, 5, time}})};
    }
};

TEST_F(OutputTest, AltimeterSendsTheShownAltitudeAndItsPressureSettingInBothUnits)
{
    gauge(2, 101);  // a pressure selector of its own: the setting goes out
    running();
    sim({{kAltitude, 1234.5f}, {kPressure, 29.92f}});
    EXPECT_EQ(secondTick(), output({{2, 4, 1235}, {2, 12, 1013}}));
    Cfg.GaugeRecModel[2] = 1;
    EXPECT_EQ(next(), output({{2, 4, 1235}, {2, 12, 2992}, {2, 7, 0}}));
    Cfg.GaugeRecFunction2[2] = 5;  // a pressure function: the altimeter is not asked
    EXPECT_EQ(secondTick(), output({{2, 4, 1235}, {2, 12, 2992}}));
}

TEST_F(OutputTest, AttitudeIndicatorGoesOutEveryTickWithinTheStepsOfItsPlates)
{
    gauge(4, 103, 0, 500, 0, 80);
    running();
    const auto attitude = [&](float bank, float pitch) {
        sim({{kBank, bank}, {kPitch, pitch}});
        return secondTick();
    };
    EXPECT_EQ(attitude(0, 0), output({{4, 4, 500}, {4, 5, 80}}));
    EXPECT_EQ(next(), output({{4, 4, 500}, {4, 5, 80}})) << "no change test";
    EXPECT_EQ(attitude(90, 22.5f), output({{4, 4, 750}, {4, 5, 160}}));
    EXPECT_EQ(attitude(200, -45), output({{4, 4, 1000}, {4, 5, 0}}));
}

TEST_F(OutputTest, HeadingIndicatorStaysWithinOneTurnAndIsAskedOnlyWithReplyPorts)
{
    gauge(2, 110, 22);  // asked at turn 0
    gauge(3, 105);      // no heading bug, no drift: no poll number, so turn 0 is not its own
    running();
    sim(kHeading, 359.99f);
    EXPECT_EQ(next(2), (Writes{output({{3, 5, 0}, {2, 7, 0}}), output({{3, 5, 4319}})}));
    sim(kHeading, -0.01f);  // stored as 359.99
    EXPECT_EQ(secondTick(), output({{3, 5, 4319}}));
    Cfg.GaugeRecPlate2[3] = 8;  // shows the compass
    sim(kCompass, 90);
    EXPECT_EQ(secondTick(), output({{3, 5, 1080}}));
}

TEST_F(OutputTest, ADFIndicatorSendsChangedBearingsAndReportsOneThatDoesNotFitOncePerRun)
{
    gauge(9, 108);
    frmStatus& run = running();
    sim(31, -90);
    EXPECT_EQ(next(2), (Writes{output({{9, 5, 3240}, {9, 7, 0}}), {}}));
    testing::ScriptedMessages boxes;
    boxes.expectYesNo(processFault(9, 108, 3, "Overflow"), true);
    sim(31, 1e6f);
    EXPECT_EQ(next(2), (Writes{output({{9, 7, 0}}), {}})) << "Yes goes on with the status request; reported once, while the value stands";
    for (const float bearing : {-90.0f, 1e6f, 90.0f, 1e6f})
        sim(31, bearing), next();
    EXPECT_EQ(next(), output({{9, 7, 0}})) << "a value coming and going between sendable and not asks no more";
    run.cmdStop_Click();
    runAgain();
    boxes.expectYesNo(processFault(9, 108, 3, "Overflow"), true);
    sim(31, 2e6f);
    next();
    EXPECT_EQ(boxes.pending(), 0u) << "a new run asks again";
}

TEST_F(OutputTest, EachVORIndicatorGetsItsOwnChangesAndAllAgainAfterARunStart)
{
    for (int id : {11, 12})
        gauge(id, 106, 0, 1);  // without a course knob: never asked
    gauge(13, 107, 0, 1);
    frmStatus& run = running();
    EXPECT_EQ(next(2), (Writes{output({{11, 5, 472}, {11, 6, 472}, {11, 12, 1}, {12, 5, 472}, {12, 6, 472},
                                       {12, 12, 1}, {13, 5, 472}, {13, 12, 1}}),
                               {}}));
    sim(33, 127);
    EXPECT_EQ(next(), output({{11, 5, 772}, {12, 5, 772}}));
    sim({{33, -127}, {35, 1}, {36, 1}});
    EXPECT_EQ(next(), output({{11, 5, 172}, {11, 12, 6}, {12, 5, 172}, {12, 12, 6}}));
    sim(33, 63.5f, 2);  // 64 to the even: 151.18 steps
    sim(35, 2, 2);
    EXPECT_EQ(next(), output({{13, 5, 623}, {13, 12, 3}}));

    run.cmdStop_Click();
    runAgain();
    EXPECT_EQ(next(), output({{11, 5, 172}, {11, 6, 472}, {11, 12, 6}, {12, 5, 172}, {12, 6, 472}, {12, 12, 6},
                              {13, 5, 623}, {13, 12, 3}}));
}

TEST_F(OutputTest, AirlinerClockGetsItsTimeFromThePCOnceOrFromTheSimulatorAtEverySecondZero)
{
    testing::FakeClock pc(QDateTime(QDate(2024, 3, 5), QTime(18, 12, 16)));
    gauge(20, 104, 0, 1);
    frmStatus& run = running();
    const QByteArray date = output({{20, 4, 24 * 1024 + 3 * 64 + 5}});
    EXPECT_EQ(next(6), (Writes{{}, {}, output({{20, 5, -1}}), {}, date, {}}))
        << "65536 seconds go out as 65535 minus them";
    EXPECT_EQ(next(6), Writes(6));
    run.cmdStop_Click();
    runAgain();
    EXPECT_EQ(next(6), (Writes{{}, {}, {}, {}, date, {}})) << "the date again after each run start";

    // On simulator time: set at first and then at every second zero.
    DefaultForm<frmStatus>::unload();
    std::tie(InstrumentOutputs, Instruments, RunData) = std::tuple(InstrumentOutputState{}, InstrumentValues{}, RunState{});
    pc.set(QDateTime(QDate(2024, 3, 5), QTime(9, 0)));
    Cfg.GaugeRecPlate1[20] = 2;
    running();
    const auto cycle = [&](float localHours) {
        link().XplaneData[1][6] = localHours;
        return next(6);
    };
    EXPECT_EQ(cycle(13.5f), (Writes{{}, {}, {}, output({{20, 5, 48600}}), date, {}}));
    EXPECT_EQ((std::tuple{cycle(13.625f), cycle(13.75f), Instruments.ClockSecond}),
              (std::tuple{Writes(6), Writes{{}, {}, {}, output({{20, 5, 49500}}), {}, {}}, 0})) << "13:37:30 sets nothing";
}

TEST_F(OutputTest, LightAircraftClockSpreadsItsWorkOverAHundredAndOneTicks)
{
    testing::FakeClock pc(QDateTime(QDate(2024, 3, 5), QTime(10, 20, 30)));
    gauge(21, 109, 0, 1);  // PC time: set at once, then never again
    running();
    sim(kVoltage, 12.6f);
    QMap<int, QByteArray> work;
    for (int n = 1; n <= 112; ++n) {
        if (const QByteArray written = next(); !written.isEmpty())
            work[n] = written;
        if (n == 14)
            sim(kOutsideTemp, -3.5f);  // read while the clock has the port on
    }
    // The time goes out only at the first tick; on PC time every cycle jumps from 25 to 29.
    const QMap<int, QByteArray> expected{{1, output({{21, 5, 37230}, {21, 4, 10}})},
                                         {14, output({{21, 9, 12 * 256 + 6}})},
                                         {24, output({{21, 11, -4}})},
                                         {34, output({{21, 12, 26}})},
                                         {112, output({{21, 9, 12 * 256 + 6}})}};
    EXPECT_EQ(work, expected);
}

TEST_F(OutputTest, RMIFollowsTheSecondVoltageAndSendsOneNeedlePerTick)
{
    gauge(30, 130, 22, 1, 23, 2);  // distance displays; needle 2 and display 2 on the second pair
    running();
    sim({{kVoltage, 7.9f, 2}, {kCompass, 270}, {22, 90}, {22, -90, 2}, {23, 360}, {27, 12.34f}, {27, -1, 2}});
    // The card and the power see the run values one round later.
    EXPECT_EQ(next(4), (Writes{output({{30, 14, 1}, {30, 5, 0}}),
                               output({{30, 9, 1080 | 16384}, {30, 15, 0x123 | 8192}}),
                               output({{30, 9, 3240 | 8192}, {30, 15, 2730 | 16384}}), output({{30, 9, 4319}})}));
    EXPECT_EQ(next(4), (Writes{output({{30, 14, 1}, {30, 5, 3456}}), {}, {}, {}}));
    EXPECT_EQ(next(4), Writes(4)) << "7.9 volts: once";

    sim(kVoltage, 8.0f, 2);
    next(4);
    EXPECT_EQ(next(4), (Writes{output({{30, 14, 0}, {30, 5, 3456}}), output({{30, 9, 1080 | 16384}}),
                               output({{30, 9, 3240 | 8192}}), output({{30, 9, 4319}})}));

    // Display texts keep their digits in place.
    EXPECT_EQ((std::array{DistanceText(12.34), DistanceText(99.94), DistanceText(99.96), DistanceText(1234.5)}),
              (std::array<std::string, 4>{"12.3", "99.9", "100", "999"})) << "never a fourth digit";
    EXPECT_EQ((std::tuple{DisplayText(-5.3, 2, 1), PackDigits("-05.3").word, PackDigits("-05.3").lastDigit}), (std::tuple{"-05.3", 0x053, 5}));
}

TEST_F(OutputTest, DMEShowsItsReadingsAsDigitWordsAndMarksAMissingDistance)
{
    gauge(40, 113);
    running();
    sim({{kDistance, 12.34f}, {kSpeed, 123.4f}, {kTime, 7.9f}});
    EXPECT_EQ(readings(40, 5), dme(40, 0x123, 0x123 | 8192, 0x07 | 16384));
    sim({{kDistance, 150}, {kSpeed, 99.5f}});
    EXPECT_EQ(readings(40, 5), dme(40, 0x150 | 8192, 0x995, 0x07 | 16384));
    sim(kDistance, -1);  // no station, and the unit has no flag of its own
    EXPECT_EQ(readings(40, 5), dme(40, 0x010 | 12288, 0x995 | 12288, 153));
}

TEST_F(OutputTest, DMEFollowsItsSourceAndItsOwnDistanceFlag)
{
    Cfg.FunctionIndex4[kDistance] = kDistanceFlagGroup;
    gauge(40, 113);
    running();
    sim(kDistanceFlagGroup, 1);
    const auto round = [&](int selection) {
        RunData.DMESelection = Byte(selection);
        Writes writes = readings(40, 1);
        // The simulator delivers the selected source in the pause.
        sim({{kDistance, 45.6f, 2}, {kSpeed, 200, 2}, {kTime, 12, 2}});
        return writes << readings(40, 4);
    };
    EXPECT_EQ(round(2), dme(40, 0x456, 0x200 | 8192, 0x12 | 16384));
    sim(kDistanceFlagGroup, 0);
    EXPECT_EQ(round(9), dme(40, 0x456 | 12288, 0x200 | 8192 | 12288, 153)) << "no selector 9: still the second";

    Cfg.GaugeRecPlate1[40] = 1;  // follows the selector the unit reported
    RunData.GaugeLastReplyValue[40] = 1.0f;
    sim(kDistanceFlagGroup, 1);
    EXPECT_EQ(round(2), dme(40, 0x000, 0x000, 0x00 | 16384)) << "the first source reads 0";
}

TEST_F(OutputTest, TransponderTurnsCarryTheAltitudeOrTheModeInsteadOfTheRequest)
{
    gauge(50, 122);
    gauge(51, 114, 0, 4);  // with its mode port
    gauge(52, 114, 0, 3);  // IDENT ports only: no mode port
    running();
    sim({{kAltitude, 1234.5f}, {46, 1}});
    EXPECT_EQ(next(4), (Writes{output({{50, 5, 0}}), output({{51, 12, 256}}), output({{52, 7, 0}}),
                               output({{50, 5, 12}})}));
    sim(46, 0);
    EXPECT_EQ(next(1), Writes{output({{51, 12, 0}})});
}

TEST_F(OutputTest, AutopilotClimbsToThePreselectedAltitudeAndSaysOnceWhenItIsThere)
{
    gauge(60, 124, 0, 0, 0, 500);
    Instruments.APAltitudeFeet = 10000;
    running();
    sim(kAltitude, 9000);
    EXPECT_EQ(secondTick(), output({{60, 11, 0}}));
    EXPECT_EQ(link().UDPSendString, *DataFloatPacket(99, 0, 500, false)) << "the climb goes to the simulator, which takes it";
    sim(99, 500);
    EXPECT_EQ(secondTick(), output({{60, 4, 500}}));
    EXPECT_EQ(secondTick(), output({{60, 11, 0}}));

    sim(kAltitude, 9950);
    EXPECT_EQ(secondTick(), output({{60, 11, 20}}));
    EXPECT_EQ(secondTick(), output({{60, 11, 0}}));

    AvionicsOutputs.APTrendCounter = 16;
    sim(100, 1);  // 160 up
    EXPECT_EQ(secondTick(), output({{60, 11, 12288}}));
}

TEST_F(OutputTest, AutopilotLampsFollowTheSimulatorWithTheDescentInHundreds)
{
    gauge(60, 124, 0, 16);  // holds the altitude when a capture mode comes on
    running();
    sim({{kAltitude, 4321.4f}, {90, 2}, {99, -700}});
    Instruments.APModeBits = 0x40;
    EXPECT_EQ(secondTick(), output({{60, 5, 0x0701}, {60, 3, 4321}}));
    EXPECT_EQ(secondTick(), output({{60, 5, 0x0701}}));
    Instruments.APModeBits = 1;
    EXPECT_EQ(secondTick(), output({{60, 4, -700}}));
}

TEST_F(OutputTest, AudioPanelSendsItsLampsWhenTheyChanged)
{
    Cfg.FunctionIndex3[kAudioLamp] = kThirdLampGroup;
    gauge(70, 125);
    running();
    sim({{kAudioLamp, 1}, {kAudioLamp, 0, 2}, {kThirdLampGroup, 1}});
    EXPECT_EQ(readings(70, 4), (Writes{{}, {}, {}, output({{70, 6, 5}})}));
    const QByteArray ask = output({{70, 7, 0}});
    EXPECT_EQ(next(4), (Writes{ask, {}, ask, {}})) << "unchanged lamps: only its status request, every second tick";
    sim(kAudioLamp, 0);
    EXPECT_EQ(readings(70, 4), (Writes{{}, {}, {}, output({{70, 6, 4}})}));
}

} // namespace
} // namespace varnet
