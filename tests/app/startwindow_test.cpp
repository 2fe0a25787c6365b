#include "app/shell.h"
#include "app/mainconfigure.h"
#include "app/saveconfig.h"
#include "app/dispatch.h"
#include "gauges/dialogframe.h"
#include "bus/deviceports.h"
#include "config/startfile.h"
#include "iomodules/configiom.h"
#include "configscreen_fixture.h"
#include "support/fake_serial_port.h"
#include "support/fake_udp_socket.h"

#include <QTest>

namespace varnet {
namespace {

using namespace varnet::testing;

TEST(CountdownValue, CountsDownFromTheBoxOrFromTheLastValueShown)
{
    for (auto [box, last, next] : {std::tuple{"5", 9, 4}, {" 3 ", 9, 2}, {"0", 9, -1}, {"abc", 7, 6}, {"", 7, 6},
                                   {"2.5", 7, 6}, {"99999", 7, 6}})
        EXPECT_EQ(NextCountdownValue(box, last), next) << box;
}

// Answers every Yes/No box with Yes after running `during` (as the timers
// do inside a real box); any other box fails the test.
class QuestionsAnsweredYes final : public MessageService {
public:
    explicit QuestionsAnsweredYes(std::function<void()> during) : during_(std::move(during)) {}
    ~QuestionsAnsweredYes() override { setMessageService(previous_); }

    void ok(const QString& text) override { ADD_FAILURE() << "unexpected box " << text.toStdString(); }
    bool yesNo(const QString&) override { return ++asked, during_(), true; }
    std::optional<QString> input(const QString&, const QString&) override { return std::nullopt; }

    int asked = 0;

private:
    std::function<void()> during_;
    MessageService* previous_ = setMessageService(this);
};

class StartWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DefaultForm<SimCom>::unload();
        Cfg = ConfigTables{};
        Session = SessionState{};
        OnEndProgram = [this] { ++programEnds_; };
        InstallStandAloneLinks();
    }

    void TearDown() override
    {
        OnEndProgram = frmStatusYoke::ExitProgram = frmStatus::EndProgram = frmStatus::ShowConfigurationScreen = nullptr;
        unloadAll<frmMain, frmConfigY1, frmStatusYoke, frmStatus, SimCom>();
        flushDeletes();
    }

    // A configuration file the program accepts; `marker` (in
    // ProcessTimerInterval) tells which file was loaded.
    static void writeConfig(const std::string& name, Integer marker, Byte yokePort = 0,
                            const std::string& header = programHeader())
    {
        ConfigTables t;
        LoadConstantTables(t);
        t.ConfigHeader = header;
        t.ProcessTimerInterval = marker;
        std::tie(t.RemoteIP, t.RemotePort, t.LocalPort) = std::tuple("127.0.0.1", "49000", "49001");
        t.ComPortYoke1() = yokePort;
        writeBytes(name, SerializeConfig(t));
    }

    // A start file naming `name`, and the start window after its first
    // activation; with `waited` also after the first second.
    static frmMain& activated(const std::string& name, Integer delay, bool waited = false)
    {
        Session.StartDelay = delay;
        WriteStartFile(name);
        Session.StartDelay = 0;
        frmMain& w = DefaultForm<frmMain>::get();
        w.show();
        w.Form_Activate();
        if (waited)
            w.TimerWaitForFS_Timer();
        return w;
    }

    static QString text(frmMain& w, const char* box) { return child<QLineEdit>(w, box)->text(); }
    static bool countdownShown(frmMain& w)
    {
        return child<QLabel>(w, "TextAutostart")->isVisible() && child<QLineEdit>(w, "BoxAutoStartTime")->isVisible() &&
               child<QLabel>(w, "Textseconds")->isVisible();
    }
    static bool startWindowOpen() { return DefaultForm<frmMain>::loaded(); }
    // The last datagram sent to the simulator, empty when there was none.
    QByteArray lastDatagram() const
    {
        for (FakeUdpSocket* socket : sockets_.sockets())
            if (!socket->sent().isEmpty())
                return socket->sent().back();
        return {};
    }

    ScopedWorkDir dir_;
    FakeSerialPorts ports_;
    FakeUdpSockets sockets_;
    ScriptedMessages boxes_;
    int programEnds_ = 0;
};

