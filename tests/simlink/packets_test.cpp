#include "link_fixture.h"

#include "simlink/packets.h"
#include "support/fake_udp_socket.h"

#include <cmath>
#include <limits>

namespace varnet::testing {
namespace {

// A DATA packet of `group` holding the float `value` (hex, little-endian) in
// `slot` and -999.0 in every other slot, in either byte order.
QByteArray dataFrame(const char* group, int slot, const char* value, bool reversed)
{
    QByteArray frame = hex("44 41 54 41 30") + hex(group);
    for (int j = 0; j < 8; ++j)
        frame += j == slot ? hex(value) : hex("00 C0 79 C4");
    if (reversed)
        for (int at = 5; at < frame.size(); at += 4)
            std::reverse(frame.begin() + at, frame.begin() + at + 4);
    return frame;
}

using SendTest = LinkTest;

TEST_F(SendTest, PacketsCarryTheirValuesInTheLinkByteOrderAndThoseThatCannotBeMadeAreNotSent)
{
    for (const bool reversed : {false, true}) {
        Cfg.ByteOrderReverse = reversed;
        const QByteArray floatFrame = dataFrame("11 00 00 00", 2, "00 00 C0 3F", reversed);
        EXPECT_EQ((std::tuple{sentBy([&] { link->SendDataFloat(17, 2, 1.5f); }), link->UDPSendString}), (std::tuple{QList{floatFrame}, floatFrame}));
        // An integer goes out as a float among float fillers.
        EXPECT_EQ(sentBy([&] { link->SendDataInt(3, 0, 200); }), QList{dataFrame("03 00 00 00", 0, "00 00 48 43", reversed)});
        EXPECT_EQ(sentBy([&] {
                      link->SendDSEL(20);
                      link->SendUSEL(7);
                  }),
                  (reversed ? QList{hex("44 53 45 4C 30 00 00 00 14"), hex("55 53 45 4C 30 00 00 00 07")}
                            : QList{hex("44 53 45 4C 30 14 00 00 00"), hex("55 53 45 4C 30 07 00 00 00")}));
        // Stop all deselects groups 0..149 in one packet.
        QByteArray expected("USEL0");
        for (int group = 0; group < 150; ++group)
            expected += reversed ? QByteArray(3, '\0') + char(group) : char(group) + QByteArray(3, '\0');
        ASSERT_EQ(expected.size(), 605);
        EXPECT_EQ(sentBy([&] { link->CommandStopAll(); }), QList{expected});
    }
    Cfg.BlockUsel = 1;
    EXPECT_TRUE(sentBy([&] { link->CommandStopAll(); }).isEmpty());

    const std::string text = "#0:sim/lights/landing_lights_on\r\n#1:sim/lights/landing_lights_off\r\n";
    const QByteArray off("CMND0sim/lights/landing_lights_off");
    EXPECT_EQ((std::tuple{sentBy([&] { link->SendXplaneCommand(text, 1); }), link->UDPSendString}), (std::tuple{QList{off}, off}));

    // CHAR carries the character and the remote address.
    Cfg.RemoteIP = "127.0.0.1";  // shorter than its field, which zeros fill
    link->CloseUDP();
    link->OpenUDP();
    EXPECT_EQ(sentBy([&] { link->SendDataChar('x'); }), QList{QByteArray("CHAR0x127.0.0.1000000")});
    EXPECT_EQ(CharPacket('x', "192.168.100.200.1"), QByteArray("CHAR0x192.168.100.200"));

    // Packets that cannot be made are not sent.
    link->UDPSendString.clear();
    const auto sent = sentBy([&] {
        link->SendDataFloat(3, 8, 1);     // no slot 8
        link->SendDataFloat(256, 0, 1);   // group beyond a byte
        link->SendDataFloat(3, 0, std::numeric_limits<float>::quiet_NaN());
        link->SendDataFloat(3, 0, -std::numeric_limits<float>::infinity());
        link->SendDataInt(-1, 0, 1);
        link->SendDataChar(256);
        link->SendXplaneCommand("#0:sim/a\r\n", 2);       // no line 2
        link->SendXplaneCommand("#0:sim/a", 0);           // no CR LF
        link->SendXplaneCommand("#0:sim/a\r\n", 10);      // not one digit
    });
    EXPECT_TRUE(sent.isEmpty() && link->UDPSendString.isEmpty()) << sent.size() << " packets sent";
}

TEST(OpenUDP, RefusedSettingsAreReportedAndLeaveTheLinkClosed)
{
    FakeUdpSockets fakes;
    ScriptedMessages boxes;
    loopbackConfig(49000, 49001);
    SimCom link;
    FakeUdpSocket* receiver = fakes.sockets().at(0);
    FakeUdpSocket* sender = fakes.sockets().at(1);
    const auto refused = [&](const QString& why) {
        boxes.expectOk("Error opening the LAN port: " + why);
        link.OpenUDP();
    };

    receiver->setBindError("Address in use");
    refused("Address in use (local port 49001)");
    receiver->setBindError({});

    Cfg.RemotePort = "x-plane";
    refused("Invalid remote port \"x-plane\"");
    EXPECT_EQ((std::tuple{receiver->isOpen(), receiver->localPort()}), (std::tuple{true, 49001}));

    Cfg.RemotePort = "49000";
    // Neither four numbers up to 255 nor a name: not looked up either.
    for (const char* unknown : {"", "no-such-host.invalid", "999.1.1.1", "127.1", "0x7f.0.0.1"}) {
        Cfg.RemoteIP = unknown;
        refused(QString("Invalid remote address \"%1\"").arg(unknown));
    }
    link.SendDSEL(1);
    EXPECT_TRUE(sender->sent().isEmpty());
    // A host name is looked up when the link opens; once open, a changed
    // setting takes effect at the next open, which first tells the X-Plane
    // left behind to stop.
    Cfg.RemoteIP = "localhost";
    link.OpenUDP();
    Cfg.RemoteIP = "127.0.0.2";
    link.OpenUDP();
    link.SendDSEL(2);
    EXPECT_EQ((std::tuple{sender->remoteHost(), sender->sent()}),
              (std::tuple{"127.0.0.2", QList{StopAllPacket(false), hex("44 53 45 4C 30 02 00 00 00")}}));

    // Leading zeros pad a number; they do not make it octal.
    link.CloseUDP();
    Cfg.RemoteIP = "127.000.000.010";
    link.OpenUDP();
    EXPECT_EQ(sender->remoteHost(), "127.0.0.10");

    // Nothing goes out while the link is closed.
    link.CloseUDP();
    link.SendDSEL(3);
    for (const char* port : {"70000", "0"}) {
        Cfg.LocalPort = port;
        refused(QString("Invalid local port \"%1\"").arg(port));
    }
    EXPECT_EQ((std::tuple{receiver->isOpen(), sender->sent().size()}), (std::tuple{false, 2}));
    Cfg = ConfigTables{};
}

} // namespace
} // namespace varnet::testing
