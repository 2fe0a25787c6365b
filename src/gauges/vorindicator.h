#pragma once

// ConfigGaugeVOR: the dialog of the VOR course indicators (types 106 and
// 107). The user tests the LOC and glideslope needles and the indicator
// disk, calibrates needle centres, disk positions and the compass, sets the
// speeds and the backlight, and watches the course the gauge reports.
//
// The first section holds two small helpers the instrument dialogs share.

#include "gauges/dialogframe.h"

#include <utility>
#include <vector>

class QCheckBox;

namespace varnet {

// ---- Shared by the instrument dialogs -------------------------------------------

// A test slider: every change of its position shows it in `box` and sends
// `command` with it.
void ShowAndSend(GaugeDialog& dialog, QSlider* slider, QLineEdit* box, int command);

// Puts a test slider at `position` and runs its change handler even when it
// already stands there: a button that drives a needle to a fixed position
// always sends it, as the gauge may stand elsewhere.
void MoveSliderTo(QSlider* slider, int position);

// ---- VOR indicator ----------------------------------------------------------------

inline constexpr int kVOR1 = 106;
inline constexpr int kVOR2 = 107;
// The needle centre of the 315-degree scale 0..944.
inline constexpr int kVORNeedleCentre = 472;

// The course for the OBS count of the gauge's reply: 1084 counts per turn,
// counting down from North; whole degrees (halves to even), 360 shown as 0.
// A count above 1084 gives the negative course the gauge means.
int CourseFromCount(int count);

enum class ToFromFlag { To, None, From };

// Command 12's indicator word: 1 + the To/From choice, + 4 for the
// glideslope flag, which only a VOR1 has.
int IndicatorWord(ToFromFlag flag, bool glideslope, int typeCode);

// Command 13's values that store the disk positions, from the position
// that shows the From flag: each the position (12 bits) plus 4096 times the
// number of the flag position stored there, the positions 420 apart.
std::vector<int> IndicatorCalibration(int position, int typeCode);

class ConfigGaugeVOR final : public DialogOf<ConfigGaugeVOR> {
    Q_OBJECT

public:
    ConfigGaugeVOR();

    // The course read-back runs while the dialog is open and active.
    void Form_Activate() override;

protected:
    void loadRecord() override;
    ApplySteps applySteps() override;
    FieldSet uninstallFields() const override { return Field::TypeAndBothAssignments; }
    void closing() override;
    int speedValue(int position) const override { return 2 * (115 - position); }
    QString typeNameText() const override;

private:
    void cmdClearCal_Click();
    void cmdCalibrateDisk_Click();
    void CmdSetIndicators_Click();
    void showCourse(const Reply& reply);

    QSlider* SliderValue1;
    QSlider* SliderValue2;
    QSlider* Slider1;
    QSlider* Sliderindicator;
    QLineEdit* BoxtestValue1;
    QLineEdit* BoxTestValue2;
    QLineEdit* boxindicatorvalue;
    QLineEdit* boxCourse;
    QRadioButton* SetToFromFlag[3];
    QRadioButton* setGSflag[2];
    QCheckBox* CheckBlockWriteToSim;
    StatusPoll* Timer1;
};

} // namespace varnet
