#pragma once

// A stand-in for the stand-alone engine cluster at the far end of its
// serial link. On its pseudo-terminal behind "COM<n>" (ptydevice.h) it cuts
// what the program writes into 40-byte frames ("F", the needles, a flags
// byte, 0xAA 0xAA) and reads each frame back as the cluster does: eight
// needle positions and two flags. It can answer each frame with a 16-byte
// unit of its own. Everything runs on the Qt event loop; a paced cluster
// (setLineRate) takes the bytes only as fast as the real line carries them.

#include "ptydevice/ptydevice.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>

#include <array>
#include <optional>

namespace varnet::testing {

class SimEngineCluster : public PtyDevice {
    Q_OBJECT

public:
    static constexpr int kFrameBytes = 40;
    static constexpr int kReplyBytes = 16;
    static constexpr int kNeedles = 8;

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

signals:
    void frameReceived(const varnet::testing::SimEngineCluster::Frame& frame);

protected:
    void take(const char* bytes, qsizetype count) override;

private:
    QByteArray pending_;
    QList<Frame> frames_;
    int skipped_ = 0;
    QByteArray reply_;
    QElapsedTimer clock_;
};

} // namespace varnet::testing
