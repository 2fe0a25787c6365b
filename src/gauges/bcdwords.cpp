#include "gauges/bcdwords.h"

namespace varnet {

namespace {

constexpr int kDisplayDigits = 3;

} // namespace

std::optional<DisplayDigits> ReadDisplayDigits(const QString& text)
{
    const QString value = text.trimmed();
    DisplayDigits digits;
    int count = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c >= u'0' && c <= u'9') {
            if (++count > kDisplayDigits)
                return std::nullopt;
            digits.packed = std::uint16_t((digits.packed << 4) | (c.unicode() - u'0'));
        } else if (c == u'.' && digits.point == 0 && count > 0) {
            digits.point = int(i) + 1;
        } else {
            return std::nullopt;
        }
    }
    if (count == 0)
        return std::nullopt;
    return digits;
}

QString DisplayValueRule(const QString& what)
{
    return QStringLiteral("The %1 must be a number of one to three digits with at most one decimal point")
        .arg(what);
}

std::uint16_t DmeDisplayWord(const DisplayDigits& digits, bool show)
{
    std::uint16_t word = digits.packed;
    if (digits.point == 2)
        word |= kPointAfterFirstDigit;
    else if (digits.point == 3)
        word |= kPointAfterSecondDigit;
    if (!show)
        word |= kDisplayBlank;
    return word;
}

std::uint16_t RmiDisplayWord(const DisplayDigits& digits, bool show, bool right)
{
    std::uint16_t word = show ? std::uint16_t(digits.packed | (digits.point ? kRmiPoint : 0)) : kRmiDashes;
    if (right)
        word |= kRmiRightDisplay;
    return word;
}

} // namespace varnet
