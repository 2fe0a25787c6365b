#include "bus/needles.h"

#include "bus/platelookup.h"
#include "bus/processloop.h"
#include "bus/runstate.h"
#include "config/gaugetypes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace varnet {

namespace {

constexpr int kFirstNeedleType = 1;
constexpr int kLastNeedleType = 6;
constexpr int kNeedle1Command = 5;
constexpr int kNeedle2Command = 6;
constexpr int kDisplayCommand = 6;

constexpr int kDisplayPointNibble = 10;
constexpr int kDisplayWholeNibble = 11;
constexpr int kLargestTenths = 9999;

// Moves one needle of types 1..6 when its whole step changed. Returns
// whether the needle has a value; `shown` then holds it as the plate
// limited it. (A plain flag and an out value: the needle pass runs for
// every needle on every tick, and a packed optional built and read back
// through memory stalls behind the stores of the frames just queued.)
inline bool moveNeedle(ProcessLoop& loop, int needleNr, int gaugeID, int port, int plate, Single& lastSent,
                       int command, Single& shown)
{
    const ProcessLoop::NeedleReading& read = loop.ReadNeedle(needleNr, port, plate);
    if (!read.steps)
        return false;
    shown = *read.value;
    const int needle = std::clamp(*read.steps, 0, kMaxNeedleSteps);
    if (Single(needle) != lastSent) {
        lastSent = Single(needle);
        loop.AddGaugeCommand(gaugeID, command, needle);
    }
    return true;
}

void needleGauge(ProcessLoop& loop, int slot)
{
    RunState& r = RunData;
    const std::size_t s = std::size_t(slot);
    const std::size_t id = std::size_t(r.SlotGaugeID[s]);
    Single shown = 0;
    const bool hasValue =
        moveNeedle(loop, 2 * slot, int(id), r.SlotPort1[s], Cfg.GaugeRecPlate1[id], r.SlotLast1[s], kNeedle1Command, shown);
    // The display repeats its word every tick, changed or not.
    if (hasValue && Cfg.GaugeRecType[id] == SingleNeedleDisplayType) {
        if (const std::optional<int> word = DisplayWord(shown))
            loop.AddGaugeCommand(int(id), kDisplayCommand, *word);
    }
    moveNeedle(loop, 2 * slot + 1, int(id), r.SlotPort2[s], Cfg.GaugeRecPlate2[id], r.SlotLast2[s], kNeedle2Command,
               shown);
}

// One needle of the engine cluster: which of its eight ports, and the
// command that moves it.
struct ClusterNeedle {
    int port;
    int command;
};

// Two needles per tick, so that each is refreshed every fourth tick.
constexpr ClusterNeedle kClusterPhases[4][2] = {
    {{6, 4}, {7, 5}}, {{0, 6}, {1, 9}}, {{2, 10}, {3, 11}}, {{4, 12}, {5, 13}}};
// This needle's value is a 16-bit word that the simulator may deliver signed.
constexpr int kUnsignedWordPort = 3;

// The cluster's eight plate numbers, by port, packed into its gauge record.
std::array<int, kClusterNeedles> clusterPlates(int id)
{
    const std::size_t g = std::size_t(id);
    const auto high = [](Integer word) { return (std::uint16_t(word) >> 8) & 0xFF; };
    const auto low = [](Integer word) { return std::uint16_t(word) & 0xFF; };
    return {high(Cfg.GaugeRecPlate1[g]),   low(Cfg.GaugeRecPlate1[g]), Cfg.GaugeRecCategory2[g],
            Cfg.GaugeRecSeqNr2[g],        high(Cfg.GaugeRecPlate2[g]), low(Cfg.GaugeRecPlate2[g]),
            Cfg.GaugeRecCategory1[g],     Cfg.GaugeRecSeqNr1[g]};
}

void engineCluster(ProcessLoop& loop, int slot)
{
    RunState& r = RunData;
    const std::size_t s = std::size_t(slot);
    const int id = r.SlotGaugeID[s];
    const int phase = r.SlotPort2[s] & 3;
    const std::array<int, kClusterNeedles> plates = clusterPlates(id);
    for (const ClusterNeedle& needle : kClusterPhases[phase]) {
        const std::optional<Single> read = loop.GetPort(r.SlotClusterPorts[s][std::size_t(needle.port)]);
        if (!read)
            continue;
        Single value = *read;
        if (needle.port == kUnsignedWordPort && value < 0)
            value += 65535;
        if (const std::optional<int> steps = PlateValueToSteps(plates[std::size_t(needle.port)], value))
            loop.AddGaugeCommand(id, needle.command, *steps);
    }
    r.SlotPort2[s] = (phase + 1) & 3;
}

} // namespace

void InstallNeedleOutputs(ProcessHandlers& handlers)
{
    for (int type = kFirstNeedleType; type <= kLastNeedleType; ++type)
        handlers.gaugeOutputs[std::size_t(type)] = needleGauge;
    handlers.gaugeOutputs[EngineClusterType] = engineCluster;
}

std::optional<int> DisplayWord(Single value)
{
    const double tenths = std::nearbyint(double(value) * 10);
    if (!(tenths >= 0 && tenths <= kLargestTenths))
        return std::nullopt;
    const int n = int(tenths);
    const int d1 = n / 1000;
    const int d2 = n / 100 % 10;
    const int d3 = n / 10 % 10;
    const int d4 = n % 10;
    if (n >= 1000)
        return (d1 * 16 + d2) * 256 + d3 * 16 + kDisplayWholeNibble;
    return (d2 * 16 + d3) * 256 + kDisplayPointNibble * 16 + d4;
}

} // namespace varnet
