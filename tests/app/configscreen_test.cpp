#include "configscreen_fixture.h"
#include "gauges/dialogkit.h"

namespace varnet {
namespace {

using namespace varnet::testing;

TEST(GaugeList, LinesShowTypeFunctionsAndConnectionInGaugeIDOrder)
{
    ConfigTables t;
    SessionState s;
    LoadConstantTables(t);
    t.FunctionNames[60] = "Airspeed indicator knots";
    t.FunctionNames[7] = "Flaps";
    // Type 77: a code no row 1..50 holds; rows past 50 do not name list lines.
    GaugeRecord{.type = 77, .model = 1, .version = 12, .function1 = 301, .function2 = 7, .seqNr2 = 1}.Write(t, 40, Field::All);
    GaugeRecord{.type = 1, .model = 2, .version = 3, .function1 = 60, .seqNr1 = 2}.Write(t, 5, Field::All);
    GaugeRecord{.type = 10, .model = 1, .version = 4}.Write(t, 17, Field::All);
    GaugeRecord{.type = 130, .model = 100, .version = 123}.Write(t, 255, Field::All);
    std::tie(s.GaugeRecBusStatus[40], s.GaugeRecBusStatus[5]) = std::tuple(1, 2);
    std::tie(t.GaugeTypeNumbers[60], t.GaugeTypeNames[60]) = std::tuple(77, "Row sixty");
    EXPECT_EQ(GaugeListLines(t, s), (std::vector<std::string>{
                                        " 005    Small gauge; Single Needle \t02\t03\tAirspeed indic #2\t\tConnected",
                                        " 017    Input/Output module\t01\t04\tInput/Switches\tOutput/Leds\tUnkown",
                                        " 040    Unknown\t01\t12\tError\tFlaps\tNot Connected",
                                        " 255    Radio Magnetic Indicator\t100\t123\tNot Assigned\t\tUnkown",
                                    }));

    // An I/O module with functions shows them; the last matching type row wins.
    GaugeRecord{.type = 10, .model = 1, .version = 1, .function2 = 7, .seqNr2 = 3}.Write(t, 9, Field::All);
    std::tie(t.GaugeTypeNumbers[50], t.GaugeTypeNames[50]) = std::tuple(10, "Late row");
    EXPECT_EQ(GaugeListLine(t, s, 9), " 009    Late row\t01\t01\tInput/Switches\tFlaps #3\tUnkown");

    // The GaugeID is read back from characters two to four.
    for (auto [line, id] : {std::pair{" 042    Small gauge", 42}, {" 250   130         Radio", 250}, {"", 0}, {" ", 0},
                            {" abc", 0}, {"x", 0}})
        EXPECT_EQ(GaugeIDOfLine(line), id) << line;
}

TEST(GaugeList, FullLinesAndSearchLinesSplitIntoTheColumnsOfTheCaptions)
{
    using Columns = std::vector<std::string>;
    for (const auto& [line, columns] : std::vector<std::pair<std::string, Columns>>{
             {" 005    Small gauge; Single Needle \t02\t03\tAirspeed indic #2\t\tConnected",
              {"005", "Small gauge; Single Needle ", "02", "03", "Airspeed indic #2", "", "Connected"}},
             // A search line: the GaugeID, then the type code and name under "Device Type".
             {" 040   001         Small gauge; Single Needle ", {"040", "001         Small gauge; Single Needle "}},
             {" 001   099          Unknown ", {"001", "099          Unknown "}},
             // Whatever a line holds, its fields stay in their columns.
             {" 007\t01", {"007", "", "01"}},
             {"", {""}},
         })
        EXPECT_EQ(GaugeListColumns(line), columns) << line;

    ConfigTables t;
    SessionState s;
    LoadConstantTables(t);
    t.GaugeRecType[3] = 1;
    EXPECT_EQ(GaugeListColumns(GaugeListLine(t, s, 3)).size(), std::size(kGaugeListCaptions));
}

TEST(LightsChoices, StoredPairsSelectTheirChoiceAndAnotherChoiceIsAnEdit)
{
    for (auto [mode, mask, choice] : {std::tuple<int, int, std::optional<int>>{1, 17, 1}, {2, 0, 2}, {0, 0, 0}, {0, 32, 0},
                                      {0, 1, 3}, {0, 63, 4}, {0, 5, std::nullopt}, {3, 0, std::nullopt}})
        EXPECT_EQ(LightsChoiceFor(mode, mask), choice) << mode << "/" << mask;

    // Choosing the instrument switch over the navigation switch changes the
    // mask only; it is an edit all the same. Mask 0 means the instrument
    // switch as 32 does.
    for (auto [mode, mask, choice, changed] : {std::tuple{0, 1, 0, 1}, {1, 0, 1, 0}, {0, 32, 3, 1}, {0, 1, 3, 0},
                                               {0, 0, 0, 0}, {2, 0, 4, 1}, {0, 5, 0, 1}}) {
        ConfigTables t;
        SessionState s;
        std::tie(t.LightsMode, t.LightsMask) = std::tuple(mode, mask);
        ApplyLightsChoice(t, s, choice);
        const LightsChoice& chosen = kLightsChoices[std::size_t(choice)];
        EXPECT_EQ(std::tuple(s.ConfigChanged, t.LightsMode, t.LightsMask), std::tuple(changed, chosen.mode, chosen.mask))
            << mode << "/" << mask << " -> " << choice;
    }
}

TEST(TypedInput, NumbersMustBeInRangeAndTextBecomesSafeLatin1)
{
    // A value taken has no rule; a value refused has none but its rule.
    using Cases = std::initializer_list<std::pair<const char*, std::optional<int>>>;
    const auto check = [](NumberInput (*read)(const QString&), Cases cases, const QString& rule) {
        for (auto [text, value] : cases) {
            const NumberInput input = read(QString::fromLatin1(text));
            EXPECT_EQ(std::tuple(input.value, input.rule), std::tuple(value, value ? QString() : rule)) << text;
        }
    };
    check(ReadComPort, {{"3", 3}, {" 12 (USB)", 12}, {"", 0}, {"none", 0}, {"255", 255}, {"256", {}}, {"-1", {}},
                        {"2.5", {}}, {"99999999999", {}}}, "A COM port number must be between 0 and 255");
    check(ReadUdpPort, {{" 49000 ", 49000}, {"1", 1}, {"65535", 65535}, {"0", {}}, {"65536", {}}, {"49a", {}},
                        {"", {}}, {"-5", {}}, {"4 9", {}}}, "A UDP port must be a number between 1 and 65535");
    check(ReadProcessInterval, {{"20", 20}, {"200", 200}, {"19", {}}, {"201", {}}, {"x", {}}, {"40ms", {}}},
          "The process interval must be between 20 and 200 ms");
    // Quotes and characters beyond Latin-1: see the screen's UDP settings test.
    EXPECT_EQ(ConfigText(QStringLiteral("x\r\ny\tz")), "xyz");
}

TEST(DispatchTable, EachTypeCodeOpensItsDialogAndEveryOtherTheUnknownDeviceDialog)
{
    const std::map<int, std::string_view> dialogs{
        {1, "ConfigGaugeSN"}, {2, "ConfigGaugeSD"}, {3, "ConfigGaugeDN"}, {4, "ConfigGaugeSN"}, {5, "ConfigGaugeDN"},
        {6, "ConfigGaugeDN"}, {8, "ConfigCessnaEngineCluster"}, {10, "ConfigIOM"}, {101, "ConfigGaugeAD"},
        {103, "ConfigGaugeAI"}, {104, "ConfigBoeingClock"}, {105, "ConfigDG"}, {106, "ConfigGaugeVOR"},
        {107, "ConfigGaugeVOR"}, {108, "ConfigADF"}, {109, "ConfigCessnaClock"}, {110, "ConfigVHFRadio"},
        {111, "ConfigCL30Radio"}, {112, "configCL30Transponder"}, {113, "ConfigDME"}, {114, "ConfigTransponder737"},
        {120, "ConfigBKradio"}, {121, "ConfigBKADF"}, {122, "ConfigBKtransponder"}, {123, "ConfigBKDME"},
        {124, "ConfigBKAP"}, {125, "ConfigBKaudioPanel"}, {130, "ConfigRMI"}};
    for (int code = 0; code <= 255; ++code) {
        const auto it = dialogs.find(code);
        EXPECT_EQ(GaugeDialogName(code, 1), it != dialogs.end() ? it->second : kUnknownDeviceDialog) << code;
    }
    EXPECT_EQ(std::tuple(GaugeDialogName(101, 5), GaugeDialogName(101, 0)), std::tuple("ConfigAnalogueAltimeter", "ConfigGaugeAD"));

    // Dialogs get the type name of any row up to 127.
    ConfigTables t;
    LoadConstantTables(t);
    std::tie(t.GaugeTypeNumbers[90], t.GaugeTypeNames[90]) = std::tuple(140, "Custom panel");
    EXPECT_EQ(std::tuple(DialogTypeName(t, 140), DialogTypeName(t, 3), DialogTypeName(t, 141)),
              std::tuple("Custom panel", "Small gauge; Dual Needle ", "Unknown"));
}

TEST(ConfigUnknown, UninstallFreesTheGaugeIDButKeepsTheSecondFunctionAndPlates)
{
    const ConfigTables before = sampleConfig();
    Cfg = before;
    ScriptedMessages boxes;
    const auto dialogFor = [](int gaugeID) -> frmConfigUnknown& {
        DefaultForm<frmConfigUnknown>::get().Initialize(gaugeID);
        return DefaultForm<frmConfigUnknown>::get();
    };
    // Bad GaugeIDs change nothing.
    for (const char* typed : {"abc", "0", "256"}) {
        frmConfigUnknown& d = dialogFor(17);
        child<QLineEdit>(d, "GaugeID")->setText(typed);
        boxes.expectOk("A GaugeID must be between 1 and 255");
        click(d, "Command1");
        EXPECT_TRUE(DefaultForm<frmConfigUnknown>::loaded()) << typed;
    }
    EXPECT_TRUE(Cfg == before);

    frmConfigUnknown& d = dialogFor(17);
    EXPECT_EQ(child<QLineEdit>(d, "GaugeID")->text(), "17");
    click(d, "Command1");
    EXPECT_FALSE(DefaultForm<frmConfigUnknown>::loaded());
    ConfigTables expected = before;
    ClearFields(expected, 17, Field::Identity | Field::Category1 | Field::SeqNr1 | Field::Function1);
    EXPECT_TRUE(Cfg == expected);
    flushDeletes();
}

} // namespace
} // namespace varnet
