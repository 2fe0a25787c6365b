#include "iomodules/ioentries.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace varnet {
namespace {

constexpr int kModule = kStandAloneIOM1;

class IOEntries : public ::testing::Test {
protected:
    IOEntryForm sw(int number, const QString& on = "100", const QString& off = "0")
    {
        IOEntryForm f;
        f.kind = IOEntrySwitch;
        f.number = number;
        f.function = 51;
        f.category = 6;
        std::tie(f.valueOn, f.valueOff) = std::tuple(on, off);
        return f;
    }

    std::optional<QString> storeNew(const IOEntryForm& f, int gaugeID = kModule)
    {
        s.IOEntryIndex = 0;
        return StoreIOEntry(t, s, gaugeID, f);
    }

    ConfigTables t;
    SessionState s;
};

TEST_F(IOEntries, NewEntriesGrowTheTableByOneRowWithASpareEditsStayInPlaceDeletesKeepTheRow)
{
    ASSERT_FALSE(storeNew(sw(5)));
    EXPECT_EQ((std::tuple{t.IOEntryCount, s.IOEntryIndex, t.IOEntryGaugeID.size(), t.IOEntryKeyOff.size(),
                          s.ConfigChanged}),
              (std::tuple{2, 1, 3u, 3u, 1}));
    ASSERT_FALSE(storeNew(sw(6), 7));
    EXPECT_EQ((std::tuple{t.IOEntryCount, s.IOEntryIndex, FindIOEntry(t, 7, IOEntrySwitch, 6),
                          FindIOEntry(t, kModule, IOEntrySwitch, 6)}),
              (std::tuple{3, 2, 2, 0}));

    // An edit of row 1 keeps its row and the switch type the file gave it.
    t.IOEntryType[1] = 3;
    s.IOEntryIndex = 1;
    ASSERT_FALSE(StoreIOEntry(t, s, kModule, sw(5, "-1", "25")));
    EXPECT_EQ((std::tuple{t.IOEntryCount, t.IOEntryValue1[1], t.IOEntryValue2[1], t.IOEntryType[1]}),
              (std::tuple{3, -1.0f, 25.0f, 3}));

    // A second entry for the same switch is refused, whatever row is edited.
    EXPECT_EQ(storeNew(sw(5)), QString(kOneEntryRule));
    s.IOEntryIndex = 2;
    EXPECT_EQ(StoreIOEntry(t, s, 7, sw(6)), std::nullopt);
    s.IOEntryIndex = 1;
    EXPECT_EQ(StoreIOEntry(t, s, kModule, sw(9)), std::nullopt);
    EXPECT_EQ(t.IOEntryNumber[1], 9);

    s.IOEntryIndex = 1;
    s.ConfigChanged = 0;
    DeleteIOEntry(t, s);
    EXPECT_EQ((std::tuple{t.IOEntryCount, t.IOEntryGaugeID[1], s.IOEntryIndex, s.ConfigChanged,
                          FindIOEntry(t, kModule, IOEntrySwitch, 9)}),
              (std::tuple{3, 0, 0, 1, 0}));
    ASSERT_FALSE(storeNew(sw(9)));
    EXPECT_EQ((std::tuple{t.IOEntryCount, s.IOEntryIndex}), (std::tuple{4, 3}));
}

TEST_F(IOEntries, EveryFieldIsCheckedBeforeAnythingIsStored)
{
    const auto analogue = [](QString min, QString centre, QString max, QString threshold = "4") {
        IOEntryForm f;
        std::tie(f.kind, f.function, f.minimum, f.centre, f.maximum, f.threshold) =
            std::tuple(IOEntryAnalogue, 52, min, centre, max, threshold);
        return f;
    };
    const auto led = [](QString crossover, QString freeValue) {
        IOEntryForm f;
        std::tie(f.kind, f.function, f.crossover, f.freeValue) = std::tuple(IOEntryLED, 53, crossover, freeValue);
        return f;
    };
    IOEntryForm noFunction = sw(1);
    noFunction.function = 0;
    IOEntryForm stepsNowhere = sw(1, "1", "-1");
    std::tie(stepsNowhere.mode, stepsNowhere.stepOn, stepsNowhere.stepOff) =
        std::tuple(SwitchMode::Increment, false, false);
    IOEntryForm stepComma = stepsNowhere;
    std::tie(stepComma.stepOn, stepComma.valueOn) = std::tuple(true, QString("0,5"));

    const std::vector<std::pair<IOEntryForm, const char*>> refused = {
        {noFunction, kFunctionRule},
        {sw(1, "101"), kSwitchValueRule},
        {sw(1, "50", "-2"), kSwitchValueRule},
        {sw(1, "12,5"), kSwitchValueRule},
        {sw(1, ""), kSwitchValueRule},
        {stepsNowhere, kIncrementActsRule},
        {stepComma, kIncrementRule},
        {analogue("0", "0", "4096"), kRawValueRule},
        {analogue("-1", "0", "1023"), kRawValueRule},
        {analogue("0", "0", "1,5"), kRawValueRule},
        {analogue("100", "0", "100"), kRawRangeRule},
        {analogue("0", "0", "0"), kRawRangeRule},
        {analogue("0", "1023", "1023"), kCentreRule},
        {analogue("10", "10", "1023"), kCentreRule},
        {analogue("0", "512", "1023", "-1"), kThresholdRule},
        {led("101", "0"), kCrossoverRule},
        {led("50", "1.5"), kFreeValueRule},
        {led("50", "40000"), kFreeValueRule},
    };
    for (const auto& [form, rule] : refused) {
        s.ConfigChanged = 0;
        EXPECT_EQ(storeNew(form), QString(rule)) << rule;
        EXPECT_EQ((std::tuple{t.IOEntryCount, s.ConfigChanged}), (std::tuple{0, 0})) << rule;
    }
    EXPECT_FALSE(storeNew(analogue("0", "512", "1023")));
    EXPECT_FALSE(storeNew(led("50", "-3")));
}

TEST_F(IOEntries, EachKindReadsBackAsStoredAndSaysWhatItDoes)
{
    t.FunctionNames[51] = "Gear";
    t.FunctionNames[52] = "Throttle";
    t.FunctionNames[53] = "Gear light";
    IOEntryForm step = sw(2, "1", "-0.5");
    std::tie(step.mode, step.stepOn, step.stepOff, step.selector) = std::tuple(SwitchMode::Increment, true, true, 3);
    IOEntryForm key = sw(3);
    std::tie(key.mode, key.keyOn, key.keyOff) = std::tuple(SwitchMode::Keystroke, 0x8800, 0x0161);
    IOEntryForm channel;
    std::tie(channel.kind, channel.number, channel.function, channel.minimum, channel.centre, channel.maximum,
             channel.threshold) = std::tuple(IOEntryAnalogue, 4, 52, "10", "2048", "4000", "6");
    IOEntryForm lamp;
    std::tie(lamp.kind, lamp.number, lamp.function, lamp.atMaximum, lamp.aboveCrossover, lamp.crossover, lamp.invert) =
        std::tuple(IOEntryLED, 17, 53, false, true, "12.5", true);

    const std::vector<std::pair<IOEntryForm, QString>> cases = {
        {sw(1, "100", "-1"), "Switch 01  051.  Gear   on: 100 %  off: --"},
        {step, "Switch 02  051.  Gear   step on: +1 off: -0.5"},
        {key, "Switch 03  key on: Ctrl+ENTER  off: a"},
        {channel, "Analogue 4 052.  Throttle   raw 10..4000 centre 2048  threshold 6"},
        {lamp, "LED 17     053.  Gear light   lit above 12.5 %, inverted"},
    };
    for (const auto& [form, line] : cases) {
        ASSERT_FALSE(storeNew(form)) << line.toStdString();
        IOEntryForm expected = form;
        if (form.mode == SwitchMode::Keystroke)
            std::tie(expected.function, expected.category, expected.valueOn, expected.valueOff) =
                std::tuple(0, 0, "0", "0");
        EXPECT_EQ(ReadIOEntryForm(t, s.IOEntryIndex, form.kind, form.number), expected) << line.toStdString();
        EXPECT_EQ(IOEntryLine(t, kModule, form.kind, form.number), line);
    }
    EXPECT_EQ(t.IOEntrySeqNr[3], kKeystrokeSeqNr);
    EXPECT_EQ(t.IOEntryKeyOn[3], Integer(std::uint16_t(0x8800)));
    EXPECT_EQ(IOEntryLine(t, kModule, IOEntryLED, 16), "LED 16     --");
    // A new entry starts from the window's defaults.
    EXPECT_EQ(ReadIOEntryForm(t, 0, IOEntryLED, 9).atMaximum, true);
}

TEST(IOEntryFunctions, AKindOffersItsSignalTypesAndTheEntrysOwnFunctionOfTheCategory)
{
    ConfigTables t;
    constexpr int kCockpit = 6;
    constexpr int kEngines = 4;
    const auto function = [&](int f, int signal, int category) {
        t.FunctionNames[std::size_t(f)] = "F" + std::to_string(f);
        std::tie(t.FunctionSignalType[std::size_t(f)], t.FunctionCategory[std::size_t(f)]) =
            std::tuple(Byte(signal), Byte(category));
    };
    function(51, kSignalInputSwitch, kCockpit);
    function(52, kSignalInputAnalogue, kEngines);
    function(53, kSignalOutputLED, kCockpit);
    function(54, kSignalGauge, kCockpit);
    function(55, kSignalInputSwitch, kCockpit);

    const struct {
        int kind, function;
        std::vector<int> listed;
    } cases[] = {
        {IOEntrySwitch, 0, {51, 55}},
        // A gauge function a switch does not offer, kept in number order.
        {IOEntrySwitch, 54, {51, 54, 55}},
        // Another category's function is not the list's.
        {IOEntrySwitch, 52, {51, 55}},
        {IOEntryLED, 53, {53, 54}},
        {IOEntryLED, 51, {51, 53, 54}},
    };
    for (const auto& c : cases) {
        const ListItems items = IOEntryFunctionItems(t, c.kind, kCockpit, c.function);
        EXPECT_EQ(items.numbers, c.listed) << c.kind << " " << c.function;
        EXPECT_EQ(items.texts.size(), qsizetype(c.listed.size()));
    }
}

TEST(KeyCodes, APressedKeyBecomesItsCodeAndItsLabel)
{
    struct Case {
        int key;
        QString text;
        bool shift, ctrl;
        std::optional<int> code;
        QString label;
    };
    const std::vector<Case> cases = {
        {Qt::Key_A, "a", false, false, 0x0161, "a"},
        {Qt::Key_A, "A", true, false, 0x0141, "A"},
        {Qt::Key_A, "\x01", false, true, 0x8161, "Ctrl+a"},
        {Qt::Key_Percent, "%", true, false, 0x0125, "%"},
        {Qt::Key_Space, " ", false, false, 0x0120, "SPACE"},
        {Qt::Key_Return, "\r", false, true, 0x8800, "Ctrl+ENTER"},
        {Qt::Key_Escape, "\x1b", false, false, 0x0900, "ESC"},
        {Qt::Key_Tab, "\t", false, false, 0x1400, "TAB"},
        {Qt::Key_F1, "", true, false, 0x5600, "Shift+F1"},
        {Qt::Key_F16, "", false, false, 0x2500, "F16"},
        {Qt::Key_Shift, "", true, false, std::nullopt, ""},
        {Qt::Key_F20, "", false, false, std::nullopt, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeyCodeOfKey(c.key, c.text, c.shift, c.ctrl), c.code) << c.label.toStdString();
        if (c.code) {
            EXPECT_EQ(KeyLabel(Integer(std::uint16_t(*c.code))), c.label);
        }
    }
    EXPECT_EQ((std::tuple{KeyLabel(0), KeyLabel(0xC000), KeyLabel(38 << 8)}), (std::tuple{"NONE", "NONE", "NONE"}));
}

TEST(DebounceTime, KeepsItsRule)
{
    SessionState s;
    EXPECT_EQ(s.IODebounceTime, 3);
    for (const char* wrong : {"21", "-1", "2,5", "2.5", ""}) {
        EXPECT_EQ(SetDebounceTime(s, wrong), QString(kDebounceRule)) << wrong;
        EXPECT_EQ(s.IODebounceTime, 3);
    }
    EXPECT_FALSE(SetDebounceTime(s, " 20 "));
    EXPECT_EQ(s.IODebounceTime, 20);
}

} // namespace
} // namespace varnet
