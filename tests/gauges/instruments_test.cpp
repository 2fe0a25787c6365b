// The instrument dialogs against a recording link: ADF and heading
// indicators, both altimeters, the attitude, VOR and DME indicators, the
// radio magnetic indicator and the bus engine cluster.

#include "bus/gaugeframes.h"
#include "dialog_fixture.h"
#include "gauges/adfindicator.h"
#include "gauges/analoguealtimeter.h"
#include "gauges/attitude.h"
#include "gauges/bcdwords.h"
#include "gauges/digitalaltimeter.h"
#include "gauges/dmeindicator.h"
#include "gauges/enginecluster.h"
#include "gauges/headingindicator.h"
#include "gauges/rmi.h"
#include "gauges/vorindicator.h"
#include "platform/wait.h"

#include <QCheckBox>
#include <QLabel>
#include <QTimer>

#include <tuple>

namespace varnet {
namespace {

using testing::Commands;
using Fields = std::vector<int>;

class Instruments : public testing::DialogTest {
protected:
    // Each of `typed` in `box` refused by `rule` on each of `buttons`, the box kept.
    void refused(QWidget& d, const char* box, std::initializer_list<const char*> typed, const QString& rule,
                 std::initializer_list<const char*> buttons)
    {
        for (const char* bad : typed) {
            type(d, box, QString::fromLatin1(bad));
            for (const char* button : buttons) {
                messages_.expectOk(rule);
                click(d, button);
            }
            EXPECT_EQ(text(d, box), bad);
        }
    }
    // With `allSet`: three digits, slave and the knob through the simulator.
    static ConfigGaugeAD& digitalAltimeter(int model, int version, bool allSet)
    {
        std::tie(Cfg.GaugeRecPlate1[12], Cfg.GaugeRecFunction2[12], Cfg.GaugeRecSeqNr2[12]) =
            allSet ? std::tuple(1, -1, 1) : std::tuple(0, 0, 0);
        return show<ConfigGaugeAD>(12, 101, model, version);
    }
    static ConfigAnalogueAltimeter& analogueAltimeter(int unit = 1, int role = 0, int knobViaSim = 0, bool poll = false)
    {
        std::tie(Cfg.GaugeRecFunction2[41], Cfg.GaugeRecSeqNr2[41]) = std::tuple(role, knobViaSim);
        auto& d = show<ConfigAnalogueAltimeter>(41, 101, unit, 5);
        if (!poll)
            d.TimerScan().stop();
        return d;
    }
    ConfigGaugeAI& attitude(int model, int busStatus = 2)
    {
        auto& d = show<ConfigGaugeAI>(12, 103, model, 1, busStatus);
        d.Form_Activate();
        link_.clear();
        return d;
    }
    static ConfigDME& dme(int dmeNumber = 1, int units = 0)
    {
        std::tie(Cfg.GaugeRecSeqNr1[60], Cfg.GaugeRecPlate1[60]) = std::tuple(dmeNumber, units);
        return show<ConfigDME>(60, 113, 2, 3, 1);
    }
    static ConfigRMI& rmi(int options = 0, int sources = 0)
    {
        std::tie(Cfg.GaugeRecPlate1[70], Cfg.GaugeRecPlate2[70]) = std::tuple(options, sources);
        return show<ConfigRMI>(70, 130);
    }
    static bool allChecked(QWidget& d, std::initializer_list<const char*> options)
    {
        return std::all_of(options.begin(), options.end(), [&](const char* o) { return checked(d, o); });
    }
    static QString directions(QWidget& d)
    {
        return child<QLabel>(d, "LabelHeadingLeft")->text() + child<QLabel>(d, "LabelHeadingRight")->text();
    }
};

TEST_F(Instruments, ADFPointerCalibrationWrapsARefusedDeltaSendsNothingAndApplyWritesFunction32)
{
    auto& d = show<ConfigADF>(30, 108);
    act(d, "cmdResetCalibrationPointer NR1 NR1 NR1");
    EXPECT_EQ(text(d, "Needledelta"), "4309");
    act(d, "Needledelta=4300 cmdNL10");
    EXPECT_EQ(text(d, "Needledelta"), "0");
    act(d, "Needledelta=125 cmdSetPointerCalibration cmdTestPointerCalibration cmdCalibrateCompass SliderValue1=90 "
           "SliderSpeed=0");
    // The box follows the slider, and its change sends once more.
    EXPECT_EQ(link_.commands(), (Commands{{9, 0}, {1, 0}, {6, -5}, {6, -5}, {6, -5}, {6, 50}, {9, 125}, {1, 0}, {11, 1},
                                          {5, 1079}, {5, 1079}, {3, 310}}));
    link_.clear();
    refused(d, "Needledelta", {"12x", "4320"}, kPointerDeltaRule, {"cmdSetPointerCalibration", "NL1"});
    EXPECT_TRUE(link_.sent.empty());
    EXPECT_EQ(std::tuple(CompassCourse(1), CompassCourse(2)), std::tuple(0, 359));

    // Apply clears both assignments but the second plate.
    std::tie(Cfg.GaugeRecPlate1[30], Cfg.GaugeRecFunction2[30], Cfg.GaugeRecPlate2[30]) = std::tuple(7, 5, 9);
    click(d, "CmdApply");
    EXPECT_EQ(fields(30), (Fields{108, 1, 1, 0, 32, 0, 0, 0, 0, 0, 9}));
}

TEST_F(Instruments, HeadingStoredWordChecksItsPreferencesAndTheKnobBoxesStoreAtOnce)
{
    Cfg.GaugeRecPlate2[21] = 31;
    auto& d = show<ConfigDG>(21, 105, 3, 2);
    EXPECT_EQ(link_.commands(), (Commands{{9, 8}, {9, 40}}));
    EXPECT_TRUE(allChecked(d, {"UseSwitch1", "UseSwitch2", "CheckUseGyroDrift", "OptionShowCompass",
                               "CheckReversCompassDirection"}));
    EXPECT_EQ(std::tuple(directions(d), Cfg.GaugeRecPlate2[21]), std::tuple("WE", 31));
    EXPECT_FALSE(hidden(d, "CheckUseGyroDrift") || hidden(d, "FrameBacklightMode"));
    click(d, "CmdClose");

    link_.clear();
    Cfg.GaugeRecPlate2[21] = 0;
    auto& plain = show<ConfigDG>(21, 105, 2, 1);
    EXPECT_TRUE(link_.sent.empty());
    EXPECT_EQ(directions(plain), "EW");
    EXPECT_TRUE(hidden(plain, "CheckUseGyroDrift") && hidden(plain, "FrameBacklightMode"));
    Cfg.GaugeRecPlate2[21] = 20;
    act(plain, "UseSwitch1 CmdClose");
    EXPECT_EQ(Cfg.GaugeRecPlate2[21], 21);
    EXPECT_EQ(link_.commands(), (Commands{{9, 8}}));
}

TEST_F(Instruments, HeadingApplyWritesTheFixedFunctionAtItsOwnGaugeAfterAnyActivation)
{
    auto& d = show<ConfigDG>(21, 105, 3, 2);
    Cfg.GaugeRecCategory2[21] = 4;
    act(d, "OptionShowCompass CheckReversCompassDirection CheckUseHeadingBug");
    gauge(22, 105);  // the screen opened another gauge meanwhile
    d.Form_Activate();
    click(d, "CmdApply");
    EXPECT_EQ(fields(21), (Fields{105, 3, 2, 8, 7, 1, 0, 4, 11, 1, 24}));
    EXPECT_EQ(Cfg.GaugeRecPlate2[22], 0);
    EXPECT_EQ(link_.sent, (std::vector<testing::SentCommand>{{21, 9, 0}}));
    EXPECT_FALSE(DefaultForm<ConfigDG>::loaded());
}

TEST_F(Instruments, HeadingCalibrationWrapsAndTestSlidersFollowTheDirection)
{
    act(show<ConfigDG>(21, 105, 3, 2), "BR1 SetBug DL10 SetDisk ResetCalibration DR1 DR1 SetDisk BL10 SetBug "
                                       "cmdRecalibrate SliderValue1=90 CheckReversCompassDirection SliderValue1=0 "
                                       "SliderValue2=30 SliderSpeed=0");
    EXPECT_EQ(link_.commands(), (Commands{{11, -2}, {13, 4319}, {10, -50}, {12, 4319}, {14, 0}, {10, 5}, {10, 5},
                                          {12, 1090}, {11, 50}, {13, 1130}, {1, 0}, {5, 1080}, {5, 4320}, {6, 360},
                                          {3, 4240}}));
    EXPECT_EQ(HeadingDegreesText(4319), "359.9");
}

TEST_F(Instruments, AnalogueAltimeterStoredSettingsTheirWordsTestSlidersAndApply)
{
    auto& d = analogueAltimeter(2, -1, 1);
    EXPECT_TRUE(checked(d, "Slave"));
    EXPECT_EQ(text(d, "BoxGaugename"), "Analogue Altimeter (range -2000  to +40000 feet)");
    // The unit is written at once; the knob bit of a unit choice counts
    // from version 4.
    click(d, "Option1");
    EXPECT_EQ(Cfg.GaugeRecModel[41], 1);
    Cfg.GaugeRecVersion[41] = 3;
    act(d, "Option2 PressEffectsAlt CheckBlockReset");
    Cfg.GaugeRecVersion[41] = 5;
    act(d, "SliderValue1=-2000 CmdPlus cmdsetzero SliderValue1=40000 CmdPlus SliderSpeed=5 SliderSpeed=15 "
           "SliderSpeed=100 Master Command6");
    EXPECT_EQ(link_.commands(), (Commands{{5, 1}, {5, 17 + 256}, {5, 256}, {5, 1}, {5, 17}, {13, 1}, {4, -2000},
                                          {4, -1999}, {4, 0}, {4, 40000}, {3, 16}, {3, 14}, {3, 6}, {9, 5 * 256 + 2}}));
    EXPECT_EQ(fields(41), (Fields{101, 2, 5, 8, 4, 1, 0, 0, 0, 0, 0}));
    // A unit as stored sends nothing on opening; Slave is stored as -1.
    link_.clear();
    act(analogueAltimeter(), "Slave Command6");
    EXPECT_EQ(Cfg.GaugeRecFunction2[41], -1);
    EXPECT_EQ(link_.commands(), (Commands{{9, 5 * 256 + 1}}));
}

TEST_F(Instruments, AnalogueAltimeterPressuresAreReadAsDecimalsAndRefusedOutsideTheirRange)
{
    auto& d = analogueAltimeter();
    for (const char* typed : {"29.92", "32.05", "100", "abc"}) {
        if (!QByteArray(typed).contains('.'))
            messages_.expectOk(kAirPressureRule);
        act(d, QStringLiteral("boxAirPress=%1 cmdWriteAirPress").arg(typed));
    }
    act(d, "Option2 boxAirPress=998.75 cmdWriteAirPress");
    EXPECT_EQ(link_.commands(), (Commands{{12, 2992}, {12, 3205}, {5, 1}, {12, 998}}));

    // Read back: 2992 hundredths in inHg mode, the knob's offset from 128.
    click(d, "Option1");
    answer(41, {{6, 0x0B}, {7, 0xB0}, {9, 1}, {11, 120}});
    click(d, "CmdReadAirPress");
    EXPECT_EQ(std::tuple(text(d, "boxAirPress"), checked(d, "CheckPressViaFS"), text(d, "BoxPressRotation")),
              std::tuple("29.92", true, "-8"));
}

TEST_F(Instruments, AnalogueAltimeterNeedleCalibrationCounterWrapsAndRefusesWhatIsNoStep)
{
    auto& d = analogueAltimeter();
    act(d, "Option1000Feet Needledelta=7 Command2");
    EXPECT_TRUE(d.TimerScan().active());
    d.TimerScan().stop();
    click(d, "NL1");
    EXPECT_EQ(text(d, "Needledelta"), "4319");
    act(d, "Needledelta=4300 NR10 NR1 Command1");
    refused(d, "Needledelta", {"abc", "4320"}, RangeRule(QStringLiteral("Needledelta"), 0, kNeedledeltaTop),
            {"Command1", "NR1"});
    EXPECT_EQ(link_.commands(), (Commands{{10, 2}, {11, 4319}, {11, 0}, {11, 10}, {6, 10}, {10, 0}}));
}

TEST_F(Instruments, AnalogueAltimeterStatusPollShowsMovingNeedlesAndStopsWithTheTitleBar)
{
    auto& d = analogueAltimeter(1, 0, 0, true);
    answer(41, {{15, 1}});
    d.TimerScan().tick();
    EXPECT_EQ(text(d, "boxStatus"), "Busy moving Needle(s)");
    answer(41, {{15, 0}});
    act(d, "SliderValue1=500");
    link_.clear();
    d.TimerScan().tick();
    EXPECT_EQ(text(d, "boxStatus"), "Ready");
    // The status request carries the altitude under test.
    EXPECT_EQ(link_.commands().front(), (std::pair<int, int>{7, 500}));

    ASSERT_TRUE(waitUntil([&] { return link_.sent.size() >= 3; }, 1000)) << "the poll runs every 200 ms";
    d.close();
    EXPECT_FALSE(DefaultForm<ConfigAnalogueAltimeter>::loaded());
    const std::size_t sent = link_.sent.size();
    waitMs(450);
    EXPECT_EQ(link_.sent.size(), sent);
}

TEST(AltimeterPressure, ExactDecimalsWithinTheRule)
{
    for (auto [text, inHg, word] : {std::tuple{"29.92", true, 2992}, {"0.29", true, 29}, {"29,92", true, 2900},
                                    {"29.929", true, 2992}, {"1013.9", false, 1013}, {"9999", false, 9999}})
        EXPECT_EQ(AirPressureWord(text, inHg), word) << text;
    for (auto [text, inHg] : {std::pair{"100", true}, {"-0.01", true}, {"----------", true}, {"abc", false},
                              {"10000", false}, {"12345678901234567890", false}})
        EXPECT_FALSE(AirPressureWord(text, inHg)) << text;
    EXPECT_EQ(AirPressureText(3000, true) + " " + AirPressureText(1013, false), "30 1013");
}

TEST_F(Instruments, DigitalAltimeterOpeningSetsTheGaugeAsTheRecordSaysTheUnitIsWrittenAtOnceApplyAndUninstall)
{
    act(digitalAltimeter(2, 4, true), "Option1 cmdClose");
    EXPECT_EQ(link_.commands(), (Commands{{5, 1}, {5, 273}, {14, 1}, {5, 256}}));
    EXPECT_EQ(Cfg.GaugeRecModel[12], 1);

    auto& d = digitalAltimeter(2, 4, true);
    EXPECT_TRUE(checked(d, "Slave"));
    link_.clear();
    click(d, "Command6");
    EXPECT_EQ(fields(12), (Fields{101, 2, 4, 8, 4, 1, 1, 0, -1, 1, 0}));
    EXPECT_EQ(link_.commands(), (Commands{{9, 1026}}));
    // Uninstall asks nothing.
    click(digitalAltimeter(2, 4, true), "CmdUninstall");
    EXPECT_FALSE(DefaultForm<ConfigGaugeAD>::loaded());
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[12], Cfg.GaugeRecFunction2[12], Cfg.GaugeRecModel[12]), std::tuple(0, -1, 2));
}

