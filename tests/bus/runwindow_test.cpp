#include "bus/run_fixture.h"
#include "bus/runpreparation.h"
#include "iomodules/enginelink.h"
#include "iomodules/iomodulelink.h"
#include "yokes/yokewindows.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSlider>

#include <tuple>

namespace varnet {
namespace {

using testing::RunTest;

QStringList portList()
{
    QStringList lines;
    const auto* list = DefaultForm<SimCom>::get().findChild<QListWidget*>("OffsetsList");
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

TEST_F(RunTest, PreparationOpensThePortsOfEachGaugeTypeAndHandsOutPollNumbers)
{
    gauge(3, 1, 21, 0);
    Cfg.GaugeRecSeqNr1[3] = 0;
    gauge(7, 106);
    gauge(8, 106);
    Cfg.GaugeRecPlate1[8] = 1;
    gauge(30, 8);
    gauge(40, 130, 24, 0, 25, 3);
    gauge(50, 103);
    Instruments.GaugeReplyPort1[8] = 3;  // left from an earlier preparation
    prepared();

    const RunState& r = RunData;
    EXPECT_EQ((std::tuple{r.LastSlotIndex, r.SlotGaugeID}), (std::tuple{5, std::vector<int>{3, 7, 8, 30, 40, 50}}));
    // Single needle: one enabled port, the first ever opened; handle 0 is a
    // port, so "none" is 65535; selector 0 becomes 1 in the record.
    EXPECT_EQ((std::tuple{r.SlotPort1[0], r.SlotLast1[0], r.SlotPort2[0], r.SlotLast2[0], int(Cfg.GaugeRecSeqNr1[3])}),
              (std::tuple{0, -1.0f, kNoSimPort, 0.0f, 1}));
    // VOR 1 indicators: the first reports its course back and is polled.
    EXPECT_EQ((std::array{r.SlotPort1[1], r.SlotPort2[1], r.SlotPort3[1], r.SlotPort4[1]}), (std::array{1, 2, 3, 4}));
    const InstrumentValues& v = Instruments;
    EXPECT_EQ((std::array{v.GaugeReplyPort1[7], r.SlotPollNr[1], r.SlotPollNr[2], v.GaugeReplyPort1[8]}),
              (std::array{5, 0, kNeverPolled, kNoSimPort}));
    EXPECT_EQ(r.SlotLightsFlag, (std::vector<Byte>{0, 1, 1, 0, 1, 0}));
    // RMI with option word 2 = 3: function 1 twice with selector 2.
    const QStringList ports = portList();
    EXPECT_TRUE(ports[18].contains("024  - 2") && ports[19].contains("024  - 2")) << ports[18].toStdString();
    EXPECT_EQ((std::tuple{r.SlotPollNr[4], r.SlotPort4[4], r.GaugeLastReplyValue[40]}),
              (std::tuple{kNeverPolled, 0, -100.0f}));
    // The attitude indicator reads the general values only.
    EXPECT_EQ((std::array{r.SlotPort1[5], r.PollMax, r.GeneralPort[1], r.GeneralPort[14], link().PortCount()}),
              (std::array{kNoSimPort, 0, 21, 34, 35}));
}

TEST_F(RunTest, PreparationWithoutGaugesStillLaysOutTwoSlotsAndRunsOncePerLoad)
{
    Cfg.ProcessTimerInterval = 0;
    frmStatus& run = prepared();
    EXPECT_EQ(RunData.SlotGaugeID, (std::vector<int>{0, 0}));
    EXPECT_EQ((std::tuple{RunData.PollMax, RunData.GeneralPort[1]}), (std::tuple{-1, 0}));
    const auto interval = [&](frmStatus& w) {
        return std::tuple{int(Cfg.ProcessTimerInterval), w.ProcessTimer().interval(), w.BoxXferProcessTimer->text(),
                          w.SliderXferTimer->value()};
    };
    EXPECT_EQ(interval(run), (std::tuple{40, 40, "40", 40}));

    gauge(3, 1, 21, 0);
    run.Form_Activate();
    EXPECT_EQ((std::tuple{link().PortCount(), RunData.LastSlotIndex}), (std::tuple{14, 1})) << "a second activation opens nothing";

    run.SliderXferTimer->setValue(120);
    EXPECT_EQ(interval(run), (std::tuple{120, 120, "120", 120}));

    // A stored interval the slider cannot show still sets the timer.
    DefaultForm<frmStatus>::unload();
    Cfg.ProcessTimerInterval = 300;
    EXPECT_EQ(interval(prepared()), (std::tuple{300, 300, "300", 200}));
}

TEST_F(RunTest, BusIOModuleEntriesAreSortedIntoTheirModulesTables)
{
    gauge(20, 10);
    gauge(21, 10);
    for (const auto& [gaugeID, kind, number, function] :
         {std::array<int, 4>{20, IOEntryLED, 3, 26}, {20, IOEntrySwitch, 9, 27}, {20, IOEntryAnalogue, 2, 28},
          {20, IOEntrySwitch, 60, 29}, {21, IOEntryLED, 31, 30}})
        Cfg.IOEntryPort[addIOEntry(gaugeID, Integer(kind), number, function)] = -7;
    Cfg.IOEntryFlags[2] = 1;
    Cfg.IOEntryKeyOff[3] = 4;
    prepared();

    const RunState& r = RunData;
    EXPECT_EQ((std::array{r.BusIOMCount, r.IOMGaugeID[1], r.IOMPollMax, r.SlotPort2[1], r.SlotPollNr[1]}),
              (std::array{2, 21, 1, 1, 1}));
    EXPECT_EQ((std::array{r.IOMLEDEntry[0][3], r.IOMSwitchEntry[0][9], r.IOMAnalogueEntry[0][2],
                          r.IOMAnalogueLast[0][2], r.IOMAnalogueThreshold[0][2], r.IOMLEDEntry[1][31]}),
              (std::array{1, 2, 3, 1023, 4, 5}));
    EXPECT_EQ((std::tuple{r.IOMSwitchPrev[0], Cfg.IOEntryLastValue[2]}), (std::tuple{QByteArray(6, char(0xFF)), -1.0f}));
    EXPECT_EQ(Cfg.IOEntryPort, (std::vector<Integer>{0, 0, 1, 2, -7, 3, 0})) << "switch 60 has no place";

    // Without any entry a module keeps its slot's poll number 0 but gets its turn.
    Cfg.ResizeIOEntries(1);
    PrepareRunTables(link());
    EXPECT_EQ((std::array{r.SlotPort2[1], r.SlotPollNr[1], r.IOMPollNr[1]}), (std::array{kNoSimPort, 0, 1}));
}

TEST_F(RunTest, RunAndStopHandTheBusPortOverAndStartOnlyTheConfiguredLinks)
{
    Cfg.ComPortIOM = 4;
    int closedScreens = 0;
    frmStatus::LeaveConfiguration = [&] { ++closedScreens; };
    frmStatus& run = prepared();
    frmStatusIOM& module = DefaultForm<frmStatusIOM>::get();
    EXPECT_EQ((std::array{run.cmdShowIOM->isVisibleTo(&run), run.cmdShowECStatus->isVisibleTo(&run), DefaultForm<frmStatusEC>::loaded(),
                          DefaultForm<frmStatusYoke>::loaded()}),
              (std::array{true, false, false, false}));

    run.cmdRun_Click();
    EXPECT_EQ((std::tuple{closedScreens, run.BoxRun->text(), module.Running}), (std::tuple{2, "Running", 1}));
    EXPECT_TRUE(run.ProcessTimer().isActive() && !run.WriteCmdDuringConfig().isActive() && !DefaultForm<frmStatusEC>::loaded() &&
                RunData.DateSentFlag && Instruments.ZuluTimeJumped);
    EXPECT_EQ(DefaultForm<frmStatusYoke>::get().BoxRun->text(), "Running") << "started whether or not a yoke is set";

    link().NrOfOffsets = 99;
    run.cmdRun_Click();
    EXPECT_EQ((std::tuple{run.boxNrofOffsets->text(), closedScreens}), (std::tuple{"99", 2})) << "a second Run only shows the port count";

    run.cmdStop_Click();
    EXPECT_EQ((std::tuple{run.BoxRun->text(), module.Running}), (std::tuple{"Halted", 0}));
    EXPECT_TRUE(!run.ProcessTimer().isActive() && run.WriteCmdDuringConfig().isActive());
    module.cmdRun_Click();
    run.cmdStop_Click();
    EXPECT_EQ(module.Running, 1) << "Stop while halted touches nothing";
}

TEST_F(RunTest, ConfigurationStopsTheRunAndUnloadsTheRunWindows)
{
    Cfg.ComPortEC = 5;
    Cfg.ComPortYoke1() = 6;
    int screens = 0;
    frmStatus::ShowConfigurationScreen = [&] { ++screens; };
    frmStatus& run = running();
    EXPECT_TRUE(DefaultForm<frmStatusYoke>::get().isMinimized());
    ASSERT_TRUE(DefaultForm<frmConfigY1>::loaded());

    run.CmdConfig_Click();
    EXPECT_EQ((std::tuple{screens, Session.ConfigFromStatus, run.Running, link().NrOfOffsets}),
              (std::tuple{1, 1, 0, 0}));
    EXPECT_FALSE(DefaultForm<frmStatus>::loaded() || DefaultForm<frmStatusEC>::loaded() || DefaultForm<frmStatusYoke>::loaded() ||
                 DefaultForm<frmConfigY1>::loaded() || !portList().isEmpty());
}

TEST_F(RunTest, BoxesShowTheLastTickOnlyOnANewTextTheRatesEverySecondAndTheRecalibrationCountsDownUntilExit)
{
    frmStatus& run = running();
    run.show();
    for (const auto& [f, value] : {std::pair{1, 29.92f}, {5, -5.5f}, {7, -90.0f}, {9, 12.6f}, {14, 1.0f}})
        sim(f, value);
    tick();
    EXPECT_EQ((std::tuple{run.boxVoltage->text(), run.BoxInstrLights->text(), run.boxNavLights->text(), run.BoxHea->text()}),
              (std::tuple{"12.60", "ON", "OFF", ".00"})) << "position boxes show the previous tick's values";
    // Four times a second: every sixth tick of 40 ms.
    ASSERT_EQ(run.TicksPerBoxRefresh(), 6);
    for (int k = 0; k < 5; ++k)
        tick();
    EXPECT_EQ(run.BoxHea->text(), ".00");
    tick();
    EXPECT_EQ((std::tuple{run.BoxAirPressHg->text(), run.BoxAirPressmBar->text(), run.boxPitch->text(),
                          run.BoxHea->text(), run.BoxIAS->text()}),
              (std::tuple{"29.92", "1013", "-005.50", "270.00", ".0"}));

    const auto refresh = [&] {
        for (int k = 0; k < run.TicksPerBoxRefresh(); ++k)
            tick();
    };
    run.boxVoltage->selectAll();
    refresh();
    EXPECT_TRUE(run.boxVoltage->hasSelectedText()) << "an unchanged text is not set again";
    sim(9, 13.1f);
    refresh();
    EXPECT_EQ(run.boxVoltage->text(), "13.10");

    // Hidden or minimized, they catch up when seen again.
    for (const bool minimized : {true, false}) {
        run.Timer1_Timer();
        minimized ? run.minimize() : run.hide();
        sim({{9, 11}, {7, 90}});
        refresh();
        tick();
        run.Timer1_Timer();
        EXPECT_EQ(run.boxVoltage->text(), "13.10");
        minimized ? run.setWindowState(Qt::WindowNoState) : run.show();
        EXPECT_EQ((std::tuple{run.boxVoltage->text(), run.BoxHea->text(), run.frmXferCount->text()}),
                  (std::tuple{"11.00", "90.00", QString::number(run.TicksPerBoxRefresh() + 1)}));
        sim(9, 13.1f);
        refresh();
    }

    // Every second the rates show and the recalibration counts down.
    run.Timer1_Timer();
    tick();
    tick();
    std::tie(link().UDPPacketCount, ECMode, ECRecalCountdown) = std::tuple(7, 1, 3);
    run.Timer1_Timer();
    EXPECT_EQ((std::tuple{run.frmXferCount->text(), run.boxUDPrate->text(), link().UDPPacketCount}),
              (std::tuple{"2", "7", 0}));
    run.Timer1_Timer();
    run.Timer1_Timer();
    EXPECT_EQ((std::tuple{run.frmXferCount->text(), ECMode}), (std::tuple{"0", 1}));
    run.Timer1_Timer();
    EXPECT_EQ(ECMode, 0);

    // Exit tells the simulator to stop all data and ends the program.
    int ends = 0;
    frmStatus::EndProgram = [&] { ++ends; };
    sent();
    run.cmdExit_Click();
    EXPECT_EQ((std::tuple{ends, DefaultForm<frmStatus>::loaded() || bus().isOpen(), sent().contains(StopAllPacket(false))}),
              (std::tuple{1, false, true}));
}

// Held datagrams cost the run nothing it did before.
TEST_F(RunTest, DatagramsWaitForTheTicksOnlyWhileTheRunIsActive)
{
    frmStatus& run = running();
    const auto held = [this] { return sockets_.sockets().front()->datagramsHeld(); };  // the receiving one
    EXPECT_TRUE(held());
    run.cmdStop_Click();
    EXPECT_FALSE(held());
    run.cmdRun_Click();
    DefaultForm<frmStatus>::unload();
    EXPECT_FALSE(held()) << "a window gone ticks no more";
}

} // namespace
} // namespace varnet
