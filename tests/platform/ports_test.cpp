// The serial ports and UDP sockets: the unit collection they share, a
// pseudo-terminal behind the real port, datagrams on the loopback, and the
// fakes that stand in for them.

#include "platform/serialport.h"
#include "platform/udp.h"
#include "platform/wait.h"
#include "support/fake_serial_port.h"
#include "support/workdir.h"

#include <QCoreApplication>
#include <QFile>
#include <QNetworkDatagram>
#include <QUdpSocket>
#include <gtest/gtest.h>

#include <thread>
#include <utility>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace varnet {
namespace {

using testing::FakeSerialPort;
using testing::ScopedWorkDir;

QByteArray bytesFrom(int first, int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes.append(char(first + i));
    return bytes;
}

TEST(ResolveComPort, FollowsTheLinkInTheWorkingDirectoryAndAMissingDeviceFailsWithItsDescription)
{
    ScopedWorkDir dir;
    QFile target(dir.path() + "/ttyTarget");
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::link(target.fileName(), "COM3"));
    ASSERT_TRUE(QFile::link(dir.path() + "/unplugged", "COM4"));

    // A missing adapter must not fall back to another device.
    EXPECT_EQ((std::array{resolveComPort(3), resolveComPort(4), resolveComPort(1), resolveComPort(12), resolveComPort(0)}),
              (std::array{QFileInfo(target).canonicalFilePath(), QDir(dir.path()).absoluteFilePath("COM4"), QString("/dev/ttyS0"),
                          QString("/dev/ttyS11"), QString()}));
    // Once reached through its entry, a number keeps to it when the entry
    // goes, as an adapter's does when it is pulled out.
    ASSERT_TRUE(QFile::remove("COM3"));
    EXPECT_EQ(resolveComPort(3), QDir(dir.path()).absoluteFilePath("COM3"));

    QtSerialPort port;
    port.setPortNumber(4);
    EXPECT_FALSE(port.open() || port.isOpen() || port.errorString().isEmpty() || port.write("x"));
}

// The unit collection shared by every port, driven through the fake.
class ReceiveUnits : public ::testing::Test {
protected:
    void SetUp() override
    {
        port.setReceiveThreshold(25);
        port.setInputLength(25);
        ASSERT_TRUE(port.open());
        QObject::connect(&port, &SerialPort::received, [this] {
            ++events;
            if (readOnEvent)
                units.append(port.readInput());
        });
    }

    FakeSerialPort port;
    bool readOnEvent = true;
    int events = 0;
    QList<QByteArray> units;
};

TEST_F(ReceiveUnits, OneEventPerWholeUnitWhateverTheChunksOrPerArrivalWhenTheHandlerLeavesTheBytes)
{
    port.inject(bytesFrom(0, 24));
    EXPECT_EQ(events, 0);
    port.inject(bytesFrom(24, 36)); // completes one unit and holds a second
    port.inject(bytesFrom(60, 5));
    ASSERT_EQ(units, (QList<QByteArray>{bytesFrom(0, 25), bytesFrom(25, 25)}));
    EXPECT_EQ(port.bytesWaiting(), 15);
    port.inject(bytesFrom(65, 10));
    EXPECT_EQ((std::tuple{units.size(), units.last()}), (std::tuple{3, bytesFrom(50, 25)}));

    readOnEvent = false;
    events = 0;
    port.inject(bytesFrom(0, 60));
    EXPECT_EQ(events, 1);
    port.inject(bytesFrom(60, 1));
    EXPECT_EQ(events, 2);
    port.setInputLength(0);
    EXPECT_EQ(port.readInput(), bytesFrom(0, 61));

    port.setInputLength(25);
    port.inject(bytesFrom(0, 10));
    port.discardInput();
    port.inject(bytesFrom(10, 20));
    EXPECT_EQ((std::tuple{events, port.bytesWaiting()}), (std::tuple{2, 20}));
    port.close();
    ASSERT_TRUE(port.open());
    EXPECT_EQ(port.bytesWaiting(), 0);
}

// The master side of a pseudo-terminal stands in for the device; "COM7" in
// the working directory links to its slave side.
class PseudoTerminalPort : public ::testing::Test {
protected:
    static constexpr int kNumber = 7;

