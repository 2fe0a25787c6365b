// The gauge dialogs against a recording link: the dialog kit they share and
// its encodings, then each dialog's commands, refusals, read-back and Apply.

#include "bus/gaugeframes.h"
#include "dialog_fixture.h"
#include "gauges/adfindicator.h"
#include "gauges/airlinerclock.h"
#include "gauges/analoguealtimeter.h"
#include "gauges/attitude.h"
#include "gauges/bcdwords.h"
#include "gauges/digitalaltimeter.h"
#include "gauges/displayneedle.h"
#include "gauges/dmeindicator.h"
#include "gauges/dualneedle.h"
#include "gauges/enginecluster.h"
#include "gauges/headingindicator.h"
#include "gauges/lightclock.h"
#include "gauges/needlelists.h"
#include "gauges/radiocodecs.h"
#include "gauges/rmi.h"
#include "gauges/singleneedle.h"
#include "gauges/timewords.h"
#include "gauges/vorindicator.h"
#include "platform/wait.h"
#include "simcontrolunit/simcontrolunit.h"
#include "support/fake_clock.h"

#include <QCheckBox>
#include <QTimer>

#include <tuple>

namespace varnet {
namespace {

using testing::Commands;
using testing::SentCommand;
using Fields = std::vector<int>;

// A fixed-function dialog with every section of the frame. It writes
// function 1 := 42 and sends 14/0 when it closes, as a dialog with a running
// test does.
class TestDialog final : public DialogOf<TestDialog> {
public:
    TestDialog()
        : DialogOf("TestDialog", QStringLiteral("Test"),
                   FrameParts{.setNewID = true, .displays = true, .backlight = true, .speed = true, .speedBox = true})
    {
    }
    bool valid = true;
    MovePolicy policy = MovePolicy::Connected;

protected:
    ApplySteps applySteps() override
    {
        return {.validate = [this] { return valid; },
                .clears = Field::Identity | Field::Needle1,
                .move = policy,
                .write = [](int id) { Cfg.GaugeRecFunction1[id] = 42; },
                .afterwards = [this] { send(6, 1); }};
    }
    FieldSet uninstallFields() const override { return Field::TypeAndBothAssignments; }
    void closing() override { send(14, 0); }
    int speedValue(int position) const override { return 2 * (115 - position); }
};

class DialogKit : public testing::DialogTest {
protected:
    // The dialog for gauge 5 (function 1 = 7, plate 2 = 9), checked to be on `id`.
    static TestDialog& open(int id = 5, int busStatus = -1)
    {
        if (busStatus >= 0) {
            gauge(5, 103, 3, 4, busStatus);
            std::tie(Cfg.GaugeRecFunction1[5], Cfg.GaugeRecPlate2[5]) = std::tuple(7, 9);
        }
        OpenDialog<TestDialog>();
        EXPECT_EQ(DefaultForm<TestDialog>::get().gaugeID(), id);
        return DefaultForm<TestDialog>::get();
    }
    static bool loaded() { return DefaultForm<TestDialog>::loaded(); }
};

TEST_F(DialogKit, ApplyMovesAConnectedGaugeWithTypeModelVersionAndTheDialogsFields)
{
    act(open(5, 2), "NewGaugeID=9 CmdApply");
    EXPECT_EQ(link_.newIDs, (Commands{{5, 9}}));
    EXPECT_EQ(fields(9), (Fields{103, 3, 4, 0, 42, 0, 0, 0, 0, 0, 0}));
    // A field the dialog does not write (plate 2) stays behind.
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[5], Cfg.GaugeRecPlate2[5]), std::tuple(0, 9));
    EXPECT_EQ(std::tuple(Session.GaugeRecBusStatus[5], Session.GaugeRecBusStatus[9], Session.ConfigChanged),
              std::tuple(1, 2, 1));
    // The after-apply send goes to the new address, then the close.
    EXPECT_EQ(link_.sent, (std::vector<SentCommand>{{9, 6, 1}, {9, 14, 0}}));
    EXPECT_FALSE(loaded());
}

TEST_F(DialogKit, MovePoliciesDecideOnTheBusStatusAndAFailedMoveMovesNothing)
{
    // Not connected: the two-line message, the record written where it was.
    messages_.expectOk(kNotConnected);
    act(open(5, 1), "NewGaugeID=9 CmdApply");
    EXPECT_TRUE(link_.newIDs.empty());
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[5], Cfg.GaugeRecFunction1[5], Cfg.GaugeRecType[9]), std::tuple(103, 42, 0));

    // Always: moves whatever the status and leaves the status alone.
    TestDialog& always = open(5, 0);
    always.policy = MovePolicy::Always;
    act(always, "NewGaugeID=9 CmdApply");
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[9], Session.GaugeRecBusStatus[9]), std::tuple(103, 0));

    // The address change not queued: nothing moves, the record stays.
    link_.accept = false;
    messages_.expectOk(kNewIDNotWritten);
    act(open(5, 2), "NewGaugeID=10 CmdApply");
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[10], Cfg.GaugeRecType[5], Session.GaugeRecBusStatus[5]),
              std::tuple(0, 103, 2));
}

TEST_F(DialogKit, ARefusedApplyOrATakenTargetWritesNothingAndSetBesideNewGaugeIDCarriesTheWholeRecord)
{
    TestDialog& d = open(5, 2);
    d.valid = false;
    click(d, "CmdApply");
    EXPECT_EQ(Cfg.GaugeRecFunction1[5], 7);
    EXPECT_TRUE(loaded());

    d.valid = true;
    Cfg.GaugeRecType[9] = 1;  // the bus search found a gauge there meanwhile
    actOk(d, "NewGaugeID=9 CmdApply", kNewIDRule);
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[5], Cfg.GaugeRecFunction1[5], link_.newIDs.size(), loaded()),
              std::tuple(103, 7, 0u, true));

    // Set beside NewGaugeID moves the record at once and refills the free list.
    act(d, "NewGaugeID=10 CmdSetNewGaugeID");
    EXPECT_EQ(std::tuple(d.gaugeID(), text(d, "GaugeID")), std::tuple(10, "10"));
    EXPECT_EQ(fields(10), (Fields{103, 3, 4, 0, 7, 0, 0, 0, 0, 0, 9}));
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[5], Session.GaugeRecBusStatus[10]), std::tuple(0, 2));
    auto* free = child<QComboBox>(d, "NewGaugeID");
    EXPECT_EQ(std::tuple(free->findText("10"), free->currentText()), std::tuple(-1, QString()));
    EXPECT_NE(free->findText("5"), -1);
}

TEST_F(DialogKit, UninstallClearsItsFieldSetOnlyOnYes)
{
    Cfg.GaugeRecFunction2[5] = 8;
    messages_.expectYesNo(kUninstallQuestion, false);
    TestDialog& d = open(5, 2);
    click(d, "CmdUninstall");
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[5], loaded()), std::tuple(103, true));

    messages_.expectYesNo(kUninstallQuestion, true);
    click(d, "CmdUninstall");
    // This set keeps model, version and the second plate.
    EXPECT_EQ(fields(5), (Fields{0, 3, 4, 0, 0, 0, 0, 0, 0, 0, 9}));
    EXPECT_EQ(std::tuple(Session.ConfigChanged, loaded()), std::tuple(1, false));
}

