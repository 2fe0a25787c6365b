#include "app/shell.h"
#include "app/tabstops.h"
#include "avionics/genericradio.h"
#include "bus/deviceports.h"
#include "configscreen_fixture.h"
#include "gauges/singleneedle.h"
#include "gauges/vorindicator.h"
#include "iomodules/enginelink.h"
#include "simlink/functiontest.h"
#include "support/fake_serial_port.h"
#include "support/fake_udp_socket.h"
#include "support/keyboard.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QScrollBar>

#include <algorithm>
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

    static FrmMainConfigure& form() { return DefaultForm<FrmMainConfigure>::get(); }
    static QString text(const char* box) { return child<QLineEdit>(form(), box)->text(); }
    static bool enabled(const char* control) { return child<QWidget>(form(), control)->isEnabled(); }
    static void choose(const char* combo, const QString& typed) { child<QComboBox>(form(), combo)->setEditText(typed); }
    // Text typed into a box, then Return.
    static void type(const char* box, const QString& typed)
    {
        auto* edit = child<QLineEdit>(form(), box);
        edit->selectAll();
        edit->insert(typed);
        emit edit->editingFinished();
    }

    // Whether `button` shows the window W.
    template <typename W>
    static bool shows(const char* button)
    {
        click(form(), button);
        return DefaultForm<W>::get().isVisible();
    }

    FakeSerialPorts fakes;
    FakeUdpSockets sockets;
    QList<int> present{3, 9, 12};
    std::map<int, int> opens;
    ScriptedMessages boxes;
};

TEST_F(ConfigScreenWindow, RebuildShowsTheSettingsAndProbesOnlyFreeComPorts)
{
    std::tie(Cfg.ComPortGauges, Cfg.ComPortIOM, Cfg.ByteOrderReverse, Cfg.BlockUsel, Cfg.LightsMode, Cfg.LightsMask,
             Cfg.ProcessTimerInterval) = std::tuple(3, 9, 1, 1, 0, 63, 250);
    std::tie(Cfg.RemoteIP, Cfg.RemotePort, Cfg.LocalPort) = std::tuple("192.168.1.20", "49000", "49005");
    Session.ConfigFileName = "cockpit.cfg";
    OpenComPorts();
    opens.clear();

    FrmMainConfigure& s = screen();
    for (const char* combo : {"ComboComVarnet", "ComboComEC", "ComboCOMIOM", "ComboComiOM2"}) {
        QStringList items;
        for (int i = 0; i < child<QComboBox>(s, combo)->count(); ++i)
            items << child<QComboBox>(s, combo)->itemText(i);
        EXPECT_EQ(items, (QStringList{"0", "3", "9", "12"})) << combo;
    }
    std::map<int, int> probed;
    for (int n = 1; n <= 16; ++n)
        if (n != 3 && n != 9)
            probed[n] = 1;
    EXPECT_EQ(opens, probed) << "the open device ports are offered without being probed";
    EXPECT_TRUE(runWindow().MSComm1().isOpen() && runWindow().MSComm1().portNumber() == 3);

    for (auto [box, shown] : {std::pair{"BoxCurrentComVarnet", "3"}, {"BoxCurrentComEC", "0"}, {"BoxCurrentComIOM", "9"},
                              {"CurrentConfigFile", "cockpit.cfg"}, {"boxRemoteIP", "192.168.1.20"},
                              {"boxLocalPort", "49005"}, {"BoxXferTimerProcess", "250"}})
        EXPECT_EQ(text(box), shown) << box;
    // The "Current" boxes show what is set; only a Set button changes it.
    for (const char* box : {"BoxCurrentComVarnet", "BoxCurrentComEC", "BoxCurrentComIOM", "BoxCurrentComIOM2"})
        EXPECT_TRUE(child<QLineEdit>(s, box)->isReadOnly()) << box;
    for (auto [control, on] : {std::pair{"Cmdsearch", true}, {"cmdGotoEC", false}, {"cmdGotoIOM", true},
                               {"cmdGotoIOM2", false}})
        EXPECT_EQ(enabled(control), on) << control;
    EXPECT_TRUE(child<QRadioButton>(s, "OptionByteOrderReverse")->isChecked() &&
                child<QCheckBox>(s, "CheckBlockUsel")->isChecked());
    EXPECT_EQ(child<QComboBox>(s, "ComboLights")->currentText(), "Any light switch!");
    EXPECT_EQ(Session.ConfigChanged, 0) << "showing the stored lights choice is no edit";
    EXPECT_EQ(Cfg.ProcessTimerInterval, 250) << "a value off the slider's scale stays stored";

    Cfg.ProcessTimerInterval = 0;
    s.Form_Activate();
    EXPECT_EQ(std::tuple(child<QSlider>(s, "SliderXferTtimerProcess")->value(), Cfg.ProcessTimerInterval), std::tuple(40, 0));

    // A port linked while the screen is open is offered when the list opens;
    // what the list showed stays.
    present << 5;
    auto* ec = child<QComboBox>(s, "ComboComEC");
    ec->setEditText("9");
    ec->showPopup();
    ec->hidePopup();
    EXPECT_EQ(std::tuple(ec->findText("5"), ec->currentText()), std::tuple(2, "9"));
}

