#include "iomodules/ecsettings.h"

#include "config/numinput.h"
#include "config/numtext.h"
#include "iomodules/ecframe.h"

#include <algorithm>

namespace varnet {

namespace {

static_assert(kECLargestPosition == 65535, "kTestPositionRule states the largest position");

bool validFunction(int function)
{
    return function >= 1 && function < kStoredFunctionRows;
}

} // namespace

std::optional<int> ReadTestPosition(const QString& text)
{
    return parseWholeNumber(text.toStdString(), 0, kECLargestPosition);
}

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

ECPlateKind ECSettings::plateKind(int needle) const
{
    const int p = plate(needle);
    if (p < 0 || p >= tables_.PlateCount || p >= int(tables_.PlateName.size()) || p >= int(tables_.PlateValue.size()))
        return ECPlateKind::Missing;
    const std::vector<int> offered = plates().numbers;
    return std::find(offered.begin(), offered.end(), p) != offered.end() ? ECPlateKind::Engines
                                                                         : ECPlateKind::OtherCategory;
}

std::optional<int> ECSettings::enginesPlate(int needle) const
{
    return plateKind(needle) == ECPlateKind::Engines ? std::optional<int>(plate(needle)) : std::nullopt;
}

QString ECSettings::plateText(int needle) const
{
    const int p = plate(needle);
    const QString category = QString::fromStdString(tables_.CategoryNames[kECPlateCategory]);
    switch (plateKind(needle)) {
    case ECPlateKind::Engines:
        return ListItemText(p, tables_.PlateName[std::size_t(p)]);
    case ECPlateKind::OtherCategory:
        return ListItemText(p, tables_.PlateName[std::size_t(p)]) +
               QStringLiteral("  (not an \"%1\" plate)").arg(category);
    case ECPlateKind::Missing:
        break;
    }
    return QString::fromStdString(zeroPadded(p, 3)) + QStringLiteral("  (no such plate)");
}

QString ECSettings::plateNote(int needle) const
{
    const ECPlateKind kind = plateKind(needle);
    if (kind == ECPlateKind::Engines)
        return {};
    const QString number = QString::fromStdString(zeroPadded(plate(needle), 3));
    const QString category = QString::fromStdString(tables_.CategoryNames[kECPlateCategory]);
    // A needle without a function is not driven at all.
    const bool driven = validFunction(function(needle));
    QString note;
    if (kind == ECPlateKind::OtherCategory)
        note = QStringLiteral("Plate %1 is not an \"%2\" plate.").arg(number, category) +
               (driven ? QStringLiteral(" The run moves this needle by it.") : QString());
    else
        note = QStringLiteral("There is no plate %1 in this configuration.").arg(number) +
               (driven ? QStringLiteral(" The run leaves this needle where it is.") : QString());
    if (plates().numbers.empty())
        return note + QStringLiteral(" Make an \"%1\" plate with Calibrate.").arg(category);
    return note + QStringLiteral(" Choose an \"%1\" plate in the box above.").arg(category);
}

QString ECSettings::needleText(int needle) const
{
    QString text = QStringLiteral("Needle %1:  ").arg(needle + 1);
    const int f = function(needle);
    if (!validFunction(f))
        return text + QStringLiteral("no function");
    text += ListItemText(f, tables_.FunctionNames[std::size_t(f)]);
    text += QStringLiteral("   plate ") + plateText(needle);
    if (display(needle))
        text += QStringLiteral("   display");
    return text;
}

std::optional<ECCalibration> ECSettings::calibration(int needle, const QString& functionText) const
{
    if (functionText.isEmpty())
        return std::nullopt;
    ECCalibration c;
    c.needleNr = needle + 1;
    c.categoryName = tables_.CategoryNames[kECPlateCategory];
    c.functionName = functionText.toStdString();
    c.functionNr = ListNumber(functionText);
    c.plateNr = enginesPlate(needle).value_or(-1);
    return c;
}

} // namespace varnet
