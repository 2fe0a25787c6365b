#pragma once

// What the link windows of the stand-alone devices share: the device's own
// serial port MSComm1, a Run and a Stop button, a box that shows "Running"
// or "Halted" and beside it the rate of the link's traffic in the last
// second. Each window has one default instance that comes into being hidden
// the first time it is referred to.
//
// A link's process loop runs on its ProcessTimer and uses the device through
// three calls:
//
//     void SomeLink::ProcessTimer_Timer()
//     {
//         if (!DeviceReady())
//             return;               // away, or its question is open
//         ...
//         if (WriteOutput(frame))   // false: not written, keep it for
//             ...                   // the next tick
//     }
//
// and CountUnit() for every unit of traffic the rate counts (a reply of an
// I/O module, a frame sent to the engine cluster).
//
// A lost device (a hang-up on its port while the link runs, a failed write,
// output that the driver holds longer than the line needs to carry it)
// closes the port. The next tick asks once
// "<DeviceFaultText()>\r\nError: <why>\r\nCheck Virtual/USB Com Port\r\nContinue?";
// on Yes every tick looks for the device again under its COM name and the
// loop goes on as soon as it is back, the output last handed to the port
// written again first. On No the link does what DeviceGivenUp() says.

#include "bus/deviceloss.h"
#include "bus/standalonelinks.h"
#include "config/tables.h"
#include "platform/form.h"
#include "platform/serialport.h"
#include "platform/wait.h"

#include <QElapsedTimer>

#include <QTimer>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace varnet {

class LinkWindow : public Form {
    Q_OBJECT

public:
    ~LinkWindow() override;

    // A device link: what it walks the run's preparation lays out anew, and
    // after a load its port follows the COM number that the loaded
    // configuration gives the device.
    ConfigurationHeld configurationHeld() const override { return ConfigurationHeld::DeviceLink; }
    void Form_ConfigurationReplaced() override;

    SerialPort& MSComm1() { return *MSComm1_; }
    StandAloneDevice Device() const { return device_; }

    // 1 while the link runs.
    Integer Running = 0;

    // Opens the sim ports the link reads and writes during a run.
    virtual void OpenPorts() = 0;
    virtual void cmdRun_Click() = 0;
    virtual void cmdStop_Click() = 0;
    // The timer of the link's process loop; its interval is the time the
    // output of one tick has to go out on the line.
    virtual QTimer& ProcessTimer() = 0;

    // ---- What the process loop calls.
    // At the start of every tick: true when the device is there to be
    // written to. After a loss the first call asks the question (and does
    // what No means); while the device is away each call looks for it again
    // under its COM name, quietly; a call made while the question is open
    // (from a tick that runs inside the box) is false. A port that could not
    // be opened when the run started is looked for the same way, without a
    // question: the run has said so already.
    bool DeviceReady();
    // Writes `bytes` to the device; false when nothing was written: the
    // device is away, or is lost by this call (a failed write, output that
    // has stalled), or the line still carries earlier output and would not
    // carry these bytes as well before the next tick, so that they would
    // wait behind it and the device get them late. The loop keeps what it
    // could not write and writes the newest values later.
    bool WriteOutput(const QByteArray& bytes);
    // One unit of the counted traffic; the one-second timer shows the count.
    void CountUnit() { ++unitsCounted_; }

    // The rate box's count of the last second. 0 while halted.
    int UnitsPerSecond() const { return unitsPerSecond_; }

    // Once a second while the link runs (the link starts and stops it).
    QTimer& Timer1() { return Timer1_; }
    // Its tick: the rate box shows the units of the last second.
    virtual void Timer1_Timer() { ShowRate(); }

protected:
    // `rateCaption` says what the rate box counts.
    LinkWindow(StandAloneDevice device, const QString& name, const QString& title, const QString& rateCaption);

    // The first line of the question after a loss, naming the device.
    virtual QString DeviceFaultText() const = 0;
    // No to that question.
    virtual void DeviceGivenUp() = 0;
    // The device answers again after a loss, and may have been switched off
    // meanwhile: what it only hears of on a change is to be sent again.
    virtual void DeviceBack() {}
    // The port was moved or closed by a load: what waits for the device, or
    // came from it, was the replaced configuration's device's.
    virtual void DeviceReplaced() {}

    // Running or Halted in BoxRun, after Running; the rate starts again at 0.
    void showRunState();
    // The tick of the link's one-second timer: the units counted since the
    // last one, in the rate box.
    void ShowRate();
    // Receive event: one whole unit is waiting.
    virtual void MSComm1_OnComm() = 0;
    // Stops the timers of the link; the port is closed afterwards.
    virtual void stopTimers() = 0;
    void Form_Unload() override;
    // The link goes on running behind its window.
    void Form_TitleBarClose() override { hide(); }

    QLineEdit* BoxRun;
    QLineEdit* BoxRate;
    QLabel* LabelRate;
    QPushButton* cmdRun;
    QPushButton* cmdStop;

private:
    // The port open on the device's configured COM number.
    bool devicePortReady();

    StandAloneDevice device_;
    QTimer Timer1_;
    std::unique_ptr<SerialPort> MSComm1_;
    DeviceLoss loss_;
    BusyFlag asking_;
    int unitsCounted_ = 0;
    int unitsPerSecond_ = 0;
    // When the driver was last asked what it holds (-1: not since the port
    // was found again), what it said, and when the line has carried the
    // bytes written since at its own rate.
    QElapsedTimer lineClock_;
    qint64 lastLookMs_ = -1;
    int heldAtLook_ = 0;
    qint64 lineFreeAtMs_ = 0;
};

} // namespace varnet
