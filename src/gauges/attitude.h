#pragma once

// ConfigGaugeAI: the dialog of the attitude indicator (type 103). Bank and
// pitch are two stepper axes, each with its own speed, calibration nudges
// and level position; the user tests them with sliders, turns the bank axis
// continuously, sweeps the pitch axis, and stores the calibration.

#include "gauges/dialogframe.h"

#include "platform/wait.h"

class QTimer;

namespace varnet {

// The step ranges of the axes for a model byte.
struct AttitudeAxes {
    int bankTop, pitchTop;
    int bankSmall, bankLarge, pitchSmall, pitchLarge;
    // The speed sliders' range and positions; none for the model whose
    // sliders keep the range and positions they start with.
    bool setsSpeeds;
    int speedMinimum, speedMaximum, bankSpeed, pitchSpeed;
};
AttitudeAxes AttitudeAxesOf(int model);

// The level position of an axis whose slider ends at `top`: the middle,
// halves to even (2160 for 4319).
int LevelPosition(int top);

// Command 3's value for the pitch speed: the pitch speed is the negative
// one, so its value always carries the sign flag, also at 0, which would
// otherwise set the bank speed to 0.
double PitchSpeedValue(int position);

class ConfigGaugeAI final : public DialogOf<ConfigGaugeAI> {
    Q_OBJECT

public:
    ConfigGaugeAI();

    // Free GaugeIDs, the model byte and the axes of its model.
    void Form_Activate() override;

protected:
    ApplySteps applySteps() override;
    FieldSet uninstallFields() const override { return Field::IdentityAndNeedle1; }
    // A turning bank axis or a pitch sweep is stopped before the dialog goes.
    void closing() override;
    QString typeNameText() const override { return QStringLiteral("Attitude Indicator"); }

private:
    void sweepTick();
    void stop();

    QLineEdit* BoxModel;
    QSlider* SliderValue1;
    QSlider* SliderValue2;
    QLineEdit* BoxtestValue1;
    QLineEdit* BoxTestValue2;
    QSlider* SliderBankSpeed;
    QSlider* SliderPitchSpeed;
    QTimer* Timer1;
    BusyFlag sweeping_;
    int sweepState_ = 0;
    bool rotating_ = false;
};

} // namespace varnet
