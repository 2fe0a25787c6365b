#pragma once

// The run window frmStatus. It exists, hidden, from the first time anything
// refers to it: its gauge-bus port MSComm1 and its configuration timer serve
// the configuration dialogs whether or not a run was ever started.
//
// The gauge-bus port has two writers that never write at the same time:
// while no run is active the configuration timer WriteCmdDuringConfig (5 ms)
// writes the single frame waiting in GaugeSendBuffer; while the run is
// active the process loop collects a tick's frames in GaugeSendBuffer and
// writes them with FlushGaugeOutput.

#include "config/tables.h"
#include "platform/form.h"
#include "platform/serialport.h"

#include <QByteArray>
#include <QTimer>

#include <memory>

namespace varnet {

class frmStatus : public Form {
    Q_OBJECT

public:
    frmStatus();
    ~frmStatus() override;

    SerialPort& MSComm1() { return *MSComm1_; }
    QTimer& WriteCmdDuringConfig() { return WriteCmdDuringConfig_; }

    // 1 while the run is active.
    Integer Running = 0;
    // The tick's status request with its leading 0xFF.
    QByteArray PollRequest;

    // True while the configuration timer runs, that is while no run is
    // active: only then does the single-frame path take frames.
    bool SingleFramesAccepted() const { return WriteCmdDuringConfig_.isActive(); }
    // The run takes the gauge-bus port over: a single frame still waiting
    // is written first, then the configuration timer stops.
    void StartRunOutput();
    // Back to single frames: whatever the last tick left in GaugeSendBuffer
    // is dropped, never written as a single frame, and the timer restarts.
    void StopRunOutput();
    // Stops the run (when one is active).
    void cmdStop_Click();

    // Process-loop output: appends 0xFF and the frame to GaugeSendBuffer; a
    // frame that cannot be built is dropped.
    void AddGaugeCommand(int GaugeID, int Command, double Value);
    // PollRequest := 0xFF and the frame (replaced, not appended).
    void MakeGaugeRequest(int GaugeID, int Command, double Value);
    // Writes the whole tick output. A failing write asks "Continue?"; No
    // stops the run. GaugeSendBuffer is left for the next tick to empty.
    void FlushGaugeOutput();

    // Receive event of the gauge bus: one 25-byte unit.
    void MSComm1_OnComm();
    void WriteCmdDuringConfig_Timer();

protected:
    void Form_Unload() override;

private:
    // The gauge-bus port open on the configured number (opened quietly when
    // it is not); false when that is not possible.
    bool gaugeBusPortReady();
    void writeSingleFrame();

    std::unique_ptr<SerialPort> MSComm1_;
    QTimer WriteCmdDuringConfig_;
};

} // namespace varnet
