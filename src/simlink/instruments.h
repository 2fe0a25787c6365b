#pragma once

// Values that the instrument helpers of the simulator link share with the
// run window's process loop and reply handler. They live for the whole
// program.

#include "config/tables.h"
#include "simlink/simports.h"

#include <array>

namespace varnet {

struct InstrumentValues {
    // Time of day of the simulator in seconds; a value above 65535 is kept
    // as 65535 minus the value, so that it fits the gauges' 16-bit words.
    Long SimLocalTimeSec = 0;
    Long SimZuluTimeSec = 0;
    Byte ClockHour = 0;              // hour of the simulator's local time
    Byte ClockMinute = 0;            // minute of an airliner clock's own time
    Byte ClockSecond = 0;            // second of the clock's time of day
    bool ZuluTimeJumped = false;     // zulu time moved by more than 10 s between two reads
    int ClockMonth = 0;              // the PC's date
    int ClockDay = 0;
    int ClockYear = 0;               // minus 2000
    Single SimOutsideTemp = 0;
    Single SimAltitude = 0;

    // Autopilot: button bits from the module, state bits from the simulator.
    Integer APModeBits = 0;
    Integer APSimModeBits = 0;
    Long APValue91 = 0;
    Long APValue92 = 0;
    Long APValue93 = 0;
    Long APValue94 = 0;
    Long APValue95 = 0;
    Long APValue96 = 0;
    Long APValue97 = 0;
    Long APAltitudeFixed = 0;  // preselected altitude in metres x 65536
    Long APAltitudeFeet = 0;   // preselected altitude in feet, as the module reports it
    Integer APVerticalSpeed = 0;
    Integer APValue100 = 0;    // function 100 clamped to -100..100, times 160

    // Audio panel: monitor selector bits from the module, and as last sent.
    Integer AudioPanelBits = 0;
    Byte AudioPanelBitsSent = 0;

    // The sim ports of the values each gauge sends back, by GaugeID;
    // 65535 = none.
    std::array<int, kGaugeRows> GaugeReplyPort1 = noPorts();
    std::array<int, kGaugeRows> GaugeReplyPort2 = noPorts();
    std::array<int, kGaugeRows> GaugeReplyPort3 = noPorts();
    std::array<int, kGaugeRows> GaugeReplyPort4 = noPorts();

    Single YokeSimValue = 0;  // the value GetXplaneDataYoke read last

private:
    static std::array<int, kGaugeRows> noPorts()
    {
        std::array<int, kGaugeRows> ports;
        ports.fill(kNoSimPort);
        return ports;
    }
};

extern InstrumentValues Instruments;

// The yoke data slots 0..22 (groups and slots in Cfg.YokeDataGroup/Value).
inline constexpr int kYokeDataSlots = 23;

} // namespace varnet
