#include "simxplane/simxplane.h"

#include "platform/wait.h"

#include <QNetworkDatagram>
#include <QtEndian>

#include <cstring>

namespace varnet::testing {

SimXplane::SimXplane()
{
    socket_.bind(QHostAddress::LocalHost, 0);
    QObject::connect(&socket_, &QUdpSocket::readyRead, [this] {
        while (socket_.hasPendingDatagrams())
            received_.append(socket_.receiveDatagram().data());
    });
}

bool SimXplane::waitForReceived(int count, int timeoutMs)
{
    return waitUntil([&] { return received_.size() >= count; }, timeoutMs);
}

QByteArray SimXplane::dataPacket(const std::vector<Record>& records, bool bigEndian)
{
    QByteArray packet("DATA0");
    const auto append = [&](quint32 word) {
        char bytes[4];
        if (bigEndian)
            qToBigEndian(word, bytes);
        else
            qToLittleEndian(word, bytes);
        packet.append(bytes, 4);
    };
    for (const Record& record : records) {
        append(record.group);
        for (const float value : record.values) {
            quint32 word;
            std::memcpy(&word, &value, 4);
            append(word);
        }
    }
    return packet;
}

void SimXplane::send(const QByteArray& datagram, quint16 programPort)
{
    socket_.writeDatagram(datagram, QHostAddress::LocalHost, programPort);
}

} // namespace varnet::testing
