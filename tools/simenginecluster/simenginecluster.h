#pragma once

// A stand-in for the stand-alone engine cluster at the far end of its
// serial link. It opens a pseudo-terminal, links "COM<n>" in the current
// directory to the slave side (where the program's port layer finds it),
// cuts what the program writes into 40-byte frames ("F", the needles, a
// flags byte, 0xAA 0xAA) and reads each frame back as the cluster does:
// eight needle positions and two flags. It can answer each frame with a
// 16-byte unit of its own. Everything runs on the Qt event loop.
//
// A paced cluster (setLineRate) takes the bytes only as fast as the real
// line carries them; the rest waits in the pseudo-terminal and then in the
// program's port, as it would in a serial driver.

#include "ptydevice/ptydevice.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>

#include <array>
#include <optional>

namespace varnet::testing {

class SimEngineCluster : public QObject {
    Q_OBJECT

public:
    static constexpr int kFrameBytes = 40;
    static constexpr int kReplyBytes = 16;
    static constexpr int kNeedles = 8;
    static constexpr double kLineRate = PtyDevice::kLineRate;

    // One frame as the cluster reads it.
    struct Frame {
        std::array<int, kNeedles> needles{};  // positions of needle indexes 0..7
        bool backlightOn = false;
        bool displaysOff = false;
        qint64 at = 0;  // ms since the cluster was made
        QByteArray bytes;
    };

    explicit SimEngineCluster(int comNumber, QObject* parent = nullptr);
    ~SimEngineCluster() override;
    SimEngineCluster(const SimEngineCluster&) = delete;
    SimEngineCluster& operator=(const SimEngineCluster&) = delete;

    // false when the pseudo-terminal or the link could not be made, or the
    // cluster was pulled.
    bool ready() const { return line_.ready(); }
    // Goes the way of a USB adapter pulled out: both ends of the
    // pseudo-terminal close and the COM link disappears.
    void pull() { line_.pull(); }
    int comNumber() const { return line_.comNumber(); }

    // Reads a frame: nothing when it is not 40 bytes starting with "F" and
    // ending with 0xAA 0xAA.
    static std::optional<Frame> decode(const QByteArray& bytes);

    // Every frame received, in order; bytes that fit no frame are skipped
    // (counted in skipped()).
    const QList<Frame>& frames() const { return frames_; }
    int skipped() const { return skipped_; }
    void clear();
    // Lets events run until `count` frames are in, at most timeoutMs.
    bool waitForFrames(int count, int timeoutMs = 2000);

    // Answers every frame with these 16 bytes; empty: no answer.
    void setReply(const QByteArray& reply) { reply_ = reply; }
    // Bytes from the cluster to the program, unasked.
    void send(const QByteArray& bytes) { line_.send(bytes); }

    // Takes at most `bytesPerSecond` from the program; 0 takes the bytes as
    // they come.
    void setLineRate(double bytesPerSecond) { line_.setLineRate(bytesPerSecond); }

signals:
    void frameReceived(const varnet::testing::SimEngineCluster::Frame& frame);

private:
    void take(const char* bytes, qsizetype count);

    QByteArray pending_;
    QList<Frame> frames_;
    int skipped_ = 0;
    QByteArray reply_;
    QElapsedTimer clock_;
    PtyDevice line_;
};

} // namespace varnet::testing
