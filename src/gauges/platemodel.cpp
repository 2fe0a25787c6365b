#include "gauges/platemodel.h"

#include "config/gaugetypes.h"
#include "config/numinput.h"
#include "config/numtext.h"
#include "gauges/gaugelink.h"
#include "iomodules/enginelink.h"
#include "platform/messages.h"

#include <QString>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace varnet {

std::function<void(int needle, int position)> MoveStandAloneNeedle = [](int needle, int position) {
    DefaultForm<frmStatusEC>::get().MoveSingleNeedle(needle, position);
};

namespace {

const char* const kMinMaxRule = "Minimum and/or maximum value missing or incorrect";
const char* const kNoPlate = "No Plate selected";
const char* const kEngineClusterRule =
    "Plate selection in Engine Cluster can only be changed in the Engine Cluster Config page.";
const char* const kPlateLimitRule = "No more plates can be created: plate numbers run from 000 to 999";
const char* const kValueToTransferRule = "Value to Transfer must be a number; use dot (.) for decimal separator";
const char* const kLimitsRule =
    "Minimum and Maximum must be numbers between -3.4E+38 and 3.4E+38; use dot (.) for decimal separator";

constexpr double kScaleSteps[] = {100, 10, 1, 0.1, 0.01};
// Bus engine cluster: the command of needles 1..8.
constexpr int kEngineClusterCommands[] = {4, 5, 6, 9, 10, 11, 12, 13};
constexpr int kNeedle1Command = 5;
constexpr int kNeedle2Command = 6;
// The stand-alone cluster counts four of its steps for one slider step.
constexpr int kStandAloneStepsPerStep = 4;
constexpr int kHighestBusID = 255;
constexpr int kFirstPoint = 4; // plate element of point 0

void say(const std::string& text)
{
    messages().ok(QString::fromLatin1(text.c_str()));
}

bool ask(const char* text)
{
    return messages().yesNo(QString::fromLatin1(text));
}

double lenient(const std::string& text)
{
    return leadingNumber(text).value_or(0);
}

// A needle position as the plate tables store it: a whole Integer, and no
// step count below 0.
constexpr double kHighestNeedle = std::numeric_limits<Integer>::max();

std::optional<Integer> wholeNeedle(const std::string& text)
{
    const std::optional<double> value = parseNumber(text);
    if (!value || std::trunc(*value) != *value || *value < 0 || *value > kHighestNeedle)
        return std::nullopt;
    return Integer(*value);
}

// Why wholeNeedle refuses a needle position: a whole number out of range
// says the range, anything else `otherwise`.
std::string needleProblem(const std::string& text, const char* otherwise)
{
    const std::optional<double> value = parseNumber(text);
    if (value && std::trunc(*value) == *value)
        return "Needle position must be between 0 and " + std::to_string(int(kHighestNeedle));
    return otherwise;
}

std::string atValuebox(int row, const std::string& what)
{
    return "At valuebox " + std::to_string(row) + ": " + what + "; Please correct.";
}

// At least one and at most two decimals: 25.0, 33.33, 12.5.
std::string oneOrTwoDecimals(double value)
{
    std::array<char, 400> buffer{}; // a Double's largest magnitude has 309 digits
    const auto end =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 2).ptr;
    std::string text(buffer.data(), end);
    if (text.back() == '0')
        text.pop_back();
    return text == "-0.0" ? "0.0" : text;
}

bool plateExists(int plate)
{
    const auto index = std::size_t(plate);
    return plate >= 0 && plate < Cfg.PlateCount && index < Cfg.PlateName.size() && index < Cfg.PlateValue.size()
           && index < Cfg.PlateSteps.size();
}

const std::string* categoryOf(int plate)
{
    const double category = Cfg.PlateValue[std::size_t(plate)][0];
    if (!(category >= 0 && category < kCategoryRows) || std::trunc(category) != category)
        return nullptr;
    return &Cfg.CategoryNames[std::size_t(category)];
}

} // namespace

const char* ActivityCaption(PlateActivity activity)
{
    switch (activity) {
    case PlateActivity::Updating:
        return "Updating Current Plate Calibration";
    case PlateActivity::Creating:
        return "Creating New Plate Calibration";
    case PlateActivity::AtRest:
        break;
    }
    return "Current Plate Calibration Settings";
}

void PlateModel::Load(const PlateHandOver& handOver)
{
    ctx_ = Context{handOver, 0, 0};
    if (handOver.gaugeID >= 0 && handOver.gaugeID < kGaugeRows)
        ctx_.gaugeType = Cfg.GaugeRecType[std::size_t(handOver.gaugeID)];
    for (int i = 1; i < kBuiltInCategories; ++i)
        if (Cfg.CategoryNames[std::size_t(i)] == handOver.categoryName) {
            ctx_.categoryIndex = i;
            break;
        }
    display();
}

