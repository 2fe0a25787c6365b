#pragma once

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>

#include <algorithm>
#include <functional>
#include <memory>

namespace varnet {

// The device behind port number n ("COMn" in the configuration). An entry
// "COMn" in the current directory, usually a symbolic link to a USB adapter
// such as /dev/ttyUSB0, names it; without one it is /dev/ttyS(n-1). A link
// whose target is missing gives the link itself, so that opening it fails
// instead of reaching another device; so does an entry that is gone, once
// the number was reached through it while the program runs: a pulled
// adapter takes its link with it, and its frames must not go to another
// port then. Empty for numbers below 1.
QString resolveComPort(int number);

// Why a port does not open on a COM entry that names something other than a
// terminal device: a regular file, a FIFO, a folder, /dev/null.
inline constexpr const char* kNotASerialDevice = "Not a serial device";

// A serial port of a device link. Every port runs at 38400 baud, no parity,
// 8 data bits, 2 stop bits, no handshake; bytes 0..255 pass unchanged.
//
// Received bytes are collected here, whatever chunks the device delivers.
// received() is raised while a whole unit (the receive threshold) is
// waiting: once per unit as long as the handler reads, and once more only
// when further bytes arrive if it leaves them unread.
class SerialPort : public QObject {
    Q_OBJECT

public:
    explicit SerialPort(QObject* parent = nullptr) : QObject(parent) {}

    // Takes effect at the next open().
    void setPortNumber(int number) { portNumber_ = number; }
    int portNumber() const { return portNumber_; }

    // false when the port is already open or the device cannot be opened;
    // errorString() then describes why. Opening starts with no input. Once
    // the program is ending (EndRequested), no port opens.
    bool open();
    // Closes the port if open and drops the collected input.
    void close();
    virtual bool isOpen() const = 0;
    QString errorString() const { return error_; }

    // Bytes per receive event; 0 = no receive events.
    void setReceiveThreshold(int bytes) { receiveThreshold_ = std::max(bytes, 0); }
    int receiveThreshold() const { return receiveThreshold_; }
    // Bytes taken by one readInput(); 0 = all.
    void setInputLength(int bytes) { inputLength_ = std::max(bytes, 0); }
    int inputLength() const { return inputLength_; }

    // false (with errorString()) when the port is closed or the write failed;
    // a device that is gone (hung up, unplugged) has closed the port then.
    bool write(const QByteArray& data);
    // Drops what was written and has not gone out yet, the port's and the
    // driver's: a close would otherwise wait for a line that carries nothing.
    void discardOutput()
    {
        if (isOpen())
            discardDeviceOutput();
    }
    // Bytes written that have not gone out on the line yet: what the port
    // still buffers and what the driver holds in its output queue. 0 when
    // the port is closed.
    int bytesHeld() const { return isOpen() ? heldBytes() : 0; }
    // Up to inputLength() of the collected bytes, oldest first.
    QByteArray readInput();
    int bytesWaiting() const { return int(input_.size()); }
    // Drops the collected bytes and whatever the device still holds.
    void discardInput();

    // true when the device holds the carrier-detect line.
    virtual bool carrierDetect() = 0;

    // While held, received bytes wait in the device until takeWaiting(), so
    // that a link which looks at its input once per tick wakes the program
    // once per tick, not once more for every reply. Ends with a close.
    virtual void holdInput(bool hold) { (void)hold; }
    // Collects what the device holds (received() as usual).
    virtual void takeWaiting() {}

signals:
    void received();
    // A fault on the line while the port is open (break, framing, lost
    // device). A lost device has closed the port when this is raised.
    void commError(const QString& description);

protected:
    virtual bool openDevice() = 0;
    virtual void closeDevice() = 0;
    virtual bool writeDevice(const QByteArray& data) = 0;
    virtual void discardDeviceInput() {}
    virtual void discardDeviceOutput() {}
    // Only called while open; a device without a queue of its own holds nothing.
    virtual int heldBytes() const { return 0; }

    // Implementations pass every byte the device delivers through here.
    void collect(const QByteArray& bytes);
    // Records the error and returns false.
    bool fail(const QString& error);

private:
    int portNumber_ = 0;
    int receiveThreshold_ = 0;
    int inputLength_ = 0;
    QString error_;
    QByteArray input_;
    quint64 taken_ = 0; // bytes read or discarded so far
};

// A SerialPort on a device of this PC.
class QtSerialPort final : public SerialPort {
    Q_OBJECT

public:
    explicit QtSerialPort(QObject* parent = nullptr);

    bool isOpen() const override { return port_.isOpen(); }
    bool carrierDetect() override;
    void holdInput(bool hold) override;
    void takeWaiting() override;

protected:
    bool openDevice() override;
    void closeDevice() override;
    bool writeDevice(const QByteArray& data) override;
    void discardDeviceInput() override;
    void discardDeviceOutput() override;
    int heldBytes() const override;

private:
    void readDevice();
    void enableReadNotifier(bool enabled);
    void deviceError(QSerialPort::SerialPortError error);
    bool deviceHungUp();

    QSerialPort port_;
    bool inputHeld_ = false;
    // The character device last found not to be a terminal, by its place in
    // the file system: it is not opened again while the COM number still
    // leads to it, since every open takes and frees a lock file.
    struct Target {
        QString path;
        quint64 filesystem = 0, inode = 0, deviceNumber = 0;
        bool operator==(const Target&) const = default;
    };
    Target notATerminal_;
};

// After a load gave the device of `port` the COM number `number`: a port
// open on another number is closed, and `reopenThere` opens it on `number`
// when that is a port at all (inside MovePortsTogether, once every port has
// followed). True when the port was moved or closed: what it held and heard
// was another device's.
bool FollowPortNumber(SerialPort& port, int number, const std::function<void()>& reopenThere);

// Runs `follow`, in which the device ports follow a load (FollowPortNumber),
// as one move: each port that moves lets go of its old number at once, and
// is opened on its new one only when `follow` is done. Two devices may trade
// COM numbers, or one take a number another gives up: no port is then
// opened on a number that another has yet to let go.
void MovePortsTogether(const std::function<void()>& follow);

// Windows create their ports through createSerialPort(); tests install a
// factory of fakes.
using SerialPortFactory = std::function<std::unique_ptr<SerialPort>()>;

std::unique_ptr<SerialPort> createSerialPort();

// Installs `factory` and returns the one it replaces; an empty factory
// restores QtSerialPort.
SerialPortFactory setSerialPortFactory(SerialPortFactory factory);

} // namespace varnet
