#include "bus/lineoutput.h"
#include "bus/needles.h"
#include "bus/processloop.h"
#include "bus/run_fixture.h"
#include "config/gaugetypes.h"
#include "simcontrolunit/simcontrolunit.h"
#include "support/scripted_messages.h"

#include <QLineEdit>

namespace varnet {
namespace {

using testing::RunTest;
using testing::SimControlUnit;
using Writes = QList<QByteArray>;

// Needles read functions from 20 up; 1..16 are the run window's own values.
constexpr int kVoltage = 9, kInstrumentLights = 14;

TEST_F(RunTest, NeedlesMoveInOneWritePerTickOnlyWhenTheirWholeStepChanges)
{
    const int wide = addPlate({{0, -20}, {100, 1500}});
    gauge(2, 3, 0, 0, 24, 0);  // its second needle gets the very first port
    gauge(3, 1, 21, 0);
    gauge(4, 3, 22, wide, 23, 0);
    // Left by an earlier run that followed the switches; with the backlight off it never goes out.
    RunData.LightsSendCount = 1;
    running();
    sim({{24, 50}, {21, 25}});

    EXPECT_EQ(tick(), Writes{output({{2, 6, 600}, {3, 5, 300}, {4, 5, 0}, {4, 6, 0}})});
    EXPECT_TRUE(tick().isEmpty()) << "steady values cost no bus traffic";

    sim(21, 25.09f);  // 301.08 steps
    sim(22, 100);     // 1500 steps, beyond the needle's travel
    EXPECT_EQ(tick(), Writes{output({{3, 5, 301}, {4, 5, 1079}})});
    sim(21, 25.1f);  // still step 301
    sim(23, 250);    // clamped to the plate's maximum
    EXPECT_EQ(tick(), Writes{output({{4, 6, 1000}})});
}

TEST_F(RunTest, DisplayGaugeSendsItsWordEveryTick)
{
    gauge(5, 2, 25, addPlate({{0, 0}, {200, 1000}}));
    running();
    sim(25, 12.34f);
    EXPECT_EQ(tick(), Writes{output({{5, 5, 61}, {5, 6, 0x12A3}})});
    EXPECT_EQ(tick(), Writes{output({{5, 6, 0x12A3}})});
    sim(25, 123.4f);
    EXPECT_EQ(tick(), Writes{output({{5, 5, 617}, {5, 6, 0x123B}})});

    // 0.25: 2.5 tenths to the even 2.
    EXPECT_EQ((std::array{DisplayWord(999.94f), DisplayWord(0.25f), DisplayWord(-0.5f), DisplayWord(1000)}),
              (std::array<std::optional<int>, 4>{0x999B, 0x00A2, std::nullopt, std::nullopt}));
}

TEST_F(RunTest, EngineClusterSendsOneNeedlePairPerTickStartingAtPhaseOne)
{
    const int plate = addPlate({{0, 0}, {1000, 1000}});
    gauge(30, EngineClusterType);
    Cfg.GaugeRecCategory1[30] = Cfg.GaugeRecSeqNr1[30] = Byte(plate);
    Cfg.GaugeRecCategory2[30] = Cfg.GaugeRecSeqNr2[30] = Byte(plate);
    Cfg.GaugeRecPlate1[30] = Cfg.GaugeRecPlate2[30] = Integer(plate * 257);  // high and low byte
    // Always-on backlight: the first tick lights the cluster and ends there.
    Cfg.LightsMode = 1;
    running();
    for (int f = 40; f <= 46; ++f)
        sim(f, float(f - 30));
    sim(43, -65000);  // a signed word: 535 once 65535 is added
    sim(46, 17, 2);

    EXPECT_EQ(tick(), Writes{output({{30, 8, 192}})});
    const QByteArray phases[] = {output({{30, 6, 10}, {30, 9, 11}}), output({{30, 10, 12}, {30, 11, 535}}),
                                 output({{30, 12, 14}, {30, 13, 15}}), output({{30, 4, 16}, {30, 5, 17}})};
    for (const QByteArray& phase : phases)
        EXPECT_EQ(tick(), Writes{phase});
    EXPECT_EQ(tick(), Writes{phases[0]}) << "needles go out every time their phase comes";
}

TEST_F(RunTest, BacklightFollowsTheLightSwitchAndEightVoltsInTicksOfItsOwn)
{
    Cfg.LightsMode = 0;
    gauge(3, 1, 21, 0);
    gauge(7, 106);  // follows the second voltage as well
    Cfg.GaugeRecPlate1[7] = 1;  // a VOR indicator without a course knob: never asked
    frmStatus& run = running();
    // Values read at the end of one tick act in the next; the needles do not move then.
    const auto after = [&](int f, float value, int selector = 1) {
        sim(f, value, selector);
        tick();
        return tick();
    };
    const auto lights = [](int value) { return Writes{output({{3, 8, value}, {7, 8, value}})}; };

    sim(kVoltage, 12);
    EXPECT_EQ(after(kInstrumentLights, 1), Writes{output({{3, 8, 192}, {7, 8, 0}})});
    EXPECT_EQ(run.Loop().ProcessTicks, 1) << "the backlight tick is not counted";
    EXPECT_EQ((std::tuple{ECBacklightOn, ECDisplaysOn}), (std::tuple{1, 1}));
    EXPECT_TRUE(tick().isEmpty());

    EXPECT_EQ(after(kVoltage, 12, 2), lights(192));
    EXPECT_EQ(after(kInstrumentLights, 0), lights(128));
    EXPECT_TRUE(after(kVoltage, 9.0f).isEmpty()) << "lit before, lit now";
    EXPECT_EQ(after(kInstrumentLights, 1), lights(128)) << "9.0 volts add no bit 64";
    EXPECT_EQ(after(kVoltage, 7.9f), lights(0));
    EXPECT_EQ(after(kVoltage, 8.0f), lights(192)) << "8.0 volts count as lit";
    Cfg.LightsMask = 1;  // the navigation lights' switch instead
    EXPECT_TRUE(after(kVoltage, 12).isEmpty());
    EXPECT_EQ(after(8, 1), lights(192));
}

TEST_F(RunTest, ASinglePolledGaugeIsAskedEverySecondGaugeTurnAndAModulesWordGoesOutOnce)
{
    gauge(7, 110, 22);
    gauge(20, 10);  // a bus I/O module without entries
    frmStatus& run = running();
    RunData.IOMCmd4Pending[0] = 1;
    RunData.IOMCmd4Value[0] = 0x1000;
    int inputTurns = 0;
    run.Loop().handlers.busModuleInputs = [&](ProcessLoop&) { ++inputTurns; };

    EXPECT_EQ(tick(), Writes{output({{7, 7, 0}})});
    EXPECT_EQ(tick(), Writes{output({{20, 6, 0}, {20, 4, 0x1000}})});
    EXPECT_TRUE(tick().isEmpty()) << "the gauge turn between asks nobody";
    EXPECT_EQ(tick(), Writes{output({{20, 6, 0}})}) << "a word goes out once";
    EXPECT_EQ(tick(), Writes{output({{7, 7, 0}})});
    EXPECT_EQ(inputTurns, 2);
}

// A tick of the process timer that falls due while a question is open runs behind it.
struct BoxesBehindWhichTheTimerFires final : testing::BoxesWithSomethingBehind {
    explicit BoxesBehindWhichTheTimerFires(bool yes)
        : BoxesWithSomethingBehind(yes, [] { DefaultForm<frmStatus>::get().ProcessTimer_Timer(); })
    {
    }
    void ok(const QString& text) override { texts << text; }
};

TEST_F(RunTest, AProcessFaultShowsOneBoxAtATimeYesGoesOnWithTheTickNoStopsTheRun)
{
    constexpr int kFaultyType = 200;
    gauge(9, kFaultyType);
    frmStatus& run = running();
    run.Loop().handlers.gaugeOutputs[kFaultyType] = [](ProcessLoop& loop, int slot) {
        if (loop.Fault(QStringLiteral("Overflow")))
            loop.AddGaugeCommand(RunData.SlotGaugeID[std::size_t(slot)], 1, 1);
    };
    BoxesBehindWhichTheTimerFires boxes(true);

    EXPECT_EQ(tick(), Writes{output({{9, 1, 1}})});
    EXPECT_EQ(boxes.texts, QStringList{processFault(9, 200, 3, "Overflow")});
    EXPECT_EQ(run.Running, 1);

    EXPECT_EQ(tick(), Writes{output({{9, 1, 1}})}) << "asked once while it stands";
    run.cmdStop_Click();
    runAgain();
    boxes.yes = false;
    EXPECT_TRUE(tick().isEmpty());
    EXPECT_EQ(boxes.texts.size(), 2);
    EXPECT_EQ((std::tuple{run.Running, run.BoxRun->text()}), (std::tuple{0, "Halted"}));
    EXPECT_TRUE(run.WriteCmdDuringConfig().isActive());
}

TEST_F(RunTest, ANeedleReadingIsKeptOnlyWhileItsPortAndTheRunStayAndNoFaultOfTheLinkWasAsked)
{
    gauge(3, 1, 21, 0);
    gauge(4, 1, 22, 0);
    Cfg.FunctionDivide[22] = 0;
    BoxesBehindWhichTheTimerFires boxes(true);
    frmStatus& run = running();
    sim({{21, 25}, {22, 25}});
    EXPECT_EQ(tick(), Writes{output({{3, 5, 300}, {4, 5, 300}})});
    EXPECT_TRUE(boxes.texts.value(0).endsWith("Function contains division by zero."));
    boxes.texts.clear();
    EXPECT_TRUE(tick().isEmpty());
    EXPECT_EQ(boxes.texts.size(), 1) << "the fault of the link is asked at every tick";

    // A plate edited between two runs moves the needle at the next run.
    run.cmdStop_Click();
    Cfg.PlateSteps[0][5] = 700;
    runAgain();
    EXPECT_EQ(tick(), Writes{output({{3, 5, 350}, {4, 5, 350}})});

    // No to a fault of the simulator link stops the run.
    boxes.texts.clear();
    boxes.yes = false;
    EXPECT_TRUE(tick().isEmpty());
    EXPECT_EQ(boxes.texts.size(), 1);
    EXPECT_TRUE(boxes.texts.value(0).startsWith("Error at getting function:22,") && run.Running == 0);
}

// Thirty needles all moving: 210 bytes a tick for a line of 139 (lineoutput.h).
TEST_F(RunTest, AboveTheLineRateTheNewestValuesWaitAndNothingIsLostOrStarved)
{
    for (int id = 1; id <= 30; ++id)
        gauge(id, SingleNeedleType, 21, 0);
    gauge(40, GenericRadioType, 22);  // asked in the first tick
    frmStatus& run = running();
    std::array<int, 31> shown{};
    const auto carry = [&] {
        for (const QByteArray& write : tick()) {
            EXPECT_LE(write.size(), LineBytesPer(40));
            for (qsizetype at = 1; at < write.size(); at += kRunUnitBytes) {
                if (quint8(write[at + 2]) >> 4 == 5)
                    shown[quint8(write[at + 1])] = SimControlUnit::frameMagnitude(write.mid(at, kGaugeFrameBytes));
            }
        }
        return bus().writes().value(0);
    };
    const auto allShow = [&](int steps) { return std::count(shown.begin() + 1, shown.end(), steps) == 30; };

    // Stop holds back what waits; the next run sends it first.
    sim(21, 10);  // 120 steps
    EXPECT_TRUE(carry().endsWith(output({{40, 7, 0}}))) << "the status request goes, and last";
    run.cmdStop_Click();
    EXPECT_TRUE(tick().isEmpty());
    sim(21, 10.5f);  // newer values take the places of the waiting ones
    runAgain();
    carry();
    carry();
    EXPECT_TRUE(allShow(126));
    EXPECT_EQ(carry(), output({{40, 7, 0}}));

    // What the driver holds counts against the line; what a failed write held keeps waiting.
    bus().held = LineBytesPer(40) - 2 * kRunUnitBytes;
    sim(21, 11);
    EXPECT_EQ(carry(), output({{1, 5, 132}, {2, 5, 132}}));
    bus().held = 0;
    bus().setWriteError("Input/output error");
    testing::ScriptedMessages boxes;
    const auto lost = [&](const char* why) {
        boxes.expectYesNo(QStringLiteral("Error 13: An error has occured writing Data to Gauges\r\nError: %1\r\n"
                                         "Check Virtual/USB Com Port\r\nContinue?").arg(why),
                          true);
    };
    lost("Input/output error");
    tick();
    bus().setWriteError({});
    carry();
    carry();
    EXPECT_TRUE(allShow(132));

    // RMI needles differ by bits of one command: a waiting one never stands for another.
    Cfg.GaugeRecType[50] = RMIType;
    run.Loop().Line().BeginTick();
    run.AddGaugeCommand(50, 9, 100 | 16384);
    run.Loop().Line().BeginTick();
    run.AddGaugeCommand(50, 9, 200 | 8192);
    EXPECT_EQ(run.Loop().Line().Next(1000), output({{50, 9, 100 | 16384}, {50, 9, 200 | 8192}}));

    // Output that the driver holds longer than the line needs for it is a lost device too.
    bus().held = 2 * LineBytesPer(40);
    lost("The device stopped taking data");
    for (int k = 0; k < 50 && boxes.pending() > 0; ++k, waitMs(20))
        tick();
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_FALSE(bus().isOpen());
}

} // namespace
} // namespace varnet
