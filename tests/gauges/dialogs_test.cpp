#include "dialog_fixture.h"
#include "gauges/onthebus_fixture.h"
#include "bus/gaugeframes.h"
#include "config/gaugetypes.h"
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
#include "gauges/platemodel.h"
#include "gauges/radiocodecs.h"
#include "gauges/rmi.h"
#include "gauges/singleneedle.h"
#include "gauges/timewords.h"
#include "gauges/vorindicator.h"
#include "support/fake_clock.h"

#include <QCheckBox>
#include <QListWidget>
#include <QTimer>

#include <cmath>
#include <limits>

namespace varnet {
namespace {

using testing::act;
using testing::Commands;
using testing::hexBytes;
using testing::SentCommand;
using testing::SimControlUnit;
using Fields = std::vector<int>;
using Strings = std::vector<std::string>;

// Every section of the frame; writes function 1 := 42, sends 14/0 on closing.
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

class Dialogs : public testing::DialogTest {
protected:
    // The test dialog for gauge 5 (function 1 = 7, plate 2 = 9), checked to be on `id`.
    static TestDialog& kit(int id = 5, int busStatus = -1)
    {
        if (busStatus >= 0) {
            gauge(5, 103, 3, 4, busStatus);
            std::tie(Cfg.GaugeRecFunction1[5], Cfg.GaugeRecPlate2[5]) = std::tuple(7, 9);
        }
        OpenDialog<TestDialog>();
        EXPECT_EQ(DefaultForm<TestDialog>::get().gaugeID(), id);
        return DefaultForm<TestDialog>::get();
    }
    static bool kitLoaded() { return DefaultForm<TestDialog>::loaded(); }
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
    static ConfigGaugeDN& dualNeedle(int category1 = 1, int category2 = 1, int function2 = 40)
    {
        for (auto [f, category] : {std::pair{40, 1}, {50, 3}}) {
            function(f, "F" + std::to_string(f), category, kSignalGauge);
            plate(category);
        }
        GaugeRecord{5, 4, 1, category1, 40, 2, 0, category2, function2, 3, 0}.Write(Cfg, 30, Field::All);
        auto& d = show<ConfigGaugeDN>(30, 5, 4, 1, 2, &ConfigGaugeDN::GaugeDNInitialize);
        d.Form_Activate();
        return d;
    }
    template <typename T>
    T& shown(T& dialog)
    {
        link_.clear();
        return dialog;
    }
};


TEST_F(Dialogs, KitApplyPoliciesRefusalsSetBesideNewGaugeIDAndUninstall)
{
    act(kit(5, 2), "NewGaugeID=9 CmdApply");
    EXPECT_EQ(link_.newIDs, (Commands{{5, 9}}));
    EXPECT_EQ(fields(9), (Fields{103, 3, 4, 0, 42, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[5], Cfg.GaugeRecPlate2[5]), std::tuple(0, 9));
    EXPECT_EQ(std::tuple(Session.GaugeRecBusStatus[5], Session.GaugeRecBusStatus[9], Session.ConfigChanged),
              std::tuple(1, 2, 1));
    EXPECT_EQ(link_.sent, (std::vector<SentCommand>{{9, 6, 1}, {9, 14, 0}}));
    EXPECT_FALSE(kitLoaded());

    link_.clear();
    messages_.expectOk(kNotConnected);
    act(kit(5, 1), "NewGaugeID=10 CmdApply");
    EXPECT_TRUE(link_.newIDs.empty());
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[5], Cfg.GaugeRecFunction1[5], Cfg.GaugeRecType[10]), std::tuple(103, 42, 0));


    link_.accept = false;
    messages_.expectOk(kNewIDNotWritten);
    act(kit(5, 2), "NewGaugeID=12 CmdApply");
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[12], Cfg.GaugeRecType[5], Session.GaugeRecBusStatus[5]),
              std::tuple(0, 103, 2));

    link_.accept = true;
    link_.clear();
    TestDialog& d = kit(5, 2);
    d.valid = false;
    click(d, "CmdApply");
    EXPECT_EQ(Cfg.GaugeRecFunction1[5], 7);
    EXPECT_TRUE(kitLoaded());

    d.valid = true;
    Cfg.GaugeRecType[13] = 1;  // the bus search found a gauge there meanwhile
    actOk(d, "NewGaugeID=13 CmdApply", kNewIDRule);
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[5], Cfg.GaugeRecFunction1[5], link_.newIDs.size(), kitLoaded()),
              std::tuple(103, 7, 0u, true));

    act(d, "NewGaugeID=10 CmdSetNewGaugeID");
    EXPECT_EQ(std::tuple(d.gaugeID(), text(d, "GaugeID")), std::tuple(10, "10"));
    EXPECT_EQ(fields(10), (Fields{103, 3, 4, 0, 7, 0, 0, 0, 0, 0, 9}));
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[5], Session.GaugeRecBusStatus[10]), std::tuple(0, 2));
    auto* free = child<QComboBox>(d, "NewGaugeID");
    EXPECT_EQ(std::tuple(free->findText("10"), free->currentText()), std::tuple(-1, QString()));
    EXPECT_NE(free->findText("5"), -1);

    Cfg.GaugeRecFunction2[5] = 8;
    messages_.expectYesNoDefaultNo(kUninstallQuestion, false);
    TestDialog& u = kit(5, 2);
    click(u, "CmdUninstall");
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[5], kitLoaded()), std::tuple(103, true));
    messages_.expectYesNoDefaultNo(kUninstallQuestion, true);
    click(u, "CmdUninstall");
    EXPECT_EQ(fields(5), (Fields{0, 3, 4, 0, 0, 0, 0, 0, 0, 0, 9}));
    EXPECT_EQ(std::tuple(Session.ConfigChanged, kitLoaded()), std::tuple(1, false));
}

TEST_F(Dialogs, KitEveryCloseIsCancelTheSameGaugeRaisesAndTheKitsWordsAndReplies)
{
    click(kit(5, 2), "CmdClose");
    EXPECT_FALSE(kitLoaded());
    kit().close();  // the title bar
    EXPECT_FALSE(kitLoaded());
    kit();
    CloseOpenDialogs();
    EXPECT_FALSE(kitLoaded());
    EXPECT_EQ(std::tuple(link_.sent, Cfg.GaugeRecFunction1[5]), std::tuple(std::vector<SentCommand>(3, {5, 14, 0}), 7));

    link_.clear();
    TestDialog* first = &kit();
    OpenDialog<TestDialog>();
    EXPECT_EQ(&DefaultForm<TestDialog>::get(), first);
    EXPECT_TRUE(link_.sent.empty());
    gauge(6, 103);
    kit(6);
    EXPECT_EQ(link_.sent, (std::vector<SentCommand>{{5, 14, 0}}));
    // The dialog keeps its gauge whatever the screen opens next.
    CurrentGaugeID = 77;
    click(DefaultForm<TestDialog>::get(), "LightOn");
    EXPECT_EQ(link_.sent.back(), (SentCommand{6, 8, 64}));

    TestDialog& d = kit(5, 2);
    link_.clear();
    act(d, "LightOn LightOff DisplayOn LightOn CmdSetBacklight SliderBacklight=9");  // the backlight with nothing set
    child<QCheckBox>(d, "CheckSetDefault")->setChecked(true);
    act(d, "OptionAlwaysOn CmdSetBacklight SliderSpeed=15");
    EXPECT_EQ(text(d, "BoxSpeed"), "15");
    EXPECT_EQ(link_.commands(), (Commands{{8, 64}, {8, 15}, {8, 143}, {8, 192}, {8, 0x50}, {8, 0x179}, {3, 200}}));

    EXPECT_EQ(BacklightWord({15, true, PowerOnLight::AlwaysOn, true}, true), 0x1FF);
    EXPECT_EQ(BacklightWord({0, false, PowerOnLight::Off}), 0x450);

    const QByteArray reply = statusReply(12, {{9, 0xFF}, {10, 0x38}});
    ASSERT_TRUE(ReplyOf(reply, 12));
    EXPECT_FALSE(ReplyOf(reply, 13) || ReplyOf(reply.left(24), 12));
    EXPECT_FALSE(ReplyOf(QByteArray(reply).replace(24, 1, "\0", 1), 12));  // unframed
    const Reply r(reply);
    EXPECT_EQ(std::tuple(r.byte(2), r.word(10, 11), r.signedWord(10, 11), r.byte(26)), std::tuple(12, 0xFF38, -200, 0));
}

