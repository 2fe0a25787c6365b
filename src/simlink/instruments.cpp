#include "simlink/instruments.h"

#include "platform/clock.h"
#include "simlink/simcom.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace varnet {

InstrumentValues Instruments;

namespace {

constexpr int kAutopilotFirst = 90;
constexpr int kAutopilotLast = 100;
constexpr int kAltitudeFunction = 98;
constexpr int kVerticalSpeedFunction = 99;
constexpr Long kSecondsFold = 65535;

// Seconds of a time of day given in hours, with its hour; nothing for a
// value no clock can show (not a number, negative, or an hour beyond a Byte).
struct TimeOfDay {
    Long seconds;
    Byte hour;
};

std::optional<TimeOfDay> timeOfDay(Single hours)
{
    if (!(hours >= 0 && hours < 256))
        return std::nullopt;
    const double h = std::floor(hours);
    return TimeOfDay{Long(h * 3600 + std::floor((hours - h) * 3600)), Byte(h)};
}

// Seconds above 65535 are kept as 65535 minus the seconds.
Long folded(Long seconds)
{
    return seconds > kSecondsFold ? kSecondsFold - seconds : seconds;
}

struct MonitorLine {
    int bit;
    const char* line;
};

constexpr MonitorLine kMonitorLines[] = {
    {128, "#0:sim/audio_panel/monitor_audio_com1"}, {64, "#0:sim/audio_panel/monitor_audio_com2"},
    {16, "#0:sim/audio_panel/monitor_audio_nav1"},  {8, "#0:sim/audio_panel/monitor_audio_nav2"},
    {1, "#0:sim/audio_panel/monitor_audio_adf1"}};

// The yoke slots whose values are read from the simulator; the others are
// only written.
constexpr int kYokeReadSlots[] = {2, 5, 6, 7, 10, 11, 12, 13, 14, 15, 16, 17, 18};

std::optional<DataPair> yokeSlot(int refNr)
{
    if (refNr < 0 || refNr >= kYokeDataSlots)
        return std::nullopt;
    return DataPair{Cfg.YokeDataGroup[refNr], Cfg.YokeDataValue[refNr]};
}

} // namespace

void SimCom::GetTimeAndDate()
{
    InstrumentValues& v = Instruments;
    if (const auto local = timeOfDay(XplaneData[1][6])) {
        v.ClockHour = local->hour;
        v.SimLocalTimeSec = folded(local->seconds);
    }
    if (const auto zulu = timeOfDay(XplaneData[1][5])) {
        if (std::abs(zulu->seconds - lastZuluSeconds_) > 10)
            v.ZuluTimeJumped = true;
        lastZuluSeconds_ = zulu->seconds;
        v.SimZuluTimeSec = folded(zulu->seconds);
    }
    const QDate today = clock().now().date();
    v.ClockMonth = today.month();
    v.ClockDay = today.day();
    v.ClockYear = today.year() - 2000;
    v.SimOutsideTemp = XplaneData[6][1];
}

void SimCom::PutNAV1Frequency(Single Freq)
{
    SendDataFloat(115, 1, Freq);
}

void SimCom::PutNAV2Frequency(Single)
{
    // NAV1's group and slot would retune the wrong radio, and the simulator
    // offers no other place for this value here: it is not written.
}

Single SimCom::functionData(int function) const
{
    const int group = Cfg.FunctionIndex1[function];
    const int slot = Cfg.FunctionSlot1[function];
    return InXplaneData(group, slot) ? XplaneData[group][slot] : 0;
}

void SimCom::sendFunctionValue(int function, Single value)
{
    SendDataFloat(Cfg.FunctionIndex1[function], Cfg.FunctionSlot1[function], value);
}

void SimCom::WriteAutopilot()
{
    InstrumentValues& v = Instruments;
    const auto flag = [&](int bit, Long on, Long off) { return (v.APModeBits & bit) ? on : off; };
    sendFunctionValue(90, Single(flag(1, 2, 0)));
    Long* const kept[] = {&v.APValue91, &v.APValue92, &v.APValue93, &v.APValue94, &v.APValue95, &v.APValue96};
    for (int k = 0; k < 6; ++k) {
        *kept[k] = flag(2 << k, 1, 0);
        sendFunctionValue(91 + k, Single(*kept[k]));
    }
    v.APValue97 = flag(128, 6, 3);
    sendFunctionValue(97, Single(v.APValue97));

    const auto feet = Single(v.APAltitudeFixed / 65536.0 * 3.28084);
    SendDataFloat(Cfg.FunctionIndex1[kAltitudeFunction], Cfg.FunctionSlot1[kAltitudeFunction], feet);
    SendDataFloat(Cfg.FunctionIndex1[kAltitudeFunction], Cfg.FunctionSlot2[kAltitudeFunction], feet);
    // The preselected altitude has been reached or passed.
    if ((v.SimAltitude < feet && v.APVerticalSpeed < 0) || (v.SimAltitude > feet && v.APVerticalSpeed >= 1))
        v.APVerticalSpeed = 0;
    PutAPVSvalue();
}

