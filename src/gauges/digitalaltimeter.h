#pragma once

// ConfigGaugeAD: the dialog of the digital altimeter (type 101 with a
// version byte other than 5). The gauge always shows the altitude; the user
// chooses the pressure unit, three or five digits, master or slave and
// whether the pressure knob goes through the simulator, writes and reads
// the air pressure, tests the altitude, calibrates the needle and sets the
// display intensities, backlight and displays.

#include "gauges/dialogframe.h"

#include <optional>

class QCheckBox;

namespace varnet {

inline constexpr const char* kAirPressureRule =
    "Incorrect air pressure value; Enter value between 0 and 9999; Use decimal point in Hg mode ";
inline constexpr const char* kAltimeterTypeText = "Digital Altimeter (range -5000  to +50000 feet)";

// The air pressure typed into the box as command 12 carries it: hundredths
// of an inch in inHg (read as decimal text, so "29.92" is 2992 exactly), or
// millibar; digits past the unit are dropped once the value is known to lie
// within 0..9999. Nothing unless the whole text is one decimal number with
// "." as its point, and nothing for a value outside 0..9999.
std::optional<int> AirPressureWord(const QString& text, bool inHg);

// The pressure of the reply as the box shows it: inches with their decimals
// ("29.92", "30"), or whole millibar.
QString AirPressureText(int raw, bool inHg);

// Command 5's unit word when a unit option is clicked (the knob bit only
// where the version has the knob), and when the knob check box is.
int UnitWordOfOption(bool mBar, bool knobViaSim, int version);
int UnitWordOfKnobCheck(bool mBar, bool knobViaSim);

// Command 10's intensity word: each display's intensity 1..31 as 32 minus
// it, the altitude display in the high byte; night sets 0x4040.
int IntensityWord(int altitude, int pressure, bool night);

// The needle offset counter after a nudge: above 1067 it starts at 0 again,
// below 0 it goes to 1068, as the gauge counts.
int StepNeedleDelta(int value, int delta);

class ConfigGaugeAD final : public DialogOf<ConfigGaugeAD> {
    Q_OBJECT

public:
    ConfigGaugeAD();

protected:
    void loadRecord() override;
    ApplySteps applySteps() override;
    FieldSet uninstallFields() const override { return Field::TypeAndNeedle1; }
    bool uninstallAsks() const override { return false; }
    int speedValue(int position) const override { return 2 * (105 - position); }
    bool backlightHasDisplaysBit() const override { return true; }
    QString typeNameText() const override { return QString::fromLatin1(kAltimeterTypeText); }

private:
    bool inHg() const;
    int version() { return context().record().version; }
    void unitChosen(bool mBar);
    void cmdWriteAirPress_Click();
    void CmdReadAirPress_Click();
    void nudge(int value, int delta);
    void Command1_Click();
    void setIntensity(bool night);

    QRadioButton* Option1;
    QRadioButton* Option2;
    QRadioButton* OptionAltDigits3;
    QRadioButton* OptionAltDigits5;
    QRadioButton* Master;
    QRadioButton* Slave;
    QCheckBox* PressEffectsAlt;
    QSlider* SliderValue1;
    QLineEdit* BoxtestValue1;
    QLineEdit* boxAirPress;
    QLineEdit* BoxPressRotation;
    QCheckBox* CheckPressViaFS;
    QSlider* SliderIntensityAlt;
    QSlider* SliderPressIntensity;
    QLineEdit* Needledelta;
    QWidget* FrameIntensity;
    QWidget* FramePressureControl;
    QWidget* FrameTestKnob;
};

} // namespace varnet
