#include "bus/deviceports.h"
#include "bus/gaugebus_fixture.h"
#include "bus/gaugeframes.h"
#include "iomodules/configiom.h"
#include "iomodules/testec.h"
#include "iomodules/enginelink.h"
#include "iomodules/iomodulelink.h"
#include "platform/wait.h"
#include "support/fake_serial_port.h"
#include "support/scripted_messages.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <array>

#include <tuple>

namespace varnet {
namespace {

using testing::hexBytes;

QString runBox(QWidget& window)
{
    return window.findChild<QLineEdit*>("BoxRun")->text();
}

// The engine cluster on COM4 and the I/O modules on COM5 and COM6, all fakes.
class Links : public testing::GaugeBusTest {
protected:
    void SetUp() override
    {
        GaugeBusTest::SetUp();
        std::tie(Cfg.ComPortEC, Cfg.ComPortIOM, Cfg.ComPortIOM2) = std::tuple(4, 5, 6);
        OpenComPorts();
    }

    // What the module's port wrote once `count` writes are in.
    QList<QByteArray> written(int number, int count)
    {
        testing::FakeSerialPort* port = fakes.port(number);
        waitUntil([&] { return port->writes().size() >= count; }, 1000);
        return port->writes();
    }

    // Sends and returns at once, whatever waits on the gauge bus.
    static bool sendsAtOnce(int gaugeID, int command, int value)
    {
        QElapsedTimer elapsed;
        elapsed.start();
        const bool sent = SendGaugeCommand(gaugeID, command, value);
        EXPECT_LT(elapsed.elapsed(), 50);
        return sent;
    }

