#include "app/loadsave.h"
#include "app/shell.h"
#include "config/startfile.h"
#include "configscreen_fixture.h"
#include "support/fake_clock.h"

#include <QClipboard>
#include <QTest>

#include <filesystem>
#include <set>

namespace varnet {
namespace {

using namespace varnet::testing;

TEST(ConfigFileNameTest, APlainNameOfTheFolderEndingInLowerCaseExtensionThatTheStartFileReadsBack)
{
    const std::string longest = std::string(kMaxFileNameBytes - 4, 'a') + ".cfg";
    for (const std::string& good : {std::string("a.cfg"), std::string("x.y z.cfg"), longest, std::string("\xE9t\xE9.cfg")})
        EXPECT_EQ(ConfigFileNameFault(good), "") << good;
    const QString type = kFileTypeRule, control = kFileNameControlRule, folder = kFileNameFolderRule;
    for (const auto& [bad, fault] : std::initializer_list<std::pair<std::string, QString>>{
             {"TEST.CFG", type}, {"a.cf", type}, {"", type}, {".cfg", type}, {"x.cfgz", type}, {"test.cfg.bak", type},
             {".hidden.cfg", kFileNameDotRule}, {"saves/a.cfg", folder}, {"/elsewhere/a.cfg", folder},
             {"my \"best\".cfg", kFileNameQuoteRule}, {"a\nb.cfg", control}, {"a\x7F.cfg", control},
             {"a\xC2\x85.cfg", control} /* NEL in UTF-8 */, {"a\x85.cfg", control} /* and in Latin-1 */,
             {"x" + longest, kFileNameLengthRule}})
        EXPECT_EQ(ConfigFileNameFault(bad), fault) << bad;
}

TEST(StartDelayTest, WholeNumbersInRangeAreTakenAndEverythingElseExplained)
{
    const QString range = "The autostart delay must be between -32768 and 32767 seconds";
    const QString typo = kStartDelayInputError;
    for (auto [answer, message, expected] : {std::tuple<std::optional<QString>, QString, int>{" 0 ", "", 0},
                                             {"32767", "", 32767}, {"-32768", "", -32768}, {"32768", range, 7},
                                             {"-32769", range, 7}, {"99999999999999999999", range, 7},
                                             {"1.5", typo, 7}, {"", typo, 7}, {std::nullopt, typo, 7}}) {
        Integer delay = 7;
        EXPECT_EQ(std::tuple(ParseStartDelay(answer, delay), delay), std::tuple(message, expected))
            << answer.value_or("<cancel>").toStdString();
    }
}

using Sections = std::map<std::string, std::vector<std::string>>;

// The statements of a configuration text by section; a statement ends at a
// CR LF outside quoted strings.
Sections sectionsOf(const std::string& text)
{
    static const std::set<std::string> names = {
        "\"General\"", "\"IOM\"", "\"Functions\"", "\"Gaugetypes\"", "\"Gauges\"", "\"Engine Cluster Settings\"",
        "\"Plates\"", "\"General FFB Yoke\"", "\"Yoke1\"", "\"Yoke2\"", "\"User Defined Yoke Switches\"",
        "\"Active Indexes\"", "\"Force Curves\"", "\"end\""};
    Sections sections;
    std::string section, statement;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        if (quoted || text.compare(i, 2, "\r\n") != 0) {
            statement += text[i];
            continue;
        }
        ++i;
        if (names.count(statement))
            section = statement;
        else
            sections[section].push_back(statement);
        statement.clear();
    }
    return sections;
}

// A configuration that differs from the sample in every group.
ConfigTables otherConfig()
{
    ConfigTables t;
    LoadConstantTables(t);
    t.IOEntryGaugeID[t.AddIOEntry()] = kStandAloneIOM2;
    t.FunctionNames[3] = t.FunctionNames[70] = t.GaugeTypeNames[0] = t.PlateName[t.AddPlate()] = "Mine";
    t.ECNeedleFunction[0] = 42;
    return t;
}

class PartialImportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sample_ = sampleConfig();
        writeBytes("source.cfg", SerializeConfig(sample_));
    }

    static ImportSelection only(ImportGroup group)
    {
        ImportSelection groups{};
        groups[group] = true;
        return groups;
    }

    ScopedWorkDir dir_;
    ConfigTables sample_;
};