TEST(DialogNumbers, ReadersRoundingRangeRulesAndRadioCodes)
{
    EXPECT_EQ(std::tuple(RoundHalfEven(2.5), RoundHalfEven(3.5), RoundHalfEven(-2.5), RoundHalfEven(1e30)),
              std::tuple(2, 4, -2, std::numeric_limits<long long>::max()));
    EXPECT_EQ(std::tuple(LenientNumber("12 mS"), LenientNumber("x"), LenientNumber(QString(400, u'9') + "x"),
                         LenientNumber("-0.5e999"), LenientNumber("1e-999")),
              std::tuple(12, 0, HUGE_VAL, -HUGE_VAL, 0));  // beyond a double is beyond every range, not 0
    EXPECT_FALSE(StrictNumber("12 mS"));

    testing::ScriptedMessages boxes;
    const QString rule = RangeRule("Needledelta", 0, 65535);
    EXPECT_EQ(rule, "Needledelta must be a whole number between 0 and 65535");
    EXPECT_EQ(ReadWholeNumber("65535", 0, 65535, rule), 65535);
    for (const char* bad : {"65536", "-1", "1.5", "", "x"}) {
        boxes.expectOk(rule);
        EXPECT_FALSE(ReadWholeNumber(bad, 0, 65535, rule)) << bad;
    }

    for (auto [typed, word] : {std::pair{"118,000", 18000}, {"118000", 18000}, {" 138,975 ", 38975}, {"25", 25}})
        EXPECT_EQ(ComNavWord(typed), word) << typed;
    for (const char* bad : {"", "118.0", "abc", "-5", "100000", "170000"})
        EXPECT_FALSE(ComNavWord(bad)) << bad;
    EXPECT_EQ(ComNavText(21000) + " " + ComNavText(8000) + " " + KilohertzText(25), "121,000 108,000 000,025");
    for (auto [typed, word] : {std::pair{"100.0", 1000}, {"999.9", 9999}, {"1700", 17000}})
        EXPECT_EQ(AdfWord(typed), word) << typed;
    for (const char* bad : {"", "x", "-1", "6554"})
        EXPECT_FALSE(AdfWord(bad)) << bad;
    EXPECT_EQ(std::tuple(TransponderWord("7777", CodePacking::Octal), TransponderWord("1200", CodePacking::Octal),
                         TransponderWord("1200", CodePacking::Nibbles)),
              std::tuple(4095, 640, 0x1200));
    boxes.expectOk(kCodeNotFourDigits);
    EXPECT_FALSE(TransponderWord("128", CodePacking::Octal));
    boxes.expectOk(kCodeNotOctal);
    EXPECT_FALSE(TransponderWord("1284", CodePacking::Nibbles));
    EXPECT_EQ(NibbleDigits(0x12, 0x00) + " " + NibbleDigits(0x77, 0x77), "1200 7777");
}


TEST_F(Dialogs, ADFPointerCalibrationWrapsARefusedDeltaSendsNothingAndApplyWritesFunction32)
{
    auto& d = show<ConfigADF>(30, 108);
    act(d, "cmdResetCalibrationPointer NR1 NR1 NR1");
    EXPECT_EQ(text(d, "Needledelta"), "4309");
    act(d, "Needledelta=4300 cmdNL10");
    EXPECT_EQ(text(d, "Needledelta"), "0");
    act(d, "Needledelta=125 cmdSetPointerCalibration cmdTestPointerCalibration cmdCalibrateCompass SliderValue1=90 "
           "SliderSpeed=0");
    EXPECT_EQ(takeSent(), (Commands{{9, 0}, {1, 0}, {6, -5}, {6, -5}, {6, -5}, {6, 50}, {9, 125}, {1, 0}, {11, 1},
                                    {5, 1079}, {5, 1079}, {3, 310}}));
    refused(d, "Needledelta", {"12x", "4320"}, kPointerDeltaRule, {"cmdSetPointerCalibration", "NL1"});
    EXPECT_EQ(std::tuple(CompassCourse(1), CompassCourse(2)), std::tuple(0, 359));

    std::tie(Cfg.GaugeRecPlate1[30], Cfg.GaugeRecFunction2[30], Cfg.GaugeRecPlate2[30]) = std::tuple(7, 5, 9);
    click(d, "CmdApply");
    EXPECT_EQ(fields(30), (Fields{108, 1, 1, 0, 32, 0, 0, 0, 0, 0, 9}));
}

TEST_F(Dialogs, HeadingStoredWordChecksItsPreferencesApplyWritesItsOwnGaugeCalibrationWrapsAndTestSliders)
{
    Cfg.GaugeRecPlate2[21] = 31;
    auto& d = show<ConfigDG>(21, 105, 3, 2);
    EXPECT_EQ(link_.commands(), (Commands{{9, 8}, {9, 40}}));
    EXPECT_TRUE(checked(d, "UseSwitch1 UseSwitch2 CheckUseGyroDrift OptionShowCompass CheckReversCompassDirection"));
    EXPECT_EQ(std::tuple(texts(d, "LabelHeadingLeft LabelHeadingRight"), Cfg.GaugeRecPlate2[21]), std::tuple("W E", 31));
    link_.replies[21] = SimControlUnit::reply(21, 105, QByteArray::fromHex("0000000438000870"));
    click(d, "cmdReadStatus");
    EXPECT_EQ(texts(d, "boxCurrentHeading boxCurrentBug"), "090.0 180.0");
    click(d, "CmdClose");

    Cfg.GaugeRecPlate2[21] = 0;
    auto& a = shown(show<ConfigDG>(21, 105, 3, 2));
    Cfg.GaugeRecCategory2[21] = 4;
    act(a, "OptionShowCompass CheckReversCompassDirection CheckUseHeadingBug");
    gauge(22, 105);  // the screen opened another gauge meanwhile
    a.Form_Activate();
    click(a, "CmdApply");
    EXPECT_EQ(fields(21), (Fields{105, 3, 2, 8, 7, 1, 0, 4, 11, 1, 24}));
    EXPECT_EQ(std::tuple(Cfg.GaugeRecPlate2[22], DefaultForm<ConfigDG>::loaded()), std::tuple(0, false));
    EXPECT_EQ(link_.sent, (std::vector<SentCommand>{{21, 9, 0}}));

    Cfg.GaugeRecPlate2[21] = 0;
    act(shown(show<ConfigDG>(21, 105, 3, 2)), "BR1 SetBug DL10 SetDisk ResetCalibration DR1 DR1 SetDisk BL10 SetBug "
                                       "cmdRecalibrate SliderValue1=90 CheckReversCompassDirection SliderValue1=0 "
                                       "SliderValue2=30 SliderSpeed=0");
    EXPECT_EQ(link_.commands(), (Commands{{11, -2}, {13, 4319}, {10, -50}, {12, 4319}, {14, 0}, {10, 5}, {10, 5},
                                          {12, 1090}, {11, 50}, {13, 1130}, {1, 0}, {5, 1080}, {5, 4320}, {6, 360},
                                          {3, 4240}}));
    EXPECT_EQ(HeadingDegreesText(4319), "359.9");
}

