#pragma once

#include "platform/udp.h"

#include <QList>
#include <QPointer>

#include <vector>

namespace varnet::testing {

// A UDP socket whose network is the test.
class FakeUdpSocket final : public UdpSocket {
    Q_OBJECT

public:
    bool bind(quint16 localPort) override;
    quint16 localPort() const override { return localPort_; }
    // Recorded when a remote is set; fails like the real one without one.
    bool sendDatagram(const QByteArray& data) override;
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }

    // bind() fails with this text; empty lets it succeed.
    void setBindError(const QString& error) { bindError_ = error; }
    // A datagram from the network; dropped unless the socket is bound.
    void inject(const QByteArray& datagram, const QHostAddress& sender = QHostAddress(QHostAddress::LocalHost));

    // Every datagram sent, in order.
    const QList<QByteArray>& sent() const { return sent_; }
    void clearSent() { sent_.clear(); }

private:
    bool open_ = false;
    quint16 localPort_ = 0;
    QString bindError_;
    QList<QByteArray> sent_;
};

// Makes every socket created through createUdpSocket() a FakeUdpSocket for
// as long as it lives, and finds them again for the test.
class FakeUdpSockets {
public:
    FakeUdpSockets();
    ~FakeUdpSockets();
    FakeUdpSockets(const FakeUdpSockets&) = delete;
    FakeUdpSockets& operator=(const FakeUdpSockets&) = delete;

    // The sockets created that still exist, oldest first.
    QList<FakeUdpSocket*> sockets() const;

private:
    std::vector<QPointer<FakeUdpSocket>> created_;
    UdpSocketFactory previous_;
};

} // namespace varnet::testing
