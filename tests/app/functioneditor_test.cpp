#include "app/commandlist.h"
#include "config/itemtext.h"
#include "configscreen_fixture.h"
#include "simlink/functiontest.h"
#include "support/fake_udp_socket.h"
#include "support/keyboard.h"

namespace varnet {
namespace {

using namespace varnet::testing;

// Function 5 as a stored record with every column set.
void defineGear(ConfigTables& t)
{
    std::tie(t.FunctionNames[5], t.FunctionFullName[5], t.FunctionCategory[5], t.FunctionSignalType[5],
             t.FunctionDataType[5], t.FunctionAux[5]) = std::tuple("Gear", "Gear lamp", 7, 3, 4, 2);
    std::tie(t.FunctionIndex1[5], t.FunctionIndex2[5], t.FunctionIndex4[5]) = std::tuple(12, -3, 150);
    std::tie(t.FunctionSlot1[5], t.FunctionSlot2[5], t.FunctionSlot3[5], t.FunctionSlot4[5]) = std::tuple(1, 2, 3, 7);
    std::tie(t.FunctionMultiply[5], t.FunctionDivide[5], t.FunctionPreAdd[5], t.FunctionMaximum[5]) =
        std::tuple(0.5f, 3600, -1.25f, 9);
}

void writeCommandFile(const char* content)
{
    QFile file("Xplane_commands.txt");
    file.open(QIODevice::WriteOnly);
    file.write(content);
}

TEST(FunctionEditorLines, ThreeLayoutsACommandFileAndASearchThatStopsAtAMissingRow)
{
    ConfigTables t;
    LoadConstantTables(t);
    defineGear(t);
    const std::string head = "005,   Gear,   Plane,   Output LED,   Gear lamp, 04,  012,   -003,   000,   150";
    EXPECT_EQ(FunctionEditorLine(t, 5, FunctionLineLayout::Load), head + ",   2,   0.5, 3600");
    EXPECT_EQ(FunctionEditorLine(t, 5, FunctionLineLayout::Save), head + ",   1,   2,   3,   7,   2,   0.5, 3600");
    EXPECT_EQ(FunctionEditorLine(t, 5, FunctionLineLayout::Delete), head + ",   1,   2,   3,   7,   0.5, 3600");

    // A command file that ended before its count: rows 3 and 4 are missing.
    const RowSearch found = SearchRows({"0000 sim/a", "0001 sim/b", "0002 sim/c"}, 1, 4, "zz");
    EXPECT_EQ(std::tuple(found.row, found.nextStart), std::tuple(2, 1));

    // Commands, then the error line when the file falls short.
    const ScopedWorkDir dir;
    const auto read = [](const char* content) {
        writeCommandFile(content);
        return ReadCommandFile();
    };
    const CommandList shortFile = read("\"List of Xplane Commands\"\r\n3\r\n\"sim/a\"\r\n\"sim/b c\"\r\n");
    EXPECT_EQ(shortFile.lines, (std::vector<std::string>{"0000 sim/a", "0001 sim/b c", kCommandFileError}));
    EXPECT_EQ(shortFile.count, 3);
    EXPECT_EQ(read("\"List of Xplane Commands\"\r\n0\r\n").lines, std::vector<std::string>{});
    EXPECT_EQ(read("\"List of XPlane Commands\"\r\n1\r\n\"sim/a\"\r\n").count, 0);
    EXPECT_EQ(read("\"List of Xplane Commands\"\r\nmany\r\n").lines, std::vector<std::string>{kCommandFileError});
    const std::string longest(kMaxItemLength, 'c');
    EXPECT_EQ(read(("\"List of Xplane Commands\"\r\n2\r\n\"" + longest + "\"\r\n\"" + longest + "c\"\r\n").c_str()).lines,
              (std::vector<std::string>{"0000 " + longest, kCommandFileError}));
    QFile::remove("Xplane_commands.txt");
    EXPECT_EQ(ReadCommandFile().lines, std::vector<std::string>{kCommandFileError});

    EXPECT_EQ(CommandOfLine("0001 sim/b c"), "sim/b");
    EXPECT_EQ(CommandOfLine(kCommandFileError), "==========");
    EXPECT_EQ(CommandOfLine("0001"), std::nullopt);
}

// The editor on the built-in tables with function 5 defined, a command file
// of three commands in its working directory, and a link whose sockets are
// fakes.
class FunctionEditorWindow : public ::testing::Test {
protected:
    FunctionEditorWindow()
    {
        Cfg = ConfigTables{};
        Session = SessionState{};
        LoadConstantTables(Cfg);
        defineGear(Cfg);
        std::tie(Cfg.RemoteIP, Cfg.RemotePort, Cfg.LocalPort) = std::tuple("127.0.0.1", "49000", "49001");
        writeCommandFile("\"List of Xplane Commands\"\r\n3\r\n\"sim/lights/landing_lights_on\"\r\n"
                         "\"sim/view/forward with_2d\"\r\n\"sim/flaps/down\"\r\n");
    }

