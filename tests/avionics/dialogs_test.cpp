// The avionics dialogs against a recording link: the module frame they
// share, then each module's commands, refusals, read-back and Apply; and
// then on the real send path.

#include "avionics/bkadf.h"
#include "avionics/bkaudiopanel.h"
#include "avionics/bkautopilot.h"
#include "avionics/bkdme.h"
#include "avionics/bkradio.h"
#include "avionics/bktransponder.h"
#include "avionics/cl30radio.h"
#include "avionics/cl30transponder.h"
#include "avionics/genericradio.h"
#include "avionics/moduleframe.h"
#include "avionics/transponder737.h"
#include "gauges/bcdwords.h"
#include "gauges/dialog_fixture.h"
#include "gauges/onthebus_fixture.h"
#include "simcontrolunit/simcontrolunit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QTimer>

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;
using testing::act;
using testing::SentCommand;
using testing::SimControlUnit;

// The texts of the lamp boxes lit red.
std::vector<QString> litLamps(QWidget& d)
{
    std::vector<QString> lit;
    for (QLineEdit* lamp : d.findChildren<QLineEdit*>())
        if (lamp->palette().color(QPalette::Base) == QColor(255, 0, 0))
            lit.push_back(lamp->text());
    return lit;
}

class Avionics : public testing::DialogTest {
protected:
    // Dialog T for a gauge at `id` that the bus has not found.
    template <typename T>
    static T& open(int id, int type, int model, int version, int plate1 = 0, int plate2 = 0)
    {
        Cfg.GaugeRecPlate1[id] = Integer(plate1);
        Cfg.GaugeRecPlate2[id] = Integer(plate2);
        return show<T>(id, type, model, version, 0);
    }
    // Dialog T opened again for the current gauge, as the tables now hold it.
    template <typename T>
    static T& reopen()
    {
        OpenDialog<T>();
        return DefaultForm<T>::get();
    }
    // The generic radio's settings sequence from step 2 (command 9) to step 7 (command 4).
    Commands written(QWidget& d)
    {
        link_.clear();
        click(d, "cmdWriteSettings");
        const Commands all = link_.commands();
        return all.size() == 9 ? Commands(all.begin() + 1, all.end() - 2) : all;
    }
    // A box that does not read stops Apply with its rule before anything is
    // written, moved or sent.
    void refusedApply(QWidget& d, const char* apply, const char* box, const QString& text, const QString& rule)
    {
        const int before = Cfg.GaugeRecType[CurrentGaugeID];
        type(d, box, text);
        messages_.expectOk(rule);
        click(d, apply);
        EXPECT_EQ(Cfg.GaugeRecType[CurrentGaugeID], before) << box;
        EXPECT_TRUE(link_.sent.empty() && link_.newIDs.empty()) << box;
    }
    // The module's status reply, `payload` from its fourth byte on, read back.
    void read(QWidget& d, int id, int typeCode, const QByteArray& payload, const char* button = "CmdReadRadio")
    {
        link_.replies[id] = SimControlUnit::reply(id, typeCode, payload);
        click(d, button);
    }
};

// ---- The module frame ------------------------------------------------------

// A radio of the Bendix/King family with every section of the frame; Apply
// writes its settings afterwards.
class TestRadio final : public ModuleDialogOf<TestRadio> {
public:
    TestRadio()
        : ModuleDialogOf("TestRadio", QStringLiteral("Test"),
                         ModuleParts{.applyName = "Command6", .readName = "CmdReadRadio", .backlight = true,
                                     .versionGate = true, .dayNight = true, .radioNumber = true},
                         ModuleAssignment{.function1 = 20, .function2 = 22})
    {
    }
    QString decoded;

protected:
    void afterApply() override { send(12, 1); }
    void decodeReply(const Reply& reply) override { decoded = QString::number(reply.word(6, 7)); }
};

class TestTransponder final : public ModuleDialogOf<TestTransponder> {
public:
    TestTransponder()
        : ModuleDialogOf("TestTransponder", QStringLiteral("Test"), ModuleParts{},
                         ModuleAssignment{.function1 = 26, .function2 = 0, .transponder = true})
    {
    }
};

