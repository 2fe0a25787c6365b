#include "bus/busiomodules.h"

#include "bus/processloop.h"
#include "bus/runpreparation.h"
#include "bus/runstate.h"
#include "config/gaugetypes.h"
#include "platform/messages.h"
#include "simlink/keystrokes.h"
#include "simlink/simcom.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>
#include <optional>
#include <stdexcept>

namespace varnet {

namespace {

constexpr int kSwitchBytes = kModuleSwitchBytes;
constexpr int kChannels = kModuleChannelRows - 1;
constexpr int kOutputs = kModuleOutputRows - 1;
constexpr int kOutputsPerWord = 16;
constexpr Long kFirstOutputBit = 0x8000;

// The sequence byte of an entry that types a key instead of writing a value.
constexpr Byte kKeystrokeEntry = 100;
// An absolute switch value that means "no action".
constexpr Single kNoAction = -1.0f;
// Increment flags: step on switching on, on switching off.
constexpr Integer kStepOnSwitchingOn = 1;
constexpr Integer kStepOnSwitchingOff = 2;
// LED condition bits and the invert flag.
constexpr Integer kLitAtMinimum = 1;
constexpr Integer kLitAtMaximum = 2;
constexpr Integer kLitAboveCrossover = 4;
constexpr Integer kLitAtFreeValue = 8;
constexpr Integer kInvert = 1;

const char* const kOverflow = "Overflow";
const char* const kDivisionByZero = "Division by zero";

// Every column of an I/O entry that the module processing reads.
bool validEntry(int e)
{
    const ConfigTables& c = Cfg;
    const std::size_t rows =
        std::min({c.IOEntryFunction.size(), c.IOEntrySeqNr.size(), c.IOEntryValue1.size(), c.IOEntryValue2.size(),
                  c.IOEntryType.size(), c.IOEntryFlags.size(), c.IOEntryLastValue.size(), c.IOEntryKeyOn.size(),
                  c.IOEntryKeyOff.size(), c.IOEntryPort.size()});
    return e > 0 && std::size_t(e) < rows;
}

bool validFunction(int f)
{
    return f >= 0 && f < kFunctionRows;
}

// The entry's sim port; the 16-bit column holds "no port" as -1.
int entryPort(int e)
{
    return std::uint16_t(Cfg.IOEntryPort[std::size_t(e)]);
}

// A value for the simulator, which takes Singles.
Single toSingle(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<Single>::max())
        throw std::overflow_error(kOverflow);
    return Single(value);
}

// To the nearest 16-bit integer, halves to even.
int toInteger(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<Integer>::min() && rounded <= std::numeric_limits<Integer>::max()))
        throw std::overflow_error(kOverflow);
    return int(rounded);
}

double quotient(double numerator, double denominator)
{
    if (denominator == 0)
        throw std::domain_error(kDivisionByZero);
    return numerator / denominator;
}

int byteAt(const QByteArray& bytes, int p)
{
    return p < bytes.size() ? quint8(bytes[p]) : 0;
}

// ---- Switches ----------------------------------------------------------------

void switchAction(ProcessLoop& loop, int e, bool on)
{
    const std::size_t row = std::size_t(e);
    if (Cfg.IOEntrySeqNr[row] == kKeystrokeEntry) {
        SendKeystroke(on ? Cfg.IOEntryKeyOn[row] : Cfg.IOEntryKeyOff[row]);
        return;
    }
    const int f = Cfg.IOEntryFunction[row];
    if (!validFunction(f))
        return;
    const double minimum = Cfg.FunctionMinimum[std::size_t(f)];
    const double maximum = Cfg.FunctionMaximum[std::size_t(f)];
    const double value1 = Cfg.IOEntryValue1[row];
    const double value2 = Cfg.IOEntryValue2[row];
    const int port = entryPort(e);
    if (const Integer flags = Cfg.IOEntryFlags[row]; flags != 0) {
        // A value the simulator cannot give (a command function) steps from 0.
        const double current = loop.GetPort(port).value_or(0.0f);
        const auto limited = [&](double v) {
            if (v < minimum)
                v = minimum;
            if (v > maximum)
                v = maximum;
            return toSingle(v);
        };
        if (on && (flags & kStepOnSwitchingOn))
            loop.Link().PutPort(port, limited(current + value1));
        else if (!on && (flags & kStepOnSwitchingOff))
            loop.Link().PutPort(port, limited(current + value2));
        return;
    }
    // A percentage of the range's width, from 0 rather than from the minimum:
    // stored configurations are set up that way.
    const double percent = on ? value1 : value2;
    if (Single(percent) != kNoAction)
        loop.Link().PutPort(port, toSingle((maximum - minimum) / 100 * percent));
}

