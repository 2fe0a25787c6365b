#include "config/tables.h"

#include <algorithm>

namespace varnet {

ConfigTables Cfg;
SessionState Session;

namespace {

struct BuiltInGaugeType {
    Integer code;
    const char* name;
};

// Rows 1..28 of the gauge-type table, in row order; several names end in a
// blank that belongs to the name.
constexpr BuiltInGaugeType kBuiltInGaugeTypeRows[kBuiltInGaugeTypes] = {
    {1, "Small gauge; Single Needle "},
    {2, "Small gauge; Single Needle + Display "},
    {3, "Small gauge; Dual Needle "},
    {4, "Large gauge, single needle "},
    {10, "Input/Output module"},
    {101, "Digital/Analogue Altimeter "},
    {103, "Attitude Indicator "},
    {104, "Boeing Clock "},
    {5, "Large gauge; Dual Needle Concentric "},
    {105, "Heading Indicator/Directional Gyro "},
    {6, "Small gauge; Dual Needle Concentric "},
    {110, "Generic Radio Module"},
    {111, "CTL30 Radio Module"},
    {112, "CTL30 Transponder"},
    {106, "VOR1 Indicator"},
    {107, "VOR2 Indicator"},
    {108, "ADF Indicator"},
    {109, "Cessna Clock"},
    {8, "Cessna Enginecluster"},
    {113, "DME Indicator"},
    {114, "737 Transponder"},
    {120, "Bendix/King COM/NAV radio"},
    {121, "Bendix/King ADF radio"},
    {122, "Bendix/King Transponder"},
    {123, "Bendix/King DME Ind."},
    {124, "Bendix/King Autopilot"},
    {125, "Bendix/King Audio Panel"},
    {130, "Radio Magnetic Indicator"},
};

template <typename Fn>
void forEachIOColumn(ConfigTables& t, Fn&& fn)
{
    fn(t.IOEntryGaugeID);
    fn(t.IOEntryKind);
    fn(t.IOEntryNumber);
    fn(t.IOEntryCategory);
    fn(t.IOEntryFunction);
    fn(t.IOEntrySeqNr);
    fn(t.IOEntryValue1);
    fn(t.IOEntryValue2);
    fn(t.IOEntryType);
    fn(t.IOEntryFlags);
    fn(t.IOEntryLastValue);
    fn(t.IOEntryKeyOn);
    fn(t.IOEntryKeyOff);
    fn(t.IOEntryPort);
}

} // namespace

void LoadConstantTables(ConfigTables& tables)
{
    for (int i = 0; i < kBuiltInCategories; ++i)
        tables.CategoryNames[i] = kCategoryNames[i];
    for (int row = 1; row <= kBuiltInGaugeTypes; ++row) {
        tables.GaugeTypeNumbers[row] = kBuiltInGaugeTypeRows[row - 1].code;
        tables.GaugeTypeNames[row] = kBuiltInGaugeTypeRows[row - 1].name;
    }
}

ConfigTables NewConfiguration()
{
    ConfigTables tables;
    LoadConstantTables(tables);
    tables.ResizePlates(0);
    tables.ResizeIOEntries(0);
    return tables;
}

void MarkStoredNotSaved(SessionState& session, const std::string& storedBy)
{
    if (std::ranges::find(session.StoredNotSaved, storedBy) == session.StoredNotSaved.end())
        session.StoredNotSaved.push_back(storedBy);
}

int GaugeTypeRow(const ConfigTables& tables, int code)
{
    // Code 0 means "no gauge"; the unused rows hold it too.
    if (code == 0)
        return -1;
    for (int row = 0; row < kGaugeTypeRows; ++row)
        if (tables.GaugeTypeNumbers[row] == code)
            return row;
    return -1;
}

int ConfigTables::AddIOEntry()
{
    const int row = std::max<int>(IOEntryCount, 1);
    forEachIOColumn(*this, [&](auto& column) {
        column.resize(std::max(std::size_t(row + 2), column.size()));
    });
    IOEntryCount = static_cast<Integer>(row + 1);
    return row;
}

void ConfigTables::ResizeIOEntries(int count)
{
    forEachIOColumn(*this, [&](auto& column) {
        column.assign(std::size_t(count + 1), {});
    });
    IOEntryCount = static_cast<Integer>(count);
}

int ConfigTables::AddPlate()
{
    const int plate = PlateCount;
    const auto size = static_cast<std::size_t>(plate + 2);
    PlateName.resize(size);
    PlateValue.resize(size);
    PlateSteps.resize(size);
    PlateCount = static_cast<Integer>(plate + 1);
    return plate;
}

void ConfigTables::ResizePlates(int count)
{
    const auto size = static_cast<std::size_t>(count + 1);
    PlateName.assign(size, {});
    PlateValue.assign(size, {});
    PlateSteps.assign(size, {});
    PlateCount = static_cast<Integer>(count);
}

} // namespace varnet