// The places of `row`'s line in `list`, as x in the viewport, where
// something is painted outside the line's drawn fields: each field's text,
// give or take two pixels of a glyph's overhang, whatever the font.
QList<int> inkOutsideFields(QListWidget* list, int row)
{
    const QRect line = list->visualItemRect(list->item(row)) & list->viewport()->rect();
    const QImage image = list->viewport()->grab(line).toImage();
    // The line's background is its commonest colour.
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    const QRgb background =
        std::max_element(counts.begin(), counts.end(), [](auto a, auto b) { return a.second < b.second; })->first;
    const QFontMetrics metrics(list->font());
    const std::vector<DrawnField> fields = DrawnFields(list, row);
    QList<int> stray;
    for (int x = 0; x < image.width(); ++x) {
        const int at = line.left() + int(x / image.devicePixelRatio());
        const bool inField = std::any_of(fields.begin(), fields.end(), [&](const DrawnField& field) {
            return at >= field.left - 2 && at < field.left + metrics.horizontalAdvance(field.text) + 2;
        });
        for (int y = 0; !inField && y < image.height(); ++y)
            if (image.pixel(x, y) != background) {
                stray << at;
                break;
            }
    }
    return stray;
}

// Every field stands under its caption and no caption runs into the next,
// whatever the type names: columns widen to a bound, longer texts are cut
// short. A list narrower than its columns cuts the longer texts shorter
// still to keep every caption in view; one too narrow even for the
// captions scrolls sideways with them.
TEST_F(ConfigScreenWindow, ColumnsStandUnderTheirCaptionsWhateverTheNamesAndScrollSidewaysWithThem)
{
    std::tie(Cfg.GaugeTypeNumbers[45], Cfg.GaugeTypeNames[45], Cfg.GaugeRecSeqNr1[2]) = std::tuple(77, std::string(90, 'W'), 4);
    for (auto [id, type] : {std::pair{1, 2}, {2, 105}, {3, 77}})
        gauge(id, type);
    FrmMainConfigure& s = screen();
    QApplication::processEvents();
    auto* list = child<QListWidget>(s, "Configlist");
    const QList<QLabel*> captions = list->parentWidget()->findChild<QWidget*>()->findChildren<QLabel*>();
    ASSERT_EQ(captions.size(), 7);
    const auto x = [&s](QWidget* w, int at = 0) { return w->mapTo(&s, QPoint(at, 0)).x(); };
    for (int i = 1; i < captions.size(); ++i)
        EXPECT_LT(x(captions[i - 1]) + captions[i - 1]->width(), x(captions[i])) << qPrintable(captions[i]->text());
    const QFontMetrics metrics(list->font());
    for (int row = 0; row < list->count(); ++row) {
        const std::vector<DrawnField> fields = DrawnFields(list, row);
        ASSERT_EQ(fields.size(), 7u);
        for (std::size_t j = 0; j < fields.size(); ++j) {
            EXPECT_EQ(x(list->viewport(), fields[j].left), x(captions[int(j)])) << row << " " << j;
            EXPECT_TRUE(j == 6 || metrics.horizontalAdvance(fields[j].text) < fields[j + 1].left - fields[j].left);
        }
        // The fields are all that is painted: the line's own text, TABs
        // and all, does not show between them.
        EXPECT_EQ(inkOutsideFields(list, row), QList<int>()) << row;
    }
    // On this narrow screen every caption stands in view without scrolling,
    // the built-in name cut short for it.
    QScrollBar* sideways = list->horizontalScrollBar();
    ASSERT_LT(s.width(), 1280) << "the offscreen test screen is 800 pixels wide";
    EXPECT_EQ(sideways->maximum(), 0);
    EXPECT_LE(x(captions.last()) + captions.last()->width(), x(list->viewport()) + list->viewport()->width());
    EXPECT_TRUE(DrawnFields(list, 0)[1].text.endsWith(QChar(0x2026)));

    // Too narrow for the captions, the columns keep their widths: a built-in
    // name shows whole, one beyond the bound is cut short.
    list->setMinimumWidth(metrics.averageCharWidth() * 30);
    list->parentWidget()->setMaximumWidth(metrics.averageCharWidth() * 50);
    QApplication::processEvents();
    EXPECT_EQ(std::tuple(DrawnFields(list, 0)[0].text, DrawnFields(list, 0)[1].text.endsWith("Display "),
                         DrawnFields(list, 0)[6].text, DrawnFields(list, 2)[1].text.endsWith(QChar(0x2026))),
              std::tuple("001", true, "Unkown", true));
    ASSERT_GT(sideways->maximum(), 0);
    const int shownAt = captions.first()->x();
    sideways->setValue(40);
    EXPECT_EQ(captions.first()->x(), shownAt - 40);
    EXPECT_EQ(x(list->viewport(), DrawnFields(list, 0)[4].left), x(captions[4]));
    // Scrolled to its end, the list shows the connection status whole.
    sideways->setValue(sideways->maximum());
    EXPECT_EQ(captions.last()->text(), "Connection Status");
    EXPECT_LE(captions.last()->x() + captions.last()->width(), list->x() + list->viewport()->width());
}

