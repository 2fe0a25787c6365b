#pragma once

// The process loop: one tick of the run window's process timer turns the
// current simulator values into gauge-bus commands and writes them in one
// write. A tick either sends the backlight to every gauge and ends there, or
// runs, in this order: the value boxes, the per-gauge pass, the general
// values, the voltage and light boxes, one gauge's status request or one bus
// I/O module's turn, the write, and the tick count.
//
// The per-gauge pass hands every slot to the output of its gauge type
// (ProcessHandlers); each family of types installs its outputs from a file of
// its own (needles.h for the needle gauges and the bus engine cluster).
// Outputs queue frames with AddGaugeCommand, ask for status with
// RequestStatusInTurn, read the simulator through GetPort and report a
// fault with Fault.
//
// The frames wait in the loop's line output (lineoutput.h) until the line
// can carry them; a value that changes again meanwhile replaces the waiting
// one. The loop itself owns no window: its host hands the line what it
// carries, shows the boxes and stops the run.

#include "bus/lineoutput.h"
#include "bus/runstate.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace varnet {

class ProcessLoop;
class SimCom;

// The output of one gauge type for one slot (a valid slot with a GaugeID of
// 1..255).
using GaugeOutput = void (*)(ProcessLoop& loop, int slot);

struct ProcessHandlers {
    // By gauge type code; a type without an output is passed over.
    std::array<GaugeOutput, 256> gaugeOutputs{};
    // The switch and analogue inputs of the bus I/O modules, run in a
    // module's turn before its commands go out.
    std::function<void(ProcessLoop&)> busModuleInputs;
};

// Every output the program has: the needle outputs (needles.h), and for the
// other types that report back their status request in turn. A file that
// brings the whole output of a type installs it here over the request.
ProcessHandlers DefaultProcessHandlers();

// The run window as the loop needs it.
class ProcessLoopHost {
public:
    virtual ~ProcessLoopHost() = default;

    // false once the run was stopped (also from inside a message box).
    virtual bool RunActive() const = 0;
    // Empties the gauge-bus input and writes, in one write, what of the
    // waiting output the line carries until the next tick (GaugeSendBuffer
    // then holds it).
    virtual void FlushGaugeOutput() = 0;
    // The boxes of the tick's simulator values (RunData): the position and
    // pressure boxes, then the voltage and light boxes.
    virtual void ShowValueBoxes() {}
    virtual void ShowVoltageAndLights() {}
    // "No" in a fault box.
    virtual void StopRun() = 0;
};

class ProcessLoop {
public:
    explicit ProcessLoop(ProcessLoopHost& host, ProcessHandlers handlers = DefaultProcessHandlers());

    // One tick. The caller keeps a second tick from starting while this one
    // is still open (behind a message box).
    void Tick();
    // A run starts: every fault is asked about again.
    void RunStarted();
    // The run stopped: the status requests still waiting are dropped; the
    // values wait for the next run.
    void RunStopped();
    LineOutput& Line() { return line_; }

    // ---- For the per-type outputs.
    // The port's scaled value; nothing for no port or an inactive one.
    std::optional<Single> GetPort(int port);
    // A needle's value through its plate: the port's value as the plate
    // limits it, and the needle steps (PlateValueToSteps). `needle` numbers
    // the needle among all (0..). The last reading of each needle is kept
    // while its port and plate stay the same, as reading them again would
    // give the same; a read that asked about a fault is not kept. Nothing
    // is kept from one run to the next: between runs functions and plates
    // may be edited.
    struct NeedleReading {
        std::optional<Single> value;
        std::optional<int> steps;
    };
    // The reading stays valid until the next ReadNeedle.
    const NeedleReading& ReadNeedle(int needle, int port, int plate);
    SimCom& Link();
    // Queues 0xFF and the frame for the line, in place of a frame for the
    // same part of the gauge still waiting from an earlier tick; a frame that
    // cannot be built is dropped.
    void AddGaugeCommand(int GaugeID, int Command, double Value);
    // PollRequest := 0xFF and the frame.
    void MakeGaugeRequest(int GaugeID, int Command, double Value);
    // The status request of the slot's gauge when its poll number has its
    // turn in this tick.
    void RequestStatusInTurn(int slot);
    // Shows "Error 10 ..." for the slot being processed; true when the user
    // goes on (Yes), false when the run stopped: the output returns then.
    // After Yes a gauge's faults are let pass without a box until the run
    // ends: a value that keeps coming and going between sendable and not
    // would otherwise ask again each time it comes back.
    bool Fault(const QString& description);
    // The same for a fault of the bus I/O module `gaugeID` in its turn: the
    // box names the module, and after Yes its faults pass without a box
    // until the run ends, as a gauge's do. A potentiometer that never rests
    // would otherwise ask in every module turn.
    bool ModuleFault(int gaugeID, const QString& description);

    ProcessHandlers handlers;
    Byte ProcessState = 0;    // step in progress, 1..8
    int ProcessTicks = 0;     // ticks that got past the backlight step; 0 after 1000
    QByteArray PollRequest;   // 0xFF and the tick's status request

private:
    // Step 1; true when the backlight went out and the tick ends.
    bool backlightStep();
    void updateBacklightWords();
    // Step 3; false when the run stopped during it.
    bool perGaugePass();
    void readGeneralValues();
    void updateLightBits();
    void statusOrModuleTurn();
    void moduleTurn();
    void advancePollIndex();
    void addModuleCommand(int GaugeID, int Command, double Value, LineOutput::Kind kind);
    // The fault box for gauge `id` of `type`; `once`: Yes lets the gauge's
    // later faults pass.
    bool askFault(int id, int type, bool once, const QString& description);

    ProcessLoopHost& host_;
    LineOutput line_;
    SimCom* link_ = nullptr;
    // What the fault box names: the slot in progress in the per-gauge pass.
    int faultGaugeID_ = 0;
    int faultType_ = 0;
    // By GaugeID: the user let the gauge's fault pass and it still fails.
    std::array<bool, kLastGaugeID + 1> faultPassed_{};
    bool inGaugeOutput_ = false;

    struct KeptReading {
        std::uint64_t version = 0;  // of the port; 0: nothing kept
        int port = 0;
        int plate = 0;
        NeedleReading reading;
    };
    std::vector<KeptReading> needleReadings_;
};

} // namespace varnet
