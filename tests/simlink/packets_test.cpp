#include "link_fixture.h"

#include "simlink/packets.h"
#include "support/fake_udp_socket.h"

#include <cmath>
#include <limits>

namespace varnet::testing {
namespace {

const char* const kDataHead = "44 41 54 41 30";  // "DATA0"

QByteArray repeated(const char* word, int times)
{
    return hex(word).repeated(times);
}

using SendTest = LinkTest;

TEST_F(SendTest, DataFloatPutsTheValueInItsSlotAndMinus999Elsewhere)
{
    const QByteArray normal = hex(kDataHead) + hex("11 00 00 00") + repeated("00 C0 79 C4", 2) +
                              hex("00 00 C0 3F") + repeated("00 C0 79 C4", 5);
    const QByteArray reversed = hex(kDataHead) + hex("00 00 00 11") + repeated("C4 79 C0 00", 2) +
                                hex("3F C0 00 00") + repeated("C4 79 C0 00", 5);

    EXPECT_EQ(sentBy([&] { link->SendDataFloat(17, 2, 1.5f); }), QList{normal});
    EXPECT_EQ(link->UDPSendString, normal);
    Cfg.ByteOrderReverse = 1;
    EXPECT_EQ(sentBy([&] { link->SendDataFloat(17, 2, 1.5f); }), QList{reversed});
}

TEST_F(SendTest, DataIntSendsItsIntegerAsAFloatWithFloatFillers)
{
    const QByteArray normal = hex(kDataHead) + hex("03 00 00 00") + hex("00 00 48 43") + repeated("00 C0 79 C4", 7);
    const QByteArray reversed = hex(kDataHead) + hex("00 00 00 03") + hex("43 48 00 00") + repeated("C4 79 C0 00", 7);

    EXPECT_EQ(sentBy([&] { link->SendDataInt(3, 0, 200); }), QList{normal});
    Cfg.ByteOrderReverse = 1;
    EXPECT_EQ(sentBy([&] { link->SendDataInt(3, 0, 200); }), QList{reversed});
}

TEST_F(SendTest, SelectPacketsCarryOneIndexInTheLinkByteOrder)
{
    EXPECT_EQ(sentBy([&] {
                  link->SendDSEL(20);
                  link->SendUSEL(7);
              }),
              (QList{hex("44 53 45 4C 30 14 00 00 00"), hex("55 53 45 4C 30 07 00 00 00")}));
    Cfg.ByteOrderReverse = 1;
    EXPECT_EQ(sentBy([&] { link->SendDSEL(20); }), QList{hex("44 53 45 4C 30 00 00 00 14")});
}

TEST_F(SendTest, StopAllDeselectsGroups0To149InOnePacketUnlessBlocked)
{
    for (const bool reversedOrder : {false, true}) {
        Cfg.ByteOrderReverse = reversedOrder;
        QByteArray expected("USEL0");
        for (int group = 0; group < 150; ++group)
            expected += reversedOrder ? QByteArray(3, '\0') + char(group) : char(group) + QByteArray(3, '\0');
        ASSERT_EQ(expected.size(), 605);
        EXPECT_EQ(sentBy([&] { link->CommandStopAll(); }), QList{expected});
    }
    Cfg.BlockUsel = 1;
    EXPECT_TRUE(sentBy([&] { link->CommandStopAll(); }).isEmpty());
}

TEST_F(SendTest, CharCarriesTheCharacterAndTheRemoteAddress)
{
    Cfg.RemoteIP = "127.0.01";  // eight characters, still the loopback
    link->CloseUDP();
    link->OpenUDP();
    EXPECT_EQ(sentBy([&] { link->SendDataChar('x'); }), QList{QByteArray("CHAR0x127.0.010000000")});
    EXPECT_EQ(CharPacket('x', "192.168.100.200.1"), QByteArray("CHAR0x192.168.100.200"));
}

TEST_F(SendTest, CommandSendsTheNumberedLineAlone)
{
    const std::string text = "#0:sim/lights/landing_lights_on\r\n#1:sim/lights/landing_lights_off\r\n";
    EXPECT_EQ(sentBy([&] { link->SendXplaneCommand(text, 1); }), QList{QByteArray("CMND0sim/lights/landing_lights_off")});
    EXPECT_EQ(link->UDPSendString, "CMND0sim/lights/landing_lights_off");
}

TEST_F(SendTest, PacketsThatCannotBeMadeAreNotSent)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    const auto sent = sentBy([&] {
        link->SendDataFloat(3, 8, 1);     // no slot 8
        link->SendDataFloat(256, 0, 1);   // group beyond a byte
        link->SendDataFloat(3, 0, nan);
        link->SendDataFloat(3, 0, -infinity);
        link->SendDataInt(-1, 0, 1);
        link->SendDataChar(256);
        link->SendXplaneCommand("#0:sim/a\r\n", 2);       // no line 2
        link->SendXplaneCommand("#0:sim/a", 0);           // no CR LF
        link->SendXplaneCommand("#0:sim/a\r\n", 10);      // not one digit
    });
    EXPECT_TRUE(sent.isEmpty()) << sent.size() << " packets sent";
    EXPECT_TRUE(link->UDPSendString.isEmpty());
}

TEST_F(SendTest, NothingGoesOutWhileTheLinkIsClosedAndOpenSocketsKeepTheirSettings)
{
    link->CloseUDP();
    link->SendDSEL(1);
    SimXplane other;
    Cfg.RemotePort = std::to_string(other.port());
    link->OpenUDP();
    link->SendDSEL(2);
    ASSERT_TRUE(other.waitForReceived(1));
    EXPECT_EQ(other.received(), QList{hex("44 53 45 4C 30 02 00 00 00")});

    // Already open: a changed setting waits for the next CloseUDP.
    Cfg.RemotePort = std::to_string(xplane.port());
    link->OpenUDP();
    link->SendDSEL(3);
    ASSERT_TRUE(other.waitForReceived(2));
    EXPECT_TRUE(xplane.received().isEmpty());
}

TEST(OpenUDP, RefusedSettingsAreReportedAndLeaveTheLinkClosed)
{
    FakeUdpSockets fakes;
    ScriptedMessages boxes;
    Cfg = ConfigTables{};
    Cfg.RemoteIP = "127.0.0.1";
    Cfg.RemotePort = "49000";
    Cfg.LocalPort = "49001";
    SimCom link;
    FakeUdpSocket* receiver = fakes.sockets().at(0);
    FakeUdpSocket* sender = fakes.sockets().at(1);

    receiver->setBindError("Address in use");
    boxes.expectOk("Error opening the LAN port: Address in use");
    link.OpenUDP();
    receiver->setBindError({});

    Cfg.RemotePort = "x-plane";
    boxes.expectOk("Error opening the LAN port: Invalid remote port \"x-plane\"");
    link.OpenUDP();
    EXPECT_TRUE(receiver->isOpen());
    EXPECT_EQ(receiver->localPort(), 49001);

    Cfg.RemotePort = "49000";
    for (const char* unknown : {"", "no-such-host.invalid"}) {
        Cfg.RemoteIP = unknown;
        boxes.expectOk(QString("Error opening the LAN port: Invalid remote address \"%1\"").arg(unknown));
        link.OpenUDP();
    }
    link.SendDSEL(1);
    EXPECT_TRUE(sender->sent().isEmpty());
    // A host name is looked up when the link opens.
    Cfg.RemoteIP = "localhost";
    link.OpenUDP();
    EXPECT_EQ(sender->remoteHost(), "127.0.0.1");

    Cfg.LocalPort = "70000";
    link.CloseUDP();
    boxes.expectOk("Error opening the LAN port: Invalid local port \"70000\"");
    link.OpenUDP();
    EXPECT_FALSE(receiver->isOpen());
    Cfg = ConfigTables{};
}

} // namespace
} // namespace varnet::testing
