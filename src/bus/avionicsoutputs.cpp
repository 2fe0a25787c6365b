#include "bus/avionicsoutputs.h"

#include "bus/instrumentoutputs.h"
#include "bus/processloop.h"
#include "bus/runstate.h"
#include "config/gaugetypes.h"
#include "simlink/instruments.h"
#include "simlink/simcom.h"

#include <cmath>
#include <cstdlib>

namespace varnet {

AvionicsOutputState AvionicsOutputs;

namespace {

// The modules that only report back.
constexpr int kStatusOnlyTypes[] = {GenericRadioType, RadioModuleType, PanelTransponderType, COMNAVRadioType,
                                    ADFRadioType};

constexpr Single kNoDistance = -1.0f;

// A phase kept in a Single slot field: 0..phases-1, or -1 for none.
int phaseOf(Single phase)
{
    return phase >= 0 && phase < 100 && phase == std::floor(phase) ? int(phase) : -1;
}

// The next phase; none comes back to 0.
void advancePhase(Single& phase, int phases)
{
    const int next = phaseOf(phase) + 1;
    phase = Single(next >= phases ? 0 : next);
}

void statusOnly(ProcessLoop& loop, int slot)
{
    loop.RequestStatusInTurn(slot);
}

// ---- Transponders --------------------------------------------------------------

constexpr int kTransponderModeCommand = 12;
constexpr int kModeStandby = 0;
constexpr int kModeOn = 256;
constexpr int kAltitudeCommand = 5;
constexpr double kFeetPerReportUnit = 100;

// With a mode port, its turn tells the module the simulator's mode instead
// of asking for its status.
void airlinerTransponder(ProcessLoop& loop, int slotIndex)
{
    const OutputSlot slot(slotIndex);
    if (!InTurn(slot))
        return;
    loop.RequestStatusInTurn(slotIndex);
    const int modePort = RunData.SlotPort3[slot.s];
    if (modePort == kNoSimPort)
        return;
    const std::optional<Single> mode = loop.GetPort(modePort);
    if (!mode || std::isnan(*mode))
        return;
    loop.MakeGaugeRequest(slot.id, kTransponderModeCommand, *mode > 0 ? kModeOn : kModeStandby);
}

// Its turn brings the module the altitude in hundreds of feet; without an
// altitude it is only asked for its status.
void altitudeTransponder(ProcessLoop& loop, int slotIndex)
{
    const OutputSlot slot(slotIndex);
    if (!InTurn(slot))
        return;
    if (const std::optional<double> feet = ShownAltitudeFeet())
        loop.MakeGaugeRequest(slot.id, kAltitudeCommand, std::floor(*feet / kFeetPerReportUnit));
    else
        loop.RequestStatusInTurn(slotIndex);
}

// ---- DME units -----------------------------------------------------------------

constexpr int kDMEPhases = 5;
enum DMEPhase : int { SelectSourcePhase = 0, DistancePhase = 2, SpeedPhase = 3, TimePhase = 4 };
constexpr int kDistanceCommand = 4;
constexpr int kSpeedCommand = 3;
constexpr int kTimeCommand = 5;
constexpr int kTwoDigitsBit = 16384;    // the last digit was the second character
constexpr int kThreeDigitsBit = 8192;   // the last digit was the third character
constexpr int kNoDistanceBits = 12288;
constexpr int kNoTimeWord = 153;
constexpr int kFirstSelector = 1;
constexpr int kLastSelector = 4;

int dmeWord(const std::string& text)
{
    const PackedDigits digits = PackDigits(text);
    if (digits.lastDigit == 2)
        return digits.word | kTwoDigitsBit;
    if (digits.lastDigit == 3)
        return digits.word | kThreeDigitsBit;
    return digits.word;
}

// The three readings follow the source; a selector the readings do not
// have is ignored.
void selectSource(ProcessLoop& loop, const OutputSlot& slot, int selector)
{
    if (selector < kFirstSelector || selector > kLastSelector)
        return;
    const RunState& r = RunData;
    for (int port : {r.SlotPort1[slot.s], r.SlotPort2[slot.s], r.SlotPort3[slot.s]})
        loop.Link().NewSeqNr(port, selector);
}

// Whether the unit has a distance: its own flag when it has a fourth
// port that reads, else the sign of the distance.
bool hasDistance(ProcessLoop& loop, const OutputSlot& slot, Single distance)
{
    const int flagPort = RunData.SlotPort4[slot.s];
    if (flagPort != kNoSimPort) {
        if (const std::optional<Single> flag = loop.GetPort(flagPort))
            return *flag != 0;
    }
    return distance >= 0;
}

std::optional<Single> finiteReading(ProcessLoop& loop, int port)
{
    const std::optional<Single> value = loop.GetPort(port);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

// One phase per pass: the source, a pause for the simulator to deliver the
// newly selected readings, then distance, speed and time. The second unit
// always follows the selection and shows its speed in whole knots.
void dmeUnit(ProcessLoop& loop, int slotIndex, bool secondUnit)
{
    const OutputSlot slot(slotIndex);
    RunState& r = RunData;
    Single& phase = r.SlotLast1[slot.s];
    Single& noDistance = r.SlotLast4[slot.s];  // below 0: the unit has no distance
    switch (phaseOf(phase)) {
    case SelectSourcePhase:
        if (!secondUnit && Cfg.GaugeRecPlate1[slot.g] != 0) {
            // The unit's own selector, as it last reported it.
            const Single reported = r.GaugeLastReplyValue[slot.g];
            if (reported == 1.0f || reported == 2.0f)
                selectSource(loop, slot, int(reported));
        } else {
            selectSource(loop, slot, r.DMESelection);
        }
        break;
    case DistancePhase:
        if (const std::optional<Single> distance = finiteReading(loop, r.SlotPort1[slot.s])) {
            noDistance = hasDistance(loop, slot, *distance) ? 0 : kNoDistance;
            loop.AddGaugeCommand(slot.id, kDistanceCommand,
                                 dmeWord(DistanceText(*distance)) | (noDistance < 0 ? kNoDistanceBits : 0));
        }
        break;
    case SpeedPhase:
        if (const std::optional<Single> speed = finiteReading(loop, r.SlotPort2[slot.s])) {
            const std::string text =
                secondUnit ? DisplayText(std::nearbyint(*speed * 10.0) / 10, 3, 0) : DistanceText(*speed);
            loop.AddGaugeCommand(slot.id, kSpeedCommand, dmeWord(text) | (noDistance < 0 ? kNoDistanceBits : 0));
        }
        break;
    case TimePhase:
        if (noDistance < 0) {
            loop.AddGaugeCommand(slot.id, kTimeCommand, kNoTimeWord);
        } else if (const std::optional<Single> minutes = finiteReading(loop, r.SlotPort3[slot.s])) {
            loop.AddGaugeCommand(slot.id, kTimeCommand, dmeWord(DisplayText(std::floor(*minutes), 2, 0)));
        }
        break;
    default:
        break;
    }
    advancePhase(phase, kDMEPhases);
    loop.RequestStatusInTurn(slotIndex);
}

void dmeIndicator(ProcessLoop& loop, int slot)
{
    dmeUnit(loop, slot, false);
}

void secondDME(ProcessLoop& loop, int slot)
{
    dmeUnit(loop, slot, true);
}

// ---- Autopilot panel -----------------------------------------------------------

constexpr int kLampsCommand = 5;
constexpr int kVerticalSpeedCommand = 4;
constexpr int kHoldAltitudeCommand = 3;
constexpr int kFlagsCommand = 11;
constexpr Integer kHoldOnCaptureOption = 16;
constexpr Integer kCaptureModes = 193;
constexpr double kClimbThresholdFeet = 200;
constexpr double kNearAltitudeFeet = 100;
constexpr int kAltitudeReachedFlags = 20;
constexpr Integer kTrendTicks = 16;
constexpr int kTrendRising = 12288;
constexpr int kTrendFalling = 24576;

// The panel's lamps as the simulator has them, with the vertical speed in
// hundreds of feet per minute in the high byte. A descent's sign would lie
// above the frame's sixteen bits; the panel has always had the magnitude.
void setLamps(ProcessLoop& loop, const OutputSlot& slot)
{
    const InstrumentValues& v = Instruments;
    AvionicsOutputState& ap = AvionicsOutputs;
    const int hundreds = int(std::nearbyint(std::fabs(v.APVerticalSpeed / 100.0)));
    loop.AddGaugeCommand(slot.id, kLampsCommand, (hundreds & 0xFF) << 8 | (v.APSimModeBits & 0xFF));
    if ((Cfg.GaugeRecPlate1[slot.g] & kHoldOnCaptureOption) && (ap.APModeBitsPrev & kCaptureModes) == 0 &&
        (v.APModeBits & kCaptureModes) != 0)
        SendFinite(loop, slot.id, kHoldAltitudeCommand, std::nearbyint(v.SimAltitude));
    ap.APModeBitsPrev = v.APModeBits;
}

// Lamps and vertical speed agree: climb or descend towards a preselected
// altitude, tell the panel when it is reached, and show the trend.
void followAltitude(ProcessLoop& loop, const OutputSlot& slot)
{
    InstrumentValues& v = Instruments;
    AvionicsOutputState& ap = AvionicsOutputs;
    int flags = 0;
    const double altitude = v.SimAltitude;
    if (std::isfinite(altitude)) {
        const double toGo = v.APAltitudeFeet - altitude;
        if (v.APVerticalSpeed == 0 && std::fabs(toGo) > kClimbThresholdFeet) {
            const double speed = Cfg.GaugeRecPlate2[slot.g];
            if (const std::optional<int> commanded = RoundedInteger(loop, toGo > 0 ? speed : -speed)) {
                v.APVerticalSpeed = Integer(*commanded);
                loop.Link().PutAPVSvalue();
            }
        }
        if (std::nearbyint(std::fabs(toGo)) > kNearAltitudeFeet) {
            ap.APAltitudeAway = 1;
        } else if (ap.APAltitudeAway == 1) {
            ap.APAltitudeAway = 0;
            flags = kAltitudeReachedFlags;
        }
    }
    if (ap.APTrendCounter < kTrendTicks) {
        ++ap.APTrendCounter;
    } else {
        ap.APTrendCounter = 0;
        const int change = v.APValue100 - ap.APValue100Prev;
        ap.APValue100Prev = v.APValue100;
        ap.APTrendBits = Integer(change > 1 ? kTrendRising : change < -1 ? kTrendFalling : 0);
    }
    loop.AddGaugeCommand(slot.id, kFlagsCommand, flags | ap.APTrendBits);
}

void autopilot(ProcessLoop& loop, int slotIndex)
{
    const OutputSlot slot(slotIndex);
    if (InTurn(slot)) {
        loop.RequestStatusInTurn(slotIndex);
        return;
    }
    if (const std::optional<QString> fault = loop.Link().GetAPVSvalue()) {
        if (!loop.Fault(*fault))
            return;
    }
    const InstrumentValues& v = Instruments;
    AvionicsOutputState& ap = AvionicsOutputs;
    if (v.APModeBits != v.APSimModeBits) {
        setLamps(loop, slot);
    } else if (ap.APVerticalSpeedSent != v.APVerticalSpeed) {
        loop.AddGaugeCommand(slot.id, kVerticalSpeedCommand, v.APVerticalSpeed);
        ap.APVerticalSpeedSent = v.APVerticalSpeed;
    } else {
        followAltitude(loop, slot);
    }
}

// ---- Audio panel ---------------------------------------------------------------

constexpr int kAudioPhases = 4;
constexpr int kLampPorts = 3;
constexpr int kLampBits[kLampPorts] = {1, 2, 4};
constexpr int kLampCommand = 6;

// One lamp per pass, then the lamps together when they changed.
void audioPanel(ProcessLoop& loop, int slotIndex)
{
    const OutputSlot slot(slotIndex);
    RunState& r = RunData;
    Integer& lamps = AvionicsOutputs.AudioPanelLampBits;
    const int ports[kLampPorts] = {r.SlotPort1[slot.s], r.SlotPort2[slot.s], r.SlotPort3[slot.s]};
    const int phase = phaseOf(r.SlotLast1[slot.s]);
    if (phase >= 0 && phase < kLampPorts) {
        const std::optional<Single> lamp = loop.GetPort(ports[phase]);
        if (lamp && !std::isnan(*lamp))
            lamps = Integer(*lamp == 0 ? lamps & ~kLampBits[phase] : lamps | kLampBits[phase]);
    } else if (phase == kLampPorts && Single(lamps) != r.SlotLast2[slot.s]) {
        r.SlotLast2[slot.s] = lamps;
        loop.AddGaugeCommand(slot.id, kLampCommand, lamps);
    }
    advancePhase(r.SlotLast1[slot.s], kAudioPhases);
    loop.RequestStatusInTurn(slotIndex);
}

} // namespace

void InstallAvionicsOutputs(ProcessHandlers& handlers)
{
    for (int type : kStatusOnlyTypes)
        handlers.gaugeOutputs[std::size_t(type)] = statusOnly;
    handlers.gaugeOutputs[AirlinerTransponderType] = airlinerTransponder;
    handlers.gaugeOutputs[TransponderType] = altitudeTransponder;
    handlers.gaugeOutputs[DMEIndicatorType] = dmeIndicator;
    handlers.gaugeOutputs[DMEType] = secondDME;
    handlers.gaugeOutputs[AutopilotType] = autopilot;
    handlers.gaugeOutputs[AudioPanelType] = audioPanel;
}

} // namespace varnet