TEST_F(DialogKit, CancelTheTitleBarARunsStartAndOpeningForAnotherGaugeCloseTheSameWay)
{
    click(open(5, 2), "CmdClose");
    EXPECT_FALSE(loaded());
    open().close();  // the title bar
    EXPECT_FALSE(loaded());
    open();
    CloseOpenDialogs();
    EXPECT_FALSE(loaded());
    EXPECT_EQ(link_.sent, (std::vector<SentCommand>(3, {5, 14, 0})));
    EXPECT_EQ(Cfg.GaugeRecFunction1[5], 7);

    // The same gauge raises the open dialog; another closes it first.
    link_.clear();
    TestDialog* first = &open();
    OpenDialog<TestDialog>();
    EXPECT_EQ(&DefaultForm<TestDialog>::get(), first);
    EXPECT_TRUE(link_.sent.empty());
    gauge(6, 103);
    open(6);
    EXPECT_EQ(link_.sent, (std::vector<SentCommand>{{5, 14, 0}}));
    // The dialog keeps its gauge whatever the screen opens next.
    CurrentGaugeID = 77;
    click(DefaultForm<TestDialog>::get(), "LightOn");
    EXPECT_EQ(link_.sent.back(), (SentCommand{6, 8, 64}));
}

TEST_F(DialogKit, LightDisplaysBacklightAndSpeedWordsAndReplies)
{
    TestDialog& d = open(5, 2);
    act(d, "LightOn LightOff DisplayOn LightOn CmdSetBacklight SliderBacklight=9");  // the backlight with nothing set
    child<QCheckBox>(d, "CheckSetDefault")->setChecked(true);
    act(d, "OptionAlwaysOn CmdSetBacklight SliderSpeed=15");
    EXPECT_EQ(text(d, "BoxSpeed"), "15");
    EXPECT_EQ(link_.commands(), (Commands{{8, 64}, {8, 15}, {8, 143}, {8, 192}, {8, 0x50}, {8, 0x179}, {3, 200}}));

    EXPECT_EQ(BacklightWord({15, true, PowerOnLight::AlwaysOn, true}, true), 0x1FF);
    EXPECT_EQ(BacklightWord({3, false, PowerOnLight::On, true}, false), 0x253);
    EXPECT_EQ(BacklightWord({0, false, PowerOnLight::Off}), 0x450);
    EXPECT_EQ(std::tuple(DayNightWord(15, true), JumpWrap(1085, 1079), JumpWrap(-5, 1079)), std::tuple(47, 0, 1079));

    // Only a well-framed reply of the own gauge is read.
    const QByteArray reply = statusReply(12, {{9, 0xFF}, {10, 0x38}});
    ASSERT_TRUE(ReplyOf(reply, 12));
    EXPECT_FALSE(ReplyOf(reply, 13) || ReplyOf(reply.left(24), 12));
    EXPECT_FALSE(ReplyOf(QByteArray(reply).replace(24, 1, "\0", 1), 12));  // unframed
    const Reply r(reply);
    EXPECT_EQ(std::tuple(r.byte(2), r.word(10, 11), r.signedWord(10, 11), r.byte(26)), std::tuple(12, 0xFF38, -200, 0));
}

TEST(DialogNumbers, ReadersRoundingRangeRulesAndRadioCodes)
{
    for (auto [typed, hundredths] : {std::pair{"29.92", 2992}, {" 32.05 ", 3205}, {"30", 3000}, {"-0.5", -50}, {".25", 25}})
        EXPECT_EQ(Hundredths(typed), hundredths) << typed;
    for (const char* bad : {"", "1.234", "29,92", "abc", "1e3", "."})
        EXPECT_FALSE(Hundredths(bad)) << bad;
    EXPECT_EQ(std::tuple(RoundHalfEven(2.5), RoundHalfEven(3.5), RoundHalfEven(-2.5)), std::tuple(2, 4, -2));
    EXPECT_EQ(std::tuple(LenientNumber("12 mS"), LenientNumber("x")), std::tuple(12, 0));
    EXPECT_FALSE(StrictNumber("12 mS"));

    testing::ScriptedMessages boxes;
    const QString rule = RangeRule("Needledelta", 0, 65535);
    EXPECT_EQ(rule, "Needledelta must be a whole number between 0 and 65535");
    EXPECT_EQ(ReadWholeNumber("65535", 0, 65535, rule), 65535);
    for (const char* bad : {"65536", "-1", "1.5", "", "x"}) {
        boxes.expectOk(rule);
        EXPECT_FALSE(ReadWholeNumber(bad, 0, 65535, rule)) << bad;
    }

    // The avionics encodings: frequencies refused unless a whole number in a 16-bit word.
    for (auto [typed, word] : {std::pair{"118,000", 18000}, {"118000", 18000}, {" 138,975 ", 38975}, {"25", 25}})
        EXPECT_EQ(ComNavWord(typed), word) << typed;
    for (const char* bad : {"", "118.0", "abc", "-5", "100000", "170000"})
        EXPECT_FALSE(ComNavWord(bad)) << bad;
    EXPECT_EQ(ComNavText(21000) + " " + ComNavText(8000) + " " + KilohertzText(25), "121,000 108,000 000,025");
    for (auto [typed, word] : {std::pair{"100.0", 1000}, {"999.9", 9999}, {"1700", 17000}})
        EXPECT_EQ(AdfWord(typed), word) << typed;
    for (const char* bad : {"", "x", "-1", "6554"})
        EXPECT_FALSE(AdfWord(bad)) << bad;
    EXPECT_EQ(AdfText(8505) + " " + AdfText(17000) + " " + AdfText(1000), "850.5 1700.0 100.0");
    EXPECT_EQ(std::tuple(TransponderWord("7777", CodePacking::Octal), TransponderWord("1200", CodePacking::Octal),
                         TransponderWord("1200", CodePacking::Nibbles)),
              std::tuple(4095, 640, 0x1200));
    boxes.expectOk(kCodeNotFourDigits);
    EXPECT_FALSE(TransponderWord("128", CodePacking::Octal));
    boxes.expectOk(kCodeNotOctal);
    EXPECT_FALSE(TransponderWord("1284", CodePacking::Nibbles));
    EXPECT_EQ(NibbleDigits(0x12, 0x00) + " " + NibbleDigits(0x77, 0x77), "1200 7777");
}

class Dialogs : public testing::DialogTest {
protected:
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
        return shown(d);
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
    // The dialog, what its opening sent forgotten.
    template <typename T>
    T& shown(T& dialog)
    {
        link_.clear();
        return dialog;
    }
};

