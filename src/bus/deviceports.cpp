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

// The steps every device port goes through; true when the port is open at
// the end. A failure shows one box however many steps fail: they fail for
// the same reason. The box may run events, and the window holding the port
// may be unloaded meanwhile; the port is not touched after that.
bool reopen(SerialPort& devicePort, int number, int unitBytes, PortFailures failures,
            const std::function<void()>& resetBuffers)
{
    const QPointer<SerialPort> port(&devicePort);
    port->close();
    ConfigureDevicePort(*port, number, unitBytes);
    resetBuffers();
    // Open, close and open again: the sequence the device adapters have
    // always been brought up with.
    QString failure;
    for (int attempt = 0; attempt < 2; ++attempt) {
        port->close();
        if (!port->open())
            failure = port->errorString();
    }
    if (port->isOpen())
        port->discardInput();
    else if (failures == PortFailures::Shown)
        messages().ok(ComPortErrorText(number, failure));
    return port && port->isOpen();
}

bool openGaugeBusPort(PortFailures failures)
{
    const QPointer<frmStatus> run(&DefaultForm<frmStatus>::get());
    const bool opened = reopen(run->MSComm1(), Cfg.ComPortGauges, kGaugeReplyBytes, failures, [] {
        // A frame still waiting for the configuration timer goes out on the
        // reopened port instead of being replaced by blanks.
        if (GaugeSendPending != 1)
            GaugeSendBuffer = QByteArray(kFreshBufferBytes, ' ');
    });
    if (opened && run && run->MSComm1().carrierDetect())
        messages().ok(QString::fromLatin1(kNoPowerOnCIM));
    GaugeReply.clear();
    return opened;
}

bool openLinkPort(StandAloneDevice device, PortFailures failures)
{
    const bool cluster = device == StandAloneDevice::EngineCluster;
    const bool opened = reopen(standAloneLinks().MSComm1(device), DevicePortNumber(device), DeviceUnitBytes(device),
                               failures, [cluster] {
                                   if (cluster)
                                       ECFrame = QByteArray(kECFrameBytes, ' ');
                               });
    if (cluster) {
        ECReplyBuffer.clear();
        ECReplyReceived = 0;
    }
    return opened;
}

} // namespace

int DevicePortNumber(StandAloneDevice device)
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

int DeviceUnitBytes(StandAloneDevice device)
{
    return device == StandAloneDevice::EngineCluster ? kEngineClusterReplyBytes : kGaugeReplyBytes;
}

void ConfigureDevicePort(SerialPort& port, int number, int unitBytes)
{
    port.setPortNumber(number);
    port.setReceiveThreshold(unitBytes);
    port.setInputLength(unitBytes);
}

QString ComPortErrorText(int number, const QString& description)
{
    // The number carries the blank that a positive number is shown with.
    return QStringLiteral("Commmunicaton error COM port nr: %1\r\n%2: %3\r\nCheck for correct portnumbers\r\n"
                          "Current ComPort does not exist or isn't operational")
        .arg(number)
        .arg(resolveComPort(number), description);
}

bool OpenComPorts(PortFailures failures)
{
    bool allOpened = true;
    if (Cfg.ComPortGauges > 0)
        allOpened = openGaugeBusPort(failures);
    for (StandAloneDevice device : kLinkOrder) {
        if (DevicePortNumber(device) > 0 && !openLinkPort(device, failures))
            allOpened = false;
    }
    return allOpened;
}

bool GaugeBusPortFollowsConfiguration()
{
    return FollowPortNumber(DefaultForm<frmStatus>::get().MSComm1(), Cfg.ComPortGauges,
                            [] { openGaugeBusPort(PortFailures::Shown); });
}

bool LinkPortFollowsConfiguration(StandAloneDevice device)
{
    return FollowPortNumber(standAloneLinks().MSComm1(device), DevicePortNumber(device),
                            [device] { openLinkPort(device, PortFailures::Shown); });
}

void CloseComPorts()
{
    DefaultForm<frmStatus>::get().MSComm1().close();
    for (StandAloneDevice device : kLinkOrder)
        standAloneLinks().MSComm1(device).close();
}

} // namespace varnet
