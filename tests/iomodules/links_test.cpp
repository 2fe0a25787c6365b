#include "bus/deviceports.h"
#include "bus/gaugebus_fixture.h"
#include "iomodules/configwindows.h"
#include "iomodules/enginelink.h"
#include "iomodules/iomodulelink.h"
#include "platform/wait.h"
#include "support/fake_serial_port.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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
        Cfg.ComPortEC = 4;
        Cfg.ComPortIOM = 5;
        Cfg.ComPortIOM2 = 6;
        OpenComPorts();
    }

    // What the module's port wrote once `count` writes are in.
    QList<QByteArray> written(int number, int count)
    {
        testing::FakeSerialPort* port = fakes.port(number);
        waitUntil([&] { return port->writes().size() >= count; }, 1000);
        return port->writes();
    }

    testing::FakeSerialPorts fakes;
};

TEST_F(Links, ModuleCommandsAreWrittenInOrderWithAddress10WhileHalted)
{
    frmStatusIOM& module1 = DefaultForm<frmStatusIOM>::get();
    EXPECT_TRUE(module1.ComposeCmd(1000, 4, 945));
    EXPECT_EQ(module1.SendPending, 1);
    // The second waits until the writer has sent the first.
    EXPECT_TRUE(module1.ComposeCmd(1000, 5, -2));
    EXPECT_TRUE(SendGaugeCommand(2000, 8, 192));

    EXPECT_EQ(written(5, 2), (QList<QByteArray>{hexBytes("00 0A 4B B1 03 FF"), hexBytes("00 0A 5C 03 02 FF")}));
    EXPECT_EQ(written(6, 1), QList<QByteArray>{hexBytes("00 0A 88 C1 02 FF")});
}

TEST_F(Links, ModuleRunAndStop)
{
    frmstatusIOM2& module2 = DefaultForm<frmstatusIOM2>::get();
    EXPECT_EQ(runBox(module2), "Halted");
    EXPECT_EQ(module2.ProcessTimer().interval(), 30);
    EXPECT_EQ(module2.ProcessTimer().timerType(), Qt::PreciseTimer);
    ASSERT_TRUE(module2.ComposeCmd(2000, 4, 945));

    // A command still waiting goes out before the run takes the port over.
    module2.findChild<QPushButton*>("cmdRun")->click();
    EXPECT_EQ(module2.Running, 1);
    EXPECT_EQ(runBox(module2), "Running");
    EXPECT_TRUE(module2.ProcessTimer().isActive());
    EXPECT_EQ(fakes.port(6)->writes().size(), 1);
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_FALSE(SendGaugeCommand(2000, 5, 1));
    EXPECT_LT(elapsed.elapsed(), 50);

    standAloneLinks().cmdStop_Click(StandAloneDevice::IOModule2);
    EXPECT_EQ(module2.Running, 0);
    EXPECT_EQ(runBox(module2), "Halted");
    EXPECT_FALSE(module2.ProcessTimer().isActive());
    // The writer keeps serving set-up commands after a Stop.
    EXPECT_TRUE(module2.WriteCmdTimer().isActive());
    EXPECT_TRUE(SendGaugeCommand(2000, 5, -2));
    EXPECT_EQ(written(6, 2).last(), hexBytes("00 0A 5C 03 02 FF"));
}

TEST_F(Links, EngineClusterRunAndStop)
{
    frmStatusEC& cluster = DefaultForm<frmStatusEC>::get();
    EXPECT_EQ(cluster.ProcessTimer().interval(), 20);
    EXPECT_EQ(cluster.ProcessTimer().timerType(), Qt::PreciseTimer);
    EXPECT_EQ(ECFrame, QByteArray(40, ' '));
    cluster.cmdStop_Click();  // halted: nothing happens
    EXPECT_EQ(runBox(cluster), "Halted");

    standAloneLinks().cmdRun_Click(StandAloneDevice::EngineCluster);
    EXPECT_EQ(runBox(cluster), "Running");
    EXPECT_TRUE(ECFrame.isEmpty());
    EXPECT_TRUE(cluster.ProcessTimer().isActive());
    EXPECT_TRUE(cluster.Timer1().isActive());
    ECFrame = "frame";
    cluster.cmdRun_Click();  // running: nothing happens
    EXPECT_EQ(ECFrame, "frame");

    cluster.cmdStop_Click();
    EXPECT_EQ(runBox(cluster), "Halted");
    EXPECT_FALSE(cluster.ProcessTimer().isActive());
    EXPECT_FALSE(cluster.Timer1().isActive());

    fakes.port(4)->inject(QByteArray(16, 'E'));
    EXPECT_EQ(ECReplyBuffer, QByteArray(16, 'E'));
    EXPECT_EQ(ECReplyReceived, 1);
}

TEST_F(Links, WindowsComeHiddenShowAndUnloadWithTheirPorts)
{
    standAloneLinks().Unload(StandAloneDevice::IOModule1);
    EXPECT_FALSE(standAloneLinks().Loaded(StandAloneDevice::IOModule1));
    standAloneLinks().Load(StandAloneDevice::IOModule1);
    EXPECT_TRUE(standAloneLinks().Loaded(StandAloneDevice::IOModule1));
    EXPECT_FALSE(DefaultForm<frmStatusIOM>::get().isVisible());
    standAloneLinks().Show(StandAloneDevice::IOModule1);
    EXPECT_TRUE(DefaultForm<frmStatusIOM>::get().isVisible());

    ASSERT_TRUE(fakes.port(4)->isOpen());
    standAloneLinks().Unload(StandAloneDevice::EngineCluster);
    EXPECT_FALSE(fakes.port(4) && fakes.port(4)->isOpen());
}

