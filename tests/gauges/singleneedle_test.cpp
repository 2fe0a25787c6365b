// The single-needle dialog's own commands, its end-stop question, the
// needle calibration counter and the assignment lists it shares with the
// other needle dialogs.

#include "dialog_fixture.h"
#include "gauges/needlelists.h"
#include "gauges/singleneedle.h"

#include <QGroupBox>

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;

class SingleNeedle : public testing::DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        // Two engine functions that drive gauges, one that does not, and
        // plates of two categories.
        function(40, "RPM", 1, kSignalGauge);
        function(41, "EGT", 1, kSignalMacro);
        function(42, "Switch", 1, 1);
        function(43, "Flaps", 2, kSignalGauge);
        plate("Tacho", 1);
        plate("Flaps", 2);
        plate("EGT", 1);
    }

    static void function(int n, const char* name, int category, int signal)
    {
        Cfg.FunctionNames[n] = name;
        Cfg.FunctionFullName[n] = std::string(name) + " full";
        Cfg.FunctionCategory[n] = Byte(category);
        Cfg.FunctionSignalType[n] = Byte(signal);
    }
    static void plate(const char* name, int category)
    {
        const int p = Cfg.AddPlate();
        Cfg.PlateName[p] = name;
        Cfg.PlateValue[p][0] = category;
        Cfg.PlateCount = Integer(p + 1);
    }

    ConfigGaugeSN& open(int model = 1)
    {
        gauge(12, 1, model);
        Cfg.GaugeRecCategory1[12] = 1;
        Cfg.GaugeRecFunction1[12] = 40;
        Cfg.GaugeRecSeqNr1[12] = 2;
        Cfg.GaugeRecPlate1[12] = 2;
        OpenDialog<ConfigGaugeSN>(&ConfigGaugeSN::GaugeSNInitialize);
        ConfigGaugeSN& d = DefaultForm<ConfigGaugeSN>::get();
        d.Form_Activate();
        link_.clear();
        return d;
    }
    static QSlider* needle(ConfigGaugeSN& d) { return child<QSlider>(d, "SliderValue1"); }
    static QStringList items(ConfigGaugeSN& d, const char* combo)
    {
        QStringList texts;
        auto* c = child<QComboBox>(d, combo);
        for (int i = 0; i < c->count(); ++i)
            texts << c->itemText(i);
        return texts;
    }
};

TEST_F(SingleNeedle, TheEndStopQuestionComesOncePerActivationAndYesMovesTheCentre)
{
    ConfigGaugeSN& d = open();
    click(d, "cmdCentre");
    messages_.expectYesNo(kEndStopQuestion, true);
    messages_.expectOk("Needle center will be set to 540");
    needle(d)->setValue(946);
    needle(d)->setValue(1000);
    click(d, "cmdCentre");
    EXPECT_EQ(link_.commands(), (Commands{{5, 472}, {5, 946}, {5, 1000}, {5, 540}}));

    // A new activation asks again; No sends nothing, later moves go out.
    d.Form_Activate();
    link_.clear();
    messages_.expectYesNo(kEndStopQuestion, false);
    needle(d)->setValue(950);
    needle(d)->setValue(960);
    click(d, "cmdCentre");
    EXPECT_EQ(link_.commands(), (Commands{{5, 960}, {5, 472}}));

    // High resolution: the dial ends at 3780.
    d.Form_Activate();
    link_.clear();
    click(d, "cmdSetHigh");
    needle(d)->setValue(3780);
    messages_.expectYesNo(kEndStopQuestion, true);
    messages_.expectOk("Needle center will be set to 2160");
    needle(d)->setValue(3781);
    click(d, "CmdLowRes");
    EXPECT_EQ(link_.commands(), (Commands{{9, 1}, {5, 3780}, {5, 3781}, {9, 0}, {5, 1079}}));
}

TEST_F(SingleNeedle, DirectionSpecialCommandsAndTheCalibrationCounter)
{
    ConfigGaugeSN& d = open(2);
    EXPECT_FALSE(child<QGroupBox>(d, "Frame52mmModel")->isHidden());
    click(d, "Option4");
    click(d, "Option3");
    for (const char* extra : {"CmdExtra1", "CmdExtra2", "CmdExtra3", "CmdExtra4"})
        click(d, extra);
    auto* box = child<QLineEdit>(d, "boxCalibrationValue");
    box->setText("1075");
    click(d, "CmdUpLargeMove");
    EXPECT_EQ(box->text(), "0");
    box->setText("5");
    click(d, "cmdDwnLargeMove");
    EXPECT_EQ(box->text(), "1079");
    click(d, "CmdMoveUpSmallMove");
    click(d, "cmdDwnSmallMove");
    box->setText("100");
    click(d, "cmdSetCalibration");
    click(d, "CmdTestCalibration");
    needle(d)->setValue(300);
    click(d, "cmdResetCalibration");
    EXPECT_EQ(box->text(), "0");
    EXPECT_EQ(link_.commands(), (Commands{{4, 1},   {4, 0},  {14, 0}, {14, 1}, {14, 2},  {14, 3},
                                          {11, 40}, {12, 40}, {11, 4}, {12, 4}, {13, 400}, {1, 0},
                                          {5, 300}, {13, 0}, {5, 0},  {1, 0}}));

    // A value whose frame would not fit 16 bits, or no number: the rule.
    link_.clear();
    for (const char* bad : {"16384", "abc"}) {
        box->setText(bad);
        messages_.expectOk(kCalibrationValueRule);
        click(d, "cmdSetCalibration");
    }
    click(d, "cmdSetHigh");
    messages_.expectOk(kLowResolutionOnly);
    click(d, "cmdResetCalibration");
    EXPECT_EQ(link_.commands(), (Commands{{9, 1}}));
}

