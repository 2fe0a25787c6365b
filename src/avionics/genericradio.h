#pragma once

// The radio modules that work as a COMM radio, a NAV radio or an ADF
// receiver in one of two ranges: the generic radio module (type 110,
// ConfigVHFRadio) and the CTL30 radio module (type 111, cl30radio.h), which
// share the radio type, the frequency and knob boxes, their defaults, the
// read-back of the active and standby frequencies and the checked write of
// the settings. The module keeps its settings itself; the configuration
// stores only the radio type (model byte), number and standby flag.
//
// A settings write is a sequence of commands. Every box is read before the
// first one goes out, so a box that does not read stops the whole sequence
// with its rule and the module is never left half configured.

#include "avionics/moduleframe.h"

#include <array>
#include <optional>
#include <utility>
#include <vector>

class QGridLayout;
class QLabel;

namespace varnet {

// ---- Plain logic ----------------------------------------------------------------

// The radio type, as the module's model byte carries it.
inline constexpr int kRadioComm = 0;
inline constexpr int kRadioNav = 1;
inline constexpr int kRadioAdf1 = 2;  // ADF 100-999.9
inline constexpr int kRadioAdf2 = 3;  // ADF 100-1700
inline bool IsAdfRadio(int typeCode) { return typeCode == kRadioAdf1 || typeCode == kRadioAdf2; }

// (command, value) in the order the module takes them.
using RadioCommands = std::vector<std::pair<int, int>>;

struct FrequencyTexts {
    QString minimum, maximum, standard;  // standard: the frequency at power-on
};
// The boxes' defaults of a radio type: "118,000" for COMM and NAV, "100.0"
// for ADF.
FrequencyTexts FrequencyDefaults(int typeCode);

// The rule of a frequency box, named `what`.
QString FrequencyRule(int typeCode, const QString& what);
// The word a frequency box sends: whole kHz less 100000 for COMM and NAV,
// tenths of kHz for ADF. Nothing, once the rule was shown, when the text
// does not read or does not fit 16 bits.
std::optional<int> FrequencyWord(int typeCode, const QString& text, const QString& what);
// A frequency read back, as the boxes show it.
QString ReplyFrequencyText(int typeCode, int word);

inline constexpr const char* kUpperKnobRule = "Upper knob step must be a number of kHz between 0 and 255";
inline constexpr const char* kLowerKnobRule = "Lower knob step must be a number of kHz between 0 and 2550";
inline constexpr const char* kAdfUpperKnobRule = "Upper knob step must be a number of kHz, 0 or more";
inline constexpr const char* kAdfLowerKnobRule = "Lower knob step must be a number of kHz, 0 or more";

// Command 5's knob word. COMM and NAV: the upper step (kHz) in the high
// byte, the lower step / 10 in the low byte. ADF: the upper step x 10 and
// the lower step, each limited to 255. Nothing once a rule was shown.
std::optional<int> KnobWord(int typeCode, const QString& upper, const QString& lower);

// The boxes a settings write of the generic and CTL30 radios reads.
struct RadioSettings {
    int typeCode = kRadioComm;
    int version = 0;  // the module's hardware version
    FrequencyTexts frequencies;
    QString upperStep, lowerStep;
    int fastRotate = 0;  // slider position 0..16
};

// 9 (version and type), 10 (maximum), 11 (minimum), 12 (power-on
// frequency) and 5 (knob word), as both radio types take them first.
std::optional<RadioCommands> LimitsAndKnob(const RadioSettings& settings);

struct GenericRadioExtras {
    int brightness = 0;  // 0..3
    QString clicksUpper, clicksLower;
};
inline constexpr const char* kClicksRule = "Clicks must be a whole number between 0 and 255";

// "Write settings to radio" of the generic radio: 13, 9, 10, 11, 12, 5, 4,
// 13, 14. COMM and NAV take -1 as fast rotate, ADF the position x 2.
std::optional<RadioCommands> GenericRadioWrite(const RadioSettings& settings, const GenericRadioExtras& extras);

// Command 6 of the generic radio's ADF indicator lamps.
int IndicatorWord(bool leftUp, bool leftDown, bool rightUp, bool rightDown);
inline constexpr const char* kIndicatorsOnlyAdf1 = "These indicators can only be used at ADF type 100-999.9";

// The radios write no plate: Apply leaves plate 1 at 0 under the final ID.
void WriteRadioAssignment(int gaugeID, int function1, int function2);

// ---- The frame of both radios --------------------------------------------------------

struct RadioCaptions {
    QString fixedFunction;  // the label beside the type name
    QString defaults;       // cmdSetDefaultFreq and CmdSetKnobs
    QString upperKnob, lowerKnob, fastRotate;
    QString readBack;       // the frame of the frequencies read back
};

class RadioDialog : public ModuleDialog {
    Q_OBJECT

public:
    // The code "Write settings to radio" and Apply use: set when a radio
    // type is chosen, COMM before any is.
    int radioType() const { return radioType_; }

