// A request to end the program that comes while a handler is inside a box and a wait: the exit
// runs once the handler has returned, never inside it, and what the handler still does on its
// way out shows no box, waits for nothing and opens no port.

#include "platform/messages.h"
#include "platform/serialport.h"
#include "platform/wait.h"
#include "support/workdir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace varnet {
namespace {

struct EndRequestTest : ::testing::Test {
    void TearDown() override { ForgetEndRequest(); }
};

TEST_F(EndRequestTest, ClosesTheBoxAsEscapeAndExitsOnceTheHandlerHasReturnedWithNoBoxWaitOrPortOnItsWayOut)
{
    testing::ScopedWorkDir dir;
    const int device = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(device >= 0 && grantpt(device) == 0 && unlockpt(device) == 0);
    ASSERT_TRUE(QFile::link(ptsname(device), "COM8"));

    WidgetMessageService boxes;
    int exits = 0;
    struct {
        bool done = false, answer = true, secondAnswer = true, opened = true;
        qint64 waitedMs = -1;
        int exitsMeanwhile = -1;
    } handler;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(50, [&] {
            RequestEnd([&] { ++exits; });
            RequestEnd([&] { exits += 10; });
        });
        handler.answer = boxes.yesNo("Continue?");
        handler.secondAnswer = boxes.yesNo("Continue?");
        QElapsedTimer clock;
        clock.start();
        waitMs(2000);
        handler.waitedMs = clock.elapsed();
        QtSerialPort port;
        port.setPortNumber(8);
        handler.opened = port.open();
        handler.exitsMeanwhile = exits;
        handler.done = true;
    });
    ASSERT_TRUE(waitUntil([&] { return handler.done; }, 3000)) << "the box stayed up";
    EXPECT_FALSE(handler.answer || handler.secondAnswer);
    EXPECT_LT(handler.waitedMs, 500);
    EXPECT_FALSE(handler.opened);
    EXPECT_EQ(handler.exitsMeanwhile, 0) << "the exit ran inside the handler";
    QCoreApplication::processEvents();
    EXPECT_EQ(exits, 1);
    ::close(device);
}

TEST_F(EndRequestTest, WithNothingOpenExitsAtOnce)
{
    int exits = 0;
    RequestEnd([&] { ++exits; });
    EXPECT_EQ(exits, 1);
    EXPECT_TRUE(EndRequested());
}

} // namespace
} // namespace varnet
