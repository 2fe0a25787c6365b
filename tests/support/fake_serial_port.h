#pragma once

#include "platform/serialport.h"

#include <QList>
#include <QPointer>

#include <vector>

namespace varnet::testing {

// A serial port with a scripted device behind it.
class FakeSerialPort final : public SerialPort {
    Q_OBJECT

public:
    bool isOpen() const override { return open_; }
    bool carrierDetect() override { return carrier_; }

    void setCarrierDetect(bool held) { carrier_ = held; }
    // open() fails with this text; empty lets it succeed.
    void setOpenError(const QString& error) { openError_ = error; }
    // Writes fail with this text; empty lets them succeed.
    void setWriteError(const QString& error) { writeError_ = error; }
    // What the driver still holds of earlier writes, and how often it was asked.
    int held = 0;
    mutable int heldAsked = 0;

    // Bytes arriving from the device, in whatever chunks the test chooses;
    // dropped while the port is closed.
    void inject(const QByteArray& bytes)
    {
        if (open_)
            collect(bytes);
    }

    const QList<QByteArray>& writes() const { return writes_; }
    void clearWrites() { writes_.clear(); }

    // Called at every open before it succeeds or fails: sets up the device
    // behind the port number a window has just chosen (missing, carrier held).
    std::function<void(FakeSerialPort&)> onOpen;

protected:
    bool openDevice() override
    {
        if (onOpen)
            onOpen(*this);
        if (!openError_.isEmpty())
            return fail(openError_);
        return open_ = true;
    }
    void closeDevice() override { open_ = false; }
    bool writeDevice(const QByteArray& data) override
    {
        if (!writeError_.isEmpty())
            return fail(writeError_);
        writes_.append(data);
        return true;
    }
    int heldBytes() const override { return ++heldAsked, held; }

private:
    bool open_ = false;
    bool carrier_ = false;
    QString openError_;
    QString writeError_;
    QList<QByteArray> writes_;
};

// Makes every port created through createSerialPort() a FakeSerialPort for
// as long as it lives, and finds them again for the test.
class FakeSerialPorts {
public:
    FakeSerialPorts()
        : previous_(setSerialPortFactory([this] {
              auto port = std::make_unique<FakeSerialPort>();
              port->onOpen = onOpen;
              created_.emplace_back(port.get());
              return std::unique_ptr<SerialPort>(std::move(port));
          }))
    {
    }
    ~FakeSerialPorts() { setSerialPortFactory(std::move(previous_)); }
    FakeSerialPorts(const FakeSerialPorts&) = delete;
    FakeSerialPorts& operator=(const FakeSerialPorts&) = delete;

    // Given to every port created from now on.
    std::function<void(FakeSerialPort&)> onOpen;

    // The last created port with this number that still exists, or nullptr.
    FakeSerialPort* port(int number) const
    {
        for (auto it = created_.rbegin(); it != created_.rend(); ++it)
            if (*it && (*it)->portNumber() == number)
                return *it;
        return nullptr;
    }

private:
    std::vector<QPointer<FakeSerialPort>> created_;
    SerialPortFactory previous_;
};

} // namespace varnet::testing
