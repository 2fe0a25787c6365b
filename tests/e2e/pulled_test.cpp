// The program on a private X display, its control unit pulled out in the middle of the run the
// way a USB adapter goes: both ends of the pseudo-terminal close and the COM1 link disappears, so
// that COM1 would mean /dev/ttyS0 again. The test meets the box as a user does: it comes to the
// front, titled with the program's name, and takes "y" for Yes. (Its text is checked where the
// same loss is met in-process, tests/faults.)

#include "platform/keystrokes.h"
#include "program_fixture.h"
#include "support/private_xserver.h"

#include <X11/Xlib.h>

#include <memory>
#include <string>

namespace varnet {
namespace {

using namespace varnet::testing;

class PulledControlUnitTest : public ProgramTest {
protected:
    PulledControlUnitTest()
    {
        if (!display_.empty())
            qputenv("DISPLAY", display_.c_str());  // for the keys typed
        platform_ = display_.empty() ? "offscreen" : "xcb";
    }
    ~PulledControlUnitTest() override { qunsetenv("DISPLAY"); }

    // Whether a box of the program (its windows have titles of their own) has the keyboard within
    // the time; asked every 20 ms, as nothing in this process wakes a wait when it changes.
    bool boxInFront(int timeoutMs)
    {
        QElapsedTimer waited;
        waited.start();
        for (;; waitMs(20)) {
            Window focus = 0;
            int revert = 0;
            char* title = nullptr;
            XGetInputFocus(x_.get(), &focus, &revert);
            const bool box = focus > PointerRoot && XFetchName(x_.get(), focus, &title) && title == std::string("Varnet");
            XFree(title);
            if (box || waited.hasExpired(timeoutMs))
                return box;
        }
    }

    PrivateXServer server_;
    std::string display_ = server_.start();
    std::unique_ptr<Display, int (*)(Display*)> x_{display_.empty() ? nullptr : XOpenDisplay(display_.c_str()),
                                                 XCloseDisplay};
    X11KeystrokeInjector keys_;
};

TEST_F(PulledControlUnitTest, IsReportedWithinTicksAndYesSendsTheNewestValuesToTheUnitPluggedInUnderItsName)
{
    if (!x_)
        GTEST_SKIP() << "no X display for the program's boxes";
    ASSERT_TRUE(runStarted());
    unit_.pull();
    sendData({record(kSpeedsGroup, 0, 155)});
    ASSERT_TRUE(boxInFront(500)) << "no report of the lost control unit within ticks";

    keys_.inject("y");
    waitMs(300);
    const std::size_t mark = frames_.size();
    SimControlUnit unit(1);
    unit.answer = unit_.answer;
    EXPECT_TRUE(needleAt(kAirspeedGauge, 752, mark)) << "the value set while the unit was away never reached it";
    EXPECT_TRUE(endsCleanly());
}

} // namespace
} // namespace varnet
