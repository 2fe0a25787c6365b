#include "simlink/udptest.h"

#include "app/window_helpers.h"
#include "simlink/simcom.h"
#include "simxplane/simxplane.h"
#include "support/fake_udp_socket.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace varnet {
namespace {

using namespace varnet::testing;

TEST(XplaneSender, OnlyTheConfiguredHostIsAcceptedAndLoopbackMeansThisMachine)
{
    const QList<QHostAddress> own{QHostAddress("192.168.1.5")};
    const QHostAddress xplane("192.168.1.20");
    const QHostAddress loopback(QHostAddress::LocalHost);
    EXPECT_TRUE(AcceptsSender(xplane, QHostAddress("::ffff:192.168.1.20"), own));
    EXPECT_FALSE(AcceptsSender(xplane, loopback, own));
    EXPECT_TRUE(AcceptsSender(loopback, QHostAddress("127.0.0.2"), own));
    EXPECT_TRUE(AcceptsSender(loopback, QHostAddress("192.168.1.5"), own));
    EXPECT_FALSE(AcceptsSender(loopback, xplane, own));
    EXPECT_FALSE(AcceptsSender(QHostAddress(), loopback, own));
}

TEST(XplaneSender, DatagramsFromOtherHostsChangeNothingAndTheTestWindowCountsThem)
{
    DefaultForm<SimCom>::unload();
    FakeUdpSockets sockets;
    Cfg = ConfigTables{};
    Cfg.RemoteIP = "192.168.1.20";
    Cfg.RemotePort = Cfg.LocalPort = "49000";
    frmTestXplaneInterface& window = DefaultForm<frmTestXplaneInterface>::get();
    click(window, "cmdStartUDP");
    const QByteArray packet = SimXplane::dataPacket({{3, {1e9f}}});
    sockets.sockets().first()->inject(packet, QHostAddress("192.168.1.99"));
    EXPECT_EQ(child<QLineEdit>(window, "boxIgnored")->text(), "1");
    EXPECT_EQ(DefaultForm<SimCom>::get().XplaneData[3][0], 0.0f);
    EXPECT_TRUE(child<QPlainTextEdit>(window, "UDPraw")->toPlainText().isEmpty());
    sockets.sockets().first()->inject(packet, QHostAddress("192.168.1.20"));
    EXPECT_EQ(DefaultForm<SimCom>::get().XplaneData[3][0], 1e9f);
    DefaultForm<frmTestXplaneInterface>::unload();
    DefaultForm<SimCom>::unload();
    flushDeletes();
}

} // namespace
} // namespace varnet