TEST_F(Links, ConfigurationWindowsTakeTheirRecordWhenTheyLoad)
{
    CurrentGaugeID = 2000;
    ConfigIOM& iom = DefaultForm<ConfigIOM>::get();
    iom.show();
    CurrentGaugeID = 7;
    EXPECT_EQ(iom.GaugeID, 2000);
    EXPECT_TRUE(iom.isVisible());
    // Until it edits them, it says whose settings it is for.
    EXPECT_TRUE(iom.findChild<QLabel*>("Label1")->text().startsWith("Stand-alone I/O module 2: "));
    EXPECT_EQ(IOModuleDescription(17), "I/O module GaugeID 17 on the gauge bus");
    EXPECT_EQ(DefaultForm<frmTestEC>::get().GaugeID, 7);
    DefaultForm<ConfigIOM>::unload();
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
            Cfg.FunctionIndex1[f] = 1;
            Cfg.FunctionIndex2[f] = 2;
            Cfg.FunctionMultiply[f] = 1;
            Cfg.FunctionDivide[f] = 1;
        }
    }

    int addEntry(int gaugeID, Integer kind, int number, int function, Integer flags = 0)
    {
        const int e = Cfg.AddIOEntry();
        Cfg.IOEntryGaugeID[e] = Integer(gaugeID);
        Cfg.IOEntryKind[e] = kind;
        Cfg.IOEntryNumber[e] = Integer(number);
        Cfg.IOEntryFunction[e] = Integer(function);
        Cfg.IOEntrySeqNr[e] = 1;
        Cfg.IOEntryFlags[e] = flags;
        return e;
    }

    // Open for reading: the port delivers a value.
    static bool reads(int handle) { return DefaultForm<SimCom>::get().GetPortRaw(handle).has_value(); }
};

TEST_F(LinkPorts, ModuleOpensAPortPerEntryAndSortsThem)
{
    Cfg.FunctionMacroNr[53] = 1;
    const int counting = addEntry(1000, IOEntrySwitch, 3, 51, 1);
    const int plain = addEntry(1000, IOEntrySwitch, 4, 52);
    const int macro = addEntry(1000, IOEntrySwitch, 5, 53);
    const int other = addEntry(2000, IOEntrySwitch, 3, 54);
    const int analogue = addEntry(1000, IOEntryAnalogue, 2, 55);
    const int led = addEntry(1000, IOEntryLED, 7, 56);
    const int outside = addEntry(1000, IOEntrySwitch, 48, 57);
    Cfg.IOEntrySeqNr[plain] = 0;

    frmStatusIOM& module1 = DefaultForm<frmStatusIOM>::get();
    module1.OpenPorts();

    EXPECT_EQ(DefaultForm<SimCom>::get().CurrentOwnerID, 1000);
    const QList<int> handles{Cfg.IOEntryPort[counting], Cfg.IOEntryPort[plain],    Cfg.IOEntryPort[macro],
                             Cfg.IOEntryPort[analogue], Cfg.IOEntryPort[led],      Cfg.IOEntryPort[outside]};
    EXPECT_EQ(handles, (QList<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(Cfg.IOEntryPort[other], 0);
    EXPECT_EQ(Cfg.IOEntrySeqNr[plain], 1);
    EXPECT_TRUE(reads(0));
    EXPECT_FALSE(reads(1));
    EXPECT_TRUE(reads(2));
    EXPECT_FALSE(reads(3));
    EXPECT_TRUE(reads(4));  // the LED follows the simulator
    EXPECT_EQ(module1.SwitchEntry[3], counting);
    EXPECT_EQ(module1.SwitchEntry[4], plain);
    EXPECT_EQ(module1.SwitchEntry[5], macro);
    EXPECT_EQ(module1.AnalogueEntry[2], analogue);
    EXPECT_EQ(module1.LEDEntry[7], led);
    EXPECT_EQ(std::count(module1.SwitchEntry.begin(), module1.SwitchEntry.end(), outside), 0);
}

TEST_F(LinkPorts, EngineClusterReadsItsNeedlesPerEngine)
{
    Cfg.ECNeedleFunction[0] = 51;
    Cfg.ECNeedleFunction[3] = 52;
    Cfg.ECNeedleDisplay[9] = 2;  // dual engine

    DefaultForm<frmStatusEC>::get().OpenPorts();

    EXPECT_EQ(DefaultForm<SimCom>::get().CurrentOwnerID, 4000);
    EXPECT_EQ(Session.ECNeedlePort[0][1], 0);
    EXPECT_EQ(Session.ECNeedlePort[0][2], 1);
    EXPECT_EQ(Session.ECNeedlePort[3][1], 2);
    EXPECT_EQ(Session.ECNeedlePort[3][2], 3);
    EXPECT_EQ(Session.ECNeedlePort[1][1], Integer(kNoSimPort));
    for (int handle = 0; handle < 4; ++handle)
        EXPECT_TRUE(reads(handle));
}

} // namespace
} // namespace varnet
