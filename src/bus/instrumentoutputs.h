#pragma once

// The outputs of the process loop for the instruments that are not plain
// plate-driven needles: the digital altimeter, the attitude indicator, the
// airliner and the light-aircraft clock, the heading indicator, the two VOR
// indicators, the ADF indicator and the radio magnetic indicator (RMI).
//
// Angles go out as steps of a 4320-step turn (12 per degree), the RMI's
// compass card in steps of a 4608-step turn. A value that is no number or
// infinite is never sent: that output waits for a value it can show. A
// number that does not fit the gauge's 16-bit word is reported as the
// process loop's fault ("Overflow") and not sent either.
//
// Also the helpers that the avionics outputs share (avionicsoutputs.h): the
// checked rounding and the digit words of the numeric displays.

#include "config/tables.h"

#include <array>
#include <cstddef>
#include <limits>
#include <optional>
#include <string>

namespace varnet {

class ProcessLoop;
struct ProcessHandlers;

void InstallInstrumentOutputs(ProcessHandlers& handlers);

// What the instrument outputs remember beyond the per-run slot fields, by
// GaugeID: each gauge has its own memory, so that two gauges showing the
// same value (two VOR 1 indicators, two RMIs) each get it.
struct InstrumentMemory {
    static constexpr Single kUnsent = std::numeric_limits<Single>::quiet_NaN();  // differs from every value

    // VOR: the run whose values these are; airliner clock: the run its date went to.
    int run = -1;
    // VOR: the needles and the flag word last sent (-1: none).
    Single deviation = kUnsent;
    Single glideslope = kUnsent;
    int flags = -1;
    // RMI: the readings its two distance displays last got.
    Single distance1 = kUnsent;
    Single distance2 = kUnsent;
};

struct InstrumentOutputState {
    int RunStarts = 0;  // run starts seen by the outputs
    std::array<InstrumentMemory, kGaugeRows> Memory{};
};

extern InstrumentOutputState InstrumentOutputs;

// The run being processed: a run start (RunData.DateSentFlag, raised by the
// run window's Run) begins a new one.
int CurrentRun();

// The slot an output is processing (a valid slot holding a GaugeID): its
// index into the slot tables and the GaugeID, also as an index into the
// gauge records.
struct OutputSlot {
    explicit OutputSlot(int slot);
    std::size_t s;
    int id;
    std::size_t g;
};

// True when the slot's gauge is the one asked for its status in this tick.
bool InTurn(const OutputSlot& slot);

// x rounded to the nearest integer, halves to even, when it lies within
// lo..hi; a number outside is reported through the loop's fault box
// ("Overflow"); nothing for a NaN or an infinity, without a message.
std::optional<int> RoundedIn(ProcessLoop& loop, double x, int lo, int hi);
// The same for a 16-bit Integer.
std::optional<int> RoundedInteger(ProcessLoop& loop, double x);
// Appends the command when the value is a finite number.
void SendFinite(ProcessLoop& loop, int gaugeID, int command, double value);

// The altitude as the run window's altitude box shows it: whole feet,
// halves away from zero; nothing when the simulator gave no number.
std::optional<double> ShownAltitudeFeet();

// A reading written as a numeric display shows it: `wholeDigits` digits
// before the point and `decimals` after it ("00.0" is 2, 1; "000" is 3, 0),
// rounded to the last place shown (halves away from zero), with "-" before
// a negative value. A magnitude beyond the format shows all nines, so that
// the display's digits never spill into the bits beside them.
std::string DisplayText(double value, int wholeDigits, int decimals);

// A distance or speed for a display: rounded to one decimal (halves to
// even), then "00.0" at 99.9 or less, else "000".
std::string DistanceText(double value);

// The digits of a display text packed four bits each, the first digit
// highest; other characters (the point, the sign) are passed over.
// `lastDigit` is the 1-based position of the last digit taken (0: none).
struct PackedDigits {
    int word = 0;
    int lastDigit = 0;
};
PackedDigits PackDigits(const std::string& text);

} // namespace varnet