TEST_F(ConfigScreenWindow, SettingAComPortChecksItThenOpensOrClosesThePortsAndCloseAsksFirst)
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
    EXPECT_EQ(std::tuple(Cfg.ComPortEC, text("BoxCurrentComEC")), std::tuple(12, "12"));
    EXPECT_TRUE(standAloneLinks().MSComm1(StandAloneDevice::EngineCluster).isOpen() && enabled("cmdGotoEC"));
    // A port that does not open is not taken: one box names it, and the row
    // keeps the port it had, open, and its button as it was.
    for (auto [combo, set, current, kept] : {std::tuple{"ComboComEC", "cmdSetCommportEC", "BoxCurrentComEC", "12"},
                                             {"ComboCOMIOM", "cmdSetCommportIOM", "BoxCurrentComIOM", "0"}}) {
        choose(combo, "5");
        boxes.expectOk(ComPortErrorText(5, "Device not found"));
        click(s, set);
        EXPECT_EQ(text(current), kept) << combo;
    }
    EXPECT_EQ(std::tuple(Cfg.ComPortEC, Cfg.ComPortIOM, enabled("cmdGotoEC"), enabled("cmdGotoIOM")),
              std::tuple(12, 0, true, false));
    EXPECT_TRUE(standAloneLinks().MSComm1(StandAloneDevice::EngineCluster).isOpen());

    child<QComboBox>(s, "ComboComVarnet")->setCurrentText("3");
    click(s, "cmdSetCommport");
    EXPECT_TRUE(runWindow().MSComm1().isOpen() && enabled("Cmdsearch"));
    choose("ComboComVarnet", "none");
    click(s, "cmdSetCommport");
    EXPECT_EQ(Cfg.ComPortGauges, 0);
    EXPECT_FALSE(runWindow().MSComm1().isOpen() || enabled("Cmdsearch"));
    EXPECT_FALSE(standAloneLinks().MSComm1(StandAloneDevice::EngineCluster).isOpen()) << "all four ports close";
    EXPECT_EQ(Session.ConfigChanged, 1) << "Close must ask before the new ports are lost";

    // Close asks about unsaved edits and returns where it came from.
    choose("ComboComVarnet", "3");
    click(s, "cmdSetCommport");
    const char* question = "Updates are not saved; Continue anyway?";
    boxes.expectYesNoDefaultNo(question, false);
    click(s, "Command1");
    ASSERT_TRUE(DefaultForm<FrmMainConfigure>::loaded());
    boxes.expectYesNoDefaultNo(question, true);
    click(s, "Command1");
    EXPECT_FALSE(DefaultForm<FrmMainConfigure>::loaded() || runWindow().MSComm1().isOpen());
    EXPECT_TRUE(DefaultForm<frmMain>::loaded() && DefaultForm<frmMain>::get().isVisible());
    EXPECT_EQ(Session.ConfigChanged, 1);
    flushDeletes();
    Session.ConfigChanged = 0;
    Session.ConfigFromStatus = 1;
    std::tie(Cfg.RemoteIP, Cfg.RemotePort, Cfg.LocalPort) = std::tuple("127.0.0.1", "49000", "49001");
    click(screen(), "Command1");
    // Back to the run window, which is prepared at once.
    EXPECT_EQ(std::tuple(DefaultForm<FrmMainConfigure>::loaded(), runWindow().isVisible(), runWindow().RunPrepared,
                         Session.ConfigFromStatus),
              std::tuple(false, true, 1, 1));
}

