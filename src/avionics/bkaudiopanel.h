#pragma once

// ConfigBKaudioPanel: the dialog of the Bendix/King audio panel (type 125).
// It assigns the panel's two fixed functions, lights the marker-beacon lamps
// for a test and reads back the selector buttons and the rotary switch. The
// panel has no backlight settings; its "Power" options send nothing.

#include "avionics/moduleframe.h"

namespace varnet {

// Command 6: outer 4, middle 2, inner 1.
int MarkerWord(bool outer, bool middle, bool inner);

// The rotary switch as the panel reports it: "COM3", "COM2", "COM1",
// "COM12", "COM21", "TEL"; empty for any other position.
QString AudioRotaryText(int position);

class ConfigBKaudioPanel final : public ModuleDialogOf<ConfigBKaudioPanel> {
    Q_OBJECT

public:
    ConfigBKaudioPanel();

protected:
    void decodeReply(const Reply& reply) override;

private:
    QCheckBox* CheckOuterMarker;
    QCheckBox* CheckMiddleMarker;
    QCheckBox* CheckInnerMarker;
    QLineEdit* boxRotary;
    QLineEdit* boxCOM1;
    QLineEdit* boxCOM2;
    QLineEdit* boxNAV1;
    QLineEdit* boxNAV2;
    QLineEdit* boxMKR;
    QLineEdit* boxADF;
    QLineEdit* boxDME;
    QLineEdit* boxAUX;
    QLineEdit* boxICS;
    QLineEdit* boxSPKR;
};

} // namespace varnet