TEST_F(StartWindowTest, StartFileCountdownLoadsTheConfigurationAndStartsTheRunMinimized)
{
    writeConfig("cockpit.cfg", 33);
    frmMain& w = activated("cockpit.cfg", 3);
    EXPECT_EQ(std::tuple(Session.ProgramTitle, text(w, "FileName"), Session.ConfigFileName, Cfg.ProcessTimerInterval,
                         text(w, "BoxAutoStartTime")),
              std::tuple(kProgramTitle, "cockpit.cfg", "cockpit.cfg", 33, "3"));
    EXPECT_TRUE(countdownShown(w) && w.TimerWaitForFS().isActive() && !w.Timer2().isActive());
    w.TimerWaitForFS_Timer();
    EXPECT_TRUE(!w.TimerWaitForFS().isActive() && w.Timer2().isActive());

    w.Timer2_Timer();
    // Hidden pauses the count; minimized counts as shown.
    w.hide();
    w.Timer2_Timer();
    EXPECT_EQ(text(w, "BoxAutoStartTime"), "2");
    w.show();
    w.minimize();
    // A box typed full of something else counts on from the value shown.
    child<QLineEdit>(w, "BoxAutoStartTime")->setText("soon");
    w.Timer2_Timer();
    EXPECT_EQ(text(w, "BoxAutoStartTime"), "1");
    ASSERT_TRUE(startWindowOpen());
    EXPECT_FALSE(DefaultForm<frmStatus>::loaded());

    Cfg.ProcessTimerInterval = 0;
    w.Timer2_Timer();
    EXPECT_FALSE(startWindowOpen());
    ASSERT_TRUE(DefaultForm<frmStatus>::loaded());
    frmStatus& run = DefaultForm<frmStatus>::get();
    EXPECT_TRUE(run.isVisible() && run.isMinimized());
    EXPECT_EQ(std::tuple(Cfg.ProcessTimerInterval, run.Running, run.BoxCurrentConfig->text()), std::tuple(33, 1, "cockpit.cfg"));
    // No yoke configured: the run's start loads the yoke status window, but
    // nothing shows it.
    EXPECT_FALSE(DefaultForm<frmStatusYoke>::loaded() && DefaultForm<frmStatusYoke>::get().isVisible());
}

TEST_F(StartWindowTest, FailedAutostartStaysStoppedThenContinueLoadsTheFileItsBoxShowsAndStartsTheYokes)
{
    writeConfig("cockpit.cfg", 33, 2);
    frmMain& w = activated("cockpit.cfg", 1, true);
    // The autostart uses the typed name, reports and stays stopped.
    child<QLineEdit>(w, "FileName")->setText("missing.cfg");
    boxes_.expectOk(QString("Error Configuration file. missing.cfg: File not found\r\n") + kAutostartFailed);
    w.Timer2_Timer();
    EXPECT_EQ(text(w, "FileName"), "");
    EXPECT_TRUE(startWindowOpen() && !w.Timer2().isActive() && !DefaultForm<frmStatus>::loaded());
    EXPECT_FALSE(countdownShown(w)) << "a countdown at 0 for a start that does not come";

    boxes_.expectOk(kNoFileSelected);
    click(w, "butOK");
    ASSERT_TRUE(startWindowOpen());
    // What the box shows is what Continue loads, a name typed in too: one
    // that is no file of the folder loads nothing and names nothing;
    // edits not saved are not dropped without asking.
    child<QListWidget>(w, "FileBox")->setCurrentRow(0);
    child<QLineEdit>(w, "FileName")->setText("typed.cfg");
    Cfg.ProcessTimerInterval = 0;
    Session.ConfigChanged = 1;
    boxes_.expectYesNoDefaultNo(kUnsavedQuestion, false);
    click(w, "butOK");
    EXPECT_EQ(Cfg.ProcessTimerInterval, 0);
    boxes_.expectYesNoDefaultNo(kUnsavedQuestion, true);
    boxes_.expectOk("Error Configuration file. typed.cfg: File not found");
    click(w, "butOK");
    ASSERT_TRUE(startWindowOpen());
    EXPECT_EQ(std::tuple(Cfg.ProcessTimerInterval, Session.ConfigFileName), std::tuple(0, "cockpit.cfg"));
    child<QLineEdit>(w, "FileName")->setText("cockpit.cfg");
    boxes_.expectYesNoDefaultNo(kUnsavedQuestion, true);
    click(w, "butOK");
    EXPECT_FALSE(startWindowOpen());
    frmStatus& run = DefaultForm<frmStatus>::get();
    EXPECT_TRUE(run.isVisible() && !run.isMinimized());
    EXPECT_EQ(std::tuple(Cfg.ProcessTimerInterval, run.RunPrepared, run.Running, run.BoxCurrentConfig->text()),
              std::tuple(33, 1, 0, "cockpit.cfg"));
    ASSERT_TRUE(DefaultForm<frmStatusYoke>::loaded());
    EXPECT_TRUE(DefaultForm<frmStatusYoke>::get().isMinimized());
    EXPECT_TRUE(ports_.port(2) && ports_.port(2)->isOpen());
}

