#include "gauges/radiocodecs.h"

#include "bus/gaugeframes.h"
#include "gauges/dialogkit.h"
#include "platform/messages.h"

#include <cmath>

namespace varnet {

namespace {

constexpr long long kComNavBase = 100000;

std::optional<int> asWord(double value)
{
    if (!std::isfinite(value) || value < 0 || value > kMaxFrameMagnitude)
        return std::nullopt;
    return int(value);
}

} // namespace

std::optional<int> ComNavWord(const QString& text)
{
    QString digits = text.trimmed();
    // "121,000": the comma separates thousands, as the boxes show it.
    digits.remove(u',');
    bool ok = false;
    const long long kilohertz = digits.toLongLong(&ok);
    if (!ok || digits.startsWith(u'+'))
        return std::nullopt;
    return asWord(double(kilohertz > kComNavBase ? kilohertz - kComNavBase : kilohertz));
}

QString KilohertzText(long long kilohertz)
{
    const QString digits = QStringLiteral("%1").arg(kilohertz, 6, 10, QLatin1Char('0'));
    return digits.left(digits.size() - 3) + u',' + digits.right(3);
}

QString ComNavText(int replyWord)
{
    return KilohertzText(kComNavBase + replyWord);
}

std::optional<int> AdfWord(const QString& text)
{
    const std::optional<double> value = StrictNumber(text);
    if (!value)
        return std::nullopt;
    return asWord(double(RoundHalfEven(*value * 10)));
}

QString AdfText(int replyWord)
{
    const int whole = replyWord / 10;
    return QStringLiteral("%1.%2").arg(whole, 3, 10, QLatin1Char('0')).arg(replyWord % 10);
}

std::optional<int> TransponderWord(const QString& code, CodePacking packing)
{
    if (code.size() != 4) {
        messages().ok(QString::fromLatin1(kCodeNotFourDigits));
        return std::nullopt;
    }
    const int shift = packing == CodePacking::Octal ? 3 : 4;
    int word = 0;
    for (QChar c : code) {
        if (c < u'0' || c > u'7') {
            messages().ok(QString::fromLatin1(kCodeNotOctal));
            return std::nullopt;
        }
        word = (word << shift) + (c.unicode() - u'0');
    }
    return word;
}

QString NibbleDigits(int firstByte, int secondByte)
{
    QString digits;
    for (int nibble : {firstByte >> 4, firstByte & 15, secondByte >> 4, secondByte & 15})
        digits += QChar(u'0' + nibble);
    return digits;
}

} // namespace varnet