TEST_F(PartialImportTest, EachBoxReplacesItsGroupAndNothingElseAndABrokenFileChangesNothing)
{
    const ConfigTables other = otherConfig();
    const Sections from = sectionsOf(SerializeConfig(sample_));
    const Sections before = sectionsOf(SerializeConfig(other));
    for (int g = 0; g < kImportGroups; ++g) {
        SCOPED_TRACE(g);
        ConfigTables result = other;
        ASSERT_TRUE(ImportConfigGroups("source.cfg", only(ImportGroup(g)), result));

        Sections expected = before;
        auto take = [&](const char* section) { expected[section] = from.at(section); };
        auto takeFunctions = [&](int first, int last) {
            for (int f = first; f < last; ++f)
                expected["\"Functions\""][f] = from.at("\"Functions\"")[f];
        };
        switch (ImportGroup(g)) {
        case ImportGeneral: {
            ConfigTables source = sample_;
            source.BlockUsel = other.BlockUsel;  // not imported
            expected["\"General\""] = sectionsOf(SerializeConfig(source)).at("\"General\"");
            break;
        }
        case ImportIOEntries: take("\"IOM\""); break;
        case ImportStandardFunctions: takeFunctions(0, 51); break;
        case ImportConfigurableFunctions: takeFunctions(51, kStoredFunctionRows); break;
        case ImportGaugeTypes: take("\"Gaugetypes\""); break;
        case ImportGauges: take("\"Gauges\""); break;
        case ImportPlates: take("\"Plates\""); break;
        case ImportEngineCluster: take("\"Engine Cluster Settings\""); break;
        case kImportGroups: break;
        }
        EXPECT_EQ(sectionsOf(SerializeConfig(result)), expected);
        // The run walks every I/O column over the same rows.
        EXPECT_EQ(result.IOEntryPort.size(), result.IOEntryGaugeID.size());
    }

    // A file without plates keeps the plates.
    sample_.ResizePlates(0);
    writeBytes("source.cfg", SerializeConfig(sample_));
    ConfigTables result = otherConfig();
    ASSERT_TRUE(ImportConfigGroups("source.cfg", only(ImportPlates), result));
    EXPECT_TRUE(result == otherConfig());

    // A broken or missing file changes nothing.
    std::string text = SerializeConfig(sampleConfig());
    // Damage the last gauge line, after everything before it was read.
    text.replace(text.find("\"Engine Cluster Settings\"") - 4, 1, "x");
    writeBytes("broken.cfg", text);
    ImportSelection all;
    all.fill(true);
    for (const char* file : {"broken.cfg", "missing.cfg"}) {
        ConfigTables result = otherConfig();
        EXPECT_FALSE(ImportConfigGroups(file, all, result)) << file;
        EXPECT_TRUE(result == otherConfig()) << file;
    }
}

const QString kOverwriteQuestion = "This will overwrite the current configuration! Continue?";
const QString kDelayPrompt =
    "Give autostart time delay (standard =10 seconds).\r\n"
    "Delay is the time (in seconds) the program waits with start-up after simulator is detected as running.";

class SaveConfigWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Cfg = sampleConfig();
        Session = SessionState{};
        Session.ProgramTitle = kProgramTitle;
        Session.ConfigFileName = "current.cfg";
    }

    // A load makes the run window; it must not outlive the test.
    void TearDown() override
    {
        unloadAll<SaveConfig, frmStatus>();
        flushDeletes();
    }

    // The window, loaded, with `name` typed into FileName.
    SaveConfig& windowWith(const QString& name)
    {
        SaveConfig& w = DefaultForm<SaveConfig>::get();
        child<QLineEdit>(w, "FileName")->setText(name);
        return w;
    }

    // Empty stored tables; the built-in ones, which a file does not hold, stay.
    static void clearTables()
    {
        Cfg = ConfigTables{};
        LoadConstantTables();
    }

    ScopedWorkDir dir_;
    FakeClock clock_{QDateTime(QDate(2026, 12, 6), QTime(17, 30, 0))};
    ScriptedMessages boxes_;
};

TEST_F(SaveConfigWindowTest, SaveWritesTheHeaderLineTheFileReadsBackAndALatin1NameKeepsItsName)
{
    writeBytes("a.cfg", "");
    writeBytes("notes.txt", "");
    Session.ConfigChanged = Session.ConfigError = 1;
    SaveConfig& w = DefaultForm<SaveConfig>::get();
    EXPECT_EQ(child<QLineEdit>(w, "FileName")->text(), "current.cfg");
    EXPECT_EQ(listLines(w, "FileBox"), std::vector<std::string>{"a.cfg"});
    child<QListWidget>(w, "FileBox")->setCurrentRow(0);
    EXPECT_EQ(child<QLineEdit>(w, "FileName")->text(), "a.cfg");

    boxes_.expectOk("File saved as: a.cfg");
    click(w, "CmdSave");
    const std::string bytes = fileBytes("a.cfg");
    const std::string start = "\"General\"\r\n\"Program Name: Control Program for X-Plane Simulator       , "
                              "Version: " + std::string(kProgramVersion) + "         ,Connected Sim: X-Plane, FSUIPC version: N/A "
                              ",Date/Time saved: 06-12-2026 17:30:00\r\n\",3,1,25,1,33,2,";
    EXPECT_EQ(bytes.substr(0, start.size()), start);
    EXPECT_EQ(std::tuple(Session.ConfigFileName, Session.ConfigChanged, Session.ConfigError), std::tuple("a.cfg", 0, 0));

    // The program's own checks accept the file: no title or version question.
    const ConfigTables saved = Cfg;
    clearTables();
    ReadConfigFile();
    EXPECT_TRUE(Session.ConfigError == 0 && Cfg == saved);

    // "été.cfg" from an older system, Latin-1 and not valid UTF-8, is
    // listed, loaded and saved under its own name.
    const std::string latin1 = "\xE9t\xE9.cfg";
    QFile::remove("a.cfg");
    Cfg.ProcessTimerInterval = 41;
    writeBytes(latin1, SerializeConfig(Cfg));
    DefaultForm<SaveConfig>::unload();
    SaveConfig& listed = DefaultForm<SaveConfig>::get();
    ASSERT_EQ(listLines(listed, "FileBox"), std::vector<std::string>{"\u00e9t\u00e9.cfg"});
    child<QListWidget>(listed, "FileBox")->setCurrentRow(0);
    Cfg.ProcessTimerInterval = 0;
    boxes_.expectYesNoDefaultNo(kOverwriteQuestion, true);
    click(listed, "CmdLoad");
    EXPECT_EQ(Cfg.ProcessTimerInterval, 41);

    SaveConfig& again = DefaultForm<SaveConfig>::get();
    child<QListWidget>(again, "FileBox")->setCurrentRow(0);
    boxes_.expectOk(QString::fromLatin1("File saved as: " + latin1));
    click(again, "CmdSave");
    EXPECT_EQ(listLines(again, "FileBox").size(), 1u);
    std::filesystem::remove(latin1);  // QTemporaryDir cannot name it
}

