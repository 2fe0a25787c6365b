// The windows and the configuration in memory: after a load no window shows or writes values of
// the configuration it replaced, and nothing typed or stored in a window and not saved goes
// without the question that window's own Close asks, naming the window.

#include "app/configwindows.h"
#include "app/shell.h"
#include "bus/gaugeframes.h"
#include "bus/runwindow.h"
#include "configscreen_fixture.h"
#include "iomodules/iomodulelink.h"
#include "platform/wait.h"
#include "simcontrolunit/simcontrolunit.h"
#include "simlink/functiontest.h"
#include "simlink/packets.h"
#include "support/fake_udp_socket.h"

#include <QTest>

namespace varnet {
namespace {

using namespace varnet::testing;

constexpr int kIAS = 2;

class ConfigurationWindowsTest : public ConfigScreenTest {
protected:
    void TearDown() override
    {
        unloadAll<frmTestFunction, frmStatus>();
        ConfigScreenTest::TearDown();
    }

    // A file whose function 2 is `name` with the limits given.
    static void writeFile(const char* file, const char* name, Single minimum, Single maximum)
    {
        ConfigTables t;
        LoadConstantTables(t);
        t.ConfigHeader = programHeader();
        std::tie(t.RemoteIP, t.RemotePort, t.LocalPort) = std::tuple("127.0.0.1", "49000", "49001");
        std::tie(t.FunctionNames[kIAS], t.FunctionMultiply[kIAS], t.FunctionDivide[kIAS]) = std::tuple(name, 1, 1);
        std::tie(t.FunctionMinimum[kIAS], t.FunctionMaximum[kIAS]) = std::tuple(minimum, maximum);
        writeBytes(file, SerializeConfig(t));
    }

    // The configuration screen from the start window, on a.cfg.
    frmMain& startWindowOnA()
    {
        writeFile("a.cfg", "IAS", 0, 500);
        writeFile("b.cfg", "IASB", 100, 999);
        Session.ConfigFileName = "a.cfg";
        ReadConfigFile();
        frmMain& start = DefaultForm<frmMain>::get();
        start.show();
        click(start, "CmdConfigure");
        return start;
    }

    // The function list with function 2's description updated, and not saved.
    static frmListFunctions& descriptionUpdated(const QString& description)
    {
        frmListFunctions& list = DefaultForm<frmListFunctions>::get();
        list.show();
        auto* lines = child<QListWidget>(list, "Configlist");
        const auto found = lines->findItems(QStringLiteral("002"), Qt::MatchStartsWith);
        EXPECT_EQ(found.size(), 1);
        lines->setCurrentItem(found.value(0));
        child<QPlainTextEdit>(list, "FullName")->setPlainText(description);
        click(list, "CmdSave");
        return list;
    }

    // The function test window on function 2, with its minimum stored.
    static frmTestFunction& minimumStored(const QString& minimum)
    {
        frmTestFunction& test = DefaultForm<frmTestFunction>::get();
        test.show();
        test.StartScan(kIAS, 1);
        child<QLineEdit>(test, "boxFuncMinimum")->setText(minimum);
        click(test, "CmdSetMinimum");
        return test;
    }

    // The UDP test window with the byte order switched to Reverse.
    static frmTestXplaneInterface& byteOrderReversed()
    {
        frmTestXplaneInterface::ShowWindow();
        frmTestXplaneInterface& udp = DefaultForm<frmTestXplaneInterface>::get();
        child<QRadioButton>(udp, "OptionByteOrderReverse")->setChecked(true);
        return udp;
    }

    static void chooseInTheList(frmMain& start, const QString& file)
    {
        auto* list = child<QListWidget>(start, "FileBox");
        list->clearSelection();
        list->setCurrentItem(list->findItems(file, Qt::MatchExactly).value(0));
    }

    static std::vector<std::string> recordWindowsLoaded()
    {
        std::vector<std::string> titles;
        for (const QPointer<Form>& form : Form::loadedForms())
            if (form && form->configurationHeld() == ConfigurationHeld::Record)
                titles.push_back(form->windowTitle().toStdString());
        return titles;
    }

