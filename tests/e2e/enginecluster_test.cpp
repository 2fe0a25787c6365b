// The program's run driving a stand-alone engine cluster: the simulated
// cluster on a pseudo-terminal linked as COM2, one needle with a function
// and a plate, X-Plane values that move it.

#include "program_fixture.h"
#include "simenginecluster/simenginecluster.h"

#include <algorithm>

namespace varnet {
namespace {

using namespace varnet::testing;

constexpr int kClusterCom = 2;
constexpr quint32 kN1Group = 41;
constexpr int kN1Function = 60;
constexpr int kNeedle = 3;  // index 3 travels in bytes 22-23 of the frame

class EngineClusterRunTest : public ProgramTest {
protected:
    void configure() override
    {
        Cfg.ComPortEC = kClusterCom;
        defineFunction(kN1Function, "N1", kN1Group);
        const int p = Cfg.AddPlate();
        Cfg.PlateName[std::size_t(p)] = "N1 percent";
        auto& values = Cfg.PlateValue[std::size_t(p)];
        auto& steps = Cfg.PlateSteps[std::size_t(p)];
        values[0] = 1;  // "Engines"
        values[1] = steps[1] = 2;
        std::tie(values[2], steps[2], values[3], steps[3]) = std::tuple(0, 0, 110, 990);
        std::tie(values[4], steps[4], values[5], steps[5], values[6], steps[6]) = std::tuple(0, 0, 100, 800, 110, 990);
        Cfg.ECNeedleFunction[kNeedle] = kN1Function;
        Cfg.ECNeedlePlate[kNeedle] = Integer(p);
        Cfg.ECNeedleDisplay[9] = 1;
    }

    bool needleAt(int position, int timeoutMs = 5000)
    {
        return waitUntil(
            [&] {
                return std::ranges::any_of(cluster_.frames(), [&](const SimEngineCluster::Frame& f) {
                    return f.needles[kNeedle] == position;
                });
            },
            timeoutMs);
    }

    SimEngineCluster cluster_{kClusterCom};
};

TEST_F(EngineClusterRunTest, XPlaneValuesMoveTheNeedleThroughItsPlateAndASteadyClusterGetsOneFrameASecond)
{
    ASSERT_TRUE(cluster_.ready());
    cluster_.setLineRate(SimEngineCluster::kLineRate);
    ASSERT_TRUE(runStarted());

    // 50 % N1: 400 plate steps, 1600 on the cluster; 105 %: 895 steps.
    sendData({record(kN1Group, 0, 50.0f)});
    ASSERT_TRUE(needleAt(1600)) << "no frame with the needle at 1600";
    sendData({record(kN1Group, 0, 105.0f)});
    ASSERT_TRUE(needleAt(3580));
    const SimEngineCluster::Frame last = cluster_.frames().back();
    for (int n = 0; n < SimEngineCluster::kNeedles; ++n)
        EXPECT_EQ(last.needles[std::size_t(n)], n == kNeedle ? 3580 : 0) << "needle index " << n;

    // Nothing changes: one frame a second, the same frame.
    waitMs(300);
    cluster_.clear();
    waitMs(3500);
    const QList<SimEngineCluster::Frame> steady = cluster_.frames();
    EXPECT_GE(steady.size(), 3);
    EXPECT_LE(steady.size(), 4);
    for (qsizetype i = 1; i < steady.size(); ++i)
        EXPECT_GE(steady[i].at - steady[i - 1].at, 900) << "frames " << i - 1 << " and " << i;
    EXPECT_TRUE(std::ranges::all_of(steady, [&](const auto& f) { return f.bytes == last.bytes; }));
    EXPECT_EQ(cluster_.skipped(), 0);
    EXPECT_TRUE(endsCleanly());
}

} // namespace
} // namespace varnet