void moduleSwitches(ProcessLoop& loop, int k)
{
    RunState& r = RunData;
    r.BusIOMIndex = k;
    // Boxes shown below let the reply handler store newer states meanwhile:
    // only the copy taken here is acted on and kept as processed.
    const QByteArray state = r.IOMSwitchState[std::size_t(k)];
    const QByteArray previous = r.IOMSwitchPrev[std::size_t(k)];
    if (state == previous)
        return;
    for (int p = 0; p < kSwitchBytes; ++p) {
        const int now = byteAt(state, p);
        const int changed = now ^ byteAt(previous, p);
        for (int bit = 0; bit < 8 && changed != 0; ++bit) {
            const int mask = 0x80 >> bit;
            const int s = p * 8 + bit;
            if (!(changed & mask) || !r.ValidModule(k))
                continue;
            const int e = r.IOMSwitchEntry[std::size_t(k)][std::size_t(s)];
            if (!validEntry(e))
                continue;
            try {
                switchAction(loop, e, (now & mask) != 0);
            } catch (const std::exception& fault) {
                messages().ok(QStringLiteral("Error 11: An error has occured processing switch:%1\r\nError: %2")
                                  .arg(s)
                                  .arg(QString::fromLatin1(fault.what())));
            }
        }
    }
    if (r.ValidModule(k))
        r.IOMSwitchPrev[std::size_t(k)] = state;
}

// ---- Analogue channels ---------------------------------------------------------

// The value of a channel entry for raw value `raw`.
Single analogueValue(int e, int raw)
{
    const std::size_t row = std::size_t(e);
    const int minimum = toInteger(Cfg.IOEntryValue1[row]);
    const int centre = toInteger(Cfg.IOEntryValue2[row]);
    const int maximum = Cfg.IOEntryType[row];
    const int f = Cfg.IOEntryFunction[row];
    const double functionMinimum = validFunction(f) ? Cfg.FunctionMinimum[std::size_t(f)] : 0.0;
    const double functionMaximum = validFunction(f) ? Cfg.FunctionMaximum[std::size_t(f)] : 0.0;
    const int v = std::max(std::min(raw, maximum), minimum);
    if (centre < 1)
        return toSingle(quotient(v, maximum) * functionMaximum);
    // Below the centre towards the function's minimum (negative for a
    // function that runs through 0), above it towards its maximum.
    if (v >= centre)
        return toSingle(std::fabs(quotient(v - centre, maximum - centre)) * functionMaximum);
    return toSingle(std::fabs(quotient(centre - v, centre - minimum)) * functionMinimum);
}

void moduleChannels(ProcessLoop& loop, int k)
{
    RunState& r = RunData;
    r.BusIOMIndex = k;
    for (int n = 0; n < kChannels && r.ValidModule(k); ++n) {
        const std::size_t m = std::size_t(k);
        const int e = r.IOMAnalogueEntry[m][std::size_t(n)];
        if (!validEntry(e))
            continue;
        const int raw = r.IOMAnalogueValue[m][std::size_t(n)];
        if (std::abs(raw - r.IOMAnalogueLast[m][std::size_t(n)]) <= r.IOMAnalogueThreshold[m][std::size_t(n)])
            continue;
        r.IOMAnalogueLast[m][std::size_t(n)] = raw;
        loop.Link().PutPort(entryPort(e), analogueValue(e, raw));
    }
}

// ---- LED outputs ---------------------------------------------------------------

