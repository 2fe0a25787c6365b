// Held input on a real port behind a pseudo-terminal: the replies of a
// device that a link reads once per tick wait in the device, unannounced,
// until the tick takes them; a device that goes away meanwhile is reported
// when they are taken.

#include "platform/serialport.h"
#include "platform/wait.h"
#include "support/workdir.h"

#include <QFile>
#include <gtest/gtest.h>

#include <utility>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace varnet {
namespace {

TEST(HeldInput, RepliesWaitUnannouncedUntilTakenComeAsTheyArriveOnceReleasedAndAHangUpIsReported)
{
    testing::ScopedWorkDir dir;
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_TRUE(grantpt(master) == 0 && unlockpt(master) == 0);
    ASSERT_TRUE(QFile::link(ptsname(master), "COM8"));
    QtSerialPort port;
    port.setPortNumber(8);
    port.setReceiveThreshold(4);
    port.setInputLength(4);
    ASSERT_TRUE(port.open()) << port.errorString().toStdString();
    QList<QByteArray> units;
    QStringList errors;
    QObject::connect(&port, &SerialPort::received, [&] { units.append(port.readInput()); });
    QObject::connect(&port, &SerialPort::commError, [&](const QString& error) { errors << error; });
    const auto deviceSends = [&](const char* bytes) { ASSERT_EQ(::write(master, bytes, 4), 4); };

    port.holdInput(true);
    deviceSends("ABCD");
    deviceSends("EFGH");
    waitMs(100);
    EXPECT_TRUE(units.isEmpty()) << "held input was announced";
    port.takeWaiting();
    EXPECT_EQ(units, (QList<QByteArray>{"ABCD", "EFGH"}));

    port.holdInput(false);
    deviceSends("IJKL");
    EXPECT_TRUE(waitUntil([&] { return units.size() == 3; }, 2000));
    EXPECT_EQ(units.value(2), "IJKL");

    port.holdInput(true);
    ::close(std::exchange(master, -1));
    waitMs(50);
    port.takeWaiting();
    EXPECT_EQ((std::tuple{errors, port.isOpen()}), (std::tuple{QStringList{"The device was disconnected"}, false}));
}

TEST(HeldInput, APortLostWhileHeldAndOpenedAgainHoldsAgain)
{
    testing::ScopedWorkDir dir;
    const auto plugIn = [] {
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        EXPECT_TRUE(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
        QFile::remove("COM8");
        EXPECT_TRUE(QFile::link(ptsname(master), "COM8"));
        return master;
    };
    int master = plugIn();
    QtSerialPort port;
    port.setPortNumber(8);
    port.setReceiveThreshold(4);
    port.setInputLength(4);
    ASSERT_TRUE(port.open()) << port.errorString().toStdString();
    int announced = 0;
    QObject::connect(&port, &SerialPort::received, [&] { ++announced, port.readInput(); });

    // Pulled while held: the write finds it gone.
    port.holdInput(true);
    ::close(std::exchange(master, plugIn()));
    EXPECT_FALSE(port.write("POLL") || port.isOpen());

    ASSERT_TRUE(port.open()) << port.errorString().toStdString();
    port.holdInput(true);
    ASSERT_EQ(::write(master, "ABCD", 4), 4);
    waitMs(100);
    EXPECT_EQ(announced, 0) << "the port opened again announced held input";
    port.takeWaiting();
    EXPECT_EQ(announced, 1);
    ::close(master);
}

} // namespace
} // namespace varnet