    ~FunctionEditorWindow() override
    {
        unloadAll<GetOffsetlist, frmTestFunction, SaveConfig, SimCom>();
        flushDeletes();
        Cfg = ConfigTables{};
        Session = SessionState{};
    }

    static GetOffsetlist& window() { return DefaultForm<GetOffsetlist>::get(); }
    static QLineEdit* box(const char* name) { return child<QLineEdit>(window(), name); }
    static QComboBox* combo(const char* name) { return child<QComboBox>(window(), name); }
    static QPlainTextEdit* fullName() { return child<QPlainTextEdit>(window(), "FullName"); }
    static QListWidget* list(const char* name) { return child<QListWidget>(window(), name); }
    static void select(int row) { list("Configlist")->setCurrentRow(row); }
    // The boxes of one function, as the user sees them.
    static std::string shown()
    {
        QString text = box("BoxFxNr")->text() + '|' + box("ShortName")->text() + '|' +
                       combo("ComboClass")->currentText() + '|' + combo("FuncType")->currentText() + '|' +
                       combo("ComboDT")->currentText() + '|' + fullName()->toPlainText() + '|';
        for (const char* name : {"XPindex1", "XPVal1", "XPindex2", "XPVal4", "BoxAdd", "Multiplier", "Devider",
                                 "boxMinimumValue", "boxMaximumValue", "BoxMacroNr"})
            text += box(name)->text() + ' ';
        return text.toStdString();
    }
    // "Save function" answered by `message`.
    void saveRefused(const char* message)
    {
        boxes.expectOk(message);
        click(window(), "CmdSave");
        EXPECT_EQ(boxes.pending(), 0u) << message;
    }

