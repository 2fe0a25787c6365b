#pragma once

// A plate is the calibration of one dial: the needle position (in steps) at
// which each of up to 21 values is printed on it. The lookup turns a
// simulator value into needle steps.

#include "config/tables.h"

#include <optional>

namespace varnet {

// The needle steps of `ReadValue` on plate `plate` (0..PlateCount-1):
// ReadValue is first limited to the plate's minimum and maximum (in place),
// an end gives the end's steps, and a value between two calibration points
// is interpolated linearly and rounded toward minus infinity. A value below
// the first point or above the last one is interpolated against the
// plate's minimum or maximum end.
//
// Nothing comes back, and ReadValue stays as it was, for a plate number
// outside the table, a plate with fewer than two points, or a value that is
// not a number: the needle is then left where it is.
//
// The same lookup, with the steps in `steps` and false for nothing: the form
// for the needle pass, which keeps the result out of memory on its way back.
bool PlateValueToSteps(int plate, Single& ReadValue, int& steps, const ConfigTables& tables = Cfg);

inline std::optional<int> PlateValueToSteps(int plate, Single& ReadValue, const ConfigTables& tables = Cfg)
{
    int steps = 0;
    if (!PlateValueToSteps(plate, ReadValue, steps, tables))
        return std::nullopt;
    return steps;
}

} // namespace varnet
