#pragma once

// What the link windows of the stand-alone devices share: the device's own
// serial port MSComm1, a Run and a Stop button and a box that shows
// "Running" or "Halted". Each window has one default instance that comes
// into being hidden the first time it is referred to.

#include "config/tables.h"
#include "platform/form.h"
#include "platform/serialport.h"

#include <memory>

class QLineEdit;
class QPushButton;

namespace varnet {

class LinkWindow : public Form {
    Q_OBJECT

public:
    ~LinkWindow() override;

    SerialPort& MSComm1() { return *MSComm1_; }

    // 1 while the link runs.
    Integer Running = 0;

    // Opens the sim ports the link reads and writes during a run.
    virtual void OpenPorts() = 0;
    virtual void cmdRun_Click() = 0;
    virtual void cmdStop_Click() = 0;

protected:
    LinkWindow(const QString& name, const QString& title, int unitBytes);

    // Running or Halted in BoxRun, after Running.
    void showRunState();
    // Receive event: one whole unit is waiting.
    virtual void MSComm1_OnComm() = 0;
    // Stops the timers of the link; the port is closed afterwards.
    virtual void stopTimers() = 0;
    void Form_Unload() override;
    // The link goes on running behind its window.
    void Form_TitleBarClose() override { hide(); }

    QLineEdit* BoxRun;
    QPushButton* cmdRun;
    QPushButton* cmdStop;

private:
    std::unique_ptr<SerialPort> MSComm1_;
};

} // namespace varnet
