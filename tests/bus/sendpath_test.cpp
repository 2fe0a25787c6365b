#include "bus/deviceports.h"
#include "bus/gaugebus_fixture.h"
#include "bus/gaugeframes.h"
#include "simcontrolunit/simcontrolunit.h"
#include "platform/wait.h"
#include "support/scripted_messages.h"

#include <QElapsedTimer>
#include <QFile>

#include <cmath>
#include <tuple>

namespace varnet {
namespace {

using testing::hexBytes;
using testing::SimControlUnit;

// The control unit on COM3 behind a real pseudo-terminal, the configured
// gauge-bus port.
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

TEST_F(SendPath, FramesReachTheControlUnitWholeAndInOrderAndOnlyBusIDsSendAnything)
{
    // Each call waits until the configuration timer has written the one
    // before it.
    for (const auto& [command, value] : {std::pair{7, 0.0}, {5, 945.0}, {8, 192.0}, {5, -2.0}, {5, 65536.0}})
        EXPECT_TRUE(SendGaugeCommand(12, command, value)) << value;
    EXPECT_EQ(GaugeSendPending, 1);
    int newID = 40;
    EXPECT_TRUE(SendNewGaugeID(12, newID));
    EXPECT_EQ(newID, 40);
    EXPECT_EQ(GaugeCmdFrame, hexBytes("00 0C 2C 28 AA FF 20"));
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
    EXPECT_EQ(unit.received().size(), 5 * 6 + 7 + 6);
    EXPECT_EQ(unit.received().mid(30, 7), hexBytes("00 0C 2C 28 AA FF 20"));
    EXPECT_EQ(GaugeSendPending, 0);

    // Only IDs of the bus (and of modules) and values that are numbers.
    ASSERT_TRUE(SendGaugeCommand(12, 5, 945));
    const QByteArray buffer = GaugeSendBuffer;
    EXPECT_FALSE(SendGaugeCommand(300, 5, 1) || SendGaugeCommand(-3, 5, 1) || SendGaugeCommand(12, 5, std::nan("")));
    EXPECT_EQ((std::tuple{GaugeSendBuffer, GaugeCmdFrame}), (std::tuple{buffer, buffer}));
    settle();
    EXPECT_EQ(unit.frames().mid(7), QList<QByteArray>{buffer});
    // A new ID that does not fit a byte is reported and queues nothing.
    testing::ScriptedMessages boxes;
    boxes.expectOk("Wrong GaugeID specification");
    newID = 256;
    EXPECT_FALSE(SendNewGaugeID(12, newID));
    EXPECT_EQ((std::tuple{newID, GaugeSendPending}), (std::tuple{-1, 0}));
}

TEST_F(SendPath, PollGaugeReturnsTheReplyOrNoReplyWithinItsBound)
{
    unit.addGauge(12, 106);
    // A reply with a bad end marker is read but not taken.
    QByteArray bad = SimControlUnit::reply(12, 106);
    bad[24] = '\x01';
    unit.send(bad);
    waitUntil([] { return !GaugeReply.isEmpty(); }, 1000);
    EXPECT_EQ(GaugeReplyReceived, 0);

    EXPECT_TRUE(PollGauge(12));
    EXPECT_EQ((std::tuple{GaugeReplyReceived, GaugeReply}), (std::tuple{1, SimControlUnit::reply(12, 106)}));

    unit.setSilent(true);
    GaugeReplyReceived = 0;
    GaugeReply.clear();
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_FALSE(PollGauge(12));
    EXPECT_GE(elapsed.elapsed(), kPollReplyWaitMs - 1);
    EXPECT_LT(elapsed.elapsed(), kPollReplyWaitMs + 500);
    EXPECT_EQ((std::tuple{GaugeReplyReceived, unit.frames().size()}), (std::tuple{0, 2}));
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
    EXPECT_FALSE(SendGaugeCommand(12, 5, 1) || SendNewGaugeID(12, newID) || PollGauge(12));
    EXPECT_EQ(newID, -1);
    EXPECT_LT(elapsed.elapsed(), 50);
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

TEST_F(SendPath, ConfigurationTimerWritesOnlyToTheConfiguredPort)
{
    // A COM probe left the port object open on another number.
    SimControlUnit other(4);
    SerialPort& port = runWindow().MSComm1();
    port.close();
    port.setPortNumber(4);
    ASSERT_TRUE(port.open());

    ASSERT_TRUE(SendGaugeCommand(12, 5, 945));
    ASSERT_TRUE(unit.waitForFrames(1));
    EXPECT_TRUE(other.received().isEmpty() && port.portNumber() == 3);
}

TEST_F(SendPath, FrameForAPortThatCannotBeOpenedIsDroppedQuietly)
{
    // No box is expected: the global test service fails on any.
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
    EXPECT_TRUE(unit.received().isEmpty());
}

} // namespace
} // namespace varnet
