#include "bus/needles.h"
#include "bus/processloop.h"
#include "bus/run_fixture.h"
#include "config/gaugetypes.h"
#include "platform/messages.h"
#include "support/scripted_messages.h"

#include <QLineEdit>

namespace varnet {
namespace {

using testing::RunTest;

// Needles read functions from 20 up; 1..16 are the run window's own values.
constexpr int kVoltage = 9;
constexpr int kInstrumentLights = 14;

TEST_F(RunTest, NeedlesMoveInOneWritePerTickOnlyWhenTheirWholeStepChanges)
{
    const int wide = addPlate({{0, -20}, {100, 1500}});
    gauge(2, 3, 0, 0, 24, 0);  // its second needle gets the very first port
    gauge(3, 1, 21, 0);
    gauge(4, 3, 22, wide, 23, 0);
    running();
    sim(24, 50);
    sim(21, 25);

    EXPECT_EQ(tick(), QList<QByteArray>{output({{2, 6, 600}, {3, 5, 300}, {4, 5, 0}, {4, 6, 0}})});
    EXPECT_TRUE(tick().isEmpty()) << "steady values cost no bus traffic";

    sim(21, 25.09f);  // 301.08 steps
    sim(22, 100);     // 1500 steps, beyond the needle's travel
    EXPECT_EQ(tick(), QList<QByteArray>{output({{3, 5, 301}, {4, 5, 1079}})});
    sim(21, 25.1f);  // still step 301
    sim(23, 250);    // clamped to the plate's maximum
    EXPECT_EQ(tick(), QList<QByteArray>{output({{4, 6, 1000}})});
}

TEST_F(RunTest, DisplayGaugeSendsItsWordEveryTick)
{
    gauge(5, 2, 25, addPlate({{0, 0}, {200, 1000}}));
    running();
    sim(25, 12.34f);
    EXPECT_EQ(tick(), QList<QByteArray>{output({{5, 5, 61}, {5, 6, 0x12A3}})});
    EXPECT_EQ(tick(), QList<QByteArray>{output({{5, 6, 0x12A3}})});
    sim(25, 123.4f);
    EXPECT_EQ(tick(), QList<QByteArray>{output({{5, 5, 617}, {5, 6, 0x123B}})});

    EXPECT_EQ(DisplayWord(999.94f), 0x999B);
    EXPECT_EQ(DisplayWord(0.25f), 0x00A2);  // 2.5 tenths to the even 2
    EXPECT_EQ(DisplayWord(-0.5f), std::nullopt);
    EXPECT_EQ(DisplayWord(1000), std::nullopt);
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

    EXPECT_EQ(tick(), QList<QByteArray>{output({{30, 8, 192}})});
    const QByteArray phases[] = {output({{30, 6, 10}, {30, 9, 11}}), output({{30, 10, 12}, {30, 11, 535}}),
                                 output({{30, 12, 14}, {30, 13, 15}}), output({{30, 4, 16}, {30, 5, 17}})};
    for (const QByteArray& phase : phases)
        EXPECT_EQ(tick(), QList<QByteArray>{phase});
    EXPECT_EQ(tick(), QList<QByteArray>{phases[0]}) << "needles go out every time their phase comes";
}

TEST_F(RunTest, BacklightFollowsTheLightSwitchAndEightVoltsInTicksOfItsOwn)
{
    Cfg.LightsMode = 0;
    gauge(3, 1, 21, 0);
    gauge(7, 106);  // follows the second voltage as well
    Cfg.GaugeRecPlate1[7] = 1;  // a VOR indicator without a course knob: never asked
    frmStatus& run = running();
    // The loop reads the values at the end of one tick and acts on them in
    // the next.
    const auto after = [&](const std::function<void()>& change) {
        change();
        tick();
        return tick();
    };

    const QList<QByteArray> lit = after([&] {
        sim(kVoltage, 12);
        sim(kInstrumentLights, 1);
    });
    EXPECT_EQ(lit, QList<QByteArray>{output({{3, 8, 192}, {7, 8, 0}})}) << "needles do not move in that tick";
    EXPECT_EQ(run.Loop().ProcessTicks, 1) << "the backlight tick is not counted";
    EXPECT_EQ(ECBacklightOn, 1);
    EXPECT_EQ(ECDisplaysOn, 1);
    EXPECT_TRUE(tick().isEmpty());

    EXPECT_EQ(after([&] { sim(kVoltage, 12, 2); }), QList<QByteArray>{output({{3, 8, 192}, {7, 8, 192}})});
    EXPECT_EQ(after([&] { sim(kInstrumentLights, 0); }), QList<QByteArray>{output({{3, 8, 128}, {7, 8, 128}})});
    EXPECT_TRUE(after([&] { sim(kVoltage, 9.0f); }).isEmpty()) << "lit before, lit now";
    EXPECT_EQ(after([&] { sim(kInstrumentLights, 1); }), QList<QByteArray>{output({{3, 8, 128}, {7, 8, 128}})})
        << "9.0 volts add no bit 64";
    EXPECT_EQ(after([&] { sim(kVoltage, 7.9f); }), QList<QByteArray>{output({{3, 8, 0}, {7, 8, 0}})});
    EXPECT_EQ(after([&] { sim(kVoltage, 8.0f); }), QList<QByteArray>{output({{3, 8, 192}, {7, 8, 192}})})
        << "8.0 volts count as lit";
}

TEST_F(RunTest, BacklightNeverGoesOutWhenItIsAlwaysOff)
{
    gauge(3, 1, 21, 0);
    RunData.LightsSendCount = 1;  // left by an earlier run that followed the switches
    running();
    EXPECT_EQ(tick(), QList<QByteArray>{output({{3, 5, 0}})});
}

TEST_F(RunTest, StatusRequestsGoInTurnAndAlternateWithTheModuleTurns)
{
    gauge(7, 110, 22);
    gauge(8, 110, 23);
    running();
    for (int id : {7, 8, 7})
        EXPECT_EQ(tick(), QList<QByteArray>{output({{id, 7, 0}})});
}

TEST_F(RunTest, ASinglePolledGaugeIsAskedEverySecondGaugeTurn)
{
    gauge(7, 110, 22);
    gauge(20, 10);  // a bus I/O module without entries
    frmStatus& run = running();
    RunData.IOMCmd4Pending[0] = 1;
    RunData.IOMCmd4Value[0] = 0x1000;
    int inputTurns = 0;
    run.Loop().handlers.busModuleInputs = [&](ProcessLoop&) { ++inputTurns; };

    EXPECT_EQ(tick(), QList<QByteArray>{output({{7, 7, 0}})});
    EXPECT_EQ(tick(), QList<QByteArray>{output({{20, 6, 0}, {20, 4, 0x1000}})});
    EXPECT_TRUE(tick().isEmpty()) << "the gauge turn between asks nobody";
    EXPECT_EQ(tick(), QList<QByteArray>{output({{20, 6, 0}})}) << "a word goes out once";
    EXPECT_EQ(tick(), QList<QByteArray>{output({{7, 7, 0}})});
    EXPECT_EQ(inputTurns, 2);
}

// Answers every box with one answer; a tick of the process timer that
// falls due while a box is open runs behind it.
class BoxesBehindWhichTheTimerFires final : public MessageService {
public:
    explicit BoxesBehindWhichTheTimerFires(bool answerYes) : yes_(answerYes), previous_(setMessageService(this)) {}
    ~BoxesBehindWhichTheTimerFires() override { setMessageService(previous_); }

