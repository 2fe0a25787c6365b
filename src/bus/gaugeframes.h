#pragma once

// The bytes of the gauge bus. A command frame is six bytes: 0x00, the
// GaugeID, the command with its flags, the low and the high byte of the
// value's magnitude, 0xFF. The receiver finds a frame by its leading 0x00,
// so no other byte of a frame may be 0x00: bit 0 of the low byte and bit 1
// of the high byte travel in the command byte, and both data bytes have
// those bits forced to 1 instead. A gauge answers with a 25-byte reply:
// 0x00, its GaugeID, its type code, 21 bytes of payload, 0xFF.

#include <QByteArray>

#include <array>
#include <optional>

namespace varnet {

inline constexpr int kGaugeFrameBytes = 6;
inline constexpr int kGaugeReplyBytes = 25;
// Receive unit of the stand-alone engine cluster.
inline constexpr int kEngineClusterReplyBytes = 16;
// The largest magnitude a frame carries; larger values are sent as this.
inline constexpr int kMaxFrameMagnitude = 65535;
// Bus address of a stand-alone I/O module on its own port.
inline constexpr int kStandAloneModuleAddress = 10;
// The command that asks a gauge for its 25-byte reply (with value 0).
inline constexpr int kStatusRequestCommand = 7;
// During a run every frame of a tick's output is preceded by this byte.
inline constexpr char kRunFramePrefix = char(0xFF);

// The command frame of `command` with `value` for `gaugeID`. The magnitude
// is rounded to the nearest whole number, halves to even, and limited to
// 65535; the sign travels in the command byte (-0.4 is sent as a negative
// zero). Only the low four bits of the command fit. Nothing comes back when
// the frame cannot be built: a GaugeID outside 0..255 or a value that is no
// number.
std::optional<QByteArray> GaugeBusFrame(int gaugeID, int command, double value);
// The same frame in place, without a heap allocation: the run builds one
// per changing value on every tick.
using GaugeFrameBytes = std::array<char, kGaugeFrameBytes>;
std::optional<GaugeFrameBytes> GaugeBusFrameBytes(int gaugeID, int command, double value);

// Command 7 with value 0: 0x00, GaugeID, 0x78, 0x01, 0x02, 0xFF.
std::optional<QByteArray> StatusRequestFrame(int gaugeID);

// The bus search's question "what are you": 0x00, GaugeID, 0x7C, 0x80,
// 0xAA, 0xFF. It is a fixed pattern, not an encoded value.
std::optional<QByteArray> IdentifyFrame(int gaugeID);

// Moves the gauge at `currentID` to `newID`: 0x00, current, 0x2C, new, 0xAA,
// 0xFF and a trailing blank; all seven bytes go out. Both IDs must be 0..255.
std::optional<QByteArray> NewGaugeIDFrame(int currentID, int newID);

// A gauge reply as the bus delivers it whole: 25 bytes, 0x00 first, 0xFF last.
bool IsWellFramedReply(const QByteArray& reply);

} // namespace varnet
