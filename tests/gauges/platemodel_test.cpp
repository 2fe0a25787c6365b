// The plate window: its model driven without a window, then the window
// through its own controls.

#include "config/gaugetypes.h"
#include "dialog_fixture.h"
#include "gauges/platemodel.h"
#include "gauges/platewindow.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>

#include <tuple>
#include <utility>
#include <vector>

namespace varnet {
namespace {

using Points = std::vector<std::pair<double, int>>;
using Strings = std::vector<std::string>;
using testing::SentCommand;

const char* const kVerified = "Plate verified and no errors found";
const char* const kNoPlate = "No Plate selected";
const char* const kMinMaxRule = "Minimum and/or maximum value missing or incorrect";
const char* const kSaveQuestion = "This will update the current plate settings. Continue?";

// Plates 0 "RPM" and 2 "Oil" in "Engines", plate 1 in "Fuel"; a single-
// needle gauge at GaugeID 12 whose needle 1 shows function 40 on plate 0.
class PlateModelTest : public testing::DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        Cfg.GaugeRecType[12] = SingleNeedleType;
        Cfg.GaugeRecType[20] = EngineClusterType;
        addPlate("RPM", 1, {{0, 0}, {1000, 200}, {2000, 400}, {3000, 600}, {4000, 800}});
        addPlate("Fuel", 3, {{0, 0}, {50, 500}});
        addPlate("Oil", 1, {{0, 10}, {100, 900}});
        Cfg.FunctionNames[40] = "RPM";
        Cfg.FunctionMaximum[40] = 3500;
        previousMover_ = std::exchange(MoveStandAloneNeedle, [this](int n, int p) { standAlone_.emplace_back(n, p); });
    }
    void TearDown() override
    {
        MoveStandAloneNeedle = previousMover_;
        DialogTest::TearDown();
    }

    static void addPlate(const std::string& name, int category, const Points& points)
    {
        const int p = Cfg.AddPlate();
        Cfg.PlateName[p] = name;
        Cfg.PlateValue[p][0] = category;
        Cfg.PlateValue[p][1] = Cfg.PlateSteps[p][1] = Integer(points.size() - 1);
        Cfg.PlateValue[p][2] = points.front().first;
        Cfg.PlateValue[p][3] = points.back().first;
        for (std::size_t k = 0; k < points.size(); ++k) {
            Cfg.PlateValue[p][4 + k] = points[k].first;
            Cfg.PlateSteps[p][4 + k] = Integer(points[k].second);
        }
    }

    // A window newly opened for this needle.
    void load(int gaugeID = 12, int needle = 1, int plate = 0)
    {
        model = PlateModel{};
        model.Load({gaugeID, "Single Needle", needle, "Engines", "040.  RPM", 40, 1, plate});
    }

    // Empties the grid, then types `rows` from row 0 on ("" leaves one empty).
    void type(const std::vector<std::pair<std::string, std::string>>& rows)
    {
        model.cmdResetVal_Click();
        for (std::size_t k = 0; k < model.state.rows.size(); ++k)
            model.state.rows[k].needle.clear();
        for (std::size_t k = 0; k < rows.size(); ++k)
            std::tie(model.state.rows[k].value, model.state.rows[k].needle) = rows[k];
    }

    Strings column(std::string PlateRow::*field, int from, int to) const
    {
        Strings out;
        for (int k = from; k <= to; ++k)
            out.push_back(model.state.rows[std::size_t(k)].*field);
        return out;
    }
    bool greyFrom(int first) const
    {
        for (int k = 1; k < kPlateRows; ++k)
            if (model.state.rows[std::size_t(k)].grey != (k >= first))
                return false;
        return true;
    }

    // The handler, answering OK to the message box `message` it shows.
    template <typename Handler>
    auto answered(const QString& message, Handler handler)
    {
        messages_.expectOk(message);
        return (model.*handler)();
    }

    PlateModel model;
    std::vector<std::pair<int, int>> standAlone_;
    std::function<void(int, int)> previousMover_;
};

