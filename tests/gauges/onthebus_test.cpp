// The dialogs on the real send path: frames as the control unit behind a
// pseudo-terminal receives them, and replies read back from it.

#include "gauges/onthebus_fixture.h"
#include "gauges/singleneedle.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QSlider>

namespace varnet {
namespace {

using testing::hexBytes;
using testing::SimControlUnit;

class OnTheBus : public testing::DialogOnTheBusTest {
protected:
    void SetUp() override
    {
        DialogOnTheBusTest::SetUp();
        Cfg.GaugeRecType[12] = 1;
        Cfg.GaugeRecModel[12] = 2;
        Cfg.GaugeRecVersion[12] = 3;
        CurrentGaugeID = 12;
        CurrentGaugeTypeName = "Small gauge; Single Needle ";
    }
    ConfigGaugeSN& dialog()
    {
        OpenDialog<ConfigGaugeSN>(&ConfigGaugeSN::GaugeSNInitialize);
        return DefaultForm<ConfigGaugeSN>::get();
    }
    static void newID(QWidget& w, const char* id)
    {
        auto* c = w.findChild<QComboBox*>("NewGaugeID");
        c->setCurrentIndex(c->findText(id));
    }
};

TEST_F(OnTheBus, LightAndBacklightWordsReachTheGauge)
{
    ConfigGaugeSN& d = dialog();
    click(d, "LightOn");
    click(d, "LightOff");
    click(d, "CmdSetBacklight");
    d.findChild<QSlider*>("SliderBacklight")->setValue(9);
    d.findChild<QCheckBox*>("CheckSetDefault")->setChecked(true);
    click(d, "OptionAlwaysOn");
    click(d, "CmdSetBacklight");
    ASSERT_TRUE(unit_.waitForFrames(4));
    EXPECT_EQ(unit_.frames(), (QList<QByteArray>{hexBytes("00 0C 88 41 02 FF"), hexBytes("00 0C 89 0F 02 FF"),
                                                  hexBytes("00 0C 88 51 02 FF"), hexBytes("00 0C 89 79 03 FF")}));
}

TEST_F(OnTheBus, ApplyMovesAConnectedGaugeAndRefusesAnUnconnectedOne)
{
    Session.GaugeRecBusStatus[12] = 2;
    Cfg.GaugeRecCategory1[12] = 1;
    Cfg.GaugeRecFunction1[12] = 60;
    Cfg.FunctionCategory[60] = 1;
    Cfg.FunctionSignalType[60] = 4;
    Cfg.PlateCount = 1;
    Cfg.AddPlate();
    Cfg.PlateValue[0][0] = 1;

    ConfigGaugeSN& moved = dialog();
    newID(moved, "40");
    click(moved, "CmdApply");
    ASSERT_TRUE(unit_.waitForFrames(1));
    waitMs(20);
    EXPECT_EQ(unit_.received(), hexBytes("00 0C 2C 28 AA FF 20"));
    EXPECT_EQ(Cfg.GaugeRecType[40], 1);
    EXPECT_EQ(Cfg.GaugeRecModel[40], 2);
    EXPECT_EQ(Cfg.GaugeRecType[12], 0);
    EXPECT_EQ(Session.GaugeRecBusStatus[12], 1);
    EXPECT_EQ(Session.GaugeRecBusStatus[40], 2);

    unit_.clear();
    CurrentGaugeID = 40;
    Session.GaugeRecBusStatus[40] = 1;
    ConfigGaugeSN& unconnected = dialog();
    newID(unconnected, "41");
    messages_.expectOk(kNotConnected);
    click(unconnected, "CmdApply");
    waitMs(40);
    EXPECT_TRUE(unit_.received().isEmpty());
    EXPECT_EQ(Cfg.GaugeRecType[40], 1);
    EXPECT_EQ(Cfg.GaugeRecType[41], 0);
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
    EXPECT_FALSE(dialog().context().Read());
    unit_.answer = nullptr;
    const std::optional<QByteArray> reply = dialog().context().Read();
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, SimControlUnit::reply(12, 1));
}

} // namespace
} // namespace varnet