TEST_F(Instruments, DigitalAltimeterNeedleOffsetIntensitiesLightsAndAltitude)
{
    auto& d = digitalAltimeter(1, 4, false);
    link_.clear();
    for (auto [start, button, result] : {std::tuple{"1067", "NL1", "0"}, {"0", "NR1", "1068"}, {"5", "NR10", "1068"},
                                         {"70", "NL10", "80"}}) {
        act(d, QStringLiteral("Needledelta=%1 %2").arg(start, button));
        EXPECT_EQ(text(d, "Needledelta"), result) << start << button;
    }
    click(d, "Command1");
    refused(d, "Needledelta", {"65536", "abc"}, RangeRule("The needle offset", 0, 65535), {"Command1"});
    act(d, "Command2 cmdSetDay cmdSetNight SliderIntensityAlt=31 SliderPressIntensity=31 cmdSetDay DisplayOff "
           "SliderValue1=-5000 cmdsetzero");
    EXPECT_EQ(link_.commands(), (Commands{{11, 33}, {11, 31}, {11, 22}, {11, 42}, {6, 80}, {6, 0}, {10, 0x1010},
                                          {8, 143}, {10, 0x5050}, {8, 192}, {8, 192}, {10, 257}, {8, 143}, {8, 143},
                                          {8, 15}, {4, -5000}, {4, 0}}));
}

