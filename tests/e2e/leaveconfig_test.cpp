// Leaving the configuration on the real program, on a private X display under a window manager,
// worked with the keyboard as a user works it.
//
// The run window's Configuration opens the start window beside the configuration screen. A file
// chosen in that start window's list is a load like any other: with an edit not saved it asks
// first. The screen's Close asks about the edit and then about an entry typed into the I/O-module
// window and not stored; kept, both windows stay. Once it goes on, the run is prepared with no
// window of the configuration left beside it: a load from a start window left open would lay the
// I/O entries out anew under the run's sim ports, and a stand-alone module's switch would write
// another DATA group than its own. A file loaded from the screen's Save / Load names another
// X-Plane and local port: the run prepared on it sends there and listens there, and the X-Plane
// of the file replaced is asked for nothing more.
//
// A start file that names a file which is there and does not load (cut short) says so once, and
// leaves the configuration without a name: the Load/Save window's Save asks for one instead of
// writing the empty tables over the user's file.
//
// From the start window's Configure: a description updated in the function list is asked about
// before a load from the start window's list, and No keeps it, the list open or closed; the
// function editor and its test window, which has stored a limit, are asked about and then close
// with the load, so that the loaded file's function is saved whole. A port "set" on the screen is
// asked about at the start window's Continue after the screen's Close: No prepares no run, and Yes
// reads the file again. Two imports in a row in the Load/Save window each take their sections from
// the file clicked in its list; a file of an earlier version loaded there keeps nothing of the
// yoke, second module and plates of the configuration it replaces.
//
// The I/O-module window works on a module of the configuration it was opened on, and closes with
// it at a load, its test too: after a load that puts the module on another port, the module's
// window tests it there and its old port hears nothing more; after a load of a file without the
// module, nothing typed in the window is stored into the loaded configuration.

#include "config/startfile.h"

#include <QFile>

#include <tuple>
// Last: it brings Xlib, whose macros (None, Bool ...) clash with other headers.
#include "managed_fixture.h"

namespace varnet {
namespace {

using namespace varnet::testing;

constexpr int kModuleCom = 2;
constexpr int kNavLightsFunction = 61;
constexpr quint32 kNavLightsGroup = 106;
// The function the switch has in the other file.
constexpr int kFlapsFunction = 60;
constexpr quint32 kFlapsGroup = 67;
constexpr int kSwitch = 4;

constexpr const char* kRunWindow = "Control Program for X-Plane";
constexpr const char* kStartWindow = "VARNET";
constexpr const char* kScreen = "Varnet Configuration";
constexpr const char* kIOModuleWindow = "IO Module";
constexpr const char* kLoadSaveWindow = "Load/Save Configuration";
constexpr const char* kFunctionList = "List available functions";
constexpr const char* kFunctionEditor = "Creation and Maintenance";
constexpr const char* kFunctionTest = "Test Varnet functions";

// Tab walks a window's controls in the order they are placed, skipping the disabled ones; so many
// Tabs (or Shift+Tabs, back) from a control reach another.
QString tabs(int count, bool back = false)
{
    return QString(back ? QStringLiteral("+{TAB}") : QStringLiteral("{TAB}")).repeated(count);
}

class ConfigurationWindowsTest : public ProgramUnderWindowManagerTest {
protected:
    // Answers the program's next box with `key` and waits for it to go.
    ::testing::AssertionResult answer(const char* what, const char* key, int timeoutMs = kBoundMs)
    {
        const Window box = boxInFront(timeoutMs, answered_);
        if (box == 0)
            return ::testing::AssertionFailure() << what << ": no box; the keyboard is on \"" << titleOf(focus())
                                                 << "\"";
        answered_ = box;
        if (!answered(box, key))
            return ::testing::AssertionFailure() << what << ": the box does not close";
        return ::testing::AssertionSuccess();
    }

    // The start window stays: its countdown runs long, and Configure stops it.
    void startWindowStays()
    {
        Session.StartDelay = 300;
        ASSERT_TRUE(WriteStartFile("Default.cfg"));
    }

    // The configuration file `name` in the working folder, as read back; this test's own tables
    // stay as they are.
    static ConfigTables saved(const char* name)
    {
        const ConfigTables kept = Cfg;
        const SessionState session = Session;
        QString error;
        EXPECT_TRUE(LoadConfigFile(name, &error)) << error.toStdString();
        const ConfigTables read = Cfg;
        Cfg = kept;
        Session = session;
        return read;
    }