TEST_F(PlateModelTest, LoadListsTheCategoryAndMovesTheNeedleToTheAssignedPlatesTopValueToTransferAndLimits)
{
    load();
    const PlateWindowState& s = model.state;
    ASSERT_EQ(s.list.size(), 2u);
    EXPECT_EQ(std::tuple(s.list[0].text, s.list[1].text, s.selectedItem), std::tuple("000.   RPM", "002.   Oil", 0));
    EXPECT_EQ(std::tuple(s.currentPlateName, s.functionCaption, s.calMaximum),
              std::tuple("RPM", "Simulator Function Nr: 40", "3500"));
    EXPECT_EQ(column(&PlateRow::value, 0, 4), (Strings{"0", "1000", "2000", "3000", "4000"}));
    EXPECT_TRUE(greyFrom(5));
    EXPECT_EQ(std::tuple(s.selectorMax, s.selector, s.rows[4].labelMarked), std::tuple(4, 4, true));
    EXPECT_EQ(link_.sent, (std::vector<SentCommand>{{12, 5, 800}}));

    // Row 0 at needle 0 while the slider already stands there: nothing sent.
    model.SliderMoveNeedle_Change(0);
    link_.clear();
    model.UpDown1_Change(0);
    EXPECT_TRUE(link_.sent.empty());

    // The value to transfer steps by the scale; a value box takes it.
    model.state.valueToTransfer = "1";
    model.state.scaleOption = 3;
    model.CmdCalValuePlus_Click();
    model.CmdCalValuePlus_Click();
    EXPECT_EQ(model.state.valueToTransfer, "1.2");
    model.boxValue_Click(2);
    EXPECT_EQ(std::tuple(model.state.rows[2].value, model.state.rows[2].valueMarked), std::tuple("1.2", true));
    model.state.valueToTransfer = "?";
    messages_.expectOk("Value to Transfer must be a number; use dot (.) for decimal separator");
    model.CmdCalValMin_Click();
    model.CmdMaximum_Click();
    EXPECT_EQ(model.state.valueToTransfer, "3500");

    model.state.calMinimum = "-50";
    model.state.calMaximum = "1E39";
    messages_.expectOk(
        "Minimum and Maximum must be numbers between -3.4E+38 and 3.4E+38; use dot (.) for decimal separator");
    model.cmdUpdateMinMax_Click();
    EXPECT_EQ(Cfg.FunctionMaximum[40], 3500);
    model.state.calMaximum = "150";
    messages_.expectYesNo("This will modify the function definition\r\nAre you sure?", true);
    model.cmdUpdateMinMax_Click();
    EXPECT_EQ(std::tuple(Cfg.FunctionMinimum[40], Cfg.FunctionMaximum[40], Session.ConfigChanged),
              std::tuple(-50, 150, 1));
}