class ModuleFrame : public Avionics {
protected:
    static TestRadio& radio(int version = 5)
    {
        Cfg.GaugeRecSeqNr1[30] = 2;
        Cfg.GaugeRecPlate2[30] = 1;
        Cfg.GaugeRecCategory2[30] = 4;
        return show<TestRadio>(30, 120, 7, version, 0);
    }
    // Whether dialog T for an older module (version 4, else 5) keeps its
    // backlight as the default, without power-on options.
    template <typename T>
    static bool gated(int type, bool old)
    {
        T& d = open<T>(old ? 60 : 61, type, 0, old ? 4 : 5);
        return checked(d, "CheckSetDefault") && !child<QCheckBox>(d, "CheckSetDefault")->isEnabled() &&
               hidden(d, "FramePowerOn");
    }
};

TEST_F(ModuleFrame, OlderModulesStoreTheirBacklightAsDefaultReadDecodesOnlyItsOwnReplyBrightnessWordsAndApply)
{
    // The power-on options of every dialog of the family come with version 5.
    for (const bool old : {true, false})
        EXPECT_EQ((std::array{gated<ConfigBKradio>(120, old), gated<ConfigBKADF>(121, old),
                              gated<ConfigBKtransponder>(122, old), gated<ConfigBKDME>(123, old), gated<ConfigBKAP>(124, old)}),
                  (std::array{old, old, old, old, old}));
    TestRadio& d = radio(5);

    click(d, "CmdReadRadio");
    EXPECT_EQ(d.decoded, "");
    for (const auto& [from, decoded] : {std::pair{31, ""}, {30, "21000"}}) {  // another module's reply, then its own
        link_.replies[30] = SimControlUnit::reply(from, 0, QByteArray::fromHex("0000 5208"));
        click(d, "CmdReadRadio");
        EXPECT_EQ(d.decoded, decoded);
    }

    link_.clear();
    act(d, "SliderBacklight=0 DisplaysOff LightOn DisplaysOn LightOff CmdSetBacklight SliderBacklight=15");
    child<QCheckBox>(d, "CheckSetDefault")->setChecked(true);
    act(d, "OptionAlwaysOn CmdSetBacklight SliderLightIntensity=15 cmdSetNight cmdSetNight");
    EXPECT_EQ(link_.commands(),
              (Commands{{8, 0}, {8, 64}, {8, 192}, {8, 128}, {8, 0xD0}, {8, 0x1FF}, {13, 47}, {8, 192}, {13, 47}}));

    // Apply moves the module whatever the bus status and writes the fixed assignment.
    link_.clear();
    EXPECT_TRUE(checked(d, "OptionRadio2 CheckSendStandby"));
    click(d, "OptionRadio1");
    child<QCheckBox>(d, "CheckSendStandby")->setChecked(false);
    act(d, "NewGaugeID=31 Command6");
    EXPECT_EQ(link_.newIDs, (Commands{{30, 31}}));
    EXPECT_EQ(fields(31), (std::vector<int>{120, 0, 5, 8, 20, 1, 0, 0, 22, 1, 0}));
    EXPECT_EQ(Cfg.GaugeRecType[30], 0);
    EXPECT_EQ(Cfg.GaugeRecCategory2[30], 4);
    EXPECT_EQ(Session.GaugeRecBusStatus[31], 0);
    EXPECT_EQ(link_.sent, (std::vector<SentCommand>{{31, 12, 1}}));

    // A transponder clears its second function and data pair as well.
    Cfg.GaugeRecFunction2[40] = 9;
    Cfg.GaugeRecSeqNr2[40] = 3;
    click(show<TestTransponder>(40, 112), "CmdApply");
    EXPECT_EQ(fields(40), (std::vector<int>{112, 0, 1, 8, 26, 1, 0, 0, 0, 0, 0}));
}

// ---- The generic radio -----------------------------------------------------

using GenericRadio = Avionics;