TEST_F(Instruments, AttitudeLevelSpeedsAndApplyFollowTheModel)
{
    auto& one = attitude(1);
    act(one, "cmdLevelBank cmdLevelPitch cmdSetBankSpeedl cmdSetPitchSpeed");  // already level: sent all the same
    EXPECT_EQ(link_.commands(), (Commands{{4, 2160}, {5, 600}, {3, 250}, {3, -600}}));
    // At 0 the pitch speed keeps its sign flag: a plain 0 would set the bank speed.
    act(one, "SliderPitchSpeed=0 cmdSetPitchSpeed");
    EXPECT_EQ(quint8(GaugeBusFrame(12, 3, link_.sent.back().value)->at(2)), 0x3C);
    click(one, "Command5");

    Cfg.GaugeRecCategory2[12] = 7;
    auto& two = attitude(2, 0);
    EXPECT_EQ(text(two, "BoxtestValue1"), "959");
    act(two, "cmdLevelBank cmdLevelPitch");
    EXPECT_EQ(link_.commands(), (Commands{{4, 480}, {5, 80}}));
    // Moved whatever the bus status says.
    choose(two, "NewGaugeID", "40");
    click(two, "CmdApply");
    EXPECT_EQ(link_.newIDs, (Commands{{12, 40}}));
    EXPECT_EQ(Cfg.GaugeRecType[12], 0);
    EXPECT_EQ(fields(40), (Fields{103, 2, 1, 8, 5, 1, 480, 0, 6, 1, 80}));
}