TEST_F(Dialogs, AnalogueAltimeterSettingsWordsTestSlidersApplyPressuresCalibrationAndTheStatusPoll)
{
    auto& d = analogueAltimeter(2, -1, 1);
    // The knob bit of a unit choice counts from version 4.
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

    auto& p = analogueAltimeter();
    act(p, "boxAirPress=29.92 cmdWriteAirPress boxAirPress=32.05 cmdWriteAirPress");
    refused(p, "boxAirPress", {"100", "abc", "29,92", "99.999"}, kAirPressureRule, {"cmdWriteAirPress"});
    act(p, "Option2 boxAirPress=998.75 cmdWriteAirPress");
    EXPECT_EQ(link_.commands(), (Commands{{12, 2992}, {12, 3205}, {5, 1}, {12, 998}}));
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
    p.close();

    auto& poll = analogueAltimeter(1, 0, 0, true);
    answer(41, {{15, 1}});
    poll.TimerScan().tick();  // a reply shows at the tick after its request
    poll.TimerScan().tick();
    EXPECT_EQ(text(poll, "boxStatus"), "Busy moving Needle(s)");
    answer(41, {{15, 0}});
    act(poll, "SliderValue1=500");
    link_.clear();
    poll.TimerScan().tick();
    // The status request carries the altitude under test.
    EXPECT_EQ(std::tuple(text(poll, "boxStatus"), link_.commands().front()), std::tuple("Ready", std::pair{7, 500}));

    ASSERT_TRUE(waitUntil([&] { return link_.sent.size() >= 3; }, 1000)) << "the poll runs every 200 ms";
    poll.close();
    EXPECT_FALSE(DefaultForm<ConfigAnalogueAltimeter>::loaded());
    const std::size_t sent = link_.sent.size();
    waitMs(450);
    EXPECT_EQ(link_.sent.size(), sent);
}

TEST_F(Dialogs, DigitalAltimeterOpeningUnitApplyUninstallNeedleOffsetIntensitiesAndLights)
{
    for (auto [text, inHg, word] : {std::tuple{"29.92", true, 2992}, {"0.29", true, 29}, {" 29.929 ", true, 2992},
                                    {"-0", true, 0}, {"1013.9", false, 1013}, {"9999", false, 9999}})
        EXPECT_EQ(AirPressureWord(text, inHg), word) << text;
    EXPECT_EQ(AirPressureText(3000, true) + " " + AirPressureText(1013, false), "30 1013");

    act(digitalAltimeter(2, 4, true), "Option1 cmdClose");
    EXPECT_EQ(link_.commands(), (Commands{{5, 1}, {5, 273}, {14, 1}, {5, 256}}));
    EXPECT_EQ(std::tuple(Cfg.GaugeRecModel[12], Session.ConfigChanged), std::tuple(1, 1));
    auto& all = shown(digitalAltimeter(2, 4, true));
    click(all, "Command6");
    EXPECT_EQ(fields(12), (Fields{101, 2, 4, 8, 4, 1, 1, 0, -1, 1, 0}));
    EXPECT_EQ(link_.commands(), (Commands{{9, 1026}}));
    click(digitalAltimeter(2, 4, true), "CmdUninstall");
    EXPECT_FALSE(DefaultForm<ConfigGaugeAD>::loaded());
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[12], Cfg.GaugeRecFunction2[12], Cfg.GaugeRecModel[12]), std::tuple(0, -1, 2));

    link_.clear();
    auto& d = digitalAltimeter(1, 4, false);
    EXPECT_EQ(takeSent(), (Commands{{14, 0}}));
    for (auto [start, button, result] : {std::tuple{"1067", "NL1", "0"}, {"0", "NR1", "1068"}, {"5", "NR10", "1068"},
                                         {"70", "NL10", "80"}}) {
        act(d, QStringLiteral("Needledelta=%1 %2").arg(start, button));
        EXPECT_EQ(text(d, "Needledelta"), result) << start << button;
    }
    click(d, "Command1");
    refused(d, "Needledelta", {"65536", "abc"}, RangeRule("The needle offset", 0, 65535), {"Command1"});
    act(d, "Command2 cmdSetDay cmdSetNight SliderIntensityAlt=31 SliderPressIntensity=31 cmdSetDay DisplayOff "
           "SliderValue1=-5000 cmdsetzero boxAirPress=29.92 cmdWriteAirPress");
    EXPECT_EQ(link_.commands(), (Commands{{11, 33}, {11, 31}, {11, 22}, {11, 42}, {6, 80}, {6, 0}, {10, 0x1010},
                                          {8, 143}, {10, 0x5050}, {8, 192}, {8, 192}, {10, 257}, {8, 143}, {8, 143},
                                          {8, 15}, {4, -5000}, {4, 0}, {12, 2992}}));
    refused(d, "boxAirPress", {"100", "-0.01", "----------", "29,92", "3o.1", "1e3", "0x10", "12abc", "99.999", "."},
            kAirPressureRule, {"cmdWriteAirPress"});
    link_.replies[12] = SimControlUnit::reply(12, 101, QByteArray::fromHex("0000000BB0000100A0"));
    click(d, "CmdReadAirPress");
    EXPECT_EQ(texts(d, "boxAirPress BoxPressRotation"), "29.92 32");
    click(d, "Option2");
    refused(d, "boxAirPress", {"-0.001", "9999.5", "10000", "12345678901234567890"}, kAirPressureRule,
            {"cmdWriteAirPress"});
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
    act(two, "cmdLevelBank cmdLevelPitch");
    EXPECT_EQ(link_.commands(), (Commands{{4, 480}, {5, 80}}));
    // Moved whatever the bus status says, which it leaves alone.
    act(two, "NewGaugeID=40 CmdApply");
    EXPECT_EQ(std::tuple(link_.newIDs, Cfg.GaugeRecType[12], Session.GaugeRecBusStatus[40]),
              std::tuple(Commands{{12, 40}}, 0, 0));
    EXPECT_EQ(fields(40), (Fields{103, 2, 1, 8, 5, 1, 480, 0, 6, 1, 80}));

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
    act(attitude(0), "cmdMovePitch Command5");
    EXPECT_EQ(link_.commands(), (Commands{{14, 0}}));
}

