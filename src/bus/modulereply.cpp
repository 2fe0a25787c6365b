#include "bus/modulereply.h"

namespace varnet {

namespace {

// Byte n of the reply, counted from 1 as the reply layout counts them.
int byteAt(const QByteArray& reply, int n)
{
    return n >= 1 && n <= reply.size() ? quint8(reply[n - 1]) : 0;
}

constexpr int kFirstSwitchByte = 6;
constexpr int kFirstHighNibbleByte = 13;
constexpr int kFirstLowByte = 17;

} // namespace

ModuleInputs DecodeModuleReply(const QByteArray& reply)
{
    ModuleInputs in;
    in.switches = QByteArray(kModuleReplySwitchBytes, char(0));
    for (int i = 0; i < kModuleReplySwitchBytes; ++i)
        in.switches[i] = char(byteAt(reply, kFirstSwitchByte + i));
    for (int j = 0; j < kModuleReplyChannels / 2; ++j) {
        const int nibbles = byteAt(reply, kFirstHighNibbleByte + j);
        in.channels[std::size_t(2 * j)] = (nibbles >> 4) * 256;
        in.channels[std::size_t(2 * j + 1)] = (nibbles & 0x0F) * 256;
    }
    for (int ch = 0; ch < kModuleReplyChannels; ++ch)
        in.channels[std::size_t(ch)] += byteAt(reply, kFirstLowByte + ch);
    return in;
}

bool ModuleSwitchOn(const QByteArray& switches, int s)
{
    if (s < 0 || s / 8 >= switches.size())
        return false;
    return (quint8(switches[s / 8]) & (0x80 >> (s % 8))) != 0;
}

} // namespace varnet
