#pragma once

// ConfigGaugeSD: the dialog of the single-needle gauge with a four-digit
// display (type 2). Besides the assignment it shares with the single-needle
// dialog, the test slider drives the needle and the display together: the
// display shows a test range scaled by the needle position, encoded exactly
// as the run shows simulator values.

#include "gauges/dialogframe.h"
#include "gauges/needlelists.h"

#include <optional>

namespace varnet {

// The test needle's span: a standard 315-degree dial, steps 0..944.
inline constexpr int kDisplayDialTop = 944;
// The display test range boxes hold 0..999.
inline constexpr int kDisplayRangeTop = 999;

// The display's test value in tenths at needle `position`: 0 at position 0
// up to the span of the range (maximum minus minimum) at the dial's end.
// Limited to what the display can show, so a minimum above the maximum
// shows 0 rather than a negative value the display word cannot carry.
int DisplayTestTenths(int position, double minimum, double maximum);
// The test value as the display shows it: "130" from 100.0 up, else "65.0".
QString DisplayTestText(int tenths);
// A range box's text kept within 0..kDisplayRangeTop: the text it is to
// become, or nothing when it may stay.
std::optional<QString> LimitedRangeText(const QString& text);

// One needle's assignment lists laid out in `box`, with its "Calibrate"
// button (named `calibrateName`) handing that needle to the plate window.
// Needle 2's lists carry the suffix "1" in their names.
NeedleAssignment* AssignmentFrame(GaugeDialog& dialog, QGroupBox* box, Needle needle, const char* calibrateName,
                                  const QString& sequenceCaption);

class ConfigGaugeSD final : public DialogOf<ConfigGaugeSD> {
    Q_OBJECT

public:
    ConfigGaugeSD();

    void GaugeSDinitialize();
    // Rebuilds the plate list (the plate window may have assigned one).
    void Form_Activate() override;

protected:
    void loadRecord() override;
    ApplySteps applySteps() override;
    FieldSet uninstallFields() const override { return Field::IdentityAndNeedle1; }
    int speedValue(int position) const override { return 4300 - 40 * position; }

private:
    // Every move sends the needle; a settled move (not a drag in progress)
    // also sends the display.
    void SliderValue1_Change(int position, bool settled);
    void keepInRange(QLineEdit* box);

    NeedleAssignment* assignment_;
    QSlider* SliderValue1;
    QLineEdit* BoxtestValue1;
    QLineEdit* MinValDisp;
    QLineEdit* MaxValDisp;
    QLineEdit* ActValDisp;
};

} // namespace varnet
