#include "config/configfile.h"

#include <gtest/gtest.h>

namespace varnet {
namespace {

TEST(TablesTest, BuiltInRowsReturnWhileFileRowsStayAndNewRowsKeepEarlierOnes)
{
    ConfigTables t;
    LoadConstantTables(t);
    EXPECT_EQ(std::tuple(t.GaugeTypeNumbers[5], t.GaugeTypeNames[5], t.GaugeTypeNumbers[19], t.GaugeTypeNames[19]),
              std::tuple(10, "Input/Output module", 8, "Cessna Enginecluster"));
    EXPECT_EQ(std::tuple(t.GaugeTypeNames[1], t.CategoryNames[0], t.CategoryNames[11]),
              std::tuple("Small gauge; Single Needle ", "", "External"));
    EXPECT_EQ(std::tuple(GaugeTypeRow(t, 130), GaugeTypeRow(t, 0)), std::tuple(28, -1));

    // Rows a file changed: 1..28 come back, 0 and 29.. keep the file's.
    t.GaugeTypeNames[3] = "from a file";
    t.GaugeTypeNames[0] = "row zero";
    t.GaugeTypeNumbers[40] = 140;
    LoadConstantTables(t);
    EXPECT_EQ(std::tuple(t.GaugeTypeNames[3], t.GaugeTypeNames[0], t.GaugeTypeNumbers[40]),
              std::tuple("Small gauge; Dual Needle ", "row zero", 140));

    t = ConfigTables{};
    EXPECT_EQ((std::tuple{t.AddIOEntry(), t.IOEntryCount}), std::tuple(1, 2));
    t.IOEntryFunction[1] = 77;
    // One spare row in every column.
    EXPECT_EQ((std::tuple{t.AddIOEntry(), t.IOEntryCount, t.IOEntryFunction[1], t.IOEntryPort.size()}), std::tuple(2, 3, 77, 4u));

    t.ResizeIOEntries(1);
    EXPECT_EQ(t.IOEntryCount, 1);
    EXPECT_EQ(t.AddIOEntry(), 1);  // an empty table starts at row 1 too

    t.AddPlate();
    t.PlateName[0] = "first";
    EXPECT_EQ((std::tuple{t.AddPlate(), t.PlateCount, t.PlateName[0], t.PlateValue.size()}), std::tuple(1, 2, "first", 3u));
}

} // namespace
} // namespace varnet
