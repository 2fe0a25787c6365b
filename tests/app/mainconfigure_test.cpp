#include "bus/deviceports.h"
#include "config/configfile.h"
#include "config/sample_config.h"
#include "configscreen_fixture.h"
#include "support/fake_serial_port.h"
#include "support/scripted_messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>

#include <map>

namespace varnet {
namespace {

using namespace varnet::testing;

// The screen on fake ports: COM numbers in `present` open, all others are
// missing.
class ConfigScreenWindow : public ConfigScreenTest {
protected:
    void SetUp() override
    {
        ConfigScreenTest::SetUp();
        fakes.onOpen = [this](FakeSerialPort& port) {
            ++opens[port.portNumber()];
            port.setOpenError(present.contains(port.portNumber()) ? "" : "Device not found");
        };
    }

    QStringList comboItems(const char* name)
    {
        QStringList items;
        if (auto* combo = child<QComboBox>(DefaultForm<FrmMainConfigure>::get(), name))
            for (int i = 0; i < combo->count(); ++i)
                items << combo->itemText(i);
        return items;
    }

    static QString text(const char* box) { return child<QLineEdit>(DefaultForm<FrmMainConfigure>::get(), box)->text(); }
    static bool enabled(const char* control)
    {
        return child<QWidget>(DefaultForm<FrmMainConfigure>::get(), control)->isEnabled();
    }

    // Text typed into a box, then Return.
    static void type(const char* box, const QString& typed)
    {
        auto* edit = child<QLineEdit>(DefaultForm<FrmMainConfigure>::get(), box);
        edit->selectAll();
        edit->insert(typed);
        emit edit->editingFinished();
    }

    static void choose(const char* combo, const QString& typed)
    {
        child<QComboBox>(DefaultForm<FrmMainConfigure>::get(), combo)->setEditText(typed);
    }

