#pragma once

// ConfigDG: the dialog of the heading indicator (type 105). The user stores
// the gauge's preferences (knobs, gyro drift, what the disk shows, reversed
// direction, heading bug for the autopilot), calibrates disk and bug, tests
// them and reads their positions back.

#include "gauges/dialogframe.h"

#include <initializer_list>
#include <utility>

class QAbstractButton;
class QCheckBox;
class QLabel;

namespace varnet {

// ---- The heading indicator's words ----------------------------------------

// Disk and bug turn once in 4320 steps; dialog positions run 0..4319.
inline constexpr int kHeadingTop = 4319;
inline constexpr int kHeadingCalibrationReset = 1080;

// The preference word kept in GaugeRecPlate2.
struct HeadingPreferences {
    bool headingKnobPressed = false;  // 1
    bool bugKnobPressed = false;      // 2
    bool gyroDrift = false;           // 4
    bool showCompass = false;         // 8
    bool reversed = false;            // 16

    int word() const;
    static HeadingPreferences FromWord(int word);
    // Command 9: 8 for the heading knob, 32 for the bug knob.
    int knobWord() const { return (headingKnobPressed ? 8 : 0) + (bugKnobPressed ? 32 : 0); }
};

// Command 5's value for a heading test position in degrees.
inline int HeadingSteps(int degrees, bool reversed) { return (reversed ? 360 - degrees : degrees) * 12; }
// A step position read back, in degrees as "000.0".
QString HeadingDegreesText(int steps);

class ConfigDG final : public DialogOf<ConfigDG> {
    Q_OBJECT

public:
    ConfigDG();

    // Refreshes the free GaugeIDs; the dialog keeps its own gauge.
    void Form_Activate() override;

protected:
    void loadRecord() override;
    ApplySteps applySteps() override;
    FieldSet uninstallFields() const override { return Field::TypeAndBothAssignments; }
    int speedValue(int position) const override { return (106 - position) * 40; }

private:
    HeadingPreferences preferences() const;
    void knobBoxChanged();
    void showDirection();
    void nudge(int& position, int command, int step);
    void cmdReadStatus_Click();

    QCheckBox* UseSwitch1;
    QCheckBox* UseSwitch2;
    QCheckBox* CheckUseGyroDrift;
    QRadioButton* OptionShowHeading;
    QRadioButton* OptionShowCompass;
    QCheckBox* CheckReversCompassDirection;
    QCheckBox* CheckUseHeadingBug;
    QSlider* SliderValue1;
    QLineEdit* BoxtestValue1;
    QSlider* SliderValue2;
    QLineEdit* BoxTestValue2;
    QLabel* LabelHeadingLeft;
    QLabel* LabelHeadingRight;
    QLineEdit* boxCurrentHeading;
    QLineEdit* boxCurrentBug;
    int disk_ = 0;  // calibration positions, kept only while the dialog is open
    int bug_ = 0;
};

} // namespace varnet
