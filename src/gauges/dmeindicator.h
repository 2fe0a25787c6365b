#pragma once

// ConfigDME: the dialog of the DME indicator (type 113). It stores whether
// the indicator serves one or two DMEs and which one, and sets up and tests
// the gauge at once: power switch source, display brightness for day and
// night, backlight and displays, test values for distance, speed and time,
// test mode, and the position of the gauge's rotary switch.

#include "gauges/dialogframe.h"

class QCheckBox;

namespace varnet {

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
    // One "Write" beside a test box.
    void writeTestValue(int command, QLineEdit* box, QCheckBox* show, const QString& what);
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
