#include "bus/platelookup.h"

#include <algorithm>
#include <cmath>

namespace varnet {

namespace {

// Elements of a plate.
constexpr int kLastPointElement = 1;  // index of the last calibration point, 1..20
constexpr int kMinimumElement = 2;
constexpr int kMaximumElement = 3;
constexpr int kFirstPointElement = 4;

} // namespace

bool PlateValueToSteps(int plate, Single& ReadValue, int& steps, const ConfigTables& tables)
{
    if (plate < 0 || plate >= tables.PlateCount || plate >= int(tables.PlateValue.size()) ||
        plate >= int(tables.PlateSteps.size()) || std::isnan(ReadValue))
        return false;
    const auto& values = tables.PlateValue[std::size_t(plate)];
    const auto& needles = tables.PlateSteps[std::size_t(plate)];
    // A plate has points 0..last; one point gives nothing to interpolate.
    const int last = needles[kLastPointElement];
    if (last < 1)
        return false;
    const int lastElement = kFirstPointElement + std::min(last, kMaxPlatePoints - 1);

    const double minimum = values[kMinimumElement];
    const double maximum = values[kMaximumElement];
    double v = ReadValue;
    if (v < minimum)
        v = minimum;
    if (v > maximum)
        v = maximum;
    ReadValue = Single(v);
    if (v == minimum) {
        steps = needles[kMinimumElement];
        return true;
    }
    if (v == maximum) {
        steps = needles[kMaximumElement];
        return true;
    }

    // The enclosing pair: the last point at or below v (the minimum end when
    // the first point lies above it) and the first point above v (the
    // maximum end when the last point lies below it). lower <= v < upper,
    // so the two values always differ. Points need not ascend, so the scan
    // takes the first point above v, as a reader going along the dial does.
    int above = kFirstPointElement;
    while (above <= lastElement && !(values[std::size_t(above)] > v))
        ++above;
    const int lowerElement = above == kFirstPointElement ? kMinimumElement : above - 1;
    const int upperElement = above > lastElement ? kMaximumElement : above;
    const double lowerValue = values[std::size_t(lowerElement)];
    const int lowerSteps = needles[std::size_t(lowerElement)];
    const double exact = lowerSteps + (v - lowerValue) / (values[std::size_t(upperElement)] - lowerValue) *
                                          (needles[std::size_t(upperElement)] - lowerSteps);
    if (!std::isfinite(exact))
        return false;
    // Rounded toward minus infinity. lower <= v < upper keeps it within the
    // two points' steps, well inside an int.
    const int truncated = int(exact);
    steps = double(truncated) > exact ? truncated - 1 : truncated;
    return true;
}

} // namespace varnet