    testing::FakeSerialPorts fakes;
};

TEST_F(Links, ModuleCommandsGoOutInOrderWithAddress10WithoutWaitingForTheBusUntilARunTakesThePortOver)
{
    // A bus frame still waiting does not hold a module's command up.
    GaugeSendBuffer = *StatusRequestFrame(12);
    GaugeSendPending = 1;
    frmStatusIOM& module1 = DefaultForm<frmStatusIOM>::get();
    EXPECT_EQ((std::tuple{module1.ComposeCmd(1000, 4, 945), module1.SendPending}), (std::tuple{true, 1}));
    // The second waits until the writer has sent the first.
    EXPECT_TRUE(module1.ComposeCmd(1000, 5, -2) && sendsAtOnce(2000, 8, 192));
    EXPECT_EQ((std::tuple{GaugeSendPending, GaugeSendBuffer}), (std::tuple{1, *StatusRequestFrame(12)}));
    EXPECT_EQ(written(5, 2), (QList<QByteArray>{hexBytes("00 0A 4B B1 03 FF"), hexBytes("00 0A 5C 03 02 FF")}));
    EXPECT_EQ(written(6, 1), QList<QByteArray>{hexBytes("00 0A 88 C1 02 FF")});

    frmstatusIOM2& module2 = DefaultForm<frmstatusIOM2>::get();
    ASSERT_TRUE(module2.ComposeCmd(2000, 4, 945));
    // A command still waiting goes out before the run takes the port over.
    module2.findChild<QPushButton*>("cmdRun")->click();
    EXPECT_EQ((std::tuple{module2.Running, runBox(module2), module2.ProcessTimer().isActive()}),
              (std::tuple{1, "Running", true}));
    EXPECT_EQ((std::tuple{fakes.port(6)->writes().size(), sendsAtOnce(2000, 5, 1)}), (std::tuple{2, false}));

    standAloneLinks().cmdStop_Click(StandAloneDevice::IOModule2);
    EXPECT_EQ((std::tuple{module2.Running, runBox(module2), module2.ProcessTimer().isActive()}),
              (std::tuple{0, "Halted", false}));
    // The writer keeps serving set-up commands after a Stop.
    EXPECT_TRUE(module2.WriteCmdTimer().isActive() && SendGaugeCommand(2000, 5, -2));
    EXPECT_EQ(written(6, 3).last(), hexBytes("00 0A 5C 03 02 FF"));
}

TEST_F(Links, RunningModulesArePolledTogetherOnOneClock33TimesASecondEachAndOneStopsAlone)
{
    frmStatusIOM& one = DefaultForm<frmStatusIOM>::get();
    frmstatusIOM2& two = DefaultForm<frmstatusIOM2>::get();
    const auto writes = [&](int port) { return int(fakes.port(port)->writes().size()); };
    // Per tick of module 1's clock: which modules were written within it. The first handler runs
    // before the links' ticks, the last one after them.
    QTimer& clock = one.ProcessTimer();
    std::array<int, 2> before{};
    QList<std::pair<bool, bool>> ticks;
    QObject::connect(&clock, &QTimer::timeout, &one, [&] { before = {writes(5), writes(6)}; });
    one.cmdRun_Click();
    waitMs(100);  // the second starts out of step with the first
    two.cmdRun_Click();
    QMetaObject::Connection after;
    const auto watchLast = [&] {
        QObject::disconnect(after);
        after = QObject::connect(&clock, &QTimer::timeout, &one,
                                 [&] { ticks.append({writes(5) > before[0], writes(6) > before[1]}); });
    };
    watchLast();
    const auto polledInASecond = [&] {
        ticks.clear();
        const std::array<int, 2> start{writes(5), writes(6)};
        waitMs(1000);
        return std::array<int, 2>{writes(5) - start[0], writes(6) - start[1]};
    };
    // 30 ms apart, on a machine that may be busy.
    const auto about33 = [](int polls) { return polls >= 28 && polls <= 34; };

    std::array<int, 2> polls = polledInASecond();
    EXPECT_TRUE(about33(polls[0]) && about33(polls[1])) << polls[0] << " " << polls[1];
    EXPECT_EQ(ticks.count({true, true}), ticks.size()) << "a module was polled in a wake-up of its own";

    one.cmdStop_Click();
    polls = polledInASecond();
    EXPECT_TRUE(polls[0] == 0 && about33(polls[1])) << polls[0] << " " << polls[1];
    EXPECT_EQ(ticks.count({false, true}), ticks.size());

    one.cmdRun_Click();
    watchLast();
    polls = polledInASecond();
    EXPECT_TRUE(about33(polls[0]) && about33(polls[1])) << polls[0] << " " << polls[1];
    EXPECT_EQ(ticks.count({true, true}), ticks.size()) << "a link started again ticks apart";

    two.cmdStop_Click();
    EXPECT_TRUE(clock.isActive());
    one.cmdStop_Click();
    EXPECT_FALSE(clock.isActive()) << "the clock runs on with no module to poll";
}

// 40 bytes: "F", zeros with `position` at 0-based `at`, the flags, AA AA.
QByteArray needleFrame(int at, const char* position, char flags)
{
    QByteArray frame(40, '\0');
    frame[0] = 'F';
    frame.replace(at, 2, hexBytes(position));
    frame[37] = flags;
    frame[38] = frame[39] = char(0xAA);
    return frame;
}

TEST_F(Links, EngineClusterRunsStopsAndMovesASingleNeedleInOneFrame)
{
    frmStatusEC& cluster = DefaultForm<frmStatusEC>::get();
    standAloneLinks().cmdRun_Click(StandAloneDevice::EngineCluster);
    EXPECT_EQ((std::tuple{runBox(cluster), ECFrame.isEmpty(), cluster.ProcessTimer().isActive(),
                          cluster.Timer1().isActive()}),
              (std::tuple{"Running", true, true, true}));
    ECFrame = "frame";
    cluster.cmdRun_Click();  // running: nothing happens
    EXPECT_EQ(ECFrame, "frame");

    cluster.cmdStop_Click();
    EXPECT_EQ((std::tuple{runBox(cluster), cluster.ProcessTimer().isActive() || cluster.Timer1().isActive()}),
              (std::tuple{"Halted", false}));

    fakes.port(4)->inject(QByteArray(16, 'E'));
    EXPECT_EQ((std::tuple{ECReplyBuffer, ECReplyReceived}), (std::tuple{QByteArray(16, 'E'), 1}));

    testing::FakeSerialPort* port = fakes.port(4);
    port->clearWrites();
    ECBacklightOn = 1;
    ECDisplaysOn = 0;
    cluster.MoveSingleNeedle(2, 400);
    ECBacklightOn = 0;
    ECDisplaysOn = 1;
    cluster.MoveSingleNeedle(3, 0x10E4);
    cluster.MoveSingleNeedle(7, 65535);
    cluster.MoveSingleNeedle(8, 1);   // no such needle
    cluster.MoveSingleNeedle(0, -1);  // no such position
    EXPECT_EQ(port->writes(), (QList<QByteArray>{needleFrame(5, "01 90", 0x03), needleFrame(21, "10 E4", 0x00),
                                                 needleFrame(15, "FF FF", 0x00)}));

    port->close();
    testing::ScriptedMessages messages;
    messages.expectOk("Comm Port for Engine Cluster not found");
    cluster.MoveSingleNeedle(0, 4);
    EXPECT_EQ(port->writes().size(), 3);
}

TEST_F(Links, WindowsUnloadWithTheirPortsConfigurationWindowsTakeTheirRecord)
{
    standAloneLinks().Unload(StandAloneDevice::IOModule1);
    const bool unloaded = !standAloneLinks().Loaded(StandAloneDevice::IOModule1);
    standAloneLinks().Load(StandAloneDevice::IOModule1);
    EXPECT_TRUE(unloaded && standAloneLinks().Loaded(StandAloneDevice::IOModule1));
    ASSERT_TRUE(fakes.port(4)->isOpen());
    standAloneLinks().Unload(StandAloneDevice::EngineCluster);
    EXPECT_FALSE(fakes.port(4) && fakes.port(4)->isOpen());

    CurrentGaugeID = 2000;
    ConfigIOM& iom = DefaultForm<ConfigIOM>::get();
    iom.show();
    CurrentGaugeID = 7;
    EXPECT_EQ((std::tuple{iom.GaugeID, iom.findChild<QLabel*>("Label1")->text().startsWith("Stand-alone I/O module 2: "),
                          IOModuleDescription(17), DefaultForm<frmTestEC>::get().GaugeID}),
              (std::tuple{2000, true, "I/O module GaugeID 17 on the gauge bus", 7}));
    iom.findChild<QPushButton*>("cmdClose")->click();
    EXPECT_FALSE(DefaultForm<ConfigIOM>::loaded());
    DefaultForm<frmTestEC>::unload();
}

// Sim ports of the links, against the simulator link's own table.
class LinkPorts : public testing::GaugeBusTest {
protected:
    void SetUp() override
    {
        GaugeBusTest::SetUp();
        for (int f = 51; f <= 60; ++f) {
            Cfg.FunctionNames[f] = "F" + std::to_string(f);
            std::tie(Cfg.FunctionIndex1[f], Cfg.FunctionIndex2[f], Cfg.FunctionMultiply[f], Cfg.FunctionDivide[f]) = std::tuple(1, 2, 1, 1);
        }
    }

