// The windows and the configuration in memory: after a load no window shows or writes values of
// the configuration it replaced, and nothing typed or stored in a window and not saved goes
// without the question that window's own Close asks, naming the window.

#include "app/configwindows.h"
#include "bus/runwindow.h"
#include "configscreen_fixture.h"
#include "simlink/functiontest.h"
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

    click(screen, "Command1");
    EXPECT_EQ(recordWindowsLoaded(), std::vector<std::string>{});
    EXPECT_TRUE(!DefaultForm<FrmMainConfigure>::loaded() && DefaultForm<frmMain>::loaded() && start.isVisible());
    EXPECT_EQ(std::tuple(Cfg.FunctionFullName[kIAS], Cfg.FunctionMinimum[kIAS], Cfg.RemotePort),
              std::tuple("indicated", 10.0f, "49100"))
        << "closing a window drops nothing it stored";

    // Each in the order stored; No keeps them all.
    boxes_.expectYesNoDefaultNo("List available functions:\r\nUpdates are not saved yet; Continue?", true);
    boxes_.expectYesNoDefaultNo("Test Varnet functions:\r\nUpdates are not saved yet; Continue?", true);
    boxes_.expectYesNoDefaultNo("Varnet Configuration:\r\nUpdates are not saved yet; Continue?", false);
    chooseInTheList(start, "b.cfg");
    EXPECT_EQ(std::tuple(Session.ConfigFileName, Cfg.FunctionFullName[kIAS], Cfg.FunctionMinimum[kIAS], Cfg.RemotePort),
              std::tuple("a.cfg", "indicated", 10.0f, "49100"));

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
    EXPECT_EQ(Session.StoredNotSaved, (std::vector<std::string>{"List available functions", "Test Varnet functions ",
                                                                 "Varnet Configuration",
                                                                 "Test & Diagnostics connected gauges"}));
    click(DefaultForm<FrmMainConfigure>::get(), "CmdSaveConfig");
    boxes_.expectOk("File saved as: a.cfg");
    click(DefaultForm<SaveConfig>::get(), "CmdSave");
    click(DefaultForm<frmListFunctions>::get(), "cmdClose");
    click(DefaultForm<frmTestFunction>::get(), "cmdClose");
    EXPECT_FALSE(DefaultForm<frmListFunctions>::loaded() || DefaultForm<frmTestFunction>::loaded());
    chooseInTheList(start, "b.cfg");
    EXPECT_EQ(std::tuple(Session.ConfigFileName, boxes_.pending()), std::tuple("b.cfg", 0u));
}

} // namespace
} // namespace varnet
