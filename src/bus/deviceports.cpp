#include "bus/deviceports.h"

#include "bus/gaugeframes.h"
#include "bus/runwindow.h"
#include "bus/sendpath.h"
#include "bus/standalonelinks.h"
#include "config/tables.h"
#include "platform/messages.h"
#include "platform/serialport.h"

#include <QPointer>

#include <functional>

namespace varnet {

namespace {

// What an opened gauge-bus port starts with.
constexpr int kFreshBufferBytes = 40;

constexpr StandAloneDevice kLinkOrder[] = {StandAloneDevice::EngineCluster, StandAloneDevice::IOModule1,
                                           StandAloneDevice::IOModule2};

int portNumberOf(StandAloneDevice device)
{
    switch (device) {
    case StandAloneDevice::EngineCluster:
        return Cfg.ComPortEC;
    case StandAloneDevice::IOModule1:
        return Cfg.ComPortIOM;
    case StandAloneDevice::IOModule2:
        return Cfg.ComPortIOM2;
    }
    return 0;
}

// The steps every device port goes through. A box may run events, and the
// window holding the port may be unloaded meanwhile: false then, and the
// caller touches the port no more.
bool reopen(SerialPort& devicePort, int number, int unitBytes, const std::function<void()>& resetBuffers)
{
    const QPointer<SerialPort> port(&devicePort);
    port->close();
    ConfigureDevicePort(*port, number, unitBytes);
    resetBuffers();
    // Open, close and open again: the sequence the device adapters have
    // always been brought up with.
    for (int attempt = 0; attempt < 2 && port; ++attempt) {
        port->close();
        if (!port->open())
            messages().ok(ComPortErrorText(number, port->errorString()));
    }
    if (!port)
        return false;
    if (port->isOpen())
        port->discardInput();
    return true;
}

void openGaugeBusPort()
{
    SerialPort& port = DefaultForm<frmStatus>::get().MSComm1();
    const bool opened = reopen(port, Cfg.ComPortGauges, kGaugeReplyBytes, [] {
        // A frame still waiting for the configuration timer goes out on the
        // reopened port instead of being replaced by blanks.
        if (GaugeSendPending != 1)
            GaugeSendBuffer = QByteArray(kFreshBufferBytes, ' ');
    });
    if (opened && port.isOpen() && port.carrierDetect())
        messages().ok(QString::fromLatin1(kNoPowerOnCIM));
    GaugeReply.clear();
}

void openLinkPort(StandAloneDevice device)
{
    const bool cluster = device == StandAloneDevice::EngineCluster;
    reopen(standAloneLinks().MSComm1(device), portNumberOf(device),
           cluster ? kEngineClusterReplyBytes : kGaugeReplyBytes, [cluster] {
               if (cluster)
                   ECFrame = QByteArray(kECFrameBytes, ' ');
           });
    if (cluster) {
        ECReplyBuffer.clear();
        ECReplyReceived = 0;
    }
}

} // namespace

void ConfigureDevicePort(SerialPort& port, int number, int unitBytes)
{
    port.setPortNumber(number);
    port.setReceiveThreshold(unitBytes);
    port.setInputLength(unitBytes);
}

QString ComPortErrorText(int number, const QString& description)
{
    // The number carries the blank that a positive number is shown with.
    return QStringLiteral("Commmunicaton error COM port nr: %1\r\n%2\r\nCheck for correct portnumbers\r\n"
                          "Current ComPort does not exist or isn't operational")
        .arg(number)
        .arg(description);
}

void OpenComPorts()
{
    if (Cfg.ComPortGauges > 0)
        openGaugeBusPort();
    for (StandAloneDevice device : kLinkOrder) {
        if (portNumberOf(device) > 0)
            openLinkPort(device);
    }
}

void CloseComPorts()
{
    DefaultForm<frmStatus>::get().MSComm1().close();
    for (StandAloneDevice device : kLinkOrder)
        standAloneLinks().MSComm1(device).close();
}

} // namespace varnet
