#pragma once

// ConfigRMI: the dialog of the radio magnetic indicator (type 130). It
// stores what the compass card follows, which VOR each needle shows and
// whether the unit has DME displays; it calibrates the card and the two
// needles, sets motor speeds and display brightness, and tests card,
// needles, INOP flag, backlight and DME displays with live commands.

#include "gauges/dialogframe.h"

class QCheckBox;
class QPushButton;

namespace varnet {

// Bits of the RMI option word (GaugeRecPlate1) and the needle source word
// (GaugeRecPlate2).
inline constexpr int kRmiHasDme = 1;
inline constexpr int kRmiDmeInAdfMode = 2;
inline constexpr int kRmiCardFollowsCompass = 4;
inline constexpr int kRmiYellowVor2 = 1;
inline constexpr int kRmiGreenVor2 = 2;

// Steps of one turn: the compass card and each needle.
inline constexpr int kCompassCardTurn = 4608;
inline constexpr int kRmiNeedleTurn = 4320;

// The part being calibrated: its command-10 target.
enum class RmiPart { Compass = 1, GreenNeedle = 2, YellowNeedle = 3 };

// The calibration counter of an open dialog: the sum of the nudges since the
// last Reset, jumping to the other end of the part's turn past either end.
struct RmiCalibration {
    int target = 0;
    int position = 0;

    void reset(RmiPart part);
    // One nudge button on `part`: the button's step (+10, +100 on the
    // increasing buttons) turned to the part's direction; returns the step
    // that goes out with command 11.
    int nudge(RmiPart part, int buttonStep);
};

class ConfigRMI final : public DialogOf<ConfigRMI> {
    Q_OBJECT

public:
    ConfigRMI();

    const RmiCalibration& calibration() const { return calibration_; }

protected:
    void loadRecord() override;
    ApplySteps applySteps() override;
    FieldSet uninstallFields() const override { return Field::TypeAndNeedle1; }
    int lightWord() const override;
    QString typeNameText() const override { return QStringLiteral("Radio Magnetic Indicator"); }

private:
    RmiPart selectedPart() const;
    void showDmeFrames(bool shown);
    void cmdResetCalibration_Click();
    void nudge(int buttonStep);
    void cmdSetCalibration_Click();
    void writeDisplay(bool right);
    void CmdReadNeedleSelection_Click();

    QRadioButton* OptionHasDME;
    QRadioButton* OptionNoDME;
    QRadioButton* OptionShowIfADFYes;
    QRadioButton* OptionShowIfADFNo;
    QRadioButton* OptionCompass;
    QRadioButton* OptionHDG;
    QRadioButton* OptionVOR1Yel;
    QRadioButton* OptionVOR2Yel;
    QRadioButton* OptionVOR1Grn;
    QRadioButton* OptionVOR2Grn;
    QRadioButton* OptionCalibrateCompass;
    QRadioButton* OptionCalibrateGreenNeedle;
    QRadioButton* OptionCalibrateYellowNeedle;
    QRadioButton* OptionDisplaysOn;
    QRadioButton* OptionDisplaysOff;
    QPushButton* NL10;
    QPushButton* NL1;
    QPushButton* NR1;
    QPushButton* NR10;
    QWidget* FrameDME1;
    QWidget* FrameDME2;
    QLineEdit* BoxLeftDME;
    QLineEdit* boxRightDME;
    QCheckBox* CheckhowDMELeft;
    QCheckBox* CheckShowMERight;
    QLineEdit* boxGRNselection;
    QLineEdit* boxYellowSelection;
    RmiCalibration calibration_;
};

} // namespace varnet