void PlateModel::display()
{
    const PlateHandOver& h = ctx_.handOver;
    PlateWindowState& s = state;
    s.gaugeTypeText = h.typeName;
    s.gaugeIDText = std::to_string(h.gaugeID);
    s.categoryText = h.categoryName;
    s.functionText = h.functionName;
    s.needleText = std::to_string(h.needleNr);
    s.seqNrText = std::to_string(h.seqNr);
    s.functionCaption = "Simulator Function Nr: " + std::to_string(h.functionNr);
    const bool known = h.functionNr >= 0 && h.functionNr < kStoredFunctionRows;
    const auto f = std::size_t(known ? h.functionNr : 0);
    s.functionShortName = known ? Cfg.FunctionNames[f] : std::string();
    s.calMinimum = known ? formatSingle(Cfg.FunctionMinimum[f]) : std::string();
    s.calMaximum = known ? formatSingle(Cfg.FunctionMaximum[f]) : std::string();
    fillList();
    cmdLoadPlate_Click();
}

void PlateModel::fillList()
{
    PlateWindowState& s = state;
    s.list.clear();
    s.selectedItem = -1;
    for (int p = 0; p < Cfg.PlateCount && plateExists(p); ++p) {
        const std::string* category = categoryOf(p);
        if (!category || *category != ctx_.handOver.categoryName)
            continue;
        if (p == ctx_.handOver.plateNr)
            s.selectedItem = int(s.list.size());
        s.list.push_back({p, zeroPadded(p, 3) + ".   " + Cfg.PlateName[std::size_t(p)]});
    }
    const std::optional<int> plate = selectedPlate();
    s.currentPlateName = plate ? Cfg.PlateName[std::size_t(*plate)] : std::string();
    s.currentPlateNr = plate ? std::to_string(*plate) : std::string();
}

std::optional<int> PlateModel::selectedPlate() const
{
    if (state.selectedItem < 0 || state.selectedItem >= int(state.list.size()))
        return std::nullopt;
    const int plate = state.list[std::size_t(state.selectedItem)].plate;
    return plateExists(plate) ? std::optional<int>(plate) : std::nullopt;
}

void PlateModel::ListPlates_Click(int item)
{
    state.selectedItem = item;
    cmdLoadPlate_Click();
    const std::optional<int> plate = selectedPlate();
    state.currentPlateName = plate ? Cfg.PlateName[std::size_t(*plate)] : std::string();
    state.currentPlateNr = plate ? std::to_string(*plate) : std::string();
}

void PlateModel::clearGrid()
{
    for (PlateRow& row : state.rows) {
        row.value.clear();
        row.needle.clear();
        row.grey = false;
    }
}

void PlateModel::cmdLoadPlate_Click()
{
    // Without a plate (none of the category, or the list outlived its
    // configuration) the grid stays empty.
    clearGrid();
    const std::optional<int> plate = selectedPlate();
    if (!plate)
        return;
    const auto& values = Cfg.PlateValue[std::size_t(*plate)];
    const auto& needles = Cfg.PlateSteps[std::size_t(*plate)];
    PlateWindowState& s = state;
    const double last = values[1];
    s.steps = last > 0 ? int(std::min(last, double(kLastPlateRow))) : 0;
    s.minimum = values[2];
    s.maximum = values[3];
    for (int k = 0; k <= s.steps; ++k) {
        s.rows[std::size_t(k)].value = formatDouble(values[std::size_t(kFirstPoint + k)]);
        s.rows[std::size_t(k)].needle = std::to_string(needles[std::size_t(kFirstPoint + k)]);
    }
    cmdSetValue_Click();
    s.selectorMax = s.steps;
    setSelector(s.steps);
}

void PlateModel::closeRowsAfter(int last, bool keepNeedles)
{
    for (int k = 1; k <= kLastPlateRow; ++k) {
        PlateRow& row = state.rows[std::size_t(k)];
        row.grey = k > last;
        if (!row.grey)
            continue;
        row.value.clear();
        if (!keepNeedles)
            row.needle.clear();
    }
}