    // The function test's port opens the simulator link: on no real socket.
    FakeUdpSockets sockets_;
    ScriptedMessages boxes_;
};

// The function test window open across a load used to stay on the old function and write its
// limits into the new one; and the function list's updated description went without a question.
TEST_F(ConfigurationWindowsTest, AfterALoadNoWindowHoldsTheOldConfigurationAndWhatEachWouldLoseIsAskedByName)
{
    frmMain& start = startWindowOnA();
    FrmMainConfigure& screen = DefaultForm<FrmMainConfigure>::get();
    screen.Form_Activate();
    child<QLineEdit>(screen, "boxRemotePort")->setText("49100");
    click(screen, "cmdSetUDP");
    frmListFunctions& list = descriptionUpdated("indicated");
    frmTestFunction& test = minimumStored("10");
    frmTestXplaneInterface& udp = byteOrderReversed();
    OpenGaugeDialog(1);
    ASSERT_EQ(std::tuple(Cfg.FunctionFullName[kIAS], Cfg.FunctionMinimum[kIAS], Cfg.ByteOrderReverse, Cfg.RemotePort),
              std::tuple("indicated", 10.0f, 1, "49100"));
    const std::vector<std::string> open = recordWindowsLoaded();
    ASSERT_EQ(open.size(), 4u);
    const QString startBox = child<QLineEdit>(start, "FileName")->text();

    // After the configuration's own question (opening a gauge dialog counts as an edit), each
    // window that would lose something asks, in the order they were opened; No keeps it all.
    boxes_.expectYesNoDefaultNo(kUnsavedQuestion, true);
    boxes_.expectYesNoDefaultNo(NamedQuestion(screen, kUpdatesNotSavedYet), true);
    boxes_.expectYesNoDefaultNo(NamedQuestion(list, kUpdatesNotSavedYet), true);
    boxes_.expectYesNoDefaultNo(NamedQuestion(test, kUpdatesNotSavedYet), false);
    chooseInTheList(start, "b.cfg");
    EXPECT_EQ(std::tuple(Session.ConfigFileName, Cfg.FunctionMinimum[kIAS], Cfg.FunctionFullName[kIAS]),
              std::tuple("a.cfg", 10.0f, "indicated"));
    EXPECT_EQ(recordWindowsLoaded(), open);
    EXPECT_EQ(child<QLineEdit>(start, "FileName")->text(), startBox) << "the box names a file not loaded";

    boxes_.expectYesNoDefaultNo(kUnsavedQuestion, true);
    for (const Form* asking : std::initializer_list<const Form*>{&screen, &list, &test, &udp})
        boxes_.expectYesNoDefaultNo(NamedQuestion(*asking, kUpdatesNotSavedYet), true);
    chooseInTheList(start, "b.cfg");
    ASSERT_EQ(Session.ConfigFileName, "b.cfg");
    EXPECT_EQ(recordWindowsLoaded(), std::vector<std::string>{}) << "a window still holds a.cfg's values";
    EXPECT_EQ(std::tuple(child<QLineEdit>(start, "FileName")->text(), child<QLineEdit>(screen, "CurrentConfigFile")->text(),
                         DefaultForm<frmStatus>::get().BoxCurrentConfig->text(),
                         child<QLineEdit>(screen, "boxRemotePort")->text()),
              std::tuple("b.cfg", "b.cfg", "b.cfg", "49000"));

    // A save writes b.cfg's function whole, with nothing of a.cfg's in it.
    click(screen, "CmdSaveConfig");
    boxes_.expectOk("File saved as: b.cfg");
    click(DefaultForm<SaveConfig>::get(), "CmdSave");
    Cfg = ConfigTables{};
    ReadConfigFile();
    EXPECT_EQ(std::tuple(Cfg.FunctionNames[kIAS], Cfg.FunctionMinimum[kIAS], Cfg.FunctionMaximum[kIAS],
                         Cfg.FunctionFullName[kIAS], Cfg.ByteOrderReverse),
              std::tuple("IASB", 100.0f, 999.0f, "", 0));
}

// The screen's Close closes the windows opened from it without asking about what they stored:
// the values are the configuration's, and stay in the tables for the run. A load asks about each
// by the name of the window that stored it, gone or not, until a save.
TEST_F(ConfigurationWindowsTest, WhatWindowsStoredOutlivesThemAndIsAskedAboutByALoadUntilASave)
{
    frmMain& start = startWindowOnA();
    FrmMainConfigure& screen = DefaultForm<FrmMainConfigure>::get();
    descriptionUpdated("indicated");
    minimumStored("10");
    child<QLineEdit>(screen, "boxRemotePort")->setText("49100");
    click(screen, "cmdSetUDP");
    // The run window's slider stores the process interval into the tables too.
    child<QSlider>(DefaultForm<frmStatus>::get(), "SliderXferTimer")->setValue(70);

    click(screen, "Command1");
    EXPECT_EQ(recordWindowsLoaded(), std::vector<std::string>{});
    EXPECT_TRUE(!DefaultForm<FrmMainConfigure>::loaded() && DefaultForm<frmMain>::loaded() && start.isVisible());
    EXPECT_EQ(std::tuple(Cfg.FunctionFullName[kIAS], Cfg.FunctionMinimum[kIAS], Cfg.RemotePort),
              std::tuple("indicated", 10.0f, "49100"))
        << "closing a window drops nothing it stored";

    // Each in the order stored; No keeps them all, for a load and for a Continue, which reads the
    // file again.
    boxes_.expectYesNoDefaultNo("List available functions:\r\nUpdates are not saved yet; Continue?", true);
    boxes_.expectYesNoDefaultNo("Test Varnet functions:\r\nUpdates are not saved yet; Continue?", true);
    boxes_.expectYesNoDefaultNo("Varnet Configuration:\r\nUpdates are not saved yet; Continue?", false);
    chooseInTheList(start, "b.cfg");
    EXPECT_EQ(std::tuple(Session.ConfigFileName, Cfg.FunctionFullName[kIAS], Cfg.FunctionMinimum[kIAS], Cfg.RemotePort),
              std::tuple("a.cfg", "indicated", 10.0f, "49100"));
    for (const char* window : {"List available functions", "Test Varnet functions", "Varnet Configuration"})
        boxes_.expectYesNoDefaultNo(QString(window) + ":\r\nUpdates are not saved yet; Continue?", true);
    boxes_.expectYesNoDefaultNo("Control Program for X-Plane Simulator:\r\nUpdates are not saved yet; Continue?",
                                false);
    child<QLineEdit>(start, "FileName")->setText("a.cfg");
    click(start, "butOK");
    EXPECT_FALSE(DefaultForm<frmStatus>::get().RunPrepared);
    EXPECT_EQ(std::tuple(Cfg.RemotePort, Cfg.ProcessTimerInterval), std::tuple("49100", 70));

    // Stored again and saved: neither the windows' own Close nor a load asks any more. The gauge
    // test window's Close has no question of its own.
    click(start, "CmdConfigure");
    descriptionUpdated("saved");
    minimumStored("20");
    frmTestGauges::ShowWindow();
    frmTestGauges& gauges = DefaultForm<frmTestGauges>::get();
    gauges.Form_Activate();
    auto* types = child<QComboBox>(gauges, "ComboGaugeType");
    types->setCurrentIndex(types->findText("105: ", Qt::MatchStartsWith));
    boxes_.expectYesNo("You are forcing a gauge into the configuration.\r\n"
                       "There is NO check whether the Gaugetype matches the actual Gauge. \r\n"
                       "This can result in unpredicted behaviour of gauges when incorrect\r\n"
                       "Continue anyway?",
                       true);
    click(gauges, "cmdAddToConfig");
    click(gauges, "cmdClose");
    ASSERT_FALSE(DefaultForm<frmTestGauges>::loaded());
    EXPECT_EQ(Session.StoredNotSaved,
              (std::vector<std::string>{"List available functions", "Test Varnet functions ", "Varnet Configuration",
                                        Session.ProgramTitle, "Test & Diagnostics connected gauges"}));
    click(DefaultForm<FrmMainConfigure>::get(), "CmdSaveConfig");
    boxes_.expectOk("File saved as: a.cfg");
    click(DefaultForm<SaveConfig>::get(), "CmdSave");
    click(DefaultForm<frmListFunctions>::get(), "cmdClose");
    click(DefaultForm<frmTestFunction>::get(), "cmdClose");
    EXPECT_FALSE(DefaultForm<frmListFunctions>::loaded() || DefaultForm<frmTestFunction>::loaded());
    chooseInTheList(start, "b.cfg");
    EXPECT_EQ(std::tuple(Session.ConfigFileName, boxes_.pending()), std::tuple("b.cfg", 0u));
}


// A load leaves nothing bound to a device of the configuration it replaced: the windows that
// worked on one close while it is still in place, so that what they send on closing reaches
// their own devices with their own settings; the device ports then follow the loaded COM
// numbers. a.cfg has its gauge bus on COM1, module 1 on COM3, a DME indicator at GaugeID 4 and
// "No USEL"; b.cfg the bus on COM2, module 1 on COM4 and none of that; none.cfg no port at all.
class DevicesAcrossALoadTest : public ConfigurationWindowsTest {
protected:
    static constexpr int kBusModule = 3;
    static constexpr int kDme = 4;
    static constexpr Integer kAirspeedGroup = 3;

