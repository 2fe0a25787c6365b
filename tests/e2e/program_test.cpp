// The program as a cockpit builder runs it (program_fixture.h): start-up,
// the status requests, the needles, the backlight and the exit.

#include "program_fixture.h"

namespace varnet {
namespace {

using namespace varnet::testing;

TEST_F(ProgramTest, AutostartStatusRequestsNeedlesAndTheBacklightInATickOfItsOwn)
{
    ASSERT_TRUE(runStarted());
    // The preparation first stops every data group, then selects those of
    // the needles, which the run moves to zero.
    EXPECT_TRUE(isStopAll(xplane_.received().value(0)));
    EXPECT_TRUE(xplaneReceived([](const QByteArray& d) { return isSelect(d, kSpeedsGroup); }));
    EXPECT_TRUE(xplaneReceived([](const QByteArray& d) { return isSelect(d, kEngineRpmGroup); }));
    ASSERT_TRUE(waitFor([](const Frame& f) { return f.gaugeID == kTachometerGauge && f.command == 5; }));
    for (const Frame& f : since(0, 5))
        EXPECT_EQ(f.value, 0) << "gauge " << f.gaugeID;

    // Status requests go in turn to the gauges that report back, one per
    // tick as the last frame of its write.
    std::size_t mark = frames_.size();
    ASSERT_TRUE(waitUntil([&] { return since(mark, 7).size() >= 6; }, 5000)) << "no status requests";
    const std::vector<Frame> requests = since(mark, 7);
    for (std::size_t i = 0; i < requests.size(); ++i) {
        EXPECT_TRUE(requests[i].gaugeID == kRadioModules[0] || requests[i].gaugeID == kRadioModules[1]);
        EXPECT_EQ(requests[i].value, 0);
        EXPECT_TRUE(i == 0 || requests[i].gaugeID != requests[i - 1].gaugeID) << "request " << i;
    }
    for (std::size_t i = mark; i < frames_.size(); ++i)
        if (frames_[i].command == 7) {
            const std::vector<Frame> tick = writeOf(i);
            EXPECT_EQ(std::count_if(tick.begin(), tick.end(), [](const Frame& f) { return f.command == 7; }), 1);
            EXPECT_EQ(tick.back().command, 7);
        }

    // Simulator values move the needles through their plates: 80 kt lies
    // between the plate points 40 kt/100 and 100 kt/450, 1234 RPM between
    // 500/100 and 3000/900; steps are rounded down.
    mark = frames_.size();
    const auto needle = [&](int gauge, int steps) {
        return waitFor([&](const Frame& f) { return f.gaugeID == gauge && f.command == 5 && f.value == steps; }, 3000,
                       mark);
    };
    sendData({record(kSpeedsGroup, 0, 80), record(kEngineRpmGroup, 0, 1234)});
    EXPECT_TRUE(needle(kAirspeedGauge, 333));
    EXPECT_TRUE(needle(kTachometerGauge, 334));
    // Unchanged values send nothing.
    waitMs(3 * kTickMs);
    mark = frames_.size();
    for (int i = 0; i < 3; ++i) {
        sendData({record(kSpeedsGroup, 0, 80), record(kEngineRpmGroup, 0, 1234)});
        waitMs(2 * kTickMs);
    }
    EXPECT_TRUE(since(mark, 5).empty()) << "unchanged values were sent again";
    sendData({record(kSpeedsGroup, 0, 155), record(kEngineRpmGroup, 0, 1234)});
    ASSERT_TRUE(waitFor([](const Frame& f) { return f.command == 5; }, 3000, mark));
    waitMs(2 * kTickMs);
    const std::vector<Frame> moved = since(mark, 5);
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0].gaugeID, kAirspeedGauge);
    EXPECT_EQ(moved[0].value, 752);

    // The light switch sends the backlight to every gauge in a tick of its
    // own: the needle gauges light up; the radio modules follow the second
    // voltage, which is off.
    waitMs(3 * kTickMs);
    mark = frames_.size();
    sendData({record(kLightSwitchesGroup, 0, 1)});
    ASSERT_TRUE(waitFor([](const Frame& f) { return f.command == 8; }, 3000, mark));
    waitMs(2 * kTickMs);
    std::size_t first = mark;
    while (frames_[first].command != 8)
        ++first;
    const std::vector<Frame> tick = writeOf(first);
    ASSERT_EQ(tick.size(), 4u) << "the backlight shares its tick with other frames";
    for (std::size_t i = 0; i < tick.size(); ++i) {
        EXPECT_EQ(tick[i].command, 8);
        EXPECT_EQ(tick[i].gaugeID, int(i) + 1);
        EXPECT_EQ(tick[i].value, i < 2 ? 128 : 0) << "gauge " << i + 1;
    }
    EXPECT_EQ(since(mark, 8).size(), 4u);
}

// A termination request, or the terminal closing (logging out).
class EndingSignalTest : public ProgramTest, public ::testing::WithParamInterface<int> {};

TEST_P(EndingSignalTest, EndsTheProgramThroughTheRunWindowsExit)
{
    ASSERT_TRUE(runStarted());
    EXPECT_TRUE(endsCleanly(GetParam(), 5000));
}

INSTANTIATE_TEST_SUITE_P(TerminationAndHangup, EndingSignalTest, ::testing::Values(SIGTERM, SIGHUP));

} // namespace
} // namespace varnet