void PlateModel::cmdSetValue_Click()
{
    PlateWindowState& s = state;
    double top = lenient(s.rows[0].value);
    for (int k = 1; k <= kLastPlateRow; ++k) {
        const double value = lenient(s.rows[std::size_t(k)].value);
        if (value > top) {
            top = value;
            s.steps = k;
        }
    }
    s.maximum = top;
    s.minimum = lenient(s.rows[0].value);
    if (s.minimum == s.maximum)
        return;
    if (!parseNumber(s.rows[0].value)) {
        say(kMinMaxRule);
        return;
    }
    // "?" marks the points still to be filled in.
    for (int k = 1; k < s.steps; ++k)
        if (s.rows[std::size_t(k)].value.empty())
            s.rows[std::size_t(k)].value = "?";
    closeRowsAfter(s.steps, false);
}

void PlateModel::cmdLinearVal_Click()
{
    PlateWindowState& s = state;
    const std::optional<double> minimum = parseNumber(s.rows[0].value);
    if (!minimum) {
        say(kMinMaxRule);
        return;
    }
    double top = *minimum;
    int last = s.steps;
    for (int k = 1; k <= kLastPlateRow; ++k) {
        const std::string& text = s.rows[std::size_t(k)].value;
        if (text.empty())
            continue;
        const std::optional<double> value = parseNumber(text);
        if (!value) {
            say(kMinMaxRule);
            return;
        }
        if (*value > top) {
            top = *value;
            last = k;
        }
    }
    s.steps = last;
    s.maximum = top;
    s.minimum = *minimum;
    if (s.minimum == s.maximum)
        return;
    const double step = (s.maximum - s.minimum) / s.steps;
    for (int k = 1; k <= s.steps; ++k)
        s.rows[std::size_t(k)].value = oneOrTwoDecimals(s.minimum + k * step);
    closeRowsAfter(s.steps, true);
}

void PlateModel::cmdLinearSteps_Click()
{
    PlateWindowState& s = state;
    const int last = s.steps;
    const std::optional<Integer> top = wholeNeedle(s.rows[std::size_t(last)].needle);
    if (!top) {
        say(atValuebox(last, needleProblem(s.rows[std::size_t(last)].needle, "Needle position must be a whole number")));
        return;
    }
    // In whole numbers, so that the measured top position is kept.
    s.rows[0].needle = "0";
    for (int k = 1; k <= kLastPlateRow; ++k)
        s.rows[std::size_t(k)].needle = k <= last ? std::to_string(*top * k / last) : std::string();
}

std::optional<PlateModel::CheckedPlate> PlateModel::checkPlate()
{
    PlateWindowState& s = state;
    const auto fail = [](const std::string& text) -> std::optional<CheckedPlate> {
        say(text);
        return std::nullopt;
    };
    // The needle of a filled row, or why it cannot be stored.
    const auto needleOf = [&s](int k, std::string& problem) -> std::optional<Integer> {
        const std::string& text = s.rows[std::size_t(k)].needle;
        const std::optional<Integer> needle = wholeNeedle(text);
        if (!needle)
            problem = atValuebox(
                k, needleProblem(text, text.empty() ? "Needle position is empty" : "Needle position is not a whole number"));
        return needle;
    };

    if (s.rows[0].value.empty())
        return fail("Minimum value missing; Please correct");
    CheckedPlate plate;
    std::string problem;
    const std::optional<double> minimum = parseNumber(s.rows[0].value);
    if (!minimum)
        return fail(atValuebox(0, "value is not a number"));
    const std::optional<Integer> firstNeedle = needleOf(0, problem);
    if (!firstNeedle)
        return fail(problem);
    plate.values[0] = *minimum;
    plate.needles[0] = *firstNeedle;

    double top = *minimum;
    for (int k = 1; k <= kLastPlateRow; ++k) {
        const std::string& text = s.rows[std::size_t(k)].value;
        if (text.empty())
            continue;
        const std::optional<double> value = parseNumber(text);
        if (!value)
            return fail(atValuebox(k, "value is not a number"));
        if (*value <= top)
            return fail(atValuebox(k, "value lower than or equal to previous"));
        top = *value;
        s.steps = k;
        const std::optional<Integer> needle = needleOf(k, problem);
        if (!needle)
            return fail(problem);
        plate.values[std::size_t(k)] = *value;
        plate.needles[std::size_t(k)] = *needle;
    }
    s.maximum = top;
    s.minimum = *minimum;
    if (s.minimum == s.maximum)
        return fail("Minimum and maximum values are equal; Please correct.");
    // A point left out would be stored as value 0 and break the rising
    // order the run-time lookup relies on.
    for (int k = 1; k < s.steps; ++k)
        if (s.rows[std::size_t(k)].value.empty())
            return fail(atValuebox(k, "value is missing"));
    closeRowsAfter(s.steps, false);
    say("Plate verified and no errors found");
    return plate;
}

