// The heading indicator's preference and knob words, its calibration
// positions, test sliders and read-back.

#include "dialog_fixture.h"
#include "gauges/headingindicator.h"
#include "simcontrolunit/simcontrolunit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;

class HeadingIndicator : public testing::DialogTest {
protected:
    ConfigDG& open(int preferences, int model = 3, int version = 2)
    {
        gauge(21, 105, model, version);
        Cfg.GaugeRecPlate2[21] = Integer(preferences);
        OpenDialog<ConfigDG>();
        return DefaultForm<ConfigDG>::get();
    }
    static bool checked(ConfigDG& d, const char* name) { return child<QAbstractButton>(d, name)->isChecked(); }
    static QString text(ConfigDG& d, const char* name) { return child<QLabel>(d, name)->text(); }
};

TEST_F(HeadingIndicator, OpeningAStoredWordChecksItsPreferencesAndSendsTheKnobWords)
{
    ConfigDG& d = open(31);
    EXPECT_EQ(link_.commands(), (Commands{{9, 8}, {9, 40}}));
    for (const char* name : {"UseSwitch1", "UseSwitch2", "CheckUseGyroDrift", "OptionShowCompass",
                             "CheckReversCompassDirection"})
        EXPECT_TRUE(checked(d, name)) << name;
    EXPECT_EQ(text(d, "LabelHeadingLeft"), "W");
    EXPECT_EQ(text(d, "LabelHeadingRight"), "E");
    EXPECT_EQ(Cfg.GaugeRecPlate2[21], 31);
    EXPECT_FALSE(child<QCheckBox>(d, "CheckUseGyroDrift")->isHidden());
    EXPECT_FALSE(child<QGroupBox>(d, "FrameBacklightMode")->isHidden());
    click(d, "CmdClose");

    link_.clear();
    ConfigDG& plain = open(0, 2, 1);
    EXPECT_TRUE(link_.sent.empty());
    EXPECT_EQ(text(plain, "LabelHeadingLeft"), "E");
    EXPECT_TRUE(child<QCheckBox>(plain, "CheckUseGyroDrift")->isHidden());
    EXPECT_TRUE(child<QGroupBox>(plain, "FrameBacklightMode")->isHidden());

    // A knob box writes its bit at once; Cancel keeps it.
    Cfg.GaugeRecPlate2[21] = 20;
    click(plain, "UseSwitch1");
    click(plain, "CmdClose");
    EXPECT_EQ(Cfg.GaugeRecPlate2[21], 21);
    EXPECT_EQ(link_.commands(), (Commands{{9, 8}}));
}

TEST_F(HeadingIndicator, ApplyWritesTheFixedFunctionAtItsOwnGaugeAndSendsTheKnobWord)
{
    ConfigDG& d = open(0);
    Cfg.GaugeRecCategory2[21] = 4;
    click(d, "OptionShowCompass");
    click(d, "CheckReversCompassDirection");
    click(d, "CheckUseHeadingBug");
    // Activated again after the screen opened another gauge: still gauge 21.
    gauge(22, 105);
    d.Form_Activate();
    click(d, "CmdApply");
    const GaugeRecord r = GaugeRecord::Read(Cfg, 21);
    EXPECT_EQ(r.type, 105);
    EXPECT_EQ(r.plate2, 24);
    EXPECT_EQ(r.category1, 8);
    EXPECT_EQ(r.function1, 7);
    EXPECT_EQ(r.function2, 11);
    EXPECT_EQ(r.seqNr1, 1);
    EXPECT_EQ(r.seqNr2, 1);
    EXPECT_EQ(r.category2, 4);
    EXPECT_EQ(Cfg.GaugeRecPlate2[22], 0);
    EXPECT_EQ(link_.sent, (std::vector<testing::SentCommand>{{21, 9, 0}}));
    EXPECT_FALSE(DefaultForm<ConfigDG>::loaded());
}

TEST_F(HeadingIndicator, CalibrationPositionsWrapAndTestSlidersFollowTheDirection)
{
    ConfigDG& d = open(0);
    click(d, "ResetCalibration");
    click(d, "DR1");
    click(d, "DR1");
    click(d, "SetDisk");
    click(d, "BL10");
    click(d, "SetBug");
    click(d, "cmdRecalibrate");
    click(d, "CmdClose");
    ConfigDG& fresh = open(0);  // positions start at 0 again
    click(fresh, "BR1");
    click(fresh, "SetBug");
    click(fresh, "DL10");
    click(fresh, "SetDisk");
    child<QSlider>(fresh, "SliderValue1")->setValue(90);
    click(fresh, "CheckReversCompassDirection");
    child<QSlider>(fresh, "SliderValue1")->setValue(0);
    child<QSlider>(fresh, "SliderValue2")->setValue(30);
    child<QSlider>(fresh, "SliderSpeed")->setValue(0);
    EXPECT_EQ(child<QLineEdit>(fresh, "BoxtestValue1")->text(), "0");
    EXPECT_EQ(link_.commands(),
              (Commands{{14, 0}, {10, 5}, {10, 5}, {12, 1090}, {11, 50}, {13, 1130}, {1, 0}, {11, -2}, {13, 4319},
                        {10, -50}, {12, 4319}, {5, 1080}, {5, 4320}, {6, 360}, {3, 4240}}));
}

TEST_F(HeadingIndicator, ReadShowsDiskAndBugInDegrees)
{
    ConfigDG& d = open(0);
    link_.replies[21] = testing::SimControlUnit::reply(21, 105, QByteArray::fromHex("000000043800 10DF"));
    click(d, "cmdReadStatus");
    EXPECT_EQ(child<QLineEdit>(d, "boxCurrentHeading")->text(), "090.0");
    EXPECT_EQ(child<QLineEdit>(d, "boxCurrentBug")->text(), "359.9");
    EXPECT_EQ(HeadingDegreesText(3), "000.3");
}

} // namespace
} // namespace varnet