    // Saves from the configuration screen `screen`: its Save / Load, `toSaveLoad` keys away from
    // the control that has its keyboard, then Save, from the Load/Save window's list.
    ::testing::AssertionResult savedFromTheScreen(Window screen, const QString& toSaveLoad)
    {
        activate(screen);
        if (windowWithKeyboard(kScreen) == 0)
            return ::testing::AssertionFailure() << "the screen does not take the keyboard";
        type(toSaveLoad + " ");
        if (windowWithKeyboard(kLoadSaveWindow) == 0)
            return ::testing::AssertionFailure() << "the Load/Save window did not open";
        type(tabs(3) + " ");  // the file box, Load, Save
        return answer("File saved as", "{ENTER}");
    }

private:
    std::string titleOf(Window w) const
    {
        char* name = nullptr;
        std::string title = w > PointerRoot && XFetchName(x_.get(), w, &name) && name ? name : "";
        XFree(name);
        return title;
    }

    Window answered_ = 0;
};

class LeaveConfigurationTest : public ConfigurationWindowsTest {
protected:
    void configure() override
    {
        Cfg.ComPortIOM = kModuleCom;
        for (const auto& [f, name, group] : {std::tuple(kNavLightsFunction, "NAVLIGHTS", kNavLightsGroup),
                                             std::tuple(kFlapsFunction, "FLAPS", kFlapsGroup)}) {
            defineFunction(f, name, group);
            std::tie(Cfg.FunctionMinimum[f], Cfg.FunctionMaximum[f]) = std::tuple(0.0f, 1.0f);
        }
        const int e = Cfg.AddIOEntry();
        std::tie(Cfg.IOEntryGaugeID[e], Cfg.IOEntryKind[e], Cfg.IOEntryNumber[e], Cfg.IOEntryFunction[e],
                 Cfg.IOEntrySeqNr[e], Cfg.IOEntryValue1[e], Cfg.IOEntryValue2[e]) =
            std::tuple(kStandAloneIOM1, IOEntrySwitch, kSwitch, kFlapsFunction, 1, 100.0f, 0.0f);
        // The same cockpit with the switch on the flaps and another X-Plane, beside the start file's.
        const ConfigTables own = Cfg;
        std::tie(Cfg.RemotePort, Cfg.LocalPort) =
            std::tuple(std::to_string(otherXplane_.port()), std::to_string(otherPort_));
        std::string error;
        ASSERT_TRUE(writeFileSafely("other.cfg", SerializeConfig(Cfg), &error)) << error;
        Cfg = own;
        Cfg.IOEntryFunction[e] = kNavLightsFunction;
        SetModuleSwitches(module_, {});
    }

