#pragma once

// ConfigAnalogueAltimeter: the dialog of the analogue altimeter (type 101,
// version 5): three needles, an air-pressure display and knob. It shares the
// pressure and unit words of the digital altimeter. It sets the
// pressure unit, the master or slave role and the knob options, writes and
// reads the air pressure, calibrates the needles with the gauge's help,
// tests the altitude, and shows whether the gauge is moving its needles.

#include "gauges/dialogframe.h"
#include "gauges/digitalaltimeter.h"

class QCheckBox;
class QPushButton;

namespace varnet {

inline constexpr int kNeedledeltaTop = 4319;

// Command 3's value for a speed slider position: 16 at 0 down to 6 at 100.
int AltimeterSpeed(int position);

class ConfigAnalogueAltimeter final : public DialogOf<ConfigAnalogueAltimeter> {
    Q_OBJECT

public:
    ConfigAnalogueAltimeter();

    StatusPoll& TimerScan() { return *TimerScan_; }

protected:
    void loadRecord() override;
    ApplySteps applySteps() override;
    FieldSet uninstallFields() const override { return Field::TypeAndNeedle1; }
    void closing() override { TimerScan_->stop(); }
    int speedValue(int position) const override { return AltimeterSpeed(position); }
    QString typeNameText() const override;

private:
    void unitChosen(int unit);
    void PressEffectsAlt_Click(bool set);
    void showStatus(const Reply& reply);
    void CmdReadAirPress_Click();
    void cmdWriteAirPress_Click();
    void Command2_Click();
    void Command1_Click();
    void nudge(int delta);
    std::optional<int> needledelta();

    QRadioButton* Option1;
    QRadioButton* Option2;
    QRadioButton* Master;
    QRadioButton* Slave;
    QCheckBox* PressEffectsAlt;
    QCheckBox* CheckPressViaFS;
    QLineEdit* boxAirPress;
    QLineEdit* BoxPressRotation;
    QLineEdit* boxStatus;
    QRadioButton* Option100Feet;
    QRadioButton* Option1000Feet;
    QRadioButton* Option10000feet;
    QLineEdit* Needledelta;
    QSlider* SliderValue1;
    QLineEdit* BoxtestValue1;
    StatusPoll* TimerScan_;
};

} // namespace varnet
