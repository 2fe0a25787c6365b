#pragma once

// ConfigDME: the dialog of the DME indicator (type 113). It stores whether
// the indicator serves one or two DMEs and which one, and sets up and tests
// the gauge at once: power switch source, display brightness for day and
// night, backlight and displays, test values for distance, speed and time,
// test mode, and the position of the gauge's rotary switch.

#include "gauges/dialogframe.h"

#include <functional>

class QCheckBox;
class QGridLayout;

namespace varnet {

// The test rows of a DME display (distance, speed, time), each a box with
// its starting value, "Write" and "show", into `grid` from its first row.
// Write sends the box's display word through `send` (command 4, 3 or 5),
// or states the rule and sends nothing when the box does not read. The DME
// module has the same rows.
void AddDmeTestRows(QGridLayout* grid, QWidget* parent, const std::function<void(int command, int word)>& send);

// Command 8 of the DME indicator: its own lamp word, where "off" is 0.
int DmeLightWord(bool backlightOn, bool displaysOn);

class ConfigDME final : public DialogOf<ConfigDME> {
    Q_OBJECT

public:
    ConfigDME();

protected:
    void loadRecord() override;
    ApplySteps applySteps() override;
    FieldSet uninstallFields() const override { return Field::IdentityAndNeedle1; }
    // The gauge leaves test mode whenever the dialog closes.
    void closing() override { send(10, 0); }
    int lightWord() const override;

private:
    void setBrightness(bool night);
    void CmdReadRadio_Click();

    QRadioButton* OptionSingleDME;
    QRadioButton* OptionDualDME;
    QRadioButton* OptionDME1;
    QRadioButton* OptionDME2;
    QRadioButton* OptionLocalOnOff;
    QRadioButton* OptionExternalOnOff;
    QRadioButton* DisplaysOn;
    QRadioButton* DisplaysOff;
    QSlider* SliderLightIntensity;
    QLineEdit* RotarySwitchPosition;
};

} // namespace varnet
