#include "simlink/udptest.h"

#include "app/window_helpers.h"
#include "platform/wait.h"
#include "simlink/simcom.h"
#include "simxplane/simxplane.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QUdpSocket>

namespace varnet {
namespace {

using namespace varnet::testing;

TEST(XplaneSender, OnlyTheConfiguredHostIsAcceptedAndLoopbackMeansThisMachine)
{
    const QList<QHostAddress> own{QHostAddress("192.168.1.5")};
    const QHostAddress xplane("192.168.1.20");
    const QHostAddress loopback(QHostAddress::LocalHost);
    EXPECT_TRUE(AcceptsSender(xplane, QHostAddress("::ffff:192.168.1.20"), own));
    EXPECT_FALSE(AcceptsSender(xplane, QHostAddress("192.168.1.21"), own));
    EXPECT_FALSE(AcceptsSender(xplane, loopback, own));
    EXPECT_TRUE(AcceptsSender(loopback, QHostAddress("127.0.0.2"), own));
    EXPECT_TRUE(AcceptsSender(loopback, QHostAddress("192.168.1.5"), own));
    EXPECT_FALSE(AcceptsSender(loopback, xplane, own));
    EXPECT_FALSE(AcceptsSender(QHostAddress(), loopback, own));
}

// X-Plane is configured on another machine; a sender on the loopback is a
// stranger on the network.
TEST(XplaneSender, DatagramsFromOtherHostsChangeNothingAndTheTestWindowCountsThem)
{
    SimXplane stranger;
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    const quint16 localPort = probe.localPort();
    probe.close();
    Cfg = ConfigTables{};
    Cfg.RemoteIP = "192.0.2.7";
    Cfg.RemotePort = "49000";
    Cfg.LocalPort = std::to_string(localPort);
    frmTestXplaneInterface& window = DefaultForm<frmTestXplaneInterface>::get();
    click(window, "cmdStartUDP");
    stranger.sendData({{3, {1e9f, 1e9f, 1e9f, 1e9f, 1e9f, 1e9f, 1e9f, 1e9f}}}, false, localPort);
    EXPECT_TRUE(waitUntil([&] { return child<QLineEdit>(window, "boxIgnored")->text() == "1"; }, 2000));
    EXPECT_EQ(DefaultForm<SimCom>::get().XplaneData[3][0], 0.0f);
    EXPECT_EQ(DefaultForm<SimCom>::get().UDPPacketCount, 0);
    EXPECT_TRUE(child<QPlainTextEdit>(window, "UDPraw")->toPlainText().isEmpty());
    DefaultForm<frmTestXplaneInterface>::unload();
    DefaultForm<SimCom>::unload();
    flushDeletes();
    Cfg = ConfigTables{};
}

} // namespace
} // namespace varnet