TEST_F(Instruments, AttitudeSweepAndRotationStopOnStopAndOnClosing)
{
    auto& d = attitude(0);
    child<QTimer>(d, "Timer1")->setInterval(10);
    click(d, "cmdMovePitch");
    ASSERT_TRUE(waitUntil([&] { return link_.sent.size() >= 3; }, 1000));
    click(d, "Command1");
    const Commands swept = link_.commands();
    EXPECT_EQ(Commands(swept.begin(), swept.begin() + 3), (Commands{{5, 640}, {5, 0}, {5, 640}}));
    EXPECT_EQ(swept.back(), (std::pair{14, 0}));
    link_.clear();
    waitMs(40);
    act(d, "BL1 BL10 BR1 BR10 PL1 PL10 PR1 PR10 cmdRecalibrate CmdSetCalibration cmdResetCalibration cmdRotateCW");
    d.close();  // the title bar, while the bank axis turns
    EXPECT_EQ(link_.commands(), (Commands{{10, 1}, {10, 50}, {10, -1}, {10, -50}, {11, 1}, {11, 20}, {11, -1},
                                          {11, -20}, {1, 0}, {12, 0}, {13, 0}, {1, 0}, {14, 2}, {14, 0}}));
    click(attitude(0), "Command5");  // at rest nothing is sent
    EXPECT_TRUE(link_.sent.empty());
    act(attitude(0), "cmdMovePitch Command5");
    EXPECT_EQ(link_.commands(), (Commands{{14, 0}}));
}

