#include "bus/ioentryrules.h"

#include "simlink/simcom.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>
#include <stdexcept>

namespace varnet {

namespace {

constexpr Long kFirstOutputBit = 0x8000;

// Reply bytes, numbered from 1.
constexpr int kFirstSwitchByte = 6;
constexpr int kFirstHighNibbleByte = 13;
constexpr int kFirstLowByte = 17;

const char* const kOverflow = "Overflow";
const char* const kDivisionByZero = "Division by zero";

bool validFunction(int f)
{
    return f >= 0 && f < kFunctionRows;
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

// Switch s is bit 7 - s % 8 of switch byte s / 8.
constexpr int switchMask(int s)
{
    return 0x80 >> (s % 8);
}

} // namespace

IOModuleInputs DecodeIOModuleInputs(const QByteArray& reply)
{
    const auto b = [&](int n) { return byteAt(reply, n - 1); };
    IOModuleInputs inputs;
    inputs.switches = reply.mid(kFirstSwitchByte - 1, kModuleSwitchBytes);
    for (int j = 0; j < kIOModuleChannels / 2; ++j) {
        inputs.channels[std::size_t(2 * j)] = (b(kFirstHighNibbleByte + j) >> 4) * 256;
        inputs.channels[std::size_t(2 * j + 1)] = (b(kFirstHighNibbleByte + j) & 0x0F) * 256;
    }
    for (int ch = 0; ch < kIOModuleChannels; ++ch)
        inputs.channels[std::size_t(ch)] += b(kFirstLowByte + ch);
    return inputs;
}

bool IOSwitchOn(const QByteArray& switches, int s)
{
    return (byteAt(switches, s / 8) & switchMask(s)) != 0;
}

void ForEachChangedSwitch(const QByteArray& previous, const QByteArray& state,
                          const std::function<void(int s, bool on)>& act, const std::function<bool()>& stop)
{
    for (int p = 0; p < kModuleSwitchBytes; ++p) {
        const int now = byteAt(state, p);
        const int changed = now ^ byteAt(previous, p);
        for (int bit = 0; bit < 8 && changed != 0; ++bit) {
            const int mask = switchMask(bit);
            if (!(changed & mask))
                continue;
            if (stop && stop())
                return;
            act(p * 8 + bit, (now & mask) != 0);
        }
    }
}

bool ValidIOEntry(int e)
{
    // Most inputs and outputs of a module have no entry (0): they cost no
    // more than this.
    if (e <= 0)
        return false;
    const ConfigTables& c = Cfg;
    const std::size_t rows =
        std::min({c.IOEntryFunction.size(), c.IOEntrySeqNr.size(), c.IOEntryValue1.size(), c.IOEntryValue2.size(),
                  c.IOEntryType.size(), c.IOEntryFlags.size(), c.IOEntryLastValue.size(), c.IOEntryKeyOn.size(),
                  c.IOEntryKeyOff.size(), c.IOEntryPort.size()});
    return std::size_t(e) < rows;
}

int IOEntrySimPort(int e)
{
    return std::uint16_t(Cfg.IOEntryPort[std::size_t(e)]);
}

// ---- Switches ----------------------------------------------------------------

void IOSwitchAction(SimCom& link, int e, bool on, const std::function<void(int keyCode)>& sendKey)
{
    const std::size_t row = std::size_t(e);
    if (Cfg.IOEntrySeqNr[row] == kKeystrokeSeqNr) {
        if (sendKey)
            sendKey(on ? Cfg.IOEntryKeyOn[row] : Cfg.IOEntryKeyOff[row]);
        return;
    }
    const int f = Cfg.IOEntryFunction[row];
    if (!validFunction(f))
        return;
    const double minimum = Cfg.FunctionMinimum[std::size_t(f)];
    const double maximum = Cfg.FunctionMaximum[std::size_t(f)];
    const double value1 = Cfg.IOEntryValue1[row];
    const double value2 = Cfg.IOEntryValue2[row];
    const int port = IOEntrySimPort(e);
    if (const Integer flags = Cfg.IOEntryFlags[row]; flags != 0) {
        // A value the simulator cannot give (a command function) steps from 0.
        const double current = link.GetPort(port).value_or(0.0f);
        const auto limited = [&](double v) {
            if (v < minimum)
                v = minimum;
            if (v > maximum)
                v = maximum;
            return toSingle(v);
        };
        if (on && (flags & kStepOnSwitchingOn))
            link.PutPort(port, limited(current + value1));
        else if (!on && (flags & kStepOnSwitchingOff))
            link.PutPort(port, limited(current + value2));
        return;
    }
    // A percentage of the range's width, from 0 rather than from the minimum:
    // stored configurations are set up that way.
    const double percent = on ? value1 : value2;
    if (Single(percent) != kIONoAction)
        link.PutPort(port, toSingle((maximum - minimum) / 100 * percent));
}

// ---- Analogue channels ---------------------------------------------------------

Single IOAnalogueValue(int e, int raw)
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

bool ProcessIOChannel(SimCom& link, int e, int raw, int& last, int threshold,
                      const std::function<bool(const QString& error)>& fault)
{
    if (!IOChannelMoved(raw, last, threshold))
        return true;
    last = raw;
    Single value = 0;
    try {
        value = IOAnalogueValue(e, raw);
    } catch (const std::exception& error) {
        return fault(QString::fromLatin1(error.what()));
    }
    link.PutPort(IOEntrySimPort(e), value);
    return true;
}

// ---- LED outputs ---------------------------------------------------------------

std::optional<Single> IOLampValue(SimCom& link, int e)
{
    const std::optional<Single> read = link.GetPort(IOEntrySimPort(e));
    // The read may have shown a box that let the table change.
    if (!read || !ValidIOEntry(e))
        return std::nullopt;
    Single v = *read;
    const int function = Cfg.IOEntryFunction[std::size_t(e)];
    if (const Integer mask = validFunction(function) ? Cfg.FunctionMacroNr[std::size_t(function)] : Integer(0))
        v = (toInteger(v) & mask) != 0 ? 1.0f : 0.0f;
    Cfg.IOEntryLastValue[std::size_t(e)] = v;
    return v;
}

bool IOLampLit(int e, Single v)
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
    return lit != ((Cfg.IOEntryFlags[row] & kIOInvert) != 0);
}

bool SetIOOutputBit(Long& word, int output, bool lit)
{
    const Long bit = kFirstOutputBit >> (output % kIOOutputsPerWord);
    const Long updated = lit ? (word | bit) : (word & ~bit);
    if (updated == word)
        return false;
    word = updated;
    return true;
}

} // namespace varnet