TEST_F(ConfigScreenWindow, UdpSettingsAreCheckedAndTypedTextCannotBreakTheFile)
{
    Cfg = sampleConfig();
    FrmMainConfigure& s = screen();
    const ConfigTables before = Cfg;
    child<QLineEdit>(s, "boxRemoteIP")->setText("10.0.0.5");
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
    EXPECT_EQ(std::tuple(Cfg.RemoteIP, Cfg.RemotePort, Cfg.LocalPort, Cfg.ByteOrderReverse, Cfg.BlockUsel),
              std::tuple("10.0.0.5", "49000", "49010", 0, 0));
    EXPECT_EQ(Session.ConfigChanged, 0);

    Cfg.ConfigHeader = programHeader();
    const ConfigTables saved = Cfg;
    saveAndLoad("udp.cfg");
    EXPECT_TRUE(Cfg == saved);
}

TEST_F(ConfigScreenWindow, SetRefusesARemoteAddressTheLinkCannotSendToAndKeepsItInTheBoxToCorrect)
{
    Cfg = sampleConfig();
    FrmMainConfigure& s = screen();
    auto* box = child<QLineEdit>(s, "boxRemoteIP");
    auto* set = child<QPushButton>(s, "cmdSetUDP");
    const auto typeAndSet = [&](const QString& typed) {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, typed);
        QTest::mouseClick(set, Qt::LeftButton);
    };
    // Numbers that are no address, and names that never resolve (.invalid).
    for (const QString typed : {"999.1.1.1", "abc.invalid", "10.0.0.\"5\"", "127.1", "192.168.1", "", "::1"}) {
        SCOPED_TRACE(typed.toStdString());
        boxes.expectOk(kRemoteAddressRule);
        typeAndSet(typed);
        EXPECT_EQ(boxes.pending(), 0u);
        EXPECT_EQ(Cfg.RemoteIP, "192.168.1.20");
        EXPECT_EQ(std::tuple(box->text(), box->selectedText(), s.focusWidget() == box), std::tuple(typed, typed, true))
            << "the text stays selected in the box to be corrected";
    }
    // An address, zero-padded too, or a name that resolves is taken.
    for (const char* typed : {"127.0.0.1", "127.000.000.001", "localhost"}) {
        typeAndSet(QString::fromLatin1(typed));
        EXPECT_EQ(Cfg.RemoteIP, typed);
    }
}