TEST_F(GenericRadio, EachRadioTypeWritesItsDefaultsVersionSixTakesTwoClicksAndABoxThatDoesNotReadStopsIt)
{
    auto& nav = open<ConfigVHFRadio>(50, 110, kRadioNav, 6);
    EXPECT_EQ(written(nav), (Commands{{9, 1537}, {10, 17950}, {11, 8000}, {12, 13000}, {5, 12900}, {4, -1}}));
    EXPECT_EQ(link_.commands().back(), (std::pair{14, 514}));
    click(nav, "OptionRadioAdf1");
    EXPECT_EQ(written(nav), (Commands{{9, 1538}, {10, 9999}, {11, 1000}, {12, 5000}, {5, 257}, {4, 16}}));
    act(nav, "OptionRadioAdf2 boxUpperKnobDelta=30");  // 300 is more than its byte holds
    EXPECT_EQ(written(nav), (Commands{{9, 1539}, {10, 17000}, {11, 1000}, {12, 8500}, {5, 255 * 256 + 1}, {4, 16}}));
    type(nav, "boxUpperKnobDelta", "1e30");
    type(nav, "boxLowerKnobDelta", "9.3e17");
    EXPECT_EQ(written(nav).at(4), (std::pair{5, 65535}));
    EXPECT_EQ(text(nav, "BoxMaximumFreq"), "1700.0");
    nav.closeDialog();

    auto& d = open<ConfigVHFRadio>(50, 110, kRadioComm, 3);
    const struct {
        const char* box;
        QString text, rule;
    } refused[] = {{"BoxMinimumFreq", "118.000,5", FrequencyRule(kRadioComm, "Minimum frequency")},
                   {"BoxDefaultFreq", "170,000", FrequencyRule(kRadioComm, "Default frequency")},
                   {"boxLowerKnobDelta", "3000", kLowerKnobRule},
                   {"boxClicksLower", "256", kClicksRule}};
    for (const auto& r : refused) {
        const QString before = text(d, r.box);
        type(d, r.box, r.text);
        messages_.expectOk(r.rule);
        EXPECT_EQ(written(d), Commands{}) << r.box;
        type(d, r.box, before);
    }

    act(d, "OptionRadioNav OptionRadio2 NewGaugeID=51");
    link_.clear();
    refusedApply(d, "Command6", "BoxDefaultFreq", "none", FrequencyRule(kRadioNav, "Default frequency"));
    type(d, "BoxDefaultFreq", "113,000");
    Cfg.GaugeRecPlate1[51] = 9;  // left over at the free ID
    click(d, "Command6");
    EXPECT_EQ(fields(51), (std::vector<int>{110, 1, 3, 8, 22, 2, 0, 0, 23, 2, 0}));
    ASSERT_EQ(link_.sent.size(), 9u);
    EXPECT_EQ(link_.sent[1], (SentCommand{51, 9, 769}));
}

TEST_F(GenericRadio, TheWholeSequenceTheFrequenciesOfItsOwnReplyAndIndicatorsOnlyForTheShortADFRange)
{
    auto& d = open<ConfigVHFRadio>(50, 110, kRadioComm, 3);
    act(d, "BoxMinimumFreq=118000 cmdWriteSettings");
    EXPECT_EQ(link_.commands(), (Commands{{13, 0}, {9, 768}, {10, 38975}, {11, 18000}, {12, 21000}, {5, 6500}, {4, -1},
                                          {13, 0}, {14, 3084}}));
    read(d, 50, 110, QByteArray::fromHex("00 0000 5208 00 5398"));
    EXPECT_EQ(texts(d, "boxActiveFrequency boxStandbyFrequency"), "121,000 121,400");

    link_.clear();
    child<QCheckBox>(d, "ADFindicatorLeftUp")->setChecked(true);
    actOk(d, "CmdSetIndicators", kIndicatorsOnlyAdf1);
    EXPECT_FALSE(checked(d, "ADFindicatorLeftUp"));
    act(d, "OptionRadioAdf1 ADFindicatorLeftUp ADFindicatorRightUp CmdSetIndicators");
    EXPECT_EQ(link_.commands(), (Commands{{6, 0x0101}}));
    type(d, "BoxDefaultFreq", "100.0");
    EXPECT_EQ(written(d).at(3), (std::pair{12, 1000}));

    for (const char* payload : {"02 0000 1388", "09 0000 2C24"}) {  // 5000 as ADF; another type
        read(d, 50, 110, QByteArray::fromHex(payload));
        EXPECT_EQ(text(d, "boxActiveFrequency"), "500.0");
    }
}

// ---- The other radios --------------------------------------------------------

TEST_F(Avionics, CL30RadioSequenceForTheLongADFRangeRotarySwitchAndARefusedApply)
{
    auto& d = open<ConfigCL30Radio>(60, 111, kRadioAdf2, 4);
    child<QCheckBox>(d, "LocalOnOff")->setChecked(true);
    click(d, "cmdWriteSettings");
    EXPECT_EQ(link_.commands(), (Commands{{9, 1027}, {10, 17000}, {11, 1000}, {12, 8500}, {5, 257}, {4, 80}, {6, 1}, {14, 2}}));

    read(d, 60, 111, QByteArray(20, '\0') + char(3));  // position 24
    EXPECT_EQ(text(d, "RotarySwitchPosition"), "3");

    link_.clear();
    refusedApply(d, "CmdApply", "boxUpperKnobDelta", "fifty", kAdfUpperKnobRule);
    EXPECT_TRUE(DefaultForm<ConfigCL30Radio>::loaded());
}

