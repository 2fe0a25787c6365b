#include "bus/runpreparation.h"

#include "bus/gaugeframes.h"
#include "bus/ioentryrules.h"
#include "bus/needles.h"
#include "bus/runstate.h"
#include "bus/sendpath.h"
#include "config/gaugetypes.h"
#include "platform/clock.h"
#include "simlink/instruments.h"
#include "simlink/simcom.h"

#include <algorithm>
#include <initializer_list>

namespace varnet {

namespace {

// The types whose backlight also follows the second light word.
constexpr int kSecondLightTypes[] = {106, 107, 108, 110, 111, 112, 113, 114, 120, 121, 122, 123, 124, 125, 130};

// The bus engine cluster's functions, one per needle, opened in this order.
constexpr struct {
    int function;
    int selector;
} kClusterFunctions[kClusterNeedles] = {{40, 1}, {41, 1}, {42, 1}, {43, 1}, {44, 1}, {45, 1}, {46, 1}, {46, 2}};
constexpr int kClusterFirstPhase = 1;

// Functions of the fixed instrument values.
constexpr int kSimTimeFunction = 10;
constexpr int kSelectedHeadingFunction = 15;
constexpr int kCOM1Function = 20, kCOM1StandbyFunction = 21, kNAV1Function = 22, kNAV1StandbyFunction = 23;
constexpr int kTransponderFunction = 26;
constexpr int kDMEDistanceFunction = 27, kDMESpeedFunction = 28, kDMETimeFunction = 29, kDMESourceFunction = 30;
constexpr int kADFBearingFunction = 31, kADFFrequencyFunction = 32;
constexpr int kVORDeviationFunction = 33, kVORGlideslopeFunction = 34, kVORFromFlagFunction = 35;
constexpr int kGlideslopeFlagFunction = 36, kVORCourseFunction = 37, kAudioSelectorFunction = 38;
constexpr int kTransponderModeFunction = 46, kTransponderIdentFunction = 47;

// The run window's general values by GeneralPort entry: function, selector
// and whether the run reads it from the start (entries 10 and 11 are
// switched on and off by the clocks).
constexpr struct {
    int function;
    int selector;
    bool read;
} kGeneralValues[kGeneralPorts] = {
    {0, 0, false}, {1, 1, true},   {2, 1, true},  {3, 1, true},   {4, 1, true},
    {5, 1, true},  {6, 1, true},   {7, 1, true},  {8, 1, true},   {9, 1, true},
    {kSimTimeFunction, 1, false},  {13, 1, false}, {14, 1, true},  {16, 1, true}, {9, 2, true}};

// Clock options (option word 1 And 15).
constexpr int kClockOptionMask = 15;
constexpr int kClockPCTime = 1;
constexpr int kClockSimTime = 2;
constexpr int kClockAskStatus = 3;
constexpr int kPCTimeStartTick = 27;
constexpr Long kSecondsFold = 65535;

constexpr Byte kAudioPanelNothingSent = 128;
constexpr Single kRMINoPowerSeen = -100.0f;
constexpr Single kFirstValueAlwaysSent = -1.0f;

class Preparation {
public:
    explicit Preparation(SimCom& link) : link_(link), r_(RunData) {}

    void run();

private:
    int open(int function, int selector, bool enable = false);
    // The selector of a stored record: 0 there becomes 1.
    int open(int function, Byte& selector, bool enable = false);
    int nextPoll() { return r_.PollIndex++; }

    void countAndSize();
    void prepareSlot(int slot);
    void prepareModule(int slot, int id);
    void prepareGeneralPorts();