    ScopedWorkDir dir;  // before the command file is written
    FakeUdpSockets sockets;
    ScriptedMessages boxes;
};

TEST_F(FunctionEditorWindow, ListsEveryFunctionShowsTheSelectedOneFindsAndTestsIt)
{
    Cfg.FunctionNames[300] = "Zulu";
    const std::vector<std::string> lines = listLines(window(), "Configlist");
    ASSERT_EQ(lines.size(), 301u);
    EXPECT_EQ(lines[52], "052,   ,   ,   --,   , 00,  000,   000,   000,   000,   0,   0, 0");
    click(window(), "Command2");  // no function shown yet: no test window
    EXPECT_FALSE(DefaultForm<frmTestFunction>::loaded());

    select(5);
    EXPECT_EQ(shown(), "5|Gear|Plane|Output LED|Float|Gear lamp|12 1 -3 7 -1.25 0.5 3600 0 9 0 ");
    click(window(), "Command3");
    ASSERT_TRUE(DefaultForm<frmTestFunction>::loaded());
    frmTestFunction& test = DefaultForm<frmTestFunction>::get();
    EXPECT_TRUE(test.isVisible());
    EXPECT_EQ(child<QLineEdit>(test, "ShortName")->text() + child<QLineEdit>(test, "BoxSeqNr")->text(), "Gear3");
    select(0);  // not a function to edit: the fields stay
    EXPECT_EQ(box("BoxFxNr")->text(), "5");

    // A free function shows the defaults, whatever its record holds.
    Cfg.FunctionMultiply[60] = 0;
    Cfg.FunctionMaximum[60] = 40;
    select(60);
    EXPECT_EQ(shown(), "60|||--|Byte||0 0 0 0 0 1 1 0 1 0 ");

    // Next finds the last row, then starts again at the top.
    box("SearchTextFunction")->setText("ZULU");
    click(window(), "CmdSearchInFunctions");
    EXPECT_EQ(box("BoxFxNr")->text(), "300");
    box("SearchTextFunction")->setText("gear");
    click(window(), "CmdSearchInFunctions");
    EXPECT_EQ(list("Configlist")->currentRow(), 5);
    click(window(), "CmdSearchInFunctions");  // no other: the last row stays selected
    EXPECT_EQ(list("Configlist")->currentRow(), 300);
}

// A description box passes Tab on, as every box does, and keeps its text: a keyboard walk through
// the editor to its test buttons neither ends nor types into it.
TEST_F(FunctionEditorWindow, TabLeavesTheDescriptionBoxAsItIs)
{
    window().show();
    select(5);
    fullName()->setFocus();
    QTest::keyClick(fullName(), Qt::Key_Tab);
    EXPECT_EQ(std::tuple(fullName()->toPlainText(), window().focusWidget()->objectName()),
              std::tuple("Gear lamp", "XPindex1"));
}

// Limits the function test window stores are no edit of the editor's: they neither make it ask
// nor are written back over by its Save; what the user typed into the editor stays.
TEST_F(FunctionEditorWindow, LimitsTheTestWindowStoresShowInTheEditorWhereNothingWasTypedOver)
{
    select(5);
    box("Multiplier")->setText("2");
    click(window(), "Command3");
    frmTestFunction& test = DefaultForm<frmTestFunction>::get();
    child<QLineEdit>(test, "boxFuncMinimum")->setText("-4");
    click(test, "CmdSetMinimum");
    // What it stored is the configuration's: its Close has no question.
    click(test, "cmdClose");
    window().Form_Activate();
    EXPECT_EQ(std::tuple(box("boxMinimumValue")->text(), box("Multiplier")->text()), std::tuple("-4", "2"));
    click(window(), "CmdSave");
    EXPECT_EQ(std::tuple(Cfg.FunctionMinimum[5], Cfg.FunctionMultiply[5]), std::tuple(-4.0f, 2.0f));

    // Stored with nothing typed: closing asks only about the store.
    click(window(), "CmdSaveConfig");
    DefaultForm<SaveConfig>::unload();
    click(window(), "Command3");
    frmTestFunction& again = DefaultForm<frmTestFunction>::get();
    child<QLineEdit>(again, "boxFuncMinimum")->setText("-5");
    click(again, "CmdSetMinimum");
    EXPECT_EQ(window().unsavedQuestion(), "");
}

TEST_F(FunctionEditorWindow, SaveChecksEveryFieldBeforeStoringAny)
{
    // A damaged record: none of its category, signal type and data type has
    // an item.
    std::tie(Cfg.FunctionCategory[60], Cfg.FunctionSignalType[60], Cfg.FunctionDataType[60]) = std::tuple(15, 9, 9);
    select(60);
    click(window(), "CmdSave");  // no category chosen: nothing happens, no box
    combo("ComboClass")->setCurrentIndex(2);

    saveRefused("The Short name of the function is missing");
    box("ShortName")->setText("Fl\"aps");
    fullName()->setPlainText("Flaps \"down\"\nsecond line");
    box("XPindex1")->setText("20");
    // Each field in turn: a refused value, then one that passes.
    for (auto [name, refused, message, passes] : {std::tuple{"XPVal4", "8", "Value in box V should be 0-7", "7"},
                                                  {"XPindex2", "abc", "Incorrect data", "21"},
                                                  {"Multiplier", "1e39", "Incorrect data", "2"}}) {
        box(name)->setText(refused);
        saveRefused(message);
        box(name)->setText(passes);
    }
    saveRefused("The Signal Type of the function is missing");
    combo("FuncType")->setCurrentIndex(4);
    saveRefused("The Datatype of the function is missing");
    EXPECT_EQ(std::tuple(Cfg.FunctionNames[60], Cfg.FunctionIndex1[60], Session.ConfigChanged), std::tuple("", 0, 0));

    combo("ComboDT")->setCurrentIndex(1);
    box("boxCmdNumber")->setText("4");
    box("boxMaximumValue")->setText("250.5");
    click(window(), "CmdSave");
    EXPECT_EQ(std::tuple(Cfg.FunctionNames[60], Cfg.FunctionFullName[60]), std::tuple("Fl'aps", "Flaps 'down'\r\nsecond line"));
    EXPECT_EQ(std::tuple(Cfg.FunctionNumber[60], Cfg.FunctionIndex2[60], Cfg.FunctionSlot4[60], Cfg.FunctionSignalType[60],
                         Cfg.FunctionDataType[60], Cfg.FunctionMaximum[60], Session.ConfigChanged),
              std::tuple(60, 21, 7, 4, 1, 250.5f, 1));
    EXPECT_EQ(box("boxCmdNumber")->text(), "0");
    // The list is rebuilt in the save layout and the function shown again.
    EXPECT_EQ(listLines(window(), "Configlist")[5], FunctionEditorLine(Cfg, 5, FunctionLineLayout::Save));
    EXPECT_EQ(list("Configlist")->currentRow(), 60);
    EXPECT_EQ(fullName()->toPlainText(), "Flaps 'down'\nsecond line");
}

TEST_F(FunctionEditorWindow, DeleteClearsTheSelectedFunctionAndCloseAsksOnlyAfterAnUnsavedStore)
{
    // Row 0 current but not selected, as the list leaves it when it takes
    // the focus: neither button touches function 0.
    Cfg.FunctionNames[0] = "Zero";
    list("Configlist")->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    box("ShortName")->setText("Other");
    click(window(), "Command1");
    click(window(), "CmdSave");
    EXPECT_EQ(std::tuple(Cfg.FunctionNames[0], Session.ConfigChanged), std::tuple("Zero", 0));
    click(window(), "cmdClose");
    EXPECT_FALSE(DefaultForm<GetOffsetlist>::loaded());

    select(5);
    click(window(), "CmdSave");
    boxes.expectYesNoDefaultNo("Updates are not saved yet; Continue?", false);
    click(window(), "cmdClose");
    EXPECT_TRUE(DefaultForm<GetOffsetlist>::loaded());
    click(window(), "CmdSaveConfig");
    EXPECT_TRUE(DefaultForm<SaveConfig>::get().isVisible());
    click(window(), "cmdClose");
    EXPECT_FALSE(DefaultForm<GetOffsetlist>::loaded());

    Session.ConfigChanged = 0;
    select(5);
    click(window(), "Command1");
    EXPECT_EQ(listLines(window(), "Configlist")[5],
              "005,   ,   ,   --,   , 00,  000,   000,   000,   000,   1,   2,   3,   7,   0, 0");
    EXPECT_EQ(shown(), "5|||--|Byte||0 1 0 7 0 1 1 0 1 0 ");
    EXPECT_EQ(std::tuple(Cfg.FunctionPreAdd[5], Session.ConfigChanged), std::tuple(-1.25f, 1));  // the addend is kept
    boxes.expectYesNoDefaultNo("Updates are not saved yet; Continue?", true);
    click(window(), "cmdClose");
    EXPECT_FALSE(DefaultForm<GetOffsetlist>::loaded());
}

// A maximum typed but not stored is not dropped without a word: Close
// (and Escape, which is Close) asks first; the record keeps the stored one.
TEST_F(FunctionEditorWindow, CloseAsksAlsoForTypedEditsThatWereNotStored)
{
    window().show();
    select(5);
    box("boxMaximumValue")->selectAll();
    QTest::keyClicks(box("boxMaximumValue"), "180");
    boxes.expectYesNoDefaultNo("Updates are not saved yet; Continue?", false);
    press(window(), Qt::Key_Escape);
    EXPECT_EQ(box("boxMaximumValue")->text(), "180");
    boxes.expectYesNoDefaultNo("Updates are not saved yet; Continue?", true);
    click(window(), "cmdClose");
    select(5);
    EXPECT_EQ(std::tuple(box("boxMaximumValue")->text(), Cfg.FunctionMaximum[5]), std::tuple("9", 9.0f));
    click(window(), "cmdClose");  // as stored: no question
    EXPECT_FALSE(DefaultForm<GetOffsetlist>::loaded());
}

TEST_F(FunctionEditorWindow, CopiedCommandsAreNumberedAndTestedOnce)
{
    boxes.expectOk(kIncorrectCommand);
    click(window(), "cmdCopyCmdToFunction");  // nothing selected

    select(60);
    box("SearchText")->setText("sim/");
    click(window(), "Cmdsearch");
    for (int copy = 0; copy < 3; ++copy) {
        click(window(), "cmdCopyCmdToFunction");
        click(window(), "Cmdsearch");
    }
    EXPECT_EQ(fullName()->toPlainText(),
              "#0:sim/lights/landing_lights_on\n#1:sim/view/forward\n#2:sim/flaps/down\n");
    EXPECT_EQ(box("boxCmdNumber")->text() + "|" + box("boxMaximumValue")->text() + "|" + combo("ComboDT")->currentText() +
                  "|" + combo("FuncType")->currentText(),
              "3|2|Xplane CMND|Input Switch");
    EXPECT_EQ(Cfg.FunctionFullName[60], "");  // nothing stored until "Save function"

    list("ListXplaneCmnds")->setCurrentRow(1);
    click(window(), "cmdTestCommand");
    ASSERT_EQ(sockets.sockets().size(), 2);
    EXPECT_EQ(sockets.sockets()[1]->sent(), QList<QByteArray>{"CMND0sim/view/forward"});

    click(window(), "cmdClearFunction");
    EXPECT_EQ(fullName()->toPlainText(), "");
    EXPECT_EQ(box("boxMinimumValue")->text() + box("boxMaximumValue")->text() + box("boxCmdNumber")->text(), "000");
}

// Functions 0 (never listed), 7, 20 and 60; 7 and 60 of signal type "Output LED".
ConfigTables listedFunctions()
{
    ConfigTables t;
    LoadConstantTables(t);
    for (auto [f, name, category, signalType, description] :
         {std::tuple<int, const char*, Byte, Byte, const char*>{0, "Zero", 1, 3, "never listed"}, {7, "Gear", 7, 3, "Gear lamp"},
          {20, "Flaps", 2, 4, ""}, {60, "NavLight", 6, 3, "#0:sim/lights/nav_lights_toggle\r\n#1:sim/none\r\n"}})
        std::tie(t.FunctionNames[f], t.FunctionCategory[f], t.FunctionSignalType[f], t.FunctionFullName[f]) =
            std::tuple(name, category, signalType, description);
    return t;
}

TEST(FunctionList, LinesExactFiltersAndTheWindowThatShowsAndUpdatesThem)
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

