#include "support/fake_udp_socket.h"

namespace varnet::testing {

bool FakeUdpSocket::bind(quint16 localPort)
{
    if (open_)
        return fail(QStringLiteral("Socket already open"));
    if (!bindError_.isEmpty())
        return fail(bindError_);
    localPort_ = localPort;
    open_ = true;
    return true;
}

bool FakeUdpSocket::sendDatagram(const QByteArray& data)
{
    if (remoteHost().isEmpty())
        return fail(QStringLiteral("Invalid remote address \"\""));
    sent_.append(data);
    open_ = true;
    return true;
}

void FakeUdpSocket::inject(const QByteArray& datagram, const QHostAddress& sender)
{
    if (open_)
        emit datagramReceived(datagram, sender);
}

FakeUdpSockets::FakeUdpSockets()
    : previous_(setUdpSocketFactory([this] {
          auto socket = std::make_unique<FakeUdpSocket>();
          created_.emplace_back(socket.get());
          return std::unique_ptr<UdpSocket>(std::move(socket));
      }))
{
}

FakeUdpSockets::~FakeUdpSockets()
{
    setUdpSocketFactory(std::move(previous_));
}

QList<FakeUdpSocket*> FakeUdpSockets::sockets() const
{
    QList<FakeUdpSocket*> alive;
    for (const QPointer<FakeUdpSocket>& socket : created_) {
        if (socket)
            alive.append(socket);
    }
    return alive;
}

} // namespace varnet::testing
