#pragma once

// ConfigCL30Radio: the dialog of the CTL30 radio module (type 111). It is
// the generic radio's dialog with a backlight of its own (brightness, "Set
// as default", power-on modes), display brightness for day and night, an
// external on/off switch, the rotary switch position in the read-back, and
// its own settings sequence: no brightness list, no clicks boxes and no ADF
// indicators.

#include "avionics/genericradio.h"

namespace varnet {

// "Write settings to radio" of the CTL30 radio: 9, 10, 11, 12, 5, then 4
// (fast rotate x 10, for every radio type), 6 (external on/off) and 14 with
// the fixed click value 2.
std::optional<RadioCommands> CL30RadioWrite(const RadioSettings& settings, bool externalOnOff);

class ConfigCL30Radio final : public RadioDialog {
    Q_OBJECT

public:
    ConfigCL30Radio();

protected:
    std::optional<RadioCommands> settingsCommands() const override;
    void decodeReply(const Reply& reply) override;
    void unloadSelf() override { DefaultForm<ConfigCL30Radio>::unload(); }

private:
    QCheckBox* LocalOnOff;
    QLineEdit* RotarySwitchPosition;
};

} // namespace varnet
