#include "bus/busiomodules.h"

#include "bus/ioentryrules.h"
#include "bus/processloop.h"
#include "bus/runpreparation.h"
#include "bus/runstate.h"
#include "config/gaugetypes.h"
#include "platform/messages.h"
#include "simlink/keystrokes.h"
#include "simlink/simcom.h"

#include <exception>
#include <functional>
#include <optional>

namespace varnet {

namespace {

void moduleSwitches(ProcessLoop& loop, int k)
{
    RunState& r = RunData;
    r.BusIOMIndex = k;
    // Boxes shown below let the reply handler store newer states meanwhile:
    // only the copy taken here is acted on and kept as processed.
    const QByteArray state = r.IOMSwitchState[std::size_t(k)];
    const QByteArray previous = r.IOMSwitchPrev[std::size_t(k)];
    if (state == previous)
        return;
    const auto sendKey = [](int keyCode) { SendKeystroke(keyCode); };
    ForEachChangedSwitch(previous, state, [&](int s, bool on) {
        if (!r.ValidModule(k))
            return;
        const int e = r.IOMSwitchEntry[std::size_t(k)][std::size_t(s)];
        if (!ValidIOEntry(e))
            return;
        try {
            IOSwitchAction(loop.Link(), e, on, sendKey);
        } catch (const std::exception& fault) {
            messages().ok(QStringLiteral("Error 11: An error has occured processing switch:%1\r\nError: %2")
                              .arg(s)
                              .arg(QString::fromLatin1(fault.what())));
        }
    });
    if (r.ValidModule(k))
        r.IOMSwitchPrev[std::size_t(k)] = state;
}

// ---- Analogue channels ---------------------------------------------------------

// false when the run stopped behind a fault's box.
bool moduleChannels(ProcessLoop& loop, int k)
{
    RunState& r = RunData;
    r.BusIOMIndex = k;
    const int gaugeID = r.IOMGaugeID[std::size_t(k)];
    const std::function<bool(const QString&)> fault = [&](const QString& error) {
        return loop.ModuleFault(gaugeID, error);
    };
    for (int n = 0; n < kIOModuleChannels && r.ValidModule(k); ++n) {
        const std::size_t m = std::size_t(k);
        const int e = r.IOMAnalogueEntry[m][std::size_t(n)];
        if (!ValidIOEntry(e))
            continue;
        if (!ProcessIOChannel(loop.Link(), e, r.IOMAnalogueValue[m][std::size_t(n)],
                              r.IOMAnalogueLast[m][std::size_t(n)], r.IOMAnalogueThreshold[m][std::size_t(n)], fault))
            return false;
    }
    return true;
}

// ---- LED outputs ---------------------------------------------------------------

void updateLED(ProcessLoop& loop, int k, int output, int e)
{
    // Worked out every pass, not only when the value differs from the one
    // last seen: after a preparation the words start from 0 while the last
    // values come from the configuration.
    const std::optional<Single> v = IOLampValue(loop.Link(), e);
    // The read may have shown a box, and a value that cannot be read shows nothing.
    if (!v || !RunData.ValidModule(k))
        return;
    const std::size_t m = std::size_t(k);
    const bool second = IOOutputInWord2(output);
    Long& word = second ? RunData.IOMCmd5Value[m] : RunData.IOMCmd4Value[m];
    Integer& pending = second ? RunData.IOMCmd5Pending[m] : RunData.IOMCmd4Pending[m];
    if (SetIOOutputBit(word, output, IOLampLit(e, *v)))
        pending = 1;
}

void moduleInputs(ProcessLoop& loop)
{
    ProcessSwitches(loop);
    ProcessAnalogueInputs(loop);
}

} // namespace

void InstallBusIOModules(ProcessHandlers& handlers)
{
    handlers.gaugeOutputs[IOModuleType] = BusIOModuleOutputs;
    handlers.busModuleInputs = moduleInputs;
}

void ProcessSwitches(ProcessLoop& loop)
{
    for (int k = 0; RunData.ValidModule(k); ++k)
        moduleSwitches(loop, k);
}

void ProcessAnalogueInputs(ProcessLoop& loop)
{
    for (int k = 0; RunData.ValidModule(k); ++k)
        if (!moduleChannels(loop, k))
            return;
}

void BusIOModuleOutputs(ProcessLoop& loop, int slot)
{
    RunState& r = RunData;
    if (!r.ValidSlot(slot))
        return;
    const int k = r.SlotPort2[std::size_t(slot)];
    if (r.ValidModule(k)) {
        r.BusIOMIndex = k;
        for (int output = 0; output < kIOModuleOutputs && r.ValidModule(k); ++output) {
            const int e = r.IOMLEDEntry[std::size_t(k)][std::size_t(output)];
            if (ValidIOEntry(e))
                updateLED(loop, k, output, e);
        }
    }
    // The module's status comes with its own turn; in a gauge's turn it never
    // takes the place of that gauge's request.
    if (loop.PollRequest.isEmpty())
        loop.RequestStatusInTurn(slot);
}

} // namespace varnet
