// The simulator's datagrams held for the run's ticks: none announced, none
// lost; released, all that wait are handled in one wake-up.

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
    QObject::connect(&receiver, &UdpSocket::datagramReceived, [&](const QByteArray& data) { received << data; });

    receiver.holdDatagrams(true);
    const QList<QByteArray> first{"DATA0", QByteArray(60000, 'x'), QByteArray()};
    for (const QByteArray& datagram : first)
        ASSERT_TRUE(sender.sendDatagram(datagram)) << sender.errorString().toStdString();
    waitMs(50);
    EXPECT_TRUE(received.isEmpty());
    receiver.takeWaiting();
    EXPECT_EQ(received, first);

    for (const char* datagram : {"one", "two"})
        ASSERT_TRUE(sender.sendDatagram(datagram));
    receiver.holdDatagrams(false);
    QCoreApplication::processEvents();
    EXPECT_EQ(received, first + QList<QByteArray>({"one", "two"}));
}

} // namespace
} // namespace varnet
