#include "bus/deviceports.h"
#include "bus/gaugebus_fixture.h"
#include "iomodules/ecframe.h"
#include "iomodules/enginelink.h"
#include "simenginecluster/simenginecluster.h"
#include "simxplane/simxplane.h"
#include "platform/wait.h"
#include "support/fake_serial_port.h"
#include "support/scripted_messages.h"

#include <memory>

#include <tuple>

namespace varnet {
namespace {

using testing::SimEngineCluster;

// The needles as the cluster reads them from a frame.
std::array<int, 8> needlesOf(const QByteArray& frame)
{
    const std::optional<SimEngineCluster::Frame> read = SimEngineCluster::decode(frame);
    EXPECT_TRUE(read.has_value()) << frame.toHex(' ').toStdString();
    return read ? read->needles : std::array<int, 8>{};
}

TEST(ECFrame, EachNeedleLandsInItsOwnBytesAndTheFlagsFollowBacklightAndDisplays)
{
    // Every needle a different position: no two share or swap bytes.
    const ECPositions positions = {0x0102, 0x0304, 0x0506, 0x0708, 0x090A, 0x0B0C, 0x0D0E, 0xFFFF};
    const QByteArray frame = ComposeECFrame(positions, ECFlags(1, 1));
    EXPECT_EQ(frame.size(), 40);
    EXPECT_EQ(needlesOf(frame), positions);
    // Bytes that carry no needle stay 0.
    for (const int unused : {9, 10, 17, 18, 19, 20, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36})
        EXPECT_EQ(frame[unused], '\0') << unused;

    struct Case {
        Byte backlightOn, displaysOn;
        char flags;
    };
    for (const Case c : {Case{0, 1, 0x00}, Case{1, 1, 0x01}, Case{0, 0, 0x02}, Case{1, 0, 0x03}, Case{2, 3, 0x00}})
        EXPECT_EQ(ECFlags(c.backlightOn, c.displaysOn), c.flags) << int(c.backlightOn) << int(c.displaysOn);

    // Positions outside the two bytes are held at their ends.
    EXPECT_EQ(needlesOf(ComposeECFrame({-5, 70000}, 0)), (std::array<int, 8>{0, 65535}));
    for (const auto& [steps, position] : {std::pair{0, 0}, {100, 400}, {1079, 4316}, {-3, 0}, {16383, 65532},
                                         {16384, 65532}, {1 << 30, 65532}})
        EXPECT_EQ(ECPosition(steps), position) << steps;
}

// The cluster on COM4 (a fake port), one needle on function 51 with a plate
// from 0..100 to 0..1000 steps.
class ClusterRun : public testing::GaugeBusTest {
protected:
    void SetUp() override
    {
        GaugeBusTest::SetUp();
        Cfg.ComPortEC = 4;
        Cfg.FunctionNames[51] = "N1";
        std::tie(Cfg.FunctionIndex1[51], Cfg.FunctionMultiply[51], Cfg.FunctionDivide[51], Cfg.FunctionDataType[51]) =
            std::tuple(1, 1, 1, DataTypeFloat);
        Cfg.ECNeedleFunction[3] = 51;
        Cfg.ECNeedlePlate[3] = addPlate({{0, 0}, {100, 1000}});
        OpenComPorts();
        cluster().OpenPorts();
        cluster().cmdRun_Click();
    }

    static frmStatusEC& cluster() { return DefaultForm<frmStatusEC>::get(); }
    static void sim(float value)
    {
        DefaultForm<SimCom>::get().WinsockUDP_DataArrival(testing::SimXplane::dataPacket({{1, {value}}}));
    }
    // The frames one tick writes.
    QList<QByteArray> tick()
    {
        port().clearWrites();
        cluster().ProcessTimer_Timer();
        return port().writes();
    }
    testing::FakeSerialPort& port() { return *fakes.port(4); }

