#include "bus/instrumentoutputs.h"

#include "bus/processloop.h"
#include "bus/runstate.h"
#include "config/gaugetypes.h"
#include "platform/clock.h"
#include "simlink/instruments.h"
#include "simlink/simcom.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace varnet {

InstrumentOutputState InstrumentOutputs;

namespace {

constexpr int kStepsPerTurn = 4320;
constexpr int kCardStepsPerTurn = 4608;
constexpr double kMillibarPerInchHg = 33.86;
constexpr Single kUnsentSlot = -1.0f;  // what the preparation leaves in a slot's last values

// General-value ports that the clocks switch on and off.
constexpr int kSimTimePort = 10;
constexpr int kOutsideTempPort = 11;

// Clock option (option word 1 And 15).
constexpr int kClockOptionMask = 15;
constexpr int kClockPCTime = 1;
constexpr int kClockSimTime = 2;
constexpr Long kSecondsFold = 65535;

// Steps of `degrees` on a turn of `steps`, limited to one turn.
std::optional<int> turnSteps(ProcessLoop& loop, double degrees, int steps)
{
    const std::optional<int> n = RoundedInteger(loop, degrees / 360 * steps);
    if (!n)
        return std::nullopt;
    return std::clamp(*n, 0, steps - 1);
}

// x limited to the range between 0 and `end`, whichever way round.
double limited(double x, double end)
{
    return std::clamp(x, std::min(0.0, end), std::max(0.0, end));
}

// Seconds of the day as the gauges take them: above 65535 as 65535 minus them.
Long folded(Long seconds)
{
    return seconds > kSecondsFold ? kSecondsFold - seconds : seconds;
}

Long unfolded(Long seconds)
{
    return seconds < 0 ? kSecondsFold - seconds : seconds;
}

// The simulator's time and date, and the second of its local time, which
// the airliner clock's once-a-minute send waits for.
void readSimulatorTime(ProcessLoop& loop)
{
    loop.Link().GetTimeAndDate();
    Instruments.ClockSecond = Byte(unfolded(Instruments.SimLocalTimeSec) % 60);
}

// ---- Digital altimeter ------------------------------------------------------

constexpr int kAltimeterAltitudeCommand = 4;
constexpr int kAltimeterPressureCommand = 12;
constexpr Integer kAltimeterInchesModel = 1;

void altimeter(ProcessLoop& loop, int slotIndex)
{
    const OutputSlot slot(slotIndex);
    if (const std::optional<double> feet = ShownAltitudeFeet())
        loop.AddGaugeCommand(slot.id, kAltimeterAltitudeCommand, *feet);
    // The run window's pressure boxes already show this value in this tick.
    const Single hg = RunData.SimAirPressureHg;
    if (Cfg.GaugeRecFunction2[slot.g] != 0 || Cfg.GaugeRecSeqNr2[slot.g] != 0) {
        const double pressure =
            Cfg.GaugeRecModel[slot.g] == kAltimeterInchesModel ? double(hg * 100.0f) : hg * kMillibarPerInchHg;
        SendFinite(loop, slot.id, kAltimeterPressureCommand, std::floor(pressure));
    }
    if (Cfg.GaugeRecFunction2[slot.g] == 0)
        loop.RequestStatusInTurn(slotIndex);
}

// ---- Attitude indicator -------------------------------------------------------

constexpr int kBankCommand = 4;
constexpr int kPitchCommand = 5;

// Option words 1 and 2 hold the steps from the horizon to either end.
void attitudeIndicator(ProcessLoop& loop, int slotIndex)
{
    const OutputSlot slot(slotIndex);
    const double bankEnd = Cfg.GaugeRecPlate1[slot.g];
    const double pitchEnd = Cfg.GaugeRecPlate2[slot.g];
    const double bank = bankEnd + RunData.SimBank / 180.0 * bankEnd;
    if (const std::optional<int> steps = RoundedInteger(loop, limited(bank, 2 * bankEnd)))
        loop.AddGaugeCommand(slot.id, kBankCommand, *steps);
    const double pitch = pitchEnd + 4 * (RunData.SimPitch / 90.0 * pitchEnd);
    if (const std::optional<int> steps = RoundedInteger(loop, limited(pitch, 2 * pitchEnd)))
        loop.AddGaugeCommand(slot.id, kPitchCommand, *steps);
}

// ---- Airliner clock ------------------------------------------------------------

constexpr int kClockTimeCommand = 5;
constexpr int kClockDateCommand = 4;
constexpr int kAirlinerClockPhases = 6;

// The date word: the year since 2000 in bits 10..15, the month in bits 6..9,
// the day in bits 0..4, as a signed 16-bit word (from 2032 on it is
// negative), the way the clock's own dialog sends it. Nothing for a date the
// word cannot hold.
std::optional<int> dateWord()
{
    const InstrumentValues& v = Instruments;
    if (v.ClockYear < 0 || v.ClockYear > 63 || v.ClockMonth < 1 || v.ClockMonth > 12 || v.ClockDay < 1 ||
        v.ClockDay > 31)
        return std::nullopt;
    return std::int16_t(std::uint16_t(v.ClockYear * 1024 | (v.ClockMonth & 15) * 64 | (v.ClockDay & 31)));
}

void sendPCTime(ProcessLoop& loop, const OutputSlot& slot)
{
    const QDateTime now = clock().now();
    const QTime time = now.time();
    const Long PCTimeSec = folded(time.hour() * 3600 + time.minute() * 60 + time.second());
    Instruments.ClockDay = now.date().day();
    Instruments.ClockMonth = now.date().month();
    Instruments.ClockYear = now.date().year() - 2000;
    loop.AddGaugeCommand(slot.id, kClockTimeCommand, PCTimeSec);
}

// The time of day goes out at the first chance and then once a minute, at
// second 0. Only the simulator-time clock follows the simulator: a clock
// on the PC's time has its time once, and the others keep their own.
void followSimulatorTime(ProcessLoop& loop, const OutputSlot& slot)
{
    const InstrumentValues& v = Instruments;
    Single& last = RunData.SlotLast1[slot.s];
    const bool firstChance = last == kUnsentSlot;
    if (Cfg.GaugeRecPlate2[slot.g] != 0) {
        if (Single(v.SimZuluTimeSec) != last) {
            if (firstChance || v.ClockSecond == 0)
                loop.AddGaugeCommand(slot.id, kClockTimeCommand, v.SimZuluTimeSec);
            last = Single(v.SimZuluTimeSec);
        }
    } else if (Single(v.ClockSecond) != last) {
        if (firstChance || v.ClockSecond == 0)
            loop.AddGaugeCommand(slot.id, kClockTimeCommand, v.SimLocalTimeSec);
        last = Single(v.ClockSecond);
    }
}

// The phase kept in SlotPort1 brings each step every sixth pass.
void airlinerClock(ProcessLoop& loop, int slotIndex)
{
    const OutputSlot slot(slotIndex);
    RunState& r = RunData;
    int& phase = r.SlotPort1[slot.s];
    const int option = Cfg.GaugeRecPlate1[slot.g] & kClockOptionMask;
    const bool simTime = option == kClockSimTime;
    InstrumentMemory& memory = InstrumentOutputs.Memory[slot.g];
    switch (phase) {
    case 1:
        if (simTime)
            loop.Link().EnableReadSimPort(r.GeneralPort[kSimTimePort]);
        break;
    case 2:
        if (simTime) {
            readSimulatorTime(loop);
            loop.Link().DisableReadSimPort(r.GeneralPort[kSimTimePort]);
        } else if (r.SlotLast1[slot.s] == kUnsentSlot) {
            sendPCTime(loop, slot);
            r.SlotLast1[slot.s] = Instruments.ClockSecond;
        }
        break;
    case 3:
        if (simTime)
            followSimulatorTime(loop, slot);
        break;
    case 4:
        // The date goes to the synchronised clocks once after each run start.
        if ((simTime || option == kClockPCTime) && memory.run != CurrentRun()) {
            if (const std::optional<int> word = dateWord()) {
                loop.AddGaugeCommand(slot.id, kClockDateCommand, *word);
                memory.run = CurrentRun();
            }
        }
        break;
    default:
        break;
    }
    if (++phase >= kAirlinerClockPhases || phase < 0)
        phase = 0;
}

// ---- Heading indicator ---------------------------------------------------------

constexpr int kHeadingCommand = 5;
constexpr Integer kShowCompassOption = 8;

// The reversed-direction option (16) of the record is not applied here: the
// heading goes out as the simulator gives it, as stored configurations
// have always had it.
void headingIndicator(ProcessLoop& loop, int slotIndex)
{
    const OutputSlot slot(slotIndex);
    const RunState& r = RunData;
    const Single heading = (Cfg.GaugeRecPlate2[slot.g] & kShowCompassOption) ? r.SimCompass : r.SimHeading;
    if (const std::optional<int> steps = turnSteps(loop, heading, kStepsPerTurn))
        loop.AddGaugeCommand(slot.id, kHeadingCommand, *steps);
    // Without reply ports the gauge got no poll number.
    if (r.SlotPort1[slot.s] != kNoSimPort || r.SlotPort2[slot.s] != kNoSimPort)
        loop.RequestStatusInTurn(slotIndex);
}

// ---- VOR indicators ------------------------------------------------------------

constexpr int kDeviationCommand = 5;
constexpr int kGlideslopeCommand = 6;
constexpr int kVORFlagCommand = 12;
constexpr int kNeedleCentre = 472;
constexpr double kNeedleTravel = 300;  // steps either side of the centre
constexpr double kFullDeviation = 127;

// The memory of the gauge in this run: a run start sends everything again.
InstrumentMemory& vorMemory(const OutputSlot& slot)
{
    InstrumentMemory& memory = InstrumentOutputs.Memory[slot.g];
    if (memory.run != CurrentRun()) {
        memory = InstrumentMemory{};
        memory.run = CurrentRun();
    }
    return memory;
}

// Simulator deviations -127..127 move the needle 300 steps either side.
void sendDeviation(ProcessLoop& loop, int gaugeID, int port, Single& sent, int command)
{
    const std::optional<Single> value = loop.GetPort(port);
    if (!value || *value == sent)
        return;
    sent = *value;
    if (const std::optional<int> deviation = RoundedInteger(loop, *value)) {
        if (const std::optional<int> steps = RoundedInteger(loop, *deviation / kFullDeviation * kNeedleTravel))
            loop.AddGaugeCommand(gaugeID, command, kNeedleCentre + *steps);
    }
}

// A flag as a byte; a port that gives no value counts as a flag that is off.
std::optional<int> flagValue(ProcessLoop& loop, int port)
{
    const std::optional<Single> value = loop.GetPort(port);
    if (!value)
        return 0;
    return RoundedIn(loop, *value, 0, 255);
}

void sendFlags(ProcessLoop& loop, int gaugeID, InstrumentMemory& memory, int word)
{
    if (word == memory.flags)
        return;
    memory.flags = word;
    loop.AddGaugeCommand(gaugeID, kVORFlagCommand, word);
}

void firstVOR(ProcessLoop& loop, int slotIndex)
{
    const OutputSlot slot(slotIndex);
    const RunState& r = RunData;
    InstrumentMemory& memory = vorMemory(slot);
    sendDeviation(loop, slot.id, r.SlotPort1[slot.s], memory.deviation, kDeviationCommand);
    sendDeviation(loop, slot.id, r.SlotPort2[slot.s], memory.glideslope, kGlideslopeCommand);
    const std::optional<int> navFlag = flagValue(loop, r.SlotPort3[slot.s]);
    const std::optional<int> glideslopeFlag = flagValue(loop, r.SlotPort4[slot.s]);
    if (navFlag && glideslopeFlag)
        sendFlags(loop, slot.id, memory, (*glideslopeFlag != 0 ? 4 : 0) + *navFlag + 1);
    loop.RequestStatusInTurn(slotIndex);
}

void secondVOR(ProcessLoop& loop, int slotIndex)
{
    const OutputSlot slot(slotIndex);
    const RunState& r = RunData;
    InstrumentMemory& memory = vorMemory(slot);
    sendDeviation(loop, slot.id, r.SlotPort1[slot.s], memory.deviation, kDeviationCommand);
    if (const std::optional<int> flag = flagValue(loop, r.SlotPort2[slot.s]))
        sendFlags(loop, slot.id, memory, *flag + 1);
    loop.RequestStatusInTurn(slotIndex);
}

// ---- ADF indicator -------------------------------------------------------------

constexpr int kBearingCommand = 5;

void adfIndicator(ProcessLoop& loop, int slotIndex)
{
    const OutputSlot slot(slotIndex);
    Single& last = RunData.SlotLast1[slot.s];
    const std::optional<Single> value = loop.GetPort(RunData.SlotPort1[slot.s]);
    if (value && *value != last) {
        last = *value;
        const double bearing = *value < 0 ? *value + 360.0 : *value;
        if (const std::optional<int> steps = turnSteps(loop, bearing, kStepsPerTurn))
            loop.AddGaugeCommand(slot.id, kBearingCommand, *steps);
    }
    loop.RequestStatusInTurn(slotIndex);
}

// ---- Light-aircraft clock ------------------------------------------------------

constexpr int kLightClockHourCommand = 4;
constexpr int kVoltageCommand = 9;
constexpr int kCelsiusCommand = 11;
constexpr int kFahrenheitCommand = 12;
constexpr int kLightClockCycle = 101;

// The work of the 101-tick cycle, by counter value.
enum LightClockTick : int {
    SelectTimeTick = 20,
    ReadTimeTick = 25,
    SendTimeTick = 27,
    AfterTimeTick = 28,
    VoltageTick = 40,
    CelsiusTick = 50,
    FahrenheitTick = 60,
};

// The voltage as the display shows "00.0": 12.6 volts is 12 * 256 + 6.
// Nothing for a voltage the display cannot show.
std::optional<int> voltageWord(Single volts)
{
    const double tenths = std::round(double(volts) * 10);
    if (!(tenths >= 0 && tenths <= 999))
        return std::nullopt;
    const int n = int(tenths);
    return n / 10 * 256 + n % 10;
}

void lightAircraftClock(ProcessLoop& loop, int slotIndex)
{
    const OutputSlot slot(slotIndex);
    RunState& r = RunData;
    const InstrumentValues& v = Instruments;
    int& counter = r.SlotPort1[slot.s];
    const bool simTime = (Cfg.GaugeRecPlate1[slot.g] & kClockOptionMask) == kClockSimTime;
    switch (counter) {
    case SelectTimeTick:
        if (simTime)
            loop.Link().EnableReadSimPort(r.GeneralPort[kSimTimePort]);
        break;
    case ReadTimeTick:
        if (simTime) {
            readSimulatorTime(loop);
            loop.Link().DisableReadSimPort(r.GeneralPort[kSimTimePort]);
        } else {
            counter = AfterTimeTick;
        }
        break;
    case SendTimeTick:
        loop.AddGaugeCommand(slot.id, kClockTimeCommand, v.SimZuluTimeSec);
        loop.AddGaugeCommand(slot.id, kLightClockHourCommand, v.ClockHour);
        break;
    case VoltageTick:
        if (const std::optional<int> word = voltageWord(r.SimVoltage1))
            loop.AddGaugeCommand(slot.id, kVoltageCommand, *word);
        loop.Link().EnableReadSimPort(r.GeneralPort[kOutsideTempPort]);
        break;
    case CelsiusTick:
        loop.Link().DisableReadSimPort(r.GeneralPort[kOutsideTempPort]);
        if (const std::optional<int> celsius = RoundedInteger(loop, v.SimOutsideTemp))
            loop.AddGaugeCommand(slot.id, kCelsiusCommand, *celsius);
        break;
    case FahrenheitTick:
        if (const std::optional<int> fahrenheit = RoundedInteger(loop, 9.0 * v.SimOutsideTemp / 5 + 32))
            loop.AddGaugeCommand(slot.id, kFahrenheitCommand, *fahrenheit);
        break;
    default:
        break;
    }
    if (++counter >= kLightClockCycle || counter < 0)
        counter = 0;
}

// ---- Radio magnetic indicator --------------------------------------------------

constexpr int kCardCommand = 5;
constexpr int kNeedleCommand = 9;
constexpr int kPowerCommand = 14;
constexpr int kDistanceCommand = 15;
constexpr int kRMIPhases = 4;
constexpr Single kPoweredVolts = 8.0f;
constexpr int kPowerOn = 0;
constexpr int kPowerOff = 1;
constexpr int kFirstNeedleBit = 16384;
constexpr int kSecondNeedleBit = 8192;
constexpr int kDistanceShownBit = 8192;
constexpr int kSecondDistanceBit = 16384;
constexpr int kNoDistanceWord = 2730;  // 10 in every digit place: no digit shown

// Power follows the second voltage; when it comes on every needle goes out
// again. Then the compass card.
void rmiPowerAndCard(ProcessLoop& loop, const OutputSlot& slot)
{
    RunState& r = RunData;
    Single& lastVolts = r.GaugeLastReplyValue[slot.g];
    const Single volts = r.SimVoltage2;
    if (std::isfinite(volts) && volts != lastVolts) {
        lastVolts = volts;
        if (volts >= kPoweredVolts) {
            loop.AddGaugeCommand(slot.id, kPowerCommand, kPowerOn);
            for (std::vector<Single>* last : {&r.SlotLast1, &r.SlotLast2, &r.SlotLast3, &r.SlotLast4})
                (*last)[slot.s] = kUnsentSlot;
        } else {
            loop.AddGaugeCommand(slot.id, kPowerCommand, kPowerOff);
        }
    }
    const Single card = Cfg.GaugeRecPlate1[slot.g] != 0 ? r.SimCompass : r.SimHeading;
    const std::optional<int> steps = RoundedInteger(loop, card / 360.0 * kCardStepsPerTurn);
    if (steps && Single(*steps) != r.SlotLast1[slot.s]) {
        r.SlotLast1[slot.s] = Single(*steps);
        loop.AddGaugeCommand(slot.id, kCardCommand, *steps);
    }
}

// A bearing needle; the bits above its steps say which needle it is, so
// the steps stay within one turn.
void rmiNeedle(ProcessLoop& loop, const OutputSlot& slot, int port, Single& last, int needleBits)
{
    const std::optional<Single> value = loop.GetPort(port);
    if (!value)
        return;
    const double bearing = *value < 0 ? *value + 360.0 : *value;
    const std::optional<int> steps = turnSteps(loop, bearing, kStepsPerTurn);
    if (steps && Single(*steps) != last) {
        last = Single(*steps);
        loop.AddGaugeCommand(slot.id, kNeedleCommand, *steps | needleBits);
    }
}

void rmiDistance(ProcessLoop& loop, const OutputSlot& slot, int port, Single& last, int displayBits)
{
    const std::optional<Single> value = loop.GetPort(port);
    if (!value || !std::isfinite(*value) || *value == last)
        return;
    last = *value;
    const int word = *value < 0 ? kNoDistanceWord : PackDigits(DistanceText(*value)).word | kDistanceShownBit;
    loop.AddGaugeCommand(slot.id, kDistanceCommand, word | displayBits);
}

// The phase in SlotPort4 brings the card, then one needle per pass.
void radioMagneticIndicator(ProcessLoop& loop, int slotIndex)
{
    const OutputSlot slot(slotIndex);
    RunState& r = RunData;
    int& phase = r.SlotPort4[slot.s];
    switch (phase) {
    case 0:
        rmiPowerAndCard(loop, slot);
        break;
    case 1:
        rmiNeedle(loop, slot, r.SlotPort1[slot.s], r.SlotLast2[slot.s], kFirstNeedleBit);
        break;
    case 2:
        rmiNeedle(loop, slot, r.SlotPort2[slot.s], r.SlotLast3[slot.s], kSecondNeedleBit);
        break;
    case 3:
        rmiNeedle(loop, slot, r.SlotPort3[slot.s], r.SlotLast4[slot.s], 0);
        break;
    default:
        break;
    }
    // The two distance displays, when the option has them.
    if (Cfg.GaugeRecPlate1[slot.g] & 3) {
        InstrumentMemory& memory = InstrumentOutputs.Memory[slot.g];
        if (phase == 1)
            rmiDistance(loop, slot, r.RMIExtraPort1, memory.distance1, 0);
        else if (phase == 2)
            rmiDistance(loop, slot, r.RMIExtraPort2, memory.distance2, kSecondDistanceBit);
    }
    if (++phase >= kRMIPhases || phase < 0)
        phase = 0;
}

} // namespace