TEST_F(PlateModelTest, RangeDivideCheckSaveAndANewPlate)
{
    load();
    type({{"0", ""}, {}, {}, {}, {}, {"100", ""}});
    model.cmdSetValue_Click();
    EXPECT_EQ(model.state.steps, 5);
    EXPECT_EQ(column(&PlateRow::value, 1, 4), Strings(4, "?"));
    EXPECT_TRUE(greyFrom(6));
    // The "?" still to be filled make Divide refuse.
    answered(kMinMaxRule, &PlateModel::cmdLinearVal_Click);

    type({{"0", ""}, {}, {}, {}, {"100", ""}});
    model.cmdLinearVal_Click();
    EXPECT_EQ(column(&PlateRow::value, 1, 4), (Strings{"25.0", "50.0", "75.0", "100.0"}));
    EXPECT_TRUE(greyFrom(5));
    type({{"0", ""}, {}, {}, {"10", ""}});
    model.cmdLinearVal_Click();
    EXPECT_EQ(column(&PlateRow::value, 1, 2), (Strings{"3.33", "6.67"}));

    type({{"abc", ""}, {"5", ""}});
    answered(kMinMaxRule, &PlateModel::cmdSetValue_Click);

    type({{"0", "5"}, {}, {}, {}, {}, {}, {}, {"70", "61"}});
    model.cmdLinearVal_Click();
    model.cmdLinearSteps_Click();
    EXPECT_EQ(column(&PlateRow::needle, 0, 8), (Strings{"0", "8", "17", "26", "34", "43", "52", "61", ""}));

    model.state.rows[7].needle = "6x";
    model.state.rows[0].needle = "5";
    messages_.expectOk("At valuebox 7: Needle position must be a whole number; Please correct.");
    model.cmdLinearSteps_Click();
    EXPECT_EQ(model.state.rows[0].needle, "5");

    // Check stops at the first fault.
    load();
    const std::pair<std::vector<std::pair<std::string, std::string>>, const char*> cases[] = {
        {{{"", "0"}, {"20", "5"}}, "Minimum value missing; Please correct"},
        {{{"10", "0"}, {"20", "5"}, {"15", "9"}}, "At valuebox 2: value lower than or equal to previous; Please correct."},
        {{{"10", "0"}, {"20", ""}}, "At valuebox 1: Needle position is empty; Please correct."},
        {{{"10", ""}, {"20", "5"}}, "At valuebox 0: Needle position is empty; Please correct."},
        {{{"10", "0"}, {"20", "5.5"}}, "At valuebox 1: Needle position is not a whole number; Please correct."},
        {{{"10", "0"}, {"2O", "5"}}, "At valuebox 1: value is not a number; Please correct."},
        {{{"10", "0"}}, "Minimum and maximum values are equal; Please correct."},
        // A gap would be stored as value 0 and break the rising order.
        {{{"10", "0"}, {"20", "5"}, {"", ""}, {"40", "9"}}, "At valuebox 2: value is missing; Please correct."},
    };
    for (const auto& [rows, message] : cases) {
        type(rows);
        EXPECT_FALSE(answered(message, &PlateModel::cmdSetCheck_Click)) << message;
    }

    type({{"10", "0"}, {"20", "5"}, {"30", "9"}});
    model.state.rows[5].needle = "77";
    EXPECT_TRUE(answered(kVerified, &PlateModel::cmdSetCheck_Click));
    EXPECT_EQ(std::tuple(model.state.steps, model.state.maximum, model.state.rows[5].needle), std::tuple(2, 30, ""));
    EXPECT_TRUE(greyFrom(3));

    // Save stores a checked plate on Yes only.
    load();
    model.CmdUpdatePlate_Click();
    EXPECT_EQ(std::tuple(model.state.activity, model.state.gridEnabled), std::tuple(PlateActivity::Updating, true));
    model.CmdRenamePlate_Click();
    model.state.currentPlateName = "Engine RPM";
    for (const bool yes : {false, true}) {
        model.state.rows[5] = {"4500", "900"};
        messages_.expectOk(kVerified);
        messages_.expectYesNo(kSaveQuestion, yes);
        model.cmdSavePlate_Click();
        if (!yes) {
            EXPECT_EQ(std::tuple(Cfg.PlateValue[0][3], model.state.gridEnabled, Session.ConfigChanged),
                      std::tuple(4000, false, 0));
        }
    }
    // The category stays; then the index of the last point, the top, and each point.
    EXPECT_EQ(Cfg.PlateName[0], "Engine RPM");
    EXPECT_EQ(std::tuple(Cfg.PlateValue[0][0], Cfg.PlateValue[0][1], Cfg.PlateSteps[0][1], Cfg.PlateValue[0][3],
                         Cfg.PlateSteps[0][3], Cfg.PlateSteps[0][4 + 5], Session.ConfigChanged),
              std::tuple(1, 5, 5, 4500, 900, 900, 1));
    EXPECT_EQ(std::tuple(model.state.list[0].text, model.state.activity),
              std::tuple("000.   Engine RPM", PlateActivity::AtRest));

    // A plate that fails its check is not stored.
    model.state.rows[2].value = "500";
    messages_.expectOk("At valuebox 2: value lower than or equal to previous; Please correct.");
    model.cmdSavePlate_Click();
    EXPECT_EQ(Cfg.PlateValue[0][4 + 2], 2000);

    // A new plate is appended to the tables and selected.
    load();
    model.CmdCreateNewPlate_Click();
    EXPECT_EQ(std::tuple(model.state.newPlateNumber, model.state.currentPlateFrameEnabled), std::tuple("3", false));
    answered("Plate name missing or incorrect", &PlateModel::cmdSetNewName_Click);
    model.state.newPlateName = "Boost";
    model.cmdSetNewName_Click();
    EXPECT_TRUE(model.state.calibrateEnabled);
    model.CmdCalibrateNewPlate_Click();
    EXPECT_EQ(std::tuple(model.state.activity, model.state.valueToTransfer), std::tuple(PlateActivity::Creating, "0"));
    type({{"0", "0"}, {"30", "540"}});

    answered(kVerified, &PlateModel::CmdSaveNewPlate_Click);
    EXPECT_EQ(std::tuple(Cfg.PlateCount, Cfg.PlateName.size(), Cfg.PlateName[3]), std::tuple(4, 5u, "Boost"));
    EXPECT_EQ(std::tuple(Cfg.PlateValue[3][0], Cfg.PlateValue[3][1], Cfg.PlateSteps[3][3], model.handOverPlate()),
              std::tuple(1, 1, 540, 3));
    EXPECT_EQ(std::tuple(model.state.list.back().text, model.state.selectedItem, model.state.newPlateNumber),
              std::tuple("003.   Boost", 2, "---"));
    EXPECT_EQ(std::tuple(model.state.activity, Session.ConfigChanged), std::tuple(PlateActivity::AtRest, 1));

    answered("Platename missing", &PlateModel::CmdSaveNewPlate_Click);
    Cfg.ResizePlates(kMaxPlates);
    answered("No more plates can be created: plate numbers run from 000 to 999", &PlateModel::CmdCreateNewPlate_Click);
    EXPECT_EQ(model.state.newPlateNumber, "---");
}