void PlateModel::writePlate(int plate, const CheckedPlate& checked)
{
    const PlateWindowState& s = state;
    auto& values = Cfg.PlateValue[std::size_t(plate)];
    auto& needles = Cfg.PlateSteps[std::size_t(plate)];
    values[1] = s.steps;
    needles[1] = Integer(s.steps);
    values[2] = s.minimum;
    values[3] = s.maximum;
    needles[2] = checked.needles[0];
    needles[3] = checked.needles[std::size_t(s.steps)];
    for (int k = 0; k < kPlateRows; ++k) {
        values[std::size_t(kFirstPoint + k)] = checked.values[std::size_t(k)];
        needles[std::size_t(kFirstPoint + k)] = checked.needles[std::size_t(k)];
    }
    Session.ConfigChanged = 1;
}

void PlateModel::setActivity(PlateActivity activity, bool gridEnabled)
{
    state.activity = activity;
    state.gridEnabled = gridEnabled;
}

void PlateModel::cmdSavePlate_Click()
{
    const std::optional<int> plate = selectedPlate();
    if (!plate) {
        say(kNoPlate);
        return;
    }
    const std::optional<CheckedPlate> checked = checkPlate();
    if (!checked)
        return;
    setActivity(PlateActivity::AtRest, false);
    if (!ask("This will update the current plate settings. Continue?"))
        return;
    state.plateNameEditable = false;
    Cfg.PlateName[std::size_t(*plate)] = state.currentPlateName;
    writePlate(*plate, *checked);
    display();
}

void PlateModel::CmdCreateNewPlate_Click()
{
    if (Cfg.PlateCount >= kMaxPlates) {
        say(kPlateLimitRule);
        return;
    }
    PlateWindowState& s = state;
    s.newNameEditable = true;
    s.newPlateNumber = std::to_string(Cfg.PlateCount);
    s.setNameEnabled = true;
    s.cancelAddEnabled = true;
    s.currentPlateFrameEnabled = false;
}

void PlateModel::cmdSetNewName_Click()
{
    PlateWindowState& s = state;
    if (s.newPlateName.find_first_not_of(' ') == std::string::npos) {
        say("Plate name missing or incorrect");
        return;
    }
    s.createEnabled = false;
    s.calibrateEnabled = true;
    s.setNameEnabled = false;
    s.newNameEditable = false;
}

void PlateModel::CmdCalibrateNewPlate_Click()
{
    setActivity(PlateActivity::Creating, true);
    state.newNameEditable = false;
    state.setNameEnabled = false;
    state.saveNewEnabled = true;
    CmdSetMinimum_Click();
}

void PlateModel::CmdSaveNewPlate_Click()
{
    PlateWindowState& s = state;
    if (s.newPlateName.find_first_not_of(' ') == std::string::npos) {
        say("Platename missing");
        return;
    }
    if (Cfg.PlateCount >= kMaxPlates) {
        say(kPlateLimitRule);
        return;
    }
    const std::optional<CheckedPlate> checked = checkPlate();
    if (!checked)
        return;
    const int plate = Cfg.AddPlate();
    Cfg.PlateName[std::size_t(plate)] = s.newPlateName;
    Cfg.PlateValue[std::size_t(plate)][0] = ctx_.categoryIndex;
    writePlate(plate, *checked);
    ctx_.handOver.plateNr = plate;
    cmdCancelAdd_Click();
}

void PlateModel::resetNewPlate()
{
    PlateWindowState& s = state;
    s.newPlateName.clear();
    s.newNameEditable = false;
    s.newPlateNumber = "---";
    s.createEnabled = true;
    s.setNameEnabled = false;
    s.calibrateEnabled = false;
    s.saveNewEnabled = false;
    s.cancelAddEnabled = false;
    s.currentPlateFrameEnabled = true;
}

void PlateModel::cmdCancelAdd_Click()
{
    resetNewPlate();
    setActivity(PlateActivity::AtRest, false);
    display();
}

void PlateModel::CmdUpdatePlate_Click()
{
    if (!selectedPlate()) {
        say(kNoPlate);
        return;
    }
    setActivity(PlateActivity::Updating, true);
}

void PlateModel::CmdCancel2_Click()
{
    state.plateNameEditable = false;
    setActivity(PlateActivity::AtRest, false);
    display();
}