TEST_F(Avionics, BKRadioAppliesOnlyWhenEveryBoxReadsThenMovesKeepingTheVersion)
{
    auto& d = open<ConfigBKradio>(70, 120, 4, 5);
    choose(d, "NewGaugeID", "71");
    refusedApply(d, "CmdApply", "boxMaximumFreqNav", "117,95O", FrequencyRule(kRadioNav, "NAV maximum frequency"));

    act(d, "cmdSetDefaultFreq CmdApply");
    EXPECT_EQ(fields(71), (std::vector<int>{120, 0, 5, 8, 20, 1, 0, 0, 22, 1, 0}));
    EXPECT_EQ(Cfg.GaugeRecType[70], 0);
    ASSERT_EQ(link_.sent.size(), 8u);
    EXPECT_EQ(link_.sent.back(), (SentCommand{71, 6, 0}));
}

TEST_F(Avionics, BKADFReadBackAndApply)
{
    Cfg.GaugeRecPlate1[60] = 1;
    auto& d = show<ConfigBKADF>(60, 121, 0, 5);
    // From byte 4: model, version, 6, active 7-8, 9, standby 10-11, mode 13, BFO 15.
    read(d, 60, 121, QByteArray::fromHex("0305 00 0D7F 00 03E8 00 01 00 01"));
    EXPECT_EQ(texts(d, "boxActiveFrequency boxStandbyFrequency BFOswitch"), "0345.5 0100.0 1");
    EXPECT_TRUE(checked(d, "OptionADF OptionRadio1 CheckUseFraction") && !checked(d, "OptionANT"));

    click(d, "OptionRadio2");
    for (int i = 0; i < 3; ++i)
        actOk(d, "CheckSendStandby", kNoStandbyOffset);
    link_.clear();
    click(d, "CmdApply");
    EXPECT_TRUE(link_.sent.empty());
    EXPECT_EQ(fields(60), (std::vector<int>{121, 3, 5, 8, 24, 2, 1, 0, 25, 2, 1}));
}

// ---- Transponders --------------------------------------------------------------

TEST_F(Avionics, CL30TransponderDefaultCodesPowerSwitchReadBackAndApplyStoringTheAtcOptionsAMoveKeeps)
{
    function(26, "XPDR", 5, 5);  // a radio function of a dedicated gauge
    auto& d = show<configCL30Transponder>(30, 112);
    EXPECT_EQ(child<QComboBox>(d, "ComboCode")->itemText(0), "026.  XPDR");
    for (const char* row : {"boxTransponder2", "CheckTransponder2Activ", "RotarySwitchPosition"})
        EXPECT_GE(child<QWidget>(d, "FrameData")->layout()->indexOf(child<QWidget>(d, row)), 0) << row;
    click(d, "cmdSetDefaultTransponder1");  // "7777" as it opens
    act(d, "BoxDefaultCode2=1200 cmdSetDefaultTransponder2 OptionExternalOnOff OptionLocalOnOff");
    for (auto [code, rule] : {std::pair{"128", kCodeNotFourDigits}, {"1284", kCodeNotOctal}})
        actOk(d, QStringLiteral("BoxDefaultCode1=%1 cmdSetDefaultTransponder1").arg(code), rule);
    EXPECT_EQ(link_.commands(), (Commands{{10, 4095}, {4, 4095}, {11, 640}, {5, 640}, {6, 1}, {6, 0}}));

    // From byte 4: model, version, 6, codes 7-8 and 10-11, IDENT 13, active 15, switch 17.
    read(d, 30, 112, QByteArray::fromHex("0402 00 1200 00 7777 00 00 00 00 00 03"));
    EXPECT_EQ(texts(d, "boxTransponder1 boxTransponder2 RotarySwitchPosition"), "1200 7777 3");
    EXPECT_TRUE(checked(d, "CheckTransponder2Activ"));
    EXPECT_FALSE(checked(d, "CheckTransponder1Activ") || checked(d, "CheckIdentButton"));
    read(d, 30, 112, QByteArray::fromHex("0101 00 4321 00 0123 00 01 00 01 00 02"));
    EXPECT_EQ(texts(d, "boxTransponder1 boxTransponder2 RotarySwitchPosition"), "4321 0123 2");
    EXPECT_TRUE(checked(d, "CheckTransponder1Activ CheckIdentButton"));

    // Apply stores both options, never applied before, and tells the module it was assigned.
    link_.clear();
    click(d, "Command6");
    EXPECT_EQ(link_.sent, (std::vector<SentCommand>{{30, 14, 2}}));
    EXPECT_EQ(Cfg.GaugeRecPlate1[30], 3);

    // The options as chosen go with the module that Apply moves.
    d.closeDialog();
    link_.clear();
    auto& moved = show<configCL30Transponder>(40, 112, 4, 2, 0);
    EXPECT_TRUE(checked(moved, "CheckUseStdby CheckuseIDENT"));
    act(moved, "CheckuseIDENT NewGaugeID=41 Command6");
    EXPECT_EQ(link_.sent, (std::vector<SentCommand>{{41, 14, 2}}));
    EXPECT_EQ(fields(41), (std::vector<int>{112, 0, 2, 8, 26, 1, 1, 0, 0, 0, 0}));

    CurrentGaugeID = 41;
    auto& again = reopen<configCL30Transponder>();
    EXPECT_TRUE(checked(again, "CheckUseStdby") && !checked(again, "CheckuseIDENT"));
    act(again, "NewGaugeID=42 Command6");
    EXPECT_EQ(GaugeRecord::Read(Cfg, 42).plate1, 1);
}