    // Open for reading: the port delivers a value.
    static bool reads(int handle) { return DefaultForm<SimCom>::get().GetPortRaw(handle).has_value(); }
};

TEST_F(LinkPorts, ModuleOpensAPortPerEntryAndSortsThemTheEngineClusterReadsItsNeedlesPerEngine)
{
    Cfg.FunctionMacroNr[53] = 1;
    const int counting = addIOEntry(1000, IOEntrySwitch, 3, 51);
    Cfg.IOEntryFlags[counting] = 1;
    const int plain = addIOEntry(1000, IOEntrySwitch, 4, 52);
    const int macro = addIOEntry(1000, IOEntrySwitch, 5, 53);
    addIOEntry(2000, IOEntrySwitch, 3, 54);  // the other module's
    const int analogue = addIOEntry(1000, IOEntryAnalogue, 2, 55);
    const int led = addIOEntry(1000, IOEntryLED, 7, 56);
    const int outside = addIOEntry(1000, IOEntrySwitch, 48, 57);
    Cfg.IOEntrySeqNr[plain] = 0;

    frmStatusIOM& module1 = DefaultForm<frmStatusIOM>::get();
    module1.OpenPorts();

    EXPECT_EQ((std::tuple{DefaultForm<SimCom>::get().CurrentOwnerID, Cfg.IOEntryPort, Cfg.IOEntrySeqNr[plain]}),
              (std::tuple{1000, std::vector<Integer>{0, 0, 1, 2, 0, 3, 4, 5, 0}, 1}));
    // The LED follows the simulator.
    EXPECT_EQ((std::array{reads(0), reads(1), reads(2), reads(3), reads(4)}),
              (std::array{true, false, true, false, true}));
    EXPECT_EQ((std::tuple{module1.SwitchEntry[3], module1.SwitchEntry[4], module1.SwitchEntry[5],
                          module1.AnalogueEntry[2], module1.LEDEntry[7]}),
              (std::tuple{counting, plain, macro, analogue, led}));
    EXPECT_EQ(std::count(module1.SwitchEntry.begin(), module1.SwitchEntry.end(), outside), 0);

    // The engine cluster reads its needles per engine, after the module's ports.
    std::tie(Cfg.ECNeedleFunction[0], Cfg.ECNeedleFunction[3], Cfg.ECNeedleDisplay[9]) = std::tuple(51, 52, 2);  // 2: dual engine
    DefaultForm<frmStatusEC>::get().OpenPorts();
    const auto& ports = Session.ECNeedlePort;
    EXPECT_EQ((std::tuple{DefaultForm<SimCom>::get().CurrentOwnerID, std::array{ports[0][1], ports[0][2], ports[3][1], ports[3][2], ports[1][1]}}),
              (std::tuple{4000, std::array<Integer, 5>{6, 7, 8, 9, Integer(kNoSimPort)}}));
    EXPECT_TRUE(reads(6) && reads(7) && reads(8) && reads(9));

    // Opened again without its entries, the module keeps none of them.
    for (const int e : {counting, analogue, led})
        Cfg.IOEntryGaugeID[e] = 2000;
    module1.OpenPorts();
    EXPECT_EQ((std::array{module1.SwitchEntry[3], module1.AnalogueEntry[2], module1.LEDEntry[7]}),
              (std::array<Integer, 3>{}));
}

} // namespace
} // namespace varnet