    void SetUp() override
    {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master_, 0);
        ASSERT_EQ(grantpt(master_), 0);
        ASSERT_EQ(unlockpt(master_), 0);
        ASSERT_EQ(fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK), 0);
        ASSERT_TRUE(QFile::link(ptsname(master_), QStringLiteral("COM%1").arg(kNumber)));
        QObject::connect(&port, &SerialPort::commError, [](const QString& error) {
            ADD_FAILURE() << "comm error: " << error.toStdString();
        });
        port.setPortNumber(kNumber);
        ASSERT_TRUE(port.open()) << port.errorString().toStdString();
    }

    void TearDown() override
    {
        port.close();
        if (master_ >= 0)
            ::close(master_);
    }

    void deviceSends(const QByteArray& bytes)
    {
        ASSERT_EQ(::write(master_, bytes.constData(), size_t(bytes.size())), bytes.size());
    }

    QByteArray deviceReads(int count)
    {
        QByteArray bytes;
        char buffer[4096];
        waitUntil([&] {
            for (ssize_t n; (n = ::read(master_, buffer, sizeof buffer)) > 0;)
                bytes.append(buffer, n);
            return bytes.size() >= count;
        }, 5000);
        return bytes;
    }

    bool collected(int count)
    {
        return waitUntil([&] { return port.bytesWaiting() >= count; }, 2000);
    }

    ScopedWorkDir dir_;
    int master_ = -1;
    QtSerialPort port;
};

TEST_F(PseudoTerminalPort, WritesReachTheDeviceChunksMakeOneUnitDiscardEmptiesWhatCameInNoBytesAreStrandedAndAHangUpFails)
{
    // The line every device of the cockpit talks: 38400 baud, 8 data bits,
    // 2 stop bits, no parity, no flow control. The master reads the settings
    // of its slave, which the port holds open. (A pseudo-terminal keeps 8
    // data bits and no parity whatever is asked; the speed, the stop bits
    // and the flow control are what it tells.)
    termios line{};
    ASSERT_EQ(tcgetattr(master_, &line), 0);
    EXPECT_EQ(std::tuple(cfgetispeed(&line), cfgetospeed(&line), line.c_cflag & (CSIZE | CSTOPB | PARENB | CRTSCTS),
                         line.c_iflag & (IXON | IXOFF)),
              std::tuple(speed_t(B38400), speed_t(B38400), tcflag_t(CS8 | CSTOPB), tcflag_t(0)));

    const QByteArray frame("\xFF\x00\x05\x05\x10\x02\xFF", 7);
    ASSERT_TRUE(port.write(frame));
    EXPECT_EQ(deviceReads(7), frame);

    port.setReceiveThreshold(25);
    port.setInputLength(25);
    QList<QByteArray> units;
    bool sendWhileWaiting = false;
    QObject::connect(&port, &SerialPort::received, [&] {
        units.append(port.readInput());
        if (std::exchange(sendWhileWaiting, false)) {
            deviceSends(bytesFrom(16, 16));
            waitMs(100);
        }
    });
    const QByteArray reply = bytesFrom(0, 24) + '\xFF';
    deviceSends(reply.mid(0, 7));
    ASSERT_TRUE(collected(7));
    deviceSends(reply.mid(7, 11));
    ASSERT_TRUE(collected(18));
    EXPECT_TRUE(units.isEmpty());
    deviceSends(reply.mid(18));
    waitUntil([&] { return !units.isEmpty(); }, 2000);
    EXPECT_EQ((std::tuple{units, port.carrierDetect()}), (std::tuple{QList<QByteArray>{reply}, false}));

    deviceSends(bytesFrom(1, 10));
    ASSERT_TRUE(collected(10));
    port.discardInput();
    EXPECT_EQ((std::tuple{port.bytesWaiting(), port.readInput()}), (std::tuple{0, QByteArray()}));

    // Bytes arriving while the handler waits must not wait for more.
    port.setReceiveThreshold(16);
    port.setInputLength(16);
    units.clear();
    sendWhileWaiting = true;
    deviceSends(bytesFrom(0, 16));
    waitUntil([&] { return units.size() == 2; }, 2000);
    EXPECT_EQ(units, (QList<QByteArray>{bytesFrom(0, 16), bytesFrom(16, 16)}));

    // A write to a device that hung up fails and closes the port.
    ::close(std::exchange(master_, -1));
    EXPECT_FALSE(port.write("\xFF"));
    EXPECT_EQ(std::pair(port.errorString(), port.isOpen()), std::pair(QString("The device was disconnected"), false));
}

TEST_F(PseudoTerminalPort, MoreThanTheDriverTakesAtOnceArrivesWholeAndInOrder)
{
    QByteArray first(200000, Qt::Uninitialized);
    for (qsizetype k = 0; k < first.size(); ++k)
        first[k] = char(k % 251);
    QObject::disconnect(&port, &SerialPort::commError, nullptr, nullptr);  // a full transmit queue says so
    ASSERT_TRUE(port.write(first));
    QByteArray arrived = deviceReads(1);  // the driver has room again while the port still holds the rest
    ASSERT_TRUE(port.write("after"));
    arrived += deviceReads(int(first.size()) + 5 - int(arrived.size()));
    EXPECT_TRUE(arrived == first + "after") << arrived.size() << " bytes arrived";
}

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

