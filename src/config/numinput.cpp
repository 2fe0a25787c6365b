#include "config/numinput.h"

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <string>

namespace varnet {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Length of the number at the start of `text` (0 when there is none).
std::size_t numberLength(std::string_view text)
{
    std::size_t p = 0;
    if (p < text.size() && (text[p] == '+' || text[p] == '-'))
        ++p;
    std::size_t digits = 0;
    while (p < text.size() && isDigit(text[p]))
        ++p, ++digits;
    if (p < text.size() && text[p] == '.') {
        ++p;
        while (p < text.size() && isDigit(text[p]))
            ++p, ++digits;
    }
    if (digits == 0)
        return 0;
    // An exponent counts only when digits follow it: "2E" reads 2.
    if (p < text.size() && (text[p] == 'e' || text[p] == 'E')) {
        std::size_t q = p + 1;
        if (q < text.size() && (text[q] == '+' || text[q] == '-'))
            ++q;
        if (q < text.size() && isDigit(text[q])) {
            while (q < text.size() && isDigit(text[q]))
                ++q;
            p = q;
        }
    }
    return p;
}

std::string_view skipBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

std::string_view trimBlanks(std::string_view text)
{
    text = skipBlanks(text);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<double> convert(std::string_view number)
{
    // from_chars takes no leading "+".
    std::string text(number);
    if (!text.empty() && text.front() == '+')
        text.erase(0, 1);
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The value of a number text that from_chars finds out of range: it lies
// either far above DBL_MAX or far below the smallest subnormal, so the
// decimal order of its first significant digit tells which.
double outOfRange(std::string_view number)
{
    const bool negative = !number.empty() && number.front() == '-';
    std::size_t p = (!number.empty() && (number.front() == '-' || number.front() == '+')) ? 1 : 0;
    long long order = 0;
    bool significant = false;
    for (; p < number.size() && isDigit(number[p]); ++p)
        if (significant || number[p] != '0')
            significant = true, ++order;
    if (p < number.size() && number[p] == '.')
        for (++p; p < number.size() && isDigit(number[p]); ++p) {
            if (number[p] != '0')
                significant = true;
            if (!significant)
                --order;
        }
    long long exponent = 0;
    if (p < number.size() && (number[p] == 'e' || number[p] == 'E')) {
        ++p;
        const bool down = p < number.size() && number[p] == '-';
        if (p < number.size() && (number[p] == '-' || number[p] == '+'))
            ++p;
        for (; p < number.size() && isDigit(number[p]); ++p)
            exponent = std::min(exponent * 10 + (number[p] - '0'), 1'000'000LL);
        exponent = down ? -exponent : exponent;
    }
    if (!significant || order + exponent <= 0)
        return negative ? -0.0 : 0.0;
    return negative ? -HUGE_VAL : HUGE_VAL;
}

} // namespace

double lenientNumber(std::string_view text)
{
    text = skipBlanks(text);
    const std::size_t length = numberLength(text);
    if (length == 0)
        return 0;
    const std::string_view number = text.substr(0, length);
    if (const std::optional<double> value = convert(number))
        return *value;
    return outOfRange(number);
}

std::optional<double> leadingNumber(std::string_view text)
{
    text = skipBlanks(text);
    const std::size_t length = numberLength(text);
    if (length == 0)
        return std::nullopt;
    return convert(text.substr(0, length));
}

std::optional<double> parseNumber(std::string_view text)
{
    text = trimBlanks(text);
    const std::size_t length = numberLength(text);
    if (length == 0 || length != text.size())
        return std::nullopt;
    return convert(text);
}

std::optional<int> udpPort(std::string_view text)
{
    text = trimBlanks(text);
    int port = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (text.empty() || text.front() == '-' || error != std::errc() || end != text.data() + text.size() || port < 1 ||
        port > 65535)
        return std::nullopt;
    return port;
}

std::optional<float> parseSingle(std::string_view text)
{
    const std::optional<double> value = parseNumber(text);
    if (!value || std::fabs(*value) > FLT_MAX)
        return std::nullopt;
    return float(*value);
}

std::optional<int> parseWholeNumber(std::string_view text, int low, int high)
{
    const std::optional<double> value = parseNumber(text);
    if (!value || *value != std::floor(*value) || *value < low || *value > high)
        return std::nullopt;
    return int(*value);
}

} // namespace varnet
