#pragma once

// The time and date words of the clocks on the gauge bus. A frame carries a
// magnitude of at most 65535 with a sign flag, so the clocks read a
// negative value as "65535 more": seconds of the day above 65535 travel as
// 65535 - s, and the date word, a 16-bit pattern, travels as its signed
// reading once the year sets its top bit.

#include "gauges/dialogkit.h"

#include <QDate>
#include <QString>
#include <QTime>

#include <optional>

class QComboBox;

namespace varnet {

// h * 3600 + m * 60 + s, 0..86399.
int SecondsOfDay(const QTime& time);

// The value that carries `seconds` (0..86399) to a clock: up to 65535 as it
// is, above as 65535 - seconds (-1..-20864).
int TimeWordValue(int seconds);

// Bits 10..15 the year since 2000, bits 6..9 the month, bits 0..4 the day,
// read as a signed 16-bit number (negative from the year 2032 on).
int DateWord(const QDate& date);

// A time typed as hours, minutes and seconds: whole numbers 0..23, 0..59
// and 0..59. Otherwise `rule` is shown and nothing is returned.
std::optional<int> ReadTimeOfDay(const QString& hours, const QString& minutes, const QString& seconds,
                                 const QString& rule);

// ---- What both clock dialogs share ----------------------------------------

// Command 8 of the clocks: 64 for the backlight, 0x80 for the display; the
// light off is 0, not the frame's 15.
inline int ClockLightWord(bool lightOn, bool displayOn)
{
    return (lightOn ? kLampOn : 0) + (displayOn ? kDisplaysOn : 0);
}

// Both clocks stand for the fixed function 10 in category 8 ("Position"),
// data pair 1, with their option word in plate 1.
inline constexpr FieldSet kClockAssignmentFields = Field::Needle1;
GaugeRecord ClockAssignment(int optionWord);

// Selects the stored synchronisation mode (the low four bits of `stored`)
// in the clock's list; a mode the list cannot show leaves it unselected.
void ShowSyncMode(QComboBox* list, int stored);
// The mode Apply stores: the list position, or `stored` while nothing is
// selected, so that a mode this dialog cannot show is kept.
int AppliedSyncMode(const QComboBox* list, int stored);

} // namespace varnet
