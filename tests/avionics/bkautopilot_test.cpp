// The autopilot dialog's test and set-up commands, what refuses a knob or
// step choice, and the options and default vertical speed that Apply stores.
// Its read-back is shown against the simulated control unit.

#include "avionics/bkautopilot.h"
#include "gauges/dialog_fixture.h"

#include <QCheckBox>
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
};

TEST_F(Autopilot, TestAndSetUpCommandsAndTheChoicesThatSendNothing)
{
    ConfigBKAP& d = open();
    // Nothing chosen yet, or the lower list's blank item: the message only.
    for (const char* message : {kKnobSelectionIncorrect, kIncorrectValue, kKnobSelectionIncorrect})
        messages_.expectOk(message);
    click(d, "cmdSetRotary");
    click(d, "CmdSetPressDelta");
    choose(d, "ComboRotaryUpperKnob", "10 ");
    choose(d, "ComboAltRotaryLowerKnob", " ");
    click(d, "cmdSetRotary");
    EXPECT_TRUE(link_.sent.empty());

    for (const char* control : {"CmdInitialize", "CheckPTup", "CheckPT", "CheckPTdwn", "CmdSetPT", "CmdAlert", "CheckPT",
                                "CmdSetPT", "OptionAirPressHPA", "cmdWriteSettings"})
        click(d, control);
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

TEST_F(Autopilot, ApplyStoresOptionsAndDefaultSpeedAsLoadedAndCarriesTheModel)
{
    ConfigBKAP& d = open(21, -500);
    EXPECT_TRUE(child<QRadioButton>(d, "OptionAirPressHPA")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(d, "CheckFD")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(d, "CheckUseGS")->isChecked());

    // A speed that is not a number or does not fit 16 bits writes nothing.
    for (const char* refused : {"40000", "-32769", "fast", "12 fpm"}) {
        child<QLineEdit>(d, "DefaultVS")->setText(QString::fromLatin1(refused));
        messages_.expectOk(kDefaultVSRule);
        click(d, "Command6");
    }
    EXPECT_EQ(GaugeRecord::Read(Cfg, 70).type, 124);
    EXPECT_TRUE(link_.newIDs.empty());

    child<QLineEdit>(d, "DefaultVS")->setText("-500");
    choose(d, "NewGaugeID", "71");
    click(d, "Command6");
    const GaugeRecord r = GaugeRecord::Read(Cfg, 71);
    EXPECT_EQ((std::vector<int>{r.type, r.model, r.version, r.category1, r.function1, r.function2, r.plate1, r.plate2}),
              (std::vector<int>{124, 6, 5, 8, 4, 7, 21, -500}));
    EXPECT_EQ(DefaultVerticalSpeed(""), 0);
    EXPECT_EQ(DefaultVerticalSpeed("12.5"), 12);
}

} // namespace
} // namespace varnet
