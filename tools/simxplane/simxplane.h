#pragma once

#include <QByteArray>
#include <QList>
#include <QUdpSocket>

#include <array>
#include <vector>

namespace varnet::testing {

// A simulated X-Plane on 127.0.0.1: it binds a free loopback port, records
// every datagram it receives byte for byte, and sends DATA packets of its
// own making to the program. Its DATA encoding is written apart from the
// program's so that the two check each other.
class SimXplane {
public:
    struct Record {
        quint32 group = 0;
        std::array<float, 8> values{};
    };

    SimXplane();

    // The port the program sends to.
    quint16 port() const { return socket_.localPort(); }

    // Every datagram received, in order.
    const QList<QByteArray>& received() const { return received_; }
    void clearReceived() { received_.clear(); }
    // Lets events run until `count` datagrams are there (false on timeout).
    bool waitForReceived(int count, int timeoutMs = 2000);

    // "DATA0" and the records, big-endian when `bigEndian`, else little-endian.
    static QByteArray dataPacket(const std::vector<Record>& records, bool bigEndian = false);
    // Sends to the program's receive port on 127.0.0.1.
    void send(const QByteArray& datagram, quint16 programPort);
    void sendData(const std::vector<Record>& records, bool bigEndian, quint16 programPort)
    {
        send(dataPacket(records, bigEndian), programPort);
    }

private:
    QUdpSocket socket_;
    QList<QByteArray> received_;
};

} // namespace varnet::testing
