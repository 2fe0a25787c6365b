#pragma once

// ConfigBKradio: the dialog of the Bendix/King COM/NAV radio module (type
// 120), a COM and a NAV radio side by side. It assigns the module as radio
// number 1 or 2, writes both radios' limits and power-on frequencies and
// the power-switch mode into the module, sets backlight, power-on light and
// display brightness, and reads the four frequencies back.

#include "avionics/genericradio.h"

namespace varnet {

struct ComNavFrequencies {
    FrequencyTexts com, nav;
};
ComNavFrequencies ComNavDefaults();

// "Write settings to radio": 5 (both bytes 100), the COM minimum, maximum
// and power-on frequency (10, 11, 12), the NAV ones (3, 4, 9), and 6 with
// the power-switch mode. Nothing once a box's rule was shown.
std::optional<RadioCommands> BKRadioWrite(const ComNavFrequencies& frequencies, bool externalOnOff);

class ConfigBKradio final : public ModuleDialogOf<ConfigBKradio> {
    Q_OBJECT

public:
    ConfigBKradio();

    void cmdWriteSettings_Click();

protected:
    void loadRecord() override;
    bool validateModule() override { return settingsCommands().has_value(); }
    void writeModule(int gaugeID) override;
    void afterApply() override { cmdWriteSettings_Click(); }
    void decodeReply(const Reply& reply) override;

private:
    std::optional<RadioCommands> settingsCommands() const;
    void cmdSetDefaultFreq_Click();

    QLineEdit* BoxMinimumFreq;
    QLineEdit* BoxMaximumFreq;
    QLineEdit* BoxDefaultFreq;
    QLineEdit* boxMinimumfreqNav;
    QLineEdit* boxMaximumFreqNav;
    QLineEdit* boxDefaultFreqNav;
    QCheckBox* LocalOnOff;
    QLineEdit* boxActiveFrequency;
    QLineEdit* boxStandbyFrequency;
    QLineEdit* boxActiveFrequencyNAV;
    QLineEdit* boxStandbyFrequencyNAV;
};

} // namespace varnet
