// The Bendix/King transponder: nibble code, flight level and what refuses
// it, display mode, switch by name, ATC options kept once applied.

#include "avionics/bktransponder.h"
#include "gauges/dialog_fixture.h"
#include "simcontrolunit/simcontrolunit.h"

namespace varnet {
namespace {

class BKTransponder : public testing::DialogTest {};

TEST_F(BKTransponder, CodeFlightLevelDisplayModeSwitchNamesAndAtcOptions)
{
    gauge(50, 122, 0, 5);
    OpenDialog<ConfigBKtransponder>();
    ConfigBKtransponder& d = DefaultForm<ConfigBKtransponder>::get();
    EXPECT_TRUE(child<QAbstractButton>(d, "CheckUseStdby")->isChecked());  // never applied
    click(d, "cmdSetDefaultTransponder1");  // "1200" as it opens
    const auto write = [&](const char* level) {
        child<QLineEdit>(d, "boxFlightLevel")->setText(level);
        click(d, "cmdWriteFlightLevel");
    };
    for (const char* level : {"0000", "9999", " 350 ", "12.5"})
        write(level);
    for (const char* refused : {"10000", "-1", "abc", "", "35O"}) {
        messages_.expectOk(kFlightLevelRule);
        write(refused);
    }
    click(d, "OptionDashes");
    click(d, "OptionZero");
    EXPECT_EQ(link_.commands(),
              (std::vector<std::pair<int, int>>{{10, 4608}, {5, 0}, {5, 9999}, {5, 350}, {5, 12}, {12, 1}, {12, 0}}));

    for (auto [position, name] : {std::pair{5, "ALT"}, {1, "OFF"}, {6, "UNKNOWN"}}) {
        // From byte 4: model, version, 6, code 7-8, IDT 13, VFR 15, switch 17.
        const QByteArray payload = QByteArray::fromHex("0005 00 7000 00 0000 00 01 00 01 00") + char(position);
        link_.replies[50] = testing::SimControlUnit::reply(50, 122, payload);
        click(d, "CmdReadRadio");
        EXPECT_EQ(child<QLineEdit>(d, "RotarySwitchPosition")->text(), name);
    }
    EXPECT_EQ(child<QLineEdit>(d, "boxTransponder1")->text(), "7000");
    EXPECT_TRUE(child<QAbstractButton>(d, "CheckVFR")->isChecked());

    // Once applied, the options show as stored.
    Cfg.GaugeRecFunction1[50] = 26;
    Cfg.GaugeRecPlate1[50] = 2;
    d.closeDialog();
    OpenDialog<ConfigBKtransponder>();
    EXPECT_FALSE(child<QAbstractButton>(DefaultForm<ConfigBKtransponder>::get(), "CheckUseStdby")->isChecked());
}

} // namespace
} // namespace varnet
