#include "config/choicelists.h"

#include "config/numtext.h"

#include <algorithm>

namespace varnet {

QString ListItemText(int number, const std::string& name)
{
    return QString::fromStdString(zeroPadded(number, 3) + ".  " + name);
}

namespace {

// Plate numbers go up to the largest Integer the file reader takes.
constexpr int kLargestListNumber = 32767;

bool validCategory(int category)
{
    return category >= 0 && category < kCategoryRows;
}

} // namespace

ListItems FunctionItems(const ConfigTables& tables, int category, const std::function<bool(int signal)>& signalOffered)
{
    ListItems items;
    for (int f = 0; f < kStoredFunctionRows; ++f) {
        if (tables.FunctionCategory[f] == category && signalOffered(tables.FunctionSignalType[f])) {
            items.texts << ListItemText(f, tables.FunctionNames[f]);
            items.numbers.push_back(f);
        }
    }
    return items;
}

ListItems GaugeFunctionItems(const ConfigTables& tables, int category)
{
    return FunctionItems(tables, category, [](int signal) { return signal == kSignalGauge || signal == kSignalMacro; });
}

ListItems CategoryPlateItems(const ConfigTables& tables, int category)
{
    ListItems items;
    if (!validCategory(category))
        return items;
    const std::string& name = tables.CategoryNames[category];
    for (int p = 0; p < tables.PlateCount && p < int(tables.PlateValue.size()); ++p) {
        const int plateCategory = int(tables.PlateValue[p][0]);
        if (validCategory(plateCategory) && tables.CategoryNames[plateCategory] == name) {
            items.texts << ListItemText(p, tables.PlateName[p]);
            items.numbers.push_back(p);
        }
    }
    return items;
}

int ListNumber(const QString& itemText)
{
    // All the leading digits: plates from 1000 on have four.
    int number = 0;
    for (qsizetype i = 0; i < itemText.size() && itemText.at(i).isDigit() && number <= kLargestListNumber; ++i)
        number = number * 10 + itemText.at(i).digitValue();
    return std::min(number, kLargestListNumber);
}

} // namespace varnet
