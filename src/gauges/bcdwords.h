#pragma once

// Display words of the seven-segment displays on the gauge bus: a typed
// value's digits in packed BCD, four bits each with the last digit lowest,
// and the flags of the display in the bits above them. The DME indicator,
// the DME displays of the radio magnetic indicator and the DME module send
// their test values this way. The flags are set with a bitwise or, so a flag
// that is already set never carries into the bit above it.

#include <QString>

#include <cstdint>
#include <optional>

namespace varnet {

// Flags of the DME word (DME indicator and DME module).
inline constexpr std::uint16_t kPointAfterFirstDigit = 0x4000;
inline constexpr std::uint16_t kPointAfterSecondDigit = 0x2000;
inline constexpr std::uint16_t kDisplayBlank = 0x3000;

// Flags of the radio magnetic indicator's DME display word.
inline constexpr std::uint16_t kRmiPoint = 0x2000;
inline constexpr std::uint16_t kRmiRightDisplay = 0x4000;
inline constexpr std::uint16_t kRmiDashes = 0x0AAA;

// A value typed for a display, read character by character as the
// displays' own rule has it: a character whose code has 0..9 in its low four
// bits is that digit (so a blank is a 0), any other is a separator.
struct DisplayDigits {
    std::uint16_t packed = 0;  // the digits, the last one in bits 0..3, kept to 16 bits
    int separator = 0;         // text position (from 1) of the last separator; 0 when none
    bool digitLost = false;    // a digit other than 0 was pushed out of the 16 bits
};

DisplayDigits ReadDisplayDigits(const QString& text);

// The DME word: the digits, a separator after the first or the second digit,
// and both blanking bits when the value is not to be shown. Nothing when the
// digits would run into the flag bits (a fourth digit other than 0).
std::optional<std::uint16_t> DmeDisplayWord(const DisplayDigits& digits, bool show);
// What is shown to the user when DmeDisplayWord refuses a text.
QString DisplayValueRule(const QString& what);

// The radio magnetic indicator's DME word: the digits with one bit for any
// separator, dashes when not shown, and the bit of the right display.
// Nothing when a shown value's digits would set the point or display bit.
std::optional<std::uint16_t> RmiDisplayWord(const DisplayDigits& digits, bool show, bool right);
QString RmiValueRule(const QString& what);

} // namespace varnet