    testing::FakeSerialPorts fakes;
};

TEST_F(ClusterRun, SendsEveryNeedleInOneFrameOnChangeAndOnceASecondWhenSteady)
{
    sim(50.5f);  // 505 steps
    ECBacklightOn = 1;
    ECDisplaysOn = 1;
    const QList<QByteArray> first = tick();
    ASSERT_EQ(first.size(), 1);
    EXPECT_EQ(needlesOf(first[0]), (std::array<int, 8>{0, 0, 0, 505 * 4, 0, 0, 0, 0}));
    EXPECT_EQ((std::tuple{first[0][37], ECFrame}), (std::tuple{char(0x01), first[0]}));

    // Steady: nothing until the one-second tick asks for the frame again.
    EXPECT_TRUE(tick().isEmpty() && tick().isEmpty());
    cluster().Timer1_Timer();
    EXPECT_EQ(tick(), first);
    EXPECT_TRUE(tick().isEmpty());

    // A changed value or flag goes out at once; above the plate it stays at
    // the plate's end.
    sim(150);
    EXPECT_EQ(needlesOf(tick().value(0))[3], 4000);
    ECDisplaysOn = 0;
    EXPECT_EQ(tick().value(0)[37], char(0x03));

    // Halted, nothing goes out; the run's restart sends the frame again.
    cluster().cmdStop_Click();
    cluster().Timer1_Timer();
    EXPECT_TRUE(tick().isEmpty());
    cluster().cmdRun_Click();
    EXPECT_EQ(needlesOf(tick().value(0))[3], 4000);
}

TEST_F(ClusterRun, ANeedleWithoutAPlateOrValueKeepsItsPositionAndAFailedWriteIsSentAgain)
{
    sim(10);
    EXPECT_EQ(needlesOf(tick().value(0))[3], 400);
    Cfg.ECNeedlePlate[3] = 9;  // no such plate
    sim(20);
    EXPECT_TRUE(tick().isEmpty());
    EXPECT_EQ(cluster().Positions[3], 400);

    Cfg.ECNeedlePlate[3] = 0;
    port().setWriteError("gone");
    EXPECT_TRUE(tick().isEmpty());
    EXPECT_EQ(needlesOf(ECFrame)[3], 400) << "a frame that did not go out is not the last one sent";
}

// The cluster on a pseudo-terminal linked as COM4, pulled in the middle of
// the run as a USB adapter goes, and plugged in again under its name.
class ClusterPulled : public testing::GaugeBusTest {
protected:
    void TearDown() override
    {
        frmStatus::EndProgram = nullptr;
        GaugeBusTest::TearDown();
    }
};

TEST_F(ClusterPulled, IsAskedOnceAndAfterYesTheClusterBackUnderItsNameGetsTheNewestNeedles)
{
    Cfg.ComPortEC = 4;
    Cfg.FunctionNames[51] = "N1";
    std::tie(Cfg.FunctionIndex1[51], Cfg.FunctionMultiply[51], Cfg.FunctionDivide[51], Cfg.FunctionDataType[51]) =
        std::tuple(1, 1, 1, DataTypeFloat);
    Cfg.ECNeedleFunction[0] = 51;
    Cfg.ECNeedlePlate[0] = addPlate({{0, 0}, {100, 1000}});
    auto device = std::make_unique<SimEngineCluster>(4);
    ASSERT_TRUE(OpenComPorts(PortFailures::Quiet));
    frmStatusEC& cluster = DefaultForm<frmStatusEC>::get();
    cluster.OpenPorts();
    const auto sim = [](float value) {
        DefaultForm<SimCom>::get().WinsockUDP_DataArrival(testing::SimXplane::dataPacket({{1, {value}}}));
    };
    const auto needleAt = [&](int position) {
        return waitUntil([&] { return !device->frames().isEmpty() && device->frames().back().needles[0] == position; },
                         2000);
    };
    sim(10);
    cluster.cmdRun_Click();
    ASSERT_TRUE(needleAt(400));

    testing::ScriptedMessages boxes;
    boxes.expectYesNo("An error has occured writing Data to Engine Cluster\r\nError: The device was disconnected\r\n"
                      "Check Virtual/USB Com Port\r\nContinue?",
                      true);
    device->pull();
    sim(20);
    EXPECT_TRUE(waitUntil([&] { return boxes.pending() == 0; }, 300)) << "not asked within the next ticks";
    waitMs(500);  // away: asked once, the link runs on and looks for it under its name
    EXPECT_TRUE(cluster.Running == 1 && !cluster.MSComm1().isOpen());
    device = std::make_unique<SimEngineCluster>(4);
    EXPECT_TRUE(needleAt(800)) << "the cluster plugged in again did not get the newest needle";
}

} // namespace
} // namespace varnet