TEST_F(Instruments, VORNeedleTestsAndTheirCentreCalibration)
{
    auto& d = show<ConfigGaugeVOR>(12, kVOR1);
    link_.clear();
    act(d, "SliderValue2=500 cmdCenterGSneedle");
    child<QLineEdit>(d, "BoxTestValue2")->textEdited("9");  // typing sends the slider's position again
    EXPECT_EQ(text(d, "BoxTestValue2"), "500");
    // The localiser is already in the centre: still sent.
    act(d, "cmdClearCal cmdCenterLOC cmdRecalibrate cmdCalibrateCompass SliderSpeed=100 Slider1=0");
    EXPECT_EQ(link_.commands(), (Commands{{6, 500}, {9, 28}, {6, 500}, {9, 0}, {4, 0}, {5, 472}, {6, 472}, {5, 472},
                                          {1, 0}, {11, 1}, {3, 30}, {14, 250}}));
}

TEST_F(Instruments, VOR2IgnoresTheGlideslopeAndCalibratesDownwards)
{
    auto& d = show<ConfigGaugeVOR>(12, kVOR2);
    link_.clear();
    act(d, "SetToFromFlag_2 setGSflag_1 CmdSetIndicators cmdCalibrateDisk cmdRestCalibrateDisk");
    EXPECT_EQ(link_.commands(), (Commands{{12, 3}, {13, 0x3000}, {13, 0x1E5C}, {13, 0x2CB8}, {10, 0}}));
    EXPECT_EQ(IndicatorWord(ToFromFlag::From, true, kVOR1), 7);
    EXPECT_EQ(IndicatorWord(ToFromFlag::None, false, kVOR1), 1);
    EXPECT_EQ(IndicatorCalibration(3900, kVOR1).at(1), 224 + 5 * 4096);
    for (auto [count, course] : {std::pair{1084, 0}, {0, 0}, {542, 180}, {1081, 1}, {1100, -5}})
        EXPECT_EQ(CourseFromCount(count), course) << count;

    // Apply writes the fixed function and the write block.
    std::tie(Cfg.GaugeRecPlate1[13], Cfg.GaugeRecFunction2[13]) = std::tuple(1, 9);
    auto& one = show<ConfigGaugeVOR>(13, kVOR1);
    child<QCheckBox>(one, "CheckBlockWriteToSim")->setChecked(false);  // shown checked for plate 1
    click(one, "CmdApply");
    EXPECT_EQ(fields(13), (Fields{kVOR1, 1, 1, 0, 31, 0, 0, 0, 0, 0, 0}));
}