TEST_F(StartWindowTest, AStartFileNamingNoConfigurationOfTheFolderIsSetAsideWithOneBoxAndDefaultCfgStarts)
{
    // The program's folder is "work"; next to it and below it lie
    // configurations the start must not load.
    ASSERT_TRUE(QDir().mkpath("work/sub") && QDir().mkdir("elsewhere"));
    writeConfig("outside.cfg", 77);
    writeConfig("elsewhere/outside.cfg", 77);
    QDir::setCurrent("work");
    for (const char* file : {"sub/x.cfg", ".cfg", "x.cfgz"})
        writeConfig(file, 77);
    writeConfig("Default.cfg", 33);
    const std::string elsewhere = dir_.file("elsewhere/outside.cfg");
    for (const auto& [name, fault] : std::initializer_list<std::pair<std::string, const char*>>{
             {"../outside.cfg", kFileNameFolderRule}, {elsewhere, kFileNameFolderRule},
             {"sub/x.cfg", kFileNameFolderRule}, {".cfg", kFileTypeRule}, {"x.cfgz", kFileTypeRule},
             {std::string(300, 'n') + ".cfg", kFileNameLengthRule},
             // The message shows 60 characters whole, and cuts a 61st.
             {std::string(55, 'n') + ".cfgz", kFileTypeRule}, {std::string(56, 'n') + ".cfgz", kFileTypeRule}}) {
        SCOPED_TRACE(name);
        Session = SessionState{};
        Cfg = ConfigTables{};
        writeBytes(kStartFileName, "\"General\"\r\n\"" + name + "\"\r\n\"Startdelay\"\r\n2\r\n\"End\"\r\n");
        const QString shown = QString::fromStdString(name.size() > 60 ? name.substr(0, 60) + "..." : name);
        boxes_.expectOk("The start file DefaultStartFile.cfn names \"" + shown +
                        "\", which is not a configuration file of this folder:\r\n" + fault +
                        "\r\nThe program starts with Default.cfg and a delay of 10 seconds instead.");
        frmMain& w = DefaultForm<frmMain>::get();
        w.show();
        w.Form_Activate();
        EXPECT_EQ(std::tuple(text(w, "FileName"), Session.ConfigFileName, Cfg.ProcessTimerInterval,
                             text(w, "BoxAutoStartTime")),
                  std::tuple("Default.cfg", "Default.cfg", 33, "10"));
        w.TimerWaitForFS_Timer();
        Cfg.ProcessTimerInterval = 0;
        for (int second = 0; second < 10; ++second)
            w.Timer2_Timer();
        ASSERT_FALSE(startWindowOpen());
        frmStatus& run = DefaultForm<frmStatus>::get();
        EXPECT_EQ(std::tuple(Cfg.ProcessTimerInterval, run.Running, run.BoxCurrentConfig->text()),
                  std::tuple(33, 1, "Default.cfg"));
        unloadAll<frmStatusYoke, frmStatus, SimCom>();
        flushDeletes();
    }

    // A name typed into the box before the autostart follows the same rule.
    Session = SessionState{};
    frmMain& w = activated("Default.cfg", 1, true);
    Cfg.ProcessTimerInterval = 0;
    QLineEdit* box = child<QLineEdit>(w, "FileName");
    box->clear();
    QTest::keyClicks(box, "../outside.cfg");
    boxes_.expectOk(QString(kFileNameFolderRule) + "\r\n" + kAutostartFailed);
    w.Timer2_Timer();
    EXPECT_EQ(std::tuple(Cfg.ProcessTimerInterval, text(w, "FileName")), std::tuple(0, ""));
    EXPECT_TRUE(startWindowOpen() && !DefaultForm<frmStatus>::loaded());
}

TEST_F(StartWindowTest, CountdownHoldsStillWhileALoadAsksItsQuestion)
{
    std::string foreignTitle = programHeader();
    foreignTitle.replace(14, 13, "Other Cockpit");
    writeConfig("old.cfg", 33, 0, foreignTitle);
    // Inside the first load's question the wait ends and two seconds pass.
    QuestionsAnsweredYes questions([] {
        if (!DefaultForm<frmMain>::loaded())
            return;
        frmMain& w = DefaultForm<frmMain>::get();
        w.TimerWaitForFS_Timer();
        w.Timer2_Timer();
        w.Timer2_Timer();
    });
    frmMain& w = activated("old.cfg", 1);
    EXPECT_EQ(std::tuple(questions.asked, text(w, "BoxAutoStartTime")), std::tuple(1, "1"));
    EXPECT_TRUE(w.Timer2().isActive() && !DefaultForm<frmStatus>::loaded());

    w.Timer2_Timer();
    EXPECT_EQ(questions.asked, 2);
    EXPECT_TRUE(!startWindowOpen() && DefaultForm<frmStatus>::loaded());
}

TEST_F(StartWindowTest, ChoosingAFileOrConfigureCancelsTheCountdownForGoodEvenInTheFirstSecond)
{
    writeConfig("a.cfg", 33);
    writeConfig("b.cfg", 44);
    frmMain& w = activated("a.cfg", 5);
    child<QListWidget>(w, "FileBox")->setCurrentRow(1);
    EXPECT_EQ(std::tuple(text(w, "FileName"), Session.ConfigFileName, Cfg.ProcessTimerInterval), std::tuple("b.cfg", "b.cfg", 44));
    // The run window now exists, hidden, for the dialogs.
    ASSERT_TRUE(DefaultForm<frmStatus>::loaded());
    EXPECT_EQ(std::tuple(DefaultForm<frmStatus>::get().isVisible(), DefaultForm<frmStatus>::get().BoxCurrentConfig->text()),
              std::tuple(false, "b.cfg"));
    w.TimerWaitForFS_Timer();
    EXPECT_FALSE(w.Timer2().isActive() || countdownShown(w));

    Session.ConfigFromStatus = 1;
    click(w, "CmdConfigure");
    EXPECT_EQ(std::tuple(Session.ConfigFromStatus, w.Timer2().isActive()), std::tuple(0, false));
}

