// The heading indicator, ADF indicator and both clocks on the real send
// path: frames as the control unit receives them, replies read back.

#include "bus/deviceports.h"
#include "bus/gaugebus_fixture.h"
#include "gauges/adfindicator.h"
#include "gauges/airlinerclock.h"
#include "gauges/headingindicator.h"
#include "gauges/lightclock.h"
#include "platform/wait.h"
#include "simcontrolunit/simcontrolunit.h"
#include "support/fake_clock.h"
#include "support/scripted_messages.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

namespace varnet {
namespace {

using testing::hexBytes;
using testing::SimControlUnit;
using Commands = std::vector<std::pair<int, int>>;

class InstrumentsOnTheBus : public testing::GaugeBusTest {
protected:
    void SetUp() override
    {
        GaugeBusTest::SetUp();
        ASSERT_TRUE(unit_.ready());
        LoadConstantTables(Cfg);
        Cfg.ComPortGauges = 4;
        OpenComPorts();
    }
    void TearDown() override
    {
        CloseOpenDialogs();
        GaugeBusTest::TearDown();
        Session = SessionState{};
    }
    template <typename T>
    T& open(int id, int type)
    {
        Cfg.GaugeRecType[id] = Byte(type);
        Session.GaugeRecBusStatus[id] = 2;
        CurrentGaugeID = Integer(id);
        CurrentGaugeTypeName = "On the bus";
        OpenDialog<T>();
        return DefaultForm<T>::get();
    }
    static void click(QWidget& w, const char* name) { w.findChild<QAbstractButton*>(name)->click(); }
    static QString text(QWidget& w, const char* name) { return w.findChild<QLineEdit*>(name)->text(); }
    // (command, value) of every frame, the value read back as the gauge does.
    Commands received() const
    {
        Commands out;
        for (const QByteArray& f : unit_.frames())
            out.emplace_back(quint8(f.at(2)) >> 4, SimControlUnit::frameMagnitude(f) * (f.at(2) & 4 ? -1 : 1));
        return out;
    }

    SimControlUnit unit_{4};
    testing::ScriptedMessages messages_;
};

TEST_F(InstrumentsOnTheBus, HeadingIndicatorSendsItsKnobWordsAndReadsDiskAndBug)
{
    Cfg.GaugeRecPlate2[21] = 31;
    unit_.setStatusReply(21, SimControlUnit::reply(21, 105, QByteArray::fromHex("0000000438000870")));
    ConfigDG& d = open<ConfigDG>(21, 105);
    ASSERT_TRUE(unit_.waitForFrames(2));
    EXPECT_EQ(unit_.frames(), (QList<QByteArray>{hexBytes("00 15 98 09 02 FF"), hexBytes("00 15 98 29 02 FF")}));
    click(d, "cmdReadStatus");
    EXPECT_EQ(text(d, "boxCurrentHeading"), "090.0");
    EXPECT_EQ(text(d, "boxCurrentBug"), "180.0");
}

TEST_F(InstrumentsOnTheBus, ADFIndicatorPollsTheCompassUntilCancel)
{
    unit_.setStatusReply(30, SimControlUnit::reply(30, 108, QByteArray::fromHex("000000032C")));
    ConfigADF& d = open<ConfigADF>(30, 108);
    d.Form_Activate();
    ASSERT_TRUE(waitUntil([&] { return text(d, "boxCourse") == "90"; }, 2000));
    // The shared reply stays as it came; the dialog keeps what it showed.
    EXPECT_EQ(GaugeReply, SimControlUnit::reply(30, 108, QByteArray::fromHex("000000032C")));
    click(d, "CmdClose");
    waitMs(60);
    unit_.clear();
    waitMs(200);
    EXPECT_TRUE(unit_.frames().isEmpty());
}

TEST_F(InstrumentsOnTheBus, AirlinerClockSetsDateAndTimeAndReadsThemBack)
{
    testing::FakeClock clock(QDateTime(QDate(2026, 12, 5), QTime(10, 0, 0)));
    unit_.setStatusReply(23, SimControlUnit::reply(23, 104, QByteArray::fromHex("0000001A0C05000A000000000100")));
    ConfigBoeingClock& d = open<ConfigBoeingClock>(23, 104);
    ASSERT_TRUE(unit_.waitForFrames(1));  // the seconds needle's source
    unit_.clear();
    click(d, "cmdSetTime");
    ASSERT_TRUE(unit_.waitForFrames(3));
    EXPECT_EQ(received(), (Commands{{15, 0}, {5, 36000}, {4, 27397}}));
    click(d, "CmdReadAirPress");
    EXPECT_EQ(text(d, "boxdate"), "2026-12-5");
    EXPECT_EQ(text(d, "boxRealTime"), "10:0:0");
    EXPECT_EQ(text(d, "boxElapsedTime"), "0:1:0");
}

TEST_F(InstrumentsOnTheBus, LightClockMovesThroughTheSharedAddressChange)
{
    testing::FakeClock clock(QDateTime(QDate(2026, 3, 1), QTime(18, 12, 16)));
    ConfigCessnaClock& d = open<ConfigCessnaClock>(17, 109);
    click(d, "CmdSetUT");
    auto* ids = d.findChild<QComboBox*>("NewGaugeID");
    ids->setCurrentIndex(ids->findText("40"));
    click(d, "CmdApply");
    ASSERT_TRUE(unit_.waitForFrames(2));
    waitMs(20);
    EXPECT_EQ(received().front(), (std::pair{5, -1}));
    EXPECT_TRUE(unit_.received().endsWith(hexBytes("00 11 2C 28 AA FF 20")));
    EXPECT_EQ(Cfg.GaugeRecType[40], 109);
    EXPECT_EQ(Session.GaugeRecBusStatus[40], 2);
}

} // namespace
} // namespace varnet
