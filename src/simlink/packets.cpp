#include "simlink/packets.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace varnet {

namespace {

constexpr int kHeadSize = 5;  // "DATA0", "DSEL0", ...

// The four bytes of a 32-bit word in the link's byte order.
void appendWord(QByteArray& packet, std::uint32_t word, bool reversed)
{
    for (int k = 0; k < 4; ++k) {
        const int shift = reversed ? 8 * (3 - k) : 8 * k;
        packet.append(char((word >> shift) & 0xFF));
    }
}

QByteArray selectPacket(const char* head, Byte index, bool reversed)
{
    QByteArray packet(head, kHeadSize);
    appendWord(packet, index, reversed);
    return packet;
}

} // namespace

Single BytesToSingle(Byte b1, Byte b2, Byte b3, Byte b4)
{
    return std::bit_cast<Single>(std::uint32_t(b1) | std::uint32_t(b2) << 8 | std::uint32_t(b3) << 16 |
                                 std::uint32_t(b4) << 24);
}

std::array<Byte, 4> SingleToBytes(Single value)
{
    const auto word = std::bit_cast<std::uint32_t>(value);
    return {Byte(word), Byte(word >> 8), Byte(word >> 16), Byte(word >> 24)};
}

QByteArray LongToString4(Long value)
{
    QByteArray bytes;
    appendWord(bytes, std::uint32_t(value), false);
    return bytes;
}

QByteArray DselPacket(Byte index, bool reversed)
{
    return selectPacket("DSEL0", index, reversed);
}

QByteArray UselPacket(Byte index, bool reversed)
{
    return selectPacket("USEL0", index, reversed);
}

QByteArray StopAllPacket(bool reversed)
{
    QByteArray packet("USEL0", kHeadSize);
    for (int group = 0; group < kStopAllGroups; ++group)
        appendWord(packet, std::uint32_t(group), reversed);
    return packet;
}

std::optional<QByteArray> DataFloatPacket(int index, int slot, Single value, bool reversed)
{
    // X-Plane would take a NaN or an infinity at face value.
    if (!std::isfinite(value) || index < 0 || index > 255 || slot < 0 || slot >= kDataValues)
        return std::nullopt;
    QByteArray packet("DATA0", kHeadSize);
    appendWord(packet, std::uint32_t(index), reversed);
    for (int j = 0; j < kDataValues; ++j)
        appendWord(packet, std::bit_cast<std::uint32_t>(j == slot ? value : kDataFiller), reversed);
    return packet;
}

std::optional<QByteArray> CharPacket(int code, const std::string& remoteIP)
{
    if (code < 0 || code > 255)
        return std::nullopt;
    QByteArray packet("CHAR0g000000000000000");
    packet[kHeadSize] = char(code);
    const auto address = QByteArray::fromStdString(remoteIP).left(15);
    packet.replace(kHeadSize + 1, address.size(), address);
    return packet;
}

std::optional<QByteArray> CommandPacket(const std::string& commandText, int n)
{
    if (n < 0 || n > 9)
        return std::nullopt;
    const std::string key = "#" + std::to_string(n) + ":";
    const auto start = commandText.find(key);
    if (start == std::string::npos)
        return std::nullopt;
    const auto commandStart = start + key.size();
    const auto end = commandText.find("\r\n", commandStart);
    if (end == std::string::npos)
        return std::nullopt;
    return QByteArray("CMND0") + QByteArray::fromStdString(commandText.substr(commandStart, end - commandStart));
}

} // namespace varnet
