// The program on a private X display, its control unit pulled out in the middle of the run the
// way a USB adapter goes: both ends of the pseudo-terminal close and the COM1 link disappears, so
// that COM1 would mean /dev/ttyS0 again. The test meets the box as a user does: it comes to the
// front, titled with the program's name, and takes "y" for Yes. (Its text is checked where the
// same loss is met in-process, tests/faults.)

#include "boxes_fixture.h"

namespace varnet {
namespace {

using namespace varnet::testing;

using PulledControlUnitTest = ProgramWithBoxesTest;

TEST_F(PulledControlUnitTest, IsReportedWithinTicksAndYesSendsTheNewestValuesToTheUnitPluggedInUnderItsName)
{
    if (!x_)
        GTEST_SKIP() << "no X display for the program's boxes";
    ASSERT_TRUE(runStarted());
    unit_.pull();
    sendData({record(kSpeedsGroup, 0, 155)});
    const Window box = boxInFront(500);
    ASSERT_TRUE(box) << "no report of the lost control unit within ticks";

    ASSERT_TRUE(answered(box, "y")) << "Yes did not close the box";
    const std::size_t mark = frames_.size();
    SimControlUnit unit(1);
    unit.answer = unit_.answer;
    EXPECT_TRUE(needleAt(kAirspeedGauge, 752, mark)) << "the value set while the unit was away never reached it";
    EXPECT_TRUE(endsCleanly());
}

} // namespace
} // namespace varnet
