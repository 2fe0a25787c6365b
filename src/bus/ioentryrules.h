#pragma once

// The rules of an I/O module's entries, the same board on the gauge bus and
// on a port of its own: how a module reply carries its inputs, what a
// switch entry does when its switch turns on or off, how an analogue entry
// scales its channel, when an LED entry lights and where an LED sits in the
// two output words. The bus modules' turn of the process loop and the links
// of the stand-alone modules both work through these.
//
// An entry e is a row of the I/O entry table (Cfg.IOEntry...).

#include "bus/runstate.h"
#include "config/tables.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace varnet {

class SimCom;

// The board's inputs and outputs; the run's module tables have a row more.
inline constexpr int kIOModuleSwitches = kModuleSwitchRows - 1;
inline constexpr int kIOModuleChannels = kModuleChannelRows - 1;
inline constexpr int kIOModuleOutputs = kModuleOutputRows - 1;
inline constexpr int kIOOutputsPerWord = 16;
// The commands that carry output words 1 (outputs 0..15) and 2 (16..31).
inline constexpr int kIOOutputWord1Command = 4;
inline constexpr int kIOOutputWord2Command = 5;
// The command (with value 0) that asks a module for its inputs.
inline constexpr int kIOModuleStatusCommand = 6;

// The columns of an entry, as the run reads them and the window writes them.
// The sequence byte of an entry that types a key instead of writing a value.
inline constexpr Byte kKeystrokeSeqNr = 100;
// An absolute switch value that means "no action".
inline constexpr Single kIONoAction = -1.0f;
// Increment flags: step on switching on, on switching off.
inline constexpr Integer kStepOnSwitchingOn = 1;
inline constexpr Integer kStepOnSwitchingOff = 2;
// LED condition bits, and the flag that inverts them.
inline constexpr Integer kLitAtMinimum = 1;
inline constexpr Integer kLitAtMaximum = 2;
inline constexpr Integer kLitAboveCrossover = 4;
inline constexpr Integer kLitAtFreeValue = 8;
inline constexpr Integer kIOInvert = 1;
// What the run counts as the state before a module's first reply: every
// switch on and every channel at 1023, so that the first reply sets the
// simulator from the switches that are off and the channels that are away
// from 1023.
inline constexpr char kIOSwitchesBeforeFirstReply = char(0xFF);
inline constexpr int kIOChannelBeforeFirstReply = 1023;

// The inputs a module reply carries: bytes 6..11 the 48 switches (byte 6
// bit 7 is switch 0, bit 0 switch 7, and so on), bytes 13..16 the channels'
// high nibbles two to a byte, bytes 17..24 their low bytes (12 bits each).
struct IOModuleInputs {
    QByteArray switches;
    std::array<int, kIOModuleChannels> channels{};
};
// `reply` is a well-framed 25-byte reply.
IOModuleInputs DecodeIOModuleInputs(const QByteArray& reply);

// Whether switch s is on in the switch bytes of a reply.
bool IOSwitchOn(const QByteArray& switches, int s);

// Calls act(switch, on) for every switch whose bit differs between the two
// states, in switch order; `stop` ends the walk early when it returns true
// (a window closed behind a box).
void ForEachChangedSwitch(const QByteArray& previous, const QByteArray& state,
                          const std::function<void(int s, bool on)>& act,
                          const std::function<bool()>& stop = {});

// Every column the module processing reads exists for e (e >= 1).
bool ValidIOEntry(int e);
// The entry's sim port; the 16-bit column holds "no port" as -1.
int IOEntrySimPort(int e);

// The action of switch entry e on switching on or off: a keystroke entry
// hands its key code to sendKey; otherwise the entry sets (a percentage of
// the range's width) or steps (limited to the function's range) its
// function's value through `link`. Throws std::overflow_error for a value
// the simulator cannot take.
void IOSwitchAction(SimCom& link, int e, bool on, const std::function<void(int keyCode)>& sendKey);

// A channel that moved by more than its threshold acts.
constexpr bool IOChannelMoved(int raw, int last, int threshold)
{
    return (raw > last ? raw - last : last - raw) > threshold;
}
// The value of analogue entry e for a raw channel value: limited to the
// entry's raw range and scaled to the function (around the centre when the
// entry has one). Throws std::overflow_error or std::domain_error ("Division
// by zero") when the scale cannot be worked out.
Single IOAnalogueValue(int e, int raw);

// One analogue channel in a module's turn, on the bus or on a port of its
// own: when `raw` moved from `last` by more than `threshold`, the channel
// counts as processed (last := raw) and the value of entry e goes to its sim
// port. A scale that cannot be worked out goes to `fault` with its
// description, and the channel still counts as processed: a broken entry
// is reported when its channel moves, not again on every turn. false when
// `fault` answers that the pass ends.
bool ProcessIOChannel(SimCom& link, int e, int raw, int& last, int threshold,
                      const std::function<bool(const QString& error)>& fault);

// The simulator value of LED entry e, reduced to 0 or 1 by the function's
// macro mask when it has one, and kept as the entry's last value; nothing
// when the port gives nothing. Throws std::overflow_error for a masked value
// that is no 16-bit number.
std::optional<Single> IOLampValue(SimCom& link, int e);
// Whether LED entry e is lit at value v: its conditions (at the minimum, at
// the maximum, above the crossover percentage, at the free value), inverted
// by its flag.
bool IOLampLit(int e, Single v);

// Outputs 0..15 are word 1, 16..31 word 2.
constexpr bool IOOutputInWord2(int output)
{
    return output >= kIOOutputsPerWord;
}
// Sets or clears output's bit (outputs 0 and 16 are bit 15, 15 and 31 bit
// 0) in `word`, the word it belongs to; true when the word changed.
bool SetIOOutputBit(Long& word, int output, bool lit);

} // namespace varnet