TEST_F(Dialogs, VORNeedleTestsCentreCalibrationVOR2DiskAndApply)
{
    auto& d = shown(show<ConfigGaugeVOR>(12, kVOR1));
    act(d, "SliderValue2=2000 SliderValue2=500 cmdCenterGSneedle");
    child<QLineEdit>(d, "BoxTestValue2")->textEdited("9");  // typing sends the slider's position again
    EXPECT_EQ(text(d, "BoxTestValue2"), "500");
    // The localiser is already in the centre: still sent.
    act(d, "cmdClearCal cmdCenterLOC cmdRecalibrate cmdCalibrateCompass SliderSpeed=100 Slider1=0");
    EXPECT_EQ(link_.commands(), (Commands{{6, 944}, {6, 500}, {9, 28}, {6, 500}, {9, 0}, {4, 0}, {5, 472}, {6, 472},
                                          {5, 472}, {1, 0}, {11, 1}, {3, 30}, {14, 250}}));

    d.close();
    act(shown(show<ConfigGaugeVOR>(12, kVOR2)),
        "SetToFromFlag_2 setGSflag_1 CmdSetIndicators cmdCalibrateDisk cmdRestCalibrateDisk");
    EXPECT_EQ(link_.commands(), (Commands{{12, 3}, {13, 0x3000}, {13, 0x1E5C}, {13, 0x2CB8}, {10, 0}}));
    EXPECT_EQ(std::tuple(IndicatorWord(ToFromFlag::From, true, kVOR1), IndicatorWord(ToFromFlag::None, false, kVOR1)),
              std::tuple(7, 1));
    for (auto [count, course] : {std::pair{1084, 0}, {0, 0}, {542, 180}, {1081, 1}, {1100, -5}})
        EXPECT_EQ(CourseFromCount(count), course) << count;

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
    act(d, "ComdSetMiles cmdWriteKnots cmdsetMinutes CheckShowDistance CheckShowSpeed CheckShowTime ComdSetMiles");
    type(d, "boxDistance", "1.23");
    act(d, "ComdSetMiles boxSpeed=999 cmdWriteKnots");
    EXPECT_EQ(takeSent(), (Commands{{13, 47}, {8, 192}, {13, 15}, {8, 128}, {8, 0}, {8, 64}, {8, 192}, {6, 1}, {6, 0},
                                    {10, 1}, {10, 0}, {4, 0x3123}, {3, 0x3456}, {5, 0x3078}, {4, 0x2123}, {4, 0x4123},
                                    {3, 0x0999}}));
    for (auto [typed, word] : {std::pair{"1.2.3", 0x0123}, {"1:23", 0x4123}, {"12,3", 0x2123}, {"4 5", 0x0405},
                               {"", 0}, {"0012.3", 0x0123}}) {  // the last separator counts, a blank is a 0
        type(d, "boxTime", typed);
        click(d, "cmdsetMinutes");
        EXPECT_EQ(takeSent(), (Commands{{5, word}})) << typed;
    }
    refused(d, "boxTime", {"1234", "10123", " 1.23 "}, DisplayValueRule(QStringLiteral("time")), {"cmdsetMinutes"});
    d.close();

    link_.clear();
    auto& r = dme(2, 1);
    answer(60, {{16, 3}});
    click(r, "CmdReadRadio");
    EXPECT_EQ(text(r, "RotarySwitchPosition"), "3");

    // Stored as opened; the move goes out although the gauge is not
    // connected, and the closing Test Off goes to the new GaugeID.
    link_.clear();
    act(r, "NewGaugeID=61 Command6");
    EXPECT_EQ(link_.newIDs, (Commands{{60, 61}}));
    EXPECT_EQ(std::tuple(link_.sent, Cfg.GaugeRecType[60]), std::tuple(std::vector<SentCommand>{{61, 10, 0}}, 0));
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
    act(full, "OptionShowIfADFNo OptionVOR1Grn Command6");
    EXPECT_EQ(fields(70), (Fields{130, 1, 1, 8, 39, 0, 5, 0, 31, 0, 1}));

    auto& d = shown(rmi(1));
    act(d, "SliderValue1=90 SliderValue1=359 SliderGreenNeedle=90 SliderYellowNeedle=90 SliderCompassSpeed=0 "
           "SliderNeedlesSpeed=100 SliderDMEIntensity=9 CmdSetIntensityNight LightOn OptionDisplaysOff LightOff "
           "cdSetFlag cmdWriteLeftDME CmdWriteRightDME CheckShowMERight CmdWriteRightDME");
    EXPECT_EQ(text(d, "boxYellowValue"), "90");
    EXPECT_EQ(takeSent(), (Commands{{5, 1152}, {5, 4595}, {6, 1080}, {6, 0x4438}, {3, 4240}, {4, 240}, {13, 0x209},
                                    {8, 0xC0}, {8, 0x40}, {8, 15}, {14, 1}, {15, 0x2123}, {15, 0x6456}, {15, 0x4AAA}}));
    type(d, "BoxLeftDME", "1234");
    click(d, "cmdWriteLeftDME");
    EXPECT_EQ(takeSent(), (Commands{{15, 0x1234}}));
    refused(d, "BoxLeftDME", {"12345", "2345"}, RmiValueRule(QStringLiteral("left DME value")), {"cmdWriteLeftDME"});

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
    static void plate(int category) { DialogTest::plate(category, "P" + std::to_string(Cfg.PlateCount)); }
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

TEST_F(EngineCluster, ApplyStoresEachPlateInItsPackedFieldOrNothingWhenOneDoesNotFit)
{
    while (Cfg.PlateCount < 1001)
        plate(1);
    for (const auto& [needle, plate] : {std::pair{3, 128}, {4, 256}, {4, 1000}}) {
        auto& d = open();
        choosePlate(d, needle, plate);
        actOk(d, "NewGaugeID=30 CmdApply", kAssignmentIncorrect);
        ASSERT_TRUE(DefaultForm<ConfigCessnaEngineCluster>::loaded()) << needle;
        EXPECT_EQ(std::tuple(Cfg.GaugeRecFunction1[20], Cfg.GaugeRecType[20], link_.newIDs.size()),
                  std::tuple(0, 8, 0u));
        click(d, "cmdClose");
    }
    auto& largest = open();
    choosePlate(largest, 3, 127);
    choosePlate(largest, 4, 255);
    click(largest, "CmdApply");
    EXPECT_EQ(Cfg.GaugeRecPlate1[20], 32767);

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
    EXPECT_EQ(std::tuple(plates(again, 4)->currentText(), plates(again, 6)->currentIndex()),
              std::tuple("006.  P6", -1));
    choosePlate(again, 1, 0);
    again.Form_Activate();
    EXPECT_EQ(plates(again, 1)->currentText(), "003.  P3");
}

TEST_F(EngineCluster, CalHandsTheNeedleOfThisGaugeToThePlateWindowAndEachSliderItsNeedle)
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

    act(d, "SliderValue1_0=1 SliderValue1_1=11 SliderValue1_2=21 SliderValue1_3=31 SliderValue1_4=41 "
           "SliderValue1_5=51 SliderValue1_6=61 SliderValue1_7=71");    EXPECT_EQ(link_.commands(), (Commands{{4, 1}, {5, 11}, {6, 21}, {9, 31}, {10, 41}, {11, 51}, {12, 61}, {13, 71}}));
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

TEST_F(Clocks, AirlinerDateTimeWordsBrightnessCalibrationCounterAndItsOwnOptions)
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
    act(d, "cmdSetCalibration cmdResetCalibration");
    EXPECT_EQ(text(d, "Needledelta"), "0");
    EXPECT_EQ(takeSent(), (Commands{{3, 350}, {3, 50}, {13, 39}, {8, 64}, {8, 192}, {13, 7}, {8, 128}, {11, 33},
                                    {11, 31}, {11, 42}, {11, 22}, {12, 1079}, {10, 0}}));
    refused(d, "Needledelta", {"1080"}, kSecondsNeedleRule, {"cmdSetCalibration", "NL1"});
    link_.replies[23] = SimControlUnit::reply(23, 104, QByteArray::fromHex("0000001A0C05000A000000000100"));
    click(d, "CmdReadAirPress");
    EXPECT_EQ(texts(d, "boxdate boxRealTime boxElapsedTime"), "2026-12-5 10:0:0 0:1:0");

    d.close();
    auto& o = airliner(34, 1);
    child<QComboBox>(o, "ComboClockSyncMode")->setCurrentIndex(3);
    act(o, "OptionSecondsElapsedTime OptionShowLocalTime");
    gauge(24, 104);  // the screen opened another gauge meanwhile
    o.Form_Activate();
    EXPECT_TRUE(checked(o, "OptionSecondsRealTime OptionShowUTC"));
    EXPECT_EQ(std::tuple(syncMode(o), link_.commands()), std::tuple(2, Commands{{14, 0}, {14, 1}}));
    act(o, "NewGaugeID=60 CmdApply");
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


TEST_F(Clocks, LightTimesTemperaturesVoltageOptionsAndSyncModeAndTypedFaultsSendNothing)
{
    clock_.set(QDateTime(QDate(2026, 3, 1), QTime(10, 20, 30)));
    auto& d = light();
    click(d, "CmdSetUT");
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
    link_.replies[17] = SimControlUnit::reply(17, 109, QByteArray::fromHex("0000000E000000 0C0509 00 002D03"));
    click(d, "CmdReadAirPress");
    EXPECT_EQ(texts(d, "LocalTimeHours UniversalTimeHours LocalTimeMinutes LocalTimeSeconds FThrs FTmin FTsec"),
              "14 12 5 9 0 45 3");

    d.close();
    auto& sync = light(2);
    EXPECT_EQ(text(sync, "ComboClockSyncMode"), "FS time -> Clock");
    child<QComboBox>(sync, "ComboClockSyncMode")->setCurrentIndex(1);
    act(sync, "NewGaugeID=40 CmdApply");
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
        for (auto [n, name, category, signal] : {std::tuple{40, "RPM", 1, kSignalGauge}, {41, "EGT", 1, kSignalMacro},
                                                 {42, "Switch", 1, 1}, {43, "Flaps", 2, kSignalGauge}}) {
            function(n, name, category, signal);
            Cfg.FunctionFullName[n] = std::string(name) + " full";
        }
        for (auto [name, category] : {std::pair{"Tacho", 1}, {"Flaps", 2}, {"EGT", 1}})
            plate(category, name);
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

TEST_F(SingleNeedle, EndStopQuestionSpecialCommandsCalibrationCounterListsApplyAndCalibrate)
{
    auto& d = open();
    click(d, "cmdCentre");
    messages_.expectYesNo(kEndStopQuestion, true);
    messages_.expectOk("Needle center will be set to 540");
    act(d, "SliderValue1=946 SliderValue1=1000 cmdCentre");
    EXPECT_EQ(link_.commands(), (Commands{{5, 472}, {5, 946}, {5, 1000}, {5, 540}}));

    d.Form_Activate();
    link_.clear();
    messages_.expectYesNo(kEndStopQuestion, false);
    act(d, "SliderValue1=950 SliderValue1=960 cmdCentre");
    EXPECT_EQ(link_.commands(), (Commands{{5, 960}, {5, 472}}));

    d.Form_Activate();
    link_.clear();
    act(d, "cmdSetHigh SliderValue1=3780");
    messages_.expectYesNo(kEndStopQuestion, true);
    messages_.expectOk("Needle center will be set to 2160");
    act(d, "SliderValue1=3781 CmdLowRes");
    EXPECT_EQ(link_.commands(), (Commands{{9, 1}, {5, 3780}, {5, 3781}, {9, 0}, {5, 1079}}));
    click(d, "CmdClose");

    auto& two = open(2);
    act(two, "Option4 Option3 CmdExtra1 CmdExtra2 CmdExtra3 CmdExtra4 boxCalibrationValue=1075 CmdUpLargeMove");
    EXPECT_EQ(text(two, "boxCalibrationValue"), "0");
    act(two, "boxCalibrationValue=5 cmdDwnLargeMove");
    EXPECT_EQ(text(two, "boxCalibrationValue"), "1079");
    act(two, "CmdMoveUpSmallMove cmdDwnSmallMove boxCalibrationValue=100 cmdSetCalibration CmdTestCalibration "
           "SliderValue1=300 cmdResetCalibration");
    EXPECT_EQ(text(two, "boxCalibrationValue"), "0");
    EXPECT_EQ(takeSent(), (Commands{{4, 1}, {4, 0}, {14, 0}, {14, 1}, {14, 2}, {14, 3}, {11, 40}, {12, 40}, {11, 4},
                                    {12, 4}, {13, 400}, {1, 0}, {5, 300}, {13, 0}, {5, 0}, {1, 0}}));
    for (const QString& huge : {QStringLiteral("99999999999"), QString(400, u'9')}) {  // past the top, no overflow
        type(two, "boxCalibrationValue", huge);
        click(two, "CmdMoveUpSmallMove");
        EXPECT_EQ(text(two, "boxCalibrationValue"), "0");
    }
    link_.clear();

    refused(two, "boxCalibrationValue", {"16384", "abc"}, kCalibrationValueRule, {"cmdSetCalibration"});
    click(two, "cmdSetHigh");
    actOk(two, "cmdResetCalibration", kLowResolutionOnly);
    EXPECT_EQ(link_.commands(), (Commands{{9, 1}}));
    click(two, "CmdClose");

    auto& lists = open();
    EXPECT_EQ(texts(lists, "ComboClass GaugeFunction FunctionFullName ComboSeqNr ComboPlate"),
              "Engines 040.  RPM RPM full 2 002.  EGT");
    EXPECT_EQ(items(lists, "GaugeFunction") + "/" + items(lists, "ComboPlate"),
              "040.  RPM|041.  EGT/000.  Tacho|002.  EGT");
    choose(lists, "GaugeFunction", "041.  EGT");
    EXPECT_EQ(child<QComboBox>(lists, "ComboPlate")->currentIndex(), -1);

    Session.ConfigChanged = 0;
    choose(lists, "ComboClass", "Surfaces");
    EXPECT_EQ(std::tuple(Cfg.GaugeRecCategory1[12], Session.ConfigChanged), std::tuple(2, 1));
    EXPECT_EQ(items(lists, "ComboPlate"), "001.  Flaps");
    click(lists, "CmdClose");
    EXPECT_EQ(Cfg.GaugeRecCategory1[12], 2);

    // Function 255: the lists stay empty and the record untouched.
    std::tie(Cfg.GaugeRecFunction1[13], Cfg.GaugeRecCategory1[13]) = std::tuple(kNoFunctionList, 3);
    auto& fixed = show<ConfigGaugeSN>(13, 4, 1, 1, 2, &ConfigGaugeSN::GaugeSNInitialize);
    EXPECT_EQ(child<QComboBox>(fixed, "GaugeFunction")->count(), 0);
    choose(fixed, "ComboClass", "Engines");
    EXPECT_EQ(Cfg.GaugeRecCategory1[13], 3);

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

    auto& c = open();
    CurrentGaugeID = 99;  // another dialog was opened meanwhile
    click(c, "cmdAdvanced");
    EXPECT_EQ(std::tuple(CalNeedleNr, CalFunctionName, CalCategoryName, CalFunctionNr, CalSeqNr, CalPlateNr),
              std::tuple(1, "040.  RPM", "Engines", 40, 2, 2));
    EXPECT_EQ(std::tuple(CurrentGaugeID, DefaultForm<frmCalibrate>::loaded()), std::tuple(12, true));

    choose(c, "GaugeFunction", "041.  EGT");  // a macro: no plate; the window opens, the record keeps its plate
    Session.ConfigChanged = 0;
    click(c, "cmdAdvanced");
    EXPECT_EQ(std::tuple(CalPlateNr, Cfg.GaugeRecPlate1[12], Session.ConfigChanged), std::tuple(0, 2, 0));
    Cfg.ResizePlates(1006);  // plate numbers from 1000 on are read whole
    std::tie(Cfg.PlateValue[1005][0], Cfg.PlateName[1005]) = std::tuple(1, "Big");
    c.Form_Activate();
    choose(c, "GaugeFunction", "040.  RPM");
    choose(c, "ComboPlate", "1005.  Big");
    click(c, "cmdAdvanced");
    EXPECT_EQ(std::tuple(CalPlateNr, Cfg.GaugeRecPlate1[12]), std::tuple(1005, 1005));

    actOk(c, "ComboClass=Fuel cmdAdvanced", kAssignBeforeCalibrating);
}

TEST_F(SingleNeedle, TheDisplayGaugesTestValueCommandsAndAssignment)
{
    EXPECT_EQ(DisplayTestTenths(7, 0, 130), 10);  // 9.6 tenths
    EXPECT_EQ(DisplayTestTenths(944, 20, 120), 1000);  // the minimum only narrows the span
    EXPECT_EQ(DisplayTestTenths(944, 200, 100), 0);  // a minimum above the maximum
    EXPECT_EQ(DisplayTestText(10) + " " + DisplayTestText(1000), "01.0 100");

    std::tie(Cfg.GaugeRecCategory1[21], Cfg.GaugeRecFunction1[21]) = std::tuple(1, 40);
    auto& d = show<ConfigGaugeSD>(21, 2, 2, 1, 2, &ConfigGaugeSD::GaugeSDinitialize);
    EXPECT_TRUE(link_.sent.empty());  // it opens with the light off and the display on
    EXPECT_TRUE(hidden(d, "FrameBacklightMode")) << "the backlight word from model 3 on";

    auto* needle = child<QSlider>(d, "SliderValue1");
    needle->setValue(944);
    EXPECT_EQ(text(d, "ActValDisp"), "130");
    needle->setSliderDown(true);
    needle->setValue(100);
    needle->setSliderDown(false);
    act(d, "cmdCentre DisplayOff LightOn DisplayOn LightOff Option4 SliderSpeed=100 MaxValDisp=1500");
    EXPECT_EQ(text(d, "MaxValDisp"), "999");
    EXPECT_EQ(link_.commands(), (Commands{{5, 944}, {6, 0x130B}, {5, 100}, {5, 100}, {6, 0x13A8}, {5, 472}, {6, 0x65A0},
                                          {8, 15}, {8, 64}, {8, 192}, {8, 143}, {4, 1}, {3, 300}}));
    choose(d, "ComboPlate", "002.  EGT");  // "Calibrate" hands it over, Apply writes it
    Session.ConfigChanged = 0;
    click(d, "cmdAdvanced");
    EXPECT_EQ(std::tuple(CalPlateNr, Cfg.GaugeRecPlate1[21], Session.ConfigChanged), std::tuple(2, 0, 0));
    act(d, "ComboSeqNr=4 CmdApply");
    EXPECT_EQ(fields(21), (Fields{2, 2, 1, 1, 40, 4, 2, 0, 0, 0, 0}));
    EXPECT_FALSE(hidden(show<ConfigGaugeSD>(21, 2, 3), "FrameBacklightMode"));
}

TEST_F(Dialogs, DualNeedleOneEndStopQuestionPerActivationTheDirectionWordAndApplyAsksEverythingFirst)
{
    auto& d = dualNeedle();
    click(d, "Command1");
    messages_.expectYesNo(kEndStopQuestion, true);
    messages_.expectOk("Needle center will be set to 540");
    act(d, "SliderValue1=946 SliderValue2=1000 Command2");
    d.Form_Activate();
    messages_.expectYesNo(kEndStopQuestionNeedle2, false);
    act(d, "SliderValue2=950 SliderValue1=1000 Command1 Needle1CCW cmdSetDirection1 Needle2CCW CmdSetDirection2 "
           "Needle1CW cmdSetDirection1 SliderSpeed=0");
    EXPECT_EQ(link_.commands(), (Commands{{5, 472}, {5, 946}, {6, 1000}, {6, 540}, {5, 1000}, {5, 472}, {4, 1},
                                          {4, 257}, {4, 256}, {3, 4200}}));
    d.close();

    auto& a = dualNeedle(14, 1);
    const Fields before = fields(30);
    messages_.expectYesNo(kNoAssignmentNeedle1, true);
    messages_.expectYesNo(kNoPlateNeedle1, false);
    click(a, "CmdApply");
    EXPECT_EQ(fields(30), before);

    act(a, "ComboClass1=Fuel");
    EXPECT_EQ(Cfg.GaugeRecCategory2[30], 1);
    choose(a, "GaugeFunction1", "050.  F50");
    choose(a, "ComboPlate1", "001.  ");
    click(a, "cmdPlate2");
    EXPECT_EQ(std::tuple(CalNeedleNr, CalFunctionNr, CalPlateNr, Cfg.GaugeRecPlate2[30]), std::tuple(2, 50, 1, 1));

    child<QComboBox>(a, "ComboSeqNr1")->setCurrentIndex(-1);  // stored as 0
    messages_.expectYesNo(kNoAssignmentNeedle1, true);
    messages_.expectYesNo(kNoPlateNeedle1, true);
    act(a, "NewGaugeID=31 CmdApply");
    EXPECT_EQ(std::tuple(fields(30), fields(31)), std::tuple(Fields(11, 0), Fields{5, 4, 1, 0, 0, 2, 0, 3, 50, 0, 1}));
    // Function 255 empties needle 2's list only on opening; a macro keeps either needle's plate.
    function(51, "M51", 3, kSignalMacro);
    auto& two = dualNeedle(1, 1, kNoFunctionList);
    act(two, "ComboClass=Fuel ComboClass1=Fuel");
    for (auto [plate, function] : {std::pair{"ComboPlate", "GaugeFunction"}, {"ComboPlate1", "GaugeFunction1"}}) {
        choose(two, plate, "001.  ");
        choose(two, function, "051.  M51");
    }
    EXPECT_EQ(texts(two, "GaugeFunction ComboPlate GaugeFunction1 ComboPlate1"), "051.  M51 001.   051.  M51 001.  ");
}

const char* const kVerified = "Plate verified and no errors found";
const char* const kNoPlateText = "No Plate selected";
const char* const kMinMaxRule = "Minimum and/or maximum value missing or incorrect";
const char* const kSaveQuestion = "This will update the current plate settings. Continue?";

// Plates 0 "RPM" and 2 "Oil" in "Engines", plate 1 in "Fuel"; a single-
// needle gauge at GaugeID 12 whose needle 1 shows function 40 on plate 0.
class PlateModelTest : public testing::DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        Cfg.GaugeRecType[12] = SingleNeedleType;
        Cfg.GaugeRecType[20] = EngineClusterType;
        addPlate("RPM", 1, {{0, 0}, {1000, 200}, {2000, 400}, {3000, 600}, {4000, 800}});
        addPlate("Fuel", 3, {{0, 0}, {50, 500}});
        addPlate("Oil", 1, {{0, 10}, {100, 900}});
        Cfg.FunctionNames[40] = "RPM";
        Cfg.FunctionMaximum[40] = 3500;
    }

    static void addPlate(const std::string& name, int category, const std::vector<std::pair<double, int>>& points)
    {
        const int p = plate(category, name);
        Cfg.PlateValue[p][1] = Cfg.PlateSteps[p][1] = Integer(points.size() - 1);
        std::tie(Cfg.PlateValue[p][2], Cfg.PlateValue[p][3]) = std::tuple(points.front().first, points.back().first);
        for (std::size_t k = 0; k < points.size(); ++k) {
            Cfg.PlateValue[p][4 + k] = points[k].first;
            Cfg.PlateSteps[p][4 + k] = Integer(points[k].second);
        }
    }

    void load(int gaugeID = 12, int needle = 1, int plate = 0)
    {
        model = PlateModel{};
        model.Load({gaugeID, "Single Needle", needle, "Engines", "040.  RPM", 40, 1, plate});
    }

    // Empties the grid, then types `rows` from row 0 on ("" leaves one empty).
    void type(const std::vector<std::pair<std::string, std::string>>& rows)
    {
        model.cmdResetVal_Click();
        for (std::size_t k = 0; k < model.state.rows.size(); ++k)
            model.state.rows[k].needle.clear();
        for (std::size_t k = 0; k < rows.size(); ++k)
            std::tie(model.state.rows[k].value, model.state.rows[k].needle) = rows[k];
    }

    Strings column(std::string PlateRow::*field, int from, int to) const
    {
        Strings out;
        for (int k = from; k <= to; ++k)
            out.push_back(model.state.rows[std::size_t(k)].*field);
        return out;
    }
    bool greyFrom(int first) const
    {
        for (int k = 1; k < kPlateRows; ++k)
            if (model.state.rows[std::size_t(k)].grey != (k >= first))
                return false;
        return true;
    }

    template <typename Handler>
    auto answered(const QString& message, Handler handler)
    {
        messages_.expectOk(message);
        return (model.*handler)();
    }

    PlateModel model;
};

