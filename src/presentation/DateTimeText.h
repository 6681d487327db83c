#pragma once

#include "Language.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTimeZone>

namespace Tempolane::DateTimeText {

// Day, abbreviated month, hour and minute as the locale writes them ("7. Dez., 09:30" in
// German; a 12-hour clock where the locale prefers one), in the given zone.
QString shortDateTime(const QDateTime& instant, const QLocale& locale = QLocale(),
                      const QTimeZone& zone = QTimeZone::systemTimeZone());

// The time of day as the locale writes it ("09:30" in German, "9:30 AM" in American English).
QString timeOfDay(const QDateTime& instant, const QLocale& locale = QLocale(),
                  const QTimeZone& zone = QTimeZone::systemTimeZone());

// The abbreviated weekday and the day of the month ("Di., 3." in German).
QString weekdayAndDay(const QDateTime& instant, const QLocale& locale = QLocale(),
                      const QTimeZone& zone = QTimeZone::systemTimeZone());

// The full date with the year and the time to the second ("7. Dez. 2025, 09:30:05" in German),
// for moments that may lie years back and a few seconds apart.
QString dateTimeWithSeconds(const QDateTime& instant, const QLocale& locale = QLocale(),
                            const QTimeZone& zone = QTimeZone::systemTimeZone());

// Relative time in the largest unit that fits, rounded down, in the language the texts are
// shown in: "jetzt", "vor 5 Minuten", "gestern", "vor 2 Wochen", "in 3 Stunden".
QString relativeTime(const QDateTime& instant, const QDateTime& now,
                     const QLocale& locale = Language::shown().locale);

} // namespace Tempolane::DateTimeText