void PlateModel::CmdPlateToGauge_Click()
{
    const int gaugeID = ctx_.handOver.gaugeID;
    // The engine clusters keep their plates in fields of their own.
    if (gaugeID < 1 || ctx_.gaugeType == EngineClusterType) {
        say(kEngineClusterRule);
        return;
    }
    const std::optional<int> plate = selectedPlate();
    if (!plate) {
        say(kNoPlate);
        return;
    }
    if (gaugeID > kHighestBusID)
        return;
    const auto id = std::size_t(gaugeID);
    if (state.needleText == "1")
        Cfg.GaugeRecPlate1[id] = Integer(*plate);
    else if (state.needleText == "2")
        Cfg.GaugeRecPlate2[id] = Integer(*plate);
    else
        return;
    Session.ConfigChanged = 1;
}

void PlateModel::boxValue_Click(int row)
{
    if (row < 0 || row > kLastPlateRow)
        return;
    for (PlateRow& r : state.rows)
        r.valueMarked = false;
    state.rows[std::size_t(row)].value = state.valueToTransfer;
    state.rows[std::size_t(row)].valueMarked = true;
}

void PlateModel::stepValueToTransfer(int direction)
{
    const std::optional<double> value = parseNumber(state.valueToTransfer);
    if (!value) {
        say(kValueToTransferRule);
        return;
    }
    const int option = std::clamp(state.scaleOption, 0, int(std::size(kScaleSteps)) - 1);
    state.valueToTransfer = formatDouble(*value + direction * kScaleSteps[option]);
}

void PlateModel::cmdResetVal_Click()
{
    for (PlateRow& row : state.rows) {
        row.value.clear();
        row.grey = false;
        row.valueMarked = false;
    }
    state.rows[0].valueMarked = true;
    state.focusRow = 0;
}

void PlateModel::cmdClearStep_Click()
{
    for (PlateRow& row : state.rows)
        row.needle = "0";
}

void PlateModel::SliderMoveNeedle_Change(int position)
{
    // "-1" at 0 and "+1" at the top keep the position.
    if (position < 0 || position > kNeedleSliderTop || position == state.slider)
        return;
    state.slider = position;
    state.sliderText = std::to_string(position);
    sendNeedle(position);
}

void PlateModel::sendNeedle(int position)
{
    const PlateHandOver& h = ctx_.handOver;
    if (h.gaugeID < 1) {
        if (MoveStandAloneNeedle)
            MoveStandAloneNeedle(h.needleNr - 1, position * kStandAloneStepsPerStep);
        return;
    }
    if (h.gaugeID > kHighestBusID)
        return;
    int command = 0;
    const std::string& needle = state.needleText;
    if (ctx_.gaugeType == EngineClusterType) {
        if (h.needleNr >= 1 && h.needleNr <= int(std::size(kEngineClusterCommands)))
            command = kEngineClusterCommands[h.needleNr - 1];
    } else if (needle >= "0" && needle <= "1") {
        command = kNeedle1Command;
    } else if (needle == "2") {
        command = kNeedle2Command;
    }
    if (command != 0)
        gaugeLink().Send(h.gaugeID, command, position);
}

void PlateModel::SetStep_Click(int row)
{
    if (row < 0 || row > kLastPlateRow)
        return;
    for (PlateRow& r : state.rows)
        r.needleMarked = false;
    state.rows[std::size_t(row)].needle = std::to_string(state.slider);
    state.rows[std::size_t(row)].needleMarked = true;
}

void PlateModel::setSelector(int row)
{
    if (row != state.selector)
        UpDown1_Change(row);
}

void PlateModel::UpDown1_Change(int row)
{
    PlateWindowState& s = state;
    s.selectorMax = s.steps;
    s.selector = std::clamp(row, 0, s.selectorMax);
    PlateRow& selected = s.rows[std::size_t(s.selector)];
    const std::optional<Integer> needle = wholeNeedle(selected.needle);
    if (!needle || *needle > kNeedleSliderTop)
        return;
    SliderMoveNeedle_Change(*needle);
    for (PlateRow& r : s.rows)
        r.valueMarked = r.needleMarked = r.labelMarked = false;
    selected.valueMarked = selected.needleMarked = selected.labelMarked = true;
}

void PlateModel::cmdUpdateMinMax_Click()
{
    const int function = ctx_.handOver.functionNr;
    if (function < 1 || function >= kStoredFunctionRows)
        return;
    const std::optional<float> minimum = parseSingle(state.calMinimum);
    const std::optional<float> maximum = parseSingle(state.calMaximum);
    if (!minimum || !maximum) {
        say(kLimitsRule);
        return;
    }
    if (!ask("This will modify the function definition\r\nAre you sure?"))
        return;
    Cfg.FunctionMinimum[std::size_t(function)] = *minimum;
    Cfg.FunctionMaximum[std::size_t(function)] = *maximum;
    Session.ConfigChanged = 1;
}

} // namespace varnet