    // The window filters, shows and updates them; Close asks.
    ScriptedMessages boxes;
    Cfg = t;
    frmListFunctions& w = DefaultForm<frmListFunctions>::get();
    const auto box = [&](const char* name) { return child<QLineEdit>(w, name); };
    auto* description = child<QPlainTextEdit>(w, "FullName");
    const auto select = [&](int row) { child<QListWidget>(w, "Configlist")->setCurrentRow(row); };
    // Filter buttons use the text of their boxes.
    box("Signaltype")->setText("Output LED");
    click(w, "CmdFilterTypeOn");
    EXPECT_EQ(listLines(w, "Configlist").size(), 4u);  // headers, 7 and 60
    box("Category")->setText("Plane");
    click(w, "CmdFilterClassOn");
    EXPECT_EQ(listLines(w, "Configlist").size(), 3u);
    click(w, "CmdFilterTypeOff");
    click(w, "cmdFilterClassOff");
    EXPECT_EQ(listLines(w, "Configlist").size(), 5u);

    click(w, "CmdSave");  // no function shown yet: nothing happens, nothing to ask
    select(0);  // first header: nothing
    EXPECT_TRUE(box("BoxFxNr")->text().isEmpty());
    select(3);  // the second header stands for function 51
    EXPECT_EQ(box("BoxFxNr")->text(), "51");
    select(1);
    EXPECT_EQ(box("ShortName")->text() + "|" + description->toPlainText() + "|" + box("Signaltype")->text() + "|" +
                  box("Category")->text(),
              "Gear|Gear lamp|Output LED|Plane");
    description->setPlainText("Gear \"down\" lamp");
    click(w, "CmdSave");
    EXPECT_EQ(Cfg.FunctionFullName[7], "Gear 'down' lamp");
    EXPECT_EQ(listLines(w, "Configlist")[1], "007\tGear\tPlane\tOutput LED\tGear 'down' lamp");
    // Command texts keep their CR LF line ends through the box.
    const std::string commands = Cfg.FunctionFullName[60];
    select(4);
    click(w, "CmdSave");
    EXPECT_EQ(Cfg.FunctionFullName[60], commands);

