#pragma once

// ConfigBKADF: the dialog of the Bendix/King ADF radio (type 121). It sends
// no set-up command of its own: it stores which of the two ADF receivers the
// module serves and two options, and reads back both frequencies, the
// ANT/ADF mode and the BFO switch.

#include "avionics/moduleframe.h"

namespace varnet {

inline constexpr const char* kNoStandbyOffset = "Currently there is no offset for the ADF standby frequency";

// An ADF frequency read back (kHz times 10) as the dialog shows it, four
// whole digits and one decimal: 3455 -> "0345.5".
QString AdfReadBackText(int replyWord);

class ConfigBKADF final : public ModuleDialogOf<ConfigBKADF> {
    Q_OBJECT

public:
    ConfigBKADF();

protected:
    void loadRecord() override;
    int modelAfterApply() const override { return 3; }
    void writeModule(int gaugeID) override;
    void decodeReply(const Reply& reply) override;

private:
    QCheckBox* CheckUseFraction;
    QLineEdit* boxActiveFrequency;
    QLineEdit* boxStandbyFrequency;
    QRadioButton* OptionANT;
    QRadioButton* OptionADF;
    QLineEdit* BFOswitch;
};

} // namespace varnet
