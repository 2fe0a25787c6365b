#include "iomodules/ecsettings.h"

#include "config/numtext.h"

namespace varnet {

namespace {

bool validFunction(int function)
{
    return function >= 1 && function < kStoredFunctionRows;
}

} // namespace

int ECSettings::category(int needle) const
{
    const int f = function(needle);
    if (!validFunction(f))
        return kECPlateCategory;
    const int c = tables_.FunctionCategory[std::size_t(f)];
    return c >= 0 && c < kBuiltInCategories ? c : kECPlateCategory;
}

bool ECSettings::set(Integer& field, int value)
{
    if (field == value)
        return false;
    field = Integer(value);
    session_.ConfigChanged = 1;
    edited_ = true;
    return true;
}

bool ECSettings::setFunction(int needle, int function)
{
    return set(tables_.ECNeedleFunction[index(needle)], validFunction(function) ? function : 0);
}

bool ECSettings::setPlate(int needle, int plate)
{
    return set(tables_.ECNeedlePlate[index(needle)], plate);
}

bool ECSettings::setDisplay(int needle, bool on)
{
    return set(tables_.ECNeedleDisplay[index(needle)], on ? 1 : 0);
}

bool ECSettings::setClusterType(int type)
{
    return set(tables_.ECNeedleDisplay[kECTypeElement], type == kECDualEngine ? kECDualEngine : kECSingleEngine);
}

QString ECSettings::needleText(int needle) const
{
    QString text = QStringLiteral("Needle %1:  ").arg(needle + 1);
    const int f = function(needle);
    if (!validFunction(f))
        return text + QStringLiteral("no function");
    text += ListItemText(f, tables_.FunctionNames[std::size_t(f)]);
    const int p = plate(needle);
    if (p >= 0 && p < tables_.PlateCount && p < int(tables_.PlateName.size()))
        text += QStringLiteral("   plate ") + ListItemText(p, tables_.PlateName[std::size_t(p)]);
    if (display(needle))
        text += QStringLiteral("   display");
    return text;
}

std::optional<ECCalibration> ECSettings::calibration(int needle, const QString& functionText,
                                                     const QString& plateText) const
{
    if (functionText.isEmpty())
        return std::nullopt;
    ECCalibration c;
    c.needleNr = needle + 1;
    c.categoryName = tables_.CategoryNames[kECPlateCategory];
    c.functionName = functionText.toStdString();
    c.functionNr = ListNumber(functionText);
    c.plateNr = plateText.isEmpty() ? -1 : ListNumber(plateText);
    return c;
}

} // namespace varnet