TEST_F(StartWindowTest, LaterActivationsShowTheStartFileAgainWithoutACountdownInANewStartWindow)
{
    writeConfig("a.cfg", 33);
    activated("a.cfg", 5, true);
    // The run window's Configuration makes the start window anew.
    InstallShell();
    DefaultForm<frmStatus>::get().CmdConfig_Click();
    Session.ConfigFileName = "elsewhere.cfg";
    Cfg.ProcessTimerInterval = 0;
    writeConfig("b.cfg", 44);
    frmMain& w = DefaultForm<frmMain>::get();
    w.Form_Activate();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(listLines(w, "FileBox").size(), 2u);
    // The start file is the autostart's choice; the configuration in memory keeps its name.
    EXPECT_EQ(std::tuple(text(w, "FileName"), Session.ConfigFileName, Cfg.ProcessTimerInterval),
              std::tuple("a.cfg", "elsewhere.cfg", 0));
    EXPECT_FALSE(w.TimerWaitForFS().isActive() || w.Timer2().isActive() || countdownShown(w));
}

// The configuration screen opened from the run window, with the start
// window beside it as the run window's Configuration shows them, each
// activated as a window manager activates them.
class StartWindowBesideTheScreen : public StartWindowTest {
protected:
    void TearDown() override
    {
        unloadAll<SaveConfig, ConfigIOM, FrmMainConfigure>();
        StartWindowTest::TearDown();
    }

    static FrmMainConfigure& configurationFromTheRunWindow()
    {
        click(DefaultForm<frmStatus>::get(), "CmdConfig");
        EXPECT_TRUE(startWindowOpen() && DefaultForm<frmMain>::get().isVisible());
        DefaultForm<frmMain>::get().Form_Activate();
        FrmMainConfigure& screen = DefaultForm<FrmMainConfigure>::get();
        screen.Form_Activate();
        return screen;
    }

    static QString runWindowFile()
    {
        const frmStatus& run = DefaultForm<frmStatus>::get();
        EXPECT_TRUE(run.isVisible());
        return run.BoxCurrentConfig->text();
    }
};

TEST_F(StartWindowBesideTheScreen, ASaveShowsInTheStartWindowAtOnceAndTheRunWindowNamesTheConfiguration)
{
    writeConfig("a.cfg", 33);
    frmMain& first = activated("a.cfg", 5, true);
    InstallShell();
    click(first, "butOK");
    ASSERT_FALSE(startWindowOpen());

    // Back without a save: the run window, made anew, still names the file.
    click(configurationFromTheRunWindow(), "Command1");
    EXPECT_EQ(runWindowFile(), "a.cfg");

    FrmMainConfigure& screen = configurationFromTheRunWindow();
    EXPECT_EQ(listLines(DefaultForm<frmMain>::get(), "FileBox"), std::vector<std::string>{"a.cfg"});
    click(screen, "CmdSaveConfig");
    SaveConfig& save = DefaultForm<SaveConfig>::get();
    child<QLineEdit>(save, "FileName")->setText("new.cfg");
    boxes_.expectOk("File saved as: new.cfg");
    click(save, "CmdSave");
    const std::vector<std::string> both{"a.cfg", "new.cfg"};
    EXPECT_EQ(listLines(DefaultForm<frmMain>::get(), "FileBox"), both) << "the start window stays open beside the screen";
    EXPECT_EQ(listLines(save, "FileBox"), both);
    click(save, "cmdClose");
    click(screen, "Command1");
    EXPECT_FALSE(DefaultForm<FrmMainConfigure>::loaded());
    EXPECT_EQ(runWindowFile(), "new.cfg");
    EXPECT_FALSE(startWindowOpen()) << "a start window left beside the prepared run could load under it";
}

// A file of another system's making, its extension in capitals, is listed
// and chosen; "Continue" runs it as the box shows it.
TEST_F(StartWindowTest, ContinueRunsAFileChosenFromTheListWhateverTheCaseOfItsExtension)
{
    writeConfig("a.cfg", 33);
    writeConfig("OLD.CFG", 55);
    frmMain& w = activated("a.cfg", 5, true);
    ASSERT_EQ(listLines(w, "FileBox"), (std::vector<std::string>{"OLD.CFG", "a.cfg"}));
    child<QListWidget>(w, "FileBox")->setCurrentRow(0);
    click(w, "butOK");
    ASSERT_FALSE(startWindowOpen());
    EXPECT_EQ(std::tuple(Cfg.ProcessTimerInterval, Session.ConfigFileName, DefaultForm<frmStatus>::get().RunPrepared),
              std::tuple(55, "OLD.CFG", 1));
}