std::optional<QString> SimCom::GetAPVSvalue()
{
    if (!autopilotSelected_) {
        for (int f = kAutopilotFirst; f <= kAutopilotLast; ++f) {
            if (InXplaneData(Cfg.FunctionIndex1[f], 0))
                SendDSEL(Byte(Cfg.FunctionIndex1[f]));
        }
        autopilotSelected_ = true;
    }
    const QString overflow = QStringLiteral("Overflow");
    const auto asLong = [&](int f) {
        return RoundedInRange(functionData(f), std::numeric_limits<Long>::min(), std::numeric_limits<Long>::max());
    };
    InstrumentValues& v = Instruments;
    v.APSimModeBits = 0;
    const auto v90 = asLong(90);
    if (!v90)
        return overflow;
    if (*v90 == 2)
        v.APSimModeBits |= 1;
    Long* const kept[] = {&v.APValue91, &v.APValue92, &v.APValue93, &v.APValue94, &v.APValue95};
    for (int k = 0; k < 5; ++k) {
        const auto value = asLong(91 + k);
        if (!value)
            return overflow;
        *kept[k] = Long(*value);
        if (*value != 0)
            v.APSimModeBits |= Integer(2 << k);
    }
    const auto v97 = asLong(97);
    if (!v97)
        return overflow;
    v.APValue97 = Long(*v97);
    if (*v97 == 6)
        v.APSimModeBits |= 128;

    const auto speed = RoundedInRange(functionData(kVerticalSpeedFunction), std::numeric_limits<Integer>::min(),
                                      std::numeric_limits<Integer>::max());
    if (!speed)
        return overflow;
    v.APVerticalSpeed = Integer(*speed);
    const Single x = functionData(kAutopilotLast);
    const auto value100 = RoundedInRange(double(std::clamp(x, -100.0f, 100.0f)) * 160, -16000, 16000);
    if (!value100)
        return overflow;
    v.APValue100 = Integer(*value100);
    return std::nullopt;
}

void SimCom::PutAPVSvalue()
{
    sendFunctionValue(kVerticalSpeedFunction, Instruments.APVerticalSpeed);
}

void SimCom::SetSoundSelector()
{
    InstrumentValues& v = Instruments;
    for (const MonitorLine& monitor : kMonitorLines) {
        if ((v.AudioPanelBits ^ v.AudioPanelBitsSent) & monitor.bit)
            SendXplaneCommand(std::string(monitor.line) + "\r\n", 0);
    }
    v.AudioPanelBitsSent = Byte(v.AudioPanelBits & 0xFF);
}

void SimCom::PutADF(const std::string& FreqText, int GaugeID)
{
    // Five digits: thousands, hundreds, tens and units of kHz, then tenths.
    if (FreqText.size() < 5 || GaugeID < 0 || GaugeID >= kGaugeRows)
        return;
    int tenths = 0;
    for (std::size_t k = 0; k < 5; ++k) {
        const char c = FreqText[k];
        if (c < '0' || c > '9')
            return;
        tenths = tenths * 10 + (c - '0');
    }
    PutPort(Instruments.GaugeReplyPort1[std::size_t(GaugeID)], Single(tenths / 10.0));
}

Single SimCom::GetXplaneDataYoke(int RefNr)
{
    const auto slot = yokeSlot(RefNr);
    Instruments.YokeSimValue = slot && InXplaneData(slot->group, slot->slot) ? XplaneData[slot->group][slot->slot] : 0;
    return Instruments.YokeSimValue;
}

void SimCom::PutXplaneDataYoke(int RefNr, Single Value)
{
    if (const auto slot = yokeSlot(RefNr))
        SendDataFloat(slot->group, slot->slot, Value);
}

void SimCom::OpenSimcomYoke()
{
    OpenUDP();
    for (const int refNr : kYokeReadSlots) {
        if (Cfg.YokeDataGroup[refNr] < kXplaneGroups)
            SendDSEL(Cfg.YokeDataGroup[refNr]);
    }
}

} // namespace varnet