TEST_F(PlateModelTest, PlateToGaugeNeedleCommandsAndWithoutAPlateNothingIsWritten)
{
    load(12, 2);
    model.ListPlates_Click(1);
    model.CmdPlateToGauge_Click();
    EXPECT_EQ(std::tuple(Cfg.GaugeRecPlate2[12], Cfg.GaugeRecPlate1[12], Session.ConfigChanged), std::tuple(2, 0, 1));

    Session.ConfigChanged = 0;
    for (const int engineCluster : {0, 20}) {
        load(engineCluster, 1);
        answered(
            "Plate selection in Engine Cluster can only be changed in the Engine Cluster Config page.", &PlateModel::CmdPlateToGauge_Click);
    }
    EXPECT_EQ(std::tuple(Cfg.GaugeRecPlate1[20], Session.ConfigChanged), std::tuple(0, 0));

    // Without a plate the grid is empty and writes are refused.
    load(12, 1, 1);  // plate 1 belongs to another category
    EXPECT_EQ(model.state.selectedItem, -1);
    EXPECT_EQ(column(&PlateRow::value, 0, 1), Strings(2, ""));
    for (const auto handler :
         {&PlateModel::CmdUpdatePlate_Click, &PlateModel::cmdSavePlate_Click, &PlateModel::CmdPlateToGauge_Click})
        answered(kNoPlate, handler);
    EXPECT_FALSE(model.state.gridEnabled);

    // A configuration with fewer plates was loaded since the list was made.
    model.ListPlates_Click(1);
    EXPECT_EQ(model.state.currentPlateName, "Oil");
    Cfg.ResizePlates(2);
    model.cmdLoadPlate_Click();
    EXPECT_EQ(model.state.rows[0].value, "");
    answered(kNoPlate, &PlateModel::cmdSavePlate_Click);
    EXPECT_EQ(Session.ConfigChanged, 0);

    // The needle's command follows the kind of gauge.
    const struct {
        int gaugeID, needle, command;
    } cases[] = {{12, 1, 5}, {12, 2, 6}, {12, 3, 0}, {20, 4, 9}, {20, 8, 13}};
    for (const auto& c : cases) {
        load(c.gaugeID, c.needle, 1);
        link_.clear();
        model.SliderMoveNeedle_Change(300);
        const auto expected = c.command ? std::vector<SentCommand>{{c.gaugeID, c.command, 300}}
                                        : std::vector<SentCommand>{};
        EXPECT_EQ(link_.sent, expected) << c.gaugeID << "/" << c.needle;
    }

    load(0, 3, 1);
    standAlone_.clear();
    model.SliderMoveNeedle_Change(100);
    EXPECT_EQ(standAlone_, (std::vector<std::pair<int, int>>{{2, 400}}));

    // The ends of the slider keep the position.
    load(12, 1, 1);
    link_.clear();
    model.cmdSliderMin_Click();
    model.SliderMoveNeedle_Change(kNeedleSliderTop);
    model.cmdSliderPlus_Click();
    EXPECT_EQ(std::tuple(model.state.slider, link_.sent.size()), std::tuple(kNeedleSliderTop, 1u));
}