TEST_F(Dialogs, ADFPointerCalibrationWrapsARefusedDeltaSendsNothingAndApplyWritesFunction32)
{
    auto& d = show<ConfigADF>(30, 108);
    act(d, "cmdResetCalibrationPointer NR1 NR1 NR1");
    EXPECT_EQ(text(d, "Needledelta"), "4309");
    act(d, "Needledelta=4300 cmdNL10");
    EXPECT_EQ(text(d, "Needledelta"), "0");
    act(d, "Needledelta=125 cmdSetPointerCalibration cmdTestPointerCalibration cmdCalibrateCompass SliderValue1=90 "
           "SliderSpeed=0");
    // The box follows the slider, and its change sends once more.
    EXPECT_EQ(takeSent(), (Commands{{9, 0}, {1, 0}, {6, -5}, {6, -5}, {6, -5}, {6, 50}, {9, 125}, {1, 0}, {11, 1},
                                    {5, 1079}, {5, 1079}, {3, 310}}));
    refused(d, "Needledelta", {"12x", "4320"}, kPointerDeltaRule, {"cmdSetPointerCalibration", "NL1"});
    EXPECT_TRUE(link_.sent.empty());
    EXPECT_EQ(std::tuple(CompassCourse(1), CompassCourse(2)), std::tuple(0, 359));

    // Apply clears both assignments but the second plate.
    std::tie(Cfg.GaugeRecPlate1[30], Cfg.GaugeRecFunction2[30], Cfg.GaugeRecPlate2[30]) = std::tuple(7, 5, 9);
    click(d, "CmdApply");
    EXPECT_EQ(fields(30), (Fields{108, 1, 1, 0, 32, 0, 0, 0, 0, 0, 9}));
}

TEST_F(Dialogs, HeadingStoredWordChecksItsPreferencesAndTheKnobBoxesStoreAtOnce)
{
    Cfg.GaugeRecPlate2[21] = 31;
    auto& d = show<ConfigDG>(21, 105, 3, 2);
    EXPECT_EQ(link_.commands(), (Commands{{9, 8}, {9, 40}}));
    EXPECT_TRUE(checked(d, "UseSwitch1 UseSwitch2 CheckUseGyroDrift OptionShowCompass CheckReversCompassDirection"));
    EXPECT_EQ(std::tuple(texts(d, "LabelHeadingLeft LabelHeadingRight"), Cfg.GaugeRecPlate2[21]), std::tuple("W E", 31));
    EXPECT_FALSE(hidden(d, "CheckUseGyroDrift") || hidden(d, "FrameBacklightMode"));
    click(d, "CmdClose");

    link_.clear();
    Cfg.GaugeRecPlate2[21] = 0;
    auto& plain = show<ConfigDG>(21, 105, 2, 1);
    EXPECT_TRUE(link_.sent.empty());
    EXPECT_EQ(texts(plain, "LabelHeadingLeft LabelHeadingRight"), "E W");
    EXPECT_TRUE(hidden(plain, "CheckUseGyroDrift") && hidden(plain, "FrameBacklightMode"));
    Cfg.GaugeRecPlate2[21] = 20;
    act(plain, "UseSwitch1 CmdClose");
    EXPECT_EQ(std::tuple(Cfg.GaugeRecPlate2[21], link_.commands()), std::tuple(21, Commands{{9, 8}}));
}

TEST_F(Dialogs, HeadingApplyWritesTheFixedFunctionAtItsOwnGaugeAfterAnyActivation)
{
    auto& d = show<ConfigDG>(21, 105, 3, 2);
    Cfg.GaugeRecCategory2[21] = 4;
    act(d, "OptionShowCompass CheckReversCompassDirection CheckUseHeadingBug");
    gauge(22, 105);  // the screen opened another gauge meanwhile
    d.Form_Activate();
    click(d, "CmdApply");
    EXPECT_EQ(fields(21), (Fields{105, 3, 2, 8, 7, 1, 0, 4, 11, 1, 24}));
    EXPECT_EQ(Cfg.GaugeRecPlate2[22], 0);
    EXPECT_EQ(link_.sent, (std::vector<SentCommand>{{21, 9, 0}}));
    EXPECT_FALSE(DefaultForm<ConfigDG>::loaded());
}

TEST_F(Dialogs, HeadingCalibrationWrapsAndTestSlidersFollowTheDirection)
{
    act(show<ConfigDG>(21, 105, 3, 2), "BR1 SetBug DL10 SetDisk ResetCalibration DR1 DR1 SetDisk BL10 SetBug "
                                       "cmdRecalibrate SliderValue1=90 CheckReversCompassDirection SliderValue1=0 "
                                       "SliderValue2=30 SliderSpeed=0");
    EXPECT_EQ(link_.commands(), (Commands{{11, -2}, {13, 4319}, {10, -50}, {12, 4319}, {14, 0}, {10, 5}, {10, 5},
                                          {12, 1090}, {11, 50}, {13, 1130}, {1, 0}, {5, 1080}, {5, 4320}, {6, 360},
                                          {3, 4240}}));
    EXPECT_EQ(HeadingDegreesText(4319), "359.9");
}

TEST_F(Dialogs, AnalogueAltimeterSettingsWordsTestSlidersApplyPressuresAndTheCalibrationCounter)
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
    EXPECT_EQ(takeSent(), (Commands{{5, 1}, {5, 17 + 256}, {5, 256}, {5, 1}, {5, 17}, {13, 1}, {4, -2000}, {4, -1999},
                                    {4, 0}, {4, 40000}, {3, 16}, {3, 14}, {3, 6}, {9, 5 * 256 + 2}}));
    EXPECT_EQ(fields(41), (Fields{101, 2, 5, 8, 4, 1, 0, 0, 0, 0, 0}));
    // A unit as stored sends nothing on opening; Slave is stored as -1.
    act(analogueAltimeter(), "Slave Command6");
    EXPECT_EQ(std::tuple(Cfg.GaugeRecFunction2[41], takeSent()), std::tuple(-1, Commands{{9, 5 * 256 + 1}}));

    // Pressures are read as decimals and refused outside their range.
    auto& p = analogueAltimeter();
    act(p, "boxAirPress=29.92 cmdWriteAirPress boxAirPress=32.05 cmdWriteAirPress");
    refused(p, "boxAirPress", {"100", "abc"}, kAirPressureRule, {"cmdWriteAirPress"});
    act(p, "Option2 boxAirPress=998.75 cmdWriteAirPress");
    EXPECT_EQ(link_.commands(), (Commands{{12, 2992}, {12, 3205}, {5, 1}, {12, 998}}));
    // Read back: 2992 hundredths in inHg mode, the knob's offset from 128.
    click(p, "Option1");
    answer(41, {{6, 0x0B}, {7, 0xB0}, {9, 1}, {11, 120}});
    click(p, "CmdReadAirPress");
    EXPECT_EQ(std::tuple(texts(p, "boxAirPress BoxPressRotation"), checked(p, "CheckPressViaFS")),
              std::tuple("29.92 -8", true));

    link_.clear();
    act(p, "Option1000Feet Needledelta=7 Command2");
    EXPECT_TRUE(p.TimerScan().active());
    p.TimerScan().stop();
    click(p, "NL1");
    EXPECT_EQ(text(p, "Needledelta"), "4319");
    act(p, "Needledelta=4300 NR10 NR1 Command1");
    refused(p, "Needledelta", {"abc", "4320"}, RangeRule(QStringLiteral("Needledelta"), 0, kNeedledeltaTop),
            {"Command1", "NR1"});
    EXPECT_EQ(link_.commands(), (Commands{{10, 2}, {11, 4319}, {11, 0}, {11, 10}, {6, 10}, {10, 0}}));
}

