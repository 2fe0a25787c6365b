#include "bus/deviceports.h"
#include "bus/gaugebus_fixture.h"
#include "simcontrolunit/simcontrolunit.h"
#include "platform/wait.h"
#include "support/fake_serial_port.h"
#include "support/scripted_messages.h"
#include "yokes/yokewindows.h"

#include <QFile>

#include <tuple>

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

    static SerialPort& portOf(StandAloneDevice device) { return standAloneLinks().MSComm1(device); }
    static auto unit(const SerialPort& port) { return std::tuple{port.receiveThreshold(), port.inputLength()}; }
    static auto opened()
    {
        return std::array{runWindow().MSComm1().isOpen(), portOf(StandAloneDevice::EngineCluster).isOpen(),
                          portOf(StandAloneDevice::IOModule1).isOpen(), portOf(StandAloneDevice::IOModule2).isOpen()};
    }

    testing::FakeSerialPorts fakes;
    ScriptedMessages boxes;
    QMap<int, int> opens;
    QList<int> missing;
    bool carrierHeld = false;
};

TEST_F(DevicePorts, OpenComPortsOpensEachPortTwiceWithItsUnitAndFreshBuffersUnusedLinksKeepTheirs)
{
    GaugeReply = ECReplyBuffer = "old";
    ECReplyReceived = 1;

    OpenComPorts();
    EXPECT_EQ(opens, (QMap<int, int>{{3, 2}, {4, 2}, {5, 2}, {6, 2}}));
    EXPECT_EQ(opened(), (std::array{true, true, true, true}));
    EXPECT_EQ(runWindow().MSComm1().portNumber(), 3);
    EXPECT_EQ(unit(runWindow().MSComm1()), (std::tuple{25, 25}));
    EXPECT_EQ(unit(portOf(StandAloneDevice::EngineCluster)), (std::tuple{16, 16}));
    EXPECT_EQ(unit(portOf(StandAloneDevice::IOModule1)), (std::tuple{25, 25}));
    EXPECT_EQ(unit(portOf(StandAloneDevice::IOModule2)), (std::tuple{25, 25}));
    EXPECT_EQ((std::tuple{GaugeSendBuffer, ECFrame}), (std::tuple{QByteArray(40, ' '), QByteArray(40, ' ')}));
    EXPECT_TRUE(GaugeReply.isEmpty() && ECReplyBuffer.isEmpty());
    EXPECT_EQ(ECReplyReceived, 0);

    Cfg.ComPortGauges = Cfg.ComPortIOM = Cfg.ComPortIOM2 = 0;
    GaugeSendBuffer = "kept";
    opens.clear();
    OpenComPorts();
    EXPECT_EQ(opens, (QMap<int, int>{{4, 2}}));
    EXPECT_TRUE(runWindow().MSComm1().isOpen() && portOf(StandAloneDevice::IOModule1).isOpen());
    EXPECT_EQ(GaugeSendBuffer, "kept");

    // A frame still waiting survives the reopen.
    Cfg.ComPortGauges = 3;
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
    EXPECT_EQ(opened(), (std::array{false, true, false, true}));

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
    EXPECT_EQ(opened(), (std::array{false, false, false, false}));
    for (StandAloneDevice device : testing::kAllLinks)
        EXPECT_TRUE(standAloneLinks().Loaded(device));
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
