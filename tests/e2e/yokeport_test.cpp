// A force-feedback yoke on a COM port of its own (a pseudo-terminal linked as COM3), on the real
// program: the autostart's run opens the yoke's port. What the yoke sends, megabytes of it, is read
// and dropped, so the program's memory stays as it was; and the exits close the yoke's port with
// the others, so that no lock file of the program is left for it: a termination request (the run
// window's Exit) and the yoke status window's Exit, which its title bar's close button is.

#include "device_watch.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
// Last: it brings Xlib, whose macros (None, Bool ...) clash with other headers.
#include "managed_fixture.h"

namespace varnet {
namespace {

using namespace varnet::testing;

constexpr int kYokeCom = 3;
// What the yoke sends between the two looks at the program's memory: the memory grows by
// about as much where it is kept. The pseudo-terminal carries what it holds (some 64 kB) each
// time the test gets its turn, which on a busy machine may be only every few tens of ms.
constexpr qsizetype kBurstBytes = 8 << 20;

// The resident memory of process `pid` in kB (VmRSS), or -1.
qint64 residentKb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line; !(line = status.readLine()).isEmpty();)
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}

class YokePortTest : public ProgramUnderWindowManagerTest {
protected:
    void configure() override { Cfg.ComPortYoke1() = kYokeCom; }

    // The run opened the yoke's port: its lock file names the program.
    ::testing::AssertionResult yokePortOpened()
    {
        if (!yoke_.ready())
            return ::testing::AssertionFailure() << "no pseudo-terminal for the yoke";
        device_ = QFileInfo(QStringLiteral("COM%1").arg(kYokeCom)).symLinkTarget();
        pid_ = program_.processId();
        if (xUntil([&] { return lockedBy(device_, pid_); }, 20000))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the run did not open the yoke's port " << device_.toStdString();
    }

    // Sends `total` bytes from the yoke in 25-byte units, as fast as the program takes them;
    // false when it takes nothing for `stallMs`.
    bool sendFromYoke(qsizetype total, int stallMs = 10000)
    {
        const QByteArray chunk = SimControlUnit::reply(1, 1).repeated(2600);
        QElapsedTimer stalled;
        stalled.start();
        for (qsizetype sent = 0; sent < total;) {
            const qsizetype n = yoke_.sendSome(chunk.first(std::min(chunk.size(), total - sent)));
            sent += n;
            if (n > 0) {
                stalled.start();
                continue;
            }
            if (stalled.hasExpired(stallMs))
                return false;
            waitMs(1);
        }
        return true;
    }

    bool ended(int timeoutMs)
    {
        return xUntil([&] { return program_.state() == QProcess::NotRunning; }, timeoutMs) &&
               program_.exitStatus() == QProcess::NormalExit && program_.exitCode() == 0;
    }

    SimControlUnit yoke_{kYokeCom};
    QString device_;
    qint64 pid_ = 0;
};

// Built with AddressSanitizer, the program keeps freed memory aside for a
// while on purpose, so its size says nothing of what it holds on to; the
// in-process test of the yoke window counts the bytes waiting instead.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kFreedMemoryKeptAside = true;
#else
constexpr bool kFreedMemoryKeptAside = false;
#endif

TEST_F(YokePortTest, WhatTheYokeSendsLeavesTheMemoryAsItWasAndATerminationRequestClosesItsPort)
{
    ASSERT_TRUE(yokePortOpened());
    // What reading takes in any case is taken first.
    ASSERT_TRUE(sendFromYoke(1 << 20)) << "the program does not take what the yoke sends";
    waitMs(300);
    const qint64 before = residentKb(pid_);
    ASSERT_TRUE(sendFromYoke(kBurstBytes)) << "the program does not take what the yoke sends";
    waitMs(300);
    const qint64 grownKb = residentKb(pid_) - before;
    if (!kFreedMemoryKeptAside)
        EXPECT_LT(grownKb, kBurstBytes / 1024 / 4)
            << "the program's memory grew by " << grownKb << " kB while the yoke sent " << kBurstBytes / 1024 << " kB";

    EXPECT_TRUE(endsCleanly());
    EXPECT_FALSE(lockedBy(device_, pid_)) << "the program left the lock file of the yoke's port "
                                          << device_.toStdString();
}

TEST_F(YokePortTest, TheYokeStatusWindowsExitClosesTheYokesPort)
{
    if (!x_ || !managed_)
        GTEST_SKIP() << "no X display with a window manager (openbox) for the program's windows";
    ASSERT_TRUE(yokePortOpened());
    const Window yokes = managedWindow("Force Feedback Yoke Status");
    ASSERT_NE(yokes, 0u) << "no yoke status window";

    closeFromTitleBar(yokes);
    ASSERT_TRUE(ended(10000)) << "the yoke status window's Exit did not end the program";
    EXPECT_FALSE(lockedBy(device_, pid_)) << "the program left the lock file of the yoke's port "
                                          << device_.toStdString();
}

} // namespace
} // namespace varnet
