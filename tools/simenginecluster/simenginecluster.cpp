#include "simenginecluster/simenginecluster.h"

#include "platform/wait.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <algorithm>
#include <utility>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace varnet::testing {

namespace {

// Where the cluster reads the high byte of each needle index, the flags
// and its bits.
constexpr int kNeedleAt[SimEngineCluster::kNeedles] = {1, 3, 5, 21, 7, 11, 13, 15};
constexpr int kFlagsAt = 37;
constexpr int kBacklightBit = 0x01;
constexpr int kDisplaysOffBit = 0x02;
constexpr char kStart = 'F';
constexpr char kEnd = char(0xAA);

} // namespace

SimEngineCluster::SimEngineCluster(int comNumber, QObject* parent) : QObject(parent), comNumber_(comNumber)
{
    clock_.start();
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
    // Raw: the frames carry every byte value, and nothing is echoed.
    termios settings{};
    tcgetattr(slave_, &settings);
    cfmakeraw(&settings);
    tcsetattr(slave_, TCSANOW, &settings);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    master_ = master;
    notifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SimEngineCluster::readMaster);
    lineTimer_.setTimerType(Qt::PreciseTimer);
    lineTimer_.setInterval(1);
    connect(&lineTimer_, &QTimer::timeout, this, &SimEngineCluster::carry);
}

SimEngineCluster::~SimEngineCluster()
{
    pull();
}

void SimEngineCluster::pull()
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

std::optional<SimEngineCluster::Frame> SimEngineCluster::decode(const QByteArray& bytes)
{
    if (bytes.size() != kFrameBytes || bytes[0] != kStart || bytes[kFrameBytes - 2] != kEnd ||
        bytes[kFrameBytes - 1] != kEnd)
        return std::nullopt;
    Frame frame;
    for (int n = 0; n < kNeedles; ++n)
        frame.needles[std::size_t(n)] = quint8(bytes[kNeedleAt[n]]) * 256 + quint8(bytes[kNeedleAt[n] + 1]);
    const int flags = quint8(bytes[kFlagsAt]);
    frame.backlightOn = flags & kBacklightBit;
    frame.displaysOff = flags & kDisplaysOffBit;
    frame.bytes = bytes;
    return frame;
}

void SimEngineCluster::clear()
{
    frames_.clear();
    skipped_ = 0;
}

bool SimEngineCluster::waitForFrames(int count, int timeoutMs)
{
    return waitUntil([&] { return frames_.size() >= count; }, timeoutMs);
}

void SimEngineCluster::send(const QByteArray& bytes)
{
    if (master_ >= 0 && !bytes.isEmpty())
        (void)::write(master_, bytes.constData(), size_t(bytes.size()));
}

void SimEngineCluster::setLineRate(double bytesPerSecond)
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
    lineFreeAtMs_ = double(clock_.nsecsElapsed()) / 1e6;
    lineTimer_.start();
}

void SimEngineCluster::carry()
{
    const double nowMs = double(clock_.nsecsElapsed()) / 1e6;
    const double byteMs = 1000.0 / lineRate_;
    const int due = int((nowMs - lineFreeAtMs_) / byteMs);
    if (due < 1)
        return;
    int carried = 0;
    char buffer[256];
    while (carried < due) {
        const ssize_t n = ::read(master_, buffer, size_t(std::min<int>(due - carried, sizeof buffer)));
        if (n <= 0)
            break;
        carried += int(n);
        take(buffer, n);
    }
    // A line that ran out of bytes was idle: it owes nothing for that time.
    lineFreeAtMs_ = carried < due ? nowMs : lineFreeAtMs_ + carried * byteMs;
}

void SimEngineCluster::readMaster()
{
    char buffer[256];
    for (;;) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0)
            return;
        take(buffer, n);
    }
}

void SimEngineCluster::take(const char* bytes, qsizetype count)
{
    pending_.append(bytes, count);
    for (;;) {
        // A frame starts with "F": anything before it is not one.
        const qsizetype start = pending_.indexOf(kStart);
        if (start < 0) {
            skipped_ += int(pending_.size());
            pending_.clear();
            return;
        }
        skipped_ += int(start);
        pending_.remove(0, start);
        if (pending_.size() < kFrameBytes)
            return;
        std::optional<Frame> frame = decode(pending_.left(kFrameBytes));
        if (!frame) {
            // Not a frame after all: look for the next start after this one.
            ++skipped_;
            pending_.remove(0, 1);
            continue;
        }
        pending_.remove(0, kFrameBytes);
        frame->at = clock_.elapsed();
        frames_.append(*frame);
        emit frameReceived(frames_.back());
        if (reply_.size() == kReplyBytes)
            send(reply_);
    }
}

} // namespace varnet::testing
