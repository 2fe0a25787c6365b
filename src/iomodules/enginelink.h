#pragma once

// The link window of the stand-alone engine cluster (frmStatusEC). The
// cluster answers in 16-byte units; its output frame and reply live in the
// engine-cluster values of bus/standalonelinks.h, which the run window and
// the device ports touch as well.

#include "iomodules/ecframe.h"
#include "iomodules/linkwindow.h"

#include <QTimer>

namespace varnet {

class frmStatusEC final : public LinkWindow {
    Q_OBJECT

public:
    frmStatusEC();

    // Under owner 4000: a read port for every needle that has a function,
    // one per engine of the cluster (selector 1, and 2 on a dual-engine
    // cluster), kept in Session.ECNeedlePort[needle][engine]; 65535 where
    // there is none.
    void OpenPorts() override;
    // When halted: running, ECFrame emptied, process and one-second timers on.
    void cmdRun_Click() override;
    // When running: both timers off, halted.
    void cmdStop_Click() override;

    // Writes at once one 40-byte frame that drives a single needle: "F",
    // the Position (high byte first) in the two bytes of needle index
    // Needle (0..7), zeros elsewhere, the backlight and display flags, then
    // 0xAA 0xAA. A needle index outside 0..7 or a position outside 0..65535
    // writes nothing; a port that is not open gives
    // "Comm Port for Engine Cluster not found".
    void MoveSingleNeedle(int Needle, int Position);

    // Every 20 ms while running: each needle's value through its plate into
    // its position, and the frame of all eight out when it differs from the
    // last one sent or the one-second tick asks for it again.
    void ProcessTimer_Timer();
    // Once a second while running: shows the frames sent per second, and
    // the next frame goes out even unchanged.
    void Timer1_Timer() override;

    QTimer& ProcessTimer() override { return ProcessTimer_; }

    // The position of each needle as the run last worked it out; a needle
    // whose value is missing keeps its own.
    ECPositions Positions{};

protected:
    void MSComm1_OnComm() override;
    void stopTimers() override;
    QString DeviceFaultText() const override;
    // The gauges go on without the cluster: only its link stops.
    void DeviceGivenUp() override { cmdStop_Click(); }

private:
    QTimer ProcessTimer_;
    ECFrameGate gate_;
    bool ticking_ = false;
};

} // namespace varnet