TEST_F(SaveConfigWindowTest, BadNamesNamesWithAFolderPartAndFailedWritesKeepEverything)
{
    Session.ConfigChanged = 1;
    QDir().mkdir("busy.cfg");  // a folder cannot be replaced by a file
    const ConfigTables before = Cfg;
    boxes_.expectOk("No filename");
    boxes_.expectOk("Filetype incorrect or missing; must be: ****.cfg");
    boxes_.expectOk("file cannot be overwritten");
    for (const char* name : {"", "TEST.CFG", "busy.cfg"})
        click(windowWith(name), "CmdSave");
    EXPECT_TRUE(QDir().entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(Cfg == before);
    EXPECT_EQ(std::tuple(Session.ConfigFileName, Session.ConfigChanged), std::tuple("current.cfg", 1));

    ASSERT_TRUE(QDir().mkdir("work"));
    QDir::setCurrent("work");
    writeBytes("../victim.cfg", "keep");
    // Typed: names with a folder part, and names that would not show in the lists.
    for (const auto& [name, fault] : std::initializer_list<std::pair<QString, const char*>>{
             {"../x.cfg", kFileNameFolderRule}, {dir_.path() + "/y.cfg", kFileNameFolderRule},
             {"../victim.cfg", kFileNameFolderRule}, {".cfg", kFileTypeRule}, {"x.cfgz", kFileTypeRule}}) {
        for (const char* button : {"CmdSave", "cmdKill", "cmdSetAsStartup"}) {
            boxes_.expectOk(fault);
            SaveConfig& w = windowWith("");
            QTest::keyClicks(child<QLineEdit>(w, "FileName"), name);
            click(w, button);
        }
    }
    EXPECT_TRUE(QDir().entryList(QDir::Files).isEmpty()) << "no start file either";
    QDir::setCurrent(dir_.path());
    EXPECT_EQ(QDir().entryList(QDir::Files), QStringList{"victim.cfg"});
    EXPECT_EQ(fileBytes("victim.cfg"), "keep");
}

TEST_F(SaveConfigWindowTest, ANamePastedWithALineFeedOrTooLongIsRefusedByEveryButtonAndSuchFilesAreNotListed)
{
    Session.StartDelay = 7;
    ASSERT_TRUE(WriteStartFile("daily.cfg"));
    const std::string startFile = fileBytes(kStartFileName);
    const ConfigTables before = Cfg;
    // Pasted, as a line feed cannot be typed.
    for (const auto& [name, fault] : {std::pair<QString, const char*>{"a\nb.cfg", kFileNameControlRule},
                                      {QString(300, u'n') + ".cfg", kFileNameLengthRule}}) {
        for (const char* button : {"CmdSave", "CmdLoad", "cmdKill", "cmdSetAsStartup", "cmdImportPartial"}) {
            SCOPED_TRACE(button);
            SaveConfig& w = windowWith("");
            QApplication::clipboard()->setText(name);
            QTest::keyClick(child<QLineEdit>(w, "FileName"), Qt::Key_V, Qt::ControlModifier);
            ASSERT_EQ(child<QLineEdit>(w, "FileName")->text(), name);
            if (button == std::string("CmdLoad"))
                boxes_.expectYesNoDefaultNo(kOverwriteQuestion, true);
            boxes_.expectOk(fault);
            click(w, button);
            ASSERT_TRUE(boxes_.pending() == 0 && DefaultForm<SaveConfig>::loaded());
        }
    }
    EXPECT_EQ(QDir().entryList(QDir::Files), QStringList{kStartFileName});
    EXPECT_EQ(fileBytes(kStartFileName), startFile);
    EXPECT_TRUE(Cfg == before);
    EXPECT_EQ(std::tuple(Session.ConfigFileName, Session.StartDelay), std::tuple("current.cfg", 7));

    // Such names made by other means are not listed; capitals are, as before.
    const std::vector<std::string> odd = {"a\nb.cfg", "nel\x85.cfg", "quote\".cfg"};
    for (const std::string& name : odd)
        writeBytes(name, SerializeConfig(Cfg));
    writeBytes("ok.cfg", "");
    writeBytes("OLD.CFG", "");
    DefaultForm<SaveConfig>::unload();
    EXPECT_EQ(listLines(DefaultForm<SaveConfig>::get(), "FileBox"), (std::vector<std::string>{"OLD.CFG", "ok.cfg"}));
    for (const std::string& name : odd)
        std::filesystem::remove(name);  // QTemporaryDir cannot name all of them
}

TEST_F(SaveConfigWindowTest, LoadReplacesTheTablesOrKeepsTheCurrentFileAndImportTakesTheTickedSectionOnly)
{
    const ConfigTables loaded = sampleConfig();
    writeBytes("other.cfg", SerializeConfig(loaded));
    clearTables();
    const ConfigTables before = Cfg;
    boxes_.expectYesNoDefaultNo(kOverwriteQuestion, false);
    click(windowWith("other.cfg"), "CmdLoad");
    EXPECT_TRUE(Cfg == before && DefaultForm<SaveConfig>::loaded());

    boxes_.expectYesNoDefaultNo(kOverwriteQuestion, true);
    click(windowWith("other.cfg"), "CmdLoad");
    EXPECT_TRUE(Cfg == loaded && !DefaultForm<SaveConfig>::loaded());
    EXPECT_EQ(Session.ConfigFileName, "other.cfg");

    // A later save must go to the file the tables came from, not over the
    // file that failed to load.
    boxes_.expectYesNoDefaultNo(kOverwriteQuestion, true);
    boxes_.expectOk(ConfigErrorText("missing.cfg", kErrorFileNotFound));
    click(windowWith("missing.cfg"), "CmdLoad");
    EXPECT_EQ(Session.ConfigFileName, "other.cfg");
    EXPECT_FALSE(DefaultForm<SaveConfig>::loaded());

    // An import takes the ticked section only, or nothing from a broken file.
    const QString question = "This will overwrite the selected sections in the currently loaded configuration!\r\n"
                             "The sections come from: other.cfg\r\n Continue?";
    clearTables();
    Session.ConfigChanged = 0;
    SaveConfig& w = windowWith("other.cfg");
    child<QCheckBox>(w, "ChkImportPartial3")->setChecked(true);
    boxes_.expectYesNoDefaultNo(question, true);
    click(w, "cmdImportPartial");
    EXPECT_EQ(std::tuple(Cfg.FunctionNames[70], Cfg.FunctionNames[7]), std::tuple("Func70", ""));
    EXPECT_EQ(Session.ConfigChanged, 1) << "Close must ask before the import is lost";

    Session.ConfigChanged = 0;
    writeBytes("other.cfg", "\"General\"\r\n");
    boxes_.expectYesNoDefaultNo(question, true);
    boxes_.expectOk("Error in Configuration file");
    click(w, "cmdImportPartial");
    EXPECT_EQ(std::tuple(Cfg.FunctionNames[70], Session.ConfigChanged), std::tuple("Func70", 0));

    // Beside a prepared run neither replaces what the run walks.
    writeBytes("other.cfg", SerializeConfig(loaded));
    DefaultForm<frmStatus>::get().RunPrepared = 1;
    const ConfigTables running = Cfg;
    boxes_.expectOk("A configuration cannot be imported while the run window holds the one in memory: the run uses "
                    "the sim ports opened for it.\r\n"
                    "To import into the configuration, press \"Configuration\" on the run window (this stops the run) "
                    "and use \"Save / Load Configuration\" on the configuration screen; closing the screen prepares "
                    "the run again with it.");
    click(w, "cmdImportPartial");
    boxes_.expectOk("A configuration cannot be loaded while the run window holds the one in memory: the run uses "
                    "the sim ports opened for it.\r\n"
                    "To load another configuration, press \"Configuration\" on the run window (this stops the run) "
                    "and use \"Save / Load Configuration\" on the configuration screen; closing the screen prepares "
                    "the run again with it.");
    click(w, "CmdLoad");
    EXPECT_TRUE(Cfg == running && Session.ConfigFileName == "other.cfg" && DefaultForm<SaveConfig>::loaded());
}

TEST_F(SaveConfigWindowTest, DeleteAsksAndRemovesTheFileAndSetAsAutostartWritesTheStartFile)
{
    const QString question = "This will delete the file: old.cfg ; Are you sure? ";
    writeBytes("old.cfg", "x");
    SaveConfig& w = windowWith("old.cfg");
    boxes_.expectYesNoDefaultNo(question, false);
    click(w, "cmdKill");
    EXPECT_TRUE(QFile::exists("old.cfg"));

    boxes_.expectYesNoDefaultNo(question, true);
    click(w, "cmdKill");
    EXPECT_FALSE(QFile::exists("old.cfg"));
    EXPECT_TRUE(child<QLineEdit>(w, "FileName")->text().isEmpty() && listLines(w, "FileBox").empty());
    boxes_.expectYesNoDefaultNo(question, true);
    boxes_.expectOk("File not found: old.cfg");
    click(windowWith("old.cfg"), "cmdKill");

    windowWith("daily.cfg");
    boxes_.expectInput(kDelayPrompt, "25");
    click(w, "cmdSetAsStartup");
    const std::string startFile = "\"General\"\r\n\"daily.cfg\"\r\n\"Startdelay\"\r\n25\r\n\"End\"\r\n";
    EXPECT_EQ(fileBytes(kStartFileName), startFile);

    // Refused answers and names leave the start file and the delay alone.
    boxes_.expectInput(kDelayPrompt, std::nullopt);
    boxes_.expectOk("Error in file/time input");
    boxes_.expectInput(kDelayPrompt, "-32769");
    boxes_.expectOk("The autostart delay must be between -32768 and 32767 seconds");
    click(w, "cmdSetAsStartup");
    click(w, "cmdSetAsStartup");
    boxes_.expectOk("A configuration file name must not contain a double quote (\")");
    click(windowWith("my \"best\".cfg"), "cmdSetAsStartup");
    boxes_.expectOk("File Name missing.");
    click(windowWith(""), "cmdSetAsStartup");
    EXPECT_EQ(fileBytes(kStartFileName), startFile);
    EXPECT_EQ(Session.StartDelay, 25);
}

TEST_F(SaveConfigWindowTest, EachYokeWindowOpensTheOneLoadSaveWindowWhoseSaveKeepsTheYokeSectionsByteForByte)
{
    InstallShell();
    // A cockpit with yoke settings in every yoke section.
    const ConfigTables yokes = sampleConfig();
    writeBytes("yokes.cfg", SerializeConfig(yokes));
    const auto yokeSections = [](const std::string& text) { return text.substr(text.find("\"General FFB Yoke\"")); };
    const std::string stored = yokeSections(fileBytes("yokes.cfg"));
    Session.ConfigFileName = "yokes.cfg";
    // In memory: yoke 2 without its COM port, and yoke settings that the load replaces.
    Cfg = yokes;
    Cfg.ComPortYoke2() = 0;
    Cfg.YokeGeneralSettings[0] = 99;
    frmStatusYoke& status = DefaultForm<frmStatusYoke>::get();
    status.show();
    EXPECT_FALSE(child<QPushButton>(status, "cmdShowYoke2")->isEnabled()) << "yoke 2 has no COM port";

    // Loaded from yoke 1's window, saved from yoke 2's.
    for (const char* yoke : {"cmdShowYoke1", "cmdShowYoke2"}) {
        SCOPED_TRACE(yoke);
        status.hide();
        status.show();
        ASSERT_TRUE(child<QPushButton>(status, yoke)->isEnabled());
        click(status, yoke);
        YokeWindow& window = yoke == std::string("cmdShowYoke1") ? static_cast<YokeWindow&>(DefaultForm<frmConfigY1>::get())
                                                                 : DefaultForm<frmConfigY2>::get();
        ASSERT_TRUE(window.isVisible());
        click(window, "CmdSaveConfig");
        ASSERT_TRUE(DefaultForm<SaveConfig>::loaded());
        SaveConfig& save = DefaultForm<SaveConfig>::get();
        EXPECT_TRUE(save.isVisible());
        EXPECT_EQ(child<QLineEdit>(save, "FileName")->text(), "yokes.cfg");
        if (yoke == std::string("cmdShowYoke1")) {
            boxes_.expectYesNoDefaultNo(kOverwriteQuestion, true);
            click(save, "CmdLoad");
            EXPECT_TRUE(Cfg == yokes) << "the load did not take the file";
        } else {
            boxes_.expectOk("File saved as: yokes.cfg");
            click(save, "CmdSave");
        }
    }
    const std::string saved = fileBytes("yokes.cfg");
    EXPECT_NE(saved.find("Date/Time saved: 06-12-2026 17:30:00"), std::string::npos) << "not saved";
    EXPECT_EQ(yokeSections(saved), stored);
    unloadAll<frmConfigY1, frmConfigY2, frmStatusYoke>();
}

} // namespace
} // namespace varnet

