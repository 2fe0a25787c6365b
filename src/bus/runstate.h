#pragma once

// What the run keeps between ticks: the simulator values the process loop
// reads every tick, the backlight state, and the per-run tables that the run
// preparation lays out once per load of the run window and that the process
// loop, the reply handler and the bus I/O-module processing walk.
//
// One program-wide instance, `RunData`. The tables are parallel vectors indexed by
// slot (0..LastSlotIndex) or by bus I/O module (0..BusIOMCount); whoever
// walks them checks an index with ValidSlot / ValidModule first, since a slot
// field may hold a phase counter or a module index rather than a port.
//
// Port fields hold kNoSimPort (65535) unless a port was opened for them:
// handle 0 is a real port (the first one opened), never "none".

#include "config/tables.h"
#include "simlink/simports.h"

#include <QByteArray>
#include <QDateTime>

#include <array>
#include <vector>

namespace varnet {

inline constexpr int kFirstGaugeID = 1;
inline constexpr int kLastGaugeID = 255;
inline constexpr int kClusterNeedles = 8;
// Module tables have one element more than the module has inputs or outputs.
inline constexpr int kModuleSwitchRows = 49;   // switches 0..47
inline constexpr int kModuleChannelRows = 9;   // analogue channels 0..7
inline constexpr int kModuleOutputRows = 33;   // LED outputs 0..31
inline constexpr int kModuleSwitchBytes = 6;   // 48 switch bits
inline constexpr int kGeneralPorts = 15;       // GeneralPort 1..14
// Added to PollIndex to mark that the next status step is a bus I/O-module turn.
inline constexpr int kModuleTurnMark = 100;
// The poll number of a gauge that is never asked for its status.
inline constexpr int kNeverPolled = 65535;

constexpr bool ValidGaugeID(int id)
{
    return id >= kFirstGaugeID && id <= kLastGaugeID;
}

struct RunState {
    // ---- Simulator values, read through the general-value ports each tick.
    // SimAltitude and SimOutsideTemp live with the instrument helpers.
    Single SimBank = 0;
    Single SimPitch = 0;
    Single SimVerticalSpeed = 0;
    Single SimIAS = 0;
    Single SimHeading = 0;  // 0 up to 360
    Single SimCompass = 0;
    Single SimAirPressureHg = 0;
    Single SimVoltage1 = 0;
    Single SimVoltage2 = 0;
    Single SimInstrLights = 0;
    Single SimNavLights = 0;
    Integer SimLightBits = 0;  // 32 instrument lights, + 1 navigation lights

    // ---- Backlight.
    Single LastVoltage1 = 0;
    Single LastVoltage2 = 0;
    Integer LastLightBits = 0;   // SimLightBits And LightsMask at its last change
    Integer BacklightWord = 0;   // 0 dark, 128 lit, 192 lit with bit 64
    Integer BacklightWord2 = 0;  // the same from SimVoltage2, for the slots in SlotLightsFlag
    Integer LightsSendCount = 0; // not 0: the next tick sends command 8 to every gauge

    // ---- Gauge slots, in ascending GaugeID; 0..LastSlotIndex (at least 1).
    int LastSlotIndex = 1;
    std::vector<int> SlotGaugeID;  // 0 = empty slot
    std::vector<int> SlotPort1;
    std::vector<int> SlotPort2;    // type 8: needle-pair phase; type 10: module index
    std::vector<int> SlotPort3;
    std::vector<int> SlotPort4;
    std::vector<Single> SlotLast1;
    std::vector<Single> SlotLast2;
    std::vector<Single> SlotLast3;
    std::vector<Single> SlotLast4;
    std::vector<int> SlotPollNr;
    std::vector<Byte> SlotLightsFlag;  // 1: the backlight also follows BacklightWord2
    // The eight ports of a bus engine cluster, in the order of its functions
    // 40..46 and 46 again with selector 2 (kNoSimPort elsewhere).
    std::vector<std::array<int, kClusterNeedles>> SlotClusterPorts;
    int PollIndex = 0;  // the gauge poll number whose turn it is (+ kModuleTurnMark: a module turn)
    int PollMax = -1;   // highest gauge poll number handed out

    // ---- Bus I/O modules (gauge type 10), 0..BusIOMCount.
    int BusIOMCount = 0;
    int BusIOMIndex = 0;
    int IOMPollIndex = 0;
    int IOMPollMax = -1;
    std::vector<int> IOMGaugeID;
    std::vector<int> IOMPollNr;
    std::vector<QByteArray> IOMSwitchState;  // 6 bytes, bit 7 of the first = switch 0
    std::vector<QByteArray> IOMSwitchPrev;
    std::vector<std::array<int, kModuleSwitchRows>> IOMSwitchEntry;
    std::vector<std::array<int, kModuleChannelRows>> IOMAnalogueValue;
    std::vector<std::array<int, kModuleChannelRows>> IOMAnalogueLast;
    std::vector<std::array<int, kModuleChannelRows>> IOMAnalogueEntry;
    std::vector<std::array<int, kModuleChannelRows>> IOMAnalogueThreshold;
    std::vector<std::array<int, kModuleOutputRows>> IOMLEDEntry;
    std::vector<Integer> IOMCmd4Pending;
    std::vector<Integer> IOMCmd5Pending;
    std::vector<Long> IOMCmd4Value;
    std::vector<Long> IOMCmd5Value;

    // ---- The run window's own ports (owner 3000), GeneralPort[1..14].
    std::array<int, kGeneralPorts> GeneralPort = noPorts<kGeneralPorts>();

    // ---- Set by the preparation for the instrument outputs and the replies.
    int RMIExtraPort1 = kNoSimPort;
    int RMIExtraPort2 = kNoSimPort;
    Byte DMESelection = 0;
    std::array<Single, kGaugeRows> GaugeLastReplyValue{};
    QDateTime PCDateTime;

    // ---- Remembered values that every run start sets again.
    bool DateSentFlag = false;
    Single LastHeadingSelect = 0;

    int SlotCount() const { return int(SlotGaugeID.size()); }
    bool ValidSlot(int slot) const { return slot >= 0 && slot < SlotCount(); }
    bool ValidModule(int module) const { return module >= 0 && module < BusIOMCount && module < int(IOMGaugeID.size()); }

    // Re-creates every slot table for slots 0..lastSlotIndex and every
    // module table for modules 0..modules, with their starting contents.
    void SizeTables(int lastSlotIndex, int modules);
    // What a run start resets so that the first ticks send those values again.
    void ResetForRunStart();

private:
    template <std::size_t N>
    static std::array<int, N> noPorts()
    {
        std::array<int, N> ports;
        ports.fill(kNoSimPort);
        return ports;
    }
};

extern RunState RunData;

} // namespace varnet
