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
// before a load from the start window's list, and No keeps it; the function editor and its test
// window, which has stored a limit, are asked about and then close with the load, so that the
// loaded file's function is saved whole. Two imports in a row in the Load/Save window each take
// their sections from the file clicked in its list.

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
    type("o");
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
}

constexpr int kImportedGauge = 5;
constexpr int kImportedFunction = 60;

class TwoImportsTest : public ConfigurationWindowsTest {
protected:
    void configure() override
    {
        // c.cfg: one I/O entry and one gauge more than the start file's configuration.
        c_ = Cfg;
        const int e = c_.AddIOEntry();
        std::tie(c_.IOEntryGaugeID[e], c_.IOEntryKind[e], c_.IOEntryFunction[e]) =
            std::tuple(kStandAloneIOM1, IOEntrySwitch, kImportedFunction);
        c_.GaugeRecType[kImportedGauge] = Cfg.GaugeRecType[kAirspeedGauge];
        std::string error;
        ASSERT_TRUE(writeFileSafely("c.cfg", SerializeConfig(c_), &error)) << error;
    }
    void filesWritten() override { startWindowStays(); }

    ConfigTables c_;
};

TEST_F(TwoImportsTest, EachTakesItsSectionsFromTheFileClickedInTheList)
{
    if (!x_ || !managed_)
        GTEST_SKIP() << "no X display with a window manager (openbox) for the program's windows";
    ASSERT_NE(windowWithKeyboard(kStartWindow, kBoundMs), 0u) << "the start window does not come";
    type(tabs(3) + " ");
    ASSERT_NE(windowWithKeyboard(kScreen), 0u) << "Configure did not open the configuration screen";
    type(tabs(5, true) + " ");  // Close, Force Feedback Yoke, Test Interface XP, Test Gauges, Save / Load
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
}

} // namespace
} // namespace varnet