void InstallInstrumentOutputs(ProcessHandlers& handlers)
{
    handlers.gaugeOutputs[AltimeterType] = altimeter;
    handlers.gaugeOutputs[AttitudeIndicatorType] = attitudeIndicator;
    handlers.gaugeOutputs[AirlinerClockType] = airlinerClock;
    handlers.gaugeOutputs[HeadingIndicatorType] = headingIndicator;
    handlers.gaugeOutputs[VOR1Type] = firstVOR;
    handlers.gaugeOutputs[VOR2Type] = secondVOR;
    handlers.gaugeOutputs[ADFIndicatorType] = adfIndicator;
    handlers.gaugeOutputs[LightAircraftClockType] = lightAircraftClock;
    handlers.gaugeOutputs[RMIType] = radioMagneticIndicator;
}

OutputSlot::OutputSlot(int slot) : s(std::size_t(slot)), id(RunData.SlotGaugeID[s]), g(std::size_t(id)) {}

bool InTurn(const OutputSlot& slot)
{
    return RunData.PollIndex == RunData.SlotPollNr[slot.s];
}

int CurrentRun()
{
    if (RunData.DateSentFlag) {
        RunData.DateSentFlag = false;
        ++InstrumentOutputs.RunStarts;
    }
    return InstrumentOutputs.RunStarts;
}