TEST_F(ConfigScreenWindow, ProcessIntervalAndLightsChoiceAreStoredAsChosen)
{
    Cfg.LightsMask = 32;
    FrmMainConfigure& s = screen();
    auto* slider = child<QSlider>(s, "SliderXferTtimerProcess");
    slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(std::tuple(text("BoxXferTimerProcess"), Cfg.ProcessTimerInterval), std::tuple("45", 45));
    boxes.expectOk("The process interval must be between 20 and 200 ms");
    type("BoxXferTimerProcess", "500");
    EXPECT_EQ(std::tuple(text("BoxXferTimerProcess"), Cfg.ProcessTimerInterval), std::tuple("45", 45));
    type("BoxXferTimerProcess", "120");
    EXPECT_EQ(std::tuple(Cfg.ProcessTimerInterval, slider->value(), Session.ConfigChanged), std::tuple(120, 120, 0));

    child<QComboBox>(s, "ComboLights")->setCurrentIndex(3);
    EXPECT_EQ(std::tuple(Cfg.LightsMode, Cfg.LightsMask, Session.ConfigChanged), std::tuple(0, 1, 1));
    // A loaded mask 0 shows the entry the combo already shows, and still
    // becomes that entry's mask.
    child<QComboBox>(s, "ComboLights")->setCurrentIndex(0);
    Cfg.LightsMask = 0;
    s.Form_Activate();
    EXPECT_EQ(Cfg.LightsMask, 32);
}

// Clearing empties the bus gauges' records but keeps their second plates and
// row 0.
TEST_F(ConfigScreenWindow, ClearConfigurationAsksFirstAndKeepsSecondPlates)
{
    Cfg = sampleConfig();
    FrmMainConfigure& s = screen();
    ConfigTables expected = Cfg;
    for (int id = 1; id <= 255; ++id)
        GaugeRecord{.plate2 = expected.GaugeRecPlate2[id]}.Write(expected, id, Field::All);
    const std::size_t lines = listLines(s, "Configlist").size();
    const char* question = "This will clear all gauge assignments and settings!\r\nContinue anyway?";
    boxes.expectYesNoDefaultNo(question, false);
    click(s, "cmdClearConfig");
    EXPECT_EQ(listLines(s, "Configlist").size(), lines);
    boxes.expectYesNoDefaultNo(question, true);
    click(s, "cmdClearConfig");
    EXPECT_TRUE(listLines(s, "Configlist").empty() && Cfg == expected);
    EXPECT_EQ(Session.ConfigChanged, 0);
}

TEST_F(ConfigScreenWindow, ButtonsOpenTheirWindows)
{
    std::tie(Cfg.ComPortEC, Cfg.ComPortIOM, Cfg.ComPortIOM2) = std::tuple(9, 12, 3);
    screen();

    EXPECT_TRUE(shows<ConfigIOM>("cmdGotoIOM2"));
    EXPECT_EQ(std::tuple(CurrentGaugeID, DefaultForm<ConfigIOM>::get().GaugeID), std::tuple(2000, 2000));
    EXPECT_TRUE(standAloneLinks().Loaded(StandAloneDevice::IOModule2));

    EXPECT_TRUE(shows<frmTestEC>("cmdGotoEC"));
    EXPECT_TRUE(standAloneLinks().Loaded(StandAloneDevice::EngineCluster) &&
                standAloneLinks().MSComm1(StandAloneDevice::EngineCluster).isOpen());
    EXPECT_TRUE(shows<frmListFunctions>("CmdConfig") && shows<SaveConfig>("CmdSaveConfig") &&
                shows<FrmConfigureYokes>("cmdGotoFFB") && shows<GetOffsetlist>("cmdGetOffset"));
    Cfg.ComPortGauges = 5;  // missing: said once
    boxes.expectOk(ComPortErrorText(5, "Device not found"));
    EXPECT_TRUE(shows<frmTestGauges>("cmdStartTest"));
    EXPECT_TRUE(shows<frmTestXplaneInterface>("cmdTestXplaneInterface"));
    EXPECT_TRUE(DefaultForm<FrmMainConfigure>::get().isVisible());
}