namespace varnet {
namespace {

// Two imports in a row from the file the list shows: after the first, the box names the
// configuration in memory (a save goes there, not over the file imported from) and no line of the
// list stands chosen, so that a click on the same file counts again; each question names the file
// its sections come from.
TEST_F(SaveConfigWindowTest, TwoImportsInARowEachTakeTheirSectionsFromTheFileTheBoxAndTheListShow)
{
    clearTables();
    ConfigTables c = sampleConfig();
    const int e = c.AddIOEntry();
    c.IOEntryFunction[e] = 77;
    writeBytes("c.cfg", SerializeConfig(c));
    // Default.cfg, the configuration in memory, as saved: neither entries nor gauges.
    writeBytes("Default.cfg", SerializeConfig(Cfg));
    Session.ConfigFileName = "Default.cfg";
    SaveConfig& w = DefaultForm<SaveConfig>::get();
    auto* list = child<QListWidget>(w, "FileBox");
    ASSERT_EQ(listLines(w, "FileBox"), (std::vector<std::string>{"Default.cfg", "c.cfg"}));

    const auto importFromTheClickedLine = [&](int box) {
        list->setCurrentRow(1);
        for (int b = 0; b < kImportGroups; ++b)
            child<QCheckBox>(w, qPrintable(QStringLiteral("ChkImportPartial%1").arg(b)))->setChecked(b == box);
        boxes_.expectYesNoDefaultNo(ImportQuestion("c.cfg"), true);
        // What the last import brought in is not saved yet.
        if (Session.ConfigChanged)
            boxes_.expectYesNoDefaultNo(kUnsavedQuestion, true);
        click(w, "cmdImportPartial");
        EXPECT_EQ(std::tuple(child<QLineEdit>(w, "FileName")->text(), list->selectedItems().size()),
                  std::tuple("Default.cfg", 0));
    };
    importFromTheClickedLine(ImportIOEntries);
    EXPECT_EQ(std::tuple(Cfg.IOEntryCount, Cfg.IOEntryFunction[e], Cfg.GaugeRecType[1]),
              std::tuple(c.IOEntryCount, 77, c.GaugeRecType[0]));
    importFromTheClickedLine(ImportGauges);
    EXPECT_TRUE(Cfg.GaugeRecType == c.GaugeRecType && Cfg.GaugeRecPlate1 == c.GaugeRecPlate1)
        << "the gauges came from another file than c.cfg";
    EXPECT_EQ(Cfg.IOEntryFunction[e], 77) << "the entries imported first were put back";

    // Without a click the box's file is the one imported from, and its question says so.
    child<QCheckBox>(w, "ChkImportPartial0")->setChecked(true);
    boxes_.expectYesNoDefaultNo(ImportQuestion("Default.cfg"), false);
    click(w, "cmdImportPartial");
}

} // namespace
} // namespace varnet