TEST_F(PlateModelTest, LoadValueToTransferLimitsPlateToGaugeAndTheNeedleCommands)
{
    load();
    const PlateWindowState& s = model.state;
    ASSERT_EQ(s.list.size(), 2u);
    std::vector<std::pair<int, int>> standAlone;
    const auto mover = std::exchange(MoveStandAloneNeedle, [&](int n, int p) { standAlone.emplace_back(n, p); });
    EXPECT_EQ(std::tuple(s.list[0].text, s.list[1].text, s.selectedItem), std::tuple("000.   RPM", "002.   Oil", 0));
    EXPECT_EQ(std::pair(column(&PlateRow::value, 0, 4), greyFrom(5)),
              std::pair(Strings{"0", "1000", "2000", "3000", "4000"}, true));
    EXPECT_EQ(std::tuple(s.selectorMax, s.selector, s.rows[4].labelMarked), std::tuple(4, 4, true));
    EXPECT_EQ(link_.sent, (std::vector<SentCommand>{{12, 5, 800}}));

    model.state.valueToTransfer = "1.2";
    model.boxValue_Click(2);
    model.boxValue_Click(kPlateRows);  // no such box
    EXPECT_EQ(std::tuple(model.state.rows[2].value, model.state.rows[2].valueMarked), std::tuple("1.2", true));
    model.state.valueToTransfer = "?";
    answered("Value to Transfer must be a number; use dot (.) for decimal separator", &PlateModel::CmdCalValMin_Click);

    model.state.calMinimum = "-50";
    model.state.calMaximum = "1E39";
    answered("Minimum and Maximum must be numbers between -3.4E+38 and 3.4E+38; use dot (.) for decimal separator",
             &PlateModel::cmdUpdateMinMax_Click);
    EXPECT_EQ(Cfg.FunctionMaximum[40], 3500);
    model.state.calMaximum = "150";
    messages_.expectYesNo("This will modify the function definition\r\nAre you sure?", true);
    model.cmdUpdateMinMax_Click();
    EXPECT_EQ(std::tuple(Cfg.FunctionMinimum[40], Cfg.FunctionMaximum[40], Session.ConfigChanged),
              std::tuple(-50, 150, 1));
    Session.ConfigChanged = 0;

    load(12, 2);
    model.ListPlates_Click(1);
    model.CmdPlateToGauge_Click();
    EXPECT_EQ(std::tuple(Cfg.GaugeRecPlate2[12], Cfg.GaugeRecPlate1[12], Session.ConfigChanged), std::tuple(2, 0, 1));

    Session.ConfigChanged = 0;
    for (const int engineCluster : {0, 20}) {
        load(engineCluster, 1);
        answered("Plate selection in Engine Cluster can only be changed in the Engine Cluster Config page.",
                 &PlateModel::CmdPlateToGauge_Click);
    }
    EXPECT_EQ(std::tuple(Cfg.GaugeRecPlate1[20], Session.ConfigChanged), std::tuple(0, 0));

    load(12, 1, 1);  // plate 1 belongs to another category
    EXPECT_EQ(std::tuple(model.state.selectedItem, column(&PlateRow::value, 0, 1)), std::tuple(-1, Strings(2, "")));
    for (const auto handler :
         {&PlateModel::CmdUpdatePlate_Click, &PlateModel::cmdSavePlate_Click, &PlateModel::CmdPlateToGauge_Click})
        answered(kNoPlateText, handler);
    EXPECT_FALSE(model.state.gridEnabled);

    // A configuration with fewer plates was loaded since the list was made.
    model.ListPlates_Click(1);
    EXPECT_EQ(model.state.currentPlateName, "Oil");
    Cfg.ResizePlates(2);
    model.cmdLoadPlate_Click();
    EXPECT_EQ(model.state.rows[0].value, "");
    answered(kNoPlateText, &PlateModel::cmdSavePlate_Click);
    EXPECT_EQ(Session.ConfigChanged, 0);

    for (auto [gaugeID, needle, command] : {std::tuple{12, 1, 5}, {12, 2, 6}, {12, 3, 0}, {20, 4, 9}, {20, 8, 13}}) {
        load(gaugeID, needle, 1);
        link_.clear();
        model.SliderMoveNeedle_Change(300);
        const auto expected = command ? std::vector<SentCommand>{{gaugeID, command, 300}} : std::vector<SentCommand>{};
        EXPECT_EQ(link_.sent, expected) << gaugeID << "/" << needle;
    }

    load(0, 3, 1);
    standAlone.clear();
    model.SliderMoveNeedle_Change(100);
    EXPECT_EQ(standAlone, (std::vector<std::pair<int, int>>{{2, 400}}));

    load(12, 1, 1);
    link_.clear();
    model.cmdSliderMin_Click();
    model.SliderMoveNeedle_Change(kNeedleSliderTop);
    model.cmdSliderPlus_Click();
    EXPECT_EQ(std::tuple(model.state.slider, link_.sent.size()), std::tuple(kNeedleSliderTop, 1u));
    MoveStandAloneNeedle = mover;
}