TEST_F(Dialogs, AnalogueAltimeterStatusPollShowsMovingNeedlesAndStopsWithTheTitleBar)
{
    auto& d = analogueAltimeter(1, 0, 0, true);
    answer(41, {{15, 1}});
    d.TimerScan().tick();
    EXPECT_EQ(text(d, "boxStatus"), "Busy moving Needle(s)");
    answer(41, {{15, 0}});
    act(d, "SliderValue1=500");
    link_.clear();
    d.TimerScan().tick();
    // The status request carries the altitude under test.
    EXPECT_EQ(std::tuple(text(d, "boxStatus"), link_.commands().front()), std::tuple("Ready", std::pair{7, 500}));

    ASSERT_TRUE(waitUntil([&] { return link_.sent.size() >= 3; }, 1000)) << "the poll runs every 200 ms";
    d.close();
    EXPECT_FALSE(DefaultForm<ConfigAnalogueAltimeter>::loaded());
    const std::size_t sent = link_.sent.size();
    waitMs(450);
    EXPECT_EQ(link_.sent.size(), sent);
}

TEST_F(Dialogs, DigitalAltimeterOpeningUnitApplyUninstallNeedleOffsetIntensitiesAndLights)
{
    for (auto [text, inHg, word] : {std::tuple{"29.92", true, 2992}, {"0.29", true, 29}, {"29,92", true, 2900},
                                    {"29.929", true, 2992}, {"1013.9", false, 1013}, {"9999", false, 9999}})
        EXPECT_EQ(AirPressureWord(text, inHg), word) << text;
    for (auto [text, inHg] : {std::pair{"100", true}, {"-0.01", true}, {"----------", true}, {"abc", false},
                              {"10000", false}, {"12345678901234567890", false}})
        EXPECT_FALSE(AirPressureWord(text, inHg)) << text;
    EXPECT_EQ(AirPressureText(3000, true) + " " + AirPressureText(1013, false), "30 1013");

    // Opening sets the gauge as the record says; the unit is written at once.
    act(digitalAltimeter(2, 4, true), "Option1 cmdClose");
    EXPECT_EQ(link_.commands(), (Commands{{5, 1}, {5, 273}, {14, 1}, {5, 256}}));
    EXPECT_EQ(Cfg.GaugeRecModel[12], 1);
    // Apply writes the fixed assignment; Uninstall asks nothing.
    auto& all = digitalAltimeter(2, 4, true);
    EXPECT_TRUE(checked(all, "Slave"));
    link_.clear();
    click(all, "Command6");
    EXPECT_EQ(fields(12), (Fields{101, 2, 4, 8, 4, 1, 1, 0, -1, 1, 0}));
    EXPECT_EQ(link_.commands(), (Commands{{9, 1026}}));
    click(digitalAltimeter(2, 4, true), "CmdUninstall");
    EXPECT_FALSE(DefaultForm<ConfigGaugeAD>::loaded());
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[12], Cfg.GaugeRecFunction2[12], Cfg.GaugeRecModel[12]), std::tuple(0, -1, 2));

    auto& d = shown(digitalAltimeter(1, 4, false));
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

TEST_F(Dialogs, AttitudeLevelSpeedsApplySweepAndRotationFollowTheModelAndStopOnClosing)
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
    act(two, "NewGaugeID=40 CmdApply");
    EXPECT_EQ(std::tuple(link_.newIDs, Cfg.GaugeRecType[12]), std::tuple(Commands{{12, 40}}, 0));
    EXPECT_EQ(fields(40), (Fields{103, 2, 1, 8, 5, 1, 480, 0, 6, 1, 80}));

    // The sweep and the rotation stop on Stop and on closing.
    auto& d = attitude(0);
    child<QTimer>(d, "Timer1")->setInterval(10);
    click(d, "cmdMovePitch");
    ASSERT_TRUE(waitUntil([&] { return link_.sent.size() >= 3; }, 1000));
    click(d, "Command1");
    const Commands swept = takeSent();
    EXPECT_EQ(Commands(swept.begin(), swept.begin() + 3), (Commands{{5, 640}, {5, 0}, {5, 640}}));
    EXPECT_EQ(swept.back(), (std::pair{14, 0}));
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

