#pragma once

// The packets of the UDP link with X-Plane and the byte-order conversions
// they share. Normal byte order is little-endian, reversed is big-endian; it
// applies to the 4-byte group index and to the eight 4-byte values.
//
// The builders are plain functions so that every byte can be checked without
// a socket. A builder that cannot make its packet (a group index or character
// code that does not fit a byte, a value slot outside 0..7, a value that is
// not a finite number, a command line that is not there) returns nothing, and
// nothing is sent.

#include "config/tables.h"

#include <QByteArray>

#include <array>
#include <optional>
#include <string>

namespace varnet {

// The Single whose memory bytes, lowest address first, are b1..b4.
Single BytesToSingle(Byte b1, Byte b2, Byte b3, Byte b4);
// The four memory bytes of a Single, lowest address first.
std::array<Byte, 4> SingleToBytes(Single value);
// The four bytes of v's two's-complement form, least significant first.
QByteArray LongToString4(Long value);

inline constexpr int kDataValues = 8;       // values per DATA record
inline constexpr int kStopAllGroups = 150;  // groups 0..149 are deselected at once
// The values of a DATA record that are not written: X-Plane reads every value
// of a record as a float and leaves the ones holding -999.0 unchanged.
inline constexpr Single kDataFiller = -999.0f;

// "DSEL0" or "USEL0" with one group index: 9 bytes.
QByteArray DselPacket(Byte index, bool reversed);
QByteArray UselPacket(Byte index, bool reversed);
// "USEL0" with the groups 0..149: 605 bytes.
QByteArray StopAllPacket(bool reversed);
// "DATA0", the group and eight floats: 41 bytes. The value in `slot` is
// `value`; the seven others are the filler. Whatever a function's data type,
// this is the only DATA packet there is: X-Plane would read an integer's bit
// pattern as a float near zero.
std::optional<QByteArray> DataFloatPacket(int index, int slot, Single value, bool reversed);
// "CHAR0", the character and the remote address padded with "0": 21 bytes.
std::optional<QByteArray> CharPacket(int code, const std::string& remoteIP);
// "CMND0" and the command of line n ("#n:command" ended by CR LF) of a
// function's command text.
std::optional<QByteArray> CommandPacket(const std::string& commandText, int n);

} // namespace varnet
