#include "bus/processloop.h"

#include "bus/avionicsoutputs.h"
#include "bus/busiomodules.h"
#include "bus/gaugeframes.h"
#include "bus/instrumentoutputs.h"
#include "bus/ioentryrules.h"
#include "bus/needles.h"
#include "bus/platelookup.h"
#include "bus/sendpath.h"
#include "bus/standalonelinks.h"
#include "config/gaugetypes.h"
#include "platform/messages.h"
#include "simlink/instruments.h"
#include "simlink/simcom.h"

#include <algorithm>
#include <cmath>
#include <exception>

namespace varnet {

namespace {

constexpr int kBacklightCommand = 8;
constexpr int kTickCountWrap = 1000;

constexpr Integer kBacklightLit = 128;
constexpr Integer kBacklightBright = 192;  // lit, with bit 64
constexpr Integer kLitBit = 128;
constexpr Integer kBrightBit = 64;
constexpr Single kLitVoltage = 8.0f;      // at or above: the gauges are lit
constexpr Single kBrightVoltage = 9.0f;   // above: a switch change adds bit 64
constexpr Integer kInstrumentLightsBit = 32;
constexpr Integer kNavigationLightsBit = 1;

enum LightsModeCode { LightsFollowSwitches = 0, LightsAlwaysOn = 1 };

// The radio-magnetic indicator sets its three needles with one command and
// its two distance displays with another; bits of the value say which. Two
// frames for different needles must never stand for each other while they
// wait for the line.
constexpr int kRMINeedleCommand = 9;
constexpr int kRMIDistanceCommand = 15;

int partOf(int gaugeID, int command, double value)
{
    if (!ValidGaugeID(gaugeID) || Cfg.GaugeRecType[std::size_t(gaugeID)] != RMIType)
        return 0;
    const int magnitude = int(std::min(std::nearbyint(std::fabs(value)), double(kMaxFrameMagnitude)));
    switch (command & 0x0F) {
    case kRMINeedleCommand:
        return (magnitude >> 13) & 3;
    case kRMIDistanceCommand:
        return (magnitude >> 14) & 1;
    default:
        return 0;
    }
}

} // namespace

ProcessHandlers DefaultProcessHandlers()
{
    ProcessHandlers handlers;
    InstallNeedleOutputs(handlers);
    InstallInstrumentOutputs(handlers);
    InstallAvionicsOutputs(handlers);
    InstallBusIOModules(handlers);
    return handlers;
}

ProcessLoop::ProcessLoop(ProcessLoopHost& host, ProcessHandlers handlers)
    : handlers(std::move(handlers)), host_(host)
{
}

void ProcessLoop::Tick()
{
    ProcessState = 1;
    GaugeSendBuffer.clear();
    PollRequest.clear();
    line_.BeginTick();
    faultGaugeID_ = 0;
    faultType_ = 0;
    if (backlightStep())
        return;

    ProcessState = 2;
    host_.ShowValueBoxes();
    ProcessState = 3;
    if (!perGaugePass())
        return;
    ProcessState = 4;
    readGeneralValues();
    if (!host_.RunActive())
        return;
    ProcessState = 5;
    updateLightBits();
    host_.ShowVoltageAndLights();
    ProcessState = 6;
    statusOrModuleTurn();
    if (!host_.RunActive())
        return;
    ProcessState = 7;
    host_.FlushGaugeOutput();
    ProcessState = 8;
    if (++ProcessTicks > kTickCountWrap)
        ProcessTicks = 0;
}

void ProcessLoop::RunStarted()
{
    faultPassed_.fill(false);
    needleReadings_.clear();
}

void ProcessLoop::RunStopped()
{
    line_.DropRequests();
}

// ---- Step 1: backlight ------------------------------------------------------

bool ProcessLoop::backlightStep()
{
    RunState& r = RunData;
    if (Cfg.LightsMode == LightsFollowSwitches)
        updateBacklightWords();
    if (r.LightsSendCount == 0)
        return false;

    int lastServed = 0;
    for (int slot = 0; slot < r.SlotCount(); ++slot) {
        const int id = r.SlotGaugeID[std::size_t(slot)];
        if (id == 0 || id == lastServed)
            continue;
        // The avionics follow the second voltage as well.
        const bool darkSecond =
            r.SlotLightsFlag[std::size_t(slot)] != 0 && Cfg.LightsMode != LightsAlwaysOn && r.BacklightWord2 == 0;
        AddGaugeCommand(id, kBacklightCommand, darkSecond ? 0 : r.BacklightWord);
        lastServed = id;
    }
    if (Cfg.LightsMode == LightsAlwaysOn)
        r.LightsSendCount = 0;
    ECBacklightOn = (r.BacklightWord & kBrightBit) ? 1 : 0;
    ECDisplaysOn = (r.BacklightWord & kLitBit) ? 1 : 0;
    host_.FlushGaugeOutput();
    return true;
}

void ProcessLoop::updateBacklightWords()
{
    RunState& r = RunData;
    const Integer masked = Integer(r.SimLightBits & Cfg.LightsMask);
    if (masked != r.LastLightBits) {
        r.LastLightBits = masked;
        r.BacklightWord = (r.SimVoltage1 > kBrightVoltage && masked != 0) ? kBacklightBright : kBacklightLit;
        r.LightsSendCount = 1;
    } else {
        r.LightsSendCount = 0;
    }
    // A voltage crossing 8 V switches its light word on or off.
    const auto follow = [&r](Single voltage, Single& last, Integer& word) {
        if (voltage == last)
            return;
        last = voltage;
        const bool wasLit = (word & kLitBit) != 0;
        if (voltage < kLitVoltage) {
            if (wasLit)
                ++r.LightsSendCount;
            word = 0;
        } else {
            if (!wasLit)
                ++r.LightsSendCount;
            word = r.LastLightBits != 0 ? kBacklightBright : kBacklightLit;
        }
    };
    follow(r.SimVoltage1, r.LastVoltage1, r.BacklightWord);
    follow(r.SimVoltage2, r.LastVoltage2, r.BacklightWord2);
}

// ---- Step 3: per-gauge pass ------------------------------------------------

bool ProcessLoop::perGaugePass()
{
    RunState& r = RunData;
    for (int slot = 0; slot < r.SlotCount(); ++slot) {
        const int id = r.SlotGaugeID[std::size_t(slot)];
        if (!ValidGaugeID(id))
            continue;
        const int type = Cfg.GaugeRecType[std::size_t(id)];
        const GaugeOutput output = handlers.gaugeOutputs[std::size_t(type)];
        if (!output)
            continue;
        faultGaugeID_ = id;
        faultType_ = type;
        inGaugeOutput_ = true;
        try {
            output(*this, slot);
        } catch (const std::exception& fault) {
            Fault(QString::fromLocal8Bit(fault.what()));
        }
        inGaugeOutput_ = false;
        if (!host_.RunActive())
            return false;
    }
    return true;
}

// ---- Steps 4 and 5: general values, light bits ------------------------------

void ProcessLoop::readGeneralValues()
{
    RunState& r = RunData;
    // By GeneralPort entry; entry 10, the simulator time, belongs to the clocks.
    Single* const targets[kGeneralPorts] = {
        nullptr,      &r.SimAirPressureHg, &r.SimIAS,         &r.SimVerticalSpeed,          &Instruments.SimAltitude,
        &r.SimPitch,  &r.SimBank,          &r.SimHeading,     &r.SimNavLights,              &r.SimVoltage1,
        nullptr,      &Instruments.SimOutsideTemp,            &r.SimInstrLights, &r.SimCompass, &r.SimVoltage2};
    for (int k = 1; k < kGeneralPorts; ++k) {
        if (!targets[k])
            continue;
        if (const std::optional<Single> value = GetPort(r.GeneralPort[std::size_t(k)]))
            *targets[k] = *value;
        if (!host_.RunActive())
            return;
    }
    if (r.SimHeading < 0)
        r.SimHeading += 360;
}

void ProcessLoop::updateLightBits()
{
    RunState& r = RunData;
    r.SimLightBits = r.SimInstrLights == 0 ? 0 : kInstrumentLightsBit;
    if (r.SimNavLights != 0)
        r.SimLightBits = Integer(r.SimLightBits + kNavigationLightsBit);
}

// ---- Step 6: status request or module turn ----------------------------------

void ProcessLoop::statusOrModuleTurn()
{
    RunState& r = RunData;
    if (r.PollIndex >= kModuleTurnMark) {
        r.PollIndex -= kModuleTurnMark;
        moduleTurn();
        return;
    }
    // The status request is always the last frame of the tick.
    if (PollRequest.size() == kRunUnitBytes)
        line_.Add(LineOutput::Lane::Answers, PollRequest.sliced(1), 0, LineOutput::Kind::Request);
    advancePollIndex();
    if (r.BusIOMCount > 0)
        r.PollIndex += kModuleTurnMark;
}

void ProcessLoop::advancePollIndex()
{
    RunState& r = RunData;
    if (r.PollMax != 0) {
        if (++r.PollIndex > r.PollMax)
            r.PollIndex = 0;
    } else {
        // One polled gauge: it is asked every second gauge turn.
        r.PollIndex = r.PollIndex == 0 ? 1 : 0;
    }
}

void ProcessLoop::moduleTurn()
{
    RunState& r = RunData;
    // The preparation leaves the turn one past the last module.
    if (r.IOMPollIndex < 0 || r.IOMPollIndex > r.IOMPollMax)
        r.IOMPollIndex = 0;
    for (int k = 0; r.ValidModule(k); ++k) {
        if (r.IOMPollNr[std::size_t(k)] != r.IOMPollIndex)
            continue;
        if (handlers.busModuleInputs) {
            handlers.busModuleInputs(*this);
            if (!host_.RunActive())
                return;
        }
        const std::size_t m = std::size_t(k);
        const int id = r.IOMGaugeID[m];
        addModuleCommand(id, kIOModuleStatusCommand, 0, LineOutput::Kind::Request);
        if (r.IOMCmd4Pending[m] == 1) {
            addModuleCommand(id, kIOOutputWord1Command, r.IOMCmd4Value[m], LineOutput::Kind::Value);
            r.IOMCmd4Pending[m] = 0;
        }
        if (r.IOMCmd5Pending[m] == 1) {
            addModuleCommand(id, kIOOutputWord2Command, r.IOMCmd5Value[m], LineOutput::Kind::Value);
            r.IOMCmd5Pending[m] = 0;
        }
    }
    if (++r.IOMPollIndex > r.IOMPollMax)
        r.IOMPollIndex = 0;
}

// ---- Services of the per-type outputs ---------------------------------------

SimCom& ProcessLoop::Link()
{
    return DefaultForm<SimCom>::get();
}

std::optional<Single> ProcessLoop::GetPort(int port)
{
    return Link().GetPort(port);
}

const ProcessLoop::NeedleReading& ProcessLoop::ReadNeedle(int needle, int port, int plate)
{
    SimCom& link = Link();
    const std::uint64_t version = link.PortVersion(port);
    if (needle < int(needleReadings_.size())) {
        const KeptReading& kept = needleReadings_[std::size_t(needle)];
        if (version != 0 && kept.version == version && kept.port == port && kept.plate == plate)
            return kept.reading;
    }

    const int faults = link.GetPortFaults;
    const std::optional<Single> read = link.GetPort(port);
    // Found only now: a fault box may have let events run, and a restarted
    // run starts a new list.
    if (needle >= int(needleReadings_.size()))
        needleReadings_.resize(std::size_t(needle) + 1);
    KeptReading& kept = needleReadings_[std::size_t(needle)];
    // A read that asked about a fault is not kept (version 0).
    kept.version = link.GetPortFaults == faults ? version : 0;
    kept.port = port;
    kept.plate = plate;
    kept.reading = NeedleReading{};
    if (read) {
        Single value = *read;
        int steps = 0;
        if (PlateValueToSteps(plate, value, steps))
            kept.reading.steps = steps;
        kept.reading.value = value;
    }
    return kept.reading;
}

void ProcessLoop::AddGaugeCommand(int GaugeID, int Command, double Value)
{
    if (const std::optional<GaugeFrameBytes> frame = GaugeBusFrameBytes(GaugeID, Command, Value))
        line_.Add(LineOutput::Lane::Values, *frame, partOf(GaugeID, Command, Value));
}

void ProcessLoop::addModuleCommand(int GaugeID, int Command, double Value, LineOutput::Kind kind)
{
    // The module's commands go in the order it reads them, after its status.
    if (const std::optional<GaugeFrameBytes> frame = GaugeBusFrameBytes(GaugeID, Command, Value))
        line_.Add(LineOutput::Lane::Answers, *frame, 0, kind);
}

void ProcessLoop::MakeGaugeRequest(int GaugeID, int Command, double Value)
{
    if (const std::optional<QByteArray> frame = GaugeBusFrame(GaugeID, Command, Value))
        PollRequest = kRunFramePrefix + *frame;
}

void ProcessLoop::RequestStatusInTurn(int slot)
{
    const RunState& r = RunData;
    if (r.ValidSlot(slot) && r.PollIndex == r.SlotPollNr[std::size_t(slot)])
        MakeGaugeRequest(r.SlotGaugeID[std::size_t(slot)], kStatusRequestCommand, 0);
}

bool ProcessLoop::Fault(const QString& description)
{
    return askFault(faultGaugeID_, faultType_, inGaugeOutput_, description);
}

bool ProcessLoop::ModuleFault(int gaugeID, const QString& description)
{
    return askFault(gaugeID, IOModuleType, ValidGaugeID(gaugeID), description);
}

bool ProcessLoop::askFault(int id, int type, bool once, const QString& description)
{
    if (once && faultPassed_[std::size_t(id)])
        return host_.RunActive();
    const bool goOn = messages().yesNo(QStringLiteral("Error 10: An error has occured processing GaugeID:%1\r\n"
                                                      "Gaugetype: %2 , Process State: %3\r\n"
                                                      "Error: %4\r\n"
                                                      "Check gauge and/or assigned function.\r\n"
                                                      "Continue?")
                                           .arg(id)
                                           .arg(type)
                                           .arg(ProcessState)
                                           .arg(description));
    if (!goOn && host_.RunActive())
        host_.StopRun();
    if (goOn && once)
        faultPassed_[std::size_t(id)] = true;
    return goOn && host_.RunActive();
}

} // namespace varnet