TEST_F(Dialogs, VORNeedleTestsCentreCalibrationVOR2DiskAndApply)
{
    auto& d = shown(show<ConfigGaugeVOR>(12, kVOR1));
    act(d, "SliderValue2=500 cmdCenterGSneedle");
    child<QLineEdit>(d, "BoxTestValue2")->textEdited("9");  // typing sends the slider's position again
    EXPECT_EQ(text(d, "BoxTestValue2"), "500");
    // The localiser is already in the centre: still sent.
    act(d, "cmdClearCal cmdCenterLOC cmdRecalibrate cmdCalibrateCompass SliderSpeed=100 Slider1=0");
    EXPECT_EQ(link_.commands(), (Commands{{6, 500}, {9, 28}, {6, 500}, {9, 0}, {4, 0}, {5, 472}, {6, 472}, {5, 472},
                                          {1, 0}, {11, 1}, {3, 30}, {14, 250}}));

    // A VOR2 ignores the glideslope and calibrates downwards.
    d.close();
    act(shown(show<ConfigGaugeVOR>(12, kVOR2)),
        "SetToFromFlag_2 setGSflag_1 CmdSetIndicators cmdCalibrateDisk cmdRestCalibrateDisk");
    EXPECT_EQ(link_.commands(), (Commands{{12, 3}, {13, 0x3000}, {13, 0x1E5C}, {13, 0x2CB8}, {10, 0}}));
    EXPECT_EQ(std::tuple(IndicatorWord(ToFromFlag::From, true, kVOR1), IndicatorWord(ToFromFlag::None, false, kVOR1)),
              std::tuple(7, 1));
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

TEST_F(Dialogs, DmeLampsBrightnessPackedTestValuesReadApplyAndTheTestOffOfEveryClose)
{
    auto& d = dme();
    act(d, "SliderLightIntensity=15 cmdSetNight cmdSetDaymode DisplaysOff LightOn DisplaysOn OptionExternalOnOff "
           "OptionLocalOnOff CmdTestOn CmdTestOff");
    // As the dialog opens, no test value is shown.
    act(d, "ComdSetMiles cmdWriteKnots cmdsetMinutes CheckShowDistance CheckShowSpeed CheckShowTime ComdSetMiles");
    type(d, "boxDistance", " 1.23 ");
    act(d, "ComdSetMiles boxSpeed=999 cmdWriteKnots");
    EXPECT_EQ(takeSent(), (Commands{{13, 47}, {8, 192}, {13, 15}, {8, 128}, {8, 0}, {8, 64}, {8, 192}, {6, 1}, {6, 0},
                                    {10, 1}, {10, 0}, {4, 0x3123}, {3, 0x3456}, {5, 0x3078}, {4, 0x2123}, {4, 0x4123},
                                    {3, 0x0999}}));
    // Digits that would run into the flags, or no number at all: the rule.
    refused(d, "boxTime", {"1234", "1.2.3", "", ".5", "1 2"}, DisplayValueRule(QStringLiteral("time")),
            {"cmdsetMinutes"});
    EXPECT_TRUE(link_.sent.empty());
    d.close();

    // Read, Apply and the Test Off of every close.
    link_.clear();
    auto& r = dme(2, 1);
    EXPECT_TRUE(link_.sent.empty());
    answer(60, {{16, 3}});
    click(r, "CmdReadRadio");
    EXPECT_EQ(text(r, "RotarySwitchPosition"), "3");

    // Stored as opened; the move goes out although the gauge is not
    // connected, and the closing Test Off goes to the new GaugeID.
    link_.clear();
    act(r, "NewGaugeID=61 Command6");
    EXPECT_EQ(link_.newIDs, (Commands{{60, 61}}));
    EXPECT_EQ(link_.sent, (std::vector<SentCommand>{{61, 10, 0}}));
    EXPECT_EQ(Cfg.GaugeRecType[60], 0);
    EXPECT_EQ(fields(61), (Fields{113, 2, 3, 8, 27, 2, 1, 0, 0, 0, 0}));

    link_.clear();
    dme().close();
    EXPECT_FALSE(DefaultForm<ConfigDME>::loaded());
    EXPECT_EQ(link_.commands(), (Commands{{10, 0}}));
}

TEST_F(Dialogs, RmiOpeningWordsCalibrationTestSlidersLampsDmeDisplaysAndNeedleSources)
{
    auto& plain = rmi();
    EXPECT_EQ(takeSent(), (Commands{{13, 0x500}}));
    EXPECT_TRUE(checked(plain, "OptionHDG OptionNoDME OptionShowIfADFNo OptionVOR1Yel OptionVOR1Grn"));
    EXPECT_TRUE(hidden(plain, "FrameDME1") && hidden(plain, "FrameDME2"));
    EXPECT_EQ(text(plain, "Text2"), "Radio Magnetic Indicator");

    // The calibration wraps at the turn of the part it nudges.
    act(plain, "cmdResetCalibration NL10 NL10 cmdSetCalibration cmdResetCalibration NR1");
    EXPECT_TRUE(hidden(plain, "NR10"));
    EXPECT_EQ(plain.calibration().position, kCompassCardTurn);
    click(plain, "NL1");
    EXPECT_EQ(plain.calibration().position, 0);
    act(plain, "OptionCalibrateGreenNeedle cmdResetCalibration");
    EXPECT_TRUE(hidden(plain, "NL10") && !hidden(plain, "NR10"));
    click(plain, "NL1");
    EXPECT_EQ(plain.calibration().position, kRmiNeedleTurn);
    click(plain, "NR1");
    EXPECT_EQ(plain.calibration().position, 0);
    EXPECT_EQ(link_.commands(), (Commands{{10, 1}, {13, 0}, {11, 100}, {11, 100}, {12, 200}, {10, 0}, {10, 1}, {13, 0},
                                          {11, -10}, {11, 10}, {10, 2}, {13, 0}, {11, -10}, {11, 10}}));
    click(plain, "cmdClose");

    link_.clear();
    auto& full = rmi(7, 3);
    EXPECT_EQ(link_.commands(), (Commands{{13, 0x301}, {13, 0x400}}));
    EXPECT_TRUE(checked(full, "OptionCompass OptionHasDME OptionShowIfADFYes OptionVOR2Yel OptionVOR2Grn"));
    EXPECT_FALSE(hidden(full, "FrameDME1") || hidden(full, "FrameDME2"));
    act(full, "OptionShowIfADFNo OptionVOR1Grn Command6");
    EXPECT_EQ(fields(70), (Fields{130, 1, 1, 8, 39, 0, 5, 0, 31, 0, 1}));

    // Test sliders, lamps, DME displays and the needle sources read back.
    auto& d = shown(rmi(1));
    act(d, "SliderValue1=90 SliderValue1=359 SliderGreenNeedle=90 SliderYellowNeedle=90 SliderCompassSpeed=0 "
           "SliderNeedlesSpeed=100 SliderDMEIntensity=9 CmdSetIntensityNight LightOn OptionDisplaysOff LightOff "
           "cdSetFlag cmdWriteLeftDME CmdWriteRightDME CheckShowMERight CmdWriteRightDME");
    EXPECT_EQ(text(d, "boxYellowValue"), "90");
    EXPECT_EQ(takeSent(), (Commands{{5, 1152}, {5, 4595}, {6, 1080}, {6, 0x4438}, {3, 4240}, {4, 240}, {13, 0x209},
                                    {8, 0xC0}, {8, 0x40}, {8, 15}, {14, 1}, {15, 0x2123}, {15, 0x6456}, {15, 0x4AAA}}));
    refused(d, "BoxLeftDME", {"12345"}, DisplayValueRule(QStringLiteral("left DME value")), {"cmdWriteLeftDME"});
    EXPECT_TRUE(link_.sent.empty());

    answer(70, {{7, 1}});
    click(d, "CmdReadNeedleSelection");
    EXPECT_EQ(texts(d, "boxGRNselection boxYellowSelection"), "ADF VOR");
}

class EngineCluster : public Dialogs {
protected:
    void SetUp() override
    {
        Dialogs::SetUp();
        // Plates 0..4 fuel, 5..8 engines, 9..10 cockpit, 11 radios.
        for (int category : {3, 3, 3, 3, 3, 1, 1, 1, 1, 6, 6, 5})
            plate(category);
    }
    static void plate(int category)
    {
        const int p = Cfg.AddPlate();
        Cfg.PlateName[p] = "P" + std::to_string(p);
        Cfg.PlateValue[p][0] = category;
        Cfg.PlateCount = Integer(p + 1);
    }
    ConfigCessnaEngineCluster& open() { return shown(show<ConfigCessnaEngineCluster>(20, 8, 2, 3)); }
    static QComboBox* plates(QWidget& d, int needle)
    {
        return child<QComboBox>(d, ("ComboPlate_" + std::to_string(needle - 1)).c_str());
    }
    static void choosePlate(QWidget& d, int needle, int plate)
    {
        const QString item = QStringLiteral("%1.  P%2").arg(plate, 3, 10, QLatin1Char('0')).arg(plate);
        plates(d, needle)->setCurrentIndex(plates(d, needle)->findText(item));
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
        actOk(d, "NewGaugeID=30 CmdApply", kAssignmentIncorrect);
        ASSERT_TRUE(DefaultForm<ConfigCessnaEngineCluster>::loaded()) << needle;
        EXPECT_EQ(std::tuple(Cfg.GaugeRecFunction1[20], Cfg.GaugeRecType[20], link_.newIDs.size()), std::tuple(0, 8, 0u));
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

class Clocks : public Dialogs {
protected:
    ConfigBoeingClock& airliner(int options = 0, int timeMode = 0)
    {
        std::tie(Cfg.GaugeRecPlate1[23], Cfg.GaugeRecPlate2[23]) = std::tuple(options, timeMode);
        return shown(show<ConfigBoeingClock>(23, 104));
    }
    static ConfigCessnaClock& light(int syncMode = 0, int id = 17)
    {
        Cfg.GaugeRecPlate1[id] = Integer(syncMode);
        return show<ConfigCessnaClock>(id, 109);
    }
    static int syncMode(QWidget& d) { return child<QComboBox>(d, "ComboClockSyncMode")->currentIndex(); }

    testing::FakeClock clock_{QDateTime(QDate(2026, 12, 5), QTime(10, 0, 0))};
};

TEST_F(Clocks, AirlinerDateTimeWordsBrightnessSpeedAndTheNeedleCalibrationCounter)
{
    auto& d = airliner();
    click(d, "cmdSetTime");
    clock_.set(QDateTime(QDate(2000, 1, 1), QTime(18, 12, 16)));
    click(d, "cmdSetTime");
    EXPECT_EQ(takeSent(), (Commands{{15, 0}, {5, 36000}, {4, 27397}, {15, 0}, {5, -1}, {4, 65}}));
    EXPECT_EQ(TimeWordValue(SecondsOfDay(QTime(18, 12, 15))), 65535);
    EXPECT_EQ(DateWord(QDate(2032, 1, 1)), 32833 - 65536);

    act(d, "Slider1=100 Slider1=400 CmdBrightnessNight DisplayOn cmdBrightnessDay");
    QStringList shown;
    for (auto [start, button] : {std::pair{"1079", "NL1"}, {"0", "NR1"}, {"1075", "NL10"}, {"5", "NR10"}}) {
        act(d, QStringLiteral("Needledelta=%1 %2").arg(start, button));
        shown << text(d, "Needledelta");
    }
    EXPECT_EQ(shown, (QStringList{"0", "1079", "0", "1079"}));
    click(d, "cmdSetCalibration");
    auto* counter = child<QLineEdit>(d, "Needledelta");
    EXPECT_EQ(counter->palette().color(QPalette::Base), QColor(Qt::white));
    click(d, "cmdResetCalibration");
    EXPECT_EQ(std::tuple(counter->text(), counter->palette().color(QPalette::Base)),
              std::tuple("0", QColor(255, 192, 192)));
    EXPECT_EQ(takeSent(), (Commands{{3, 350}, {3, 50}, {13, 39}, {8, 64}, {8, 192}, {13, 7}, {8, 128}, {11, 33},
                                    {11, 31}, {11, 42}, {11, 22}, {12, 1079}, {10, 0}}));
    refused(d, "Needledelta", {"1080"}, kSecondsNeedleRule, {"cmdSetCalibration", "NL1"});
    EXPECT_TRUE(link_.sent.empty());
}

TEST_F(Clocks, AirlinerOptionsComeFromItsOwnRecordAndApplyMovesThem)
{
    auto& d = airliner(34, 1);
    EXPECT_EQ(text(d, "ComboClockSyncMode"), "FS time/date -> Clock");
    EXPECT_TRUE(checked(d, "OptionSecondsRealTime OptionShowUTC"));
    child<QComboBox>(d, "ComboClockSyncMode")->setCurrentIndex(3);
    act(d, "OptionSecondsElapsedTime OptionShowLocalTime");
    gauge(24, 104);  // the screen opened another gauge meanwhile
    d.Form_Activate();
    EXPECT_TRUE(checked(d, "OptionSecondsRealTime OptionShowUTC"));
    EXPECT_EQ(std::tuple(syncMode(d), link_.commands()), std::tuple(2, Commands{{14, 0}, {14, 1}}));
    act(d, "NewGaugeID=60 CmdApply");
    EXPECT_EQ(std::tuple(Cfg.GaugeRecPlate1[60], Cfg.GaugeRecPlate2[60], Cfg.GaugeRecFunction1[60]),
              std::tuple(34, 1, 10));
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[23], Cfg.GaugeRecPlate1[23]), std::tuple(0, 34));
    EXPECT_EQ(std::tuple(Session.GaugeRecBusStatus[23], Session.GaugeRecBusStatus[60]), std::tuple(1, 2));

    // A sync mode the list cannot show is kept; the needle bit follows the option.
    auto& unknown = airliner(7);
    EXPECT_EQ(syncMode(unknown), -1);
    act(unknown, "OptionSecondsRealTime CmdApply");
    EXPECT_EQ(Cfg.GaugeRecPlate1[23], 39);
}

TEST_F(Clocks, LightTimesTemperaturesVoltageAndOptionsReachTheClockAndTypedFaultsSendNothing)
{
    clock_.set(QDateTime(QDate(2026, 3, 1), QTime(10, 20, 30)));
    auto& d = light();
    click(d, "CmdSetUT");
    EXPECT_EQ(texts(d, "UniversalTimeHours UniversalTimeMinutes UniversalTimeSeconds LocalTimeMinutes LocalTimeSeconds"),
              "10 20 30 20 30");
    clock_.set(QDateTime(QDate(2026, 3, 1), QTime(23, 59, 59)));
    act(d, "CmdSetUT FThrs=01 FTmin=30 LocalTimeHours=7 boxVoltLow=5 Command1 cmdSetLT cmdSetVoltage cmdSetCelcius "
           "cmdSetFahrenheit boxCelcius=-3.5 cmdSetCelcius");
    EXPECT_EQ(takeSent(),
              (Commands{{5, 37230}, {5, -20864}, {6, 5400}, {4, 7}, {9, 6149}, {11, 20}, {12, 34}, {11, -4}}));
    actOk(d, "LocalTimeHours=x cmdSetLT", kLocalHoursRule);
    actOk(d, "FTmin=75 Command1", kFlightTimeRule);
    actOk(d, "boxVoltHigh=256 cmdSetVoltage", kVoltageRule);
    actOk(d, "boxFahrenheit= cmdSetFahrenheit", kTemperatureRule);
    EXPECT_TRUE(link_.sent.empty());

    act(d, "OptionSecondsBlinkerDot OptionSecondsBlinkerSpace OptionSecondsBlinkerdisabled OptionSounderDisable "
           "OptionSounderEnable DisplayOff LightOn DisplayOn LightOff");
    EXPECT_EQ(link_.commands(),
              (Commands{{13, 165}, {13, 32}, {13, 0}, {10, 0}, {10, 1}, {8, 0}, {8, 64}, {8, 192}, {8, 128}}));
    link_.replies[17] = testing::SimControlUnit::reply(17, 109, QByteArray::fromHex("0000000E000000 0C0509 00 002D03"));
    click(d, "CmdReadAirPress");
    EXPECT_EQ(texts(d, "LocalTimeHours UniversalTimeHours LocalTimeMinutes LocalTimeSeconds FThrs FTmin FTsec"),
              "14 12 5 9 0 45 3");
}

TEST_F(Clocks, LightSyncModeComesFromItsOwnRecordAndAnUnknownOneIsKept)
{
    auto& d = light(2);
    EXPECT_EQ(text(d, "ComboClockSyncMode"), "FS time -> Clock");
    child<QComboBox>(d, "ComboClockSyncMode")->setCurrentIndex(1);
    act(d, "NewGaugeID=40 CmdApply");
    EXPECT_EQ(fields(40), (Fields{109, 1, 1, 8, 10, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(link_.newIDs, (Commands{{17, 40}}));

    // Activated after the screen moved on to another gauge: still its own.
    auto& unknown = light(5, 18);
    gauge(19, 109);
    Cfg.GaugeRecPlate1[19] = 1;
    unknown.Form_Activate();
    EXPECT_EQ(syncMode(unknown), -1);
    click(unknown, "CmdApply");
    EXPECT_EQ(std::tuple(Cfg.GaugeRecPlate1[18], Cfg.GaugeRecFunction1[19]), std::tuple(5, 0));
}

class SingleNeedle : public Dialogs {
protected:
    void SetUp() override
    {
        Dialogs::SetUp();
        // Two engine functions that drive gauges, one that does not, and
        // plates of two categories.
        for (auto [n, name, category, signal] : {std::tuple{40, "RPM", 1, kSignalGauge}, {41, "EGT", 1, kSignalMacro},
                                                 {42, "Switch", 1, 1}, {43, "Flaps", 2, kSignalGauge}}) {
            Cfg.FunctionNames[n] = name;
            Cfg.FunctionFullName[n] = std::string(name) + " full";
            std::tie(Cfg.FunctionCategory[n], Cfg.FunctionSignalType[n]) = std::tuple(category, signal);
        }
        for (auto [name, category] : {std::pair{"Tacho", 1}, {"Flaps", 2}, {"EGT", 1}}) {
            const int p = Cfg.AddPlate();
            Cfg.PlateName[p] = name;
            Cfg.PlateValue[p][0] = category;
            Cfg.PlateCount = Integer(p + 1);
        }
    }
    ConfigGaugeSN& open(int model = 1)
    {
        std::tie(Cfg.GaugeRecCategory1[12], Cfg.GaugeRecFunction1[12], Cfg.GaugeRecSeqNr1[12], Cfg.GaugeRecPlate1[12]) =
            std::tuple(1, 40, 2, 2);
        auto& d = show<ConfigGaugeSN>(12, 1, model, 1, 2, &ConfigGaugeSN::GaugeSNInitialize);
        d.Form_Activate();
        return shown(d);
    }
    static QString items(QWidget& d, const char* combo)
    {
        QStringList texts;
        auto* c = child<QComboBox>(d, combo);
        for (int i = 0; i < c->count(); ++i)
            texts << c->itemText(i);
        return texts.join(QLatin1Char('|'));
    }
};

TEST_F(SingleNeedle, EndStopQuestionOncePerActivationDirectionSpecialCommandsAndTheCalibrationCounter)
{
    auto& d = open();
    click(d, "cmdCentre");
    messages_.expectYesNo(kEndStopQuestion, true);
    messages_.expectOk("Needle center will be set to 540");
    act(d, "SliderValue1=946 SliderValue1=1000 cmdCentre");
    EXPECT_EQ(link_.commands(), (Commands{{5, 472}, {5, 946}, {5, 1000}, {5, 540}}));

    // A new activation asks again; No sends nothing, later moves go out.
    d.Form_Activate();
    link_.clear();
    messages_.expectYesNo(kEndStopQuestion, false);
    act(d, "SliderValue1=950 SliderValue1=960 cmdCentre");
    EXPECT_EQ(link_.commands(), (Commands{{5, 960}, {5, 472}}));

    // High resolution: the dial ends at 3780.
    d.Form_Activate();
    link_.clear();
    act(d, "cmdSetHigh SliderValue1=3780");
    messages_.expectYesNo(kEndStopQuestion, true);
    messages_.expectOk("Needle center will be set to 2160");
    act(d, "SliderValue1=3781 CmdLowRes");
    EXPECT_EQ(link_.commands(), (Commands{{9, 1}, {5, 3780}, {5, 3781}, {9, 0}, {5, 1079}}));
    // Model 1 shows no resolution or calibration frames.
    EXPECT_TRUE(hidden(d, "Frame52mmModel") && hidden(d, "FrameCommands"));
    click(d, "CmdClose");

    // Model 2: direction, special commands and the calibration counter.

    auto& two = open(2);
    EXPECT_FALSE(hidden(two, "Frame52mmModel"));
    act(two, "Option4 Option3 CmdExtra1 CmdExtra2 CmdExtra3 CmdExtra4 boxCalibrationValue=1075 CmdUpLargeMove");
    EXPECT_EQ(text(two, "boxCalibrationValue"), "0");
    act(two, "boxCalibrationValue=5 cmdDwnLargeMove");
    EXPECT_EQ(text(two, "boxCalibrationValue"), "1079");
    act(two, "CmdMoveUpSmallMove cmdDwnSmallMove boxCalibrationValue=100 cmdSetCalibration CmdTestCalibration "
           "SliderValue1=300 cmdResetCalibration");
    EXPECT_EQ(text(two, "boxCalibrationValue"), "0");
    EXPECT_EQ(takeSent(), (Commands{{4, 1}, {4, 0}, {14, 0}, {14, 1}, {14, 2}, {14, 3}, {11, 40}, {12, 40}, {11, 4},
                                    {12, 4}, {13, 400}, {1, 0}, {5, 300}, {13, 0}, {5, 0}, {1, 0}}));

    // A value whose frame would not fit 16 bits, or no number: the rule.
    refused(two, "boxCalibrationValue", {"16384", "abc"}, kCalibrationValueRule, {"cmdSetCalibration"});
    click(two, "cmdSetHigh");
    actOk(two, "cmdResetCalibration", kLowResolutionOnly);
    EXPECT_EQ(link_.commands(), (Commands{{9, 1}}));
}

TEST_F(SingleNeedle, ListsFollowTheCategoryApplyNeedsAllFourAndCalibrateHandsOverThisGauge)
{
    auto& d = open();
    EXPECT_EQ(texts(d, "ComboClass GaugeFunction FunctionFullName ComboSeqNr ComboPlate"),
              "Engines 040.  RPM RPM full 2 002.  EGT");
    EXPECT_EQ(items(d, "GaugeFunction") + "/" + items(d, "ComboPlate"), "040.  RPM|041.  EGT/000.  Tacho|002.  EGT");
    // A macro function takes no plate.
    choose(d, "GaugeFunction", "041.  EGT");
    EXPECT_EQ(child<QComboBox>(d, "ComboPlate")->currentIndex(), -1);

    Session.ConfigChanged = 0;
    choose(d, "ComboClass", "Surfaces");
    EXPECT_EQ(std::tuple(Cfg.GaugeRecCategory1[12], Session.ConfigChanged), std::tuple(2, 1));
    EXPECT_EQ(items(d, "ComboPlate"), "001.  Flaps");
    // Cancel keeps the category that was chosen.
    click(d, "CmdClose");
    EXPECT_EQ(Cfg.GaugeRecCategory1[12], 2);

    // Function 255: the lists stay empty and the record untouched.
    std::tie(Cfg.GaugeRecFunction1[13], Cfg.GaugeRecCategory1[13]) = std::tuple(kNoFunctionList, 3);
    auto& fixed = show<ConfigGaugeSN>(13, 4, 1, 1, 2, &ConfigGaugeSN::GaugeSNInitialize);
    EXPECT_EQ(child<QComboBox>(fixed, "GaugeFunction")->count(), 0);
    choose(fixed, "ComboClass", "Engines");
    EXPECT_EQ(Cfg.GaugeRecCategory1[13], 3);

    // Apply needs a category with a function, then a plate, and writes all four.
    auto& a = open();
    actOk(a, "ComboClass=Fuel CmdApply", kNoCategoryOrFunction);
    act(a, "ComboClass=Surfaces");
    choose(a, "GaugeFunction", "043.  Flaps");
    child<QComboBox>(a, "ComboPlate")->setCurrentIndex(-1);
    actOk(a, "CmdApply", kNoPlate);
    EXPECT_EQ(Cfg.GaugeRecFunction1[12], 40);
    choose(a, "ComboPlate", "001.  Flaps");
    act(a, "ComboSeqNr=3 CmdApply");
    EXPECT_EQ(fields(12), (Fields{1, 1, 1, 2, 43, 3, 1, 0, 0, 0, 0}));
    EXPECT_FALSE(DefaultForm<ConfigGaugeSN>::loaded());

    // Calibrate hands the needle to the plate window with this gauge.
    auto& c = open();
    CurrentGaugeID = 99;  // another dialog was opened meanwhile
    click(c, "cmdAdvanced");
    EXPECT_EQ(std::tuple(CalNeedleNr, CalFunctionName, CalCategoryName, CalFunctionNr, CalSeqNr, CalPlateNr),
              std::tuple(1, "040.  RPM", "Engines", 40, 2, 2));
    EXPECT_EQ(std::tuple(CurrentGaugeID, DefaultForm<frmCalibrate>::loaded()), std::tuple(12, true));

    // No plate chosen: plate 0 is handed over and written at once.
    child<QComboBox>(c, "ComboPlate")->setCurrentIndex(-1);
    Cfg.GaugeRecPlate1[12] = 2;
    click(c, "cmdAdvanced");
    EXPECT_EQ(std::tuple(CalPlateNr, Cfg.GaugeRecPlate1[12]), std::tuple(0, 0));

    actOk(c, "ComboClass=Fuel cmdAdvanced", kAssignBeforeCalibrating);
}

TEST_F(SingleNeedle, NeedleListsAndTheDisplayGaugesTestValueScaledWithinTheDisplay)
{
    ConfigTables t;
    LoadConstantTables(t);
    t.FunctionCategory[60] = t.FunctionCategory[70] = 3;
    t.FunctionSignalType[60] = t.FunctionSignalType[70] = kSignalGauge;
    t.FunctionCategory[80] = 4;
    t.FunctionSignalType[80] = kSignalMacro;
    EXPECT_EQ(GaugeFunctionItems(t, 3).numbers, (std::vector<int>{60, 70}));
    EXPECT_EQ(GaugeFunctionItems(t, 4).numbers, (std::vector<int>{80}));
    EXPECT_EQ(std::tuple(ListNumber("070.  x"), ListNumber("")), std::tuple(70, 0));
    EXPECT_TRUE(BeyondStandardDial(946, kLowResolutionTop));
    EXPECT_FALSE(BeyondStandardDial(3780, kHighResolutionTop));

    EXPECT_EQ(DisplayTestTenths(7, 0, 130), 10);  // 9.6 tenths
    EXPECT_EQ(DisplayTestTenths(944, 20, 120), 1000);  // the minimum only narrows the span
    EXPECT_EQ(DisplayTestTenths(944, 200, 100), 0);  // a minimum above the maximum
    EXPECT_EQ(DisplayTestText(10) + " " + DisplayTestText(1000), "01.0 100");
}

TEST_F(SingleNeedle, DisplayGaugeSendsNeedleDisplayAndLightsAndStoresItsAssignment)
{
    std::tie(Cfg.GaugeRecCategory1[21], Cfg.GaugeRecFunction1[21]) = std::tuple(1, 40);
    auto& d = show<ConfigGaugeSD>(21, 2, 2, 1, 2, &ConfigGaugeSD::GaugeSDinitialize);
    EXPECT_TRUE(link_.sent.empty());  // it opens with the light off and the display on
    EXPECT_TRUE(checked(d, "DisplayOn") && hidden(d, "FrameBacklightMode"));

    auto* needle = child<QSlider>(d, "SliderValue1");
    needle->setValue(944);
    EXPECT_EQ(text(d, "ActValDisp"), "130");
    // A drag moves the needle; the display follows when it settles.
    needle->setSliderDown(true);
    needle->setValue(100);
    needle->setSliderDown(false);
    act(d, "cmdCentre DisplayOff LightOn DisplayOn LightOff Option4 SliderSpeed=100 MaxValDisp=1500");
    EXPECT_EQ(text(d, "MaxValDisp"), "999");
    EXPECT_EQ(link_.commands(), (Commands{{5, 944}, {6, 0x130B}, {5, 100}, {5, 100}, {6, 0x13A8}, {5, 472}, {6, 0x65A0},
                                          {8, 15}, {8, 64}, {8, 192}, {8, 143}, {4, 1}, {3, 300}}));
    act(d, "ComboSeqNr=4 CmdApply");
    EXPECT_EQ(fields(21), (Fields{2, 2, 1, 1, 40, 4, 0, 0, 0, 0, 0}));
}

class DualNeedle : public Dialogs {
protected:
    static ConfigGaugeDN& open(int category1 = 1, int category2 = 1)
    {
        for (auto [f, category] : {std::pair{40, 1}, {50, 3}}) {  // Engines, Fuel
            Cfg.FunctionNames[f] = "F" + std::to_string(f);
            std::tie(Cfg.FunctionCategory[f], Cfg.FunctionSignalType[f]) = std::tuple(category, kSignalGauge);
            Cfg.PlateValue[Cfg.AddPlate()][0] = category;
        }
        Cfg.PlateCount = 2;
        GaugeRecord{5, 4, 1, category1, 40, 2, 0, category2, 40, 3, 0}.Write(Cfg, 30, Field::All);
        auto& d = show<ConfigGaugeDN>(30, 5, 4, 1, 2, &ConfigGaugeDN::GaugeDNInitialize);
        d.Form_Activate();
        return d;
    }
};

TEST_F(DualNeedle, OneEndStopQuestionPerActivationForBothNeedlesAndTheDirectionWord)
{
    auto& d = open();
    click(d, "Command1");
    messages_.expectYesNo(kEndStopQuestion, true);
    messages_.expectOk("Needle center will be set to 540");
    act(d, "SliderValue1=946 SliderValue2=1000 Command2");
    // Anew after an activation, in needle 2's words.
    d.Form_Activate();
    messages_.expectYesNo(kEndStopQuestionNeedle2, false);
    act(d, "SliderValue2=950 SliderValue1=1000 Command1 Needle1CCW cmdSetDirection1 Needle2CCW CmdSetDirection2 "
           "Needle1CW cmdSetDirection1 SliderSpeed=0");
    EXPECT_EQ(link_.commands(), (Commands{{5, 472}, {5, 946}, {6, 1000}, {6, 540}, {5, 1000}, {5, 472}, {4, 1},
                                          {4, 257}, {4, 256}, {3, 4200}}));
}

TEST_F(DualNeedle, ApplyAsksEverythingFirstAndEachNeedleHandsOverItsOwnPlate)
{
    // Needle 1's stored category is beyond the list: nothing shows for it.
    auto& d = open(14, 1);
    const Fields before = fields(30);
    messages_.expectYesNo(kNoAssignmentNeedle1, true);
    messages_.expectYesNo(kNoPlateNeedle1, false);
    click(d, "CmdApply");
    EXPECT_EQ(fields(30), before);

    // Needle 2's category reaches the record only on Apply.
    act(d, "ComboClass1=Fuel");
    EXPECT_EQ(Cfg.GaugeRecCategory2[30], 1);
    choose(d, "GaugeFunction1", "050.  F50");
    choose(d, "ComboPlate1", "001.  ");
    click(d, "cmdPlate2");
    EXPECT_EQ(std::tuple(CalNeedleNr, CalFunctionNr, CalPlateNr, Cfg.GaugeRecPlate2[30]), std::tuple(2, 50, 1, 1));

    messages_.expectYesNo(kNoAssignmentNeedle1, true);
    messages_.expectYesNo(kNoPlateNeedle1, true);
    act(d, "NewGaugeID=31 CmdApply");
    EXPECT_EQ(fields(30), Fields(11, 0));
    EXPECT_EQ(fields(31), (Fields{5, 4, 1, 0, 0, 2, 0, 3, 50, 3, 1}));
}

} // namespace
} // namespace varnet
