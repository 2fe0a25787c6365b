#include "platform/udp.h"

#include <QHostAddress>
#include <QNetworkDatagram>
#include <QPointer>

#include <utility>

namespace varnet {

QtUdpSocket::QtUdpSocket(QObject* parent) : UdpSocket(parent)
{
    connect(&socket_, &QUdpSocket::readyRead, this, &QtUdpSocket::readPending);
}

bool QtUdpSocket::bind(quint16 localPort)
{
    if (isOpen())
        return fail(QStringLiteral("Socket already open"));
    // Not shared: a second program on the same port is an error, not a
    // silent split of the simulator's packets.
    if (!socket_.bind(QHostAddress::AnyIPv4, localPort, QAbstractSocket::DontShareAddress))
        return fail(socket_.errorString());
    return true;
}

bool QtUdpSocket::sendDatagram(const QByteArray& data)
{
    const QHostAddress address(remoteHost());
    if (address.isNull())
        return fail(QStringLiteral("Invalid remote address \"%1\"").arg(remoteHost()));
    if (socket_.writeDatagram(data, address, remotePort()) != data.size())
        return fail(socket_.errorString());
    return true;
}

void QtUdpSocket::readPending()
{
    // A handler may wait, close the socket or delete it.
    const QPointer<QtUdpSocket> self(this);
    while (self && socket_.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket_.receiveDatagram();
        if (!datagram.isValid())
            return;
        emit datagramReceived(datagram.data(), datagram.senderAddress());
    }
}

namespace {

UdpSocketFactory& udpSocketFactory()
{
    static UdpSocketFactory factory;
    return factory;
}

} // namespace

std::unique_ptr<UdpSocket> createUdpSocket()
{
    const UdpSocketFactory& factory = udpSocketFactory();
    return factory ? factory() : std::make_unique<QtUdpSocket>();
}

UdpSocketFactory setUdpSocketFactory(UdpSocketFactory factory)
{
    return std::exchange(udpSocketFactory(), std::move(factory));
}

} // namespace varnet
