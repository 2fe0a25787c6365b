#include "bus/replyhandler.h"

#include "bus/gaugeframes.h"
#include "bus/ioentryrules.h"
#include "bus/runpreparation.h"
#include "bus/runstate.h"
#include "bus/sendpath.h"
#include "config/gaugetypes.h"
#include "platform/form.h"
#include "platform/serialport.h"
#include "simlink/instruments.h"
#include "simlink/simcom.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>

namespace varnet {

namespace {

// The run window's air-pressure port: what the loop reads as SimAirPressureHg.
constexpr int kAirPressurePort = 1;

// A course knob counts 1084 steps per turn, backwards from north.
constexpr int kKnobStepsPerTurn = 1084;
constexpr double kHeadingStepsPerTurn = 4320;
constexpr double kHectopascalsPerInchHg = 33.86;
constexpr double kFeetPerMetre = 3.28084;
constexpr double kFixedPointOne = 65536;
// The barometer knob reports its clicks around 128, each 0.01 inHg.
constexpr int kBaroKnobCentre = 128;
constexpr double kBaroKnobStep = 0.01;
// The autopilot climbs to this when told to hold a climb without a target.
constexpr double kClimbCeilingFeet = 50000;

// DME selections: NAV 1 and NAV 2 are what the units tune by themselves;
// a unit may name selections up to the fourth pair of its functions.
constexpr int kDMENav1 = 1;
constexpr int kDMENav2 = 2;
constexpr int kDMELastSelection = 4;

// A course in whole degrees 0..359 from a knob count (a signed 16-bit
// word): 0 and 1084 are north, 542 south. A count beyond one turn wraps
// round the dial rather than giving a course the dial does not have.
int knobCourse(int count)
{
    const double degrees = std::nearbyint(double(kKnobStepsPerTurn - count) / kKnobStepsPerTurn * 360);
    const int course = int(degrees) % 360;
    return course < 0 ? course + 360 : course;
}

// A heading from a word of a 4320-step turn, folded to the west above
// `foldAbove` degrees: 2160 steps, 180 degrees, above 179, is -180.
double headingOfWord(int word, double foldAbove)
{
    const double h = word * 360 / kHeadingStepsPerTurn;
    return h > foldAbove ? h - 360 : h;
}

// A radio's frequency word counts kHz above 100 MHz ("22700" is 122.700);
// the simulator takes 10 kHz steps from 0 (12270): the first four of the
// word's five decimal digits, plus 10000.
double radioFrequency(int word)
{
    return word / 10 + 10000;
}

// The word as the five digits "00000" that PutADF takes.
std::string fiveDigits(int word)
{
    char text[8];
    std::snprintf(text, sizeof text, "%05d", word);
    return text;
}

// A squawk code from its byte pair, one octal digit per nibble (the high
// nibble of hi is the first digit), written as the decimal number: 7700
// is 7700. Only the three low bits of each nibble are digit bits.
double squawkCode(int hi, int lo)
{
    return (lo & 7) + ((lo >> 4) & 7) * 10 + (hi & 7) * 100 + ((hi >> 4) & 7) * 1000;
}

// An altitude in feet as the autopilot holds it: metres x 65536, rounded;
// nothing for an altitude that does not fit (or is no number).
std::optional<Long> fixedAltitude(double feet)
{
    const auto fixed = RoundedInRange(feet / kFeetPerMetre * kFixedPointOne, std::numeric_limits<Long>::min(),
                                      std::numeric_limits<Long>::max());
    if (!fixed)
        return std::nullopt;
    return Long(*fixed);
}

bool isSet(int port)
{
    return port != kNoSimPort;
}

} // namespace

// The bytes of a reply, numbered 1..25 as the gauges number them.
class GaugeReplyHandler::Reply {
public:
    explicit Reply(const QByteArray& bytes) : bytes_(bytes) {}

    int operator()(int n) const { return quint8(bytes_[n - 1]); }
    // b hi:lo, 0..65535.
    int word(int hi, int lo) const { return (*this)(hi) * 256 + (*this)(lo); }
    int signedWord(int hi, int lo) const { return std::int16_t(std::uint16_t(word(hi, lo))); }
    // The letters a reply of its kind carries in bytes 9 and 6.
    bool marked(char b9, char b6) const { return (*this)(9) == quint8(b9) && (*this)(6) == quint8(b6); }
    QByteArray bytes(int first, int count) const { return bytes_.mid(first - 1, count); }
    const QByteArray& all() const { return bytes_; }