    void SetUp() override
    {
        ConfigurationWindowsTest::SetUp();
        writeDevices("a.cfg", 1, 3, true, 1);
        writeDevices("b.cfg", 2, 4, false, 0);
        writeDevices("none.cfg", 0, 0, false, 0);
        std::string cut = fileBytes("b.cfg");
        cut.resize(cut.size() / 2);
        writeBytes("cut.cfg", cut);
        Session.ConfigFileName = "a.cfg";
        ReadConfigFile();
        InstallShell();
    }

    // A configuration with the gauge bus and module 1 on the COM numbers given (0 = none), X-Plane
    // on this machine at `xplanePort`, and function 2 reading DATA group 3.
    static void writeDevices(const char* name, Integer bus, Integer module, bool dme, Integer noUsel,
                             const char* xplanePort = "49000")
    {
        ConfigTables t = NewConfiguration();
        t.ConfigHeader = programHeader();
        std::tie(t.RemoteIP, t.RemotePort, t.LocalPort) = std::tuple("127.0.0.1", xplanePort, "49001");
        std::tie(t.FunctionNames[kIAS], t.FunctionIndex1[kIAS]) = std::tuple("IAS", kAirspeedGroup);
        std::tie(t.FunctionMultiply[kIAS], t.FunctionDivide[kIAS]) = std::tuple(1, 1);
        std::tie(t.ComPortGauges, t.ComPortIOM, t.BlockUsel) = std::tuple(bus, module, noUsel);
        if (dme)
            std::tie(t.GaugeRecType[kBusModule], t.GaugeRecType[kDme]) = std::tuple(10, 113);
        writeBytes(name, SerializeConfig(t));
    }