    boxes.expectYesNoDefaultNo("Updates are not saved yet; Continue?", false);
    click(w, "cmdClose");
    EXPECT_TRUE(DefaultForm<frmListFunctions>::loaded());
    Cfg = ConfigTables{};
    click(w, "Command1");  // "Refresh": an empty table shows exactly the two headers
    EXPECT_EQ(listLines(w, "Configlist"), (std::vector<std::string>{kStandardFunctionsHeader, kConfigurableFunctionsHeader}));
    click(w, "CmdFile");  // "Save as..." clears the mark
    EXPECT_TRUE(DefaultForm<SaveConfig>::get().isVisible());
    click(w, "cmdClose");
    EXPECT_FALSE(DefaultForm<frmListFunctions>::loaded());
    DefaultForm<SaveConfig>::unload();
    flushDeletes();
}

// Each function's number, name, category, signal type and description
// stand under their captions, a name too long for its column cut short;
// the header lines span the list whole.
TEST(FunctionList, TheWindowDrawsFunctionsInColumnsUnderTheCaptionsAndHeadersWhole)
{
    Cfg = listedFunctions();
    Cfg.FunctionNames[20] = std::string(60, 'W');
    frmListFunctions& w = DefaultForm<frmListFunctions>::get();
    w.show();
    QApplication::processEvents();
    auto* list = child<QListWidget>(w, "Configlist");
    const QList<QLabel*> captions =
        w.findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly)->findChildren<QLabel*>();
    ASSERT_EQ(captions.size(), 5);
    EXPECT_EQ(captions[3]->text(), "Signal Type");
    const auto x = [&w](QWidget* widget, int at = 0) { return widget->mapTo(&w, QPoint(at, 0)).x(); };
    const QFontMetrics metrics(list->font());
    ASSERT_EQ(list->count(), 5);
    for (int row = 0; row < list->count(); ++row) {
        const std::vector<DrawnField> fields = DrawnFields(list, row);
        if (row == 0 || row == 3) {
            ASSERT_EQ(fields.size(), 1u);
            EXPECT_EQ(fields[0].text, list->item(row)->text());
            EXPECT_EQ(x(list->viewport(), fields[0].left), x(captions[0]));
            continue;
        }
        ASSERT_EQ(fields.size(), 5u) << row;
        for (std::size_t j = 0; j < fields.size(); ++j) {
            EXPECT_EQ(x(list->viewport(), fields[j].left), x(captions[int(j)])) << row << " " << j;
            EXPECT_TRUE(j == 4 || metrics.horizontalAdvance(fields[j].text) < fields[j + 1].left - fields[j].left)
                << row << " " << j;
        }
    }
    EXPECT_EQ(std::tuple(DrawnFields(list, 1)[1].text, DrawnFields(list, 2)[1].text.endsWith(QChar(0x2026)),
                         DrawnFields(list, 4)[4].text),
              std::tuple("Gear", true, "#0:sim/lights/nav_lights_toggle #1:sim/none "));
    DefaultForm<frmListFunctions>::unload();
    flushDeletes();
    Cfg = ConfigTables{};
}

} // namespace
} // namespace varnet