TEST_F(SingleNeedle, ModelOneShowsNoResolutionOrCalibrationFrames)
{
    ConfigGaugeSN& d = open(1);
    EXPECT_TRUE(child<QGroupBox>(d, "Frame52mmModel")->isHidden());
    EXPECT_TRUE(child<QGroupBox>(d, "FrameCommands")->isHidden());
}

TEST_F(SingleNeedle, ListsFollowTheCategoryWhichIsWrittenAtOnce)
{
    ConfigGaugeSN& d = open();
    EXPECT_EQ(child<QComboBox>(d, "ComboClass")->currentText(), "Engines");
    EXPECT_EQ(items(d, "GaugeFunction"), (QStringList{"040.  RPM", "041.  EGT"}));
    EXPECT_EQ(child<QComboBox>(d, "GaugeFunction")->currentText(), "040.  RPM");
    EXPECT_EQ(child<QLineEdit>(d, "FunctionFullName")->text(), "RPM full");
    EXPECT_EQ(child<QComboBox>(d, "ComboSeqNr")->currentText(), "2");
    EXPECT_EQ(items(d, "ComboPlate"), (QStringList{"000.  Tacho", "002.  EGT"}));
    EXPECT_EQ(child<QComboBox>(d, "ComboPlate")->currentText(), "002.  EGT");

    // A macro function takes no plate.
    choose(d, "GaugeFunction", "041.  EGT");
    EXPECT_EQ(child<QComboBox>(d, "ComboPlate")->currentIndex(), -1);

    Session.ConfigChanged = 0;
    choose(d, "ComboClass", "Surfaces");
    EXPECT_EQ(Cfg.GaugeRecCategory1[12], 2);
    EXPECT_EQ(Session.ConfigChanged, 1);
    EXPECT_EQ(items(d, "ComboPlate"), (QStringList{"001.  Flaps"}));
    // Cancel keeps the category that was chosen.
    click(d, "CmdClose");
    EXPECT_EQ(Cfg.GaugeRecCategory1[12], 2);

    // Function 255: the lists stay empty and the record untouched.
    gauge(13, 4);
    Cfg.GaugeRecFunction1[13] = kNoFunctionList;
    Cfg.GaugeRecCategory1[13] = 3;
    OpenDialog<ConfigGaugeSN>(&ConfigGaugeSN::GaugeSNInitialize);
    ConfigGaugeSN& fixed = DefaultForm<ConfigGaugeSN>::get();
    EXPECT_EQ(child<QComboBox>(fixed, "GaugeFunction")->count(), 0);
    choose(fixed, "ComboClass", "Engines");
    EXPECT_EQ(Cfg.GaugeRecCategory1[13], 3);
}

TEST_F(SingleNeedle, ApplyNeedsCategoryFunctionAndPlateAndWritesAllFour)
{
    ConfigGaugeSN& d = open();
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
    const GaugeRecord r = GaugeRecord::Read(Cfg, 12);
    EXPECT_EQ(r.type, 1);
    EXPECT_EQ(r.category1, 2);
    EXPECT_EQ(r.function1, 43);
    EXPECT_EQ(r.seqNr1, 3);
    EXPECT_EQ(r.plate1, 1);
    EXPECT_FALSE(DefaultForm<ConfigGaugeSN>::loaded());
}

TEST_F(SingleNeedle, CalibrateHandsTheNeedleToThePlateWindowWithThisGauge)
{
    ConfigGaugeSN& d = open();
    CurrentGaugeID = 99;  // another dialog was opened meanwhile
    click(d, "cmdAdvanced");
    EXPECT_EQ(CalNeedleNr, 1);
    EXPECT_EQ(CalFunctionName, "040.  RPM");
    EXPECT_EQ(CalCategoryName, "Engines");
    EXPECT_EQ(CalFunctionNr, 40);
    EXPECT_EQ(CalSeqNr, 2);
    EXPECT_EQ(CalPlateNr, 2);
    EXPECT_EQ(CurrentGaugeID, 12);
    EXPECT_TRUE(DefaultForm<frmCalibrate>::loaded());

    // No plate chosen: plate 0 is handed over and written at once.
    child<QComboBox>(d, "ComboPlate")->setCurrentIndex(-1);
    Cfg.GaugeRecPlate1[12] = 2;
    click(d, "cmdAdvanced");
    EXPECT_EQ(CalPlateNr, 0);
    EXPECT_EQ(Cfg.GaugeRecPlate1[12], 0);

    choose(d, "ComboClass", "Fuel");
    messages_.expectOk(kAssignBeforeCalibrating);
    click(d, "cmdAdvanced");
}

TEST(NeedleLists, EachNeedleKeepsItsOwnFunctionNumbers)
{
    ConfigTables t;
    LoadConstantTables(t);
    t.FunctionCategory[60] = t.FunctionCategory[70] = 3;
    t.FunctionSignalType[60] = kSignalGauge;
    t.FunctionSignalType[70] = kSignalGauge;
    t.FunctionCategory[80] = 4;
    t.FunctionSignalType[80] = kSignalMacro;
    EXPECT_EQ(GaugeFunctionItems(t, 3).numbers, (std::vector<int>{60, 70}));
    EXPECT_EQ(GaugeFunctionItems(t, 4).numbers, (std::vector<int>{80}));
    EXPECT_EQ(ListNumber("070.  x"), 70);
    EXPECT_EQ(ListNumber(""), 0);
    EXPECT_TRUE(BeyondStandardDial(946, kLowResolutionTop));
    EXPECT_FALSE(BeyondStandardDial(3780, kHighResolutionTop));
}

} // namespace
} // namespace varnet
