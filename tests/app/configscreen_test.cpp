#include "app/configscreen.h"
#include "config/sample_config.h"

#include <gtest/gtest.h>

namespace varnet {
namespace {

class GaugeListTest : public ::testing::Test {
protected:
    GaugeListTest()
    {
        LoadConstantTables(t);
        t.FunctionNames[60] = "Airspeed indicator knots";
        t.FunctionNames[7] = "Flaps";
    }

    void gauge(int id, int type, int model, int version)
    {
        t.GaugeRecType[id] = Byte(type);
        t.GaugeRecModel[id] = Byte(model);
        t.GaugeRecVersion[id] = Byte(version);
    }

    ConfigTables t;
    SessionState s;
};

TEST_F(GaugeListTest, LinesShowTypeFunctionsAndConnectionInGaugeIDOrder)
{
    gauge(40, 77, 1, 12);  // a type code no row 1..50 holds
    t.GaugeRecFunction1[40] = 301;
    t.GaugeRecFunction2[40] = 7;
    t.GaugeRecSeqNr2[40] = 1;
    s.GaugeRecBusStatus[40] = 1;
    gauge(5, 1, 2, 3);
    t.GaugeRecFunction1[5] = 60;
    t.GaugeRecSeqNr1[5] = 2;
    s.GaugeRecBusStatus[5] = 2;
    gauge(17, 10, 1, 4);
    gauge(255, 130, 100, 123);
    t.GaugeTypeNumbers[60] = 77;  // rows past 50 do not name list lines
    t.GaugeTypeNames[60] = "Row sixty";

    EXPECT_EQ(GaugeListLines(t, s), (std::vector<std::string>{
                                        " 005    Small gauge; Single Needle \t02\t03\tAirspeed indic #2\t\tConnected",
                                        " 017    Input/Output module\t01\t04\tInput/Switches\tOutput/Leds\tUnkown",
                                        " 040    Unknown\t01\t12\tError\tFlaps\tNot Connected",
                                        " 255    Radio Magnetic Indicator\t100\t123\tNot Assigned\t\tUnkown",
                                    }));
}

TEST_F(GaugeListTest, AnIOModuleWithFunctionsShowsThemAndTheLastMatchingTypeRowWins)
{
    gauge(9, 10, 1, 1);
    t.GaugeRecFunction2[9] = 7;
    t.GaugeRecSeqNr2[9] = 3;
    t.GaugeTypeNames[50] = "Late row";
    t.GaugeTypeNumbers[50] = 10;
    EXPECT_EQ(GaugeListLine(t, s, 9), " 009    Late row\t01\t01\tInput/Switches\tFlaps #3\tUnkown");
}

TEST(GaugeListLineText, GaugeIDIsReadBackFromCharactersTwoToFour)
{
    EXPECT_EQ(GaugeIDOfLine(" 042    Small gauge"), 42);
    EXPECT_EQ(GaugeIDOfLine(" 250   130         Radio"), 250);
    for (const char* noNumber : {"", " ", " abc", "x"})
        EXPECT_EQ(GaugeIDOfLine(noNumber), 0) << noNumber;
}

TEST(ClearGaugeAssignments, ClearsBusGaugesButKeepsSecondPlateStatusAndRowZero)
{
    ConfigTables t = testing::sampleConfig();
    const ConfigTables before = t;
    ClearGaugeAssignments(t);

    ConfigTables expected = before;
    for (int id = 1; id <= 255; ++id) {
        expected.GaugeRecType[id] = expected.GaugeRecModel[id] = expected.GaugeRecVersion[id] = 0;
        expected.GaugeRecCategory1[id] = expected.GaugeRecSeqNr1[id] = 0;
        expected.GaugeRecCategory2[id] = expected.GaugeRecSeqNr2[id] = 0;
        expected.GaugeRecFunction1[id] = expected.GaugeRecFunction2[id] = expected.GaugeRecPlate1[id] = 0;
    }
    EXPECT_TRUE(t == expected);
    EXPECT_NE(t.GaugeRecPlate2, ConfigTables{}.GaugeRecPlate2) << "the sample should hold second plates";
}

TEST(LightsChoices, StoredPairsSelectTheirChoice)
{
    EXPECT_EQ(LightsChoiceFor(1, 17), 1);
    EXPECT_EQ(LightsChoiceFor(2, 0), 2);
    EXPECT_EQ(LightsChoiceFor(0, 0), 0);
    EXPECT_EQ(LightsChoiceFor(0, 32), 0);
    EXPECT_EQ(LightsChoiceFor(0, 1), 3);
    EXPECT_EQ(LightsChoiceFor(0, 63), 4);
    EXPECT_EQ(LightsChoiceFor(0, 5), std::nullopt);
    EXPECT_EQ(LightsChoiceFor(3, 0), std::nullopt);
}

TEST(LightsChoices, ChoosingAnotherEntryThanTheStoredOneIsAnEdit)
{
    struct Case {
        Integer mode, mask;
        int choice;
        bool changed;
    };
    // Choosing the instrument switch over the navigation switch changes the
    // mask only; it is an edit all the same. Mask 0 means the instrument
    // switch as 32 does.
    for (const Case& c : {Case{0, 1, 0, true}, Case{1, 0, 1, false}, Case{0, 32, 3, true}, Case{0, 1, 3, false},
                          Case{0, 0, 0, false}, Case{2, 0, 4, true}, Case{0, 5, 0, true}}) {
        ConfigTables t;
        SessionState s;
        t.LightsMode = c.mode;
        t.LightsMask = c.mask;
        ApplyLightsChoice(t, s, c.choice);
        EXPECT_EQ(s.ConfigChanged, c.changed ? 1 : 0) << c.mode << "/" << c.mask << " -> " << c.choice;
        EXPECT_EQ(t.LightsMode, kLightsChoices[std::size_t(c.choice)].mode);
        EXPECT_EQ(t.LightsMask, kLightsChoices[std::size_t(c.choice)].mask);
    }
}

TEST(TypedNumbers, ComPortsTakeTheLeadingNumberWithinTheirRange)
{
    for (auto [text, port] : {std::pair{"3", 3}, {" 12 (USB)", 12}, {"", 0}, {"none", 0}, {"255", 255}})
        EXPECT_EQ(ReadComPort(QString::fromLatin1(text)).value, port) << text;
    for (const char* bad : {"256", "-1", "2.5", "99999999999"}) {
        const NumberInput input = ReadComPort(QString::fromLatin1(bad));
        EXPECT_EQ(input.value, std::nullopt) << bad;
        EXPECT_EQ(input.rule, "A COM port number must be between 0 and 255");
    }
}

TEST(TypedNumbers, UdpPortsAndTheProcessIntervalMustBeWholeNumbersInRange)
{
    EXPECT_EQ(ReadUdpPort(" 49000 ").value, 49000);
    EXPECT_EQ(ReadUdpPort("1").value, 1);
    EXPECT_EQ(ReadUdpPort("65535").value, 65535);
    for (const char* bad : {"0", "65536", "49a", "", "-5", "4 9"})
        EXPECT_EQ(ReadUdpPort(QString::fromLatin1(bad)).rule, "A UDP port must be a number between 1 and 65535")
            << bad;

    EXPECT_EQ(ReadProcessInterval("20").value, 20);
    EXPECT_EQ(ReadProcessInterval("200").value, 200);
    for (const char* bad : {"19", "201", "x", "40ms"})
        EXPECT_EQ(ReadProcessInterval(QString::fromLatin1(bad)).rule,
                  "The process interval must be between 20 and 200 ms")
            << bad;
}

TEST(TypedText, BecomesLatin1WithoutQuotesOrControlCharacters)
{
    EXPECT_EQ(ConfigText(QStringLiteral("127.0.0.1")), "127.0.0.1");
    EXPECT_EQ(ConfigText(QStringLiteral("a\"b,c")), "a'b,c");
    EXPECT_EQ(ConfigText(QStringLiteral("x\r\ny\tz")), "xyz");
    EXPECT_EQ(ConfigText(QString::fromUtf8("caf\u00e9 \u2192")), "caf\xe9 ?");
}

} // namespace
} // namespace varnet