TEST_F(Avionics, BKTransponderCodeFlightLevelDisplayModeSwitchNamesAndAtcOptions)
{
    auto& d = show<ConfigBKtransponder>(50, 122, 0, 5);
    EXPECT_TRUE(checked(d, "CheckUseStdby"));  // never applied
    click(d, "cmdSetDefaultTransponder1");  // "1200" as it opens
    const auto write = [&](const char* level) {
        type(d, "boxFlightLevel", level);
        click(d, "cmdWriteFlightLevel");
    };
    for (const char* level : {"0000", "9999", " 350 ", "12.5"})
        write(level);
    for (const char* refused : {"10000", "-1", "abc", "", "35O"}) {
        messages_.expectOk(kFlightLevelRule);
        write(refused);
    }
    act(d, "OptionDashes OptionZero");
    EXPECT_EQ(link_.commands(), (Commands{{10, 4608}, {5, 0}, {5, 9999}, {5, 350}, {5, 12}, {12, 1}, {12, 0}}));

    for (auto [position, name] : {std::pair{5, "ALT"}, {1, "OFF"}, {6, "UNKNOWN"}}) {
        // From byte 4: model, version, 6, code 7-8, IDT 13, VFR 15, switch 17.
        read(d, 50, 122, QByteArray::fromHex("0005 00 7000 00 0000 00 01 00 01 00") + char(position));
        EXPECT_EQ(text(d, "RotarySwitchPosition"), name);
    }
    EXPECT_EQ(text(d, "boxTransponder1"), "7000");
    EXPECT_TRUE(checked(d, "CheckVFR"));

    // Once applied, the options show as stored.
    Cfg.GaugeRecFunction1[50] = 26;
    Cfg.GaugeRecPlate1[50] = 2;
    d.closeDialog();
    EXPECT_FALSE(checked(reopen<ConfigBKtransponder>(), "CheckUseStdby"));
}

TEST_F(Avionics, Transponder737LampTestOptionsAltitudeSourceAndApply)
{
    Cfg.GaugeRecPlate1[40] = 5;
    auto& d = show<ConfigTransponder737>(40, 114, 0, 3);
    EXPECT_TRUE(checked(d, "CheckUseStdby CheckShowATC") && !checked(d, "CheckIdent"));
    for (const auto& [box, checked] : {std::pair{"CheckATC", true}, {"CheckFail", true}, {"CheckATC", false}})
        child<QAbstractButton>(d, box)->setChecked(checked);
    EXPECT_EQ(link_.commands(), (Commands{{12, 256}, {12, 257}, {12, 1}}));

    link_.clear();
    read(d, 40, 114, QByteArray(19, 0) + char(2));
    EXPECT_EQ(text(d, "boxAltSource"), "2");
    act(d, "NewGaugeID=41 Command6");
    EXPECT_EQ(link_.commands(), (Commands{{7, 0}}));
    EXPECT_EQ(Cfg.GaugeRecPlate1[41], 5);
}

