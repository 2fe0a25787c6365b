#pragma once

// Numbers as the windows read them from their text boxes: "." is the
// decimal separator whatever the locale, and an exponent may follow ("1E3").

#include <optional>
#include <string_view>

namespace varnet {

// The number the text begins with, after leading blanks: an optional sign,
// digits with an optional "." and fraction (or a fraction alone, ".5"), an
// optional exponent. Whatever follows is ignored, so "12 mS" reads 12.
// Nothing when the text does not begin with a number, or begins with one
// beyond a double's range.
std::optional<double> leadingNumber(std::string_view text);

// The lenient reading of a typed number: leadingNumber, 0 when the text
// does not begin with a number. A number beyond a double's range reads as
// +-infinity when too large (0 when too small), so that the range check that
// follows refuses it instead of taking it for 0.
double lenientNumber(std::string_view text);

// The whole text as a number, blanks around it allowed; nothing for an empty
// text, one that holds anything else, or a number too large for a double.
std::optional<double> parseNumber(std::string_view text);

// parseNumber, when the value fits a Single.
std::optional<float> parseSingle(std::string_view text);

// parseNumber, when the value is a whole number from `low` to `high`.
std::optional<int> parseWholeNumber(std::string_view text, int low, int high);

// A UDP port, typed or stored: the whole text, blanks around it allowed, a
// number of digits from 1 to 65535 (0 would bind a port chosen at random, so
// X-Plane's data would never arrive); nothing otherwise.
std::optional<int> udpPort(std::string_view text);
inline constexpr const char* kUdpPortRule = "A UDP port must be a number between 1 and 65535";

} // namespace varnet
