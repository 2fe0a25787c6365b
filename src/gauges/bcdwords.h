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

// A value typed for a three-digit display.
struct DisplayDigits {
    std::uint16_t packed = 0;  // the digits, the last one in bits 0..3
    int point = 0;             // text position (from 1) of the decimal point; 0 when none
};

// Blanks around it, one to three digits and at most one decimal point after
// the first digit ("12.3", "456", "1.23"); nothing for any other text, whose
// digits would run into the flag bits or say nothing.
std::optional<DisplayDigits> ReadDisplayDigits(const QString& text);

// What is shown to the user when ReadDisplayDigits refuses a text.
QString DisplayValueRule(const QString& what);

// The DME word: the digits, the point after the first or the second digit,
// and both blanking bits when the value is not to be shown.
std::uint16_t DmeDisplayWord(const DisplayDigits& digits, bool show);

// The radio magnetic indicator's DME word: the digits with one bit for any
// point, dashes when not shown, and the bit of the right display.
std::uint16_t RmiDisplayWord(const DisplayDigits& digits, bool show, bool right);

} // namespace varnet
