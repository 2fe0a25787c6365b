#include "config/gaugetypes.h"
#include "dialog_fixture.h"
#include "gauges/platemodel.h"

#include <utility>
#include <vector>

namespace varnet {
namespace {

using Points = std::vector<std::pair<double, int>>;

const char* const kVerified = "Plate verified and no errors found";
const char* const kNoPlate = "No Plate selected";
const char* const kMinMaxRule = "Minimum and/or maximum value missing or incorrect";
const char* const kEngineClusterRule =
    "Plate selection in Engine Cluster can only be changed in the Engine Cluster Config page.";
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

    std::vector<std::string> column(std::string PlateRow::*field, int from, int to) const
    {
        std::vector<std::string> out;
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

    PlateModel model;
    std::vector<std::pair<int, int>> standAlone_;
    std::function<void(int, int)> previousMover_;
};

TEST_F(PlateModelTest, LoadListsTheCategoryAndMovesTheNeedleToTheAssignedPlatesTop)
{
    load();
    const PlateWindowState& s = model.state;
    ASSERT_EQ(s.list.size(), 2u);
    EXPECT_EQ(s.list[0].text, "000.   RPM");
    EXPECT_EQ(s.list[1].text, "002.   Oil");
    EXPECT_EQ(s.selectedItem, 0);
    EXPECT_EQ(s.currentPlateName, "RPM");
    EXPECT_EQ(s.functionCaption, "Simulator Function Nr: 40");
    EXPECT_EQ(s.calMaximum, "3500");
    EXPECT_EQ(column(&PlateRow::value, 0, 4), (std::vector<std::string>{"0", "1000", "2000", "3000", "4000"}));
    EXPECT_TRUE(greyFrom(5));
    EXPECT_EQ(s.selectorMax, 4);
    EXPECT_EQ(s.selector, 4);
    EXPECT_EQ(link_.sent, (std::vector<testing::SentCommand>{{12, 5, 800}}));
    EXPECT_TRUE(s.rows[4].labelMarked);

    // Row 0 at needle 0 while the slider already stands there: nothing sent.
    model.SliderMoveNeedle_Change(0);
    link_.clear();
    model.UpDown1_Change(0);
    EXPECT_TRUE(link_.sent.empty());
}

TEST_F(PlateModelTest, RangeAndDivideValues)
{
    load();
    type({{"0", ""}, {"", ""}, {"", ""}, {"", ""}, {"", ""}, {"100", ""}});
    model.cmdSetValue_Click();
    EXPECT_EQ(model.state.steps, 5);
    EXPECT_EQ(column(&PlateRow::value, 1, 4), (std::vector<std::string>(4, "?")));
    EXPECT_TRUE(greyFrom(6));
    // The "?" still to be filled make Divide refuse.
    messages_.expectOk(kMinMaxRule);
    model.cmdLinearVal_Click();

    type({{"0", ""}, {"", ""}, {"", ""}, {"", ""}, {"100", ""}});
    model.cmdLinearVal_Click();
    EXPECT_EQ(column(&PlateRow::value, 1, 4), (std::vector<std::string>{"25.0", "50.0", "75.0", "100.0"}));
    EXPECT_TRUE(greyFrom(5));
    type({{"0", ""}, {"", ""}, {"", ""}, {"10", ""}});
    model.cmdLinearVal_Click();
    EXPECT_EQ(column(&PlateRow::value, 1, 2), (std::vector<std::string>{"3.33", "6.67"}));

    type({{"abc", ""}, {"5", ""}});
    messages_.expectOk(kMinMaxRule);
    model.cmdSetValue_Click();
}

TEST_F(PlateModelTest, DivideNeedlePositionsKeepsTheMeasuredTop)
{
    load();
    type({{"0", "5"}, {"", ""}, {"", ""}, {"", ""}, {"", ""}, {"", ""}, {"", ""}, {"70", "61"}});
    model.cmdLinearVal_Click();
    model.cmdLinearSteps_Click();
    EXPECT_EQ(column(&PlateRow::needle, 0, 8),
              (std::vector<std::string>{"0", "8", "17", "26", "34", "43", "52", "61", ""}));

    model.state.rows[7].needle = "6x";
    model.state.rows[0].needle = "5";
    messages_.expectOk("At valuebox 7: Needle position must be a whole number; Please correct.");
    model.cmdLinearSteps_Click();
    EXPECT_EQ(model.state.rows[0].needle, "5");
}

TEST_F(PlateModelTest, CheckPlateStopsAtTheFirstFault)
{
    load();
    const std::pair<std::vector<std::pair<std::string, std::string>>, const char*> cases[] = {
        {{{"", "0"}, {"20", "5"}}, "Minimum value missing; Please correct"},
        {{{"10", "0"}, {"20", "5"}, {"15", "9"}},
         "At valuebox 2: value lower than or equal to previous; Please correct."},
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
        messages_.expectOk(message);
        EXPECT_FALSE(model.cmdSetCheck_Click()) << message;
    }

    type({{"10", "0"}, {"20", "5"}, {"30", "9"}});
    model.state.rows[5].needle = "77";
    messages_.expectOk(kVerified);
    EXPECT_TRUE(model.cmdSetCheck_Click());
    EXPECT_EQ(model.state.steps, 2);
    EXPECT_EQ(model.state.maximum, 30);
    EXPECT_TRUE(greyFrom(3));
    EXPECT_EQ(model.state.rows[5].needle, "");
}

TEST_F(PlateModelTest, SaveStoresACheckedPlateOnYesOnly)
{
    load();
    model.CmdUpdatePlate_Click();
    EXPECT_EQ(model.state.activity, PlateActivity::Updating);
    EXPECT_TRUE(model.state.gridEnabled);
    model.CmdRenamePlate_Click();
    model.state.currentPlateName = "Engine RPM";
    model.state.rows[5] = {"4500", "900"};

    messages_.expectOk(kVerified);
    messages_.expectYesNo(kSaveQuestion, false);
    model.cmdSavePlate_Click();
    EXPECT_EQ(Cfg.PlateValue[0][3], 4000);
    EXPECT_FALSE(model.state.gridEnabled);
    EXPECT_EQ(Session.ConfigChanged, 0);

    model.state.rows[5] = {"4500", "900"};
    messages_.expectOk(kVerified);
    messages_.expectYesNo(kSaveQuestion, true);
    model.cmdSavePlate_Click();
    EXPECT_EQ(Cfg.PlateName[0], "Engine RPM");
    EXPECT_EQ(Cfg.PlateValue[0][0], 1); // the category stays
    EXPECT_EQ(Cfg.PlateValue[0][1], 5); // the index of the last point
    EXPECT_EQ(Cfg.PlateSteps[0][1], 5);
    EXPECT_EQ(Cfg.PlateValue[0][3], 4500);
    EXPECT_EQ(Cfg.PlateSteps[0][3], 900);
    EXPECT_EQ(Cfg.PlateSteps[0][4 + 5], 900);
    EXPECT_EQ(Session.ConfigChanged, 1);
    EXPECT_EQ(model.state.list[0].text, "000.   Engine RPM");
    EXPECT_EQ(model.state.activity, PlateActivity::AtRest);

    // A plate that fails its check is not stored.
    model.state.rows[2].value = "500";
    messages_.expectOk("At valuebox 2: value lower than or equal to previous; Please correct.");
    model.cmdSavePlate_Click();
    EXPECT_EQ(Cfg.PlateValue[0][4 + 2], 2000);
}

TEST_F(PlateModelTest, WithoutAPlateTheGridIsEmptyAndWritesAreRefused)
{
    load(12, 1, 1); // plate 1 belongs to another category
    EXPECT_EQ(model.state.selectedItem, -1);
    EXPECT_EQ(column(&PlateRow::value, 0, 1), (std::vector<std::string>{"", ""}));
    for (const auto handler :
         {&PlateModel::CmdUpdatePlate_Click, &PlateModel::cmdSavePlate_Click, &PlateModel::CmdPlateToGauge_Click}) {
        messages_.expectOk(kNoPlate);
        (model.*handler)();
    }
    EXPECT_FALSE(model.state.gridEnabled);

    // A configuration with fewer plates was loaded since the list was made.
    model.ListPlates_Click(1);
    EXPECT_EQ(model.state.currentPlateName, "Oil");
    Cfg.ResizePlates(2);
    model.cmdLoadPlate_Click();
    EXPECT_EQ(model.state.rows[0].value, "");
    messages_.expectOk(kNoPlate);
    model.cmdSavePlate_Click();
    EXPECT_EQ(Session.ConfigChanged, 0);
}

TEST_F(PlateModelTest, NewPlateIsAppendedToTheTablesAndSelected)
{
    load();
    model.CmdCreateNewPlate_Click();
    EXPECT_EQ(model.state.newPlateNumber, "3");
    EXPECT_FALSE(model.state.currentPlateFrameEnabled);
    messages_.expectOk("Plate name missing or incorrect");
    model.cmdSetNewName_Click();
    model.state.newPlateName = "Boost";
    model.cmdSetNewName_Click();
    EXPECT_TRUE(model.state.calibrateEnabled);
    model.CmdCalibrateNewPlate_Click();
    EXPECT_EQ(model.state.activity, PlateActivity::Creating);
    EXPECT_EQ(model.state.valueToTransfer, "0");
    type({{"0", "0"}, {"30", "540"}});

    messages_.expectOk(kVerified);
    model.CmdSaveNewPlate_Click();
    EXPECT_EQ(Cfg.PlateCount, 4);
    EXPECT_EQ(Cfg.PlateName.size(), 5u);
    EXPECT_EQ(Cfg.PlateName[3], "Boost");
    EXPECT_EQ(Cfg.PlateValue[3][0], 1);
    EXPECT_EQ(Cfg.PlateValue[3][1], 1);
    EXPECT_EQ(Cfg.PlateSteps[3][3], 540);
    EXPECT_EQ(model.handOverPlate(), 3);
    EXPECT_EQ(model.state.list.back().text, "003.   Boost");
    EXPECT_EQ(model.state.selectedItem, 2);
    EXPECT_EQ(model.state.newPlateNumber, "---");
    EXPECT_EQ(model.state.activity, PlateActivity::AtRest);
    EXPECT_EQ(Session.ConfigChanged, 1);

    messages_.expectOk("Platename missing");
    model.CmdSaveNewPlate_Click();
    Cfg.ResizePlates(kMaxPlates);
    messages_.expectOk("No more plates can be created: plate numbers run from 000 to 999");
    model.CmdCreateNewPlate_Click();
    EXPECT_EQ(model.state.newPlateNumber, "---");
}

TEST_F(PlateModelTest, PlateToGaugeWritesTheNeedlesPlateOnABusNeedleGaugeOnly)
{
    load(12, 2);
    model.ListPlates_Click(1);
    model.CmdPlateToGauge_Click();
    EXPECT_EQ(Cfg.GaugeRecPlate2[12], 2);
    EXPECT_EQ(Cfg.GaugeRecPlate1[12], 0);
    EXPECT_EQ(Session.ConfigChanged, 1);

    Session.ConfigChanged = 0;
    for (const int engineCluster : {0, 20}) {
        load(engineCluster, 1);
        messages_.expectOk(kEngineClusterRule);
        model.CmdPlateToGauge_Click();
    }
    EXPECT_EQ(Cfg.GaugeRecPlate1[20], 0);
    EXPECT_EQ(Session.ConfigChanged, 0);
}

TEST_F(PlateModelTest, NeedleCommandByKindOfGauge)
{
    const struct {
        int gaugeID, needle, command;
    } cases[] = {{12, 1, 5}, {12, 2, 6}, {12, 3, 0}, {20, 4, 9}, {20, 8, 13}};
    for (const auto& c : cases) {
        load(c.gaugeID, c.needle, 1);
        link_.clear();
        model.SliderMoveNeedle_Change(300);
        const auto expected = c.command ? std::vector<testing::SentCommand>{{c.gaugeID, c.command, 300}}
                                        : std::vector<testing::SentCommand>{};
        EXPECT_EQ(link_.sent, expected) << c.gaugeID << "/" << c.needle;
    }

    load(0, 3, 1);
    model.SliderMoveNeedle_Change(100);
    EXPECT_EQ(standAlone_, (std::vector<std::pair<int, int>>{{2, 400}}));

    // The ends of the slider keep the position.
    load(12, 1, 1);
    link_.clear();
    model.cmdSliderMin_Click();
    model.SliderMoveNeedle_Change(kNeedleSliderTop);
    model.cmdSliderPlus_Click();
    EXPECT_EQ(model.state.slider, kNeedleSliderTop);
    EXPECT_EQ(link_.sent.size(), 1u);
}

TEST_F(PlateModelTest, ValueToTransferAndFunctionLimits)
{
    load();
    model.state.valueToTransfer = "1";
    model.state.scaleOption = 3;
    model.CmdCalValuePlus_Click();
    model.CmdCalValuePlus_Click();
    EXPECT_EQ(model.state.valueToTransfer, "1.2");
    model.boxValue_Click(2);
    EXPECT_EQ(model.state.rows[2].value, "1.2");
    EXPECT_TRUE(model.state.rows[2].valueMarked);
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
    EXPECT_EQ(Cfg.FunctionMinimum[40], -50);
    EXPECT_EQ(Cfg.FunctionMaximum[40], 150);
    EXPECT_EQ(Session.ConfigChanged, 1);
}

} // namespace
} // namespace varnet
