#include "platform/serialport.h"

#include "platform/wait.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QScopeGuard>
#include <QSet>
#include <QSignalBlocker>
#include <QSocketNotifier>

#include <utility>
#include <vector>

#include <cerrno>

#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace varnet {

namespace {

// What a device that went away is reported as: what the system says then
// ("Resource temporarily unavailable", "Input/output error") would send the
// user looking in the wrong place.
constexpr const char* kDisconnected = "The device was disconnected";

} // namespace

QString resolveComPort(int number)
{
    if (number < 1)
        return {};
    // The entries reached so far, by their full path: another working
    // folder is another set of entries.
    static QSet<QString> entriesUsed;
    const QFileInfo entry(QDir::current(), QStringLiteral("COM%1").arg(number));
    if (entry.exists()) {
        entriesUsed.insert(entry.absoluteFilePath());
        return entry.canonicalFilePath();
    }
    if (entry.isSymLink() || entriesUsed.contains(entry.absoluteFilePath()))
        return entry.absoluteFilePath();
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
}

namespace {

// The ports of the move under way, let go of and waiting to be opened on
// their new numbers; none while no move is under way.
struct PortToTake {
    QPointer<SerialPort> port;
    std::function<void()> reopenThere;
};
std::vector<PortToTake>* portsToTake = nullptr;

} // namespace

bool FollowPortNumber(SerialPort& port, int number, const std::function<void()>& reopenThere)
{
    if (!port.isOpen() || port.portNumber() == number)
        return false;
    port.close();
    if (number <= 0)
        return true;
    if (portsToTake)
        portsToTake->push_back({&port, reopenThere});
    else
        reopenThere();
    return true;
}

void MovePortsTogether(const std::function<void()>& follow)
{
    if (portsToTake)
        return follow();  // part of the move around it
    std::vector<PortToTake> toTake;
    {
        portsToTake = &toTake;
        const auto moveEnds = qScopeGuard([] { portsToTake = nullptr; });
        follow();
    }
    // An open may show a box, which lets events run: a port gone meanwhile
    // is not touched, and one open again was taken by its own window.
    for (const PortToTake& next : toTake)
        if (next.port && !next.port->isOpen())
            next.reopenThere();
}

bool SerialPort::open()
{
    if (isOpen())
        return fail(QStringLiteral("Port already open"));
    // What runs on after a termination request must not take a device (and
    // its lock file) that the exit has just let go.
    if (EndRequested())
        return fail(QStringLiteral("The program is ending"));
    error_.clear();
    input_.clear();
    return openDevice();
}

void SerialPort::close()
{
    if (isOpen())
        closeDevice();
    input_.clear();
}

bool SerialPort::write(const QByteArray& data)
{
    if (!isOpen())
        return fail(QStringLiteral("Port not open"));
    return writeDevice(data);
}

QByteArray SerialPort::readInput()
{
    const qsizetype n = inputLength_ > 0 ? std::min<qsizetype>(inputLength_, input_.size()) : input_.size();
    QByteArray bytes = input_.left(n);
    input_.remove(0, n);
    taken_ += quint64(n);
    return bytes;
}

void SerialPort::discardInput()
{
    if (isOpen())
        discardDeviceInput();
    taken_ += quint64(input_.size());
    input_.clear();
}

void SerialPort::collect(const QByteArray& bytes)
{
    input_.append(bytes);
    // The handler may wait, close the port or unload its window; a handler
    // that takes nothing would otherwise be called forever.
    const QPointer<SerialPort> self(this);
    while (receiveThreshold_ > 0 && input_.size() >= receiveThreshold_) {
        const quint64 takenBefore = taken_;
        emit received();
        if (!self || taken_ == takenBefore)
            return;
    }
}

bool SerialPort::fail(const QString& error)
{
    error_ = error;
    return false;
}

QtSerialPort::QtSerialPort(QObject* parent) : SerialPort(parent)
{
    connect(&port_, &QSerialPort::readyRead, this, &QtSerialPort::readDevice);
    connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialPort::deviceError);
}

bool QtSerialPort::carrierDetect()
{
    // Lines a device does not have (pseudo-terminals) read as not held; that
    // is no fault on the line.
    const QSignalBlocker quiet(port_);
    const bool held = port_.pinoutSignals().testFlag(QSerialPort::DataCarrierDetectSignal);
    port_.clearError();
    return held;
}

bool QtSerialPort::openDevice()
{
    const QString device = resolveComPort(portNumber());
    if (device.isEmpty())
        return fail(QStringLiteral("Invalid port number"));
    // A device that is not there, or something that is no device at all, is
    // not asked: while an adapter is away its port is looked for on every
    // tick, and an open would take and free a lock file each time.
    struct stat found {};
    if (::stat(QFile::encodeName(device).constData(), &found) != 0)
        return fail(qt_error_string(errno));
    if (!S_ISCHR(found.st_mode))
        return fail(QString::fromLatin1(kNotASerialDevice));
    // A character device shows whether it is a terminal only once opened.
    const Target target{device, quint64(found.st_dev), quint64(found.st_ino), quint64(found.st_rdev)};
    if (target == notATerminal_)
        return fail(QString::fromLatin1(kNotASerialDevice));
    port_.setPortName(device);
    port_.setBaudRate(QSerialPort::Baud38400);
    port_.setParity(QSerialPort::NoParity);
    port_.setDataBits(QSerialPort::Data8);
    port_.setStopBits(QSerialPort::TwoStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::ReadWrite)) {
        if (port_.errorString() != qt_error_string(ENOTTY))
            return fail(port_.errorString());
        notATerminal_ = target;
        return fail(QString::fromLatin1(kNotASerialDevice));
    }
    notATerminal_ = {};
    return true;
}

