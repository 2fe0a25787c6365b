// The autopilot dialog's test and set-up commands, what refuses a knob or
// step choice, the read-back with its pressure unit and mode lamps, and the
// options and default vertical speed that Apply stores.

#include "avionics/bkautopilot.h"
#include "gauges/dialog_fixture.h"
#include "simcontrolunit/simcontrolunit.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;

class Autopilot : public testing::DialogTest {
protected:
    ConfigBKAP& open(int options = 0, int defaultVS = 700)
    {
        gauge(70, 124, 6, 5, 0);
        Cfg.GaugeRecPlate1[70] = Integer(options);
        Cfg.GaugeRecPlate2[70] = Integer(defaultVS);
        OpenDialog<ConfigBKAP>();
        return DefaultForm<ConfigBKAP>::get();
    }
    static bool lit(QWidget& d, const char* lamp)
    {
        return child<QLineEdit>(d, lamp)->palette().color(QPalette::Base) == QColor(255, 0, 0);
    }
};

TEST_F(Autopilot, TestAndSetUpCommands)
{
    ConfigBKAP& d = open();
    click(d, "CmdInitialize");
    for (const char* check : {"CheckPTup", "CheckPT", "CheckPTdwn"})
        click(d, check);
    click(d, "CmdSetPT");
    click(d, "CmdAlert");
    click(d, "CheckPT");
    click(d, "CmdSetPT");
    click(d, "OptionAirPressHPA");
    click(d, "cmdWriteSettings");
    choose(d, "ComboAltPress", "100 ");
    click(d, "CmdSetPressDelta");
    for (const auto& [upper, lower] : {std::pair{"10 ", "100 "}, {"1 ", "20"}, {"100", "1000 "}}) {
        choose(d, "ComboRotaryUpperKnob", QString::fromLatin1(upper));
        choose(d, "ComboAltRotaryLowerKnob", QString::fromLatin1(lower));
        click(d, "cmdSetRotary");
    }
    EXPECT_EQ(link_.commands(), (Commands{{1, 0}, {11, 0x7000}, {11, 16}, {11, 0x5000}, {9, 1}, {12, 100},
                                          {15, 2570}, {15, 258}, {15, 25700}}));
}

TEST_F(Autopilot, KnobAndStepChoicesThatAreNoNumberSendNothing)
{
    ConfigBKAP& d = open();
    // Nothing chosen yet, then the lower list's blank item.
    messages_.expectOk(kKnobSelectionIncorrect);
    click(d, "cmdSetRotary");
    choose(d, "ComboRotaryUpperKnob", "10 ");
    choose(d, "ComboAltRotaryLowerKnob", " ");
    messages_.expectOk(kKnobSelectionIncorrect);
    click(d, "cmdSetRotary");
    messages_.expectOk(kIncorrectValue);
    click(d, "CmdSetPressDelta");
    EXPECT_TRUE(link_.sent.empty());
    EXPECT_EQ(RotaryKnobWord("256", "20"), std::nullopt);
    EXPECT_EQ(RotaryKnobWord("1.5", "20"), std::nullopt);
}

TEST_F(Autopilot, ReadShowsSignedValuesPressureInItsUnitAndTheModeLamps)
{
    ConfigBKAP& d = open();
    auto reply = [](std::initializer_list<std::pair<int, int>> bytes) {
        QByteArray r = testing::SimControlUnit::reply(70, 124);
        for (const auto& [position, value] : bytes)
            r[position - 1] = char(value);
        return r;
    };
    link_.replies[70] = reply({{7, 0x80}, {10, 0xFF}, {11, 0x38}, {13, 0x01}, {14, 0xF4}, {19, 0x0B}, {20, 0xB0},
                               {22, 0x81}, {23, 0}});
    click(d, "cmdReadAP");
    EXPECT_EQ(child<QLineEdit>(d, "boxAltitude")->text(), "-32768");
    EXPECT_EQ(child<QLineEdit>(d, "boxVSValue")->text(), "-200");
    EXPECT_EQ(child<QLineEdit>(d, "boxAltitudeAlert")->text(), "500");
    EXPECT_EQ(child<QLineEdit>(d, "boxAirPress")->text(), "29.92");
    EXPECT_EQ(child<QLabel>(d, "LabelAirPress")->text(), "INHG");
    EXPECT_TRUE(lit(d, "boxAPMaster"));
    EXPECT_TRUE(lit(d, "boxALT"));
    for (const char* grey : {"boxHDG", "boxROL", "boxNAV", "boxAPR", "boxREV"})
        EXPECT_FALSE(lit(d, grey)) << grey;

    link_.replies[70] = reply({{19, 0x03}, {20, 0xF5}, {22, 0x02}, {23, 1}});
    click(d, "cmdReadAP");
    EXPECT_EQ(child<QLineEdit>(d, "boxAirPress")->text(), "1013");
    EXPECT_EQ(child<QLabel>(d, "LabelAirPress")->text(), "HPA");
    EXPECT_FALSE(lit(d, "boxAPMaster"));
    EXPECT_TRUE(lit(d, "boxHDG"));
    EXPECT_EQ(AutopilotPressureText(5, true), "00.05");
}

TEST_F(Autopilot, ApplyStoresOptionsAndDefaultSpeedAndCarriesTheModel)
{
    ConfigBKAP& d = open(21, -500);
    EXPECT_TRUE(child<QRadioButton>(d, "OptionAirPressHPA")->isChecked());
    EXPECT_EQ((std::vector<bool>{child<QCheckBox>(d, "CheckUseAirpressure")->isChecked(),
                                 child<QCheckBox>(d, "CheckFD")->isChecked(),
                                 child<QCheckBox>(d, "CheckUseGS")->isChecked(),
                                 child<QCheckBox>(d, "CheckCopyAltitude")->isChecked()}),
              (std::vector<bool>{false, true, false, true}));
    EXPECT_EQ(child<QLineEdit>(d, "DefaultVS")->text(), "-500");

    // A speed that is not a number or does not fit 16 bits writes nothing.
    for (const char* refused : {"40000", "-32769", "fast", "12 fpm"}) {
        child<QLineEdit>(d, "DefaultVS")->setText(QString::fromLatin1(refused));
        messages_.expectOk(kDefaultVSRule);
        click(d, "Command6");
    }
    EXPECT_EQ(GaugeRecord::Read(Cfg, 70).type, 124);
    EXPECT_TRUE(link_.newIDs.empty());

    click(d, "CheckUseGS");
    child<QLineEdit>(d, "DefaultVS")->setText("12.5");
    choose(d, "NewGaugeID", "71");
    click(d, "Command6");
    const GaugeRecord r = GaugeRecord::Read(Cfg, 71);
    EXPECT_EQ((std::vector<int>{r.type, r.model, r.version, r.category1, r.function1, r.function2, r.plate1, r.plate2}),
              (std::vector<int>{124, 6, 5, 8, 4, 7, 29, 12}));
    EXPECT_EQ(Cfg.GaugeRecType[70], 0);

    EXPECT_EQ(DefaultVerticalSpeed(""), 0);
    EXPECT_EQ(DefaultVerticalSpeed("-32768"), -32768);
    EXPECT_EQ(DefaultVerticalSpeed("13.5"), 14);
}

} // namespace
} // namespace varnet