TEST_F(Instruments, DmeLampsBrightnessAndPackedTestValues)
{
    auto& d = dme();
    act(d, "SliderLightIntensity=15 cmdSetNight cmdSetDaymode DisplaysOff LightOn DisplaysOn OptionExternalOnOff "
           "OptionLocalOnOff CmdTestOn CmdTestOff");
    // As the dialog opens, no test value is shown.
    act(d, "ComdSetMiles cmdWriteKnots cmdsetMinutes CheckShowDistance CheckShowSpeed CheckShowTime ComdSetMiles");
    type(d, "boxDistance", " 1.23 ");
    act(d, "ComdSetMiles boxSpeed=999 cmdWriteKnots");
    EXPECT_EQ(link_.commands(), (Commands{{13, 47}, {8, 192}, {13, 15}, {8, 128}, {8, 0}, {8, 64}, {8, 192}, {6, 1},
                                          {6, 0}, {10, 1}, {10, 0}, {4, 0x3123}, {3, 0x3456}, {5, 0x3078},
                                          {4, 0x2123}, {4, 0x4123}, {3, 0x0999}}));

    // Digits that would run into the flags, or no number at all: the rule.
    link_.clear();
    refused(d, "boxTime", {"1234", "1.2.3", "", ".5", "1 2"}, DisplayValueRule(QStringLiteral("time")),
            {"cmdsetMinutes"});
    EXPECT_TRUE(link_.sent.empty());
}

TEST_F(Instruments, DmeReadApplyAndTheTestOffOfEveryClose)
{
    auto& d = dme(2, 1);
    EXPECT_TRUE(link_.sent.empty());
    answer(60, {{16, 3}});
    click(d, "CmdReadRadio");
    EXPECT_EQ(text(d, "RotarySwitchPosition"), "3");

    // Stored as opened; the move goes out although the gauge is not
    // connected, and the closing Test Off goes to the new GaugeID.
    link_.clear();
    choose(d, "NewGaugeID", "61");
    click(d, "Command6");
    EXPECT_EQ(link_.newIDs, (Commands{{60, 61}}));
    EXPECT_EQ(link_.sent, (std::vector<testing::SentCommand>{{61, 10, 0}}));
    EXPECT_EQ(Cfg.GaugeRecType[60], 0);
    EXPECT_EQ(fields(61), (Fields{113, 2, 3, 8, 27, 2, 1, 0, 0, 0, 0}));

    link_.clear();
    dme().close();
    EXPECT_FALSE(DefaultForm<ConfigDME>::loaded());
    EXPECT_EQ(link_.commands(), (Commands{{10, 0}}));
}

TEST_F(Instruments, RmiOpeningSelectsTheStoredWordsAndSendsOnlyTheDmeChoices)
{
    auto& plain = rmi();
    EXPECT_EQ(link_.commands(), (Commands{{13, 0x500}}));
    EXPECT_TRUE(allChecked(plain, {"OptionHDG", "OptionNoDME", "OptionShowIfADFNo", "OptionVOR1Yel", "OptionVOR1Grn"}));
    EXPECT_TRUE(hidden(plain, "FrameDME1") && hidden(plain, "FrameDME2"));
    EXPECT_EQ(text(plain, "Text2"), "Radio Magnetic Indicator");
    click(plain, "cmdClose");

    link_.clear();
    auto& full = rmi(7, 3);
    EXPECT_EQ(link_.commands(), (Commands{{13, 0x301}, {13, 0x400}}));
    EXPECT_TRUE(
        allChecked(full, {"OptionCompass", "OptionHasDME", "OptionShowIfADFYes", "OptionVOR2Yel", "OptionVOR2Grn"}));
    EXPECT_FALSE(hidden(full, "FrameDME1") || hidden(full, "FrameDME2"));
    act(full, "OptionShowIfADFNo OptionVOR1Grn Command6");
    EXPECT_EQ(fields(70), (Fields{130, 1, 1, 8, 39, 0, 5, 0, 31, 0, 1}));
}