// The close button of every window's title bar does what the window's own
// Close, Cancel or Exit does; windows that must outlive their showing only
// hide. Escape does the same in a window with a Close or Cancel, and
// nothing in one without (an Exit, a link window).
enum class Closing { Unloads, Hides, EndsTheProgram, HidesWithoutClose };

int programEnds = 0;

// Shows the default instance of T, readies it with `prepare`, presses
// Escape, then again closes it from its title bar, and checks what became of
// it and of the program.
template <typename T>
void closeFromTitleBar(Closing closing = Closing::Unloads, const std::function<void(T&)>& prepare = {})
{
    SCOPED_TRACE(T::staticMetaObject.className());
    for (const bool escape : {true, false}) {
        flushDeletes();
        programEnds = 0;
        T& window = DefaultForm<T>::get();
        window.show();
        if (prepare)
            prepare(window);
        escape ? press(window, Qt::Key_Escape) : (void)window.close();
        const bool stays = escape && (closing == Closing::EndsTheProgram || closing == Closing::HidesWithoutClose);
        const bool endedHere = closing == Closing::EndsTheProgram && !escape;
        EXPECT_EQ(programEnds, endedHere ? 1 : 0);
        EXPECT_TRUE(endedHere || std::tuple(window.isVisible(), DefaultForm<T>::loaded()) ==
                                     std::tuple(stays, stays || closing != Closing::Unloads))
            << (escape ? "Escape" : "title bar");
    }
}

template <typename... Windows>
void closeEachFromTitleBar(Closing closing)
{
    (closeFromTitleBar<Windows>(closing), ...);
}

TEST_F(ConfigScreenWindow, TitleBarCloseDoesWhatTheWindowsOwnCloseDoes)
{
    std::tie(Cfg.RemoteIP, Cfg.RemotePort, Cfg.LocalPort) = std::tuple("127.0.0.1", "49000", "49001");
    Cfg.FunctionNames[5] = "Gear";
    Cfg.FunctionMultiply[5] = Cfg.FunctionDivide[5] = 1;
    OnEndProgram = frmStatus::EndProgram = frmStatusYoke::ExitProgram = [] { ++programEnds; };
    closeFromTitleBar<frmTestXplaneInterface>(Closing::Unloads, [](auto& w) { click(w, "cmdStartUDP"); });
    EXPECT_FALSE(DefaultForm<SimCom>::get().UDPTestDisplay) << "the sim ports get the values again";
    closeFromTitleBar<frmTestFunction>(Closing::Unloads, [](auto& w) { w.StartScan(5, 1); });
    EXPECT_EQ(DefaultForm<SimCom>::get().PortCount(), 0) << "its port goes with it";
    closeFromTitleBar<FrmMainConfigure>(Closing::Unloads, [this](auto&) {
        Session.ConfigChanged = 1;
        boxes.expectYesNoDefaultNo(kUnsavedQuestion, true);
    });
    closeEachFromTitleBar<frmTestGauges, GetOffsetlist, frmListFunctions, SaveConfig, frmConfigUnknown, ConfigIOM,
                          frmTestEC, FrmConfigureYokes>(Closing::Unloads);
    closeEachFromTitleBar<frmMain, frmStatus, frmStatusYoke>(Closing::EndsTheProgram);
    closeFromTitleBar<SimCom>(Closing::Hides);
    closeEachFromTitleBar<frmStatusEC, frmConfigY1>(Closing::HidesWithoutClose);
    OnEndProgram = frmStatus::EndProgram = frmStatusYoke::ExitProgram = nullptr;
    unloadAll<frmTestFunction, frmStatusYoke, frmConfigY1>();
}