// ---- DME, autopilot, audio panel ---------------------------------------------

class DmeModule : public Avionics {
protected:
    static ConfigBKDME& dme(int options = 0)
    {
        Cfg.GaugeRecFunction2[80] = 55;
        return open<ConfigBKDME>(80, 123, 4, 5, options);
    }
};

TEST_F(DmeModule, DisplayWordsTestModeAndSourcesAndEveryCloseEndsTheTestModeFirst)
{
    ConfigBKDME& d = dme();
    // Hidden or shown, "12.3" keeps its digits and its point.
    act(d, "CheckShowDistance ComdSetMiles CheckShowDistance ComdSetMiles cmdWriteKnots CheckShowTime cmdsetMinutes "
           "CmdTestOn CmdTestOff OptionNav2 CmdSetFrequency OptionRMTNav2 CmdSetRMTNav");
    EXPECT_EQ(link_.commands(),
              (Commands{{4, 0x2123}, {4, 0x3123}, {3, 0x3456}, {5, 0x0078}, {10, 1}, {10, 0}, {12, 3}, {6, 1}}));

    link_.clear();
    for (const char* refused : {"1234", "9.999"}) {
        type(d, "boxSpeed", QString::fromLatin1(refused));
        actOk(d, "cmdWriteKnots", DisplayValueRule(QStringLiteral("speed")));
    }
    EXPECT_TRUE(link_.sent.empty());
    EXPECT_EQ(DmeFrequencyText(65535), "165.535");

    // Every close ends the test mode first.
    d.close();
    click(dme(), "cmdClose");
    messages_.expectYesNoDefaultNo(kUninstallQuestion, true);
    click(dme(), "CmdUninstall");
    dme();
    CloseOpenDialogs();  // a run's start
    EXPECT_FALSE(DefaultForm<ConfigBKDME>::loaded());
    EXPECT_EQ(link_.commands(), (Commands{{10, 0}, {10, 0}, {10, 0}, {10, 0}}));
}

TEST_F(DmeModule, ApplyStoresTheOptionWordAndLeavesModelZeroWhereverTheModuleGoes)
{
    ConfigBKDME& d = dme(6);
    EXPECT_TRUE(checked(d, "OptionNAV1 OptionRMTNav2"));
    Cfg.GaugeRecModel[81] = 9;  // left over in the free row
    act(d, "OptionNav2 NewGaugeID=81 Command6");
    EXPECT_EQ(link_.sent, (std::vector<SentCommand>{{81, 10, 0}}));
    EXPECT_EQ(fields(81), (std::vector<int>{123, 0, 5, 8, 27, 0, 7, 0, 0, 0, 0}));
    EXPECT_EQ(Cfg.GaugeRecFunction2[80], 55);
    CurrentGaugeID = 81;
    EXPECT_TRUE(checked(reopen<ConfigBKDME>(), "OptionNav2 OptionRMTNav2"));
}

using Autopilot = Avionics;

TEST_F(Autopilot, TestAndSetUpCommandsTheChoicesThatSendNothingAndApplyStoresOptionsAndDefaultSpeedAsLoaded)
{
    auto& d = open<ConfigBKAP>(70, 124, 6, 5, 0, 700);
    const auto knobs = [&](const QString& upper, const QString& lower) {
        choose(d, "ComboRotaryUpperKnob", upper);
        choose(d, "ComboAltRotaryLowerKnob", lower);
        click(d, "cmdSetRotary");
    };
    // Nothing chosen yet, or the lower list's blank item: the message only.
    for (const char* message : {kKnobSelectionIncorrect, kIncorrectValue, kKnobSelectionIncorrect})
        messages_.expectOk(message);
    act(d, "cmdSetRotary CmdSetPressDelta");
    knobs("10 ", " ");
    EXPECT_TRUE(link_.sent.empty());

    act(d, "CmdInitialize CheckPTup CheckPT CheckPTdwn CmdSetPT CmdAlert CheckPT CmdSetPT OptionAirPressHPA "
           "cmdWriteSettings");
    choose(d, "ComboAltPress", "100 ");
    click(d, "CmdSetPressDelta");
    for (const auto& [upper, lower] : {std::pair{"10 ", "100 "}, {"1 ", "20"}, {"100", "1000 "}})
        knobs(upper, lower);
    EXPECT_EQ(link_.commands(), (Commands{{1, 0}, {11, 0x7000}, {11, 16}, {11, 0x5000}, {9, 1}, {12, 100}, {15, 2570},
                                          {15, 258}, {15, 25700}}));

    // Options and default speed as stored, and Apply carries the model.
    d.closeDialog();
    link_.clear();
    auto& stored = open<ConfigBKAP>(70, 124, 6, 5, 23, -500);
    EXPECT_TRUE(checked(stored, "OptionAirPressHPA CheckUseAirpressure CheckFD") && !checked(stored, "CheckUseGS"));

    // A speed that is not a number or does not fit 16 bits writes nothing.
    for (const char* refused : {"40000", "-32769", "fast", "12 fpm"})
        refusedApply(stored, "Command6", "DefaultVS", QString::fromLatin1(refused), kDefaultVSRule);

    act(stored, "DefaultVS=-500 NewGaugeID=71 Command6");
    EXPECT_EQ(fields(71), (std::vector<int>{124, 6, 5, 8, 4, 0, 23, 0, 7, 0, -500}));
    EXPECT_EQ(DefaultVerticalSpeed(""), 0);
    EXPECT_EQ(DefaultVerticalSpeed("12.5"), 12);
}

