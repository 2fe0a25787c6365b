#pragma once

// The plate calibration window frmCalibrate ("Gaugeplate calibration"):
// creates, calibrates against the live needle, checks, saves, renames and
// assigns the plates of one needle. Its behaviour lives in PlateModel
// (platemodel.h); this window shows the model's state and forwards its
// controls to it.
//
// Controls carry their design names as objectName. The 21 grid rows are
// numbered with a suffix: "Curve1_0".."Curve1_20" (value boxes),
// "boxLinearStep_k" (needle boxes), "boxValue_k" (value arrows),
// "SetStep_k" (needle arrows), "LabelCalibrationPoint_k"; the step options
// are "OptionScale_0" (100) .. "OptionScale_4" (0.01).

#include "config/tables.h"
#include "gauges/platemodel.h"
#include "platform/form.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSlider;
class QSpinBox;
class QToolButton;

namespace varnet {

// Set by the opener, with CurrentGaugeID and CurrentGaugeTypeName
// (bus/sendpath.h), before it calls OpenPlateWindow.
extern Integer CalNeedleNr; // 1 or 2; 1..8 on an engine cluster
extern std::string CalCategoryName; // the needle's category text
extern std::string CalFunctionName; // the function text as the opener lists it
extern Integer CalFunctionNr;
extern Integer CalSeqNr; // data pair 1..4
extern Integer CalPlateNr; // the plate assigned now; the window sets a plate it created

// Loads frmCalibrate anew for the hand-over above (unloading an open one
// first) and shows it modeless in front.
void OpenPlateWindow();

class frmCalibrate final : public Form {
    Q_OBJECT

public:
    frmCalibrate();

    // Takes the hand-over and shows it.
    void Form_Load() override;

    PlateModel& model() { return *model_; }

    // It edits one plate of the configuration it was opened on.
    ConfigurationHeld configurationHeld() const override { return ConfigurationHeld::Record; }

protected:
    // The title bar's close does what "Close" does.
    void Form_TitleBarClose() override { cmdClose_Click(); }

private:
    struct GridRow {
        QLineEdit* value;
        QLineEdit* needle;
        QToolButton* valueArrow;
        QToolButton* needleArrow;
        QLabel* label;
    };

    QGroupBox* buildActiveGauge();
    QGroupBox* buildPlates();
    QGroupBox* buildCurrentPlate();
    QGroupBox* buildNewPlate();
    QGroupBox* buildGrid();
    QGroupBox* buildValueToTransfer();
    QGroupBox* buildFunction();
    void connectTyping();

    // A button that runs `handler` of the model.
    QPushButton* command(const char* name, const char* caption, QWidget* parent,
                         const std::function<void(PlateModel&)>& handler, const char* hint = nullptr);
    // Runs one model handler, then shows the model's state, unless the
    // window was unloaded meanwhile (a handler may wait or ask).
    void run(const std::function<void(PlateModel&)>& handler);
    void showState();
    void showRow(int k);
    void ReadFromFS_Click();
    void cmdClose_Click();

    std::shared_ptr<PlateModel> model_ = std::make_shared<PlateModel>();

    QLineEdit* boxGaugeID;
    QLineEdit* boxGaugeType;
    QLineEdit* BoxNeedleNr;
    QLineEdit* boxCurrentCategory;
    QLineEdit* boxCurrentFunction;
    QLineEdit* BoxSeqNr;
    QListWidget* ListPlates;
    QGroupBox* FrameCurrentPlate;
    QLineEdit* CurrentPlateName;
    QLineEdit* boxCurrentPlateNr;
    QLineEdit* BoxNameNewPlate;
    QLineEdit* boxNewPlateNumber;
    QPushButton* CmdCreateNewPlate;
    QPushButton* cmdSetNewName;
    QPushButton* CmdCalibrateNewPlate;
    QPushButton* CmdSaveNewPlate;
    QPushButton* cmdCancelAdd;
    QGroupBox* Frame1;
    std::array<GridRow, kPlateRows> rows_{};
    QSpinBox* UpDown1;
    QSlider* SliderMoveNeedle;
    QLineEdit* boxSliderNeedle;
    QLineEdit* BoxValueToTransfer;
    QButtonGroup* OptionScale;
    QGroupBox* FrameFunction;
    QLineEdit* CaliCategoryName;
    QLineEdit* CaliFunctionName;
    QLineEdit* CalMinimumValue;
    QLineEdit* CalMaximumValue;
    QLabel* CalibrationAction;
};

} // namespace varnet