TEST_F(Instruments, RmiCalibrationCountsNudgesPerPartAndWrapsAtItsTurn)
{
    auto& d = rmi();
    link_.clear();
    act(d, "cmdResetCalibration NL10 NL10 cmdSetCalibration cmdResetCalibration NR1");
    EXPECT_TRUE(hidden(d, "NR10"));
    EXPECT_EQ(d.calibration().position, kCompassCardTurn);
    click(d, "NL1");
    EXPECT_EQ(d.calibration().position, 0);
    act(d, "OptionCalibrateGreenNeedle cmdResetCalibration");
    EXPECT_TRUE(hidden(d, "NL10") && !hidden(d, "NR10"));
    click(d, "NL1");
    EXPECT_EQ(d.calibration().position, kRmiNeedleTurn);
    click(d, "NR1");
    EXPECT_EQ(d.calibration().position, 0);
    EXPECT_EQ(link_.commands(), (Commands{{10, 1}, {13, 0}, {11, 100}, {11, 100}, {12, 200}, {10, 0}, {10, 1}, {13, 0},
                                          {11, -10}, {11, 10}, {10, 2}, {13, 0}, {11, -10}, {11, 10}}));
}

TEST_F(Instruments, RmiTestSlidersLampsDmeDisplaysAndNeedleSources)
{
    auto& d = rmi(1);
    link_.clear();
    act(d, "SliderValue1=90 SliderValue1=359 SliderGreenNeedle=90 SliderYellowNeedle=90 SliderCompassSpeed=0 "
           "SliderNeedlesSpeed=100 SliderDMEIntensity=9 CmdSetIntensityNight LightOn OptionDisplaysOff LightOff "
           "cdSetFlag cmdWriteLeftDME CmdWriteRightDME CheckShowMERight CmdWriteRightDME");
    EXPECT_EQ(text(d, "boxYellowValue"), "90");
    EXPECT_EQ(link_.commands(), (Commands{{5, 1152}, {5, 4595}, {6, 1080}, {6, 0x4438}, {3, 4240}, {4, 240},
                                          {13, 0x209}, {8, 0xC0}, {8, 0x40}, {8, 15}, {14, 1}, {15, 0x2123},
                                          {15, 0x6456}, {15, 0x4AAA}}));
    link_.clear();
    refused(d, "BoxLeftDME", {"12345"}, DisplayValueRule(QStringLiteral("left DME value")), {"cmdWriteLeftDME"});
    EXPECT_TRUE(link_.sent.empty());

    answer(70, {{7, 1}});
    click(d, "CmdReadNeedleSelection");
    EXPECT_EQ(text(d, "boxGRNselection") + " " + text(d, "boxYellowSelection"), "ADF VOR");
}

class EngineCluster : public Instruments {
protected:
    void SetUp() override
    {
        Instruments::SetUp();
        // Plates 0..4 fuel, 5..8 engines, 9..10 cockpit, 11 radios.
        for (int category : {3, 3, 3, 3, 3, 1, 1, 1, 1, 6, 6, 5})
            plate(category);
        gauge(20, 8, 2, 3);
    }
    static void plate(int category)
    {
        const int p = Cfg.AddPlate();
        Cfg.PlateName[p] = "P" + std::to_string(p);
        Cfg.PlateValue[p][0] = category;
        Cfg.PlateCount = Integer(p + 1);
    }
    ConfigCessnaEngineCluster& open()
    {
        OpenDialog<ConfigCessnaEngineCluster>();
        link_.clear();
        return DefaultForm<ConfigCessnaEngineCluster>::get();
    }
    static QComboBox* plates(QWidget& d, int needle)
    {
        return child<QComboBox>(d, ("ComboPlate_" + std::to_string(needle - 1)).c_str());
    }
    static void choosePlate(QWidget& d, int needle, int plate)
    {
        QComboBox* c = plates(d, needle);
        c->setCurrentIndex(c->findText(QStringLiteral("%1.  P%2").arg(plate, 3, 10, QLatin1Char('0')).arg(plate)));
    }
};