class AudioPanel : public Avionics {
protected:
    // Reads a reply and tells which lamps are lit.
    std::vector<QString> lamps(QWidget& d, int buttons1, int buttons2, int rotary)
    {
        read(d, 90, 125, QByteArray(3, 0) + char(buttons1) + char(buttons2) + char(0) + char(rotary), "CmdReadSwitches");
        return litLamps(d);
    }
};

TEST_F(AudioPanel, MarkerLampsPowerOptionsThatSendNothingTheSelectorLampsAndApplyWritesTheFixedFunctions)
{
    auto& d = open<ConfigBKaudioPanel>(90, 125, 3, 2, 4);
    EXPECT_EQ(child<QGroupBox>(d, "FrameDisplays")->title(), "Power");
    EXPECT_TRUE(hidden(d, "FrameBacklight"));
    act(d, "DisplaysOn DisplaysOff CheckOuterMarker CheckInnerMarker CmdSetMarkers CheckMiddleMarker CmdSetMarkers "
           "CheckOuterMarker CheckMiddleMarker CheckInnerMarker CmdSetMarkers");
    EXPECT_EQ(link_.commands(), (Commands{{6, 5}, {6, 7}, {6, 0}}));

    EXPECT_EQ(lamps(d, 0x21, 0x0F, 4), (std::vector<QString>{"COM1", "COM2", "NAV1", "MKR", "ADF", "DME"}));
    EXPECT_EQ(lamps(d, 0xDE, 0xF0, 0), (std::vector<QString>{"NAV2", "AUX", "ICS", "SPR"}));
    lamps(d, 0, 0, 7);
    EXPECT_EQ(text(d, "boxRotary"), "COM12");

    link_.clear();
    Cfg.GaugeRecModel[91] = 9;
    act(d, "NewGaugeID=91 CmdAssign");
    EXPECT_EQ(fields(91), (std::vector<int>{125, 0, 2, 5, 38, 0, 0, 0, 180, 0, 0}));
    EXPECT_TRUE(link_.sent.empty());
}

// ---- On the real send path ------------------------------------------------

// Their frames as the control unit behind a pseudo-terminal receives them,
// and their replies decoded, values and lamps, with what a reply cannot
// change left as it was.
class OnTheBus : public testing::DialogOnTheBusTest {
protected:
    // Reads the module's reply: `payload` from its fourth byte on, then the
    // given bytes (positions from 1).
    void read(QWidget& d, int id, int type, const QByteArray& payload,
              std::initializer_list<std::pair<int, int>> bytes = {}, const char* button = "CmdReadRadio")
    {
        QByteArray r = SimControlUnit::reply(id, type, payload);
        for (const auto& [position, value] : bytes)
            r[position - 1] = char(value);
        unit_.setStatusReply(id, r);
        click(d, button);
    }
    static bool checked(QWidget& d, const char* option)
    {
        return d.findChild<QAbstractButton*>(QString::fromLatin1(option))->isChecked();
    }
};