    SimControlUnit module_{kModuleCom};
    SimXplane otherXplane_;
    quint16 otherPort_ = freeUdpPort();
};

TEST_F(LeaveConfigurationTest, TheScreensCloseAsksAboutEditsAndLeavesNoConfigurationWindowBesideTheRun)
{
    if (!x_ || !managed_)
        GTEST_SKIP() << "no X display with a window manager (openbox) for the program's windows";
    ASSERT_TRUE(module_.ready());
    ASSERT_TRUE(runStarted());
    ASSERT_TRUE(waitForData(kNavLightsGroup, 0, 3000)) << "the first reply finds the switch off";

    // The run window back from its taskbar button, and its Configuration.
    activate(managedWindow(kRunWindow));
    ASSERT_NE(windowWithKeyboard(kRunWindow), 0u) << "the run window does not come back";
    // Back from its first control: Exit, Hide, Show IOM #1, Configuration.
    type(tabs(4, true) + " ");
    const Window screen = windowWithKeyboard(kScreen);
    ASSERT_NE(screen, 0u) << "Configuration did not open the configuration screen";
    const Window start = managedWindow(kStartWindow);
    ASSERT_NE(start, 0u) << "Configuration did not open the start window";

    // Another choice of the Gauge Lights Switch, an edit not saved. Back from the screen's first
    // control: Close, Force Feedback Yoke, Input/Output Module 1 (the other units' buttons are
    // disabled), the seven actions, the search's ->250, the gauge list, the file box, the combo.
    type(tabs(14, true) + "{DOWN}");

    // In the start window's list (which has the keyboard as the window comes), the other file,
    // typed: a load, which asks first. No keeps the configuration in memory.
    activate(start);
    ASSERT_NE(windowWithKeyboard(kStartWindow), 0u) << "the start window does not take the keyboard";
    type("o");
    ASSERT_TRUE(answer("choosing a file with an edit not saved", "n"));

    // The I/O-module window from the screen, and a value typed into its entry and not stored.
    activate(screen);
    ASSERT_NE(windowWithKeyboard(kScreen), 0u);
    type(tabs(11) + " ");
    ASSERT_NE(windowWithKeyboard(kIOModuleWindow), 0u) << "the I/O-module window did not open";
    // From the window's first control (the kind of line): the list, the debounce time and its set,
    // category, function, its filter, selector, the switch's mode, and its On value.
    type(tabs(9) + "50");

    // The screen's Close: Yes to the edit, No to the typed value keeps both windows.
    activate(screen);
    ASSERT_NE(windowWithKeyboard(kScreen), 0u);
    type(tabs(2) + " ");  // from Input/Output Module 1: Force Feedback Yoke, Close
    ASSERT_TRUE(answer("Close with an edit not saved", "y"));
    ASSERT_TRUE(answer("Close with a value typed and not stored", "n"));
    ASSERT_NE(windowWithKeyboard(kScreen), 0u) << "No did not keep the configuration screen";
    EXPECT_NE(managedWindow(kIOModuleWindow), 0u) << "No did not keep the I/O-module window";

    // Close again, Yes and Yes: the run window, alone.
    type(" ");
    ASSERT_TRUE(answer("Close again with an edit not saved", "y"));
    ASSERT_TRUE(answer("Close again with a value typed and not stored", "y"));
    ASSERT_NE(windowWithKeyboard(kRunWindow), 0u) << "Close did not go back to the run window";
    for (const char* title : {kStartWindow, kScreen, kIOModuleWindow})
        EXPECT_EQ(managedWindow(title), 0u) << title << " is still open beside the prepared run";

    // Run, from the run window's first control; the switch on its own group only.
    xplane_.clearReceived();
    type("{TAB} ");
    ASSERT_TRUE(waitForData(kNavLightsGroup, 0, 3000)) << "Run did not start the run";
    SetModuleSwitches(module_, {kSwitch});
    EXPECT_TRUE(waitForData(kNavLightsGroup, 1, 3000)) << "the switch did not reach X-Plane on its own group";
    EXPECT_TRUE(dataValues(kFlapsGroup).empty()) << "the switch wrote the other file's DATA group";

    // Configuration again (back from Run: the first control, Exit, Hide, Show IOM #1, Configuration),
    // the screen's Save / Load (back from its first control: Close, Force Feedback Yoke, Input/Output
    // Module 1, Test Interface XP, Test Gauges, Save / Load), and the other file, the list's last
    // line, loaded (from the list: the file box, Load).
    xplane_.clearReceived();
    activate(managedWindow(kRunWindow));
    ASSERT_NE(windowWithKeyboard(kRunWindow), 0u);
    type(tabs(5, true) + " ");
    ASSERT_NE(windowWithKeyboard(kScreen), 0u) << "Configuration did not open the configuration screen";
    type(tabs(6, true) + " ");
    ASSERT_NE(windowWithKeyboard(kLoadSaveWindow), 0u) << "the Load/Save window did not open";
    type("{END}" + tabs(2) + " ");
    ASSERT_TRUE(answer("the load of the other file", "y"));
    ASSERT_TRUE(answer("the load with an edit not saved", "y"));
    // The screen's Close (a load leaves the edit's mark) prepares the run on the other file; Run,
    // and the switch off. The run goes to the other file's X-Plane, which the program hears on the
    // other file's local port: its airspeed (80 kt, 333 steps) moves the needle.
    ASSERT_NE(windowWithKeyboard(kScreen), 0u);
    type("{ESC}");
    ASSERT_TRUE(answer("Close after the load", "y"));
    ASSERT_NE(windowWithKeyboard(kRunWindow), 0u) << "Close did not go back to the run window";
    type("{TAB} ");
    const auto flaps = [&] {
        return std::ranges::any_of(otherXplane_.received(), [](const QByteArray& d) {
            return d.startsWith("DATA0") && qFromLittleEndian<quint32>(d.constData() + 5) == kFlapsGroup;
        });
    };
    SetModuleSwitches(module_, {});
    EXPECT_TRUE(waitUntil(flaps, 3000)) << "the switch did not reach the other file's X-Plane";
    const std::size_t mark = frames_.size();
    otherXplane_.sendData({record(kSpeedsGroup, 0, 80)}, false, otherPort_);
    EXPECT_TRUE(needleAt(kAirspeedGauge, 333, mark)) << "the other file's local port is not heard";
    EXPECT_FALSE(xplaneReceived([](const QByteArray& d) { return d.startsWith("DSEL0"); }))
        << "the start file's X-Plane was asked for data after the load";
    EXPECT_TRUE(endsCleanly(otherXplane_));
}

class CutStartFileTest : public ConfigurationWindowsTest {
protected:
    void filesWritten() override
    {
        QFile file(QStringLiteral("Default.cfg"));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.resize(file.size() / 2));
        cut_ = file.readAll();
    }

