#include "gauges/timewords.h"

#include "bus/gaugeframes.h"
#include "gauges/dialogkit.h"
#include "platform/messages.h"

#include <QComboBox>

#include <cmath>
#include <cstdint>

namespace varnet {

namespace {

std::optional<int> wholeIn(const QString& text, int maximum)
{
    const std::optional<double> value = StrictNumber(text);
    if (!value || *value < 0 || *value > maximum || *value != std::floor(*value))
        return std::nullopt;
    return int(*value);
}

} // namespace

int SecondsOfDay(const QTime& time)
{
    return time.hour() * 3600 + time.minute() * 60 + time.second();
}

int TimeWordValue(int seconds)
{
    return seconds > kMaxFrameMagnitude ? kMaxFrameMagnitude - seconds : seconds;
}

int DateWord(const QDate& date)
{
    const auto word = std::uint16_t(((date.year() - 2000) & 63) << 10 | (date.month() & 15) << 6 | (date.day() & 31));
    return std::int16_t(word);
}

std::optional<int> ReadTimeOfDay(const QString& hours, const QString& minutes, const QString& seconds,
                                 const QString& rule)
{
    const std::optional<int> h = wholeIn(hours, 23);
    const std::optional<int> m = wholeIn(minutes, 59);
    const std::optional<int> s = wholeIn(seconds, 59);
    if (!h || !m || !s) {
        messages().ok(rule);
        return std::nullopt;
    }
    return *h * 3600 + *m * 60 + *s;
}

GaugeRecord ClockAssignment(int optionWord)
{
    GaugeRecord r;
    r.category1 = 8;
    r.function1 = 10;
    r.seqNr1 = 1;
    r.plate1 = optionWord;
    return r;
}

void ShowSyncMode(QComboBox* list, int stored)
{
    const int mode = stored & 15;
    list->setCurrentIndex(mode < list->count() ? mode : -1);
}

int AppliedSyncMode(const QComboBox* list, int stored)
{
    return list->currentIndex() >= 0 ? list->currentIndex() : stored;
}

} // namespace varnet
