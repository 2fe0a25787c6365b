#pragma once

// The settings and test window of the stand-alone engine cluster
// (frmTestEC). It lists the cluster's eight needles and edits, for the
// selected one, its function (chosen by category), its plate (from the
// "Engines" plates) and whether it has a display, and the cluster type.
// A stored plate that the Plate box does not offer (another category's, or
// a number without a plate) is shown as it is, in the list and in the box,
// with a note on what the run does with it; showing it stores nothing.
// Its Calibrate hands the needle to the plate calibration window, whose
// slider then moves the real needle; its Test moves any needle to a typed
// position, refused with the rule when out of range or not a whole number,
// and shows the cluster's last reply.
//
// The plate calibration window belongs to a library above this one: the
// program installs OpenPlateWindow at start-up.

#include "config/tables.h"
#include "iomodules/ecsettings.h"
#include "platform/form.h"

#include <QTimer>

#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace varnet {

class FunctionChoice;

class frmTestEC final : public Form {
    Q_OBJECT

public:
    frmTestEC();
    void Form_Load() override;
    // Back from the calibration window: its new plates are offered.
    void Form_Activate() override;

    // Opens the plate calibration window for the hand-over; CurrentGaugeID
    // and CurrentGaugeTypeName are set before.
    static inline std::function<void(const ECCalibration&)> OpenPlateWindow;

    // CurrentGaugeID when the window loaded.
    Integer GaugeID = 0;

    // The needle selected in the list, 0..7.
    int selectedNeedle() const;
    ECSettings& settings() { return settings_; }

    void cmdCalibrate_Click();
    void cmdMoveNeedle_Click();
    // Asks first when edits made here are not saved yet.
    void cmdClose_Click();

    // It edits the engine-cluster settings of the configuration it was
    // opened on; what it stores marks the configuration changed.
    ConfigurationHeld configurationHeld() const override { return ConfigurationHeld::Record; }
    void Form_CloseUnasked() override { DefaultForm<frmTestEC>::unload(); }
    // Shows the cluster's last reply.
    void TimerReply_Timer();

    QTimer& TimerReply() { return TimerReply_; }

protected:
    void Form_TitleBarClose() override { cmdClose_Click(); }
    void Form_Unload() override { TimerReply_.stop(); }

private:
    void showNeedle(int needle);
    void fillFunctions();
    // Fills the Plate box and shows the selected needle's plate in it.
    void fillPlates();
    // Where the needle's plate is not one the box offers: the plate in the
    // empty box and the note under it; neither otherwise.
    void showPlateNote();
    void refreshNeedleText(int needle);
    // The selected needle's function, plate or display was edited: its line
    // and the note under the Plate box, which tells whether the run drives
    // the needle, follow.
    void needleEdited();
    void ComboClass_Change(int index);
    void GaugeFunction_Change(int index);
    void ComboPlate_Change(int index);

    ECSettings settings_;
    std::vector<int> plateMap_;
    // Set while the boxes are filled from the tables: no edit is made then.
    bool showing_ = false;

    QListWidget* ListNeedles;
    FunctionChoice* functionChoice_;
    QComboBox* ComboClass;
    QComboBox* GaugeFunction;
    QComboBox* ComboPlate;
    QLabel* LabelPlateNote;
    QCheckBox* CheckDisplay;
    QPushButton* cmdCalibrate;
    QRadioButton* OptionSingle;
    QRadioButton* OptionDual;
    QLineEdit* BoxTestPosition;
    QPushButton* cmdMoveNeedle;
    QLineEdit* BoxReply;
    QPushButton* cmdClose;
    QTimer TimerReply_;
};

} // namespace varnet
