#pragma once

// A stand-in for the control unit at the far end of a serial link, for the
// end-to-end tests. On its pseudo-terminal behind "COM<n>" (ptydevice.h) it
// records every byte the program writes, cuts the stream into 6-byte frames
// and answers status requests and identify frames with the 25-byte replies
// set for their GaugeID. Everything runs on the Qt event loop, so a test
// sees answers while the program waits.
//
// A pseudo-terminal has no line rate: whatever the program writes is there
// at once. A paced unit (setLineRate) takes the bytes only as fast as a real
// line carries them, so a program that writes more than the line carries
// falls behind in its own port.

#include "ptydevice/ptydevice.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>

#include <array>
#include <functional>
#include <optional>

namespace varnet::testing {

class SimControlUnit : public PtyDevice {
    Q_OBJECT

public:
    explicit SimControlUnit(int comNumber, QObject* parent = nullptr);
    ~SimControlUnit() override;
    SimControlUnit(const SimControlUnit&) = delete;
    SimControlUnit& operator=(const SimControlUnit&) = delete;

    // Every byte received, in order.
    const QByteArray& received() const { return received_; }
    // The frames in the stream: each 0x00 starts one, six bytes long. Bytes
    // between frames (the 0xFF before each frame of a run, the blank after
    // a new-ID frame) are in received() only.
    const QList<QByteArray>& frames() const { return frames_; }
    void clear();
    // Lets events run until `count` frames are in, at most timeoutMs.
    bool waitForFrames(int count, int timeoutMs = 2000);

    // 0x00, GaugeID, type code, the payload (bytes 4..24, padded with
    // zeros) and 0xFF.
    static QByteArray reply(int gaugeID, int typeCode, const QByteArray& payload = {});

    // A gauge that answers the identify frame with its type, model and
    // version, and status requests with a reply of its type.
    void addGauge(int gaugeID, int typeCode, int model = 1, int version = 1);
    // The answer to status requests (command 7) for gaugeID; empty: none.
    void setStatusReply(int gaugeID, const QByteArray& reply);
    void setIdentifyReply(int gaugeID, const QByteArray& reply);
    // A silent unit answers nothing (a bus without power, a loose cable).
    void setSilent(bool silent) { silent_ = silent; }

    // The gauge bus: 38400 baud, a start bit, 8 data bits and 2 stop bits.
    static constexpr double kGaugeBusRate = kLineRate;

    // Asked first for every frame; a non-empty result is the answer. Lets a
    // test answer other commands, or answer in its own way.
    std::function<QByteArray(const QByteArray& frame)> answer;

    // The magnitude a command frame carries, read back the way a gauge
    // reads it (the bits that travel in the command byte put back).
    static int frameMagnitude(const QByteArray& frame);
    // The command a frame carries: the high nibble of its third byte.
    static int frameCommand(const QByteArray& frame);
    // The identify frame (bytes 3..5 0x7C 0x80 0xAA), which carries the
    // status-request command too.
    static bool isIdentify(const QByteArray& frame);
    static constexpr int kStatusRequestCommand = 7;
    // An I/O module's poll, which it answers with its inputs, and its two
    // LED words.
    static constexpr int kModulePollCommand = 6;
    static constexpr int kModuleWord1Command = 4;
    static constexpr int kModuleWord2Command = 5;

    // ---- An I/O module on the bus (gauge type 10).
    // Its reply: the 48 switches in bytes 6..11 (bit 7 of the first byte is
    // switch 0, 1 = on) and the eight 12-bit analogue channels, their high
    // nibbles two to a byte in bytes 13..16 (channel 0 high), their low
    // bytes in 17..24.
    static QByteArray ioModuleReply(int gaugeID, const QByteArray& switches, const std::array<int, 8>& channels = {});
    // From then on the module at gaugeID answers its turn (command 6) with
    // these inputs and keeps the output words that commands 4 and 5 bring.
    void setIOModuleInputs(int gaugeID, const QByteArray& switches, const std::array<int, 8>& channels = {});
    // Output word 1 (command 4) or 2 (command 5) as last received; nothing
    // before the first.
    std::optional<int> ioModuleWord(int gaugeID, int word) const;

protected:
    void take(const char* bytes, qsizetype count) override;

private:
    void takeByte(char byte);
    void answerFrame(const QByteArray& frame);

    QByteArray received_;
    QList<QByteArray> frames_;
    QByteArray partial_;
    bool silent_ = false;
    QMap<int, QByteArray> statusReplies_;
    QMap<int, QByteArray> identifyReplies_;
    QMap<int, QByteArray> ioModuleReplies_;
    QMap<int, int> ioModuleWords_;  // by GaugeID * 8 + command
};

} // namespace varnet::testing
