#include "bus/deviceports.h"
#include "bus/gaugebus_fixture.h"
#include "bus/gaugeframes.h"
#include "simcontrolunit/simcontrolunit.h"
#include "platform/wait.h"
#include "support/fake_serial_port.h"
#include "support/scripted_messages.h"
#include "yokes/yokewindows.h"

#include <QElapsedTimer>
#include <QFile>

#include <cmath>
#include <tuple>

namespace varnet {
namespace {

using testing::FakeSerialPort;
using testing::hexBytes;
using testing::ScriptedMessages;
using testing::SimControlUnit;

// The device ports on fakes: COM3 gauge bus, COM4 engine cluster, COM5/6 I/O modules.
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
        std::tie(Cfg.ComPortGauges, Cfg.ComPortEC, Cfg.ComPortIOM, Cfg.ComPortIOM2) = std::tuple(3, 4, 5, 6);
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
    EXPECT_EQ((std::tuple{opens, opened()}), (std::tuple{QMap<int, int>{{3, 2}, {4, 2}, {5, 2}, {6, 2}}, std::array{true, true, true, true}}));
    EXPECT_EQ((std::array{unit(runWindow().MSComm1()), unit(portOf(StandAloneDevice::EngineCluster)),
                          unit(portOf(StandAloneDevice::IOModule1)), unit(portOf(StandAloneDevice::IOModule2))}),
              (std::array{std::tuple{25, 25}, std::tuple{16, 16}, std::tuple{25, 25}, std::tuple{25, 25}}));
    EXPECT_EQ((std::tuple{GaugeSendBuffer, ECFrame}), (std::tuple{QByteArray(40, ' '), QByteArray(40, ' ')}));
    EXPECT_TRUE(GaugeReply.isEmpty() && ECReplyBuffer.isEmpty() && ECReplyReceived == 0);

    Cfg.ComPortGauges = Cfg.ComPortIOM = Cfg.ComPortIOM2 = 0;
    GaugeSendBuffer = "kept";
    opens.clear();
    OpenComPorts();
    EXPECT_EQ((std::tuple{opens, runWindow().MSComm1().isOpen() && portOf(StandAloneDevice::IOModule1).isOpen(), GaugeSendBuffer}),
              (std::tuple{QMap<int, int>{{4, 2}}, true, "kept"}));

    // A frame still waiting survives the reopen.
    Cfg.ComPortGauges = 3;
    std::tie(GaugeSendBuffer, GaugeSendPending) = std::tuple("frame", 1);
    OpenComPorts();
    EXPECT_EQ(GaugeSendBuffer, "frame");
}

TEST_F(DevicePorts, CarrierHeldMeansNoPowerAndCloseComPortsClosesAllFourCreatingTheLinkWindows)
{
    carrierHeld = true;
    Cfg.ComPortEC = 0;
    boxes.expectOk("No Power on CIM; Check Power Switch and Fuses");
    OpenComPorts();
    EXPECT_EQ((std::tuple{boxes.pending(), runWindow().MSComm1().isOpen(), standAloneLinks().Loaded(StandAloneDevice::EngineCluster)}),
              (std::tuple{0u, true, false}));

    CloseComPorts();
    EXPECT_EQ(opened(), (std::array{false, false, false, false}));
    for (StandAloneDevice device : testing::kAllLinks)
        EXPECT_TRUE(standAloneLinks().Loaded(device));
}

TEST_F(DevicePorts, MissingPortShowsOneBoxNamingItsDeviceAndTheOthersStillOpen)
{
    missing = {3, 5};
    const QString tail = ": Device not found\r\nCheck for correct portnumbers\r\n"
                         "Current ComPort does not exist or isn't operational";
    boxes.expectOk("Commmunicaton error COM port nr: 3\r\n/dev/ttyS2" + tail);
    boxes.expectOk("Commmunicaton error COM port nr: 5\r\n/dev/ttyS4" + tail);
    EXPECT_EQ((std::tuple{OpenComPorts(), boxes.pending(), opened()}), (std::tuple{false, 0u, std::array{false, true, false, true}}));

    // Run, after the preparation showed these, says once that it goes on without a port.
    boxes.expectOk(kRunPortError);
    runWindow().cmdRun_Click();
    EXPECT_EQ(boxes.pending(), 0u);
    runWindow().cmdStop_Click();
    DefaultForm<frmStatusYoke>::unload();
    missing.clear();
    EXPECT_TRUE(OpenComPorts(PortFailures::Quiet));
}

// The control unit behind a real pseudo-terminal on COM3, the gauge-bus port.
class SendPath : public testing::GaugeBusTest {
protected:
    void SetUp() override
    {
        GaugeBusTest::SetUp();
        ASSERT_TRUE(unit.ready());
        Cfg.ComPortGauges = 3;
        OpenComPorts();
        ASSERT_TRUE(runWindow().MSComm1().isOpen());
    }