// Every gauge and module of a saved configuration opens its own dialog from
// its line of the configuration screen, for its GaugeID and with its record;
// every dialog is registered as the program starts them and frames go to a
// recording link.
class DialogsOpen : public ConfigScreenTest {
protected:
    void SetUp() override
    {
        ConfigScreenTest::SetUp();
        RegisterGaugeDialogs(SetGaugeDialogOpener);
        RegisterAvionicsDialogs(SetGaugeDialogOpener);
        std::tie(Cfg.FunctionNames[60], Cfg.FunctionCategory[60], Cfg.FunctionSignalType[60]) = std::tuple("N1", 1, 4);
        for (auto [id, type] : {std::pair{1, 1}, {4, 4}, {12, 2}, {13, 3}, {14, 5}, {8, 8}, {10, 10}, {20, 106},
                                {21, kVOR2}, {30, 108}, {31, 109}, {32, 105}, {33, 104}, {34, 110}, {42, 112},
                                {44, 114}, {45, 121}, {54, 124}, {55, 125}, {77, 77}, {113, 113}})
            gauge(id, type);
        // Settings only this walk sees in their dialogs.
        put(16, {6, 1, 1, 1, 60, 3, 1, 1, 60, 4, 0});
        put(22, {.type = 101, .model = 2, .version = 4, .plate1 = 1, .function2 = -1});
        gauge(23, 103, 2);
        gauge(41, 101, 2, 5);
        put(130, {.type = 130, .model = 1, .version = 1, .plate1 = 1});
        gauge(35, 111, kRadioAdf2, 4);
        put(36, {.type = 120, .model = 0, .version = 5, .plate2 = 1});
        gauge(46, 122, 0, 4);
        put(53, {.type = 123, .model = 0, .version = 5, .plate1 = 5});
        saveAndLoad("cockpit.cfg");
        Session.ConfigChanged = 0;
    }
    void TearDown() override
    {
        CloseGaugeDialogs();
        const auto restore = [](std::string_view dialog, GaugeDialogOpener) { SetGaugeDialogOpener(dialog, {}); };
        RegisterGaugeDialogs(restore);
        RegisterAvionicsDialogs(restore);
        ConfigScreenTest::TearDown();
    }

    static void put(int id, const GaugeRecord& record) { record.Write(Cfg, id, Field::All); }
    // The shown window named `name`, or null.
    static QWidget* openWindow(std::string_view name)
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->objectName() == QString::fromLatin1(name.data(), qsizetype(name.size())))
                return w;
        return nullptr;
    }
    // Clicks the line of `gaugeID` and gives the dialog it shows.
    static Form& opened(int gaugeID)
    {
        const std::vector<std::string> lines = listLines(DefaultForm<FrmMainConfigure>::get(), "Configlist");
        const auto line = std::find_if(lines.begin(), lines.end(), [&](auto& l) { return GaugeIDOfLine(l) == gaugeID; });
        EXPECT_NE(line, lines.end()) << "no line for GaugeID " << gaugeID;
        clickLine(DefaultForm<FrmMainConfigure>::get(), "Configlist", int(line - lines.begin()));
        auto* shown = qobject_cast<Form*>(openWindow(GaugeDialogName(Cfg.GaugeRecType[gaugeID], Cfg.GaugeRecVersion[gaugeID])));
        EXPECT_NE(shown, nullptr) << gaugeID;
        return shown ? *shown : DefaultForm<FrmMainConfigure>::get();
    }
    // What a control shows: its text or choice, or whether it is on.
    static QString valueOf(QWidget& dialog, const char* name)
    {
        QWidget* control = child<QWidget>(dialog, name);
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            return button->isChecked() ? "on" : "off";
        if (auto* box = qobject_cast<QLineEdit*>(control))
            return box->text();
        auto* list = qobject_cast<QComboBox*>(control);
        return list ? list->currentText() : QString();
    }

    RecordingLink link_;
    ScriptedMessages messages_;
};

