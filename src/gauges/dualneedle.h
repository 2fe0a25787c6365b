#pragma once

// ConfigGaugeDN: the dialog of the dual-needle gauges (types 3, 5 and 6).
// Each needle has its own assignment, plate, test slider and "Calibrate";
// one speed slider serves both, and both directions travel in one word.

#include "gauges/dialogframe.h"

namespace varnet {

class NeedleAssignment;

// Needle 2 asks with a comma where needle 1 has a point.
inline constexpr const char* kEndStopQuestionNeedle2 =
    "A value higher than 315 degrees on a standard gauge will cause needle to run against end stop. "
    "Recalibration will be required, Continue?:";
inline constexpr const char* kNoAssignmentNeedle1 =
    "No Category and/or Function assigned for Needle 1; Continue anyway?";
inline constexpr const char* kNoAssignmentNeedle2 =
    "No Category and/or Function assigned for Needle 2; Continue anyway?";
inline constexpr const char* kNoPlateNeedle1 = "No Plate selected for Needle 1; Continue anyway?";
inline constexpr const char* kNoPlateNeedle2 = "No Plate selected for Needle 2; Continue anyway?";

// Command 4's word: bit 0 when needle 1 turns counter-clockwise, bit 8 when
// needle 2 does.
inline int DirectionWord(bool needle1Ccw, bool needle2Ccw)
{
    return (needle1Ccw ? 0x001 : 0) | (needle2Ccw ? 0x100 : 0);
}

class ConfigGaugeDN final : public DialogOf<ConfigGaugeDN> {
    Q_OBJECT

public:
    ConfigGaugeDN();

    void GaugeDNInitialize();
    // Both plate lists again; the end-stop question may come once more and
    // "Center" goes back to the standard dial's centre.
    void Form_Activate() override;

protected:
    void loadRecord() override;
    ApplySteps applySteps() override;
    FieldSet uninstallFields() const override { return Field::TypeAndBothAssignments; }
    int speedValue(int position) const override { return 40 * (105 - position); }

private:
    struct TestNeedle {
        QSlider* slider;
        QLineEdit* box;
        int command;
        const char* question;
    };

    QGroupBox* buildAssignment(NeedleAssignment*& assignment, int needleNr);
    QWidget* buildTestRow(TestNeedle& needle, int needleNr, QWidget* parent);
    QGroupBox* buildRotation(int needleNr);
    void needleMoved(const TestNeedle& needle, int position);
    void resetTest();
    // Every question Apply has, asked before anything is written.
    bool confirmApply() const;

    NeedleAssignment* needle1_ = nullptr;
    NeedleAssignment* needle2_ = nullptr;
    TestNeedle test1_{};
    TestNeedle test2_{};
    QRadioButton* Needle1CW = nullptr;
    QRadioButton* Needle2CW = nullptr;
    bool warned_ = false;
    int centre_ = 0;
    // Needle 2's category as stored: choosing another reaches the record
    // only through Apply.
    int storedCategory2_ = 0;
};

} // namespace varnet