    // A termination request, which the program handles as the Exit of the start window (under the
    // screen): as endsCleanly but for X-Plane's data, which no run asked for and no address names.
    ::testing::AssertionResult endsFromTheStartWindow()
    {
        ::kill(pid_t(program_.processId()), SIGTERM);
        if (!waitUntil([&] { return program_.state() == QProcess::NotRunning; }, 10000))
            return ::testing::AssertionFailure() << "the program goes on";
        if (program_.exitStatus() != QProcess::NormalExit || program_.exitCode() != 0)
            return ::testing::AssertionFailure() << "the program ended with " << program_.exitCode();
        return ::testing::AssertionSuccess();
    }

    QByteArray cut_;
};

TEST_F(CutStartFileTest, TheFileThatDoesNotLoadIsNotProposedAndSaveLeavesItAsItIs)
{
    if (!x_ || !managed_)
        GTEST_SKIP() << "no X display with a window manager (openbox) for the program's windows";
    // The reader's box as the start window comes, and no other: no countdown starts for a file
    // that failed already, whose autostart (a second after the countdown's start) would fail again.
    ASSERT_TRUE(answer("the start with the file cut short", "{ENTER}", 10000));
    EXPECT_EQ(boxInFront(4000), 0u) << "a second box for the same failure";

    // Configure on the start window (its list has the keyboard), Save / Load Configuration on the
    // screen, Save in the Load/Save window, whose file box must be empty.
    ASSERT_NE(windowWithKeyboard(kStartWindow), 0u) << "the start window does not come back";
    type(tabs(3) + " ");  // the file box, Continue, Configure
    ASSERT_NE(windowWithKeyboard(kScreen), 0u) << "Configure did not open the configuration screen";
    // Back from the first control of the screen of an empty configuration, whose units' buttons
    // are disabled: Close, Force Feedback Yoke, Test Interface XP, Test Gauges, Save / Load.
    type(tabs(5, true) + " ");
    ASSERT_NE(windowWithKeyboard(kLoadSaveWindow), 0u) << "the Load/Save window did not open";
    type(tabs(3) + " ");  // from its list: the file box, Load, Save
    ASSERT_TRUE(answer("Save with no file named", "{ENTER}"));

    QFile file(QStringLiteral("Default.cfg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray now = file.readAll();
    EXPECT_TRUE(now == cut_) << "Save wrote over the file that did not load: " << now.size() << " bytes, cut to "
                             << cut_.size();
    EXPECT_TRUE(endsFromTheStartWindow());
}

constexpr int kIAS = 2;
constexpr int kRPM = 52;

class FunctionWindowsAcrossALoadTest : public ConfigurationWindowsTest {
protected:
    void configure() override
    {
        // other.cfg: the same cockpit with function 2 and the description of 52 its own.
        ConfigTables other = Cfg;
        std::tie(other.FunctionNames[kIAS], other.FunctionMinimum[kIAS], other.FunctionMaximum[kIAS]) =
            std::tuple("IASB", 100.0f, 999.0f);
        other.FunctionFullName[kRPM] = "Other RPM";
        otherWritten_ = SerializeConfig(other);
        std::string error;
        ASSERT_TRUE(writeFileSafely("other.cfg", otherWritten_, &error)) << error;
    }
    void filesWritten() override { startWindowStays(); }

    std::string otherWritten_;
};

TEST_F(FunctionWindowsAcrossALoadTest, WhatTheyStoredIsAskedAboutAndTheyCloseSoThatTheLoadedFunctionIsSavedWhole)
{
    if (!x_ || !managed_)
        GTEST_SKIP() << "no X display with a window manager (openbox) for the program's windows";
    ASSERT_NE(windowWithKeyboard(kStartWindow, kBoundMs), 0u) << "the start window does not come";
    const Window start = managedWindow(kStartWindow);
    type(tabs(3) + " ");  // from its list: the file box, Continue, Configure
    const Window screen = windowWithKeyboard(kScreen);
    ASSERT_NE(screen, 0u) << "Configure did not open the configuration screen";

    // The function list, back from the screen's first control: Close, Force Feedback Yoke, Test
    // Interface XP, Test Gauges, Save / Load, Clear, Create Functions, List available functions.
    // Function 52 typed in its list; from there the filters' boxes and buttons, Nr, Name, the
    // description, and Update.
    type(tabs(8, true) + " ");
    ASSERT_NE(windowWithKeyboard(kFunctionList), 0u) << "the function list did not open";
    type("052" + tabs(10) + "^aFront panel RPM" + tabs(1) + " ");

    // In the start window's list (back from its Configure: Continue, the file box, the list), the
    // other file: the function list asks first, and No keeps its description.
    activate(start);
    ASSERT_NE(windowWithKeyboard(kStartWindow), 0u) << "the start window does not take the keyboard";
    type(tabs(3, true) + "o");
    ASSERT_TRUE(answer("the other file with a description updated", "n"));

    // The list's Close (Escape), which asks about its Update; Yes closes it. The description is
    // still the configuration's and not saved: the other file, chosen again, asks about it first,
    // and No keeps it. Chosen with End (the list's last line): an "o" typed within the list's
    // search interval of the one before searches on, for "oo", and chooses nothing.
    const Window list = managedWindow(kFunctionList);
    ASSERT_NE(list, 0u) << "No closed the function list";
    activate(list);
    ASSERT_NE(windowWithKeyboard(kFunctionList), 0u) << "the function list does not take the keyboard";
    type("{ESC}");
    ASSERT_TRUE(answer("the function list's Close with a description updated", "y"));
    EXPECT_EQ(managedWindow(kFunctionList), 0u) << "Yes did not close the function list";
    activate(start);
    ASSERT_NE(windowWithKeyboard(kStartWindow), 0u);
    type("{END}");
    ASSERT_TRUE(answer("the other file with the function list closed", "n"));

    // Saved (from List available functions: Create, Clear, Save / Load).
    ASSERT_TRUE(savedFromTheScreen(screen, tabs(3)));
    EXPECT_EQ(saved("Default.cfg").FunctionFullName[kRPM], "Front panel RPM") << "No did not keep the description";
    type("{ESC}");

    // The function editor (back from Save / Load: Clear, Create), function 2 in its list, and the
    // T of its first index (from the list: the search and Next, Nr, Short name, category, signal
    // type, description, index, V, T). In the test window, back from its first control to the
    // function's minimum: Close, the eight boxes and buttons of the write frame, the maximum's
    // button, box, copy and raw box, the minimum's button, and its box; then its button.
    ASSERT_NE(windowWithKeyboard(kScreen), 0u);
    type(tabs(2, true) + " ");
    ASSERT_NE(windowWithKeyboard(kFunctionEditor), 0u) << "the function editor did not open";
    type("{DOWN}{DOWN}" + tabs(10) + " ");
    ASSERT_NE(windowWithKeyboard(kFunctionTest), 0u) << "T did not open the function test window";
    type(tabs(15, true) + "10" + tabs(1) + " ");
    ASSERT_NE(windowWithKeyboard(kFunctionTest), 0u) << "the limit's button did not leave the test window as it was";

    // The other file again: the test window's stored limit is asked about, and then every window
    // that held this file's functions closes.
    activate(start);
    ASSERT_NE(windowWithKeyboard(kStartWindow), 0u);
    type("{END}");
    ASSERT_TRUE(answer("the other file with a limit stored", "y"));
    for (const char* title : {kFunctionTest, kFunctionEditor, kFunctionList})
        EXPECT_EQ(managedWindow(title), 0u) << title << " still holds the file replaced";

    // Saved again (from Create Functions: Clear, Save / Load): the loaded file's function 2 whole,
    // and its own description.
    ASSERT_TRUE(savedFromTheScreen(screen, tabs(2)));
    QFile rewritten(QStringLiteral("other.cfg"));
    ASSERT_TRUE(rewritten.open(QIODevice::ReadOnly));
    EXPECT_NE(rewritten.readAll().toStdString(), otherWritten_) << "the save did not go to other.cfg: it was not loaded";
    const ConfigTables other = saved("other.cfg");
    EXPECT_EQ(std::tuple(other.FunctionNames[kIAS], other.FunctionMinimum[kIAS], other.FunctionMaximum[kIAS],
                         other.FunctionFullName[kRPM]),
              std::tuple("IASB", 100.0f, 999.0f, "Other RPM"));

    // X-Plane's port typed on the screen and "set", then the screen's Close, which does not ask
    // about what the screen stored. From Save / Load: Test Gauges, Test Interface XP, Force
    // Feedback Yoke, Close, and from the screen's first control the four devices' port number,
    // box and "<--", Remote IP, Port; then Local Port, the byte order, No USEL, set.
    type("{ESC}");  // the Load/Save window
    ASSERT_NE(windowWithKeyboard(kScreen), 0u) << "the Load/Save window did not close";
    type(tabs(18) + "49100" + tabs(4) + " ");
    type("{ESC}");
    ASSERT_NE(windowWithKeyboard(kStartWindow), 0u) << "the screen's Close did not go back to the start window";

    // Continue (from the list: the file box, Continue) reads the file again: what the screen
    // stored is asked about first. No keeps it, and no run is prepared.
    type(tabs(2) + " ");
    ASSERT_TRUE(answer("Continue with a port set and not saved", "n"));
    ASSERT_NE(windowWithKeyboard(kStartWindow), 0u) << "No did not keep the start window";
    EXPECT_EQ(managedWindow(kRunWindow), 0u) << "No prepared a run";

    // Continue again asks again; Yes prepares the run from the file, on X-Plane's port there.
    xplane_.clearReceived();
    type(" ");
    ASSERT_TRUE(answer("Continue again with the port set", "y"));
    ASSERT_NE(windowWithKeyboard(kRunWindow), 0u) << "Continue did not prepare a run";
    type("{TAB} ");  // Run, from the run window's first control
    EXPECT_TRUE(waitUntil([&] { return xplaneReceived([](const QByteArray& d) { return isSelect(d, kSpeedsGroup); }); },
                          3000))
        << "the run does not reach X-Plane on the file's port";
    EXPECT_TRUE(endsCleanly());
}

constexpr int kImportedGauge = 5;
constexpr int kImportedFunction = 60;
constexpr int kYokeCom = 6;
constexpr int kSecondModuleCom = 5;

class TwoImportsTest : public ConfigurationWindowsTest {
protected:
    void configure() override
    {
        // The start file's cockpit has a yoke, the second stand-alone module and plates (the
        // example's), which the files of earlier versions below know nothing of.
        Cfg.ComPortYoke1() = kYokeCom;
        Cfg.ComPortIOM2 = kSecondModuleCom;
        ASSERT_GT(Cfg.PlateCount, 0);
        // c.cfg: one I/O entry and one gauge more than the start file's configuration.
        c_ = Cfg;
        const int e = c_.AddIOEntry();
        std::tie(c_.IOEntryGaugeID[e], c_.IOEntryKind[e], c_.IOEntryFunction[e]) =
            std::tuple(kStandAloneIOM1, IOEntrySwitch, kImportedFunction);
        c_.GaugeRecType[kImportedGauge] = Cfg.GaugeRecType[kAirspeedGauge];
        std::string error;
        ASSERT_TRUE(writeFileSafely("c.cfg", SerializeConfig(c_), &error)) << error;
        // The same cockpit as an earlier version wrote it, ending after the plates (Old.cfg), or
        // after the engine cluster's settings, without plates (NoPlates.cfg).
        const std::string whole = SerializeConfig(Cfg);
        for (const auto& [name, endsBefore] :
             {std::pair("Old.cfg", "\"General FFB Yoke\""), std::pair("NoPlates.cfg", "\"Plates\"")}) {
            const std::size_t end = whole.find(endsBefore);
            ASSERT_NE(end, std::string::npos) << endsBefore;
            ASSERT_TRUE(writeFileSafely(name, whole.substr(0, end) + "\"end\"\r\n", &error)) << error;
        }
    }
    void filesWritten() override { startWindowStays(); }

    // Whether the program wrote the file `name` whole, yoke settings included.
    static bool writtenWhole(const char* name)
    {
        QFile file(QString::fromLatin1(name));
        return file.open(QIODevice::ReadOnly) && file.readAll().contains("\"General FFB Yoke\"");
    }

    ConfigTables c_;
};

TEST_F(TwoImportsTest, EachTakesItsSectionsFromTheFileClickedInTheList)
{
    if (!x_ || !managed_)
        GTEST_SKIP() << "no X display with a window manager (openbox) for the program's windows";
    ASSERT_NE(windowWithKeyboard(kStartWindow, kBoundMs), 0u) << "the start window does not come";
    type(tabs(3) + " ");
    const Window screen = windowWithKeyboard(kScreen);
    ASSERT_NE(screen, 0u) << "Configure did not open the configuration screen";
    // Close, Force Feedback Yoke, Input/Output Module 2, Test Interface XP, Test Gauges, Save / Load.
    type(tabs(6, true) + " ");
    ASSERT_NE(windowWithKeyboard(kLoadSaveWindow), 0u) << "the Load/Save window did not open";

    // c.cfg, the list's last line; from there the name, Load, Save, Delete, Set as Autostart and
    // the boxes up to the I/O modules' (ticked), then the rest of them and Import.
    type("{END}" + tabs(7) + " " + tabs(7) + " ");
    ASSERT_TRUE(answer("the import of the I/O entries", "y"));
    // c.cfg again, back from Import to the list, where no line stands chosen any more; its box
    // unticked, Configured Gauges ticked.
    type(tabs(14, true) + "{END}" + tabs(7) + " " + tabs(4) + " " + tabs(3) + " ");
    ASSERT_TRUE(answer("the import of the gauges", "y"));
    ASSERT_TRUE(answer("the first import not saved", "y"));
    // Save, back from Import: the eight boxes, Set as Autostart, Delete, Save. It writes the
    // configuration in memory, the start file's, not c.cfg.
    type(tabs(11, true) + " ");
    ASSERT_TRUE(answer("File saved as", "{ENTER}"));
    const ConfigTables saves = saved("Default.cfg");
    EXPECT_TRUE(saves.IOEntryFunction == c_.IOEntryFunction) << "the entries came from another file";
    EXPECT_TRUE(saves.GaugeRecType == c_.GaugeRecType) << "the second import took its gauges from another file";

    // Old.cfg, typed in the list (back from Save: Load, the file box), Load, Yes. Saved from the
    // screen, it has its own plates, and the sections it lacked start empty: no yoke's or second
    // module's port of the configuration it replaced.
    type(tabs(3, true) + "o" + tabs(2) + " ");
    ASSERT_TRUE(answer("the load of a file of an earlier version", "y"));
    ASSERT_TRUE(savedFromTheScreen(screen, ""));
    ASSERT_TRUE(writtenWhole("Old.cfg")) << "the save did not go to Old.cfg: it was not loaded";
    const ConfigTables old = saved("Old.cfg");
    EXPECT_EQ(std::tuple(int(old.ComPortYoke1()), int(old.ComPortIOM2)), std::tuple(0, 0))
        << "the ports of the configuration replaced stayed";
    EXPECT_EQ(old.PlateName, c_.PlateName) << "not the file's own plates";

    // NoPlates.cfg the same way, from the Load/Save window that saved: no plates stay.
    type(tabs(3, true) + "n" + tabs(2) + " ");
    ASSERT_TRUE(answer("the load of a file without plates", "y"));
    ASSERT_TRUE(savedFromTheScreen(screen, ""));
    ASSERT_TRUE(writtenWhole("NoPlates.cfg")) << "the save did not go to NoPlates.cfg: it was not loaded";
    EXPECT_EQ(saved("NoPlates.cfg").PlateCount, 0) << "the plates of the configuration replaced stayed";
}

constexpr int kMovedModuleCom = 3;
// LED 3 is bit 12 of the module's output word 1.
constexpr int kTestLEDWord = 1 << 12;

class ModuleWindowAcrossLoadsTest : public ConfigurationWindowsTest {
protected:
    void configure() override
    {
        Cfg.ComPortIOM = kModuleCom;
        // The same cockpit with stand-alone module 1 on another port (b.cfg), and without it (c.cfg).
        ConfigTables moved = Cfg;
        moved.ComPortIOM = kMovedModuleCom;
        ConfigTables without = Cfg;
        without.ComPortIOM = 0;
        cWritten_ = SerializeConfig(without);
        std::string error;
        ASSERT_TRUE(writeFileSafely("b.cfg", SerializeConfig(moved), &error)) << error;
        ASSERT_TRUE(writeFileSafely("c.cfg", cWritten_, &error)) << error;
        SetModuleSwitches(module_, {});
        SetModuleSwitches(moved_, {});
    }
    void filesWritten() override { startWindowStays(); }

    // The frames `module` has received once they stop coming for a few of the window's test polls:
    // what the program wrote before it let the port go may still be on its way.
    static qsizetype framesWhenQuiet(const SimControlUnit& module)
    {
        QElapsedTimer waited;
        waited.start();
        qsizetype count = module.frames().size();
        for (int quiet = 0; quiet < 3 && !waited.hasExpired(3000);) {
            waitMs(100);
            quiet = module.frames().size() == count ? quiet + 1 : 0;
            count = module.frames().size();
        }
        return count;
    }

    ::testing::AssertionResult testReached(const SimControlUnit& module)
    {
        if (waitUntil([&] { return ModulePolls(module) > 0 && module.ioModuleWord(kModuleAddress, 1) == kTestLEDWord; },
                      3000))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << ModulePolls(module) << " polls, output word 1 "
                                             << module.ioModuleWord(kModuleAddress, 1).value_or(-1);
    }

    std::string cWritten_;
    SimControlUnit module_{kModuleCom};
    SimControlUnit moved_{kMovedModuleCom};
};

TEST_F(ModuleWindowAcrossLoadsTest, TheModulesWindowClosesWithTheFileItWorkedOnAndTestsTheModuleWhereTheLoadedFilePutsIt)
{
    if (!x_ || !managed_)
        GTEST_SKIP() << "no X display with a window manager (openbox) for the program's windows";
    ASSERT_TRUE(module_.ready() && moved_.ready());
    ASSERT_NE(windowWithKeyboard(kStartWindow, kBoundMs), 0u) << "the start window does not come";
    const Window start = managedWindow(kStartWindow);
    type(tabs(3) + " ");  // from its list: the file box, Continue, Configure
    const Window screen = windowWithKeyboard(kScreen);
    ASSERT_NE(screen, 0u) << "Configure did not open the configuration screen";

    // Input/Output Module 1, back from the screen's first control: Close, Force Feedback Yoke, and
    // its button. In its window, back from the first control: Close, Save / Load, Darken, Light,
    // the LED's box, Start test; then LED 3 lit.
    type(tabs(3, true) + " ");
    ASSERT_NE(windowWithKeyboard(kIOModuleWindow), 0u) << "the I/O-module window did not open";
    type(tabs(6, true) + " " + tabs(1) + "3" + tabs(1) + " ");
    ASSERT_TRUE(testReached(module_)) << "the test did not reach the module on COM" << kModuleCom;
    EXPECT_TRUE(moved_.frames().empty());

    // b.cfg in the start window's list (back from its Configure: Continue, the file box, the
    // list), which puts the module on another port: nothing to ask, and the window closes with
    // the configuration it worked on, its test too. The module's old port hears nothing more.
    activate(start);
    ASSERT_NE(windowWithKeyboard(kStartWindow), 0u) << "the start window does not take the keyboard";
    type(tabs(3, true) + "b");
    ASSERT_EQ(boxInFront(0), 0u) << "a question with nothing typed or stored";
    ASSERT_TRUE(keptOnceSettled([&] { return managedWindow(kIOModuleWindow) == 0; }, kBoundMs))
        << "the I/O-module window stays on the module of the configuration replaced";
    const qsizetype oldPortFrames = framesWhenQuiet(module_);

    // The module's window again (the screen's keyboard is still on its button), an On value typed
    // into switch 0's entry and not stored (from the first control: the list, the debounce time
    // and its set, category, function, its filter, selector, the switch's mode, On), and the test
    // as before (back to the first control, then to Start test): it reaches the module on its new
    // port.
    activate(screen);
    ASSERT_NE(windowWithKeyboard(kScreen), 0u);
    type(" ");
    ASSERT_NE(windowWithKeyboard(kIOModuleWindow), 0u) << "the I/O-module window did not open again";
    type(tabs(9) + "50" + tabs(15, true) + " " + tabs(1) + "3" + tabs(1) + " ");
    EXPECT_TRUE(testReached(moved_)) << "the test did not reach the module on COM" << kMovedModuleCom;
    EXPECT_EQ(framesWhenQuiet(module_), oldPortFrames) << "the module's old port was written after the load";

    // The Load/Save window (back from the module's button: Test Interface XP, Test Gauges, Save /
    // Load), then c.cfg, the start window's last line, which has no module 1: the typed value is
    // asked about, and Yes closes the window without storing it. Saved, c.cfg has no entry of
    // the module, and the module's port hears nothing more.
    activate(screen);
    ASSERT_NE(windowWithKeyboard(kScreen), 0u);
    type(tabs(3, true) + " ");
    const Window loadSave = windowWithKeyboard(kLoadSaveWindow);
    ASSERT_NE(loadSave, 0u) << "the Load/Save window did not open";
    activate(start);
    ASSERT_NE(windowWithKeyboard(kStartWindow), 0u);
    type("{END}");
    ASSERT_TRUE(answer("c.cfg with a value typed in the I/O-module window", "y"));
    ASSERT_TRUE(keptOnceSettled([&] { return managedWindow(kIOModuleWindow) == 0; }, kBoundMs))
        << "the I/O-module window stays on a module the loaded configuration does not have";
    const qsizetype movedPortFrames = framesWhenQuiet(moved_);
    activate(loadSave);
    ASSERT_NE(windowWithKeyboard(kLoadSaveWindow), 0u);
    type(tabs(3) + " ");  // from its list: the file box, Load, Save
    ASSERT_TRUE(answer("File saved as", "{ENTER}"));
    QFile rewritten(QStringLiteral("c.cfg"));
    ASSERT_TRUE(rewritten.open(QIODevice::ReadOnly));
    ASSERT_NE(rewritten.readAll().toStdString(), cWritten_) << "the save did not go to c.cfg: it was not loaded";
    EXPECT_EQ(std::ranges::count(saved("c.cfg").IOEntryGaugeID, Integer(kStandAloneIOM1)), 0)
        << "an entry of the module was stored into the loaded configuration";
    EXPECT_EQ(framesWhenQuiet(moved_), movedPortFrames) << "the module's port was written after the load";
}

} // namespace
} // namespace varnet
