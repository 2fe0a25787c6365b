// The I/O-module window as a cockpit builder works it: lines clicked, values
// typed, keys pressed, entries saved to a file and loaded again, and the
// module tested live on its port.

#include "bus/deviceports.h"
#include "bus/gaugebus_fixture.h"
#include "bus/gaugeframes.h"
#include "config/configfile.h"
#include "iomodules/configiom.h"
#include "iomodules/iomodulelink.h"
#include "iomodules/iomwindow.h"
#include "platform/wait.h"
#include "support/fake_serial_port.h"
#include "support/scripted_messages.h"

#include <QCheckBox>
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <tuple>
#include <utility>
#include <vector>

namespace varnet {
namespace {

using testing::click;
using testing::clickLine;
using testing::child;
using testing::hexBytes;
using testing::line;
using testing::type;

constexpr const char* kUnsaved = "Updates are not saved yet; Continue?";
constexpr int kCockpit = 6;
constexpr int kEngines = 1;

// The I/O entry columns that the file stores, rows 0..count-1.
auto storedEntries(const ConfigTables& t)
{
    const auto rows = [&t](const auto& column) { return std::vector(column.begin(), column.begin() + t.IOEntryCount); };
    return std::tuple{t.IOEntryCount,       rows(t.IOEntryGaugeID), rows(t.IOEntryKind),   rows(t.IOEntryNumber),
                      rows(t.IOEntryCategory), rows(t.IOEntryFunction), rows(t.IOEntrySeqNr), rows(t.IOEntryValue1),
                      rows(t.IOEntryValue2), rows(t.IOEntryType),     rows(t.IOEntryFlags),  rows(t.IOEntryLastValue),
                      rows(t.IOEntryKeyOn),  rows(t.IOEntryKeyOff)};
}

class ConfigIOMWindow : public testing::GaugeBusTest {
protected:
    void SetUp() override
    {
        GaugeBusTest::SetUp();
        LoadConstantTables(Cfg);
        const auto function = [](int f, const char* name, int signal, int category) {
            Cfg.FunctionNames[f] = name;
            Cfg.FunctionFullName[f] = std::string(name) + " (full)";
            std::tie(Cfg.FunctionSignalType[f], Cfg.FunctionCategory[f], Cfg.FunctionMaximum[f]) =
                std::tuple(Byte(signal), Byte(category), 1.0f);
        };
        function(51, "Gear", 1, kCockpit);
        function(52, "Throttle", 2, kEngines);
        function(53, "Gear light", 3, kCockpit);
        function(54, "Gear needle", 4, kCockpit);
        std::tie(Cfg.ComPortGauges, Cfg.ComPortIOM) = std::tuple(1, 5);
        ConfigIOM::ShowConfigurationScreen = [this] { ++screenShown; };
        Session = SessionState{};
    }

    void TearDown() override
    {
        DefaultForm<ConfigIOM>::unload();
        ConfigIOM::ShowConfigurationScreen = nullptr;
        GaugeBusTest::TearDown();
        Session = SessionState{};
    }

    ConfigIOM& open(int gaugeID)
    {
        CurrentGaugeID = Integer(gaugeID);
        ConfigIOM& w = DefaultForm<ConfigIOM>::get();
        w.show();
        return w;
    }

    static QStringList comboItems(ConfigIOM& w, const char* name)
    {
        QStringList items;
        auto* combo = child<QComboBox>(w, name);
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        return items;
    }