// Whether the LED of entry e is lit at simulator value v.
bool lampLit(int e, Single v)
{
    const std::size_t row = std::size_t(e);
    const int function = Cfg.IOEntryFunction[row];
    const int f = validFunction(function) ? Cfg.FunctionNumber[std::size_t(function)] : 0;
    const Single minimum = validFunction(f) ? Cfg.FunctionMinimum[std::size_t(f)] : 0.0f;
    const Single maximum = validFunction(f) ? Cfg.FunctionMaximum[std::size_t(f)] : 0.0f;
    const Integer condition = Cfg.IOEntryKeyOn[row];
    const double crossover = (double(maximum) - minimum) / 100 * Cfg.IOEntryValue1[row];
    const bool lit = ((condition & kLitAtMinimum) && v == minimum) || ((condition & kLitAtMaximum) && v == maximum)
                     || ((condition & kLitAboveCrossover) && v > crossover)
                     || ((condition & kLitAtFreeValue) && v == Cfg.IOEntryType[row]);
    return lit != ((Cfg.IOEntryFlags[row] & kInvert) != 0);
}

void updateLED(ProcessLoop& loop, int k, int output, int e)
{
    const std::optional<Single> read = loop.GetPort(entryPort(e));
    // The read may have shown a box, and a value that cannot be read shows nothing.
    if (!read || !RunData.ValidModule(k) || !validEntry(e))
        return;
    Single v = *read;
    const int function = Cfg.IOEntryFunction[std::size_t(e)];
    if (const Integer mask = validFunction(function) ? Cfg.FunctionMacroNr[std::size_t(function)] : Integer(0))
        v = (toInteger(v) & mask) != 0 ? 1.0f : 0.0f;
    // Worked out every pass, not only when the value differs from the one
    // last seen: after a preparation the words start from 0 while the last
    // values come from the configuration.
    Cfg.IOEntryLastValue[std::size_t(e)] = v;
    const std::size_t m = std::size_t(k);
    const bool second = output >= kOutputsPerWord;
    Long& word = second ? RunData.IOMCmd5Value[m] : RunData.IOMCmd4Value[m];
    Integer& pending = second ? RunData.IOMCmd5Pending[m] : RunData.IOMCmd4Pending[m];
    const Long bit = kFirstOutputBit >> (output % kOutputsPerWord);
    const Long updated = lampLit(e, v) ? (word | bit) : (word & ~bit);
    if (updated != word) {
        word = updated;
        pending = 1;
    }
}

void moduleInputs(ProcessLoop& loop)
{
    ProcessSwitches(loop);
    ProcessAnalogueInputs(loop);
}

} // namespace

void InstallBusIOModules(ProcessHandlers& handlers)
{
    handlers.gaugeOutputs[IOModuleType] = BusIOModuleOutputs;
    handlers.busModuleInputs = moduleInputs;
}

void ProcessSwitches(ProcessLoop& loop)
{
    for (int k = 0; RunData.ValidModule(k); ++k)
        moduleSwitches(loop, k);
}

void ProcessAnalogueInputs(ProcessLoop& loop)
{
    try {
        for (int k = 0; RunData.ValidModule(k); ++k)
            moduleChannels(loop, k);
    } catch (const std::exception& fault) {
        loop.Fault(QString::fromLatin1(fault.what()));
    }
}

void BusIOModuleOutputs(ProcessLoop& loop, int slot)
{
    RunState& r = RunData;
    if (!r.ValidSlot(slot))
        return;
    const int k = r.SlotPort2[std::size_t(slot)];
    if (r.ValidModule(k)) {
        r.BusIOMIndex = k;
        for (int output = 0; output < kOutputs && r.ValidModule(k); ++output) {
            const int e = r.IOMLEDEntry[std::size_t(k)][std::size_t(output)];
            if (validEntry(e))
                updateLED(loop, k, output, e);
        }
    }
    // The module's status comes with its own turn; in a gauge's turn it never
    // takes the place of that gauge's request.
    if (loop.PollRequest.isEmpty())
        loop.RequestStatusInTurn(slot);
}

} // namespace varnet
