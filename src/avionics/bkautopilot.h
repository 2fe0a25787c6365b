#pragma once

// ConfigBKAP: the dialog of the Bendix/King autopilot (type 124). It stores
// the autopilot's options and default vertical speed, sets up and tests the
// module (initialize, alert and pitch-trim lamps, air-pressure unit, the
// altitude step of the up/down buttons and of the two rotary knobs), and
// reads back altitude, vertical speed, altitude alert, air pressure and the
// mode lamps.
//
// Lamp boxes (text boxes that show a module's switch or mode bit as red or
// grey) are here too; the audio panel uses them as well.

#include "avionics/moduleframe.h"

#include <initializer_list>
#include <optional>
#include <utility>

class QComboBox;
class QLabel;

namespace varnet {

// ---- Plain logic ------------------------------------------------------------------

// The options stored in GaugeRecPlate1.
struct AutopilotOptions {
    bool hectopascal = false;     // else inches of mercury
    bool useAirPressure = false;  // the autopilot's pressure overwrites the altimeter's
    bool flightDirector = false;
    bool glideslope = false;      // in APR mode
    bool copyAltitude = false;    // current altitude taken when switched on

    int Word() const;
    static AutopilotOptions FromWord(int word);
};

inline constexpr const char* kKnobSelectionIncorrect = "One of the Knob selections incorrect";
inline constexpr const char* kIncorrectValue = "Incorrect value";
inline constexpr const char* kDefaultVSRule =
    "The default vertical speed must be a number of feet per minute between -32768 and 32767";

// Command 15: the upper knob's step in the high byte, the lower knob's step
// / 10 in the low byte. Nothing when either text is not a whole number or
// the steps do not fit their bytes.
std::optional<int> RotaryKnobWord(const QString& upper, const QString& lower);

// Command 11 of the pitch-trim test: 0x1000 up, 0x2000 PT, 0x4000 down.
int PitchTrimWord(bool up, bool pitchTrim, bool down);

// The default vertical speed as stored: the number rounded to a whole one
// (halves to even); an empty text is 0. Nothing when the text is not a
// number or the value does not fit a signed 16-bit word.
std::optional<int> DefaultVerticalSpeed(const QString& text);

// The air pressure read back: hundredths of inches of mercury "29.92", or
// whole hectopascal.
QString AutopilotPressureText(int value, bool inchesOfMercury);

// ---- The dialog -------------------------------------------------------------------

class ConfigBKAP final : public ModuleDialogOf<ConfigBKAP> {
    Q_OBJECT

public:
    ConfigBKAP();

protected:
    void loadRecord() override;
    bool validateModule() override;
    int modelAfterApply() const override { return model_; }
    void writeModule(int gaugeID) override;
    void decodeReply(const Reply& reply) override;

private:
    QGroupBox* buildSettings();
    QWidget* buildTests();
    QGroupBox* buildIndicators();
    AutopilotOptions options() const;
    void cmdSetRotary_Click();
    void CmdSetPressDelta_Click();

    QRadioButton* OptionAirPressINHG;
    QRadioButton* OptionAirPressHPA;
    QCheckBox* CheckUseAirpressure;
    QCheckBox* CheckFD;
    QCheckBox* CheckUseGS;
    QCheckBox* CheckCopyAltitude;
    QLineEdit* DefaultVS;
    QCheckBox* CheckPTup;
    QCheckBox* CheckPT;
    QCheckBox* CheckPTdwn;
    QComboBox* ComboAltPress;
    QComboBox* ComboRotaryUpperKnob;
    QComboBox* ComboAltRotaryLowerKnob;
    QLineEdit* boxAltitude;
    QLineEdit* boxAltitudeAlert;
    QLineEdit* boxVSValue;
    QLineEdit* boxAirPress;
    QLabel* LabelAirPress;
    QLineEdit* boxAPMaster;
    QLineEdit* boxHDG;
    QLineEdit* boxROL;
    QLineEdit* boxNAV;
    QLineEdit* boxAPR;
    QLineEdit* boxREV;
    QLineEdit* boxALT;

    // Checked and taken when Apply starts; written back at the final GaugeID.
    int defaultVS_ = 0;
    int model_ = 0;
};

} // namespace varnet
