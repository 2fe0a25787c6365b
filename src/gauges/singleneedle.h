#pragma once

// ConfigGaugeSN: the dialog of the single-needle gauges (types 1 and 4).
// The user assigns category, function, data pair and plate, tests the
// needle, sets direction, resolution, speed and backlight, calibrates the
// needle of the 49/52 mm model and opens the plate window for the plate.

#include "gauges/dialogframe.h"

class QFrame;

namespace varnet {

class NeedleAssignment;

// Steps of a needle turn in the two resolutions, and the end of a standard
// 315-degree dial in each.
inline constexpr int kLowResolutionTop = 1079;
inline constexpr int kHighResolutionTop = 4319;
inline constexpr int kStandardDialCentre = 472;

// Whether a test position runs past the end stop of a standard dial, for
// the slider's present maximum.
bool BeyondStandardDial(int position, int sliderMaximum);

inline constexpr const char* kEndStopQuestion =
    "A value higher than 315 degrees on a standard gauge will cause needle to run against end stop. "
    "Recalibration will be required. Continue?:";
inline constexpr const char* kLowResolutionOnly =
    "Calibration only possible in Low Resolution mode!\r\nCalibration process aborted.";
inline constexpr const char* kCalibrationValueRule = "The calibration value must be a number between 0 and 16383";

class ConfigGaugeSN final : public DialogOf<ConfigGaugeSN> {
    Q_OBJECT

public:
    ConfigGaugeSN();

    void GaugeSNInitialize();
    // Rebuilds the plate list, clears the warned flag and sets the centre.
    void Form_Activate() override;

protected:
    void loadRecord() override;
    ApplySteps applySteps() override;
    FieldSet uninstallFields() const override { return Field::IdentityAndNeedle1; }
    int speedValue(int position) const override { return 4300 - 40 * position; }

private:
    void SliderValue1_Change(int position);
    void setResolution(bool high);
    void stepCalibration(int command, int value, int delta);
    void cmdSetCalibration_Click();
    void cmdResetCalibration_Click();

    NeedleAssignment* assignment_;
    QSlider* SliderValue1;
    QLineEdit* BoxtestValue1;
    QLineEdit* boxCalibrationValue;
    QWidget* Frame52mmModel;
    QWidget* FrameCommands;
    bool warned_ = false;
    int centre_ = kStandardDialCentre;
};

} // namespace varnet