TEST_F(PlateModelTest, RangeDivideCheckSaveAndANewPlate)
{
    load();
    type({{"0", ""}, {}, {}, {}, {}, {"100", ""}});
    model.cmdSetValue_Click();
    EXPECT_EQ(std::tuple(model.state.steps, column(&PlateRow::value, 1, 4), greyFrom(6)),
              std::tuple(5, Strings(4, "?"), true));
    answered(kMinMaxRule, &PlateModel::cmdLinearVal_Click);

    type({{"0", ""}, {}, {}, {}, {"100", ""}});
    model.cmdLinearVal_Click();
    EXPECT_EQ(std::pair(column(&PlateRow::value, 1, 4), greyFrom(5)),
              std::pair(Strings{"25.0", "50.0", "75.0", "100.0"}, true));

    type({{"abc", ""}, {"5", ""}});
    answered(kMinMaxRule, &PlateModel::cmdSetValue_Click);

    type({{"0", "5"}, {}, {}, {}, {}, {}, {}, {"70", "61"}});
    model.cmdLinearVal_Click();
    model.cmdLinearSteps_Click();
    EXPECT_EQ(column(&PlateRow::needle, 0, 8), (Strings{"0", "8", "17", "26", "34", "43", "52", "61", ""}));

    model.state.rows[7].needle = "6x";
    model.state.rows[0].needle = "5";
    answered("At valuebox 7: Needle position must be a whole number; Please correct.",
             &PlateModel::cmdLinearSteps_Click);
    EXPECT_EQ(model.state.rows[0].needle, "5");

    load();
    const std::pair<std::vector<std::pair<std::string, std::string>>, const char*> cases[] = {
        {{{"", "0"}, {"20", "5"}}, "Minimum value missing; Please correct"},
        {{{"10", "0"}, {"20", "5"}, {"15", "9"}},
         "At valuebox 2: value lower than or equal to previous; Please correct."},
        {{{"10", "0"}, {"20", ""}}, "At valuebox 1: Needle position is empty; Please correct."},
        {{{"10", ""}, {"20", "5"}}, "At valuebox 0: Needle position is empty; Please correct."},
        {{{"10", "0"}, {"20", "5.5"}}, "At valuebox 1: Needle position is not a whole number; Please correct."},
        {{{"10", "0"}, {"2O", "5"}}, "At valuebox 1: value is not a number; Please correct."},
        {{{"10", "0"}}, "Minimum and maximum values are equal; Please correct."},
        // A gap would be stored as value 0 and break the rising order.
        {{{"10", "0"}, {"20", "5"}, {"", ""}, {"40", "9"}}, "At valuebox 2: value is missing; Please correct."},
    };
    for (const auto& [rows, message] : cases) {
        type(rows);
        EXPECT_FALSE(answered(message, &PlateModel::cmdSetCheck_Click)) << message;
    }

    type({{"10", "0"}, {"20", "5"}, {"30", "9"}});
    model.state.rows[5].needle = "77";
    EXPECT_TRUE(answered(kVerified, &PlateModel::cmdSetCheck_Click));
    EXPECT_EQ(std::tuple(model.state.steps, model.state.maximum, model.state.rows[5].needle, greyFrom(3)),
              std::tuple(2, 30, "", true));

    load();
    model.CmdUpdatePlate_Click();
    EXPECT_EQ(std::tuple(model.state.activity, model.state.gridEnabled), std::tuple(PlateActivity::Updating, true));
    model.state.rows[1].value = "9";
    model.CmdCancel2_Click();
    EXPECT_EQ(std::tuple(model.state.rows[1].value, model.state.gridEnabled), std::tuple("1000", false));
    model.CmdUpdatePlate_Click();
    model.CmdRenamePlate_Click();
    model.state.currentPlateName = "Engine RPM";
    for (const bool yes : {false, true}) {
        model.state.rows[5] = {"4500", "900"};
        messages_.expectOk(kVerified);
        messages_.expectYesNo(kSaveQuestion, yes);
        model.cmdSavePlate_Click();
        if (!yes) {
            EXPECT_EQ(std::tuple(Cfg.PlateValue[0][3], model.state.gridEnabled, Session.ConfigChanged),
                      std::tuple(4000, false, 0));
        }
    }
    EXPECT_EQ(std::tuple(Cfg.PlateName[0], Cfg.PlateValue[0][0], Cfg.PlateValue[0][1], Cfg.PlateSteps[0][1],
                         Cfg.PlateValue[0][3], Cfg.PlateSteps[0][3], Cfg.PlateSteps[0][4 + 5], Session.ConfigChanged),
              std::tuple("Engine RPM", 1, 5, 5, 4500, 900, 900, 1));
    EXPECT_EQ(std::tuple(model.state.list[0].text, model.state.activity),
              std::tuple("000.   Engine RPM", PlateActivity::AtRest));

    model.state.rows[2].value = "500";
    answered("At valuebox 2: value lower than or equal to previous; Please correct.", &PlateModel::cmdSavePlate_Click);
    EXPECT_EQ(Cfg.PlateValue[0][4 + 2], 2000);

    load();
    model.CmdCreateNewPlate_Click();
    EXPECT_EQ(std::tuple(model.state.newPlateNumber, model.state.currentPlateFrameEnabled), std::tuple("3", false));
    model.cmdCancelAdd_Click();
    EXPECT_EQ(std::tuple(model.state.newPlateNumber, model.state.newNameEditable), std::tuple("---", false));
    model.CmdCreateNewPlate_Click();
    answered("Plate name missing or incorrect", &PlateModel::cmdSetNewName_Click);
    model.state.newPlateName = "Boost";
    model.cmdSetNewName_Click();
    model.CmdCalibrateNewPlate_Click();
    EXPECT_EQ(std::tuple(model.state.activity, model.state.valueToTransfer), std::tuple(PlateActivity::Creating, "0"));
    type({{"0", "0"}, {"30", "540"}});

    answered(kVerified, &PlateModel::CmdSaveNewPlate_Click);
    EXPECT_EQ(std::tuple(Cfg.PlateCount, Cfg.PlateName.size(), Cfg.PlateName[3]), std::tuple(4, 5u, "Boost"));
    EXPECT_EQ(std::tuple(Cfg.PlateValue[3][0], Cfg.PlateValue[3][1], Cfg.PlateSteps[3][3], model.handOverPlate()),
              std::tuple(1, 1, 540, 3));
    EXPECT_EQ(std::tuple(model.state.list.back().text, model.state.selectedItem, model.state.newPlateNumber),
              std::tuple("003.   Boost", 2, "---"));
    EXPECT_EQ(std::tuple(model.state.activity, Session.ConfigChanged), std::tuple(PlateActivity::AtRest, 1));

    answered("Platename missing", &PlateModel::CmdSaveNewPlate_Click);
    Cfg.ResizePlates(kMaxPlates);
    answered("No more plates can be created: plate numbers run from 000 to 999", &PlateModel::CmdCreateNewPlate_Click);
    EXPECT_EQ(model.state.newPlateNumber, "---");
}