// A file added behind the program's back shows once its list's window is
// shown again; reading the list again chooses nothing, so the countdown
// goes on.
TEST_F(StartWindowTest, FileListsAreReadAgainEachTimeTheirWindowIsShown)
{
    writeConfig("a.cfg", 33);
    frmMain& w = activated("a.cfg", 5, true);
    SaveConfig& save = DefaultForm<SaveConfig>::get();
    save.show();
    for (QWidget* window : {static_cast<QWidget*>(&w), static_cast<QWidget*>(&save)}) {
        EXPECT_EQ(listLines(*window, "FileBox"), std::vector<std::string>{"a.cfg"});
        writeConfig("late.cfg", 44);
        EXPECT_EQ(listLines(*window, "FileBox").size(), 1u) << "not while it stays shown";
        window->hide();
        window->show();
        EXPECT_EQ(listLines(*window, "FileBox"), (std::vector<std::string>{"a.cfg", "late.cfg"}));
        std::remove("late.cfg");
    }
    EXPECT_TRUE(w.Timer2().isActive());
    EXPECT_EQ(std::tuple(text(w, "FileName"), Session.ConfigFileName, Cfg.ProcessTimerInterval),
              std::tuple("a.cfg", "a.cfg", 33));
    DefaultForm<SaveConfig>::unload();
}

TEST_F(StartWindowTest, EveryWayOutOfTheStartWindowStopsTheSimulatorDataAndClosesThePorts)
{
    writeConfig("Default.cfg", 33);
    const std::function<void(frmMain&)> exits[] = {
        [](frmMain& w) { click(w, "Exit"); },
        [](frmMain& w) { w.close(); },
        [](frmMain&) { ExitThroughCurrentWindow(); },
    };
    for (const auto& exit : exits) {
        programEnds_ = 0;
        frmMain& w = DefaultForm<frmMain>::get();
        w.show();
        w.Form_Activate();
        DefaultForm<SimCom>::get().OpenUDP();
        Cfg.ComPortGauges = 1;
        OpenComPorts();
        ASSERT_TRUE(ports_.port(1) && ports_.port(1)->isOpen());

        exit(w);
        EXPECT_FALSE(startWindowOpen() || ports_.port(1)->isOpen());
        EXPECT_EQ(std::tuple(lastDatagram().left(5), lastDatagram().size(), programEnds_), std::tuple("USEL0", 605, 1));
        DefaultForm<SimCom>::unload();
        flushDeletes();
    }

    // The yoke status window's Exit closes the device ports but leaves the
    // simulator link alone.
    InstallShell();
    DefaultForm<SimCom>::get().OpenUDP();
    OpenComPorts();
    click(DefaultForm<frmStatusYoke>::get(), "cmdExit");
    EXPECT_FALSE(ports_.port(1)->isOpen());
    EXPECT_EQ(std::tuple(lastDatagram(), programEnds_), std::tuple(QByteArray(), 2));
}

} // namespace
} // namespace varnet

namespace varnet {
namespace {

// The configuration in memory is named by the file it came from, wherever
// the program names it, whichever way the user goes between the windows;
// the I/O-module window that opened the load closes with it, and shows the
// loaded entries when it is opened again.
TEST_F(StartWindowBesideTheScreen, ALoadedFileKeepsItsNameThroughTheRunWindowAndIsSavedToItselfNotToTheStartFile)
{
    writeConfig("Default.cfg", 33);
    {
        // b.cfg: stand-alone module 1 with its first switch on a function.
        ConfigTables b;
        LoadConstantTables(b);
        b.ConfigHeader = programHeader();
        b.ProcessTimerInterval = 44;
        std::tie(b.RemoteIP, b.RemotePort, b.LocalPort) = std::tuple("127.0.0.1", "49000", "49001");
        b.ComPortIOM = 2;
        b.FunctionNames[60] = "FLAPS";
        b.FunctionMultiply[60] = b.FunctionDivide[60] = 1;
        const int e = b.AddIOEntry();
        std::tie(b.IOEntryGaugeID[e], b.IOEntryKind[e], b.IOEntryNumber[e], b.IOEntryCategory[e],
                 b.IOEntryFunction[e], b.IOEntrySeqNr[e]) = std::tuple(kStandAloneIOM1, IOEntrySwitch, 0, 0, 60, 1);
        writeBytes("b.cfg", SerializeConfig(b));
    }
    const std::string startFileConfig = fileBytes("Default.cfg");
    frmMain& first = activated("Default.cfg", 5, true);
    InstallShell();
    click(first, "butOK");
    ASSERT_FALSE(startWindowOpen());

    // The I/O-module window of module 1, with an entry typed and not stored.
    FrmMainConfigure& screen = configurationFromTheRunWindow();
    Cfg.ComPortIOM = 2;
    screen.Form_Activate();
    click(screen, "cmdGotoIOM");
    ConfigIOM& iom = DefaultForm<ConfigIOM>::get();
    const auto line = [&iom](int row) { return child<QListWidget>(iom, "ListEntries")->item(row)->text(); };
    EXPECT_TRUE(line(0).endsWith("--"));
    auto* valueOn = child<QLineEdit>(iom, "boxValueOn");
    valueOn->selectAll();
    QTest::keyClicks(valueOn, "50");
    click(iom, "cmdSaveConfig");
    SaveConfig& load = DefaultForm<SaveConfig>::get();
    child<QLineEdit>(load, "FileName")->setText("b.cfg");
    // Asked about as another line is: No keeps the entry and the configuration.
    boxes_.expectYesNoDefaultNo("This will overwrite the current configuration! Continue?", true);
    boxes_.expectYesNoDefaultNo(NamedQuestion(iom, kUpdatesNotSavedYet), false);
    click(load, "CmdLoad");
    EXPECT_EQ(std::tuple(Cfg.ProcessTimerInterval, child<QLineEdit>(iom, "boxValueOn")->text()), std::tuple(33, "50"));
    boxes_.expectYesNoDefaultNo("This will overwrite the current configuration! Continue?", true);
    boxes_.expectYesNoDefaultNo(NamedQuestion(iom, kUpdatesNotSavedYet), true);
    click(load, "CmdLoad");
    ASSERT_EQ(Cfg.ProcessTimerInterval, 44);
    // It worked on module 1 of the configuration replaced, and closed with the load; opened again
    // from the screen it shows module 1 of b.cfg.
    ASSERT_FALSE(DefaultForm<ConfigIOM>::loaded());
    EXPECT_EQ(child<QLineEdit>(screen, "CurrentConfigFile")->text(), "b.cfg");
    click(screen, "cmdGotoIOM");
    ConfigIOM& loaded = DefaultForm<ConfigIOM>::get();
    const QString switch0 = child<QListWidget>(loaded, "ListEntries")->item(0)->text();
    EXPECT_TRUE(switch0.contains("FLAPS")) << switch0.toStdString();
    EXPECT_TRUE(child<QLabel>(loaded, "LabelEntry")->text().endsWith(": entry 1"));

    // Back to the run window, and to the configuration screen again.
    click(loaded, "cmdClose");
    click(screen, "Command1");
    EXPECT_EQ(runWindowFile(), "b.cfg");
    FrmMainConfigure& again = configurationFromTheRunWindow();
    EXPECT_EQ(child<QLineEdit>(again, "CurrentConfigFile")->text(), "b.cfg");
    // The start window may show the autostart's file; it is not the one in memory.
    EXPECT_EQ(child<QLineEdit>(DefaultForm<frmMain>::get(), "FileName")->text(), "Default.cfg");
    click(again, "CmdSaveConfig");
    SaveConfig& save = DefaultForm<SaveConfig>::get();
    EXPECT_EQ(child<QLineEdit>(save, "FileName")->text(), "b.cfg");
    boxes_.expectOk("File saved as: b.cfg");
    click(save, "CmdSave");
    EXPECT_TRUE(fileBytes("Default.cfg") == startFileConfig) << "the start file's configuration was written over";
    Cfg = ConfigTables{};
    Session.ConfigFileName = "b.cfg";
    ReadConfigFile();
    ASSERT_EQ(Session.ConfigError, 0);
    EXPECT_EQ(std::tuple(Cfg.ProcessTimerInterval, Cfg.IOEntryFunction[1]), std::tuple(44, 60));
}

} // namespace
} // namespace varnet

