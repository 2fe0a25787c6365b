// What keeps a running cockpit cheap must cost it nothing it did before: a
// write the driver cannot take at once still arrives whole and in order, and
// the datagrams the run takes on its ticks are handled as they come again
// once the run stops.

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
    ASSERT_GE(device, 0);
    ASSERT_EQ(grantpt(device), 0);
    ASSERT_EQ(unlockpt(device), 0);
    ASSERT_TRUE(QFile::link(ptsname(device), QStringLiteral("COM5")));
    QtSerialPort port;
    port.setPortNumber(5);
    ASSERT_TRUE(port.open()) << port.errorString().toStdString();

    // Far more than a pseudo-terminal buffers: what the driver does not take
    // waits in the port, and the next write goes behind it.
    QByteArray first(200000, Qt::Uninitialized);
    for (qsizetype k = 0; k < first.size(); ++k)
        first[k] = char(k % 251);
    const QByteArray second("after");
    QByteArray arrived;
    const auto take = [&] {
        char chunk[4096];
        for (ssize_t n; (n = ::read(device, chunk, sizeof chunk)) > 0;)
            arrived.append(chunk, n);
        return arrived.size() >= first.size() + second.size();
    };
    ASSERT_TRUE(port.write(first));
    take();  // the driver has room again, the port still holds the rest
    ASSERT_TRUE(port.write(second));
    waitUntil(take, 5000);
    EXPECT_TRUE(arrived == first + second) << arrived.size() << " bytes arrived";
    port.close();
    ::close(device);
}

TEST_F(RunTest, DatagramsWaitForTheTicksOnlyWhileTheRunIsActive)
{
    frmStatus& run = running();
    // The simulator link's first socket receives.
    const auto held = [this] { return sockets_.sockets().front()->datagramsHeld(); };
    EXPECT_TRUE(held());
    run.cmdStop_Click();
    EXPECT_FALSE(held());
    run.cmdRun_Click();
    EXPECT_TRUE(held());
    DefaultForm<frmStatus>::unload();
    EXPECT_FALSE(held()) << "a window gone ticks no more";
}

} // namespace
} // namespace varnet