// As the user types: the box changes and tells so.
void edit(QWidget& window, const char* name, const QString& text)
{
    auto* box = window.findChild<QLineEdit*>(QString::fromLatin1(name));
    box->setText(text);
    emit box->textEdited(text);
}

using PlateWindow = testing::DialogTest;

TEST_F(PlateWindow, CalibratesSavesAndAssignsThroughItsControls)
{
    gauge(12, SingleNeedleType);
    const int plate = Cfg.AddPlate();
    Cfg.PlateName[plate] = "RPM";
    Cfg.PlateValue[plate] = {1, 1, 0, 100, 0, 100};
    Cfg.PlateSteps[plate] = {0, 1, 0, 500, 0, 500};
    Cfg.GaugeRecPlate1[12] = 7;
    std::tie(CalNeedleNr, CalCategoryName, CalFunctionName, CalFunctionNr, CalSeqNr, CalPlateNr) =
        std::tuple(1, "Engines", "040.  RPM", 40, 1, 0);

    OpenPlateWindow();
    frmCalibrate& w = DefaultForm<frmCalibrate>::get();
    EXPECT_EQ(w.windowTitle(), "Gaugeplate calibration");
    EXPECT_EQ(child<QListWidget>(w, "ListPlates")->item(0)->text(), "000.   RPM");
    EXPECT_EQ(text(w, "Curve1_1"), "100");
    EXPECT_FALSE(child<QLineEdit>(w, "Curve1_2")->isEnabled() || child<QGroupBox>(w, "Frame1")->isEnabled());
    EXPECT_EQ(link_.sent.back(), (SentCommand{12, 5, 500}));

    click(w, "CmdUpdatePlate");
    EXPECT_EQ(child<QLabel>(w, "CalibrationAction")->text(), "Updating Current Plate Calibration");
    // Another dialog opened meanwhile: the needle still moves on this gauge.
    CurrentGaugeID = 99;
    click(w, "cmdSliderPlus");
    EXPECT_EQ(link_.sent.back(), (SentCommand{12, 5, 501}));
    click(w, "SetStep_1");
    EXPECT_EQ(text(w, "boxLinearStep_1"), "501");
    edit(w, "BoxValueToTransfer", "150");
    click(w, "boxValue_1");
    messages_.expectOk(kVerified);
    messages_.expectYesNo(kSaveQuestion, true);
    click(w, "cmdSavePlate");
    EXPECT_EQ(std::tuple(Cfg.PlateValue[plate][3], Cfg.PlateSteps[plate][4 + 1], text(w, "Curve1_1")),
              std::tuple(150, 501, "150"));
    EXPECT_EQ(child<QLabel>(w, "CalibrationAction")->text(), "Current Plate Calibration Settings");

    click(w, "CmdPlateToGauge");
    EXPECT_EQ(Cfg.GaugeRecPlate1[12], 0);

    // A new plate becomes the one the opener hands over next.
    click(w, "CmdCreateNewPlate");
    edit(w, "BoxNameNewPlate", "Boost");
    act(w, "cmdSetNewName CmdCalibrateNewPlate");
    edit(w, "Curve1_1", "200");
    messages_.expectOk(kVerified);
    click(w, "CmdSaveNewPlate");
    EXPECT_EQ(CalPlateNr, 1);
    EXPECT_EQ(child<QListWidget>(w, "ListPlates")->currentItem()->text(), "001.   Boost");

    // The title bar's close unloads the window as "Close" does.
    w.close();
    EXPECT_FALSE(DefaultForm<frmCalibrate>::loaded());
}

} // namespace
} // namespace varnet
