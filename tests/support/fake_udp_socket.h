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
    bool bind(quint16 localPort) override
    {
        if (open_)
            return fail(QStringLiteral("Socket already open"));
        if (!bindError_.isEmpty())
            return fail(bindError_);
        localPort_ = localPort;
        return open_ = true;
    }
    quint16 localPort() const override { return localPort_; }
    // Recorded when a remote is set; fails like the real one without one.
    bool sendDatagram(const QByteArray& data) override
    {
        if (remoteHost().isEmpty())
            return fail(QStringLiteral("Invalid remote address \"\""));
        sent_.append(data);
        return open_ = true;
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }

    // bind() fails with this text; empty lets it succeed.
    void setBindError(const QString& error) { bindError_ = error; }
    // A datagram from the network; dropped unless the socket is bound.
    void inject(const QByteArray& datagram, const QHostAddress& sender = QHostAddress(QHostAddress::LocalHost))
    {
        injectPass({datagram}, sender);
    }

    // Datagrams that one pass of the receive path takes together.
    void injectPass(const QList<QByteArray>& datagrams,
                    const QHostAddress& sender = QHostAddress(QHostAddress::LocalHost))
    {
        const QPointer<FakeUdpSocket> self(this);
        for (const QByteArray& datagram : datagrams)
            if (self && open_)
                emit datagramReceived(datagram, sender);
        if (self && open_)
            emit passEnded();
    }

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
    FakeUdpSockets()
        : previous_(setUdpSocketFactory([this] {
              auto socket = std::make_unique<FakeUdpSocket>();
              created_.emplace_back(socket.get());
              return std::unique_ptr<UdpSocket>(std::move(socket));
          }))
    {
    }
    ~FakeUdpSockets() { setUdpSocketFactory(std::move(previous_)); }
    FakeUdpSockets(const FakeUdpSockets&) = delete;
    FakeUdpSockets& operator=(const FakeUdpSockets&) = delete;

    // The sockets created that still exist, oldest first.
    QList<FakeUdpSocket*> sockets() const
    {
        QList<FakeUdpSocket*> alive;
        for (const QPointer<FakeUdpSocket>& socket : created_)
            if (socket)
                alive.append(socket);
        return alive;
    }

    // What they have sent, socket by socket.
    QList<QByteArray> sent() const
    {
        QList<QByteArray> all;
        for (const FakeUdpSocket* socket : sockets())
            all += socket->sent();
        return all;
    }
    void clearSent()
    {
        for (FakeUdpSocket* socket : sockets())
            socket->clearSent();
    }

private:
    std::vector<QPointer<FakeUdpSocket>> created_;
    UdpSocketFactory previous_;
};

} // namespace varnet::testing
