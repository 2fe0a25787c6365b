#include "link_fixture.h"

#include "platform/wait.h"

#include <QUdpSocket>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace varnet::testing {

quint16 freeLoopbackPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

SentData decodeData(const QByteArray& packet)
{
    constexpr quint32 kFloatFiller = 0xC479C000;  // -999.0f
    SentData sent;
    if (packet.size() != 41 || !packet.startsWith("DATA0"))
        return sent;
    const auto word = [&](int offset) { return qFromLittleEndian<quint32>(packet.constData() + offset); };
    sent.group = int(word(5));
    int values = 0;
    for (int j = 0; j < 8; ++j) {
        const quint32 value = word(9 + 4 * j);
        if (value != kFloatFiller) {
            ++values;
            sent.slot = j;
            std::memcpy(&sent.asFloat, &value, 4);
        }
    }
    // Anything but one value among float fillers is no packet of ours.
    if (values != 1)
        sent.slot = -1;
    return sent;
}

void loopbackConfig(quint16 remotePort, quint16 localPort)
{
    Cfg = ConfigTables{};
    Cfg.RemoteIP = "127.0.0.1";
    Cfg.RemotePort = std::to_string(remotePort);
    Cfg.LocalPort = std::to_string(localPort);
}

LinkTest::LinkTest()
{
    Instruments = InstrumentValues{};
    localPort = freeLoopbackPort();
    loopbackConfig(xplane.port(), localPort);
    link = std::make_unique<SimCom>();
    link->OpenUDP();
}

LinkTest::~LinkTest()
{
    link.reset();
    Cfg = ConfigTables{};
}

QList<QByteArray> LinkTest::sentBy(const std::function<void()>& action)
{
    // A marker sent on the same socket, waited for, shows when all packets before it are in.
    const auto sendMarker = [&] {
        link->SendUSEL(0xFD);
        const QByteArray marker = hex(Cfg.ByteOrderReverse ? "55 53 45 4C 30 00 00 00 FD" : "55 53 45 4C 30 FD 00 00 00");
        EXPECT_TRUE(waitUntil([&] { return xplane.received().contains(marker); }, 2000)) << "the link sent nothing at all";
        return marker;
    };
    // Packets sent earlier may still be on their way.
    xplane.clearReceived();
    sendMarker();
    xplane.clearReceived();
    action();
    const QByteArray marker = sendMarker();
    QList<QByteArray> sent = xplane.received();
    sent.resize(std::max(qsizetype(0), sent.indexOf(marker)));
    return sent;
}

void LinkTest::receive(const QByteArray& datagram)
{
    const int before = link->UDPPacketCount;
    xplane.send(datagram, localPort);
    ASSERT_TRUE(waitUntil([&] { return link->UDPPacketCount > before; }, 2000)) << "datagram not handled";
}

void LinkTest::receive(const std::vector<SimXplane::Record>& records)
{
    receive(SimXplane::dataPacket(records));
}

void defineFunction(int f, Byte dataType, int group, int slot, Single preAdd, Single multiply)
{
    std::tie(Cfg.FunctionNames[f], Cfg.FunctionFullName[f], Cfg.FunctionSignalType[f], Cfg.FunctionMacroNr[f]) =
        std::tuple("F" + std::to_string(f), "", 0, 0);
    std::tie(Cfg.FunctionPreAdd[f], Cfg.FunctionDataType[f], Cfg.FunctionIndex1[f], Cfg.FunctionSlot1[f], Cfg.FunctionMultiply[f],
             Cfg.FunctionDivide[f]) = std::tuple(preAdd, dataType, group, slot, multiply, 1);
}

int LinkTest::openReadPort(int f)
{
    const int port = link->OpenSimPort(f, 1);
    link->EnableReadSimPort(port);
    return port;
}

} // namespace varnet::testing
