#pragma once

// ConfigADF: the dialog of the ADF indicator (type 108). The user assigns
// the gauge, calibrates the pointer to North, tells the gauge where North is
// on its compass card, sets pointer speed and backlight and tests the
// pointer. While the dialog is open it polls the gauge every 50 ms and shows
// the compass-card reading.

#include "gauges/dialogframe.h"

namespace varnet {

// Pointer positions run 0..4319; the compass card counts 1084 steps a turn,
// against the degrees.
inline constexpr int kPointerTop = 4319;
inline constexpr int kCompassCardSteps = 1084;
inline constexpr int kCompassPollMs = 50;

// Command 5's pointer steps for a test direction in degrees.
inline int PointerSteps(int degrees) { return degrees * kPointerTop / 360; }
// The course in whole degrees that card position `p` stands for (0..359).
int CompassCourse(int cardPosition);

inline constexpr const char* kPointerDeltaRule = "Needledelta must be a whole number between 0 and 4319";

class ConfigADF final : public DialogOf<ConfigADF> {
    Q_OBJECT

public:
    ConfigADF();

    // Starts the compass poll.
    void Form_Activate() override;

protected:
    ApplySteps applySteps() override;
    FieldSet uninstallFields() const override { return Field::TypeAndBothAssignments; }
    void closing() override;
    int speedValue(int position) const override { return (155 - position) * 2; }
    QString typeNameText() const override;

private:
    void testPointer();
    void nudge(int step);
    std::optional<int> pointerDelta();

    QLineEdit* boxCourse;
    QLineEdit* Needledelta;
    QSlider* SliderValue1;
    QLineEdit* BoxtestValue1;
    StatusPoll* poll_;
};

} // namespace varnet
