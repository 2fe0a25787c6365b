#include "platform/udp.h"

#include <QHostAddress>
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
    // Every datagram waiting is taken in this one wake-up, each with two
    // calls (its size, then the datagram and its sender), and one more call
    // finds the socket empty. A handler may wait, close the socket or
    // delete it.
    const QPointer<QtUdpSocket> self(this);
    QHostAddress sender;
    while (self && socket_.state() == QAbstractSocket::BoundState) {
        const qint64 size = socket_.pendingDatagramSize();
        if (size < 0)
            return;
        QByteArray data(size, Qt::Uninitialized);
        const qint64 read = socket_.readDatagram(data.data(), size, &sender);
        if (read < 0)
            return;
        data.truncate(read);
        emit datagramReceived(data, sender);
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