namespace varnet {
namespace {

// Every load goes one way, whichever window asks: it asks about what would be
// lost, then every window showing the tables shows the file now in memory; and
// beside a prepared run every door refuses.
TEST_F(StartWindowBesideTheScreen, EveryLoadAsksFirstShowsTheLoadedFileEverywhereAndIsRefusedBesideAPreparedRun)
{
    // a.cfg: module 1's switch 0 and gauge 1; b.cfg: module 2's LED 3 and gauge 2.
    const auto configuration = [](Integer marker, int gauge, Integer module, Integer kind, Integer number) {
        ConfigTables t;
        LoadConstantTables(t);
        t.ConfigHeader = programHeader();
        t.ProcessTimerInterval = marker;
        std::tie(t.RemoteIP, t.RemotePort, t.LocalPort) = std::tuple("127.0.0.1", "49000", "49001");
        t.GaugeRecType[gauge] = 1;
        std::tie(t.FunctionNames[60], t.FunctionMultiply[60], t.FunctionDivide[60]) = std::tuple("FLAPS", 1, 1);
        const int e = t.AddIOEntry();
        std::tie(t.IOEntryGaugeID[e], t.IOEntryKind[e], t.IOEntryNumber[e], t.IOEntryFunction[e], t.IOEntrySeqNr[e]) =
            std::tuple(module, kind, number, 60, 1);
        return SerializeConfig(t);
    };
    writeBytes("a.cfg", configuration(33, 1, kStandAloneIOM1, IOEntrySwitch, 0));
    writeBytes("b.cfg", configuration(44, 2, kStandAloneIOM2, IOEntryLED, 3));
    frmMain& w = activated("a.cfg", 5, true);
    InstallShell();
    click(w, "CmdConfigure");
    FrmMainConfigure& screen = DefaultForm<FrmMainConfigure>::get();
    CurrentGaugeID = kStandAloneIOM1;
    ConfigIOM::Open();
    ConfigIOM& iom = DefaultForm<ConfigIOM>::get();
    QTest::keyClicks(child<QLineEdit>(iom, "boxValueOn"), "50");
    OpenGaugeDialog(1);
    SaveConfig& save = DefaultForm<SaveConfig>::get();
    save.show();
    ASSERT_EQ(std::tuple(child<QLineEdit>(save, "FileName")->text(), GaugeDialog::OpenDialogs().size()),
              std::tuple("a.cfg", 1));

    // The list choice asks about the edits not saved and the entry typed.
    auto* list = child<QListWidget>(w, "FileBox");
    boxes_.expectYesNoDefaultNo(kUnsavedQuestion, false);
    list->setCurrentRow(1);
    // Kept: the box names the file in memory again, and no line stands chosen.
    EXPECT_EQ(std::tuple(text(w, "FileName"), list->selectedItems().size()), std::tuple("a.cfg", 0));
    boxes_.expectYesNoDefaultNo(kUnsavedQuestion, true);
    boxes_.expectYesNoDefaultNo(NamedQuestion(iom, kUpdatesNotSavedYet), false);
    list->setCurrentRow(1);
    ASSERT_EQ(std::tuple(Cfg.ProcessTimerInterval, Session.ConfigFileName), std::tuple(33, "a.cfg"));
    boxes_.expectYesNoDefaultNo(kUnsavedQuestion, true);
    boxes_.expectYesNoDefaultNo(NamedQuestion(iom, kUpdatesNotSavedYet), true);
    list->setCurrentRow(1);
    ASSERT_EQ(std::tuple(Cfg.ProcessTimerInterval, Session.ConfigFileName), std::tuple(44, "b.cfg"));
    EXPECT_EQ(std::tuple(child<QLineEdit>(save, "FileName")->text(), child<QLineEdit>(screen, "CurrentConfigFile")->text(),
                         DefaultForm<frmStatus>::get().BoxCurrentConfig->text(), GaugeDialog::OpenDialogs().size(),
                         GaugeIDOfLine(listLines(screen, "Configlist").at(0))),
              std::tuple("b.cfg", "b.cfg", "b.cfg", 0, 2));
    // The I/O-module window worked on module 1 of a.cfg: it closed with the load, and nothing
    // is stored through it into b.cfg over module 2's LED.
    EXPECT_FALSE(DefaultForm<ConfigIOM>::loaded());
    EXPECT_EQ(std::tuple(Cfg.IOEntryCount, Cfg.IOEntryGaugeID[1], Cfg.IOEntryKind[1]),
              std::tuple(2, kStandAloneIOM2, IOEntryLED));

    // Continue beside the screen: the run is prepared only once every window of the configuration is gone.
    boxes_.expectYesNoDefaultNo(kUnsavedQuestion, true);
    click(w, "butOK");
    ASSERT_TRUE(DefaultForm<frmStatus>::get().RunPrepared);
    EXPECT_FALSE(startWindowOpen() || DefaultForm<FrmMainConfigure>::loaded() || DefaultForm<ConfigIOM>::loaded() ||
                 DefaultForm<SaveConfig>::loaded());

    // A start window or a Load/Save window beside the prepared run loads nothing.
    frmMain& beside = DefaultForm<frmMain>::get();
    beside.show();
    SaveConfig& besideSave = DefaultForm<SaveConfig>::get();
    besideSave.show();
    child<QLineEdit>(besideSave, "FileName")->setText("a.cfg");
    const QString loadRefused =
        "A configuration cannot be loaded while the run window holds the one in memory: the run uses the sim ports "
        "opened for it.\r\n"
        "To load another configuration, press \"Configuration\" on the run window (this stops the run) and use "
        "\"Save / Load Configuration\" on the configuration screen; closing the screen prepares the run again with it.";
    const QString importRefused =
        "A configuration cannot be imported while the run window holds the one in memory: the run uses the sim ports "
        "opened for it.\r\n"
        "To import into the configuration, press \"Configuration\" on the run window (this stops the run) and use "
        "\"Save / Load Configuration\" on the configuration screen; closing the screen prepares the run again with it.";
    for (const QString& refused : {loadRefused, loadRefused, loadRefused, loadRefused, importRefused})
        boxes_.expectOk(refused);
    child<QListWidget>(beside, "FileBox")->setCurrentRow(0);
    child<QLineEdit>(beside, "FileName")->setText("a.cfg");
    click(beside, "butOK");
    child<QLineEdit>(beside, "BoxAutoStartTime")->setText("1");
    beside.Timer2_Timer();
    click(besideSave, "CmdLoad");
    click(besideSave, "cmdImportPartial");
    EXPECT_EQ(std::tuple(Cfg.ProcessTimerInterval, Session.ConfigFileName), std::tuple(44, "b.cfg"));
}

// A start file that is there and does not load names nothing, so that no save
// writes the empty tables over it; one naming a file not made yet keeps its name.
TEST_F(StartWindowTest, AStartFileThatIsThereAndDoesNotLoadNamesNothingAndAMissingOneIsMadeByTheFirstSave)
{
    writeConfig("cut.cfg", 33);
    std::string cut = fileBytes("cut.cfg");
    cut.resize(cut.size() / 2);
    writeBytes("cut.cfg", cut);
    boxes_.expectOk(ConfigErrorText("cut.cfg", "Input past end of file"));
    activated("cut.cfg", 5);
    ASSERT_EQ(Session.ConfigFileName, "");
    boxes_.expectOk("No filename");
    click(DefaultForm<SaveConfig>::get(), "CmdSave");
    EXPECT_EQ(fileBytes("cut.cfg"), cut);
    unloadAll<SaveConfig, frmMain>();

    Session = SessionState{};
    boxes_.expectOk("Error Configuration file. new.cfg: File not found");
    activated("new.cfg", 5);
    EXPECT_EQ(child<QLineEdit>(DefaultForm<SaveConfig>::get(), "FileName")->text(), "new.cfg");
    DefaultForm<SaveConfig>::unload();
}

// A yoke whose port cannot be opened is told once: the run's start starts the yokes.
TEST_F(StartWindowTest, AnAutostartTellsAYokePortThatCannotBeOpenedOnce)
{
    writeConfig("cockpit.cfg", 33, 2);
    ports_.onOpen = [](FakeSerialPort& port) { port.setOpenError(port.portNumber() == 2 ? "gone" : ""); };
    frmMain& w = activated("cockpit.cfg", 1, true);
    InstallShell();
    boxes_.expectOk(QString("Yoke 1: COM port 2 (%1) cannot be opened: gone").arg(resolveComPort(2)));
    w.Timer2_Timer();
    ASSERT_TRUE(DefaultForm<frmStatus>::loaded() && DefaultForm<frmStatus>::get().Running);
    EXPECT_EQ(boxes_.pending(), 0u);
}

} // namespace
} // namespace varnet