void edit(QWidget& window, const char* name, const QString& text)
{
    auto* box = window.findChild<QLineEdit*>(QString::fromLatin1(name));
    box->setText(text);
    emit box->textEdited(text);
}


using PlateWindow = testing::DialogTest;

TEST_F(PlateWindow, CalibratesSavesAndAssignsThroughItsControls)
{
    gauge(12, SingleNeedleType);
    const int plate = DialogTest::plate(1, "RPM");
    Cfg.PlateValue[plate] = {1, 1, 0, 100, 0, 100};
    Cfg.PlateSteps[plate] = {0, 1, 0, 500, 0, 500};
    Cfg.GaugeRecPlate1[12] = 7;
    std::tie(CalNeedleNr, CalCategoryName, CalFunctionName, CalFunctionNr, CalSeqNr, CalPlateNr) =
        std::tuple(1, "Engines", "040.  RPM", 40, 1, 0);

    OpenPlateWindow();
    frmCalibrate& w = DefaultForm<frmCalibrate>::get();

    EXPECT_FALSE(child<QWidget>(w, "Frame1")->isEnabled());
    click(w, "CmdUpdatePlate");
    EXPECT_TRUE(child<QWidget>(w, "Frame1")->isEnabled());
    // Another dialog opened meanwhile: the needle still moves on this gauge.
    CurrentGaugeID = 99;
    click(w, "cmdSliderPlus");
    EXPECT_EQ(link_.sent.back(), (SentCommand{12, 5, 501}));
    click(w, "SetStep_1");
    edit(w, "BoxValueToTransfer", "150");
    click(w, "boxValue_1");
    messages_.expectOk(kVerified);
    messages_.expectYesNo(kSaveQuestion, true);
    click(w, "cmdSavePlate");
    EXPECT_EQ(std::tuple(Cfg.PlateValue[plate][3], Cfg.PlateSteps[plate][4 + 1], text(w, "Curve1_1")),
              std::tuple(150, 501, "150"));

    click(w, "CmdPlateToGauge");
    EXPECT_EQ(Cfg.GaugeRecPlate1[12], 0);

    click(w, "CmdCreateNewPlate");
    edit(w, "BoxNameNewPlate", "Boost");
    act(w, "cmdSetNewName CmdCalibrateNewPlate");
    edit(w, "Curve1_1", "200");
    messages_.expectOk(kVerified);
    click(w, "CmdSaveNewPlate");
    EXPECT_EQ(CalPlateNr, 1);
    EXPECT_EQ(child<QListWidget>(w, "ListPlates")->currentItem()->text(), "001.   Boost");

    click(w, "CmdUpdatePlate");
    for (int row : {1, 0}) {  // 70000, then -1: a needle position is a step count 0..32767
        type(w, qPrintable(QStringLiteral("boxLinearStep_%1").arg(row)), row ? "70000" : "-1");
        messages_.expectOk(QStringLiteral("At valuebox %1: Needle position must be between 0 and 32767; Please correct.")
                               .arg(row));
        click(w, "cmdSetCheck");
    }

    w.close();
    EXPECT_FALSE(DefaultForm<frmCalibrate>::loaded());
}

