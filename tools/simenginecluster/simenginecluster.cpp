#include "simenginecluster/simenginecluster.h"

#include "platform/wait.h"

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

SimEngineCluster::SimEngineCluster(int comNumber, QObject* parent) : PtyDevice(comNumber, parent)
{
    clock_.start();
}

SimEngineCluster::~SimEngineCluster() = default;

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