    int screenShown = 0;
    testing::FakeSerialPorts fakes;
    testing::ScriptedMessages boxes;
};

TEST_F(ConfigIOMWindow, EntriesTypedAndClickedAreSavedLoadedAgainAndShownAsTheyWere)
{
    ConfigIOM& w = open(kStandAloneIOM1);

    // Switch 5 sets the gear: only switch functions are offered.
    clickLine(w, 5);
    child<QComboBox>(w, "ComboClass")->setCurrentIndex(kCockpit);
    EXPECT_EQ(comboItems(w, "ComboFunction"), QStringList{"051.  Gear"});
    child<QComboBox>(w, "ComboFunction")->setCurrentIndex(0);
    EXPECT_EQ(child<QLineEdit>(w, "FunctionFullName")->text(), "Gear (full)");
    type(w, "boxValueOn", "100");
    type(w, "boxValueOff", "-1");
    click(w, "cmdSaveEntry");
    EXPECT_EQ(line(w, 5), "Switch 05  051.  Gear   on: 100 %  off: --");

    // Switch 7 types Shift+F1 and, switching off, Escape: the key box takes
    // Escape and the window stays open.
    clickLine(w, 7);
    click(w, "OptionKeystroke");
    EXPECT_FALSE(child<QComboBox>(w, "ComboFunction")->isEnabled()) << "a key entry has no function";
    QTest::keyClick(child<QLineEdit>(w, "boxKeyOn"), Qt::Key_F1, Qt::ShiftModifier);
    QTest::keyClick(child<QLineEdit>(w, "boxKeyOff"), Qt::Key_Escape);
    EXPECT_TRUE(DefaultForm<ConfigIOM>::loaded());
    click(w, "cmdSaveEntry");
    EXPECT_EQ(line(w, 7), "Switch 07  key on: Shift+F1  off: ESC");

    // LED 17 lights above 12.5 %; a typed comma is refused with the rule.
    child<QComboBox>(w, "ComboKind")->setCurrentIndex(2);
    clickLine(w, 17);
    child<QComboBox>(w, "ComboClass")->setCurrentIndex(kCockpit);
    EXPECT_EQ(comboItems(w, "ComboFunction"), (QStringList{"053.  Gear light", "054.  Gear needle"}));
    child<QComboBox>(w, "ComboFunction")->setCurrentIndex(0);
    click(w, "CheckAboveCrossover");
    click(w, "CheckAtMaximum");
    type(w, "boxCrossover", "12,5");
    boxes.expectOk(kCrossoverRule);
    click(w, "cmdSaveEntry");
    EXPECT_EQ(std::tuple(line(w, 17), Cfg.IOEntryCount), std::tuple("LED 17     --", Integer(3)));
    type(w, "boxCrossover", "12.5");
    click(w, "cmdSaveEntry");
    EXPECT_EQ(line(w, 17), "LED 17     053.  Gear light   lit above 12.5 %");

    // Analogue 2 with a centre.
    child<QComboBox>(w, "ComboKind")->setCurrentIndex(1);
    clickLine(w, 2);
    child<QComboBox>(w, "ComboClass")->setCurrentIndex(kEngines);
    child<QComboBox>(w, "ComboFunction")->setCurrentIndex(0);
    type(w, "boxMaximum", "1023");
    type(w, "boxCentre", "512");
    click(w, "cmdSaveEntry");
    EXPECT_EQ(line(w, 2), "Analogue 2 052.  Throttle   raw 0..1023 centre 512  threshold 4");

    // The debounce time keeps its rule.
    type(w, "boxDebounce", "25");
    boxes.expectOk(kDebounceRule);
    click(w, "cmdSetDebounce");
    EXPECT_EQ(std::tuple(child<QLineEdit>(w, "boxDebounce")->text(), Session.IODebounceTime), std::tuple("3", 3));
    EXPECT_EQ((std::tuple{Cfg.IOEntryCount, Session.ConfigChanged}), (std::tuple{5, 1}));

    // Saved and loaded again, the entries are the same.
    const QStringList switches = [&] {
        child<QComboBox>(w, "ComboKind")->setCurrentIndex(0);
        QStringList lines;
        for (int row = 0; row < 48; ++row)
            lines << line(w, row);
        return lines;
    }();
    const auto saved = storedEntries(Cfg);
    ASSERT_TRUE(testing::saveAndLoadAgain("iom.cfg"));
    EXPECT_EQ(storedEntries(Cfg), saved);
    LoadConstantTables(Cfg);

    // Closing with stored entries not saved asks first; after a save it
    // does not, and the configuration screen comes back.
    Session.ConfigChanged = 1;
    boxes.expectYesNoDefaultNo(kUnsaved, false);
    click(w, "cmdClose");
    ASSERT_TRUE(DefaultForm<ConfigIOM>::loaded());
    Session.ConfigChanged = 0;
    click(w, "cmdClose");
    EXPECT_EQ(std::tuple(DefaultForm<ConfigIOM>::loaded(), screenShown), std::tuple(false, 1));

    ConfigIOM& again = open(kStandAloneIOM1);
    QStringList reloaded;
    for (int row = 0; row < 48; ++row)
        reloaded << line(again, row);
    EXPECT_EQ(reloaded, switches);
    // The line opens its entry for editing, in place.
    clickLine(again, 5);
    EXPECT_EQ((std::tuple{Session.IOEntryIndex, child<QLineEdit>(again, "boxValueOff")->text(),
                          child<QComboBox>(again, "ComboFunction")->currentText()}),
              (std::tuple{1, "-1", "051.  Gear"}));
}

TEST_F(ConfigIOMWindow, FieldEditsNotStoredAreNotLostWithoutAQuestionDeleteFreesTheLine)
{
    ConfigIOM& w = open(7);
    EXPECT_TRUE(child<QLabel>(w, "Label1")->text().startsWith("I/O module GaugeID 7 on the gauge bus: "));
    EXPECT_FALSE(child<QLineEdit>(w, "boxDebounce")->isEnabled());
    clickLine(w, 1);
    child<QComboBox>(w, "ComboClass")->setCurrentIndex(kCockpit);
    child<QComboBox>(w, "ComboFunction")->setCurrentIndex(0);
    click(w, "cmdSaveEntry");
    type(w, "boxValueOn", "50");
    // Another line, or closing, asks; No keeps the typed value.
    boxes.expectYesNoDefaultNo(kUnsaved, false);
    clickLine(w, 2);
    boxes.expectYesNoDefaultNo(kUnsaved, false);
    w.close();
    EXPECT_EQ((std::tuple{DefaultForm<ConfigIOM>::loaded(), w.Number(), child<QLineEdit>(w, "boxValueOn")->text()}),
              (std::tuple{true, 1, "50"}));

    boxes.expectYesNoDefaultNo(kUnsaved, true);
    clickLine(w, 2);
    clickLine(w, 1);
    EXPECT_EQ(child<QLineEdit>(w, "boxValueOn")->text(), "100");
    click(w, "cmdDeleteEntry");
    EXPECT_EQ((std::tuple{Cfg.IOEntryGaugeID[1], line(w, 1), Session.IOEntryIndex}),
              (std::tuple{0, "Switch 01  --", 0}));
}

TEST_F(ConfigIOMWindow, AnotherKindAsksBeforeAnEditNotStoredIsDroppedNoKeepsKindLineAndTypedText)
{
    ConfigIOM& w = open(kStandAloneIOM1);
    auto* kind = child<QComboBox>(w, "ComboKind");
    clickLine(w, 4);
    type(w, "boxValueOn", "37.5");

    // No: the switches stay, on the same line, with the text as typed. A
    // second box would fail the script.
    boxes.expectYesNoDefaultNo(kUnsaved, false);
    kind->setCurrentIndex(2);
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_EQ((std::tuple{kind->currentIndex(), w.Kind(), w.Number(),
                          child<QListWidget>(w, "ListEntries")->currentRow(),
                          child<QListWidget>(w, "ListEntries")->count(), child<QLineEdit>(w, "boxValueOn")->text()}),
              (std::tuple{0, int(IOEntrySwitch), 4, 4, 48, QString("37.5")}));

    // The edit still counts, so the kind chosen from the keyboard asks
    // again; Yes: the analogue inputs from their first line, the edit gone.
    boxes.expectYesNoDefaultNo(kUnsaved, true);
    kind->setFocus();
    QTest::keyClick(kind, Qt::Key_Down);
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_EQ((std::tuple{kind->currentIndex(), w.Kind(), w.Number(), child<QListWidget>(w, "ListEntries")->count(),
                          child<QLabel>(w, "LabelEntry")->text()}),
              (std::tuple{1, int(IOEntryAnalogue), 0, 8, QString("Analogue 0: no entry yet")}));
    // Nothing edited now: back to the switches without a question.
    kind->setCurrentIndex(0);
    clickLine(w, 4);
    EXPECT_EQ(child<QLineEdit>(w, "boxValueOn")->text(), "100");
}

// Every stored column of row e, by name.
std::vector<std::pair<const char*, double>> storedColumns(const ConfigTables& t, std::size_t e)
{
    return {{"GaugeID", t.IOEntryGaugeID[e]},   {"Kind", t.IOEntryKind[e]},         {"Number", t.IOEntryNumber[e]},
            {"Category", t.IOEntryCategory[e]}, {"Function", t.IOEntryFunction[e]}, {"SeqNr", t.IOEntrySeqNr[e]},
            {"Value1", t.IOEntryValue1[e]},     {"Value2", t.IOEntryValue2[e]},     {"Type", t.IOEntryType[e]},
            {"Flags", t.IOEntryFlags[e]},       {"LastValue", t.IOEntryLastValue[e]},
            {"KeyOn", t.IOEntryKeyOn[e]},       {"KeyOff", t.IOEntryKeyOff[e]}};
}

TEST_F(ConfigIOMWindow, EveryStoredEntryIsShownAsItIsAndStoredUnchangedWritesItsRowBackAsItWas)
{
    // Entries as a stored file holds them. Within each kind they are opened
    // in list order, so that each step flag, key, LED condition and the
    // invert flag is shown set right after an entry where it was clear, and
    // clear right after one where it was set.
    struct Entry {
        int kind, number, category, function, seqNr;
        float value1, value2;
        int type, flags;
        float lastValue;
        int keyOn, keyOff;
    };
    constexpr int kShiftF1 = 0x5600, kEscape = 0x0900, kCtrlA = 0x8161;
    const std::vector<Entry> entries = {
        // Switches: increment on and off, a key, increment on only, off
        // only, absolute (a gauge function is the entry's own), a key.
        {IOEntrySwitch, 0, kCockpit, 51, 2, 1, -0.5f, 0, kStepOnSwitchingOn | kStepOnSwitchingOff, 0, 0, 0},
        {IOEntrySwitch, 3, 0, 0, kKeystrokeSeqNr, 0, 0, 0, 0, 0, kShiftF1, kEscape},
        {IOEntrySwitch, 8, kCockpit, 51, 4, 2.5f, 0, 3, kStepOnSwitchingOn, 1, 0, 0},
        {IOEntrySwitch, 17, kCockpit, 51, 1, 0, -10, 0, kStepOnSwitchingOff, 0, 0, 0},
        {IOEntrySwitch, 30, kCockpit, 54, 3, -1, 37.5f, 3, 0, 0, 0, 0},
        {IOEntrySwitch, 47, 0, 0, kKeystrokeSeqNr, 0, 0, 0, 0, 0, Integer(std::uint16_t(kCtrlA)), 0},
        // Analogue inputs: with a centre, without one.
        {IOEntryAnalogue, 0, kEngines, 52, 2, 10, 2048, 4000, 0, 512, 0, 6},
        {IOEntryAnalogue, 7, kEngines, 52, 1, 0, 0, 1023, 0, 0, 0, 0},
        // LEDs: the last a switch-and-LED entry, which the LED list shows.
        {IOEntryLED, 0, kCockpit, 53, 3, 12.5f, 0, -3, kIOInvert, 1,
         kLitAtMinimum | kLitAboveCrossover | kLitAtFreeValue, 0},
        {IOEntryLED, 7, kCockpit, 54, 1, 50, 0, 0, 0, 0, kLitAtMaximum, 0},
        {IOEntryLED, 20, kCockpit, 53, 4, 0.1f, 0, 250, kIOInvert, 0,
         kLitAtMinimum | kLitAtMaximum | kLitAboveCrossover | kLitAtFreeValue, 0},
        {IOEntrySwitchAndLED, 31, kCockpit, 53, 2, 100, 0, 0, 0, 0, 0, 0},
    };
    for (const Entry& n : entries) {
        const auto e = std::size_t(Cfg.AddIOEntry());
        std::tie(Cfg.IOEntryGaugeID[e], Cfg.IOEntryKind[e], Cfg.IOEntryNumber[e], Cfg.IOEntryCategory[e],
                 Cfg.IOEntryFunction[e], Cfg.IOEntrySeqNr[e], Cfg.IOEntryValue1[e], Cfg.IOEntryValue2[e],
                 Cfg.IOEntryType[e], Cfg.IOEntryFlags[e], Cfg.IOEntryLastValue[e], Cfg.IOEntryKeyOn[e],
                 Cfg.IOEntryKeyOff[e]) =
            std::tuple(Integer(kStandAloneIOM1), Integer(n.kind), Integer(n.number), Integer(n.category),
                       Integer(n.function), Byte(n.seqNr), n.value1, n.value2, Integer(n.type), Integer(n.flags),
                       n.lastValue, Integer(n.keyOn), Integer(n.keyOff));
    }
    std::vector<std::vector<std::pair<const char*, double>>> before;
    for (std::size_t e = 1; e <= entries.size(); ++e)
        before.push_back(storedColumns(Cfg, e));

    ConfigIOM& w = open(kStandAloneIOM1);
    auto* kind = child<QComboBox>(w, "ComboKind");
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int shownKind = entries[i].kind == IOEntrySwitchAndLED ? IOEntryLED : entries[i].kind;
        if (kind->currentIndex() != shownKind - IOEntrySwitch)
            kind->setCurrentIndex(shownKind - IOEntrySwitch);
        clickLine(w, entries[i].number);
        EXPECT_EQ(Session.IOEntryIndex, int(i + 1));
        click(w, "cmdSaveEntry");
    }
    EXPECT_EQ(Cfg.IOEntryCount, Integer(entries.size() + 1));
    for (std::size_t e = 1; e <= entries.size(); ++e) {
        const auto after = storedColumns(Cfg, e);
        for (std::size_t c = 0; c < after.size(); ++c)
            EXPECT_EQ(after[c].second, before[e - 1][c].second) << "row " << e << " " << after[c].first;
    }
}

TEST_F(ConfigIOMWindow, AnotherModuleReopensTheWindowForItAfterTheQuestionAboutEditsNotStored)
{
    ConfigIOM& first = open(kStandAloneIOM1);
    type(first, "boxValueOn", "50");
    CurrentGaugeID = kStandAloneIOM2;
    boxes.expectYesNoDefaultNo(kUnsaved, false);
    ConfigIOM::Open();
    EXPECT_EQ(DefaultForm<ConfigIOM>::get().GaugeID, kStandAloneIOM1);
    boxes.expectYesNoDefaultNo(kUnsaved, true);
    ConfigIOM::Open();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ((std::tuple{DefaultForm<ConfigIOM>::get().GaugeID, DefaultForm<ConfigIOM>::get().isVisible(), screenShown}),
              (std::tuple{kStandAloneIOM2, true, 0}));
    // The same module only comes to the front.
    ConfigIOM& second = DefaultForm<ConfigIOM>::get();
    ConfigIOM::Open();
    EXPECT_EQ(&DefaultForm<ConfigIOM>::get(), &second);
}

TEST_F(ConfigIOMWindow, StandAloneModuleShowsItsInputsLiveAndLightsAnyLED)
{
    OpenComPorts();
    ConfigIOM& w = open(kStandAloneIOM1);
    testing::FakeSerialPort* port = fakes.port(5);
    ASSERT_TRUE(port && port->isOpen());
    click(w, "cmdTest");
    const QByteArray poll = *GaugeBusFrame(10, 6, 0);
    ASSERT_TRUE(waitUntil([&] { return port->writes().contains(poll); }, 1000));

    // Switches 0 and 23 on; channel 0 = 0x134, channel 1 = 0x2FF.
    port->inject(hexBytes("00 0A 0A 00 00 80 00 01 00 00 00 00 12 00 00 00 34 FF 00 00 00 00 00 00 FF"));
    ASSERT_TRUE(waitUntil([&] { return !child<QLabel>(w, "LabelSwitches")->text().isEmpty(); }, 1000));
    EXPECT_EQ(child<QLabel>(w, "LabelSwitches")->text(), "0..47: 10000000 00000000  00000001 00000000  00000000 00000000");
    EXPECT_TRUE(child<QLabel>(w, "LabelChannels")->text().startsWith("0: 308  1: 767  2:   0"));

    type(w, "boxTestLED", "32");
    boxes.expectOk("An LED output must be between 0 and 31");
    click(w, "cmdLEDOn");
    type(w, "boxTestLED", "3");
    click(w, "cmdLEDOn");
    type(w, "boxTestLED", "20");
    click(w, "cmdLEDOn");
    ASSERT_TRUE(waitUntil([&] { return port->writes().contains(*GaugeBusFrame(10, 5, 2048)); }, 1000));
    EXPECT_TRUE(port->writes().contains(*GaugeBusFrame(10, 4, 4096)));

    // Closing stops the test: beyond a poll already queued, nothing more is
    // asked.
    click(w, "cmdClose");
    waitMs(150);
    port->clearWrites();
    waitMs(250);
    EXPECT_TRUE(port->writes().isEmpty());
}

TEST_F(ConfigIOMWindow, BusModuleIsTestedThroughTheSharedSendPath)
{
    gauge(12, 10);
    OpenComPorts();
    runWindow();
    ConfigIOM& w = open(12);
    testing::FakeSerialPort* bus = fakes.port(1);
    ASSERT_TRUE(bus && bus->isOpen());
    click(w, "cmdTest");
    ASSERT_TRUE(waitUntil([&] { return bus->writes().contains(*StatusRequestFrame(12)); }, 1000));
    bus->inject(hexBytes("00 0C 0A 00 00 00 00 00 00 00 03 00 00 00 00 F0 00 00 00 00 00 00 00 09 FF"));
    ASSERT_TRUE(waitUntil([&] { return !child<QLabel>(w, "LabelSwitches")->text().isEmpty(); }, 1000));
    EXPECT_TRUE(child<QLabel>(w, "LabelSwitches")->text().endsWith("00000011"));
    EXPECT_TRUE(child<QLabel>(w, "LabelChannels")->text().endsWith("6:3840  7:   9"));
    type(w, "boxTestLED", "0");
    click(w, "cmdLEDOn");
    EXPECT_TRUE(waitUntil([&] { return bus->writes().contains(*GaugeBusFrame(12, 4, 32768)); }, 1000));
}

} // namespace
} // namespace varnet