using OnTheBus = testing::DialogOnTheBusTest;

TEST_F(OnTheBus, ApplyFrameADFPollingUntilCancelAndTheVORsCalibrationAndOwnCourse)
{
    std::tie(Cfg.GaugeRecCategory1[12], Cfg.GaugeRecFunction1[12]) = std::tuple(1, 60);
    std::tie(Cfg.FunctionCategory[60], Cfg.FunctionSignalType[60]) = std::tuple(1, 4);
    Cfg.PlateValue[Cfg.AddPlate()][0] = 1;
    Session.GaugeRecBusStatus[12] = 2;

    act(open<ConfigGaugeSN>(12, 1, 2, 3, &ConfigGaugeSN::GaugeSNInitialize), "NewGaugeID=40 CmdApply");
    ASSERT_TRUE(unit_.waitForFrames(1));
    waitMs(20);
    EXPECT_EQ(unit_.received(), hexBytes("00 0C 2C 28 AA FF 20"));
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[40], Cfg.GaugeRecModel[40], Cfg.GaugeRecType[12]), std::tuple(1, 2, 0));
    EXPECT_EQ(std::tuple(Session.GaugeRecBusStatus[12], Session.GaugeRecBusStatus[40]), std::tuple(1, 2));

    // A gauge that does not answer is asked every 50 ms all the same: the
    // poll never waits for it, so the dialog is free between its ticks.
    auto& d = open<ConfigADF>(30, 108);
    unit_.clear();
    d.Form_Activate();
    waitMs(500);
    EXPECT_GE(std::ranges::count_if(unit_.frames(), [](const QByteArray& f) { return f.at(2) == char(0x78); }), 6);
    unit_.setStatusReply(30, SimControlUnit::reply(30, 108, QByteArray::fromHex("000000032C")));
    ASSERT_TRUE(waitUntil([&] { return text(d, "boxCourse") == "90"; }, 2000));
    ASSERT_TRUE(unit_.waitForFrames(2));
    click(d, "CmdClose");
    waitMs(60);
    unit_.clear();
    waitMs(200);
    EXPECT_TRUE(unit_.frames().isEmpty());

    // Another gauge answering in its place shows nothing, nor does a reply
    // of its own left from before the poll's request; a fresh own reply does.
    const QByteArray count542 = QByteArray::fromHex("000000021E");
    KeepGaugeAnswer(SimControlUnit::reply(21, kVOR1, count542));
    auto& vor = open<ConfigGaugeVOR>(21, kVOR1);
    act(vor, "SliderValue1=400 cmdCenterLocNeedle Sliderindicator=100 cmdCalibrateDisk");
    EXPECT_EQ(received(10), (Commands{{5, 400}, {4, -72}, {10, 100}, {13, 0x7064}, {13, 0x5208}, {13, 0x63AC},
                                      {13, 0x2550}, {13, 0x16F4}, {13, 0x3898}, {13, 0x4A3C}}));

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

} // namespace
} // namespace varnet
