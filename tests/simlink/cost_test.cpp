// The simulator's datagrams as the run takes them: held in the socket
// without a wake-up until taken, every one of them, whole and in order; and
// out of a run every datagram waiting is handled in one wake-up.

#include "platform/udp.h"
#include "platform/wait.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace varnet {
namespace {

TEST(HeldDatagrams, WaitUnannouncedUntilTakenAndAreAllHandledInOneWakeUpOnceReleased)
{
    QtUdpSocket receiver;
    QtUdpSocket sender;
    ASSERT_TRUE(receiver.bind(0)) << receiver.errorString().toStdString();
    sender.setRemote("127.0.0.1", receiver.localPort());
    QList<QByteArray> received;
    QObject::connect(&receiver, &UdpSocket::datagramReceived, [&](const QByteArray& data, const QHostAddress& from) {
        received << data;
        EXPECT_TRUE(from.isLoopback());
    });

    receiver.holdDatagrams(true);
    const QList<QByteArray> first{"DATA0", QByteArray(60000, 'x'), QByteArray()};
    for (const QByteArray& datagram : first)
        ASSERT_TRUE(sender.sendDatagram(datagram)) << sender.errorString().toStdString();
    waitMs(50);
    EXPECT_TRUE(received.isEmpty());
    receiver.takeWaiting();
    EXPECT_EQ(received, first);

    received.clear();
    for (const char* datagram : {"one", "two", "three"})
        ASSERT_TRUE(sender.sendDatagram(datagram));
    receiver.holdDatagrams(false);
    QCoreApplication::processEvents();
    EXPECT_EQ(received, (QList<QByteArray>{"one", "two", "three"}));
}

} // namespace
} // namespace varnet