    void cmdWriteSettings_Click();

protected:
    RadioDialog(const char* name, const ModuleParts& parts, const RadioCaptions& captions);

    // The dialog's settings sequence; nothing once a rule was shown.
    virtual std::optional<RadioCommands> settingsCommands() const = 0;
    // What CmdSetKnobs sets besides the knob steps (the generic radio's
    // brightness and clicks).
    virtual void knobDefaultsSet() {}

    RadioSettings radioSettings() const;
    void loadRecord() override;
    bool validateModule() override { return settingsCommands().has_value(); }
    int modelAfterApply() const override { return radioType_; }
    void writeModule(int gaugeID) override;
    void afterApply() override { cmdWriteSettings_Click(); }
    void decodeReply(const Reply& reply) override;

    QRadioButton* OptionRadioComm;
    QRadioButton* OptionRadioNav;
    QRadioButton* OptionRadioAdf1;
    QRadioButton* OptionRadioAdf2;
    QLineEdit* BoxMinimumFreq;
    QLineEdit* BoxMaximumFreq;
    QLineEdit* BoxDefaultFreq;
    QLineEdit* boxUpperKnobDelta;
    QLineEdit* boxLowerKnobDelta;
    QSlider* SliderFastRotate;
    QLineEdit* boxActiveFrequency;
    QLineEdit* boxStandbyFrequency;
    // Rows the dialogs add to.
    QGridLayout* knobRows_;
    QGridLayout* readBackRows_;
    QBoxLayout* lowerRow_;

private:
    void cmdSetDefaultFreq_Click();
    void CmdSetKnobs_Click();
    // The option of the radio type selected, -1 when none is.
    int selectedType() const;
    std::array<QRadioButton*, 4> typeOptions() const
    {
        return {OptionRadioComm, OptionRadioNav, OptionRadioAdf1, OptionRadioAdf2};
    }

    int radioType_ = kRadioComm;
};

// ---- The generic radio module ---------------------------------------------------------

class ConfigVHFRadio final : public RadioDialog {
    Q_OBJECT

public:
    ConfigVHFRadio();

protected:
    std::optional<RadioCommands> settingsCommands() const override;
    void knobDefaultsSet() override;
    void loadRecord() override;
    void unloadSelf() override { DefaultForm<ConfigVHFRadio>::unload(); }

private:
    void CmdSetIndicators_Click();

    QLineEdit* boxClicksUpper;
    QLineEdit* boxClicksLower;
    QComboBox* ComboBrightness;
    QCheckBox* ADFindicatorLeftUp;
    QCheckBox* ADFindicatorLeftDown;
    QCheckBox* ADFindicatorRightUp;
    QCheckBox* ADFindicatorRightDown;
};

// The note the radio forms carry about their write-only boxes.
QLabel* WriteOnlyNote(QWidget* parent);

} // namespace varnet
