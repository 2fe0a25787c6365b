#include "bus/gaugeframes.h"

#include <cmath>
#include <cstdint>

namespace varnet {

namespace {

bool isGaugeByte(int id)
{
    return id >= 0 && id <= 255;
}

QByteArray bytes(std::initializer_list<std::uint8_t> values)
{
    QByteArray frame;
    frame.reserve(qsizetype(values.size()));
    for (std::uint8_t v : values)
        frame.append(char(v));
    return frame;
}

} // namespace

std::optional<GaugeFrameBytes> GaugeBusFrameBytes(int gaugeID, int command, double value)
{
    if (!isGaugeByte(gaugeID) || std::isnan(value))
        return std::nullopt;

    const bool negative = value < 0;
    // nearbyint rounds halves to even under the default rounding mode.
    const double rounded = std::nearbyint(std::fabs(value));
    const std::uint32_t m = rounded >= kMaxFrameMagnitude ? kMaxFrameMagnitude : std::uint32_t(rounded);
    const std::uint32_t hi = m / 256;

    std::uint32_t k = (std::uint32_t(command) << 4) | (m & 0x01) | (hi & 0x02);
    k |= negative ? 0x0C : 0x08;
    return GaugeFrameBytes{0x00, char(gaugeID), char(k & 0xFF), char((m & 0xFE) | 0x01), char((hi & 0xFD) | 0x02),
                           char(0xFF)};
}

std::optional<QByteArray> GaugeBusFrame(int gaugeID, int command, double value)
{
    const std::optional<GaugeFrameBytes> frame = GaugeBusFrameBytes(gaugeID, command, value);
    if (!frame)
        return std::nullopt;
    return QByteArray(frame->data(), kGaugeFrameBytes);
}

std::optional<QByteArray> StatusRequestFrame(int gaugeID)
{
    return GaugeBusFrame(gaugeID, kStatusRequestCommand, 0);
}

std::optional<QByteArray> IdentifyFrame(int gaugeID)
{
    if (!isGaugeByte(gaugeID))
        return std::nullopt;
    return bytes({0x00, std::uint8_t(gaugeID), 0x7C, 0x80, 0xAA, 0xFF});
}

std::optional<QByteArray> NewGaugeIDFrame(int currentID, int newID)
{
    if (!isGaugeByte(currentID) || !isGaugeByte(newID))
        return std::nullopt;
    return bytes({0x00, std::uint8_t(currentID), 0x2C, std::uint8_t(newID), 0xAA, 0xFF, 0x20});
}

bool IsWellFramedReply(const QByteArray& reply)
{
    return reply.size() == kGaugeReplyBytes && reply.front() == '\0' && reply.back() == char(0xFF);
}

} // namespace varnet
