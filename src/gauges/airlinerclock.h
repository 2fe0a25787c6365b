#pragma once

// ConfigBoeingClock: the dialog of the airliner clock (type 104), a date
// and time display with real time, elapsed time and a seconds needle. The
// user stores synchronisation mode, seconds-needle source and time mode,
// sets the clock to the PC's date and time, sets light, display and their
// brightness by day and night, the needle speed and the needle's
// calibration, and reads date, real time and elapsed time back.

#include "gauges/dialogframe.h"

#include <QColor>

namespace varnet {

// The seconds needle's calibration counts 1080 steps a turn.
inline constexpr int kSecondsNeedleTop = 1079;
inline constexpr const char* kSecondsNeedleRule = "Needledelta must be a whole number between 0 and 1079";
// Plate 1's bit for a seconds needle that follows the real time.
inline constexpr int kSecondsFollowRealTime = 32;

class ConfigBoeingClock final : public DialogOf<ConfigBoeingClock> {
    Q_OBJECT

public:
    ConfigBoeingClock();

    // Refreshes the free GaugeIDs and shows this gauge's stored options
    // again, replacing choices not yet applied.
    void Form_Activate() override;

protected:
    void loadRecord() override;
    ApplySteps applySteps() override;
    FieldSet uninstallFields() const override { return Field::TypeAndBothAssignments; }
    int lightWord() const override;
    bool backlightHasDisplaysBit() const override { return true; }

private:
    void showStoredOptions();
    void setDateTime();
    void setBrightness(bool night);
    void nudge(int command, int change);
    std::optional<int> counter();
    void paintCounter(const QColor& colour);
    void readClock();

    QComboBox* ComboClockSyncMode;
    QRadioButton* OptionSecondsRealTime;
    QRadioButton* OptionSecondsElapsedTime;
    QRadioButton* OptionShowLocalTime;
    QRadioButton* OptionShowUTC;
    QLineEdit* boxdate;
    QLineEdit* boxRealTime;
    QLineEdit* boxElapsedTime;
    QSlider* Slider2;
    QLineEdit* boxDisplayBrightness;
    QSlider* Slider1;
    QLineEdit* Needledelta;
};

} // namespace varnet
