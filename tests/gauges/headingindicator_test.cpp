// The heading indicator's preference and knob words, its calibration
// positions, test sliders and read-back.

#include "dialog_fixture.h"
#include "gauges/headingindicator.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

#include <tuple>

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
    static bool hidden(ConfigDG& d, const char* name) { return child<QWidget>(d, name)->isHidden(); }
    static QString directions(ConfigDG& d)
    {
        return child<QLabel>(d, "LabelHeadingLeft")->text() + child<QLabel>(d, "LabelHeadingRight")->text();
    }
};

TEST_F(HeadingIndicator, AStoredWordChecksItsPreferencesAndTheKnobBoxesStoreAtOnce)
{
    ConfigDG& d = open(31);
    EXPECT_EQ(link_.commands(), (Commands{{9, 8}, {9, 40}}));
    for (const char* name : {"UseSwitch1", "UseSwitch2", "CheckUseGyroDrift", "OptionShowCompass",
                             "CheckReversCompassDirection"})
        EXPECT_TRUE(child<QAbstractButton>(d, name)->isChecked()) << name;
    EXPECT_EQ(directions(d), "WE");
    EXPECT_EQ(Cfg.GaugeRecPlate2[21], 31);
    EXPECT_FALSE(hidden(d, "CheckUseGyroDrift") || hidden(d, "FrameBacklightMode"));
    click(d, "CmdClose");

    link_.clear();
    ConfigDG& plain = open(0, 2, 1);
    EXPECT_TRUE(link_.sent.empty());
    EXPECT_EQ(directions(plain), "EW");
    EXPECT_TRUE(hidden(plain, "CheckUseGyroDrift") && hidden(plain, "FrameBacklightMode"));
    Cfg.GaugeRecPlate2[21] = 20;
    click(plain, "UseSwitch1");
    click(plain, "CmdClose");
    EXPECT_EQ(Cfg.GaugeRecPlate2[21], 21);
    EXPECT_EQ(link_.commands(), (Commands{{9, 8}}));
}

TEST_F(HeadingIndicator, ApplyWritesTheFixedFunctionAtItsOwnGaugeAfterAnyActivation)
{
    ConfigDG& d = open(0);
    Cfg.GaugeRecCategory2[21] = 4;
    for (const char* name : {"OptionShowCompass", "CheckReversCompassDirection", "CheckUseHeadingBug"})
        click(d, name);
    gauge(22, 105);  // the screen opened another gauge meanwhile
    d.Form_Activate();
    click(d, "CmdApply");
    const GaugeRecord r = GaugeRecord::Read(Cfg, 21);
    EXPECT_EQ(std::tuple(r.type, r.category1, r.function1, r.seqNr1, r.category2, r.function2, r.seqNr2, r.plate2),
              std::tuple(105, 8, 7, 1, 4, 11, 1, 24));
    EXPECT_EQ(Cfg.GaugeRecPlate2[22], 0);
    EXPECT_EQ(link_.sent, (std::vector<testing::SentCommand>{{21, 9, 0}}));
    EXPECT_FALSE(DefaultForm<ConfigDG>::loaded());
}

TEST_F(HeadingIndicator, CalibrationWrapsAndTestSlidersFollowTheDirection)
{
    ConfigDG& d = open(0);
    for (const char* name : {"BR1", "SetBug", "DL10", "SetDisk", "ResetCalibration", "DR1", "DR1", "SetDisk", "BL10",
                             "SetBug", "cmdRecalibrate"})
        click(d, name);
    child<QSlider>(d, "SliderValue1")->setValue(90);
    click(d, "CheckReversCompassDirection");
    child<QSlider>(d, "SliderValue1")->setValue(0);
    child<QSlider>(d, "SliderValue2")->setValue(30);
    child<QSlider>(d, "SliderSpeed")->setValue(0);
    EXPECT_EQ(link_.commands(), (Commands{{11, -2}, {13, 4319}, {10, -50}, {12, 4319}, {14, 0}, {10, 5}, {10, 5},
                                          {12, 1090}, {11, 50}, {13, 1130}, {1, 0}, {5, 1080}, {5, 4320}, {6, 360},
                                          {3, 4240}}));
    EXPECT_EQ(HeadingDegreesText(4319), "359.9");
}

} // namespace
} // namespace varnet