TEST_F(Loopback, EveryDatagramArrivesWholeAndInOrderAPortInUseIsRefusedAndFreedByCloseAndAMissingRemoteReported)
{
    const QList<QByteArray> sent{QByteArray("DATA0\x03\x00\x00\x00", 9), QByteArray(41, '\xFF'),
                                 QByteArray("CMND0sim/none")};
    for (const QByteArray& datagram : sent)
        ASSERT_TRUE(sender.sendDatagram(datagram)) << sender.errorString().toStdString();
    ASSERT_TRUE(receivedCount(3));
    EXPECT_EQ((std::tuple{received, sender.isOpen()}), (std::tuple{sent, true}));

    const quint16 port = receiver.localPort();
    QtUdpSocket second;
    EXPECT_FALSE(second.bind(port) || second.errorString().isEmpty() || second.isOpen());
    receiver.close();
    EXPECT_FALSE(receiver.isOpen());
    ASSERT_TRUE(receiver.bind(port)) << receiver.errorString().toStdString();
    ASSERT_TRUE(sender.sendDatagram("DATA0"));
    ASSERT_TRUE(receivedCount(4));

    // A bound socket sends from its bound port: the simulator sees one peer.
    QUdpSocket peer;
    ASSERT_TRUE(peer.bind(QHostAddress::LocalHost, 0));
    receiver.setRemote("127.0.0.1", peer.localPort());
    ASSERT_TRUE(receiver.sendDatagram("CHAR0a"));
    ASSERT_TRUE(waitUntil([&] { return peer.hasPendingDatagrams(); }, 2000));
    EXPECT_EQ(peer.receiveDatagram().senderPort(), int(port));

    sender.setRemote("", receiver.localPort());
    EXPECT_EQ((std::tuple{sender.sendDatagram("DATA0"), sender.errorString()}), (std::tuple{false, "Invalid remote address \"\""}));
}

// Datagrams held for the run's ticks: none announced, none lost; released,
// all that wait are handled in one wake-up.
TEST_F(Loopback, HeldDatagramsWaitUnannouncedUntilTakenAndAreHandledInOneWakeUpOnceReleased)
{
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
}

// Small datagrams from other programs between two ticks, more than the
// system keeps for a socket by default: none is lost, and a pass or two
// takes them all, leaving no room for X-Plane's packets to be pushed out.
TEST_F(Loopback, ManySmallDatagramsWaitingAtATickAreAllKeptAndDrainedInAPass)
{
    receiver.holdDatagrams(true);
    constexpr int kSent = 400;
    for (int i = 0; i < kSent; ++i)
        ASSERT_TRUE(sender.sendDatagram(QByteArray::number(i)));
    int passes = 0;
    while (received.size() < kSent && passes < 10) {
        receiver.takeWaiting();
        ++passes;
    }
    ASSERT_EQ(received.size(), kSent);
    EXPECT_EQ(received.back(), QByteArray::number(kSent - 1));
    EXPECT_LE(passes, 2);
}

// Under datagrams that take long to handle, a pass ends once its time is
// up, so that the events behind it keep their turn; the rest wait, in order,
// for the next pass (held) or a short rest (released).
TEST_F(Loopback, APassOfSlowDatagramsEndsOnTimeAndTheNextTakesUpTheRest)
{
    QObject::connect(&receiver, &UdpSocket::datagramReceived,
                     [] { std::this_thread::sleep_for(kPassTime / 3); });
    constexpr int kSent = 12;
    for (const bool held : {true, false}) {
        receiver.holdDatagrams(true);
        received.clear();
        for (int i = 0; i < kSent; ++i)
            ASSERT_TRUE(sender.sendDatagram(QByteArray::number(i)));
        receiver.holdDatagrams(held);
        held ? receiver.takeWaiting() : QCoreApplication::processEvents();
        const auto firstPass = received.size();
        EXPECT_TRUE(firstPass >= 1 && firstPass <= 3) << firstPass << " taken, held " << held;
        if (held) {
            for (int pass = 1; pass < kSent && received.size() < kSent; ++pass)
                receiver.takeWaiting();
        } else {
            QCoreApplication::processEvents();
            EXPECT_EQ(received.size(), firstPass) << "a released socket rests after a full pass";
            EXPECT_TRUE(waitUntil([&] { return received.size() == kSent; }, 2000));
        }
        ASSERT_EQ(received.size(), kSent) << held;
        EXPECT_EQ(received.back(), QByteArray::number(kSent - 1));
    }
}

} // namespace
} // namespace varnet
