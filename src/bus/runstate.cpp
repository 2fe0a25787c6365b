#include "bus/runstate.h"

#include "bus/ioentryrules.h"
#include "simlink/instruments.h"

#include <algorithm>

namespace varnet {

RunState RunData;

namespace {

template <typename T>
void refill(std::vector<T>& table, std::size_t size, const T& value)
{
    table.assign(size, value);
}

} // namespace

void RunState::SizeTables(int lastSlotIndex, int modules)
{
    const std::size_t slotRows = std::size_t(std::max(lastSlotIndex, 0)) + 1;
    LastSlotIndex = int(slotRows) - 1;
    refill(SlotGaugeID, slotRows, 0);
    for (std::vector<int>* ports : {&SlotPort1, &SlotPort2, &SlotPort3, &SlotPort4})
        refill(*ports, slotRows, kNoSimPort);
    for (std::vector<Single>* last : {&SlotLast1, &SlotLast2, &SlotLast3, &SlotLast4})
        refill(*last, slotRows, 0.0f);
    refill(SlotPollNr, slotRows, 0);
    refill(SlotLightsFlag, slotRows, Byte(0));
    refill(SlotClusterPorts, slotRows, noPorts<kClusterNeedles>());

    BusIOMCount = std::max(modules, 0);
    const std::size_t rows = std::size_t(BusIOMCount) + 1;
    refill(IOMGaugeID, rows, 0);
    refill(IOMPollNr, rows, 0);
    refill(IOMSwitchState, rows, QByteArray(kModuleSwitchBytes, char(0)));
    refill(IOMSwitchPrev, rows, QByteArray(kModuleSwitchBytes, kIOSwitchesBeforeFirstReply));
    refill(IOMSwitchEntry, rows, {});
    for (auto* table : {&IOMAnalogueValue, &IOMAnalogueLast, &IOMAnalogueEntry, &IOMAnalogueThreshold})
        refill(*table, rows, {});
    refill(IOMLEDEntry, rows, {});
    refill(IOMCmd4Pending, rows, Integer(0));
    refill(IOMCmd5Pending, rows, Integer(0));
    refill(IOMCmd4Value, rows, Long(0));
    refill(IOMCmd5Value, rows, Long(0));
}

void RunState::ResetForRunStart()
{
    DateSentFlag = true;
    Instruments.ZuluTimeJumped = true;
}

} // namespace varnet
