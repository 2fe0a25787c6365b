#include "config/numtext.h"

#include <algorithm>
#include <charconv>

namespace varnet {

namespace {

std::string formatGeneral(double value, int significantDigits)
{
    if (value == 0)
        return "0";  // also for -0, which no file should carry
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, significantDigits);
    std::string text(buffer, result.ptr);
    std::replace(text.begin(), text.end(), 'e', 'E');
    return text;
}

} // namespace

std::string formatSingle(float value)
{
    // Rounding the float's exact value to 7 digits gives its shortest
    // round-trip form whenever one with 7 digits or fewer exists.
    return formatGeneral(value, 7);
}

std::string formatDouble(double value)
{
    return formatGeneral(value, 15);
}

std::string strSingle(float value)
{
    const std::string text = formatSingle(value);
    return text.front() == '-' ? text : " " + text;
}

std::string strInteger(long long value)
{
    return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

std::string zeroPadded(long long value, int digits)
{
    std::string magnitude = std::to_string(value < 0 ? -value : value);
    if (int(magnitude.size()) < digits)
        magnitude.insert(0, std::size_t(digits) - magnitude.size(), '0');
    return value < 0 ? "-" + magnitude : magnitude;
}

} // namespace varnet
