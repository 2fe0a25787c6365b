#pragma once

// The outputs of the needle gauges in the process loop: single-needle,
// single-needle-with-display and dual-needle gauges (types 1 to 6) and the
// eight-needle engine cluster on the gauge bus (type 8). Every needle goes
// through the plate of its dial.

#include "config/gaugetypes.h"
#include "config/tables.h"

#include <optional>

namespace varnet {

struct ProcessHandlers;

// A needle turns through steps 0..1079.
inline constexpr int kMaxNeedleSteps = 1079;

void InstallNeedleOutputs(ProcessHandlers& handlers);

// The display word of a single-needle gauge with display for `value`: the
// value in tenths as four digits d1 d2 d3 d4; below 100.0 the nibbles d2,
// d3, 10 (the decimal point), d4; from 100.0 up d1, d2, d3, 11. 12.34 gives
// 0x12A3, 123.4 gives 0x123B. Nothing for a value the display cannot show
// (below 0, from 1000.0 up, not a number).
std::optional<int> DisplayWord(Single value);

} // namespace varnet
