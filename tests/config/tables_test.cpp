#include "config/configfile.h"
#include "config/sample_config.h"
#include "support/workdir.h"

#include <gtest/gtest.h>

namespace varnet {
namespace {

TEST(ConstantTablesTest, BuiltInRowsReturnWhileFileRowsStay)
{
    ConfigTables t;
    LoadConstantTables(t);
    EXPECT_EQ(t.GaugeTypeNumbers[5], 10);
    EXPECT_EQ(t.GaugeTypeNames[5], "Input/Output module");
    EXPECT_EQ(t.GaugeTypeNumbers[19], 8);
    EXPECT_EQ(t.GaugeTypeNames[19], "Cessna Enginecluster");
    EXPECT_EQ(t.GaugeTypeNames[1], "Small gauge; Single Needle ");
    EXPECT_EQ(t.CategoryNames[0], "");
    EXPECT_EQ(t.CategoryNames[11], "External");
    EXPECT_EQ(GaugeTypeRow(t, 130), 28);
    EXPECT_EQ(GaugeTypeRow(t, 0), -1);

    // Rows a file changed: 1..28 come back, 0 and 29.. keep the file's.
    t.GaugeTypeNames[3] = "from a file";
    t.GaugeTypeNames[0] = "row zero";
    t.GaugeTypeNumbers[40] = 140;
    LoadConstantTables(t);
    EXPECT_EQ(t.GaugeTypeNames[3], "Small gauge; Dual Needle ");
    EXPECT_EQ(t.GaugeTypeNames[0], "row zero");
    EXPECT_EQ(t.GaugeTypeNumbers[40], 140);
}

TEST(TableGrowthTest, NewIOEntriesAndPlatesKeepEarlierRows)
{
    ConfigTables t;
    EXPECT_EQ(t.AddIOEntry(), 1);
    EXPECT_EQ(t.IOEntryCount, 2);
    t.IOEntryFunction[1] = 77;
    EXPECT_EQ(t.AddIOEntry(), 2);
    EXPECT_EQ(t.IOEntryCount, 3);
    EXPECT_EQ(t.IOEntryFunction[1], 77);
    EXPECT_EQ(t.IOEntryPort.size(), 4u);  // one spare row in every column

    t.ResizeIOEntries(1);
    EXPECT_EQ(t.IOEntryCount, 1);
    EXPECT_EQ(t.AddIOEntry(), 1);  // an empty table starts at row 1 too

    t.AddPlate();
    t.PlateName[0] = "first";
    EXPECT_EQ(t.AddPlate(), 1);
    EXPECT_EQ(t.PlateCount, 2);
    EXPECT_EQ(t.PlateName[0], "first");
    EXPECT_EQ(t.PlateValue.size(), 3u);
}

TEST(TableGrowthTest, EmptyIOTableInFileLeavesOneSpareRow)
{
    testing::ScopedWorkDir dir;
    Session = SessionState{};
    Session.ProgramTitle = kProgramTitle;
    Session.ConfigFileName = "empty.cfg";
    Cfg = testing::sampleConfig();
    Cfg.ResizeIOEntries(0);
    ASSERT_TRUE(WriteConfigFile());
    Cfg = testing::sampleConfig();
    ReadConfigFile();
    ASSERT_EQ(Session.ConfigError, 0);
    EXPECT_EQ(Cfg.IOEntryCount, 0);
    EXPECT_EQ(Cfg.IOEntryGaugeID.size(), 1u);
    EXPECT_EQ(Cfg.IOEntryPort.size(), 1u);
}

} // namespace
} // namespace varnet
