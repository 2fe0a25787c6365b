// A configuration file typed from the documented layout, not produced by
// the writer: it proves the reader follows the format rather than merely
// mirroring the writer.

#include "config/configfile.h"
#include "config/sample_config.h"
#include "support/workdir.h"

#include <gtest/gtest.h>

namespace varnet {
namespace {

std::string repeat(const std::string& line, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += line;
    return text;
}

std::string handWrittenFile(bool withYokes)
{
    std::string f;
    f += "\"General\"\r\n";
    f += "\"" + testing::programHeader() + "\",2,1,30,0,32,1,\"127.0.0.1\",\"\",\"49000\",\"49001\",\"\",\"\",0,0\r\n";
    f += "\"IOM\"\r\n2\r\n";
    f += "0,0,0,0,0,0,0,0,0,0,0,0,0\r\n";
    f += "1000, 1, 9, 6, 52, 1, .5, -10, 0, 1, 0, 0, 0\r\n";  // blanks after commas, no leading zero
    f += "\"Functions\"\r\n";
    f += "\"\",\"\",0,0,0,0,0,0,0,0,0,0,1,1,0,0,0,0,0,0,0\r\n";
    f += "\"Voltage\",\"Battery volts\",1,4,7,54,0,0,0,0,4,0,1,1,0,30,0,1,0,0,0\r\n";
    f += repeat("\"\",\"\",0,0,0,0,0,0,0,0,0,0,1,1,0,0,0,0,0,0,0\r\n", 50);
    f += "\"Lights\",\"#0:sim/lights/landing_lights_on\r\n#1:sim/lights/landing_lights_off\r\n\",52,1,6,0,0,0,0,0,6,0,1,1,0,1,0,0,0,0,0\r\n";
    f += repeat("\"\",\"\",0,0,0,0,0,0,0,0,0,0,1,1,1E-10,0,0,0,0,0,0\r\n", 248);
    f += "\"Gaugetypes\"\r\n";
    f += repeat("0,\"\"\r\n", 128);
    f += "\"Gauges\"\r\n";
    f += "0,0,0,0,0,0,0,0,0,0,0\r\n";
    f += "1,1,2,7,1,0,0,0,0,0,0\r\n";
    f += repeat("0,0,0,0,0,0,0,0,0,0,0\r\n", 254);
    f += "\"Engine Cluster Settings\"\r\n";
    f += repeat("1,0,0\r\n", 9) + "2,0,0\r\n1,0,0\r\n";
    f += "\"Plates\"\r\n1\r\n";
    f += "\"Volts\",7,2,0,30,0,15,30" + repeat(",0", 18) + "\r\n";
    f += "0,2,0,1079,0,540,1079" + repeat(",0", 18) + "\r\n";
    if (withYokes) {
        f += "\"General FFB Yoke\"\r\n" + repeat("1\r\n", 5) + "-5\r\n1\r\n";
        for (const char* yoke : {"\"Yoke1\"\r\n", "\"Yoke2\"\r\n"}) {
            f += yoke;
            f += "6\r\n2\r\n0\r\n" + repeat("3\r\n", 14);
            for (const char* limit : {"100", "400", "0", "1000"})
                f += repeat("-7\r\n", 17) + "1\r\n2\r\n3\r\n" + limit + "\r\n";
            f += repeat("9\r\n", 10);
        }
        f += "\"User Defined Yoke Switches\"\r\n";
        f += repeat("1\r\n-2\r\n3\r\n4\r\n5\r\n6\r\n0.25\r\n-0.5\r\n9\r\n10\r\n11\r\n1.5\r\n2.5\r\n14\r\n", 17);
        f += "\"Active Indexes\"\r\n" + repeat("17\r\n3\r\n", 22) + repeat("512.5\r\n1\r\n", 11);
        f += "\"Force Curves\"\r\n" + repeat("10\r\n20\r\n", 26);
        f += "3\r\n";
    }
    f += "\"end\"\r\n";
    return f;
}

class HandWrittenFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Cfg = ConfigTables{};
        Session = SessionState{};
        Session.ProgramTitle = kProgramTitle;
        Session.ConfigFileName = "hand.cfg";
    }
    testing::ScopedWorkDir dir_;
};

