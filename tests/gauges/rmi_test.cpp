// The radio magnetic indicator's option and source words, the commands its
// opening sends, the calibration counter of card and needles, its test
// sliders and DME display words, and the needle sources read back.

#include "dialog_fixture.h"
#include "gauges/bcdwords.h"
#include "gauges/rmi.h"

#include <QRadioButton>

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;

class Rmi : public testing::DialogTest {
protected:
    ConfigRMI& open(int options = 0, int sources = 0)
    {
        gauge(70, 130);
        Cfg.GaugeRecPlate1[70] = Integer(options);
        Cfg.GaugeRecPlate2[70] = Integer(sources);
        OpenDialog<ConfigRMI>();
        return DefaultForm<ConfigRMI>::get();
    }
    static bool checked(QWidget& d, std::initializer_list<const char*> options)
    {
        return std::all_of(options.begin(), options.end(),
                           [&](const char* o) { return child<QRadioButton>(d, o)->isChecked(); });
    }
    static bool hidden(QWidget& d, const char* name) { return child<QWidget>(d, name)->isHidden(); }
};

TEST_F(Rmi, OpeningSelectsTheStoredWordsAndSendsOnlyTheDmeChoices)
{
    ConfigRMI& plain = open();
    EXPECT_EQ(link_.commands(), (Commands{{13, 0x500}}));
    EXPECT_TRUE(checked(plain, {"OptionHDG", "OptionNoDME", "OptionShowIfADFNo", "OptionVOR1Yel", "OptionVOR1Grn"}));
    EXPECT_TRUE(hidden(plain, "FrameDME1") && hidden(plain, "FrameDME2"));
    EXPECT_EQ(child<QLineEdit>(plain, "Text2")->text(), "Radio Magnetic Indicator");
    click(plain, "cmdClose");

    link_.clear();
    ConfigRMI& full = open(7, 3);
    EXPECT_EQ(link_.commands(), (Commands{{13, 0x301}, {13, 0x400}}));
    EXPECT_TRUE(
        checked(full, {"OptionCompass", "OptionHasDME", "OptionShowIfADFYes", "OptionVOR2Yel", "OptionVOR2Grn"}));
    EXPECT_FALSE(hidden(full, "FrameDME1") || hidden(full, "FrameDME2"));
    click(full, "OptionShowIfADFNo");
    click(full, "OptionVOR1Grn");
    click(full, "Command6");
    const GaugeRecord r = GaugeRecord::Read(Cfg, 70);
    EXPECT_EQ((std::vector<int>{r.type, r.category1, r.function1, r.seqNr1, r.plate1, r.function2, r.seqNr2, r.plate2}),
              (std::vector<int>{130, 8, 39, 0, 5, 31, 0, 1}));
}

TEST_F(Rmi, CalibrationCountsNudgesPerPartAndWrapsAtItsTurn)
{
    ConfigRMI& d = open();
    link_.clear();
    for (const char* control : {"cmdResetCalibration", "NL10", "NL10", "cmdSetCalibration", "cmdResetCalibration", "NR1"})
        click(d, control);
    EXPECT_TRUE(hidden(d, "NR10"));
    EXPECT_EQ(d.calibration().position, kCompassCardTurn);
    click(d, "NL1");
    EXPECT_EQ(d.calibration().position, 0);
    click(d, "OptionCalibrateGreenNeedle");
    click(d, "cmdResetCalibration");
    EXPECT_TRUE(hidden(d, "NL10") && !hidden(d, "NR10"));
    click(d, "NL1");
    EXPECT_EQ(d.calibration().position, kRmiNeedleTurn);
    click(d, "NR1");
    EXPECT_EQ(d.calibration().position, 0);
    EXPECT_EQ(link_.commands(), (Commands{{10, 1}, {13, 0}, {11, 100}, {11, 100}, {12, 200}, {10, 0}, {10, 1}, {13, 0},
                                          {11, -10}, {11, 10}, {10, 2}, {13, 0}, {11, -10}, {11, 10}}));
}

TEST_F(Rmi, TestSlidersLampsDmeDisplaysAndNeedleSources)
{
    ConfigRMI& d = open(1);
    link_.clear();
    const std::pair<const char*, int> moves[] = {{"SliderValue1", 90},       {"SliderValue1", 359},
                                                 {"SliderGreenNeedle", 90},  {"SliderYellowNeedle", 90},
                                                 {"SliderCompassSpeed", 0},  {"SliderNeedlesSpeed", 100},
                                                 {"SliderDMEIntensity", 9}};
    for (const auto& [name, position] : moves)
        child<QSlider>(d, name)->setValue(position);
    for (const char* control : {"CmdSetIntensityNight", "LightOn", "OptionDisplaysOff", "LightOff", "cdSetFlag",
                                "cmdWriteLeftDME", "CmdWriteRightDME", "CheckShowMERight", "CmdWriteRightDME"})
        click(d, control);
    EXPECT_EQ(child<QLineEdit>(d, "boxYellowValue")->text(), "90");
    EXPECT_EQ(link_.commands(), (Commands{{5, 1152}, {5, 4595}, {6, 1080}, {6, 0x4438}, {3, 4240}, {4, 240},
                                          {13, 0x209}, {8, 0xC0}, {8, 0x40}, {8, 15}, {14, 1}, {15, 0x2123},
                                          {15, 0x6456}, {15, 0x4AAA}}));
    link_.clear();
    child<QLineEdit>(d, "BoxLeftDME")->setText("12345");
    messages_.expectOk(DisplayValueRule(QStringLiteral("left DME value")));
    click(d, "cmdWriteLeftDME");
    EXPECT_TRUE(link_.sent.empty());

    QByteArray reply(25, '\0');
    reply[1] = char(70);
    reply[7] = char(1);
    reply[24] = char(0xFF);
    link_.replies[70] = reply;
    click(d, "CmdReadNeedleSelection");
    EXPECT_EQ(child<QLineEdit>(d, "boxGRNselection")->text(), "ADF");
    EXPECT_EQ(child<QLineEdit>(d, "boxYellowSelection")->text(), "VOR");
}

} // namespace
} // namespace varnet