    // Lets the configuration timer write what is queued and the unit answer.
    void settle() { waitMs(40); }

    SimControlUnit unit{3};
};

TEST_F(SendPath, FramesReachTheConfiguredPortWholeAndInOrderAndOnlyBusIDsSendAnything)
{
    // A COM probe left the port object open on another number.
    SimControlUnit other(4);
    SerialPort& port = runWindow().MSComm1();
    port.close();
    port.setPortNumber(4);
    ASSERT_TRUE(port.open());
    // Each call waits until the configuration timer has written the one before.
    for (const auto& [command, value] : {std::pair{7, 0.0}, {5, 945.0}, {8, 192.0}, {5, -2.0}, {5, 65536.0}})
        EXPECT_TRUE(SendGaugeCommand(12, command, value)) << value;
    EXPECT_EQ(GaugeSendPending, 1);
    int newID = 40;
    EXPECT_EQ((std::tuple{SendNewGaugeID(12, newID), newID, GaugeCmdFrame}), (std::tuple{true, 40, hexBytes("00 0C 2C 28 AA FF 20")}));
    ASSERT_TRUE(unit.waitForFrames(6));
    // The bus search fills the buffer itself.
    GaugeSendBuffer = *IdentifyFrame(12);
    GaugeSendPending = 1;
    ASSERT_TRUE(unit.waitForFrames(7));

    EXPECT_EQ(unit.frames(), (QList<QByteArray>{hexBytes("00 0C 78 01 02 FF"), hexBytes("00 0C 5B B1 03 FF"),
                                                hexBytes("00 0C 88 C1 02 FF"), hexBytes("00 0C 5C 03 02 FF"),
                                                hexBytes("00 0C 5B FF FF FF"), hexBytes("00 0C 2C 28 AA FF"),
                                                hexBytes("00 0C 7C 80 AA FF")}));
    // The new-ID frame goes out with its trailing blank; nothing else is sent.
    EXPECT_EQ((std::tuple{unit.received().size(), unit.received().mid(30, 7)}), (std::tuple{5 * 6 + 7 + 6, hexBytes("00 0C 2C 28 AA FF 20")}));
    EXPECT_TRUE(GaugeSendPending == 0 && other.received().isEmpty() && port.portNumber() == 3);

    // Only IDs of the bus (and of modules) and values that are numbers.
    ASSERT_TRUE(SendGaugeCommand(12, 5, 945));
    const QByteArray buffer = GaugeSendBuffer;
    EXPECT_FALSE(SendGaugeCommand(300, 5, 1) || SendGaugeCommand(-3, 5, 1) || SendGaugeCommand(12, 5, std::nan("")));
    EXPECT_EQ((std::tuple{GaugeSendBuffer, GaugeCmdFrame}), (std::tuple{buffer, buffer}));
    settle();
    EXPECT_EQ(unit.frames().mid(7), QList<QByteArray>{buffer});
    // A new ID that does not fit a byte is reported and queues nothing.
    ScriptedMessages boxes;
    boxes.expectOk("Wrong GaugeID specification");
    newID = 256;
    EXPECT_FALSE(SendNewGaugeID(12, newID));
    EXPECT_EQ((std::tuple{newID, GaugeSendPending}), (std::tuple{-1, 0}));
}

TEST_F(SendPath, ReopenDiscardsInputPollGaugeWaitsWithinItsBoundAFrameForADeadPortIsDroppedQuietly)
{
    unit.send("0123456789");
    OpenComPorts();
    waitMs(50);
    EXPECT_EQ(runWindow().MSComm1().bytesWaiting(), 0);

    unit.addGauge(12, 106);
    EXPECT_TRUE(PollGauge(12));
    EXPECT_EQ((std::tuple{GaugeReplyReceived, GaugeReply}), (std::tuple{1, SimControlUnit::reply(12, 106)}));

    unit.setSilent(true);
    GaugeReplyReceived = 0;
    GaugeReply.clear();
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_FALSE(PollGauge(12));
    const qint64 waited = elapsed.elapsed();
    EXPECT_EQ((std::tuple{waited >= kPollReplyWaitMs - 1 && waited < kPollReplyWaitMs + 500, GaugeReplyReceived, unit.frames().size()}),
              (std::tuple{true, 0, 2})) << waited << " ms";

    // A frame for a port that cannot be opened is dropped without a box (the test service fails on any).
    ASSERT_TRUE(QFile::link(dir_.path() + "/unplugged", "COM9"));
    runWindow().MSComm1().close();
    for (int number : {9, 0}) {
        Cfg.ComPortGauges = Integer(number);
        ASSERT_TRUE(SendGaugeCommand(12, 5, 945));
        EXPECT_TRUE(waitUntil([] { return GaugeSendPending == 0; }, 100));
        // The next sender does not wait for a dead port.
        QElapsedTimer elapsed;
        elapsed.start();
        EXPECT_TRUE(SendGaugeCommand(12, 5, 946));
        EXPECT_LT(elapsed.elapsed(), 100);
        settle();
    }
    EXPECT_EQ(unit.received().size(), 2 * kGaugeFrameBytes) << "nothing more reached the unit";
}

TEST_F(SendPath, DuringARunSingleFramesNeverMixIntoTheTickOutput)
{
    frmStatus& run = runWindow();
    run.WriteCmdDuringConfig().stop();
    GaugeSendBuffer = *GaugeBusFrame(12, 8, 192);
    GaugeSendPending = 1;
    // The frame still waiting goes out before the run takes the port over.
    run.StartRunOutput();
    EXPECT_EQ(GaugeSendPending, 0);
    ASSERT_TRUE(unit.waitForFrames(1));

    GaugeSendBuffer.clear();
    run.AddGaugeCommand(12, 5, 945);
    run.AddGaugeCommand(300, 5, 1);  // cannot be built: dropped
    run.AddGaugeCommand(12, 8, 192);
    QElapsedTimer elapsed;
    elapsed.start();
    int newID = 40;
    EXPECT_EQ((std::tuple{SendGaugeCommand(12, 5, 1) || SendNewGaugeID(12, newID) || PollGauge(12), newID, elapsed.elapsed() < 50}),
              (std::tuple{false, -1, true}));
    run.FlushGaugeOutput();
    EXPECT_EQ(GaugeSendBuffer, hexBytes("FF 00 0C 5B B1 03 FF FF 00 0C 88 C1 02 FF"));
    ASSERT_TRUE(unit.waitForFrames(3));

    // Back to single frames: the last tick's output is never sent again.
    run.StopRunOutput();
    EXPECT_TRUE(GaugeSendBuffer.isEmpty());
    ASSERT_TRUE(SendGaugeCommand(12, 5, -2));
    ASSERT_TRUE(unit.waitForFrames(4));
    settle();
    EXPECT_EQ(unit.received(), hexBytes("00 0C 88 C1 02 FF  FF 00 0C 5B B1 03 FF FF 00 0C 88 C1 02 FF"
                                        "00 0C 5C 03 02 FF"));
}

} // namespace
} // namespace varnet
