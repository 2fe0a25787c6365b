// The needle dialogs: the single-needle dialog's own commands, its end-stop
// question, the calibration counter and the assignment lists it shares with
// the dual-needle and display dialogs; each needle's hand-over to the plate
// window.

#include "dialog_fixture.h"
#include "gauges/displayneedle.h"
#include "gauges/dualneedle.h"
#include "gauges/needlelists.h"
#include "gauges/singleneedle.h"

#include <QGroupBox>

#include <tuple>

namespace varnet {
namespace {

using testing::Commands;
using Fields = std::vector<int>;

class SingleNeedle : public testing::DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
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
        link_.clear();
        return d;
    }
    static QStringList items(QWidget& d, const char* combo)
    {
        QStringList texts;
        auto* c = child<QComboBox>(d, combo);
        for (int i = 0; i < c->count(); ++i)
            texts << c->itemText(i);
        return texts;
    }
    static QString current(QWidget& d, const char* combo) { return child<QComboBox>(d, combo)->currentText(); }
};

TEST_F(SingleNeedle, TheEndStopQuestionComesOncePerActivationAndYesMovesTheCentre)
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
}

TEST_F(SingleNeedle, DirectionSpecialCommandsAndTheCalibrationCounter)
{
    // Model 1 shows no resolution or calibration frames.
    auto& one = open(1);
    EXPECT_TRUE(hidden(one, "Frame52mmModel") && hidden(one, "FrameCommands"));
    click(one, "CmdClose");

    auto& d = open(2);
    EXPECT_FALSE(hidden(d, "Frame52mmModel"));
    act(d, "Option4 Option3 CmdExtra1 CmdExtra2 CmdExtra3 CmdExtra4 boxCalibrationValue=1075 CmdUpLargeMove");
    EXPECT_EQ(text(d, "boxCalibrationValue"), "0");
    act(d, "boxCalibrationValue=5 cmdDwnLargeMove");
    EXPECT_EQ(text(d, "boxCalibrationValue"), "1079");
    act(d, "CmdMoveUpSmallMove cmdDwnSmallMove boxCalibrationValue=100 cmdSetCalibration CmdTestCalibration "
           "SliderValue1=300 cmdResetCalibration");
    EXPECT_EQ(text(d, "boxCalibrationValue"), "0");
    EXPECT_EQ(link_.commands(), (Commands{{4, 1}, {4, 0}, {14, 0}, {14, 1}, {14, 2}, {14, 3}, {11, 40}, {12, 40},
                                          {11, 4}, {12, 4}, {13, 400}, {1, 0}, {5, 300}, {13, 0}, {5, 0}, {1, 0}}));

    // A value whose frame would not fit 16 bits, or no number: the rule.
    link_.clear();
    for (const char* bad : {"16384", "abc"}) {
        messages_.expectOk(kCalibrationValueRule);
        act(d, QStringLiteral("boxCalibrationValue=%1 cmdSetCalibration").arg(bad));
    }
    click(d, "cmdSetHigh");
    messages_.expectOk(kLowResolutionOnly);
    click(d, "cmdResetCalibration");
    EXPECT_EQ(link_.commands(), (Commands{{9, 1}}));
}

TEST_F(SingleNeedle, ListsFollowTheCategoryWhichIsWrittenAtOnce)
{
    auto& d = open();
    EXPECT_EQ(current(d, "ComboClass"), "Engines");
    EXPECT_EQ(items(d, "GaugeFunction"), (QStringList{"040.  RPM", "041.  EGT"}));
    EXPECT_EQ(std::tuple(current(d, "GaugeFunction"), text(d, "FunctionFullName"), current(d, "ComboSeqNr")),
              std::tuple("040.  RPM", "RPM full", "2"));
    EXPECT_EQ(items(d, "ComboPlate"), (QStringList{"000.  Tacho", "002.  EGT"}));
    EXPECT_EQ(current(d, "ComboPlate"), "002.  EGT");

    // A macro function takes no plate.
    choose(d, "GaugeFunction", "041.  EGT");
    EXPECT_EQ(child<QComboBox>(d, "ComboPlate")->currentIndex(), -1);

    Session.ConfigChanged = 0;
    choose(d, "ComboClass", "Surfaces");
    EXPECT_EQ(std::tuple(Cfg.GaugeRecCategory1[12], Session.ConfigChanged), std::tuple(2, 1));
    EXPECT_EQ(items(d, "ComboPlate"), (QStringList{"001.  Flaps"}));
    // Cancel keeps the category that was chosen.
    click(d, "CmdClose");
    EXPECT_EQ(Cfg.GaugeRecCategory1[12], 2);

    // Function 255: the lists stay empty and the record untouched.
    std::tie(Cfg.GaugeRecFunction1[13], Cfg.GaugeRecCategory1[13]) = std::tuple(kNoFunctionList, 3);
    auto& fixed = show<ConfigGaugeSN>(13, 4, 1, 1, 2, &ConfigGaugeSN::GaugeSNInitialize);
    EXPECT_EQ(child<QComboBox>(fixed, "GaugeFunction")->count(), 0);
    choose(fixed, "ComboClass", "Engines");
    EXPECT_EQ(Cfg.GaugeRecCategory1[13], 3);
}