TEST_F(EngineCluster, ApplyStoresEachPlateInItsFieldAndTheNextOpeningShowsThem)
{
    auto& d = open();
    EXPECT_EQ(std::tuple(plates(d, 1)->count(), plates(d, 8)->itemText(1)), std::tuple(5, "010.  P10"));
    for (int needle = 1; needle <= 8; ++needle)
        choosePlate(d, needle, needle + 2);
    click(d, "CmdApply");
    EXPECT_FALSE(DefaultForm<ConfigCessnaEngineCluster>::loaded());
    EXPECT_EQ(fields(20), (Fields{8, 2, 3, 3, 299, 4, 0x0506, 7, 0, 8, 0x090A}));

    // A stored plate of another category shows no selection; an unsaved
    // choice gives way to the record when the dialog is active again.
    Cfg.GaugeRecSeqNr2[20] = 11;
    auto& again = open();
    EXPECT_EQ(std::tuple(plates(again, 4)->currentText(), plates(again, 6)->currentIndex()), std::tuple("006.  P6", -1));
    choosePlate(again, 1, 0);
    again.Form_Activate();
    EXPECT_EQ(plates(again, 1)->currentText(), "003.  P3");
}

TEST_F(EngineCluster, ApplyWritesNothingWhenAPlateDoesNotFitItsPacking)
{
    while (Cfg.PlateCount < 257)
        plate(1);
    for (const auto& [needle, plate] : {std::pair{3, 128}, {4, 256}}) {
        auto& d = open();
        choosePlate(d, needle, plate);
        choose(d, "NewGaugeID", "30");
        messages_.expectOk(kAssignmentIncorrect);
        click(d, "CmdApply");
        ASSERT_TRUE(DefaultForm<ConfigCessnaEngineCluster>::loaded()) << needle;
        EXPECT_EQ(std::tuple(Cfg.GaugeRecFunction1[20], Cfg.GaugeRecType[20]), std::tuple(0, 8));
        EXPECT_TRUE(link_.newIDs.empty());
        click(d, "cmdClose");
    }
    // The largest plates that fit fill the word.
    auto& d = open();
    choosePlate(d, 3, 127);
    choosePlate(d, 4, 255);
    click(d, "CmdApply");
    EXPECT_EQ(Cfg.GaugeRecPlate1[20], 32767);
}

TEST_F(EngineCluster, CalHandsTheNeedleOfThisGaugeToThePlateWindowAndTheTwoSpeedScales)
{
    auto& d = open();
    choosePlate(d, 2, 4);
    // The configuration screen has since been asked about another gauge.
    CurrentGaugeID = 99;
    CurrentGaugeTypeName = "Other";
    click(d, "cmdCalibrateFuelRight");
    EXPECT_TRUE(DefaultForm<frmCalibrate>::loaded());
    EXPECT_EQ(std::tuple(CurrentGaugeID, CurrentGaugeTypeName, CalNeedleNr, CalFunctionNr, CalSeqNr, CalFunctionName,
                         CalCategoryName, CalPlateNr),
              std::tuple(20, "Test gauge", 2, 46, 2, "046   Fuel Right", "Fuel", 4));
    click(d, "cmdCalibrateAMP");
    EXPECT_EQ(std::tuple(CalNeedleNr, CalCategoryName, CalPlateNr), std::tuple(8, "Cockpit", 0));

    // The test sliders, then the speed while dragged and when let go.
    act(d, "SliderValue1_0=1 SliderValue1_1=11 SliderValue1_2=21 SliderValue1_3=31 SliderValue1_4=41 "
           "SliderValue1_5=51 SliderValue1_6=61 SliderValue1_7=71");
    auto* speed = child<QSlider>(d, "SliderSpeed");
    speed->setSliderDown(true);
    speed->setSliderPosition(90);
    speed->setSliderPosition(80);
    speed->setSliderDown(false);
    speed->setValue(0);
    EXPECT_EQ(link_.commands(), (Commands{{4, 1}, {5, 11}, {6, 21}, {9, 31}, {10, 41}, {11, 51}, {12, 61}, {13, 71},
                                          {3, 600}, {3, 1000}, {3, 30}, {3, 110}}));
}

} // namespace
} // namespace varnet