TEST_F(DialogsOpen, EveryGaugeTypeOpensItsOwnDialogForItsGaugeIDWithItsRecord)
{
    FrmMainConfigure& s = screen();
    for (const std::string& line : listLines(s, "Configlist")) {
        const int id = GaugeIDOfLine(line);
        const std::string_view name = GaugeDialogName(Cfg.GaugeRecType[id], Cfg.GaugeRecVersion[id]);
        if (auto* gaugeDialog = qobject_cast<GaugeDialog*>(&opened(id)))
            EXPECT_EQ(gaugeDialog->gaugeID(), id) << name;
        else
            EXPECT_TRUE(name == "ConfigIOM" || name == kUnknownDeviceDialog) << name;
    }
    CloseGaugeDialogs();
    EXPECT_TRUE(GaugeDialog::OpenDialogs().isEmpty());
    Session.ConfigChanged = 0;

    auto& needle = static_cast<GaugeDialog&>(opened(1));
    EXPECT_EQ(std::tuple(needle.gaugeID(), CurrentGaugeID, Session.ConfigChanged), std::tuple(1, 1, 1));
    // The same gauge's line brings the open dialog to the front; another
    // gauge's line of the same type opens the dialog anew for that gauge.
    EXPECT_EQ(&opened(1), &needle);
    EXPECT_EQ(valueOf(opened(4), "GaugeID"), "4");
    EXPECT_EQ(std::tuple(CurrentGaugeID, DefaultForm<ConfigGaugeSN>::get().gaugeID()), std::tuple(4, 4));
    EXPECT_EQ(static_cast<ConfigIOM&>(opened(10)).GaugeID, 10);
    EXPECT_EQ(valueOf(opened(77), "GaugeID"), "77");
    EXPECT_EQ(CurrentGaugeTypeName, "Unknown");
    Form& attitude = opened(23);
    attitude.Form_Activate();
    EXPECT_EQ(valueOf(attitude, "BoxModel"), "2");
    EXPECT_EQ(valueOf(opened(130), "OptionHasDME"), "on");
    EXPECT_EQ(link_.sent.back(), (SentCommand{130, 13, 0x500}));

    const std::tuple<int, const char*, const char*> shown[] = {
        {16, "ComboSeqNr", "3"}, {16, "ComboSeqNr1", "4"}, {22, "OptionAltDigits3", "on"}, {41, "Option2", "on"},
        {36, "boxDefaultFreqNav", "113,000"}, {53, "OptionLocalDME2", "on"}, {55, "BoxGaugename", "Bendix/King Audio Panel"}};
    for (auto [id, control, value] : shown)
        EXPECT_EQ(valueOf(opened(id), control), value) << id << " " << control;

    // A replaced opener gets the context; an empty one leaves the unknown
    // device window.
    std::vector<std::pair<int, std::string>> opened;
    SetGaugeDialogOpener("ConfigGaugeDN", [&] { opened.emplace_back(CurrentGaugeID, CurrentGaugeTypeName); });
    OpenGaugeDialog(14);
    EXPECT_EQ(opened, (std::vector<std::pair<int, std::string>>{{14, "Large gauge; Dual Needle Concentric "}}));
    SetGaugeDialogOpener("ConfigGaugeDN", {});
    OpenGaugeDialog(14);
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_TRUE(DefaultForm<frmConfigUnknown>::loaded());
}

// Every dialog the list opens: Tab walks its controls as its layout places
// them, Uninstall asks with No as the default button, Escape is Cancel.
TEST_F(DialogsOpen, EveryDialogTabsInLayoutOrderUninstallDefaultsToNoAndEscapeCancels)
{
    for (const std::string& line : listLines(screen(), "Configlist")) {
        const int id = GaugeIDOfLine(line);
        const std::string_view name = GaugeDialogName(Cfg.GaugeRecType[id], Cfg.GaugeRecVersion[id]);
        SCOPED_TRACE(std::string(name));
        QPointer<Form> dialog(&opened(id));
        EXPECT_EQ(backwardTab(*dialog), "");
        if (qobject_cast<GaugeDialog*>(dialog) && name != "ConfigGaugeAD") {
            messages_.expectYesNoDefaultNo(kUninstallQuestion, false);
            click(*dialog, "CmdUninstall");
        }
        press(*dialog, Qt::Key_Escape);
        flushDeletes();
        EXPECT_TRUE(dialog.isNull());
        EXPECT_NE(Cfg.GaugeRecType[id], 0);
    }
}

} // namespace
} // namespace varnet
