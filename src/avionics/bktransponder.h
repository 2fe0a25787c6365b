#pragma once

// ConfigBKtransponder: the dialog of the Bendix/King transponder (type
// 122), which holds one code, sent a digit per nibble. Besides the shared
// transponder parts it writes a flight level to the module's display, sets
// what that display shows without altitude, and reads back the mode switch
// by name and the VFR button.

#include "avionics/transponders.h"

namespace varnet {

inline constexpr const char* kFlightLevelRule = "Incorrect value; Must be 0000 to 9999";

// The flight level typed, in hundreds of feet: a number that rounds (halves
// to even) to 0..9999. Otherwise the rule is shown and nothing returned.
std::optional<int> FlightLevel(const QString& text);
// The mode switch's position as the module reports it: "OFF", "STBY", "TST",
// "ON", "ALT", or "UNKNOWN".
QString ModeSwitchName(int position);

class ConfigBKtransponder final : public TransponderDialogOf<ConfigBKtransponder> {
    Q_OBJECT

public:
    ConfigBKtransponder();

protected:
    QString switchText(int position) const override { return ModeSwitchName(position); }
    void decodeMore(const Reply& reply) override;

private:
    void cmdWriteFlightLevel_Click();

    QLineEdit* boxFlightLevel;
    QRadioButton* OptionZero;
    QCheckBox* CheckVFR;
};

} // namespace varnet
