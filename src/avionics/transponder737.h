#pragma once

// ConfigTransponder737: the dialog of the 737 transponder panel (type 114),
// which holds two codes. It stores three ATC options and always shows them
// as stored, tests the panel's "XPNDR Fail" and "ATC" lamps (command 12) and
// reads back the altitude-source selector as well.

#include "avionics/transponders.h"

namespace varnet {

// Command 12's lamp word: "XPNDR Fail" 1, "ATC" 256.
int TransponderLampWord(bool fail, bool atc);

class ConfigTransponder737 final : public TransponderDialogOf<ConfigTransponder737> {
    Q_OBJECT

public:
    ConfigTransponder737();

protected:
    void decodeMore(const Reply& reply) override;

private:
    QCheckBox* CheckFail;
    QCheckBox* CheckATC;
    QLineEdit* boxAltSource;
};

} // namespace varnet
