#include "simcontrolunit/simcontrolunit.h"

#include "config/gaugetypes.h"
#include "platform/wait.h"

namespace varnet::testing {

namespace {

constexpr int kFrameBytes = 6;
constexpr int kReplyBytes = 25;

bool isStatusRequest(const QByteArray& frame)
{
    return SimControlUnit::frameCommand(frame) == SimControlUnit::kStatusRequestCommand &&
           !SimControlUnit::isIdentify(frame);
}

} // namespace

SimControlUnit::SimControlUnit(int comNumber, QObject* parent) : PtyDevice(comNumber, parent) {}

SimControlUnit::~SimControlUnit() = default;

void SimControlUnit::clear()
{
    received_.clear();
    frames_.clear();
    partial_.clear();
}

bool SimControlUnit::waitForFrames(int count, int timeoutMs)
{
    return waitUntil([&] { return frames_.size() >= count; }, timeoutMs);
}

QByteArray SimControlUnit::reply(int gaugeID, int typeCode, const QByteArray& payload)
{
    QByteArray bytes(kReplyBytes, '\0');
    bytes[1] = char(gaugeID);
    bytes[2] = char(typeCode);
    for (qsizetype i = 0; i < payload.size() && 3 + i < kReplyBytes - 1; ++i)
        bytes[3 + i] = payload[i];
    bytes[kReplyBytes - 1] = char(0xFF);
    return bytes;
}

void SimControlUnit::addGauge(int gaugeID, int typeCode, int model, int version)
{
    identifyReplies_[gaugeID] = reply(gaugeID, typeCode, QByteArray().append(char(model)).append(char(version)));
    statusReplies_[gaugeID] = reply(gaugeID, typeCode);
}

void SimControlUnit::setStatusReply(int gaugeID, const QByteArray& reply)
{
    statusReplies_[gaugeID] = reply;
}

void SimControlUnit::setIdentifyReply(int gaugeID, const QByteArray& reply)
{
    identifyReplies_[gaugeID] = reply;
}

void SimControlUnit::take(const char* bytes, qsizetype count)
{
    for (qsizetype i = 0; i < count; ++i)
        takeByte(bytes[i]);
}

void SimControlUnit::takeByte(char byte)
{
    received_.append(byte);
    if (partial_.isEmpty() && byte != '\0')
        return;
    partial_.append(byte);
    if (partial_.size() < kFrameBytes)
        return;
    const QByteArray frame = partial_;
    partial_.clear();
    frames_.append(frame);
    answerFrame(frame);
}

void SimControlUnit::answerFrame(const QByteArray& frame)
{
    if (silent_)
        return;
    if (answer) {
        const QByteArray custom = answer(frame);
        if (!custom.isEmpty())
            return send(custom);
    }
    const int gaugeID = quint8(frame[1]);
    if (ioModuleReplies_.contains(gaugeID) && !isIdentify(frame)) {
        if (frameCommand(frame) == kModulePollCommand)
            return send(ioModuleReplies_.value(gaugeID));
        if (frameCommand(frame) == kModuleWord1Command || frameCommand(frame) == kModuleWord2Command)
            ioModuleWords_[gaugeID * 8 + frameCommand(frame)] = frameMagnitude(frame);
    }
    if (isIdentify(frame))
        send(identifyReplies_.value(gaugeID));
    else if (isStatusRequest(frame))
        send(statusReplies_.value(gaugeID));
}

int SimControlUnit::frameCommand(const QByteArray& frame)
{
    return quint8(frame[2]) >> 4;
}

bool SimControlUnit::isIdentify(const QByteArray& frame)
{
    return frame.mid(2, 3) == QByteArray("\x7C\x80\xAA", 3);
}

int SimControlUnit::frameMagnitude(const QByteArray& frame)
{
    const auto byte = [&](int i) { return int(quint8(frame[i])); };
    return ((byte(4) & 0xFD) | (byte(2) & 0x02)) * 256 + ((byte(3) & 0xFE) | (byte(2) & 0x01));
}

QByteArray SimControlUnit::ioModuleReply(int gaugeID, const QByteArray& switches, const std::array<int, 8>& channels)
{
    // Reply bytes 4..24.
    QByteArray payload(21, '\0');
    for (int i = 0; i < 6 && i < switches.size(); ++i)
        payload[2 + i] = switches[i];
    const auto high = [&](int ch) { return (channels[std::size_t(ch)] >> 8) & 0x0F; };
    for (int j = 0; j < 4; ++j)
        payload[9 + j] = char(high(2 * j) << 4 | high(2 * j + 1));
    for (int ch = 0; ch < 8; ++ch)
        payload[13 + ch] = char(channels[std::size_t(ch)] & 0xFF);
    return reply(gaugeID, IOModuleType, payload);
}

void SimControlUnit::setIOModuleInputs(int gaugeID, const QByteArray& switches, const std::array<int, 8>& channels)
{
    ioModuleReplies_[gaugeID] = ioModuleReply(gaugeID, switches, channels);
}

std::optional<int> SimControlUnit::ioModuleWord(int gaugeID, int word) const
{
    const int key = gaugeID * 8 + (word == 1 ? kModuleWord1Command : kModuleWord2Command);
    if (!ioModuleWords_.contains(key))
        return std::nullopt;
    return ioModuleWords_.value(key);
}

} // namespace varnet::testing
