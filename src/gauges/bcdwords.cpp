#include "gauges/bcdwords.h"

namespace varnet {

namespace {

constexpr std::uint16_t kDmeDigitBits = 0x0FFF;
constexpr std::uint16_t kRmiFlagBits = kRmiPoint | kRmiRightDisplay;

} // namespace

DisplayDigits ReadDisplayDigits(const QString& text)
{
    DisplayDigits digits;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int value = text.at(i).unicode() & 15;
        if (value <= 9) {
            digits.digitLost = digits.digitLost || (digits.packed >> 12) != 0;
            digits.packed = std::uint16_t((digits.packed << 4) | value);
        } else {
            digits.separator = int(i) + 1;
        }
    }
    return digits;
}

QString DisplayValueRule(const QString& what)
{
    return QStringLiteral("The %1 must have at most three digits after any leading zeros or blanks").arg(what);
}

QString RmiValueRule(const QString& what)
{
    return QStringLiteral("The %1 must have at most three digits after any leading zeros or blanks, "
                          "or four beginning with 1, 8 or 9")
        .arg(what);
}

std::optional<std::uint16_t> DmeDisplayWord(const DisplayDigits& digits, bool show)
{
    if (digits.digitLost || (digits.packed & ~kDmeDigitBits) != 0)
        return std::nullopt;
    std::uint16_t word = digits.packed;
    if (digits.separator == 2)
        word |= kPointAfterFirstDigit;
    else if (digits.separator == 3)
        word |= kPointAfterSecondDigit;
    if (!show)
        word |= kDisplayBlank;
    return word;
}

std::optional<std::uint16_t> RmiDisplayWord(const DisplayDigits& digits, bool show, bool right)
{
    if (show && (digits.digitLost || (digits.packed & kRmiFlagBits) != 0))
        return std::nullopt;
    std::uint16_t word = show ? std::uint16_t(digits.packed | (digits.separator ? kRmiPoint : 0)) : kRmiDashes;
    if (right)
        word |= kRmiRightDisplay;
    return word;
}

} // namespace varnet