TEST_F(SingleNeedle, ApplyNeedsCategoryFunctionAndPlateAndWritesAllFour)
{
    auto& d = open();
    choose(d, "ComboClass", "Fuel");
    messages_.expectOk(kNoCategoryOrFunction);
    click(d, "CmdApply");
    choose(d, "ComboClass", "Surfaces");
    choose(d, "GaugeFunction", "043.  Flaps");
    child<QComboBox>(d, "ComboPlate")->setCurrentIndex(-1);
    messages_.expectOk(kNoPlate);
    click(d, "CmdApply");
    EXPECT_EQ(Cfg.GaugeRecFunction1[12], 40);

    choose(d, "ComboPlate", "001.  Flaps");
    choose(d, "ComboSeqNr", "3");
    click(d, "CmdApply");
    EXPECT_EQ(fields(12), (Fields{1, 1, 1, 2, 43, 3, 1, 0, 0, 0, 0}));
    EXPECT_FALSE(DefaultForm<ConfigGaugeSN>::loaded());
}

TEST_F(SingleNeedle, CalibrateHandsTheNeedleToThePlateWindowWithThisGauge)
{
    auto& d = open();
    CurrentGaugeID = 99;  // another dialog was opened meanwhile
    click(d, "cmdAdvanced");
    EXPECT_EQ(std::tuple(CalNeedleNr, CalFunctionName, CalCategoryName, CalFunctionNr, CalSeqNr, CalPlateNr),
              std::tuple(1, "040.  RPM", "Engines", 40, 2, 2));
    EXPECT_EQ(CurrentGaugeID, 12);
    EXPECT_TRUE(DefaultForm<frmCalibrate>::loaded());

    // No plate chosen: plate 0 is handed over and written at once.
    child<QComboBox>(d, "ComboPlate")->setCurrentIndex(-1);
    Cfg.GaugeRecPlate1[12] = 2;
    click(d, "cmdAdvanced");
    EXPECT_EQ(std::tuple(CalPlateNr, Cfg.GaugeRecPlate1[12]), std::tuple(0, 0));

    choose(d, "ComboClass", "Fuel");
    messages_.expectOk(kAssignBeforeCalibrating);
    click(d, "cmdAdvanced");
}

TEST(NeedleLists, EachNeedleKeepsItsOwnFunctionNumbers)
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
}

// ---- The display gauge -----------------------------------------------------

TEST(DisplayTest, TheRangeScaledByTheNeedleStaysWithinTheDisplay)
{
    EXPECT_EQ(DisplayTestTenths(7, 0, 130), 10);  // 9.6 tenths
    EXPECT_EQ(DisplayTestText(10), "01.0");
    EXPECT_EQ(DisplayTestTenths(944, 20, 120), 1000);  // the minimum only narrows the span
    EXPECT_EQ(DisplayTestText(1000), "100");
    EXPECT_EQ(DisplayTestTenths(944, 200, 100), 0);  // a minimum above the maximum
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

    choose(d, "ComboSeqNr", "4");
    click(d, "CmdApply");
    EXPECT_EQ(fields(21), (Fields{2, 2, 1, 1, 40, 4, 0, 0, 0, 0, 0}));
}

// ---- The dual-needle gauge -------------------------------------------------

class DualNeedle : public testing::DialogTest {
protected:
    ConfigGaugeDN& open(int category1 = 1, int category2 = 1)
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
    choose(d, "ComboClass1", "Fuel");
    EXPECT_EQ(Cfg.GaugeRecCategory2[30], 1);
    choose(d, "GaugeFunction1", "050.  F50");
    choose(d, "ComboPlate1", "001.  ");
    click(d, "cmdPlate2");
    EXPECT_EQ(std::tuple(CalNeedleNr, CalFunctionNr, CalPlateNr, Cfg.GaugeRecPlate2[30]), std::tuple(2, 50, 1, 1));

    choose(d, "NewGaugeID", "31");
    messages_.expectYesNo(kNoAssignmentNeedle1, true);
    messages_.expectYesNo(kNoPlateNeedle1, true);
    click(d, "CmdApply");
    EXPECT_EQ(fields(30), Fields(11, 0));
    EXPECT_EQ(fields(31), (Fields{5, 4, 1, 0, 0, 2, 0, 3, 50, 3, 1}));
}

} // namespace
} // namespace varnet
