#include "app/listfunctions.h"
#include "app/saveconfig.h"
#include "support/scripted_messages.h"
#include "window_helpers.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

namespace varnet {
namespace {

using namespace varnet::testing;

// Functions 0 (never listed), 7, 20 and 60; 7 and 60 of signal type "Output LED".
ConfigTables listedFunctions()
{
    ConfigTables t;
    LoadConstantTables(t);
    auto define = [&](int f, const char* name, int category, int signalType, const char* description) {
        t.FunctionNames[f] = name;
        t.FunctionCategory[f] = Byte(category);
        t.FunctionSignalType[f] = Byte(signalType);
        t.FunctionFullName[f] = description;
    };
    define(0, "Zero", 1, 3, "never listed");
    define(7, "Gear", 7, 3, "Gear lamp");
    define(20, "Flaps", 2, 4, "");
    define(60, "NavLight", 6, 3, "#0:sim/lights/nav_lights_toggle\r\n#1:sim/none\r\n");
    return t;
}

TEST(FunctionListTest, LinesAndExactFilters)
{
    const ConfigTables t = listedFunctions();
    EXPECT_EQ(FunctionListLines(t, {}),
              (std::vector<std::string>{kStandardFunctionsHeader, "007\tGear\tPlane\tOutput LED\tGear lamp",
                                        "020\tFlaps\tSurfaces\tGauge\t", kConfigurableFunctionsHeader,
                                        "060\tNavLight\tCockpit\tOutput LED\t" + t.FunctionFullName[60]}));
    auto numbers = [&](const FunctionListFilter& filter) {
        std::vector<int> listed;
        for (const std::string& line : FunctionListLines(t, filter))
            listed.push_back(FunctionNumberOfLine(line));
        return listed;
    };
    EXPECT_EQ(numbers({true, "Output LED", false, ""}), (std::vector<int>{0, 7, 51, 60}));
    EXPECT_EQ(numbers({true, "Output LED", true, "Cockpit"}), (std::vector<int>{0, 51, 60}));
    EXPECT_EQ(numbers({true, "output led", false, ""}), (std::vector<int>{0, 51}));
    EXPECT_EQ(numbers({true, "", false, ""}), (std::vector<int>{0, 51}));
}

class ListFunctionsWindowTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        DefaultForm<frmListFunctions>::unload();
        DefaultForm<SaveConfig>::unload();
        flushDeletes();
    }

    static frmListFunctions& loadedWith(const ConfigTables& tables)
    {
        Cfg = tables;
        return DefaultForm<frmListFunctions>::get();
    }

    frmListFunctions& w = loadedWith(listedFunctions());
    void select(int row) { child<QListWidget>(w, "Configlist")->setCurrentRow(row); }
    QLineEdit* box(const char* name) { return child<QLineEdit>(w, name); }
    QPlainTextEdit* description() { return child<QPlainTextEdit>(w, "FullName"); }

    ScriptedMessages boxes_;
};

TEST_F(ListFunctionsWindowTest, EmptyTableShowsExactlyTheTwoHeaderLines)
{
    Cfg = ConfigTables{};
    click(w, "Command1");  // "Refresh"
    EXPECT_EQ(listLines(w, "Configlist"),
              (std::vector<std::string>{kStandardFunctionsHeader, kConfigurableFunctionsHeader}));
}

TEST_F(ListFunctionsWindowTest, FilterButtonsUseTheTextOfTheirBoxes)
{
    box("Signaltype")->setText("Output LED");
    click(w, "CmdFilterTypeOn");
    EXPECT_EQ(listLines(w, "Configlist").size(), 4u);  // headers, 7 and 60
    box("Category")->setText("Plane");
    click(w, "CmdFilterClassOn");
    EXPECT_EQ(listLines(w, "Configlist").size(), 3u);
    click(w, "CmdFilterTypeOff");
    click(w, "cmdFilterClassOff");
    EXPECT_EQ(listLines(w, "Configlist").size(), 5u);
}

TEST_F(ListFunctionsWindowTest, ClickingALineShowsItsFunction)
{
    select(0);  // first header: nothing
    EXPECT_TRUE(box("BoxFxNr")->text().isEmpty());
    select(3);  // the second header stands for function 51
    EXPECT_EQ(box("BoxFxNr")->text(), "51");
    select(1);
    EXPECT_EQ(box("ShortName")->text() + "|" + description()->toPlainText() + "|" + box("Signaltype")->text() +
                  "|" + box("Category")->text(),
              "Gear|Gear lamp|Output LED|Plane");
}

TEST_F(ListFunctionsWindowTest, UpdateStoresTheDescriptionSafelyAndCloseAsks)
{
    click(w, "CmdSave");  // no function shown yet: nothing happens, nothing to ask
    select(1);
    description()->setPlainText("Gear \"down\" lamp");
    click(w, "CmdSave");
    EXPECT_EQ(Cfg.FunctionFullName[7], "Gear 'down' lamp");
    EXPECT_EQ(listLines(w, "Configlist")[1], "007\tGear\tPlane\tOutput LED\tGear 'down' lamp");

    // Command texts keep their CR LF line ends through the box.
    const std::string commands = Cfg.FunctionFullName[60];
    select(4);
    click(w, "CmdSave");
    EXPECT_EQ(Cfg.FunctionFullName[60], commands);

    boxes_.expectYesNo("Updates are not saved yet; Continue?", false);
    click(w, "cmdClose");
    EXPECT_TRUE(DefaultForm<frmListFunctions>::loaded());
    click(w, "CmdFile");  // "Save as..." clears the mark
    EXPECT_TRUE(DefaultForm<SaveConfig>::get().isVisible());
    click(w, "cmdClose");
    EXPECT_FALSE(DefaultForm<frmListFunctions>::loaded());
}

} // namespace
} // namespace varnet
