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

struct PlatePoint {
    double value;
    int steps;
};

} // namespace

std::optional<int> PlateValueToSteps(int plate, Single& ReadValue, const ConfigTables& tables)
{
    if (plate < 0 || plate >= tables.PlateCount || plate >= int(tables.PlateValue.size()) ||
        plate >= int(tables.PlateSteps.size()) || std::isnan(ReadValue))
        return std::nullopt;
    const auto& values = tables.PlateValue[std::size_t(plate)];
    const auto& steps = tables.PlateSteps[std::size_t(plate)];
    // A plate has points 0..last; one point gives nothing to interpolate.
    const int last = steps[kLastPointElement];
    if (last < 1)
        return std::nullopt;
    const int lastElement = kFirstPointElement + std::min(last, kMaxPlatePoints - 1);

    const PlatePoint minimum{values[kMinimumElement], steps[kMinimumElement]};
    const PlatePoint maximum{values[kMaximumElement], steps[kMaximumElement]};
    double v = ReadValue;
    if (v < minimum.value)
        v = minimum.value;
    if (v > maximum.value)
        v = maximum.value;
    ReadValue = Single(v);
    if (v == minimum.value)
        return minimum.steps;
    if (v == maximum.value)
        return maximum.steps;

    // The enclosing pair: the last point at or below v (the minimum end when
    // the first point lies above it) and the first point above v (the
    // maximum end when the last point lies below it). lower <= v < upper,
    // so the two values always differ.
    PlatePoint lower = minimum;
    PlatePoint upper = maximum;
    for (int e = kFirstPointElement; e <= lastElement; ++e) {
        if (values[e] > v) {
            upper = {values[e], steps[e]};
            break;
        }
        lower = {values[e], steps[e]};
    }
    const double result =
        std::floor(lower.steps + (v - lower.value) / (upper.value - lower.value) * (upper.steps - lower.steps));
    if (!std::isfinite(result))
        return std::nullopt;
    return int(result);
}

} // namespace varnet
