#pragma once

// A serial port and a UDP socket with nothing behind them, for programs that
// measure or fuzz the program's own work: writes go nowhere, and the serial
// port's input is only what the program itself hands it.

#include "platform/serialport.h"
#include "platform/udp.h"

namespace varnet {

class NullSerialPort final : public SerialPort {
public:
    bool isOpen() const override { return open_; }
    bool carrierDetect() override { return false; }
    // Bytes as if the device had sent them.
    void arrive(const QByteArray& bytes) { collect(bytes); }

protected:
    bool openDevice() override { return open_ = true; }
    void closeDevice() override { open_ = false; }
    bool writeDevice(const QByteArray&) override { return true; }

private:
    bool open_ = false;
};

class NullUdpSocket final : public UdpSocket {
public:
    bool bind(quint16) override { return open_ = true; }
    quint16 localPort() const override { return 0; }
    bool sendDatagram(const QByteArray&) override { return true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }

private:
    bool open_ = false;
};

} // namespace varnet
