#include "bus/run_fixture.h"
#include "bus/runpreparation.h"
#include "iomodules/enginelink.h"
#include "iomodules/iomodulelink.h"
#include "yokes/yokewindows.h"

#include <QLineEdit>
#include <QLabel>
#include <QListWidget>
#include <QSlider>

namespace varnet {
namespace {

using testing::FakeUdpSocket;
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
    EXPECT_EQ(r.LastSlotIndex, 5);
    EXPECT_EQ(r.SlotGaugeID, (std::vector<int>{3, 7, 8, 30, 40, 50}));
    // Single needle: one enabled port, the first ever opened.
    EXPECT_EQ(r.SlotPort1[0], 0);
    EXPECT_EQ(r.SlotLast1[0], -1.0f);
    EXPECT_EQ(r.SlotPort2[0], kNoSimPort) << "handle 0 is a port, so 'none' is 65535";
    EXPECT_EQ(r.SlotLast2[0], 0.0f);
    EXPECT_EQ(Cfg.GaugeRecSeqNr1[3], 1) << "selector 0 becomes 1 in the record";
    // VOR 1 indicators: the first reports its course back and is polled.
    EXPECT_EQ((std::array{r.SlotPort1[1], r.SlotPort2[1], r.SlotPort3[1], r.SlotPort4[1]}), (std::array{1, 2, 3, 4}));
    EXPECT_EQ(Instruments.GaugeReplyPort1[7], 5);
    EXPECT_EQ(r.SlotPollNr[1], 0);
    EXPECT_EQ(r.SlotPollNr[2], kNeverPolled);
    EXPECT_EQ(Instruments.GaugeReplyPort1[8], kNoSimPort);
    EXPECT_EQ(r.SlotLightsFlag, (std::vector<Byte>{0, 1, 1, 0, 1, 0}));
    // Engine cluster: eight ports in a row and its first phase.
    EXPECT_EQ(r.SlotClusterPorts[3], (std::array{10, 11, 12, 13, 14, 15, 16, 17}));
    EXPECT_EQ(r.SlotPort1[3], 10);
    EXPECT_EQ(r.SlotPort2[3], 1);
    // RMI with option word 2 = 3: function 1 twice with selector 2.
    const QStringList ports = portList();
    EXPECT_TRUE(ports[18].contains("024  - 2") && ports[19].contains("024  - 2")) << ports[18].toStdString();
    EXPECT_EQ(r.SlotPollNr[4], kNeverPolled);
    EXPECT_EQ(r.SlotPort4[4], 0);
    EXPECT_EQ(r.GaugeLastReplyValue[40], -100.0f);
    // The attitude indicator reads the general values only.
    EXPECT_EQ(r.SlotPort1[5], kNoSimPort);
    EXPECT_EQ(r.PollMax, 0);
    EXPECT_EQ(r.GeneralPort[1], 21);
    EXPECT_EQ(r.GeneralPort[14], 34);
    EXPECT_EQ(link().PortCount(), 35);
}

TEST_F(RunTest, PreparationWithoutGaugesStillLaysOutTwoSlotsAndRunsOncePerLoad)
{
    Cfg.ProcessTimerInterval = 0;
    frmStatus& run = prepared();
    EXPECT_EQ(RunData.SlotGaugeID, (std::vector<int>{0, 0}));
    EXPECT_EQ(RunData.PollMax, -1);
    for (int k = 1; k < kGeneralPorts; ++k)
        EXPECT_EQ(RunData.GeneralPort[std::size_t(k)], k - 1);
    EXPECT_EQ(Cfg.ProcessTimerInterval, 40);
    EXPECT_EQ(run.ProcessTimer().interval(), 40);
    EXPECT_EQ(run.BoxXferProcessTimer->text(), "40");
    EXPECT_EQ(run.SliderXferTimer->value(), 40);

    gauge(3, 1, 21, 0);
    run.Form_Activate();
    EXPECT_EQ(link().PortCount(), 14) << "a second activation opens nothing";
    EXPECT_EQ(RunData.LastSlotIndex, 1);

    run.SliderXferTimer->setValue(120);
    EXPECT_EQ(Cfg.ProcessTimerInterval, 120);
    EXPECT_EQ(run.ProcessTimer().interval(), 120);
    EXPECT_EQ(run.BoxXferProcessTimer->text(), "120");

    // A stored interval the slider cannot show still sets the timer.
    DefaultForm<frmStatus>::unload();
    Cfg.ProcessTimerInterval = 300;
    frmStatus& reloaded = prepared();
    EXPECT_EQ(reloaded.ProcessTimer().interval(), 300);
    EXPECT_EQ(reloaded.BoxXferProcessTimer->text(), "300");
    EXPECT_EQ(reloaded.SliderXferTimer->value(), 200);
    EXPECT_EQ(Cfg.ProcessTimerInterval, 300);
}

TEST_F(RunTest, BusIOModuleEntriesAreSortedIntoTheirModulesTables)
{
    gauge(20, 10);
    gauge(21, 10);
    struct Entry {
        int gaugeID, kind, number, function;
    };
    for (const Entry& entry : {Entry{20, IOEntryLED, 3, 26}, Entry{20, IOEntrySwitch, 9, 27},
                               Entry{20, IOEntryAnalogue, 2, 28}, Entry{20, IOEntrySwitch, 60, 29},
                               Entry{21, IOEntryLED, 31, 30}}) {
        const int e = Cfg.AddIOEntry();
        Cfg.IOEntryGaugeID[e] = Integer(entry.gaugeID);
        Cfg.IOEntryKind[e] = Integer(entry.kind);
        Cfg.IOEntryNumber[e] = Integer(entry.number);
        Cfg.IOEntryFunction[e] = Integer(entry.function);
        Cfg.IOEntryPort[e] = -7;
    }
    Cfg.IOEntryFlags[2] = 1;
    Cfg.IOEntryKeyOff[3] = 4;
    prepared();

    const RunState& r = RunData;
    EXPECT_EQ(r.BusIOMCount, 2);
    EXPECT_EQ(r.IOMGaugeID[1], 21);
    EXPECT_EQ(r.IOMPollMax, 1);
    EXPECT_EQ((std::array{r.SlotPort2[1], r.SlotPollNr[1]}), (std::array{1, 1}));
    EXPECT_EQ(r.IOMLEDEntry[0][3], 1);
    EXPECT_EQ(r.IOMSwitchEntry[0][9], 2);
    EXPECT_EQ(r.IOMAnalogueEntry[0][2], 3);
    EXPECT_EQ(r.IOMAnalogueLast[0][2], 1023);
    EXPECT_EQ(r.IOMAnalogueThreshold[0][2], 4);
    EXPECT_EQ(r.IOMLEDEntry[1][31], 5);
    EXPECT_EQ(r.IOMSwitchPrev[0], QByteArray(6, char(0xFF)));
    EXPECT_EQ(Cfg.IOEntryLastValue[2], -1.0f);
    EXPECT_EQ(Cfg.IOEntryPort, (std::vector<Integer>{0, 0, 1, 2, -7, 3, 0})) << "switch 60 has no place";

    // Without any entry a module keeps its slot's poll number 0 but still
    // gets its turn.
    Cfg.ResizeIOEntries(1);
    PrepareRunTables(link());
    EXPECT_EQ((std::array{r.SlotPort2[1], r.SlotPollNr[1], r.IOMPollNr[1]}), (std::array{kNoSimPort, 0, 1}));
}

TEST_F(RunTest, RunAndStopHandTheBusPortOverAndStartOnlyTheConfiguredLinks)
{
    Cfg.ComPortIOM = 4;
    int closedScreens = 0;
    frmStatus::UnloadConfigurationScreen = [&] { ++closedScreens; };
    frmStatus::UnloadFunctionTestWindow = [&] { ++closedScreens; };
    frmStatus& run = prepared();
    EXPECT_TRUE(run.cmdShowIOM->isVisibleTo(&run));
    EXPECT_FALSE(run.cmdShowECStatus->isVisibleTo(&run));
    EXPECT_TRUE(DefaultForm<frmStatusIOM>::loaded());
    EXPECT_FALSE(DefaultForm<frmStatusEC>::loaded());
    EXPECT_FALSE(DefaultForm<frmStatusYoke>::loaded());

    run.cmdRun_Click();
    EXPECT_EQ(closedScreens, 2);
    EXPECT_EQ(run.BoxRun->text(), "Running");
    EXPECT_TRUE(run.ProcessTimer().isActive());
    EXPECT_FALSE(run.WriteCmdDuringConfig().isActive());
    EXPECT_EQ(DefaultForm<frmStatusIOM>::get().Running, 1);
    EXPECT_FALSE(DefaultForm<frmStatusEC>::loaded());
    EXPECT_EQ(DefaultForm<frmStatusYoke>::get().BoxRun->text(), "Running") << "started whether or not a yoke is set";
    EXPECT_TRUE(RunData.DateSentFlag);
    EXPECT_TRUE(Instruments.ZuluTimeJumped);

    link().NrOfOffsets = 99;
    run.cmdRun_Click();
    EXPECT_EQ(run.boxNrofOffsets->text(), "99");
    EXPECT_EQ(closedScreens, 2) << "a second Run only shows the port count";

    run.cmdStop_Click();
    EXPECT_EQ(run.BoxRun->text(), "Halted");
    EXPECT_FALSE(run.ProcessTimer().isActive());
    EXPECT_TRUE(run.WriteCmdDuringConfig().isActive());
    EXPECT_EQ(DefaultForm<frmStatusIOM>::get().Running, 0);
    DefaultForm<frmStatusIOM>::get().cmdRun_Click();
    run.cmdStop_Click();
    EXPECT_EQ(DefaultForm<frmStatusIOM>::get().Running, 1) << "Stop while halted touches nothing";
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
    EXPECT_EQ(screens, 1);
    EXPECT_EQ(Session.ConfigFromStatus, 1);
    EXPECT_EQ(run.Running, 0);
    for (bool loaded : {DefaultForm<frmStatus>::loaded(), DefaultForm<frmStatusEC>::loaded(),
                        DefaultForm<frmStatusYoke>::loaded(), DefaultForm<frmConfigY1>::loaded()})
        EXPECT_FALSE(loaded);
    EXPECT_EQ(link().NrOfOffsets, 0);
    EXPECT_TRUE(portList().isEmpty());
}

TEST_F(RunTest, ExitTellsTheSimulatorToStopAllDataAndEndsTheProgram)
{
    int ends = 0;
    frmStatus::EndProgram = [&] { ++ends; };
    frmStatus& run = running();
    for (FakeUdpSocket* socket : sockets_.sockets())
        socket->clearSent();

    run.cmdExit_Click();
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(DefaultForm<frmStatus>::loaded());
    EXPECT_FALSE(bus().isOpen());
    bool stopAll = false;
    for (FakeUdpSocket* socket : sockets_.sockets())
        stopAll = stopAll || socket->sent().contains(StopAllPacket(false));
    EXPECT_TRUE(stopAll);
}

TEST_F(RunTest, EverySecondTheRatesShowAndTheRecalibrationCountsDown)
{
    frmStatus& run = running();
    run.show();
    tick();
    tick();
    link().UDPPacketCount = 7;
    ECMode = 1;
    ECRecalCountdown = 3;
    run.Timer1_Timer();
    EXPECT_EQ(run.frmXferCount->text(), "2");
    EXPECT_EQ(run.boxUDPrate->text(), "7");
    EXPECT_EQ(link().UDPPacketCount, 0);
    run.Timer1_Timer();
    run.Timer1_Timer();
    EXPECT_EQ(run.frmXferCount->text(), "0");
    EXPECT_EQ(ECMode, 1);
    run.Timer1_Timer();
    EXPECT_EQ(ECMode, 0);
}

TEST_F(RunTest, ValueBoxesShowTheValuesOfTheLastTick)
{
    frmStatus& run = running();
    run.show();
    sim(1, 29.92f);
    sim(5, -5.5f);
    sim(7, -90);
    sim(9, 12.6f);
    sim(14, 1);
    tick();
    EXPECT_EQ(run.boxVoltage->text(), "12.60");
    EXPECT_EQ(run.BoxInstrLights->text(), "ON");
    EXPECT_EQ(run.boxNavLights->text(), "OFF");
    EXPECT_EQ(run.BoxHea->text(), ".00") << "position boxes show the previous tick's values";
    // Four times a second: every sixth tick of 40 ms.
    ASSERT_EQ(run.TicksPerBoxRefresh(), 6);
    for (int k = 0; k < 5; ++k)
        tick();
    EXPECT_EQ(run.BoxHea->text(), ".00");
    tick();
    EXPECT_EQ(run.BoxAirPressHg->text(), "29.92");
    EXPECT_EQ(run.BoxAirPressmBar->text(), "1013");
    EXPECT_EQ(run.boxPitch->text(), "-005.50");
    EXPECT_EQ(run.BoxHea->text(), "270.00");
    EXPECT_EQ(run.BoxIAS->text(), ".0");
}

TEST_F(RunTest, BoxesAreTouchedOnlyWhenTheirTextChangesAndCatchUpWhenSeenAgain)
{
    frmStatus& run = running();
    run.show();
    const auto refresh = [&] {
        for (int k = 0; k < run.TicksPerBoxRefresh(); ++k)
            tick();
    };
    sim(9, 12.6f);
    refresh();
    run.boxVoltage->selectAll();
    refresh();
    EXPECT_TRUE(run.boxVoltage->hasSelectedText()) << "an unchanged text is not set again";
    sim(9, 13.1f);
    refresh();
    EXPECT_EQ(run.boxVoltage->text(), "13.10");

    for (const bool minimized : {true, false}) {
        run.Timer1_Timer();
        minimized ? run.minimize() : run.hide();
        sim(9, 11);
        sim(7, 90);
        refresh();
        tick();
        run.Timer1_Timer();
        EXPECT_EQ(run.boxVoltage->text(), "13.10");
        minimized ? run.setWindowState(Qt::WindowNoState) : run.show();
        EXPECT_EQ(run.boxVoltage->text(), "11.00");
        EXPECT_EQ(run.BoxHea->text(), "90.00");
        EXPECT_EQ(run.frmXferCount->text(), QString::number(run.TicksPerBoxRefresh() + 1));
        sim(9, 13.1f);
        refresh();
    }
}

TEST_F(RunTest, AnotherProgramTitleHidesTheSimulatorPacketRate)
{
    Session.ProgramTitle = "Control Program";
    frmStatus& run = runWindow();
    EXPECT_TRUE(run.boxUDPrate->isHidden());
    EXPECT_TRUE(run.findChild<QWidget*>("Label3")->isHidden());
    EXPECT_TRUE(run.findChild<QWidget*>("Label4")->isHidden());
    EXPECT_EQ(run.LabelVersion->text(), QString("Version: ") + kProgramVersion);
}

} // namespace
} // namespace varnet
