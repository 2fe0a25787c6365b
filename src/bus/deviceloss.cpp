#include "bus/deviceloss.h"

#include "bus/deviceports.h"
#include "bus/lineoutput.h"
#include "platform/serialport.h"


namespace varnet {

QString DeviceLossQuestion(const QString& what, const QString& reason)
{
    return QStringLiteral("%1\r\nError: %2\r\nCheck Virtual/USB Com Port\r\nContinue?").arg(what, reason);
}

namespace {

// Output that the driver holds longer than the line needs for it, and this
// much more, means the device no longer takes it (USB adapters pass the
// bytes on in blocks a few milliseconds apart).
constexpr int kStallSlackMs = 100;

} // namespace

void DeviceLoss::Reset()
{
    lost_ = false;
    reported_ = false;
    lastProgressMs_ = clock_.elapsed();
}

void DeviceLoss::Lost(SerialPort& port, const QString& description)
{
    port.discardOutput();
    port.close();
    if (!lost_)
        reason_ = description;
    lost_ = true;
}

bool DeviceLoss::ReportDue()
{
    if (reported_)
        return false;
    reported_ = true;
    return true;
}

bool DeviceLoss::OutputStalled(int held, int intervalMs)
{
    const qint64 now = clock_.elapsed();
    if (held == 0 || held < heldBefore_)
        lastProgressMs_ = now;
    heldBefore_ = held;
    const qint64 drainMs = LineMsFor(held);
    return held > 0 && now - lastProgressMs_ > drainMs + 2 * intervalMs + kStallSlackMs;
}

void DeviceLoss::Written(const QByteArray& output, int held)
{
    lastOutput_ = output;
    heldBefore_ = held;
    reported_ = false;
}

void DeviceLoss::Back(SerialPort& port)
{
    lost_ = false;
    if (lastOutput_.isEmpty())
        return;
    if (port.write(lastOutput_))
        reported_ = false;
    else
        Lost(port, port.errorString());
}

bool DeviceLoss::PortReady(SerialPort& port, int number, int unitBytes)
{
    if (number < 1)
        return false;
    if (port.isOpen() && port.portNumber() == number)
        return true;
    port.close();
    ConfigureDevicePort(port, number, unitBytes);
    if (port.open())
        return true;
    const QString refused = port.errorString();
    if (lost_ && refused == QLatin1String(kNotASerialDevice) && reason_ != refused) {
        reason_ = refused;
        reported_ = false;
    }
    return false;
}

} // namespace varnet
