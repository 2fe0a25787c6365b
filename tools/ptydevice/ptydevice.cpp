#include "ptydevice/ptydevice.h"

#include <QByteArray>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <utility>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace varnet::testing {

PtyDevice::PtyDevice(int comNumber, QObject* parent) : QObject(parent), comNumber_(comNumber)
{
    // Neither end is handed on to a program the test starts: a child that
    // held the master would keep the link up when the device goes.
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0)
        return;
    const char* slavePath = grantpt(master) == 0 && unlockpt(master) == 0 ? ptsname(master) : nullptr;
    if (slavePath)
        slave_ = ::open(slavePath, O_RDWR | O_NOCTTY | O_CLOEXEC);
    link_ = QDir::current().absoluteFilePath(QStringLiteral("COM%1").arg(comNumber));
    QFile::remove(link_);
    if (slave_ < 0 || !QFile::link(QString::fromLocal8Bit(slavePath), link_)) {
        if (slave_ >= 0)
            ::close(std::exchange(slave_, -1));
        ::close(master);
        link_.clear();
        return;
    }
    // Raw from the start: the frames carry every byte value, nothing is
    // echoed and nothing is edited as a line.
    termios settings{};
    tcgetattr(slave_, &settings);
    cfmakeraw(&settings);
    tcsetattr(slave_, TCSANOW, &settings);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    master_ = master;
    notifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &PtyDevice::readMaster);
    lineTimer_.setTimerType(Qt::PreciseTimer);
    lineTimer_.setInterval(1);
    connect(&lineTimer_, &QTimer::timeout, this, &PtyDevice::carry);
}

PtyDevice::~PtyDevice()
{
    pull();
}

void PtyDevice::pull()
{
    delete std::exchange(notifier_, nullptr);
    lineTimer_.stop();
    if (slave_ >= 0)
        ::close(std::exchange(slave_, -1));
    if (master_ >= 0)
        ::close(std::exchange(master_, -1));
    if (!link_.isEmpty())
        QFile::remove(std::exchange(link_, QString()));
}

qsizetype PtyDevice::sendSome(const QByteArray& bytes)
{
    if (master_ < 0 || bytes.isEmpty())
        return 0;
    return std::max<qsizetype>(::write(master_, bytes.constData(), size_t(bytes.size())), 0);
}

void PtyDevice::setLineRate(double bytesPerSecond)
{
    lineRate_ = std::max(bytesPerSecond, 0.0);
    if (!notifier_)
        return;
    notifier_->setEnabled(lineRate_ == 0);
    if (lineRate_ == 0) {
        lineTimer_.stop();
        readMaster();
        return;
    }
    lineClock_.start();
    lineFreeAtMs_ = 0;
    lineTimer_.start();
}

int PtyDevice::lineBacklog() const
{
    int waiting = 0;
    if (master_ < 0 || ::ioctl(master_, FIONREAD, &waiting) != 0)
        return 0;
    return waiting;
}

void PtyDevice::carry()
{
    const double nowMs = double(lineClock_.nsecsElapsed()) / 1e6;
    const double byteMs = 1000.0 / lineRate_;
    const int due = int((nowMs - lineFreeAtMs_) / byteMs);
    if (due < 1)
        return;
    int carried = 0;
    char buffer[256];
    // A peer may pull itself while it takes the bytes: master_ is checked each time round.
    while (carried < due && master_ >= 0) {
        const ssize_t n = ::read(master_, buffer, size_t(std::min<int>(due - carried, sizeof buffer)));
        if (n <= 0)
            break;
        carried += int(n);
        take(buffer, n);
    }
    // A line that ran out of bytes was idle: it owes nothing for that time.
    lineFreeAtMs_ = carried < due ? nowMs : lineFreeAtMs_ + carried * byteMs;
}

void PtyDevice::readMaster()
{
    char buffer[256];
    while (master_ >= 0) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0)
            return;
        take(buffer, n);
    }
}

namespace {

int quitPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(quitPipe[1], &byte, 1);
}

} // namespace

void quitOnSignals(QCoreApplication& app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, quitPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(quitPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
}

int comNumberOption(const QCommandLineParser& parser, const QCommandLineOption& option, const char* program)
{
    bool ok = false;
    const int com = parser.value(option).toInt(&ok);
    if (ok && com >= 1)
        return com;
    std::fprintf(stderr, "%s: --com needs a number of 1 or more\n", program);
    return 0;
}

} // namespace varnet::testing