std::optional<int> RoundedIn(ProcessLoop& loop, double x, int lo, int hi)
{
    if (!std::isfinite(x))
        return std::nullopt;
    const double n = std::nearbyint(x);
    if (n < lo || n > hi) {
        loop.Fault(QStringLiteral("Overflow"));
        return std::nullopt;
    }
    return int(n);
}

std::optional<int> RoundedInteger(ProcessLoop& loop, double x)
{
    return RoundedIn(loop, x, std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max());
}

void SendFinite(ProcessLoop& loop, int gaugeID, int command, double value)
{
    if (std::isfinite(value))
        loop.AddGaugeCommand(gaugeID, command, value);
}

std::optional<double> ShownAltitudeFeet()
{
    const double feet = Instruments.SimAltitude;
    if (!std::isfinite(feet))
        return std::nullopt;
    return std::round(feet);
}

std::string DisplayText(double value, int wholeDigits, int decimals)
{
    const int places = wholeDigits + decimals;
    const double largest = std::pow(10.0, places) - 1;
    double scaled = std::round(std::fabs(value) * std::pow(10.0, decimals));
    if (!(scaled <= largest))
        scaled = largest;
    std::string digits = std::to_string(static_cast<long long>(scaled));
    digits.insert(0, std::size_t(std::max(0, places - int(digits.size()))), '0');
    if (decimals > 0)
        digits.insert(digits.size() - std::size_t(decimals), 1, '.');
    return (value < 0 && scaled != 0 ? "-" : "") + digits;
}

std::string DistanceText(double value)
{
    const double rounded = std::nearbyint(value * 10) / 10;
    return rounded <= 99.9 ? DisplayText(rounded, 2, 1) : DisplayText(rounded, 3, 0);
}

PackedDigits PackDigits(const std::string& text)
{
    PackedDigits packed;
    std::uint32_t word = 0;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] < '0' || text[k] > '9')
            continue;
        word = word << 4 | std::uint32_t(text[k] - '0');
        packed.lastDigit = int(k) + 1;
    }
    // A display text has a few digits; a longer one keeps its last seven.
    packed.word = int(word & 0x0FFFFFFF);
    return packed;
}

} // namespace varnet
