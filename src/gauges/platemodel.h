#pragma once

// What the plate calibration window does, without its widgets: the context
// it was opened for, the plates of the needle's category, the grid of 21
// calibration rows and every operation on it, the new-plate flow, the live
// needle and the function's limits. The window (platewindow.h) shows
// `state` and forwards its controls' events to the handlers below; tests
// drive the handlers directly.
//
// A plate is stored as the run-time lookup needs it: element 1 holds the
// index of the last calibration point (the plate has that many + 1
// points), elements 2/3 the two ends, elements 4..24 the points 0..20.

#include "config/tables.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace varnet {

inline constexpr int kPlateRows = kMaxPlatePoints; // grid rows 0..20
inline constexpr int kLastPlateRow = kPlateRows - 1;
inline constexpr int kNeedleSliderTop = 1079; // a bus gauge's low resolution
// Plate numbers travel as three digits in the list items.
inline constexpr int kMaxPlates = 1000;

// How the window moves one needle of the stand-alone engine cluster: the
// 0-based needle index and the position in the cluster's own steps. Set to
// the engine-cluster link; tests put a recorder in its place.
extern std::function<void(int needle, int position)> MoveStandAloneNeedle;

struct PlateRow {
    std::string value; // Curve1(k)
    std::string needle; // boxLinearStep(k)
    // Beyond the plate's last point: both boxes grey, the value box
    // disabled, both arrows hidden.
    bool grey = false;
    // Shown in red: the row last filled or selected.
    bool valueMarked = false;
    bool needleMarked = false;
    bool labelMarked = false;
};

enum class PlateActivity { AtRest, Updating, Creating };

// What the opener hands over (CurrentGaugeID, CurrentGaugeTypeName and the
// Cal* variables of platewindow.h).
struct PlateHandOver {
    int gaugeID = 0; // 0 = the stand-alone engine cluster
    std::string typeName;
    int needleNr = 1;
    std::string categoryName;
    std::string functionName;
    int functionNr = 0;
    int seqNr = 1;
    int plateNr = 0; // the plate assigned now
};

// The caption of CalibrationAction in each activity.
const char* ActivityCaption(PlateActivity activity);

struct PlateListItem {
    int plate;
    std::string text; // "003.   Oil pressure"
};

// Everything the window shows. The window writes back only what the user
// types (the row texts, the name boxes, "Value to Transfer", the function's
// limits) and the chosen step option.
struct PlateWindowState {
    // "Active Gauge"
    std::string gaugeIDText, gaugeTypeText, needleText, categoryText, functionText, seqNrText;
    // "Simulator Function"
    std::string functionCaption = "Simulator Function Nr: ";
    std::string functionShortName, calMinimum, calMaximum;

    std::vector<PlateListItem> list;
    int selectedItem = -1; // row of `list`, -1 for none

    // "Current Plate"
    std::string currentPlateName, currentPlateNr;
    bool plateNameEditable = false;
    bool currentPlateFrameEnabled = true;

    // "Create New Plate"
    std::string newPlateName, newPlateNumber = "---";
    bool newNameEditable = false;
    bool createEnabled = true, setNameEnabled = false, calibrateEnabled = false;
    bool saveNewEnabled = false, cancelAddEnabled = false;

    // "Gauge Calibration"
    std::array<PlateRow, kPlateRows> rows{};
    bool gridEnabled = false;
    int steps = 19; // index of the last point
    double minimum = 0;
    double maximum = 100;
    int focusRow = -1; // a value box that should take the focus; the window clears it
    PlateActivity activity = PlateActivity::AtRest;

    // "Value to Transfer"
    std::string valueToTransfer;
    int scaleOption = 2; // 0..4: 100, 10, 1, 0.1, 0.01

    // The live needle and the point selector UpDown1.
    int slider = 0;
    std::string sliderText = "0";
    int selectorMax = 19;
    int selector = 0;
};

class PlateModel {
public:
    PlateWindowState state;

    // The window loads: takes the opener's hand-over and the gauge's type
    // code once and keeps them for every needle move, write and reload,
    // then shows them with the plates of the needle's category.
    void Load(const PlateHandOver& handOver);

    int functionNr() const { return ctx_.handOver.functionNr; }
    // The plate the window lists as assigned: the handed-over one, or the
    // one created last.
    int handOverPlate() const { return ctx_.handOver.plateNr; }
    // The plate of the selected list item, when it still exists.
    std::optional<int> selectedPlate() const;

    void ListPlates_Click(int item);
    void cmdLoadPlate_Click(); // Reload
    void cmdSetValue_Click(); // Range
    void cmdLinearVal_Click(); // Divide values
    void cmdLinearSteps_Click(); // Divide needle positions
    // Check Plate; true when the plate passed.
    bool cmdSetCheck_Click() { return checkPlate().has_value(); }
    void cmdSavePlate_Click();

    void CmdCreateNewPlate_Click();
    void cmdSetNewName_Click();
    void CmdCalibrateNewPlate_Click();
    void CmdSaveNewPlate_Click();
    void cmdCancelAdd_Click();

    void CmdRenamePlate_Click() { state.plateNameEditable = true; }
    void CmdUpdatePlate_Click();
    void CmdCancel2_Click();
    void CmdPlateToGauge_Click();

    void boxValue_Click(int row);
    void CmdCalValMin_Click() { stepValueToTransfer(-1); }
    void CmdCalValuePlus_Click() { stepValueToTransfer(+1); }
    void CmdSetMinimum_Click() { state.valueToTransfer = state.calMinimum; }
    void CmdMaximum_Click() { state.valueToTransfer = state.calMaximum; }
    void cmdResetVal_Click();
    void cmdClearStep_Click();

    // The slider's value changed: shows and sends the needle. Positions
    // outside 0..1079 are refused.
    void SliderMoveNeedle_Change(int position);
    // The thumb is being dragged: only shows the position.
    void SliderMoveNeedle_Scroll(int position) { state.sliderText = std::to_string(position); }
    void cmdSliderMin_Click() { SliderMoveNeedle_Change(state.slider - 1); }
    void cmdSliderPlus_Click() { SliderMoveNeedle_Change(state.slider + 1); }
    void SetStep_Click(int row);
    // The point selector changed: the slider and the needle go to the row.
    void UpDown1_Change(int row);

    void cmdUpdateMinMax_Click();

private:
    struct Context {
        PlateHandOver handOver;
        int gaugeType = 0;
        int categoryIndex = 0; // of a new plate; 0 when the name is no category
    };
    // A grid that passed Check Plate, as it is stored.
    struct CheckedPlate {
        std::array<double, kPlateRows> values{};
        std::array<Integer, kPlateRows> needles{};
    };

    // Shows the context and the plates of its category (the window's
    // Loading, also after Cancel and both saves).
    void display();
    void fillList();
    void clearGrid();
    void setRowGrey(int row, bool grey);
    // Rows 1..last-1 open, the rows after `last` emptied and greyed.
    void closeRowsAfter(int last, bool keepNeedles);
    std::optional<CheckedPlate> checkPlate();
    void writePlate(int plate, const CheckedPlate& checked);
    void stepValueToTransfer(int direction);
    void setSelector(int row);
    void sendNeedle(int position);
    void resetNewPlate();
    void setActivity(PlateActivity activity, bool gridEnabled);

    Context ctx_;
};

} // namespace varnet
