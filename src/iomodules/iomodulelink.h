#pragma once

// The link windows of stand-alone I/O modules 1 and 2 (frmStatusIOM,
// frmstatusIOM2). They behave alike and differ only in the COM port, the
// GaugeID that stands for the module (1000, 2000) and the module number in
// their texts. On its own port a module answers to bus address 10.

#include "iomodules/iomodulerun.h"
#include "iomodules/linkwindow.h"

#include <QByteArray>
#include <QTimer>

#include <array>

namespace varnet {

class IOModuleLink : public LinkWindow {
    Q_OBJECT

public:
    int ModuleGaugeID() const { return gaugeID_; }

    // Queues one command for the module: waits, letting events run and at
    // most kSendSlotWaitMs, while an earlier command is still waiting; then
    // the command frame with address 10 (the GaugeID argument selects
    // nothing) waits in SendBuffer for the writer, which sends it while the
    // link is halted. false when nothing was queued: the link is running,
    // the earlier command did not go out in time, or the frame cannot be
    // built.
    bool ComposeCmd(int GaugeID, int Command, double Value);

    // Under owner 1000 (2000): a sim port for every I/O entry of the module,
    // its handle in IOEntryPort, and the entry sorted into the switch,
    // analogue and LED tables. Switch ports are read when the entry
    // increments or its function is a macro; LED ports always, as the LEDs
    // follow the simulator.
    void OpenPorts() override;
    void cmdRun_Click() override;
    void cmdStop_Click() override;

    // The command waiting for the writer.
    QByteArray SendBuffer;
    Integer SendPending = 0;
    // The module's last 25-byte reply.
    QByteArray ReplyBuffer;

    // Entry index per switch 0..47, analogue input 0..7 and LED output
    // 0..31 (one spare each); 0 = none.
    IOModuleRun::SwitchEntries SwitchEntry{};
    IOModuleRun::ChannelEntries AnalogueEntry{};
    IOModuleRun::OutputEntries LEDEntry{};

    // The module links' one clock: every running module link ticks on it,
    // all of them in one wake-up of the program. It runs while a link is on
    // it; stopping it stops the ticks of every module.
    QTimer& ProcessTimer() override;
    // Sends a waiting command while the link is halted; it rests during a
    // run, which refuses commands.
    QTimer& WriteCmdTimer() { return WriteCmdTimer_; }

    // One tick of the run (30 ms): acts on the module's newest reply, works
    // out its LEDs and writes the changed LED words and the next poll. A
    // fault asks "... Continue?"; No ends the program.
    void ProcessTimer_Timer();
    // The run's state of the module's inputs and LED words.
    const IOModuleRun& Run() const { return run_; }

protected:
    IOModuleLink(int moduleNumber, const QString& name);
    ~IOModuleLink() override;

    void MSComm1_OnComm() override;
    void stopTimers() override;
    QString DeviceFaultText() const override;
    // The module's inputs are the cockpit's switches: without them the
    // program ends, as the run window's Exit ends it.
    void DeviceGivenUp() override;
    // A module plugged in again starts with its LEDs dark.
    void DeviceBack() override { run_.SendWordsAgain(); }
    // A command queued for the module that was there goes to no other: it
    // goes out before the load, and anything left is dropped after it.
    void Form_ConfigurationReplacing() override;
    void DeviceReplaced() override;

private:
    void WriteCmdTimer_Timer();
    void writePendingCommand();
    // On the clock with the other running module links, or off it.
    void joinClock();
    void leaveClock();
    bool fault(const QString& where, const QString& error);

    int gaugeID_;
    int moduleNumber_;
    IOModuleRun run_{SwitchEntry, AnalogueEntry, LEDEntry};
    bool inTick_ = false;
    QMetaObject::Connection clockTick_;
    QTimer WriteCmdTimer_;
};

class frmStatusIOM final : public IOModuleLink {
    Q_OBJECT

public:
    frmStatusIOM() : IOModuleLink(1, QStringLiteral("frmStatusIOM")) {}
};

class frmstatusIOM2 final : public IOModuleLink {
    Q_OBJECT

public:
    frmstatusIOM2() : IOModuleLink(2, QStringLiteral("frmstatusIOM2")) {}
};

} // namespace varnet