    // Module 1's window from the screen, testing the module and with LED 3 lit.
    static ConfigIOM& moduleTested(FrmMainConfigure& screen)
    {
        screen.Form_Activate();
        click(screen, "cmdGotoIOM");
        ConfigIOM& iom = DefaultForm<ConfigIOM>::get();
        click(iom, "cmdTest");
        child<QLineEdit>(iom, "boxTestLED")->setText("3");
        click(iom, "cmdLEDOn");
        return iom;
    }

    static bool heard(const SimControlUnit& unit, const QByteArray& frame, int timeoutMs = 1000)
    {
        return waitUntil([&] { return unit.frames().contains(frame); }, timeoutMs);
    }

    static SerialPort& busPort() { return DefaultForm<frmStatus>::get().MSComm1(); }
    static SerialPort& modulePort() { return standAloneLinks().MSComm1(StandAloneDevice::IOModule1); }
    // The COM numbers on which the gauge bus and module 1 are open, 0 for a port closed.
    static std::tuple<int, int> portsHeld()
    {
        const auto held = [](SerialPort& port) { return port.isOpen() ? port.portNumber() : 0; };
        return std::tuple(held(busPort()), held(modulePort()));
    }

    bool uselSent() const
    {
        return std::ranges::any_of(sockets_.sent(), [](const QByteArray& datagram) { return datagram.startsWith("USEL"); });
    }

    // On a.cfg the function test opens the simulator link to a.cfg's X-Plane ("No USEL") and
    // selects function 2's group there; then b.cfg is loaded. What is sent after the selection is
    // left to the test.
    frmMain& linkOpenedOnAThenBLoaded()
    {
        Session.ConfigFileName = "a.cfg";
        ReadConfigFile();
        frmMain& start = DefaultForm<frmMain>::get();
        start.show();
        click(start, "CmdConfigure");
        DefaultForm<frmTestFunction>::get().StartScan(kIAS, 1);
        EXPECT_EQ(sockets_.sent(), QList{DselPacket(kAirspeedGroup, false)});
        sockets_.clearSent();
        chooseInTheList(start, "b.cfg");
        EXPECT_EQ(Session.ConfigFileName, "b.cfg");
        return start;
    }