    SimCom& link_;
    RunState& r_;
};

int Preparation::open(int function, int selector, bool enable)
{
    const int port = link_.OpenSimPort(function, selector);
    if (enable)
        link_.EnableReadSimPort(port);
    return port;
}

int Preparation::open(int function, Byte& selector, bool enable)
{
    const int port = link_.OpenSimPort(function, selector);
    if (enable)
        link_.EnableReadSimPort(port);
    return port;
}

void Preparation::run()
{
    countAndSize();
    link_.CloseAllPorts();
    for (auto* replyPorts : {&Instruments.GaugeReplyPort1, &Instruments.GaugeReplyPort2,
                             &Instruments.GaugeReplyPort3, &Instruments.GaugeReplyPort4})
        replyPorts->fill(kNoSimPort);
    r_.RMIExtraPort1 = kNoSimPort;
    r_.RMIExtraPort2 = kNoSimPort;
    r_.BusIOMIndex = 0;
    r_.PollIndex = 0;
    r_.IOMPollIndex = 0;
    for (int slot = 0; slot < r_.SlotCount(); ++slot)
        prepareSlot(slot);
    prepareGeneralPorts();
    r_.PollMax = r_.PollIndex - 1;
    r_.IOMPollMax = r_.IOMPollIndex - 1;
}

void Preparation::countAndSize()
{
    int gauges = 0;
    int modules = 0;
    for (int id = kFirstGaugeID; id <= kLastGaugeID; ++id) {
        const int type = Cfg.GaugeRecType[std::size_t(id)];
        gauges += type != 0;
        modules += type == IOModuleType;
    }
    // Two slots at least, even with no gauge at all.
    r_.SizeTables(std::max(gauges - 1, 1), modules);
    int slot = 0;
    for (int id = kFirstGaugeID; id <= kLastGaugeID; ++id) {
        if (Cfg.GaugeRecType[std::size_t(id)] != 0)
            r_.SlotGaugeID[std::size_t(slot++)] = id;
    }
}

void Preparation::prepareSlot(int slot)
{
    const std::size_t s = std::size_t(slot);
    const int id = r_.SlotGaugeID[s];
    if (!ValidGaugeID(id))
        return;
    const std::size_t g = std::size_t(id);
    link_.CurrentOwnerID = id;
    const int type = Cfg.GaugeRecType[g];
    const int F1 = Cfg.GaugeRecFunction1[g];
    const int F2 = Cfg.GaugeRecFunction2[g];
    Byte& S1 = Cfg.GaugeRecSeqNr1[g];
    Byte& S2 = Cfg.GaugeRecSeqNr2[g];
    const int O1 = Cfg.GaugeRecPlate1[g];
    const int O2 = Cfg.GaugeRecPlate2[g];
    int& RP1 = Instruments.GaugeReplyPort1[g];
    int& RP2 = Instruments.GaugeReplyPort2[g];
    int& RP3 = Instruments.GaugeReplyPort3[g];
    int& RP4 = Instruments.GaugeReplyPort4[g];
    int& port1 = r_.SlotPort1[s];
    int& port2 = r_.SlotPort2[s];
    int& port3 = r_.SlotPort3[s];
    int& port4 = r_.SlotPort4[s];
    int& pollNr = r_.SlotPollNr[s];
    // The clocks may ask the gauge for its time before the run starts.
    const auto askClockStatus = [id] { SendGaugeCommand(id, kStatusRequestCommand, 0); };

    switch (type) {
    case 1: case 2: case 3: case 4: case 5: case 6:
        if (F1 != 0) {
            port1 = open(F1, S1, true);
            r_.SlotLast1[s] = kFirstValueAlwaysSent;
        }
        if (F2 != 0) {
            port2 = open(F2, S2, true);
            r_.SlotLast2[s] = kFirstValueAlwaysSent;
        }
        break;
    case EngineClusterType: {
        auto& ports = r_.SlotClusterPorts[s];
        for (int n = 0; n < kClusterNeedles; ++n)
            ports[std::size_t(n)] = open(kClusterFunctions[n].function, kClusterFunctions[n].selector, true);
        port1 = ports[0];
        port2 = kClusterFirstPhase;
        break;
    }
    case IOModuleType:
        prepareModule(slot, id);
        break;
    case AltimeterType:
        pollNr = nextPoll();
        break;
    case AirlinerClockType:
        open(kSimTimeFunction, 1, true);
        port1 = 0;
        switch (O1 & kClockOptionMask) {
        case kClockPCTime:
        case kClockSimTime:
            r_.SlotLast1[s] = kFirstValueAlwaysSent;
            r_.SlotLast2[s] = kFirstValueAlwaysSent;
            break;
        case kClockAskStatus:
            askClockStatus();
            break;
        }
        break;
    case HeadingIndicatorType:
        if (F2 != 0)
            port1 = RP1 = open(F2, S2);
        if (O2 & 4)
            port2 = RP2 = open(kSelectedHeadingFunction, 1);
        if (F2 != 0 || (O2 & 4))
            pollNr = nextPoll();
        break;
    case VOR1Type:
        port1 = open(kVORDeviationFunction, 1, true);
        port2 = open(kVORGlideslopeFunction, 1, true);
        port3 = open(kVORFromFlagFunction, 1, true);
        port4 = open(kGlideslopeFlagFunction, 1, true);
        if (O1 == 0)
            RP1 = open(kVORCourseFunction, 1);
        pollNr = O1 == 0 ? nextPoll() : kNeverPolled;
        break;
    case VOR2Type:
        port1 = open(kVORDeviationFunction, 2, true);
        port2 = open(kVORFromFlagFunction, 2, true);
        if (O1 == 0)
            RP1 = open(kVORCourseFunction, 2);
        pollNr = O1 == 0 ? nextPoll() : kNeverPolled;
        break;
    case ADFIndicatorType:
        port1 = open(kADFBearingFunction, 1, true);
        port2 = RP2 = open(kADFFrequencyFunction, 1);
        pollNr = nextPoll();
        break;
    case LightAircraftClockType:
        port1 = 0;
        switch (O1 & kClockOptionMask) {
        case kClockPCTime: {
            const QDateTime now = clock().now();
            const QTime time = now.time();
            const Long seconds = time.hour() * 3600 + time.minute() * 60 + time.second();
            // As the simulator's time of day is kept: what a 16-bit word holds.
            const Long folded = seconds > kSecondsFold ? kSecondsFold - seconds : seconds;
            Instruments.SimLocalTimeSec = folded;
            Instruments.SimZuluTimeSec = folded;
            Instruments.ClockHour = Byte(time.hour());
            r_.PCDateTime = now;
            port1 = kPCTimeStartTick;
            break;
        }
        case kClockAskStatus:
            askClockStatus();
            break;
        }
        break;
    case GenericRadioType:
    case RadioModuleType:
    case ADFRadioType:
        port1 = RP1 = open(F1, S1);
        if (O2 != 0)
            port2 = RP2 = open(F2, S2);
        if (Cfg.GaugeRecModel[g] > 1) {
            port3 = RP3 = open(F1, S1 + 2);
            port4 = RP4 = open(F2, S2 + 2);
        }
        pollNr = nextPoll();
        break;
    case PanelTransponderType:
    case TransponderType:
        port1 = RP1 = open(kTransponderFunction, 1);
        if (Cfg.FunctionIndex2[kTransponderFunction] > 1)
            port2 = RP2 = open(kTransponderFunction, 2);
        if (O1 & 1)
            port3 = RP3 = open(kTransponderIdentFunction, 1);
        if (O1 & 2)
            RP4 = open(kTransponderIdentFunction, 2);
        pollNr = nextPoll();
        break;
    case DMEIndicatorType:
    case DMEType:
        port1 = open(kDMEDistanceFunction, S1, true);
        port2 = open(kDMESpeedFunction, S1, true);
        port3 = open(kDMETimeFunction, S1, true);
        RP4 = open(kDMESourceFunction, S1);
        pollNr = nextPoll();
        r_.SlotLast1[s] = 0;
        if (Cfg.FunctionIndex4[kDMEDistanceFunction] != 0)
            port4 = open(kDMEDistanceFunction, 4, true);
        r_.DMESelection = 1;
        break;
    case AirlinerTransponderType:
        RP1 = open(kTransponderFunction, 1);
        if (Cfg.FunctionIndex2[kTransponderFunction] > 1)
            RP2 = open(kTransponderFunction, 2);
        if (O1 & 1)
            RP3 = open(kTransponderIdentFunction, 1);
        if (O1 & 2)
            RP4 = open(kTransponderIdentFunction, 2);
        if (O1 & 4)
            port3 = open(kTransponderModeFunction, 1, true);
        pollNr = nextPoll();
        break;
    case COMNAVRadioType:
        port1 = RP1 = open(kCOM1Function, S1);
        port2 = RP2 = open(kNAV1Function, S1);
        if (O2 != 0) {
            port3 = RP3 = open(kCOM1StandbyFunction, S1);
            port4 = RP4 = open(kNAV1StandbyFunction, S1);
        }
        pollNr = nextPoll();
        break;
    case AutopilotType:
        // A value that does not fit is read again by the run's own reads.
        (void)link_.GetAPVSvalue();
        pollNr = nextPoll();
        break;
    case AudioPanelType:
        port1 = open(kAudioSelectorFunction, 1, true);
        port2 = open(kAudioSelectorFunction, 2, true);
        port3 = open(kAudioSelectorFunction, 3, true);
        pollNr = nextPoll();
        Instruments.AudioPanelBitsSent = kAudioPanelNothingSent;
        r_.SlotLast1[s] = 0;
        r_.SlotLast2[s] = kFirstValueAlwaysSent;
        break;
    case RMIType: {
        const int s1 = (O2 & 1) ? 2 : 1;
        const int s2 = (O2 & 2) ? 2 : 1;
        port1 = open(F1, s1, true);
        port2 = open(F1, s2, true);
        port3 = open(F2, S2, true);
        if (O1 & 1) {
            r_.RMIExtraPort1 = open(kDMEDistanceFunction, s1, true);
            r_.RMIExtraPort2 = open(kDMEDistanceFunction, s2, true);
        }
        pollNr = kNeverPolled;
        for (std::vector<Single>* last : {&r_.SlotLast1, &r_.SlotLast2, &r_.SlotLast3, &r_.SlotLast4})
            (*last)[s] = kFirstValueAlwaysSent;
        port4 = 0;
        r_.GaugeLastReplyValue[g] = kRMINoPowerSeen;
        break;
    }
    default:
        // Types without simulator values (the attitude indicator among them).
        break;
    }
    if (std::find(std::begin(kSecondLightTypes), std::end(kSecondLightTypes), type) != std::end(kSecondLightTypes))
        r_.SlotLightsFlag[s] = 1;
}

void Preparation::prepareModule(int slot, int id)
{
    const int k = r_.BusIOMIndex;
    if (!r_.ValidModule(k))
        return;
    const std::size_t m = std::size_t(k);
    r_.IOMGaugeID[m] = id;
    r_.IOMPollNr[m] = r_.IOMPollIndex;
    if (Cfg.IOEntryCount > 1) {
        r_.SlotPort2[std::size_t(slot)] = k;
        r_.SlotPollNr[std::size_t(slot)] = r_.IOMPollIndex;
        // Rows 1..IOEntryCount, as far as every column holds them.
        const std::size_t rows = std::min({std::size_t(Cfg.IOEntryCount) + 1, Cfg.IOEntryGaugeID.size(),
                                           Cfg.IOEntryKind.size(), Cfg.IOEntryNumber.size(),
                                           Cfg.IOEntryFunction.size(), Cfg.IOEntrySeqNr.size(),
                                           Cfg.IOEntryFlags.size(), Cfg.IOEntryKeyOff.size(),
                                           Cfg.IOEntryLastValue.size(), Cfg.IOEntryPort.size()});
        for (std::size_t e = 1; e < rows; ++e) {
            if (Cfg.IOEntryGaugeID[e] != id)
                continue;
            const int n = Cfg.IOEntryNumber[e];
            const int function = Cfg.IOEntryFunction[e];
            Byte& selector = Cfg.IOEntrySeqNr[e];
            // An entry numbered outside its module has no place in the
            // module's tables and is passed over.
            switch (Cfg.IOEntryKind[e]) {
            case IOEntryLED:
            case IOEntrySwitchAndLED:
                if (n < 0 || n >= kModuleOutputRows - 1)
                    break;
                r_.IOMLEDEntry[m][std::size_t(n)] = int(e);
                // The module may still show the LEDs of an earlier run: its
                // words go out at its first turn, whatever they hold.
                (n < (kModuleOutputRows - 1) / 2 ? r_.IOMCmd4Pending : r_.IOMCmd5Pending)[m] = 1;
                Cfg.IOEntryPort[e] = Integer(open(function, selector, true));
                break;
            case IOEntrySwitch: {
                if (n < 0 || n >= kModuleSwitchRows - 1)
                    break;
                r_.IOMSwitchEntry[m][std::size_t(n)] = int(e);
                const int port = open(function, selector);
                // An incrementing switch or a macro reads the current value.
                if (Cfg.IOEntryFlags[e] != 0)
                    link_.EnableReadSimPort(port);
                if (function >= 0 && function < kFunctionRows && Cfg.FunctionMacroNr[std::size_t(function)] != 0)
                    link_.EnableReadSimPort(port);
                Cfg.IOEntryPort[e] = Integer(port);
                Cfg.IOEntryLastValue[e] = kFirstValueAlwaysSent;
                break;
            }
            case IOEntryAnalogue:
                if (n < 0 || n >= kModuleChannelRows - 1)
                    break;
                r_.IOMAnalogueEntry[m][std::size_t(n)] = int(e);
                r_.IOMAnalogueLast[m][std::size_t(n)] = kIOChannelBeforeFirstReply;
                r_.IOMAnalogueValue[m][std::size_t(n)] = 0;
                r_.IOMAnalogueThreshold[m][std::size_t(n)] = Cfg.IOEntryKeyOff[e];
                Cfg.IOEntryPort[e] = Integer(open(function, selector));
                break;
            default:
                break;
            }
        }
    }
    ++r_.IOMPollIndex;
    ++r_.BusIOMIndex;
}

void Preparation::prepareGeneralPorts()
{
    link_.CurrentOwnerID = kOwnerRunWindow;
    for (int k = 1; k < kGeneralPorts; ++k)
        r_.GeneralPort[std::size_t(k)] = open(kGeneralValues[k].function, kGeneralValues[k].selector,
                                               kGeneralValues[k].read);
}

} // namespace

void PrepareRunTables(SimCom& link)
{
    Preparation(link).run();
}

void PrepareBacklight()
{
    constexpr int kLightsAlwaysOn = 1;
    constexpr Integer kAllLit = 192;
    constexpr Integer kInstrumentLights = 32;
    if (Cfg.LightsMode == kLightsAlwaysOn) {
        RunData.BacklightWord = kAllLit;
        RunData.LightsSendCount = 1;
    } else {
        // A send left over from an earlier run would repeat for ever where
        // the backlight does not follow the switches.
        RunData.LightsSendCount = 0;
    }
    if (Cfg.LightsMask == 0)
        Cfg.LightsMask = kInstrumentLights;
}

} // namespace varnet
