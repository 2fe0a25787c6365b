// The dialogs on the real send path: frames as the control unit behind a
// pseudo-terminal receives them, and its replies read back.

#include "gauges/onthebus_fixture.h"
#include "bus/gaugeframes.h"
#include "gauges/adfindicator.h"
#include "gauges/airlinerclock.h"
#include "gauges/digitalaltimeter.h"
#include "gauges/headingindicator.h"
#include "gauges/singleneedle.h"
#include "gauges/vorindicator.h"
#include "support/fake_clock.h"

#include <QComboBox>
#include <QSlider>

namespace varnet {
namespace {

using testing::Commands;
using testing::hexBytes;
using testing::SimControlUnit;

class OnTheBus : public testing::DialogOnTheBusTest {
protected:
    void SetUp() override
    {
        DialogOnTheBusTest::SetUp();
        std::tie(Cfg.GaugeRecType[12], Cfg.GaugeRecModel[12], Cfg.GaugeRecVersion[12]) = std::tuple(1, 2, 3);
        CurrentGaugeID = 12;
        CurrentGaugeTypeName = "Small gauge; Single Needle ";
    }
    // The single-needle dialog for CurrentGaugeID.
    static ConfigGaugeSN& needle()
    {
        OpenDialog<ConfigGaugeSN>(&ConfigGaugeSN::GaugeSNInitialize);
        return DefaultForm<ConfigGaugeSN>::get();
    }
    // The dialog for a gauge that answers status requests with `payload`.
    template <typename T>
    T& answering(int id, int type, const char* payload)
    {
        unit_.setStatusReply(id, SimControlUnit::reply(id, type, QByteArray::fromHex(payload)));
        return open<T>(id, type);
    }
    static void slide(QWidget& w, const char* name, int value) { w.findChild<QSlider*>(name)->setValue(value); }
    static void apply(QWidget& w, const char* newID)
    {
        auto* c = w.findChild<QComboBox*>("NewGaugeID");
        c->setCurrentIndex(c->findText(newID));
        click(w, "CmdApply");
    }
};

TEST_F(OnTheBus, ApplyMovesAConnectedGaugeAndRefusesAnUnconnectedOne)
{
    Session.GaugeRecBusStatus[12] = 2;
    std::tie(Cfg.GaugeRecCategory1[12], Cfg.GaugeRecFunction1[12]) = std::tuple(1, 60);
    std::tie(Cfg.FunctionCategory[60], Cfg.FunctionSignalType[60]) = std::tuple(1, 4);
    Cfg.PlateValue[Cfg.AddPlate()][0] = 1;
    Cfg.PlateCount = 1;

    apply(needle(), "40");
    ASSERT_TRUE(unit_.waitForFrames(1));
    waitMs(20);
    EXPECT_EQ(unit_.received(), hexBytes("00 0C 2C 28 AA FF 20"));
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[40], Cfg.GaugeRecModel[40], Cfg.GaugeRecType[12]), std::tuple(1, 2, 0));
    EXPECT_EQ(std::tuple(Session.GaugeRecBusStatus[12], Session.GaugeRecBusStatus[40]), std::tuple(1, 2));

    unit_.clear();
    CurrentGaugeID = 40;
    Session.GaugeRecBusStatus[40] = 1;
    messages_.expectOk(kNotConnected);
    apply(needle(), "41");
    waitMs(40);
    EXPECT_TRUE(unit_.received().isEmpty());
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[40], Cfg.GaugeRecType[41]), std::tuple(1, 0));
}

TEST_F(OnTheBus, AReadTakesOnlyAFreshReplyOfItsOwnGauge)
{
    unit_.addGauge(12, 1);
    GaugeReply = SimControlUnit::reply(12, 1);
    GaugeReplyReceived = 1;
    // Another gauge answers in its place: nothing is taken.
    unit_.answer = [](const QByteArray& frame) {
        return frame.at(2) == char(0x78) ? SimControlUnit::reply(13, 1) : QByteArray();
    };
    EXPECT_FALSE(needle().context().Read());
    unit_.answer = nullptr;
    const std::optional<QByteArray> reply = needle().context().Read();
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, SimControlUnit::reply(12, 1));
}