    void ok(const QString& text) override { texts << text; }
    bool yesNo(const QString& text) override
    {
        texts << text;
        DefaultForm<frmStatus>::get().ProcessTimer_Timer();
        return yes_;
    }
    std::optional<QString> input(const QString&, const QString&) override { return std::nullopt; }

    QStringList texts;

private:
    bool yes_;
    MessageService* previous_;
};

constexpr int kFaultyType = 200;

void faultyOutput(ProcessLoop& loop, int slot)
{
    if (loop.Fault(QStringLiteral("Overflow")))
        loop.AddGaugeCommand(RunData.SlotGaugeID[std::size_t(slot)], 1, 1);
}

TEST_F(RunTest, YesToAProcessFaultGoesOnWithTheTickAndShowsOneBoxAtATime)
{
    gauge(9, kFaultyType);
    frmStatus& run = running();
    run.Loop().handlers.gaugeOutputs[kFaultyType] = faultyOutput;
    BoxesBehindWhichTheTimerFires boxes(true);

    EXPECT_EQ(tick(), QList<QByteArray>{output({{9, 1, 1}})});
    EXPECT_EQ(boxes.texts, QStringList{"Error 10: An error has occured processing GaugeID:9\r\n"
                                       "Gaugetype: 200 , Process State: 3\r\nError: Overflow\r\n"
                                       "Check gauge and/or assigned function.\r\nContinue?"});
    EXPECT_EQ(run.Running, 1);
}

TEST_F(RunTest, AGaugeWhoseValueCannotBeSentAsksOnceUntilItCanAndTheOthersGoOn)
{
    constexpr int kHeading = 7;
    gauge(3, 1, 21, 0);
    gauge(5, HeadingIndicatorType);
    running();
    testing::ScriptedMessages boxes;
    const QString overflow = "Error 10: An error has occured processing GaugeID:5\r\nGaugetype: 105 , "
                             "Process State: 3\r\nError: Overflow\r\nCheck gauge and/or assigned function.\r\n"
                             "Continue?";
    boxes.expectYesNo(overflow, true);
    sim(kHeading, 1e9f);
    tick();  // the loop reads the heading at the end of a tick
    for (int t = 1; t <= 3; ++t) {
        sim(21, float(t));
        EXPECT_EQ(tick(), QList{output({{3, 5, 12 * t}})}) << "tick " << t;
    }
    sim(kHeading, 90);
    tick();
    EXPECT_EQ(tick(), QList{output({{5, 5, 1080}})});
    boxes.expectYesNo(overflow, true);
    sim(kHeading, 1e9f);
    tick();
    tick();
    EXPECT_EQ(boxes.pending(), 0u) << "sendable in between: the new fault is asked again";
}

TEST_F(RunTest, NoToAProcessFaultStopsTheRunAndWritesNothing)
{
    gauge(9, kFaultyType);
    frmStatus& run = running();
    run.Loop().handlers.gaugeOutputs[kFaultyType] = faultyOutput;
    BoxesBehindWhichTheTimerFires boxes(false);

    EXPECT_TRUE(tick().isEmpty());
    EXPECT_EQ(boxes.texts.size(), 1);
    EXPECT_EQ(run.Running, 0);
    EXPECT_EQ(run.BoxRun->text(), "Halted");
    EXPECT_TRUE(run.WriteCmdDuringConfig().isActive());
}

TEST_F(RunTest, NoToAFaultOfTheSimulatorLinkStopsTheRun)
{
    Cfg.FunctionDivide[21] = 0;
    gauge(3, 1, 21, 0);
    BoxesBehindWhichTheTimerFires boxes(false);
    frmStatus& run = running();

    EXPECT_TRUE(tick().isEmpty());
    ASSERT_EQ(boxes.texts.size(), 2);
    EXPECT_TRUE(boxes.texts[0].endsWith("Function contains division by zero."));
    EXPECT_TRUE(boxes.texts[1].startsWith("Error at getting function:21,"));
    EXPECT_EQ(run.Running, 0);
}

TEST_F(RunTest, ANeedleReadingIsKeptOnlyWhileItsPortAndTheRunStayAndNoFaultWasAsked)
{
    gauge(3, 1, 21, 0);
    gauge(4, 1, 22, 0);
    Cfg.FunctionDivide[22] = 0;
    BoxesBehindWhichTheTimerFires boxes(true);
    frmStatus& run = running();
    sim(21, 25);
    sim(22, 25);
    EXPECT_EQ(tick(), QList<QByteArray>{output({{3, 5, 300}, {4, 5, 300}})});
    boxes.texts.clear();
    EXPECT_TRUE(tick().isEmpty());
    EXPECT_EQ(boxes.texts.size(), 1) << "the fault of the link is asked at every tick";

    // A plate edited between two runs moves the needle at the next run.
    run.cmdStop_Click();
    Cfg.PlateSteps[0][5] = 700;
    run.cmdRun_Click();
    run.ProcessTimer().stop();
    EXPECT_EQ(tick(), QList<QByteArray>{output({{3, 5, 350}, {4, 5, 350}})});
}

} // namespace
} // namespace varnet