TEST_F(HandWrittenFileTest, LoadsEverySection)
{
    testing::writeBytes("hand.cfg", handWrittenFile(true));
    ReadConfigFile();
    ASSERT_EQ(Session.ConfigError, 0);

    EXPECT_EQ(Cfg.ComPortEC, 2);
    EXPECT_EQ(Cfg.ProcessTimerInterval, 30);
    EXPECT_EQ(Cfg.RemoteIP, "127.0.0.1");
    EXPECT_EQ(Cfg.LocalPort, "49001");
    EXPECT_EQ(Cfg.IOEntryCount, 2);
    EXPECT_EQ(Cfg.IOEntryGaugeID[1], kStandAloneIOM1);
    EXPECT_EQ(Cfg.IOEntryValue1[1], 0.5f);
    EXPECT_EQ(Cfg.IOEntryValue2[1], -10.0f);
    EXPECT_EQ(Cfg.IOEntryPort.size(), 3u);
    EXPECT_EQ(Cfg.FunctionNames[1], "Voltage");
    EXPECT_EQ(Cfg.FunctionIndex1[1], 54);
    EXPECT_EQ(Cfg.FunctionMaximum[1], 30.0f);
    EXPECT_EQ(Cfg.FunctionFullName[52], "#0:sim/lights/landing_lights_on\r\n#1:sim/lights/landing_lights_off\r\n");
    EXPECT_EQ(Cfg.FunctionDataType[52], DataTypeCommand);
    EXPECT_EQ(Cfg.FunctionMinimum[300], 1E-10f);
    EXPECT_EQ(Cfg.GaugeRecType[1], 1);
    EXPECT_EQ(Cfg.GaugeRecCategory1[1], 7);
    EXPECT_EQ(Cfg.GaugeRecFunction1[1], 1);
    EXPECT_EQ(Cfg.ECNeedleDisplay[9], 2);
    ASSERT_EQ(Cfg.PlateCount, 1);
    EXPECT_EQ(Cfg.PlateName[0], "Volts");
    EXPECT_EQ(Cfg.PlateValue[0][5], 15.0);
    EXPECT_EQ(Cfg.PlateSteps[0][5], 540);
    EXPECT_EQ(Cfg.YokeGeneralSettings[5], -5);
    EXPECT_EQ(Cfg.ComPortYoke1(), 6);
    EXPECT_EQ(Cfg.ComPortYoke2(), 6);
    EXPECT_EQ(Cfg.YokeSettings[1].Mode, 2);
    EXPECT_EQ(Cfg.YokeSettings[0].ModeSettings[3][18], 2);
    EXPECT_EQ(Cfg.YokeSettings[0].CalibrationLimits, (std::array<Integer, 4>{100, 400, 0, 1000}));
    EXPECT_EQ(Cfg.YokeCalibration[0].Limits, (std::array<Integer, 4>{100, 1023, 0, 1000}));
    EXPECT_EQ(Cfg.YokeSwitchTable[16][7], -0.5f);
    EXPECT_EQ(Cfg.YokeDataGroup[21], 17);
    EXPECT_EQ(Cfg.PedalCalibration[10], 512.5f);
    EXPECT_EQ(Cfg.ForceCurveElevator[12][2], 20.0f);
    EXPECT_EQ(Cfg.ComPortIOM2, 3);
}

TEST_F(HandWrittenFileTest, EndingAfterPlatesLeavesYokesAndSecondModuleUnchanged)
{
    Cfg.ComPortIOM2 = 4;
    Cfg.YokeSettings[0].ComPort = 8;
    Cfg.ForceCurveAileron[3][1] = 1.25f;
    const ConfigTables before = Cfg;

    testing::writeBytes("hand.cfg", handWrittenFile(false));
    ReadConfigFile();
    ASSERT_EQ(Session.ConfigError, 0);
    EXPECT_EQ(Cfg.ComPortIOM2, 4);
    EXPECT_EQ(Cfg.YokeSettings, before.YokeSettings);
    EXPECT_EQ(Cfg.YokeCalibration, before.YokeCalibration);
    EXPECT_EQ(Cfg.ForceCurveAileron, before.ForceCurveAileron);
    EXPECT_EQ(Cfg.FunctionNames[1], "Voltage");
}

} // namespace
} // namespace varnet