    int gaugeID() const { return (*this)(2); }
    int type() const { return (*this)(3); }
    std::size_t row() const { return std::size_t(gaugeID()); }

private:
    const QByteArray& bytes_;
};

int ExpectedReplyGaugeID(const QByteArray& output, const QByteArray& pollRequest)
{
    // 0xFF, then the frame: 0x00, GaugeID, ...
    if (pollRequest.size() > 2 && output.endsWith(pollRequest))
        return quint8(pollRequest[2]);
    int asked = 0;
    qsizetype last = -1;
    const RunState& r = RunData;
    for (int k = 0; r.ValidModule(k); ++k) {
        const int id = r.IOMGaugeID[std::size_t(k)];
        const std::optional<QByteArray> status = GaugeBusFrame(id, kIOModuleStatusCommand, 0);
        // A frame holds 0x00 only at its start, so a match is that frame.
        const qsizetype at = status ? output.lastIndexOf(*status) : -1;
        if (at > last) {
            last = at;
            asked = id;
        }
    }
    return asked;
}

void GaugeReplyHandler::OnComm(SerialPort& port)
{
    QByteArray input = port.readInput();
    GaugeReply = input;
    if (!IsWellFramedReply(input)) {
        ++counts.badFrames;
        QByteArray rest;
        while (port.bytesWaiting() > 0)
            rest += port.readInput();
        port.discardInput();
        // A broken unit ends inside the next reply: when that reply is all
        // there, it is in step again.
        const QByteArray last = (input + rest).right(kGaugeReplyBytes);
        if (rest.isEmpty() || !IsWellFramedReply(last))
            return;
        GaugeReply = last;
        input = last;
    }
    take(input);
}

void GaugeReplyHandler::take(const QByteArray& reply)
{
    KeepGaugeAnswer(reply);
    GaugeReplyReceived = 1;
    if (!running())
        return;
    const Reply b(reply);
    if (b.gaugeID() == 0 || b.gaugeID() != ExpectedReplyGaugeID(GaugeSendBuffer, pollRequest_) ||
        Cfg.GaugeRecType[b.row()] != b.type()) {
        ++counts.notAsked;
        return;
    }
    // A fault box of a write lets further replies in; they wait their turn
    // at the next request rather than stack boxes.
    const auto busy = decoding_.enter();
    if (busy && decode(b))
        ++counts.decoded;
    else
        ++counts.ignored;
}

bool GaugeReplyHandler::decode(const Reply& b)
{
    switch (b.type()) {
    case IOModuleType:
        storeModuleInputs(b);
        return true;
    case AltimeterType:
        return altimeter(b);
    case AirlinerClockType:
        airlinerClock(b);
        return true;
    case HeadingIndicatorType:
        headingIndicator(b);
        return true;
    case VOR1Type:
    case VOR2Type:
    case ADFIndicatorType:
        return courseKnob(b);
    case GenericRadioType:
    case RadioModuleType:
    case ADFRadioType:
    case COMNAVRadioType:
        return radio(b);
    case PanelTransponderType:
    case AirlinerTransponderType:
    case TransponderType:
        return transponder(b);
    case DMEIndicatorType:
        return dmeIndicator(b);
    case DMEType:
        return dme(b);
    case AutopilotType:
        return autopilot(b);
    case AudioPanelType:
        audioPanel(b);
        return true;
    default:
        return false;
    }
}

SimCom& GaugeReplyHandler::link()
{
    return DefaultForm<SimCom>::get();
}

void GaugeReplyHandler::put(int port, double value)
{
    const auto single = Single(value);
    if (running() && std::isfinite(single))
        link().PutPort(port, single);
}

// ---- Per type ---------------------------------------------------------------

void GaugeReplyHandler::storeModuleInputs(const Reply& b)
{
    RunState& r = RunData;
    for (int k = 0; r.ValidModule(k); ++k) {
        const std::size_t m = std::size_t(k);
        if (r.IOMGaugeID[m] != b.gaugeID())
            continue;
        IOModuleInputs inputs = DecodeIOModuleInputs(b.all());
        r.IOMSwitchState[m] = std::move(inputs.switches);
        std::copy(inputs.channels.begin(), inputs.channels.end(), r.IOMAnalogueValue[m].begin());
    }
}

bool GaugeReplyHandler::altimeter(const Reply& b)
{
    if (!b.marked('P', 'P'))
        return false;
    const int port = RunData.GeneralPort[kAirPressurePort];
    if (b(10) == 1) {
        // The barometer knob was turned by this many clicks.
        const int clicks = b(12) - kBaroKnobCentre;
        if (clicks != 0) {
            RunData.SimAirPressureHg = Single(RunData.SimAirPressureHg + clicks * kBaroKnobStep);
            put(port, RunData.SimAirPressureHg);
        }
    } else {
        const bool inHg = b(4) == 1;
        put(port, b.signedWord(7, 8) / (inHg ? 100.0 : kHectopascalsPerInchHg));
    }
    return true;
}

void GaugeReplyHandler::airlinerClock(const Reply& b)
{
    InstrumentValues& v = Instruments;
    // The clock counts its years from 2000, as the program keeps ClockYear.
    v.ClockYear = b(7);
    v.ClockMonth = b(8);
    v.ClockDay = b(9);
    v.ClockHour = Byte(b(11));
    v.ClockMinute = Byte(b(12));
    v.ClockSecond = Byte(b(13));
    if (running())
        link().PutTimeAndDate();
}

void GaugeReplyHandler::headingIndicator(const Reply& b)
{
    const std::size_t g = b.row();
    if (Cfg.GaugeRecFunction2[g] > 0)
        put(Instruments.GaugeReplyPort1[g], headingOfWord(b.word(10, 11), 179));
    const int selectPort = Instruments.GaugeReplyPort2[g];
    if (!isSet(selectPort))
        return;
    const auto selected = Single(headingOfWord(b.word(7, 8), 179.5));
    if (selected != RunData.LastHeadingSelect) {
        RunData.LastHeadingSelect = selected;
        put(selectPort, selected);
    }
}

bool GaugeReplyHandler::courseKnob(const Reply& b)
{
    if (!b.marked('A', 'C'))
        return false;
    const std::size_t g = b.row();
    const int course = knobCourse(b.signedWord(7, 8));
    // The ADF card goes out with every reply; the VOR courses on a change.
    if (b.type() == ADFIndicatorType) {
        put(Instruments.GaugeReplyPort2[g], course);
        return true;
    }
    Integer& last = b.type() == VOR1Type ? LastVOR1Course : LastVOR2Course;
    if (course != last) {
        last = Integer(course);
        put(Instruments.GaugeReplyPort1[g], course);
    }
    return true;
}

bool GaugeReplyHandler::radio(const Reply& b)
{
    const std::size_t g = b.row();
    const InstrumentValues& v = Instruments;
    if (b.type() == COMNAVRadioType) {
        // Bit 5 of byte 23 marks a reply without valid frequencies.
        if (!b.marked('S', 'C') || (b(23) & 32) != 0)
            return false;
        put(v.GaugeReplyPort1[g], radioFrequency(b.word(7, 8)));
        put(v.GaugeReplyPort2[g], radioFrequency(b.word(13, 14)));
        if (Cfg.GaugeRecPlate2[g] != 0) {
            put(v.GaugeReplyPort3[g], radioFrequency(b.word(10, 11)));
            put(v.GaugeReplyPort4[g], radioFrequency(b.word(16, 17)));
        }
        return true;
    }
    if (!b.marked('S', 'A'))
        return false;
    switch (Cfg.GaugeRecModel[g]) {
    case 0:
    case 1:
        put(v.GaugeReplyPort1[g], radioFrequency(b.word(7, 8)));
        if (Cfg.GaugeRecPlate2[g] != 0)
            put(v.GaugeReplyPort2[g], radioFrequency(b.word(10, 11)));
        break;
    case 2:
    case 3:
        // An ADF receiver: kHz with tenths.
        if (running())
            link().PutADF(fiveDigits(b.word(7, 8)), b.gaugeID());
        break;
    default:
        break;
    }
    return true;
}

bool GaugeReplyHandler::transponder(const Reply& b)
{
    const bool ownCode = b.type() == TransponderType;
    if (!b.marked(ownCode ? 'F' : 'Y', 'X'))
        return false;
    const std::size_t g = b.row();
    const InstrumentValues& v = Instruments;
    // The panel transponders report two codes; byte 15 says which is active.
    const bool first = ownCode || b(15) == 1;
    put(v.GaugeReplyPort1[g], first ? squawkCode(b(7), b(8)) : squawkCode(b(10), b(11)));
    const int mode = b(17);
    if (isSet(v.GaugeReplyPort2[g]))
        put(v.GaugeReplyPort2[g], mode - 1);
    if (isSet(v.GaugeReplyPort3[g]) && Single(mode) != RunData.GaugeLastReplyValue[g]) {
        RunData.GaugeLastReplyValue[g] = Single(mode);
        const int standby = ownCode ? 4 : 3;
        const int on = b.type() == AirlinerTransponderType ? 3 : 1;
        put(v.GaugeReplyPort3[g], mode == standby ? 0 : on);
    }
    if (isSet(v.GaugeReplyPort4[g]))
        put(v.GaugeReplyPort4[g], b(13));
    return true;
}

bool GaugeReplyHandler::dmeIndicator(const Reply& b)
{
    if (!b.marked('D', 'S'))
        return false;
    int selection = 0;
    if (b(17) == 2)
        selection = kDMENav1;
    else if (b(17) == 4)
        selection = kDMENav2;
    else
        return true;  // the switch between its positions
    const std::size_t g = b.row();
    if (Cfg.GaugeRecPlate1[g] != 0)
        RunData.GaugeLastReplyValue[g] = Single(selection);
    else
        selectDME(b.gaugeID(), selection);
    return true;
}

bool GaugeReplyHandler::dme(const Reply& b)
{
    if (!b.marked('D', 'S'))
        return false;
    int selection = 0;
    if (b(17) == 1) {
        selection = b(22) + 1;
    } else if (b(17) == 3) {
        switch (b(24)) {
        case 0:
            selection = kDMENav1;
            break;
        case 1:
            selection = kDMENav2;
            break;
        case 2:
        case 3: {
            // The unit tuned by itself: its frequency goes to that NAV radio.
            const Long frequency = b.word(20, 19);
            const bool nav1 = b(24) == 2;
            if (frequency != LastDMEFrequency && running()) {
                LastDMEFrequency = frequency;
                if (nav1)
                    link().PutNAV1Frequency(Single(frequency / 10.0));
                else
                    link().PutNAV2Frequency(Single(frequency / 10.0));
            }
            selection = nav1 ? kDMENav1 : kDMENav2;
            break;
        }
        default:
            break;
        }
    }
    if (selection == 0)
        return true;
    // The DME outputs read selections 1..4 (the function's four pairs); a
    // source beyond them (hold and the like) would leave the DME reading a
    // pair that is not there.
    if (selection < kDMENav1 || selection > kDMELastSelection)
        return false;
    selectDME(b.gaugeID(), selection);
    return true;
}

void GaugeReplyHandler::selectDME(int gaugeID, int selection)
{
    put(Instruments.GaugeReplyPort4[std::size_t(gaugeID)], selection);
    RunData.DMESelection = Byte(selection);
}

bool GaugeReplyHandler::autopilot(const Reply& b)
{
    if (!b.marked('V', 'A'))
        return false;
    InstrumentValues& v = Instruments;
    v.APModeBits = Integer(b(22));
    APReplyStatus = Integer(b(24));
    if (b(24) == 0)
        return true;
    v.APAltitudeFeet = b.signedWord(7, 8);
    v.APAltitudeFixed = fixedAltitude(v.APAltitudeFeet).value_or(v.APAltitudeFixed);
    const auto verticalSpeed = Integer(b.signedWord(10, 11));
    v.APVerticalSpeed = verticalSpeed;
    APVerticalSpeedReply = verticalSpeed;
    const int options = Cfg.GaugeRecPlate1[b.row()];
    if (options & 2) {
        // The panel's own barometer setting.
        const int flags = b(23);
        put(RunData.GeneralPort[kAirPressurePort], b.signedWord(19, 20) / (flags == 0 ? 100.0 : kHectopascalsPerInchHg));
        // Holding a vertical speed without a target altitude: climb to the
        // ceiling, hold the present altitude, or descend to the ground. An
        // altitude that is no number or out of range keeps the old target.
        if ((options & 4) == 0 && (flags & 0x41) == 0x41) {
            const double target = verticalSpeed > 0 ? kClimbCeilingFeet : verticalSpeed == 0 ? v.SimAltitude : 0.0;
            v.APAltitudeFixed = fixedAltitude(target).value_or(v.APAltitudeFixed);
        }
    }
    if (running())
        link().WriteAutopilot();
    return true;
}

void GaugeReplyHandler::audioPanel(const Reply& b)
{
    AudioPanelStatus = Integer(b(10));
    const int buttons1 = b(7);
    const int buttons2 = b(8);
    int bits = 0;
    if (buttons1 & 1)
        bits |= 64;
    if (buttons1 & 2)
        bits |= 8;
    if (buttons1 & 32)
        bits |= 128;
    if ((buttons1 & 33) == 33)
        bits |= 32;
    if (buttons2 & 1)
        bits |= 16;
    if (buttons2 & 2)
        bits |= 4;
    if (buttons2 & 4)
        bits |= 1;
    if (buttons2 & 8)
        bits |= 2;
    InstrumentValues& v = Instruments;
    v.AudioPanelBits = Integer(bits);
    if (v.AudioPanelBits != v.AudioPanelBitsSent && running())
        link().SetSoundSelector();
}

} // namespace varnet