void QtSerialPort::closeDevice()
{
    inputHeld_ = false;
    port_.close();
}

bool QtSerialPort::writeDevice(const QByteArray& data)
{
    // With nothing queued before them the bytes go straight to the driver:
    // the port's own queue would cost a posted event and a wake-up for
    // writability on every write, that is on every tick of a run.
    qsizetype written = 0;
    if (port_.bytesToWrite() == 0) {
        ssize_t n;
        do
            n = ::write(int(port_.handle()), data.constData(), std::size_t(data.size()));
        while (n < 0 && errno == EINTR);
        // Anything but a full queue means the device is gone (an adapter
        // pulled out fails every write with an I/O error): the port closes,
        // and its owner opens the device again once it is back.
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            const QString error = deviceHungUp() ? QString::fromLatin1(kDisconnected) : qt_error_string(errno);
            closeDevice();
            return fail(error);
        }
        written = std::max<qsizetype>(n, 0);
    }
    if (written == data.size())
        return true;
    // What the driver did not take yet waits in the port's queue, behind
    // nothing, so the order holds.
    const QByteArray rest = data.sliced(written);
    if (port_.write(rest) != rest.size())
        return fail(port_.errorString());
    // Hand the bytes to the driver now, as a close right after the write
    // would otherwise drop them.
    port_.flush();
    return true;
}

void QtSerialPort::discardDeviceInput()
{
    port_.clear(QSerialPort::Input);
}

void QtSerialPort::discardDeviceOutput()
{
    // On a device that is gone this fails too, and says so no further.
    const QSignalBlocker quiet(port_);
    port_.clear(QSerialPort::Output);
}

int QtSerialPort::heldBytes() const
{
    // What the driver still has to send; a pseudo-terminal reports nothing.
    int queued = 0;
    if (::ioctl(int(port_.handle()), TIOCOUTQ, &queued) != 0)
        queued = 0;
    return int(port_.bytesToWrite()) + std::max(queued, 0);
}

void QtSerialPort::readDevice()
{
    // Bytes that arrive while a receive handler runs a nested event loop get
    // no readyRead of their own: take them when the handler returns.
    const QPointer<QtSerialPort> self(this);
    while (self && port_.bytesAvailable() > 0)
        collect(port_.readAll());
}

void QtSerialPort::enableReadNotifier(bool enabled)
{
    // The port's own notifier wakes the event loop for every chunk that
    // arrives; while input is held it rests, and reads go round it.
    for (QSocketNotifier* notifier : port_.findChildren<QSocketNotifier*>())
        if (notifier->type() == QSocketNotifier::Read)
            notifier->setEnabled(enabled);
}

void QtSerialPort::holdInput(bool hold)
{
    if (!port_.isOpen() || hold == inputHeld_)
        return;
    inputHeld_ = hold;
    enableReadNotifier(!hold);
    if (!hold)
        readDevice();
}

void QtSerialPort::takeWaiting()
{
    if (!inputHeld_ || !port_.isOpen())
        return readDevice();
    const QPointer<QtSerialPort> self(this);
    // Whatever the port read before the hold comes first.
    if (port_.bytesAvailable() > 0)
        collect(port_.readAll());
    char buffer[512];
    while (self && port_.isOpen()) {
        const ssize_t n = ::read(int(port_.handle()), buffer, sizeof buffer);
        if (n > 0) {
            collect(QByteArray(buffer, n));
            // A short read took all there was; asking again would only
            // hear so.
            if (std::size_t(n) < sizeof buffer)
                return;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // A device that is gone reads as an end or an error: the port closes
        // as it does when the port's own reader meets it.
        if ((n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) && deviceHungUp()) {
            closeDevice();
            emit commError(QString::fromLatin1(kDisconnected));
        }
        return;
    }
}

bool QtSerialPort::deviceHungUp()
{
    pollfd line{int(port_.handle()), POLLIN | POLLOUT, 0};
    return ::poll(&line, 1, 0) == 1 && (line.revents & (POLLHUP | POLLERR | POLLNVAL));
}

void QtSerialPort::deviceError(QSerialPort::SerialPortError error)
{
    // Open and write faults are returned by those calls; these come from the
    // line and from the port's own queue, written later. Qt 6 has no break
    // or framing error of its own: a fault on the line shows as a read error
    // or as a lost device.
    if (!port_.isOpen() || (error != QSerialPort::ReadError && error != QSerialPort::ResourceError &&
                            error != QSerialPort::WriteError))
        return;
    QString description = port_.errorString();
    // A lost device (an adapter pulled, the far end of a pseudo-terminal
    // closed) fails every further call on this handle, each with another
    // error, so that a handler discarding the input would be called again
    // from within itself. The port is closed first: writes then fail, and
    // the owner opens the device again once it is back. A full transmit
    // queue is a resource error too, but the device is still there.
    if (deviceHungUp()) {
        description = QString::fromLatin1(kDisconnected);
        closeDevice();
    }
    emit commError(description);
}

namespace {

SerialPortFactory& serialPortFactory()
{
    static SerialPortFactory factory;
    return factory;
}

} // namespace

std::unique_ptr<SerialPort> createSerialPort()
{
    const SerialPortFactory& factory = serialPortFactory();
    return factory ? factory() : std::make_unique<QtSerialPort>();
}

SerialPortFactory setSerialPortFactory(SerialPortFactory factory)
{
    return std::exchange(serialPortFactory(), std::move(factory));
}

} // namespace varnet
