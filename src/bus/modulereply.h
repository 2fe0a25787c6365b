#pragma once

// What an I/O module reports in its 25-byte reply, on the gauge bus (type 10)
// and on its own COM port alike: 48 switch bits in bytes 6..11 and eight
// 12-bit analogue channels (the high nibbles two to a byte in bytes 13..16,
// the low bytes in 17..24).

#include <QByteArray>

#include <array>

namespace varnet {

inline constexpr int kModuleReplySwitchBytes = 6;
inline constexpr int kModuleReplyChannels = 8;

struct ModuleInputs {
    // Byte 0 bit 7 is switch 0, bit 0 switch 7; byte 1 bit 7 switch 8 ...
    QByteArray switches;
    std::array<int, kModuleReplyChannels> channels{};  // 0..4095
};

// The inputs a whole reply carries; a shorter input gives what it holds
// (missing bytes count as 0).
ModuleInputs DecodeModuleReply(const QByteArray& reply);

// Whether switch s (0..47) is on in the switch bytes of a reply.
bool ModuleSwitchOn(const QByteArray& switches, int s);

} // namespace varnet
