#include "bus/deviceports.h"
#include "bus/gaugebus_fixture.h"
#include "simcontrolunit/simcontrolunit.h"
#include "platform/wait.h"
#include "support/fake_serial_port.h"
#include "support/scripted_messages.h"
#include "yokes/yokewindows.h"

#include <QFile>

namespace varnet {
namespace {

using testing::FakeSerialPort;
using testing::ScriptedMessages;

// The four device ports on fakes: COM3 gauge bus, COM4 engine cluster,
// COM5 and COM6 the I/O modules.
class DevicePorts : public testing::GaugeBusTest {
protected:
    void SetUp() override
    {
        GaugeBusTest::SetUp();
        fakes.onOpen = [this](FakeSerialPort& port) {
            ++opens[port.portNumber()];
            port.setOpenError(missing.contains(port.portNumber()) ? "Device not found" : "");
            port.setCarrierDetect(carrierHeld);
        };
        Cfg.ComPortGauges = 3;
        Cfg.ComPortEC = 4;
        Cfg.ComPortIOM = 5;
        Cfg.ComPortIOM2 = 6;
    }

    SerialPort& portOf(StandAloneDevice device) { return standAloneLinks().MSComm1(device); }

    testing::FakeSerialPorts fakes;
    ScriptedMessages boxes;
    QMap<int, int> opens;
    QList<int> missing;
    bool carrierHeld = false;
};

TEST_F(DevicePorts, OpenComPortsOpensEachPortTwiceWithItsUnitAndFreshBuffers)
{
    GaugeReply = "old";
    ECReplyBuffer = "old";
    ECReplyReceived = 1;

    OpenComPorts();

    EXPECT_EQ(opens, (QMap<int, int>{{3, 2}, {4, 2}, {5, 2}, {6, 2}}));
    const SerialPort& bus = runWindow().MSComm1();
    EXPECT_TRUE(bus.isOpen());
    EXPECT_EQ(bus.portNumber(), 3);
    EXPECT_EQ(bus.receiveThreshold(), 25);
    EXPECT_EQ(bus.inputLength(), 25);
    const QList<std::pair<StandAloneDevice, int>> links{
        {StandAloneDevice::EngineCluster, 16}, {StandAloneDevice::IOModule1, 25}, {StandAloneDevice::IOModule2, 25}};
    for (const auto& [device, unit] : links) {
        EXPECT_TRUE(portOf(device).isOpen());
        EXPECT_EQ(portOf(device).receiveThreshold(), unit);
        EXPECT_EQ(portOf(device).inputLength(), unit);
    }
    EXPECT_EQ(GaugeSendBuffer, QByteArray(40, ' '));
    EXPECT_EQ(ECFrame, QByteArray(40, ' '));
    EXPECT_TRUE(GaugeReply.isEmpty());
    EXPECT_TRUE(ECReplyBuffer.isEmpty());
    EXPECT_EQ(ECReplyReceived, 0);
}

TEST_F(DevicePorts, UnusedLinkKeepsItsPortAndBuffers)
{
    OpenComPorts();
    Cfg.ComPortGauges = 0;
    Cfg.ComPortIOM = 0;
    Cfg.ComPortIOM2 = 0;
    GaugeSendBuffer = "kept";
    opens.clear();

    OpenComPorts();

    EXPECT_EQ(opens, (QMap<int, int>{{4, 2}}));
    EXPECT_TRUE(runWindow().MSComm1().isOpen());
    EXPECT_TRUE(portOf(StandAloneDevice::IOModule1).isOpen());
    EXPECT_EQ(GaugeSendBuffer, "kept");
}

TEST_F(DevicePorts, FrameStillWaitingSurvivesTheReopen)
{
    GaugeSendBuffer = "frame";
    GaugeSendPending = 1;
    OpenComPorts();
    EXPECT_EQ(GaugeSendBuffer, "frame");
}

TEST_F(DevicePorts, CarrierHeldMeansTheControlUnitHasNoPower)
{
    carrierHeld = true;
    boxes.expectOk("No Power on CIM; Check Power Switch and Fuses");

    OpenComPorts();

    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_TRUE(runWindow().MSComm1().isOpen());
}

TEST_F(DevicePorts, MissingPortShowsOneBoxNamingItsDeviceAndTheOthersStillOpen)
{
    missing = {3, 5};
    const QString tail = ": Device not found\r\nCheck for correct portnumbers\r\n"
                         "Current ComPort does not exist or isn't operational";
    boxes.expectOk("Commmunicaton error COM port nr: 3\r\n/dev/ttyS2" + tail);
    boxes.expectOk("Commmunicaton error COM port nr: 5\r\n/dev/ttyS4" + tail);

    EXPECT_FALSE(OpenComPorts());

    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_FALSE(runWindow().MSComm1().isOpen());
    EXPECT_TRUE(portOf(StandAloneDevice::EngineCluster).isOpen());
    EXPECT_FALSE(portOf(StandAloneDevice::IOModule1).isOpen());
    EXPECT_TRUE(portOf(StandAloneDevice::IOModule2).isOpen());

    // Run, after the preparation showed these, says once in its own words
    // that it goes on without a port.
    boxes.expectOk(kRunPortError);
    runWindow().cmdRun_Click();
    EXPECT_EQ(boxes.pending(), 0u);
    runWindow().cmdStop_Click();
    DefaultForm<frmStatusYoke>::unload();
    missing.clear();
    EXPECT_TRUE(OpenComPorts(PortFailures::Quiet));
}

TEST_F(DevicePorts, CloseComPortsClosesAllFourAndCreatesTheLinkWindows)
{
    Cfg.ComPortEC = 0;
    OpenComPorts();
    EXPECT_FALSE(standAloneLinks().Loaded(StandAloneDevice::EngineCluster));

    CloseComPorts();

    EXPECT_FALSE(runWindow().MSComm1().isOpen());
    for (StandAloneDevice device : testing::kAllLinks) {
        EXPECT_TRUE(standAloneLinks().Loaded(device));
        EXPECT_FALSE(portOf(device).isOpen());
    }
}

// Real ports: an adapter that is not plugged in, and control units behind
// pseudo-terminals.
class RealDevicePorts : public testing::GaugeBusTest {};

TEST_F(RealDevicePorts, MissingAdapterAndWorkingLinks)
{
    testing::SimControlUnit cluster(4);
    testing::SimControlUnit module(5);
    ASSERT_TRUE(QFile::link(dir_.path() + "/unplugged", "COM9"));
    QtSerialPort probe;
    probe.setPortNumber(9);
    ASSERT_FALSE(probe.open());
    ScriptedMessages boxes;
    boxes.expectOk(ComPortErrorText(9, probe.errorString()));
    EXPECT_TRUE(ComPortErrorText(9, "x").startsWith("Commmunicaton error COM port nr: 9\r\n" + dir_.path() +
                                                    "/COM9: x\r\n"));
    Cfg.ComPortGauges = 9;
    Cfg.ComPortEC = 4;
    Cfg.ComPortIOM = 5;

    OpenComPorts();
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_FALSE(runWindow().MSComm1().isOpen());

    // Input waiting at a reopen is discarded; a pseudo-terminal holds no
    // carrier.
    Cfg.ComPortGauges = 0;
    SerialPort& port = standAloneLinks().MSComm1(StandAloneDevice::IOModule1);
    module.send("0123456789");
    OpenComPorts();
    waitMs(50);
    EXPECT_EQ(port.bytesWaiting(), 0);
    EXPECT_TRUE(port.isOpen());
    EXPECT_FALSE(port.carrierDetect());

    // The cluster's link answers in 16-byte units.
    cluster.send(QByteArray(16, 'E'));
    ASSERT_TRUE(waitUntil([] { return ECReplyReceived == 1; }, 2000));
    EXPECT_EQ(ECReplyBuffer, QByteArray(16, 'E'));
}

} // namespace
} // namespace varnet
