// The simulator's datagrams held for the run's ticks: none announced, none
// lost; released, all that wait are handled in one wake-up. Under a flood
// each pass takes a bounded number, so the events behind it keep their turn.

#include "platform/udp.h"
#include "platform/wait.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace varnet {
namespace {

TEST(HeldDatagrams, WaitUnannouncedUntilTakenAndAreHandledInOneWakeUpOnceReleasedAPassAtATime)
{
    QtUdpSocket receiver;
    QtUdpSocket sender;
    ASSERT_TRUE(receiver.bind(0)) << receiver.errorString().toStdString();
    sender.setRemote("127.0.0.1", receiver.localPort());
    QList<QByteArray> received;
    QObject::connect(&receiver, &UdpSocket::datagramReceived, [&](const QByteArray& data) { received << data; });
    int passes = 0;
    QObject::connect(&receiver, &UdpSocket::passEnded, [&] { ++passes; });

    receiver.holdDatagrams(true);
    const QList<QByteArray> first{"DATA0", QByteArray(60000, 'x'), QByteArray()};
    for (const QByteArray& datagram : first)
        ASSERT_TRUE(sender.sendDatagram(datagram)) << sender.errorString().toStdString();
    waitMs(50);
    EXPECT_TRUE(received.isEmpty());
    receiver.takeWaiting();
    EXPECT_EQ(std::tuple(received, passes), std::tuple(first, 1));

    for (const char* datagram : {"one", "two"})
        ASSERT_TRUE(sender.sendDatagram(datagram));
    receiver.holdDatagrams(false);
    QCoreApplication::processEvents();
    EXPECT_EQ(received, first + QList<QByteArray>({"one", "two"}));

    // A flood is taken a pass at a time, held or released (which then rests
    // between full passes).
    for (const bool held : {true, false}) {
        receiver.holdDatagrams(true);
        received.clear();
        for (int i = 0; i < kDatagramsPerPass + 3; ++i)
            sender.sendDatagram(QByteArray::number(i));
        receiver.holdDatagrams(held);
        const auto pass = [&] { held ? receiver.takeWaiting() : QCoreApplication::processEvents(); };
        pass();
        QCoreApplication::processEvents();
        EXPECT_EQ(received.size(), kDatagramsPerPass) << held;
        held ? pass() : waitMs(3 * kFloodRestMs);
        EXPECT_EQ(std::tuple(received.size(), received.back()), std::tuple(kDatagramsPerPass + 3, "66"));
    }
    EXPECT_EQ(passes, 6);
}

} // namespace
} // namespace varnet
