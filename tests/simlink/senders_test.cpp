#include "link_fixture.h"

#include "platform/wait.h"
#include "simlink/udptest.h"
#include "app/window_helpers.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace varnet::testing {
namespace {

TEST(XplaneSender, OnlyTheConfiguredHostIsAcceptedAndLoopbackMeansThisMachine)
{
    const QList<QHostAddress> own{QHostAddress("192.168.1.5")};
    const QHostAddress xplane("192.168.1.20");
    const QHostAddress loopback(QHostAddress::LocalHost);
    EXPECT_TRUE(AcceptsSender(xplane, xplane, own));
    EXPECT_TRUE(AcceptsSender(xplane, QHostAddress("::ffff:192.168.1.20"), own));
    EXPECT_FALSE(AcceptsSender(xplane, QHostAddress("192.168.1.21"), own));
    EXPECT_FALSE(AcceptsSender(xplane, loopback, own));
    EXPECT_TRUE(AcceptsSender(loopback, QHostAddress("127.0.0.2"), own));
    EXPECT_TRUE(AcceptsSender(loopback, QHostAddress("192.168.1.5"), own));
    EXPECT_FALSE(AcceptsSender(loopback, xplane, own));
    EXPECT_FALSE(AcceptsSender(QHostAddress(), loopback, own));
}

// X-Plane configured on another machine; the simulated one on the loopback
// stands for a stranger on the network.
class StrangerTest : public LinkTest {
protected:
    StrangerTest()
    {
        link->CloseUDP();
        Cfg.RemoteIP = "192.0.2.7";
        link->OpenUDP();
    }

    void sendFromStranger(const QByteArray& datagram)
    {
        const int before = link->UDPIgnoredCount;
        xplane.send(datagram, localPort);
        ASSERT_TRUE(waitUntil([&] { return link->UDPIgnoredCount > before; }, 2000)) << "datagram not handled";
    }
};

TEST_F(StrangerTest, DatagramsFromOtherHostsAreCountedAndChangeNothing)
{
    defineFunction(51, DataTypeFloat, 3, 2);
    const int port = openReadPort(51);
    sendFromStranger(SimXplane::dataPacket({{3, {0, 0, 1e9f, 0, 0, 0, 0, 0}}}));
    EXPECT_EQ(link->XplaneData[3][2], 0.0f);
    EXPECT_EQ(link->GetPort(port), 0.0f);
    EXPECT_EQ(link->UDPPacketCount, 0);
    EXPECT_EQ(link->UDPIgnoredCount, 1);

    link->CloseUDP();
    Cfg.RemoteIP = "127.0.0.1";
    link->OpenUDP();
    receive({{3, {0, 0, 5, 0, 0, 0, 0, 0}}});
    EXPECT_EQ(link->GetPort(port), 5.0f);
    EXPECT_EQ(link->UDPIgnoredCount, 1);
}

TEST(StrangerWindowTest, TheTestWindowShowsHowManyDatagramsWereIgnored)
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
    auto& window = DefaultForm<frmTestXplaneInterface>::get();
    click(window, "cmdStartUDP");
    stranger.send("DATA0", localPort);
    EXPECT_TRUE(waitUntil([&] { return child<QLineEdit>(window, "boxIgnored")->text() == "1"; }, 2000));
    EXPECT_TRUE(child<QPlainTextEdit>(window, "UDPraw")->toPlainText().isEmpty());
    DefaultForm<frmTestXplaneInterface>::unload();
    DefaultForm<SimCom>::unload();
    flushDeletes();
    Cfg = ConfigTables{};
}

} // namespace
} // namespace varnet::testing
