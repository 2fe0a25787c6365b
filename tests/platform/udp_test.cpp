#include "platform/udp.h"
#include "platform/wait.h"
#include "support/fake_udp_socket.h"

#include <gtest/gtest.h>

namespace varnet {
namespace {

// A receiving socket on a free local port and a socket sending to it.
class Loopback : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(receiver.bind(0)) << receiver.errorString().toStdString();
        sender.setRemote("127.0.0.1", receiver.localPort());
        QObject::connect(&receiver, &UdpSocket::datagramReceived,
                         [this](const QByteArray& data) { received.append(data); });
    }

    bool receivedCount(int count)
    {
        return waitUntil([&] { return received.size() >= count; }, 2000);
    }

    QtUdpSocket receiver;
    QtUdpSocket sender;
    QList<QByteArray> received;
};

TEST_F(Loopback, EveryDatagramArrivesWholeAndInOrder)
{
    const QList<QByteArray> sent{QByteArray("DATA0\x03\x00\x00\x00", 9), QByteArray(41, '\xFF'),
                                 QByteArray("CMND0sim/none")};
    for (const QByteArray& datagram : sent)
        ASSERT_TRUE(sender.sendDatagram(datagram)) << sender.errorString().toStdString();

    EXPECT_TRUE(sender.isOpen());
    ASSERT_TRUE(receivedCount(3));
    EXPECT_EQ(received, sent);
}

TEST_F(Loopback, LocalPortInUseIsRefusedAndFreedByCloseAndAMissingRemoteReported)
{
    const quint16 port = receiver.localPort();
    QtUdpSocket second;
    EXPECT_FALSE(second.bind(port));
    EXPECT_FALSE(second.errorString().isEmpty());
    EXPECT_FALSE(second.isOpen());

    receiver.close();
    EXPECT_FALSE(receiver.isOpen());
    ASSERT_TRUE(receiver.bind(port)) << receiver.errorString().toStdString();
    ASSERT_TRUE(sender.sendDatagram("DATA0"));
    ASSERT_TRUE(receivedCount(1));

    // A remote that is no address is reported.
    sender.setRemote("", receiver.localPort());
    EXPECT_FALSE(sender.sendDatagram("DATA0"));
    EXPECT_EQ(sender.errorString(), "Invalid remote address \"\"");
}

TEST(FakeUdpSockets, StandInForTheRealSocketsWhileTheyLive)
{
    {
        testing::FakeUdpSockets fakes;
        std::unique_ptr<UdpSocket> socket = createUdpSocket();
        ASSERT_EQ(fakes.sockets(), QList<testing::FakeUdpSocket*>{dynamic_cast<testing::FakeUdpSocket*>(socket.get())});
    }
    EXPECT_NE(dynamic_cast<QtUdpSocket*>(createUdpSocket().get()), nullptr);
}

} // namespace
} // namespace varnet