    SimControlUnit bus1_{1}, bus2_{2}, module3_{3}, module4_{4};
};

TEST_F(DevicesAcrossALoadTest, NoWindowOrPortStaysOnADeviceOfTheReplacedConfiguration)
{
    ASSERT_TRUE(bus1_.ready() && bus2_.ready() && module3_.ready() && module4_.ready());
    frmMain& start = DefaultForm<frmMain>::get();
    start.show();
    click(start, "CmdConfigure");
    FrmMainConfigure& screen = DefaultForm<FrmMainConfigure>::get();
    moduleTested(screen);
    const QByteArray poll = *GaugeBusFrame(10, 6, 0);
    ASSERT_TRUE(heard(module3_, poll));
    const auto notPoll = [&poll](const QByteArray& frame) { return frame != poll; };
    ASSERT_TRUE(waitUntil([&] { return std::ranges::any_of(module3_.frames(), notPoll); }, 1000)) << "LED 3";
    const QByteArray led3 = *std::ranges::find_if(module3_.frames(), notPoll);
    screen.Form_Activate();
    clickLine(screen, "Configlist", 1);
    ASSERT_EQ(GaugeDialog::OpenDialogs().size(), 1u) << "the DME indicator's dialog";
    frmTestXplaneInterface::ShowWindow();
    click(DefaultForm<frmTestXplaneInterface>::get(), "cmdStartUDP");

    // A file that does not load closes nothing and moves no port.
    boxes_.expectYesNoDefaultNo(kUnsavedQuestion, true);
    boxes_.expectOk(ConfigErrorText("cut.cfg", "Input past end of file"));
    chooseInTheList(start, "cut.cfg");
    EXPECT_TRUE(DefaultForm<ConfigIOM>::loaded() && DefaultForm<ConfigIOM>::get().TestTimer().isActive() &&
                GaugeDialog::OpenDialogs().size() == 1 && DefaultForm<frmTestXplaneInterface>::loaded());
    EXPECT_EQ(std::tuple(busPort().portNumber(), modulePort().portNumber()), std::tuple(1, 3));

    bus1_.clear();
    boxes_.expectYesNoDefaultNo(kUnsavedQuestion, true);
    chooseInTheList(start, "b.cfg");
    ASSERT_EQ(Session.ConfigFileName, "b.cfg");
    EXPECT_FALSE(DefaultForm<ConfigIOM>::loaded() || !GaugeDialog::OpenDialogs().isEmpty() ||
                 DefaultForm<frmTestXplaneInterface>::loaded());
    EXPECT_TRUE(heard(bus1_, *GaugeBusFrame(kDme, 10, 0))) << "the DME indicator was left in its test";
    EXPECT_FALSE(uselSent()) << "the UDP test stopped X-Plane's data though a.cfg says No USEL";
    EXPECT_TRUE(bus2_.frames().isEmpty()) << "a.cfg's frames went to b.cfg's bus";
    EXPECT_TRUE(busPort().isOpen() && modulePort().isOpen());
    EXPECT_EQ(std::tuple(busPort().portNumber(), modulePort().portNumber()), std::tuple(2, 4));

    // Module 1's window again: its test and its LED reach b.cfg's module 1 only.
    module3_.clear();
    moduleTested(screen);
    EXPECT_TRUE(heard(module4_, poll) && heard(module4_, led3));
    EXPECT_TRUE(module3_.frames().isEmpty());
    click(DefaultForm<ConfigIOM>::get(), "cmdClose");

    boxes_.expectYesNoDefaultNo(kUnsavedQuestion, true);
    chooseInTheList(start, "none.cfg");
    ASSERT_EQ(Session.ConfigFileName, "none.cfg");
    EXPECT_FALSE(busPort().isOpen() || modulePort().isOpen());

    // The bus I/O module of a.cfg, with switch 0's entry typed: b.cfg has no GaugeID 3, and its
    // window closes with a.cfg, storing nothing into b.cfg.
    boxes_.expectYesNoDefaultNo(kUnsavedQuestion, true);
    chooseInTheList(start, "a.cfg");
    screen.Form_Activate();
    clickLine(screen, "Configlist", 0);
    ASSERT_TRUE(DefaultForm<ConfigIOM>::loaded());
    ConfigIOM& busModule = DefaultForm<ConfigIOM>::get();
    ASSERT_EQ(busModule.GaugeID, kBusModule);
    child<QComboBox>(busModule, "ComboClass")->setCurrentIndex(1);
    child<QComboBox>(busModule, "ComboFunction")->setCurrentIndex(1);
    boxes_.expectYesNoDefaultNo(kUnsavedQuestion, true);
    boxes_.expectYesNoDefaultNo(NamedQuestion(busModule, kUpdatesNotSavedYet), true);
    chooseInTheList(start, "b.cfg");
    ASSERT_EQ(Session.ConfigFileName, "b.cfg");
    EXPECT_FALSE(DefaultForm<ConfigIOM>::loaded());
    EXPECT_EQ(std::ranges::count(Cfg.IOEntryGaugeID, Integer(kBusModule)), 0);
}

// Devices that trade COM numbers at a load, or one that takes the number another gives up: every
// port that moves lets go of its number before any is opened again, so that each device is on its
// new port, and no box claims that a free port does not exist. An import of the general settings
// moves them alike.
TEST_F(DevicesAcrossALoadTest, DevicesThatTradeCOMNumbersOrTakeOneGivenUpAreEachOnTheirNewPortWithoutABox)
{
    ASSERT_TRUE(bus1_.ready() && module3_.ready());
    writeDevices("traded.cfg", 3, 1, false, 1);
    writeDevices("taken.cfg", 0, 1, false, 1);
    frmMain& start = DefaultForm<frmMain>::get();
    start.show();
    click(start, "CmdConfigure");
    moduleTested(DefaultForm<FrmMainConfigure>::get());
    ASSERT_EQ(portsHeld(), std::tuple(1, 3));

    // The questions are the only boxes scripted: a port's box fails the test.
    chooseInTheList(start, "traded.cfg");
    ASSERT_EQ(Session.ConfigFileName, "traded.cfg");
    EXPECT_EQ(portsHeld(), std::tuple(3, 1));

    SaveConfig& loadSave = DefaultForm<SaveConfig>::get();
    loadSave.show();
    child<QLineEdit>(loadSave, "FileName")->setText("a.cfg");
    child<QCheckBox>(loadSave, "ChkImportPartial0")->setChecked(true);
    boxes_.expectYesNoDefaultNo("This will overwrite the selected sections in the currently loaded configuration!\r\n"
                                "The sections come from: a.cfg\r\n Continue?",
                                true);
    click(loadSave, "cmdImportPartial");
    EXPECT_EQ(portsHeld(), std::tuple(1, 3)) << "traded back by the import";

    // The gauge bus gives COM1 up, and module 1 takes it.
    boxes_.expectYesNoDefaultNo(kUnsavedQuestion, true);
    chooseInTheList(start, "taken.cfg");
    ASSERT_EQ(Session.ConfigFileName, "taken.cfg");
    EXPECT_EQ(portsHeld(), std::tuple(0, 1));
}

// The simulator link closes at a load as at the exit, under the replaced configuration's settings:
// the exit and a termination request afterwards tell a.cfg's X-Plane nothing, though b.cfg has no
// "No USEL", and a test that opens the link on b.cfg's X-Plane selects nothing there that a.cfg's
// function test had selected.
TEST_F(DevicesAcrossALoadTest, AfterALoadTheReplacedXPlaneHearsNothingItsNoUSELForbidsAndTheLoadedOneNothingSelectedForIt)
{
    writeDevices("b.cfg", 2, 4, false, 0, "49100");
    for (const bool signalled : {false, true}) {
        SCOPED_TRACE(signalled ? "termination request" : "Exit");
        frmMain& start = linkOpenedOnAThenBLoaded();
        if (signalled)
            RequestEnd(ExitThroughCurrentWindow);
        else
            click(start, "Exit");
        EXPECT_FALSE(DefaultForm<frmMain>::loaded());
        EXPECT_EQ(sockets_.sent(), QList<QByteArray>{});
        ForgetEndRequest();
    }

    linkOpenedOnAThenBLoaded();
    frmTestXplaneInterface::ShowWindow();
    click(DefaultForm<frmTestXplaneInterface>::get(), "cmdStartUDP");
    ASSERT_EQ(DefaultForm<SimCom>::get().UDPInUse().value_or(SimCom::UdpEnds{}).remotePort, 49100);
    EXPECT_EQ(sockets_.sent(), QList<QByteArray>{});
}

} // namespace
} // namespace varnet