TEST_F(OnTheBus, CL30AndBendixKingRadiosWriteTheirOwnSequencesAndReadBothRadios)
{
    auto& cl30 = open<ConfigCL30Radio>(32, 111, kRadioComm, 4);
    act(cl30, "BoxMinimumFreq=118,000 cmdWriteSettings");
    EXPECT_EQ(received(8),
              (Commands{{9, 1024}, {10, 38975}, {11, 18000}, {12, 21000}, {5, 6500}, {4, 0}, {6, 0}, {14, 2}}));

    auto& d = open<ConfigBKradio>(33, 120, 0, 5);
    read(d, 33, 120, QByteArray::fromHex("000000 5208 00 6D60 00 3340 00 2EE0"));
    QStringList shown;
    for (const char* name : {"boxActiveFrequency", "boxStandbyFrequency", "boxActiveFrequencyNAV", "boxStandbyFrequencyNAV"})
        shown << text(d, name);
    EXPECT_EQ(shown, (QStringList{"121,000", "128,000", "113,120", "112,000"}));
    // A close asked for while the sequence goes out waits until it is whole.
    for (const bool titleBar : {true, false}) {
        auto* w = &open<ConfigBKradio>(33, 120, 0, 5);
        unit_.clear();
        QTimer::singleShot(0, w, [w, titleBar] { titleBar ? void(w->close()) : click(*w, "CmdClose"); });
        click(*w, "cmdWriteSettings");
        EXPECT_EQ(received(8), (Commands{{5, 25700}, {10, 18000}, {11, 38975}, {12, 21000}, {3, 8000}, {4, 17950},
                                         {9, 13000}, {6, 0}})) << titleBar;
        EXPECT_FALSE(DefaultForm<ConfigBKradio>::loaded()) << titleBar;
    }
}

TEST_F(OnTheBus, AutopilotKnobStepsAndItsReadBack)
{
    ConfigBKAP& d = open<ConfigBKAP>(70, 124, 1, 5);
    for (const auto& [list, item] : {std::pair{"ComboRotaryUpperKnob", "10 "}, {"ComboAltRotaryLowerKnob", "100 "}}) {
        auto* combo = d.findChild<QComboBox*>(QString::fromLatin1(list));
        combo->setCurrentIndex(combo->findText(QString::fromLatin1(item)));
    }
    click(d, "cmdSetRotary");
    EXPECT_EQ(received(1), (Commands{{15, 2570}}));

    const auto airPress = [&] { return text(d, "boxAirPress") + d.findChild<QLabel*>("LabelAirPress")->text(); };
    read(d, 70, 124, {}, {{7, 0x80}, {10, 0xFF}, {11, 0x38}, {13, 0x01}, {14, 0xF4}, {19, 0x0B}, {20, 0xB0}, {22, 0x81}},
         "cmdReadAP");
    EXPECT_EQ((std::vector<QString>{text(d, "boxAltitude"), text(d, "boxVSValue"), text(d, "boxAltitudeAlert"), airPress()}),
              (std::vector<QString>{"-32768", "-200", "500", "29.92INHG"}));
    EXPECT_EQ(litLamps(d), (std::vector<QString>{"AP", "ALT"}));
    read(d, 70, 124, {}, {{19, 0x03}, {20, 0xF5}, {22, 0x02}, {23, 1}}, "cmdReadAP");
    EXPECT_EQ(airPress(), "1013HPA");
    EXPECT_EQ(litLamps(d), (std::vector<QString>{"HDG"}));
}

TEST_F(OnTheBus, DmeDistanceReadBackAndTheTestOffOfItsClose)
{
    ConfigBKDME& d = open<ConfigBKDME>(71, 123, 0, 5);
    act(d, "CheckShowDistance ComdSetMiles");
    EXPECT_EQ(received(1), (Commands{{4, 0x2123}}));

    read(d, 71, 123, {}, {{17, 2}, {19, 0xC8}, {20, 0x32}, {22, 1}, {24, 3}});
    EXPECT_TRUE(checked(d, "OptionRMTNav2") && checked(d, "OptionNav2"));
    EXPECT_EQ(text(d, "boxFrequency"), "113.000");
    read(d, 71, 123, {}, {{17, 0}, {22, 2}, {24, 4}});  // none of these exists
    EXPECT_EQ(text(d, "RotarySwitchPosition"), "FREQ");
    EXPECT_TRUE(checked(d, "OptionRMTNav2") && checked(d, "OptionNav2"));

    unit_.clear();
    click(d, "cmdClose");
    EXPECT_EQ(received(1), (Commands{{10, 0}}));
    EXPECT_FALSE(DefaultForm<ConfigBKDME>::loaded());
}

} // namespace
} // namespace varnet
