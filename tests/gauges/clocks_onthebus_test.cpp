// The heading indicator, the ADF indicator and the airliner clock on the
// real send path: frames as the control unit receives them, replies read
// back from it.

#include "gauges/onthebus_fixture.h"
#include "gauges/adfindicator.h"
#include "gauges/airlinerclock.h"
#include "gauges/headingindicator.h"
#include "support/fake_clock.h"

#include <QAbstractButton>
#include <QLineEdit>

namespace varnet {
namespace {

using testing::hexBytes;
using testing::SimControlUnit;

class InstrumentsOnTheBus : public testing::DialogOnTheBusTest {
protected:
    // The dialog for a gauge that answers status requests with `payload`.
    template <typename T>
    T& open(int id, int type, const char* payload)
    {
        unit_.setStatusReply(id, SimControlUnit::reply(id, type, QByteArray::fromHex(payload)));
        return DialogOnTheBusTest::open<T>(id, type);
    }
};

TEST_F(InstrumentsOnTheBus, HeadingIndicatorSendsItsKnobWordsAndReadsDiskAndBug)
{
    Cfg.GaugeRecPlate2[21] = 31;
    ConfigDG& d = open<ConfigDG>(21, 105, "0000000438000870");
    ASSERT_TRUE(unit_.waitForFrames(2));
    EXPECT_EQ(unit_.frames(), (QList<QByteArray>{hexBytes("00 15 98 09 02 FF"), hexBytes("00 15 98 29 02 FF")}));
    click(d, "cmdReadStatus");
    EXPECT_EQ(text(d, "boxCurrentHeading"), "090.0");
    EXPECT_EQ(text(d, "boxCurrentBug"), "180.0");
}

TEST_F(InstrumentsOnTheBus, ADFIndicatorPollsTheCompassUntilCancelAndLeavesTheSharedReply)
{
    ConfigADF& d = open<ConfigADF>(30, 108, "000000032C");
    d.Form_Activate();
    ASSERT_TRUE(waitUntil([&] { return text(d, "boxCourse") == "90"; }, 2000));
    ASSERT_TRUE(unit_.waitForFrames(2));
    EXPECT_EQ(GaugeReply.size(), 25);
    click(d, "CmdClose");
    waitMs(60);
    unit_.clear();
    waitMs(200);
    EXPECT_TRUE(unit_.frames().isEmpty());
}

TEST_F(InstrumentsOnTheBus, AirlinerClockSetsDateAndTimeAndReadsThemBack)
{
    testing::FakeClock clock(QDateTime(QDate(2026, 12, 5), QTime(10, 0, 0)));
    ConfigBoeingClock& d = open<ConfigBoeingClock>(23, 104, "0000001A0C05000A000000000100");
    ASSERT_TRUE(unit_.waitForFrames(1));  // the seconds needle's source
    unit_.clear();
    click(d, "cmdSetTime");
    ASSERT_TRUE(unit_.waitForFrames(3));
    // 15/0, 5/36000 (0x8CA0), 4/27397 (0x6B05)
    EXPECT_EQ(unit_.frames(), (QList<QByteArray>{hexBytes("00 17 F8 01 02 FF"), hexBytes("00 17 58 A1 8E FF"),
                                                  hexBytes("00 17 4B 05 6B FF")}));
    click(d, "CmdReadAirPress");
    EXPECT_EQ(text(d, "boxdate"), "2026-12-5");
    EXPECT_EQ(text(d, "boxRealTime"), "10:0:0");
    EXPECT_EQ(text(d, "boxElapsedTime"), "0:1:0");
}

} // namespace
} // namespace varnet