namespace varnet {
namespace {

// A start file whose configuration fails at the start (cut short, its title question answered No,
// not there) says so once: no countdown starts, whose autostart would only fail again.
TEST_F(StartWindowTest, AStartFileThatFailsAtTheStartSaysSoOnceAndStartsNoCountdown)
{
    writeConfig("cut.cfg", 33);
    std::string cut = fileBytes("cut.cfg");
    cut.resize(cut.size() / 2);
    writeBytes("cut.cfg", cut);
    std::string foreignTitle = programHeader();
    foreignTitle.replace(14, 13, "Other Cockpit");
    writeConfig("foreign.cfg", 44, 0, foreignTitle);
    const std::vector<std::pair<const char*, std::function<void()>>> failures = {
        {"cut.cfg", [this] { boxes_.expectOk(ConfigErrorText("cut.cfg", "Input past end of file")); }},
        {"foreign.cfg",
         [this] {
             boxes_.expectYesNo("The selected Configuration file is possibly not compatible with this program.\r\n"
                                "In case a config from a previous version, ignore errors save it again.\r\n"
                                "Continue?",
                                false);
         }},
        {"new.cfg", [this] { boxes_.expectOk("Error Configuration file. new.cfg: File not found"); }},
    };
    for (const auto& [file, told] : failures) {
        SCOPED_TRACE(file);
        Session = SessionState{};
        told();
        frmMain& w = activated(file, 1);
        w.TimerWaitForFS_Timer();
        EXPECT_FALSE(w.Timer2().isActive() || countdownShown(w));
        EXPECT_EQ(boxes_.pending(), 0u);
        unloadAll<frmMain>();
    }
}

// A file name beyond ASCII (stored as the file system's UTF-8) shows everywhere as the lists show it.
TEST_F(StartWindowBesideTheScreen, ANameBeyondAsciiShowsInTheRunWindowAndTheScreenAsInTheLists)
{
    const std::string name = "\xC3\xBC.cfg";  // ü.cfg
    writeConfig(name, 33);
    frmMain& w = activated(name, 5, true);
    InstallShell();
    click(w, "CmdConfigure");
    auto* list = child<QListWidget>(w, "FileBox");
    list->clearSelection();
    list->setCurrentRow(0);
    const QString shown = list->item(0)->text();
    ASSERT_EQ(shown, QString::fromUtf8("\xC3\xBC.cfg"));
    FrmMainConfigure& screen = DefaultForm<FrmMainConfigure>::get();
    EXPECT_EQ(std::tuple(child<QLineEdit>(screen, "CurrentConfigFile")->text(),
                         DefaultForm<frmStatus>::get().BoxCurrentConfig->text()),
              std::tuple(shown, shown));
}

} // namespace
} // namespace varnet

namespace varnet {
namespace {

// A key that moves the list's line chooses the file once: kept from loading (No), it is not asked
// about a second time, and the next key choosing it asks anew.
TEST_F(StartWindowBesideTheScreen, AKeyThatMovesTheListsLineAsksOnce)
{
    writeConfig("a.cfg", 33);
    writeConfig("b.cfg", 44);
    frmMain& w = activated("a.cfg", 5, true);
    InstallShell();
    click(w, "CmdConfigure");
    Session.ConfigChanged = 1;
    auto* list = child<QListWidget>(w, "FileBox");
    boxes_.expectYesNoDefaultNo(kUnsavedQuestion, false);
    QTest::keyClick(list, Qt::Key_End);
    EXPECT_EQ(std::tuple(text(w, "FileName"), list->selectedItems().size(), Session.ConfigFileName),
              std::tuple("a.cfg", 0, "a.cfg"));
    boxes_.expectYesNoDefaultNo(kUnsavedQuestion, true);
    QTest::keyClick(list, Qt::Key_B);
    EXPECT_EQ(std::tuple(text(w, "FileName"), Session.ConfigFileName), std::tuple("b.cfg", "b.cfg"));
}

} // namespace
} // namespace varnet
