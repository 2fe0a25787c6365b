// A request to terminate that comes while a box of the program is up: another program holds the
// local UDP port, so the autostart's preparation shows its LAN error with the gauge bus already
// open on COM1, and the program is sent SIGTERM then.

#include "boxes_fixture.h"
#include "device_watch.h"

#include <QFileInfo>

namespace varnet {
namespace {

using namespace varnet::testing;

class TerminationDuringABox : public ProgramWithBoxesTest {
protected:
    void configure() override
    {
        ASSERT_TRUE(holder_.bind(QHostAddress::AnyIPv4, programPort_, QUdpSocket::DontShareAddress));
    }

    QUdpSocket holder_;
};

TEST_F(TerminationDuringABox, EndsTheProgramWithoutOpeningTheGaugeBusAgainOrLeavingItsLockFile)
{
    if (!x_)
        GTEST_SKIP() << "no X display for the program's boxes";
    ASSERT_TRUE(boxInFront(10000)) << "no box about the LAN port at the autostart";
    const QString device = QFileInfo("COM1").symLinkTarget();
    const QString lockFolder = lockFolderHolding(device);
    ASSERT_FALSE(lockFolder.isEmpty()) << "the open gauge-bus port holds no lock file to watch";
    DeviceWatch watch(device, lockFolder);
    ASSERT_TRUE(watch.watching());

    ::kill(pid_t(program_.processId()), SIGTERM);
    ASSERT_TRUE(waitUntil([&] { return program_.state() == QProcess::NotRunning; }, 5000))
        << "the program goes on behind its box";
    EXPECT_TRUE(program_.exitStatus() == QProcess::NormalExit && program_.exitCode() == 0);
    EXPECT_EQ(watch.opens(), 0) << "the gauge-bus port was opened after the request";
    EXPECT_FALSE(QFile::exists(lockFolder + "/" + lockFileName(device))) << "a stale lock file is left";
}

} // namespace
} // namespace varnet