TEST_F(OnTheBus, ADFPollsTheCompassUntilCancelAndVORCalibratesAndReadsItsOwnCourse)
{
    auto& d = answering<ConfigADF>(30, 108, "000000032C");
    d.Form_Activate();
    ASSERT_TRUE(waitUntil([&] { return text(d, "boxCourse") == "90"; }, 2000));
    ASSERT_TRUE(unit_.waitForFrames(2));
    EXPECT_EQ(GaugeReply.size(), 25);
    click(d, "CmdClose");
    waitMs(60);
    unit_.clear();
    waitMs(200);
    EXPECT_TRUE(unit_.frames().isEmpty());

    // The VOR's calibration series, and the course of its own reply only.
    auto& vor = open<ConfigGaugeVOR>(21, kVOR1);
    slide(vor, "SliderValue1", 400);
    click(vor, "cmdCenterLocNeedle");
    slide(vor, "Sliderindicator", 100);
    click(vor, "cmdCalibrateDisk");
    EXPECT_EQ(received(10), (Commands{{5, 400}, {4, -72}, {10, 100}, {13, 0x7064}, {13, 0x5208}, {13, 0x63AC},
                                      {13, 0x2550}, {13, 0x16F4}, {13, 0x3898}, {13, 0x4A3C}}));

    // Another gauge answering in its place shows nothing; its own reply does.
    const QByteArray count542 = QByteArray::fromHex("000000021E");
    unit_.answer = [&](const QByteArray& frame) {
        return frame.at(2) == char(0x78) ? SimControlUnit::reply(22, kVOR1, count542) : QByteArray();
    };
    vor.Form_Activate();
    waitMs(200);
    EXPECT_EQ(text(vor, "boxCourse"), "");
    unit_.answer = nullptr;
    unit_.setStatusReply(21, SimControlUnit::reply(21, kVOR1, count542));
    EXPECT_TRUE(waitUntil([&] { return text(vor, "boxCourse") == "180"; }, 2000));
}

TEST_F(OnTheBus, HeadingIndicatorAndAirlinerClockReadTheirOwnReplies)
{
    Cfg.GaugeRecPlate2[21] = 31;
    auto& heading = answering<ConfigDG>(21, 105, "0000000438000870");
    ASSERT_TRUE(unit_.waitForFrames(2));  // its knob words
    click(heading, "cmdReadStatus");
    EXPECT_EQ(text(heading, "boxCurrentHeading") + " " + text(heading, "boxCurrentBug"), "090.0 180.0");

    testing::FakeClock clock(QDateTime(QDate(2026, 12, 5), QTime(10, 0, 0)));
    unit_.clear();
    auto& d = answering<ConfigBoeingClock>(23, 104, "0000001A0C05000A000000000100");
    ASSERT_TRUE(unit_.waitForFrames(1));  // the seconds needle's source
    click(d, "CmdReadAirPress");
    EXPECT_EQ(text(d, "boxdate") + " " + text(d, "boxRealTime") + " " + text(d, "boxElapsedTime"),
              "2026-12-5 10:0:0 0:1:0");
}

TEST_F(OnTheBus, AltimeterWritesExactPressureRefusesOthersAndReadsItBack)
{
    auto& d = open<ConfigGaugeAD>(22, 101, 1, 4);
    box(d, "boxAirPress")->setText("29.92");
    click(d, "cmdWriteAirPress");
    EXPECT_EQ(received(2), (Commands{{14, 0}, {12, 2992}}));
    for (const char* refused : {"100", "-1"}) {
        box(d, "boxAirPress")->setText(QString::fromLatin1(refused));
        messages_.expectOk(kAirPressureRule);
        click(d, "cmdWriteAirPress");
    }
    unit_.setStatusReply(22, SimControlUnit::reply(22, 101, QByteArray::fromHex("0000000BB0000100A0")));
    click(d, "CmdReadAirPress");
    EXPECT_EQ(unit_.frames(), (QList<QByteArray>{*StatusRequestFrame(22)}));  // the refusals sent nothing
    EXPECT_EQ(text(d, "boxAirPress") + " " + text(d, "BoxPressRotation"), "29.92 32");
}

} // namespace
} // namespace varnet
