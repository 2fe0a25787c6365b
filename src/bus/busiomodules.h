#pragma once

// The I/O modules on the gauge bus (gauge type 10). Each has 48 switch
// inputs, 8 analogue channels and 32 LED outputs, bound to simulator
// functions by the module's I/O entries.
//
// Inputs: the reply handler stores the module's switch bytes and channel
// values in RunData; in a module turn of the process loop every change since
// the state last processed acts through its entry: a switch sets a value (a
// percentage of the function's range), steps it (limited to the function's
// minimum and maximum) or types a key into the simulator; a channel that
// moved by more than its threshold writes its value scaled to the function.
//
// Outputs: in the per-gauge pass the simulator value of each LED entry is
// turned into the LED's bit in one of the module's two output words
// (outputs 0..15 word 1, 16..31 word 2; output 0 and 16 are bit 15, 15 and 31
// bit 0). A word whose bits changed goes out in the module's turn.

namespace varnet {

class ProcessLoop;
struct ProcessHandlers;

// The LED outputs for gauge type 10 and the inputs of the module turn.
void InstallBusIOModules(ProcessHandlers& handlers);

// Every bus module in order: each switch whose state differs from the state
// last processed acts through its entry (none: nothing). The state kept for
// the next comparison is the one acted on, so that a change stored while a
// message box of this pass is open is acted on in the next turn. A failing
// switch shows "Error 11 ..." and the pass goes on.
void ProcessSwitches(ProcessLoop& loop);

// Every bus module in order: each analogue channel with an entry that moved
// by more than its threshold writes its value, limited to the entry's raw
// range and scaled to the function's minimum and maximum. A channel whose
// scale cannot be worked out (a zero-width raw range) counts as processed
// and is a fault of its module (ProcessLoop::ModuleFault): Yes goes on with
// the next channel, so that one broken entry does not hold up the others;
// No stops the run and ends the pass.
void ProcessAnalogueInputs(ProcessLoop& loop);

// The LED outputs of the bus module in `slot`, then the module's status
// request when its poll number has its turn and no gauge asked before it.
void BusIOModuleOutputs(ProcessLoop& loop, int slot);

} // namespace varnet
