#pragma once

// What the link of a stand-alone I/O module does in a run, without its
// window: each tick of its process timer acts on the inputs of the module's
// newest reply (every switch that changed since the state last processed,
// every channel that moved by more than its threshold), works out its LED
// entries into the two output words, and gives the bytes to write: command 4
// and 5 for a word that changed since it was last written, then the poll
// (command 6, value 0). Every frame goes to bus address 10, the address the
// module answers to on its own port. The entries act through the rules the
// bus modules use (bus/ioentryrules.h).

#include "bus/ioentryrules.h"
#include "bus/runstate.h"
#include "config/tables.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>

namespace varnet {

class SimCom;

class IOModuleRun {
public:
    // Entry per switch 0..47, channel 0..7 and LED output 0..31 (one spare
    // each), 0 = none: the link's tables, read as they stand at each tick.
    using SwitchEntries = std::array<Integer, kModuleSwitchRows>;
    using ChannelEntries = std::array<Integer, kModuleChannelRows>;
    using OutputEntries = std::array<Integer, kModuleOutputRows>;
    IOModuleRun(const SwitchEntries& switches, const ChannelEntries& channels, const OutputEntries& outputs);

    // A new preparation: the state before the first reply (every switch on,
    // every channel at 1023, as for a module on the bus) and both words 0.
    void Reset();
    // A run starts: both words go out with the next tick, so that the LEDs
    // show the run's state whatever a test left lit while halted.
    void RunStarted();
    // Both words go out again with the next tick, as they stand.
    void SendWordsAgain() { wordsPending_.fill(true); }

    // A module reply (25 bytes, 0x00 first, 0xFF last, type code 10): its
    // inputs are kept for the next tick. false for anything else.
    bool TakeReply(const QByteArray& reply);

    // What a tick needs from the program. `fault` shows a fault of an input
    // or output ("switch:3", the error's description) and answers whether
    // to go on; once it answered yes, the module's later faults pass without
    // it until the run starts again, as the faults of a module on the bus
    // do. `sendKey` types a keystroke entry's key.
    struct Services {
        SimCom& link;
        std::function<void(int keyCode)> sendKey;
        std::function<bool(const QString& where, const QString& error)> fault;
        // true once the run stopped or the link went away behind a box (of
        // a fault, a keystroke or the simulator link): nothing more is done.
        std::function<bool()> stopped;
    };
    // The inputs of a reply that came since the last tick, then the LED words. false when a fault
    // was answered with No: the rest of the tick is left undone.
    bool Process(const Services& services);
    // The LED commands of the words that changed since they were last
    // written, then the poll.
    QByteArray Output() const;
    // That output reached the line: its words count as written.
    void OutputWritten();

    // The state as the tick left it.
    const QByteArray& SwitchState() const { return switchState_; }
    std::array<Long, 2> Words() const { return words_; }

private:
    bool processSwitches(const Services& services);
    bool processChannels(const Services& services);
    bool processOutputs(const Services& services);
    // services.fault, unless a fault was let pass in this run.
    bool reportFault(const Services& services, const QString& where, const QString& error);

    const SwitchEntries& switchEntries_;
    const ChannelEntries& channelEntries_;
    const OutputEntries& outputEntries_;

    QByteArray switchState_;
    QByteArray switchPrevious_;
    std::array<int, kIOModuleChannels> channels_{};
    std::array<int, kIOModuleChannels> channelsLast_{};
    std::array<Long, 2> words_{};
    std::array<bool, 2> wordsPending_{};
    // Per output, the version of its sim port when it was last worked out
    // (0: not since the run started): an unchanged port lights the same.
    std::array<std::uint64_t, kIOModuleOutputs> outputVersions_{};
    bool faultPassed_ = false;  // a fault was let pass in this run
    bool newReply_ = false;
    QByteArray lastReply_;  // the reply the inputs were last decoded from
};

} // namespace varnet
