// What keeps a running cockpit cheap costs it nothing it did before.

#include "run_fixture.h"
#include "platform/wait.h"
#include "support/workdir.h"

#include <QFile>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace varnet {
namespace {

using namespace varnet::testing;

TEST(GaugeBusWrites, MoreThanTheDriverTakesAtOnceArriveWholeAndInOrder)
{
    ScopedWorkDir dir;
    const int device = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_TRUE(device >= 0 && grantpt(device) == 0 && unlockpt(device) == 0);
    ASSERT_TRUE(QFile::link(ptsname(device), QStringLiteral("COM5")));
    QtSerialPort port;
    port.setPortNumber(5);
    ASSERT_TRUE(port.open()) << port.errorString().toStdString();
    QByteArray first(200000, Qt::Uninitialized);
    for (qsizetype k = 0; k < first.size(); ++k)
        first[k] = char(k % 251);
    QByteArray arrived;
    const auto take = [&] {
        char chunk[4096];
        for (ssize_t n; (n = ::read(device, chunk, sizeof chunk)) > 0;)
            arrived.append(chunk, n);
        return arrived.size() >= first.size() + 5;
    };
    ASSERT_TRUE(port.write(first));
    take();  // the driver has room again while the port still holds the rest
    ASSERT_TRUE(port.write("after"));
    waitUntil(take, 5000);
    EXPECT_TRUE(arrived == first + "after") << arrived.size() << " bytes arrived";
    port.close();
    ::close(device);
}

TEST_F(RunTest, DatagramsWaitForTheTicksOnlyWhileTheRunIsActive)
{
    frmStatus& run = running();
    const auto held = [this] { return sockets_.sockets().front()->datagramsHeld(); };  // the receiving one
    EXPECT_TRUE(held());
    run.cmdStop_Click();
    EXPECT_FALSE(held());
    run.cmdRun_Click();
    DefaultForm<frmStatus>::unload();
    EXPECT_FALSE(held()) << "a window gone ticks no more";
}

} // namespace
} // namespace varnet
