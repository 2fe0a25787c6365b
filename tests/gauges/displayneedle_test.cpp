// The display gauge's test display (value, text and the run's word), its
// combined light and display command, and what its Apply stores.

#include "bus/needles.h"
#include "dialog_fixture.h"
#include "gauges/displayneedle.h"
#include "gauges/needlelists.h"

#include <QGroupBox>
#include <QRadioButton>

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;

TEST(DisplayTest, RangeScaledByTheNeedleGivesTheDisplaysWordAndText)
{
    const struct {
        int position;
        double minimum, maximum;
        int tenths;
        int word;
        const char* text;
    } cases[] = {
        {944, 0, 130, 1300, 0x130B, "130"}, {472, 0, 130, 650, 0x65A0, "65.0"}, {7, 0, 130, 10, 0x01A0, "01.0"},
        {944, 0, 100, 1000, 0x100B, "100"}, {944, 20, 120, 1000, 0x100B, "100"},  // the minimum only narrows
        {944, 0, 999, 9990, 0x999B, "999"}, {944, 200, 100, 0, 0x00A0, "00.0"},   // minimum above maximum
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.position);
        const int tenths = DisplayTestTenths(c.position, c.minimum, c.maximum);
        EXPECT_EQ(tenths, c.tenths);
        EXPECT_EQ(DisplayWord(Single(tenths) / 10), c.word);
        EXPECT_EQ(DisplayTestText(tenths), c.text);
    }
    EXPECT_EQ(LimitedRangeText("1500"), "999");
    EXPECT_EQ(LimitedRangeText("-5"), "0");
    EXPECT_EQ(LimitedRangeText("abc"), std::nullopt);
}

class DisplayGauge : public testing::DialogTest {
protected:
    ConfigGaugeSD& open(int model)
    {
        Cfg.FunctionNames[40] = "RPM";
        Cfg.FunctionCategory[40] = 1;
        Cfg.FunctionSignalType[40] = kSignalGauge;
        const int p = Cfg.AddPlate();
        Cfg.PlateValue[p][0] = 1;
        Cfg.PlateCount = Integer(p + 1);
        gauge(21, 2, model);
        Cfg.GaugeRecCategory1[21] = 1;
        Cfg.GaugeRecFunction1[21] = 40;
        Cfg.GaugeRecSeqNr1[21] = 1;
        OpenDialog<ConfigGaugeSD>(&ConfigGaugeSD::GaugeSDinitialize);
        return DefaultForm<ConfigGaugeSD>::get();
    }
};

TEST_F(DisplayGauge, TestSliderLightsAndDisplayAndRangeBoxes)
{
    ConfigGaugeSD& d = open(2);
    EXPECT_TRUE(link_.sent.empty());  // light off, display on: nothing sent on opening
    EXPECT_TRUE(child<QRadioButton>(d, "LightOff")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(d, "DisplayOn")->isChecked());
    EXPECT_TRUE(child<QGroupBox>(d, "FrameBacklightMode")->isHidden());

    auto* needle = child<QSlider>(d, "SliderValue1");
    needle->setValue(944);
    EXPECT_EQ(child<QLineEdit>(d, "ActValDisp")->text(), "130");
    // A drag moves the needle; the display follows when it settles.
    needle->setSliderDown(true);
    needle->setValue(100);
    needle->setSliderDown(false);
    click(d, "cmdCentre");
    EXPECT_EQ(child<QLineEdit>(d, "BoxtestValue1")->text(), "472");

    click(d, "DisplayOff");
    click(d, "LightOn");
    click(d, "DisplayOn");
    click(d, "LightOff");
    click(d, "Option4");
    child<QSlider>(d, "SliderSpeed")->setValue(100);
    EXPECT_EQ(link_.commands(), (Commands{{5, 944}, {6, 0x130B}, {5, 100}, {5, 100}, {6, 0x13A8}, {5, 472},
                                          {6, 0x65A0}, {8, 15}, {8, 64}, {8, 192}, {8, 143}, {4, 1}, {3, 300}}));

    // The range boxes keep to 0..999; a minimum above the maximum shows 0.
    auto* minimum = child<QLineEdit>(d, "MinValDisp");
    child<QLineEdit>(d, "MaxValDisp")->setText("1500");
    EXPECT_EQ(child<QLineEdit>(d, "MaxValDisp")->text(), "999");
    minimum->setText("-5");
    EXPECT_EQ(minimum->text(), "0");
    child<QLineEdit>(d, "MaxValDisp")->setText("100");
    minimum->setText("500");
    link_.clear();
    needle->setValue(900);
    EXPECT_EQ(link_.commands(), (Commands{{5, 900}, {6, 0x00A0}}));
}

TEST_F(DisplayGauge, ApplyStoresTheAssignmentWithTheGaugesIdentity)
{
    ConfigGaugeSD& d = open(3);
    EXPECT_FALSE(child<QGroupBox>(d, "FrameBacklightMode")->isHidden());
    choose(d, "ComboPlate", "000.  ");
    choose(d, "ComboSeqNr", "4");
    click(d, "CmdApply");
    const GaugeRecord r = GaugeRecord::Read(Cfg, 21);
    EXPECT_EQ((std::vector<int>{r.type, r.model, r.category1, r.function1, r.seqNr1, r.plate1}),
              (std::vector<int>{2, 3, 1, 40, 4, 0}));
    EXPECT_FALSE(DefaultForm<ConfigGaugeSD>::loaded());
}

} // namespace
} // namespace varnet