    FakeSerialPorts fakes;
    QList<int> present{3, 9, 12};
    std::map<int, int> opens;
    ScriptedMessages boxes;
};

TEST_F(ConfigScreenWindow, RebuildShowsTheSettingsAndProbesOnlyFreeComPorts)
{
    Cfg.ComPortGauges = 3;
    Cfg.ComPortIOM = 9;
    Cfg.RemoteIP = "192.168.1.20";
    Cfg.RemotePort = "49000";
    Cfg.LocalPort = "49005";
    Cfg.ByteOrderReverse = 1;
    Cfg.BlockUsel = 1;
    Cfg.LightsMode = 0;
    Cfg.LightsMask = 63;
    Cfg.ProcessTimerInterval = 250;
    Session.ConfigFileName = "cockpit.cfg";
    OpenComPorts();
    opens.clear();

    FrmMainConfigure& s = screen();
    for (const char* combo : {"ComboComVarnet", "ComboComEC", "ComboCOMIOM", "ComboComiOM2"}) {
        EXPECT_EQ(comboItems(combo), (QStringList{"0", "3", "9", "12"})) << combo;
        EXPECT_EQ(child<QComboBox>(s, combo)->currentIndex(), 0);
    }
    std::map<int, int> probed;
    for (int n = 1; n <= 16; ++n)
        if (n != 3 && n != 9)
            probed[n] = 1;
    EXPECT_EQ(opens, probed) << "the open device ports are offered without being probed";
    EXPECT_TRUE(runWindow().MSComm1().isOpen());
    EXPECT_EQ(runWindow().MSComm1().portNumber(), 3);

    EXPECT_EQ(text("BoxCurrentComVarnet"), "3");
    EXPECT_EQ(text("BoxCurrentComEC"), "0");
    EXPECT_EQ(text("BoxCurrentComIOM"), "9");
    EXPECT_TRUE(enabled("Cmdsearch"));
    EXPECT_FALSE(enabled("cmdGotoEC"));
    EXPECT_TRUE(enabled("cmdGotoIOM"));
    EXPECT_FALSE(enabled("cmdGotoIOM2"));
    EXPECT_EQ(text("CurrentConfigFile"), "cockpit.cfg");
    EXPECT_EQ(text("boxRemoteIP"), "192.168.1.20");
    EXPECT_EQ(text("boxLocalPort"), "49005");
    EXPECT_TRUE(child<QRadioButton>(s, "OptionByteOrderReverse")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(s, "CheckBlockUsel")->isChecked());
    EXPECT_EQ(child<QComboBox>(s, "ComboLights")->currentText(), "Any light switch!");
    EXPECT_EQ(Session.ConfigChanged, 0) << "showing the stored lights choice is no edit";
    EXPECT_EQ(text("BoxXferTimerProcess"), "250");
    EXPECT_EQ(Cfg.ProcessTimerInterval, 250) << "a value off the slider's scale stays stored";

    Cfg.ProcessTimerInterval = 0;
    s.Form_Activate();
    EXPECT_EQ(child<QSlider>(s, "SliderXferTtimerProcess")->value(), 40);
    EXPECT_EQ(Cfg.ProcessTimerInterval, 0);
}

TEST_F(ConfigScreenWindow, SettingAComPortChecksItThenOpensOrClosesThePorts)
{
    FrmMainConfigure& s = screen();
    EXPECT_FALSE(enabled("Cmdsearch"));

    choose("ComboComEC", "300");
    boxes.expectOk("A COM port number must be between 0 and 255");
    click(s, "cmdSetCommportEC");
    EXPECT_EQ(Cfg.ComPortEC, 0);
    choose("ComboComEC", "0");
    click(s, "cmdSetCommportEC");
    EXPECT_EQ(Session.ConfigChanged, 0) << "the port it had";

    choose("ComboComEC", "12");
    click(s, "cmdSetCommportEC");
    EXPECT_EQ(Cfg.ComPortEC, 12);
    EXPECT_TRUE(standAloneLinks().MSComm1(StandAloneDevice::EngineCluster).isOpen());
    EXPECT_TRUE(enabled("cmdGotoEC"));
    EXPECT_EQ(text("BoxCurrentComEC"), "12");

    child<QComboBox>(s, "ComboComVarnet")->setCurrentText("3");
    click(s, "cmdSetCommport");
    EXPECT_TRUE(runWindow().MSComm1().isOpen());
    EXPECT_TRUE(enabled("Cmdsearch"));

    choose("ComboComVarnet", "none");
    click(s, "cmdSetCommport");
    EXPECT_EQ(Cfg.ComPortGauges, 0);
    EXPECT_FALSE(runWindow().MSComm1().isOpen());
    EXPECT_FALSE(standAloneLinks().MSComm1(StandAloneDevice::EngineCluster).isOpen()) << "all four ports close";
    EXPECT_FALSE(enabled("Cmdsearch"));
    EXPECT_EQ(Session.ConfigChanged, 1) << "Close must ask before the new ports are lost";
}

TEST_F(ConfigScreenWindow, UdpSettingsAreCheckedAndTypedTextCannotBreakTheFile)
{
    Cfg = sampleConfig();
    FrmMainConfigure& s = screen();
    const ConfigTables before = Cfg;
    child<QLineEdit>(s, "boxRemoteIP")->setText(QString::fromUtf8("10.0.0.\"5\", \u00e9\u2192"));
    for (const char* bad : {"0", "70000", "49x"}) {
        child<QLineEdit>(s, "boxLocalPort")->setText(QString::fromLatin1(bad));
        boxes.expectOk("A UDP port must be a number between 1 and 65535");
        click(s, "cmdSetUDP");
    }
    EXPECT_TRUE(Cfg == before);

    child<QLineEdit>(s, "boxRemotePort")->setText(" 49000");
    child<QLineEdit>(s, "boxLocalPort")->setText("49010");
    child<QRadioButton>(s, "OptionByteOrderNormal")->setChecked(true);
    child<QCheckBox>(s, "CheckBlockUsel")->setChecked(false);
    click(s, "cmdSetUDP");
    EXPECT_EQ(Cfg.RemoteIP, "10.0.0.'5', \xe9?");
    EXPECT_EQ(Cfg.RemotePort, "49000");
    EXPECT_EQ(Cfg.LocalPort, "49010");
    EXPECT_EQ(Cfg.ByteOrderReverse, 0);
    EXPECT_EQ(Cfg.BlockUsel, 0);
    EXPECT_EQ(Session.ConfigChanged, 0);

    Session.ConfigFileName = "udp.cfg";
    Session.ProgramTitle = kProgramTitle;
    Cfg.ConfigHeader = programHeader();
    ASSERT_TRUE(WriteConfigFile());
    const ConfigTables saved = Cfg;
    Cfg = ConfigTables{};
    LoadConstantTables(Cfg);  // not held in files
    ReadConfigFile();
    EXPECT_EQ(Session.ConfigError, 0);
    EXPECT_TRUE(Cfg == saved);
}

TEST_F(ConfigScreenWindow, ProcessIntervalFollowsTheSliderAndATypedValueInRange)
{
    FrmMainConfigure& s = screen();
    auto* slider = child<QSlider>(s, "SliderXferTtimerProcess");
    slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(text("BoxXferTimerProcess"), "45");
    EXPECT_EQ(Cfg.ProcessTimerInterval, 45);

    boxes.expectOk("The process interval must be between 20 and 200 ms");
    type("BoxXferTimerProcess", "500");
    EXPECT_EQ(Cfg.ProcessTimerInterval, 45);
    EXPECT_EQ(text("BoxXferTimerProcess"), "45");

    type("BoxXferTimerProcess", "120");
    EXPECT_EQ(Cfg.ProcessTimerInterval, 120);
    EXPECT_EQ(slider->value(), 120);
    EXPECT_EQ(Session.ConfigChanged, 0);
}

TEST_F(ConfigScreenWindow, OpensWithEveryColumnInView)
{
    gauge(17, 10);
    Session.GaugeRecBusStatus[17] = 1;
    FrmMainConfigure& s = screen();
    QApplication::processEvents();
    // "Not Connected", the last column, needs no scrolling.
    EXPECT_EQ(child<QListWidget>(s, "Configlist")->horizontalScrollBar()->maximum(), 0);
}

TEST_F(ConfigScreenWindow, ChoosingALightsEntryStoresItsPair)
{
    Cfg.LightsMask = 32;
    FrmMainConfigure& s = screen();
    child<QComboBox>(s, "ComboLights")->setCurrentIndex(3);
    EXPECT_EQ(Cfg.LightsMode, 0);
    EXPECT_EQ(Cfg.LightsMask, 1);
    EXPECT_EQ(Session.ConfigChanged, 1);

    // A loaded mask 0 shows the entry the combo already shows, and still
    // becomes that entry's mask.
    child<QComboBox>(s, "ComboLights")->setCurrentIndex(0);
    Cfg.LightsMask = 0;
    s.Form_Activate();
    EXPECT_EQ(Cfg.LightsMask, 32);
}

TEST_F(ConfigScreenWindow, ClearConfigurationAsksFirst)
{
    gauge(5, 1);
    gauge(17, 10);
    FrmMainConfigure& s = screen();
    const char* question = "This will clear all gauge assignments and settings!\r\nContinue anyway?";
    boxes.expectYesNo(question, false);
    click(s, "cmdClearConfig");
    EXPECT_EQ(listLines(s, "Configlist").size(), 2u);

    boxes.expectYesNo(question, true);
    click(s, "cmdClearConfig");
    EXPECT_TRUE(listLines(s, "Configlist").empty());
    EXPECT_EQ(Cfg.GaugeRecType[17], 0);
    EXPECT_EQ(Session.ConfigChanged, 0);
}

TEST_F(ConfigScreenWindow, CloseAsksAboutUnsavedEditsAndReturnsWhereItCameFrom)
{
    Cfg.ComPortGauges = 3;
    Session.ConfigChanged = 1;
    FrmMainConfigure& s = screen();
    OpenComPorts();
    const char* question = "Updates are not saved; Continue anyway?";
    boxes.expectYesNo(question, false);
    click(s, "Command1");
    ASSERT_TRUE(DefaultForm<FrmMainConfigure>::loaded());

    boxes.expectYesNo(question, true);
    click(s, "Command1");
    EXPECT_FALSE(DefaultForm<FrmMainConfigure>::loaded());
    EXPECT_FALSE(runWindow().MSComm1().isOpen());
    EXPECT_TRUE(DefaultForm<frmMain>::loaded() && DefaultForm<frmMain>::get().isVisible());
    EXPECT_EQ(Session.ConfigChanged, 1);
    flushDeletes();

    Session.ConfigChanged = 0;
    Session.ConfigFromStatus = 1;
    click(screen(), "Command1");
    EXPECT_FALSE(DefaultForm<FrmMainConfigure>::loaded());
    EXPECT_TRUE(runWindow().isVisible());
    EXPECT_EQ(Session.ConfigFromStatus, 1);
}

TEST_F(ConfigScreenWindow, ButtonsOpenTheirWindows)
{
    Cfg.ComPortEC = 9;
    Cfg.ComPortIOM = 12;
    Cfg.ComPortIOM2 = 3;
    FrmMainConfigure& s = screen();

    click(s, "cmdGotoIOM2");
    EXPECT_EQ(CurrentGaugeID, 2000);
    EXPECT_TRUE(standAloneLinks().Loaded(StandAloneDevice::IOModule2));
    ASSERT_TRUE(DefaultForm<ConfigIOM>::loaded());
    EXPECT_EQ(DefaultForm<ConfigIOM>::get().GaugeID, 2000);
    EXPECT_TRUE(DefaultForm<ConfigIOM>::get().isVisible());

    click(s, "cmdGotoEC");
    EXPECT_TRUE(standAloneLinks().Loaded(StandAloneDevice::EngineCluster));
    EXPECT_TRUE(standAloneLinks().MSComm1(StandAloneDevice::EngineCluster).isOpen());
    EXPECT_TRUE(DefaultForm<frmTestEC>::get().isVisible());

    click(s, "CmdConfig");
    EXPECT_TRUE(DefaultForm<frmListFunctions>::get().isVisible());
    click(s, "CmdSaveConfig");
    EXPECT_TRUE(DefaultForm<SaveConfig>::get().isVisible());
    click(s, "cmdGotoFFB");
    EXPECT_TRUE(DefaultForm<FrmConfigureYokes>::get().isVisible());
    click(s, "cmdGetOffset");
    EXPECT_TRUE(DefaultForm<GetOffsetlist>::get().isVisible());
    Cfg.ComPortGauges = 5;  // missing: said once
    boxes.expectOk(ComPortErrorText(5, "Device not found"));
    click(s, "cmdStartTest");
    EXPECT_TRUE(DefaultForm<frmTestGauges>::get().isVisible());
    click(s, "cmdTestXplaneInterface");
    EXPECT_TRUE(DefaultForm<frmTestXplaneInterface>::get().isVisible());
    EXPECT_TRUE(DefaultForm<FrmMainConfigure>::get().isVisible());
}

} // namespace
} // namespace varnet
