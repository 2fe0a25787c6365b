#pragma once

// The value encodings of the avionics modules, as plain functions: COM/NAV
// and ADF frequencies, transponder codes, and the digits modules send back
// as nibbles. Every reader returns nothing for text it cannot take; the
// dialogs then say why and send nothing.

#include <QString>

#include <optional>

namespace varnet {

// ---- COM and NAV frequencies: whole kilohertz, shown "121,000".

// The word a COM/NAV box sends: its whole number ("," as thousands
// separator accepted), less 100000 above 100000. Nothing when the text is
// not a whole number or the word would not fit 16 bits.
std::optional<int> ComNavWord(const QString& text);
// A frequency read back: the 16-bit reply value plus 100000, as "121,000".
QString ComNavText(int replyWord);
// A frequency in kHz as a box shows it ("118,000").
QString KilohertzText(long long kilohertz);

// ---- ADF frequencies: kilohertz with one decimal, shown "850.5".

// Ten times the number, rounded; nothing when it is not a number or does
// not fit 16 bits.
std::optional<int> AdfWord(const QString& text);
// A frequency read back: the reply value / 10, "000.0" ("1700.0" above 999.9).
QString AdfText(int replyWord);

// ---- Transponder codes: four digits 0..7.

inline constexpr const char* kCodeNotFourDigits = "Transponder Code must be 4 digits";
inline constexpr const char* kCodeNotOctal = "Transponder code must be four numbers 0 -7";

enum class CodePacking { Octal, Nibbles };

// The code's value: three bits a digit (0..4095) or a nibble a digit
// (0x1200 for "1200"). Shows the rule and returns nothing for a bad code.
std::optional<int> TransponderWord(const QString& code, CodePacking packing);
// Four digits from two reply bytes, a nibble each, high nibble first.
QString NibbleDigits(int firstByte, int secondByte);

} // namespace varnet
