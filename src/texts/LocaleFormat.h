#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTimeZone>

namespace Tempolane::LocaleFormat {

// An instant with the fields an ICU skeleton names, in the order, words and clock of the
// locale ("dMMMjmm": day, abbreviated month, hour and minute, "j" a 12-hour clock where the
// locale keeps one), on the zone's wall clock. Where ICU has no format, Qt's short one.
QString dateTime(const char16_t* skeleton, const QDateTime& instant, const QLocale& locale,
                 const QTimeZone& zone);

// A time of day alone: "9:30 AM" or "09:30", as the locale keeps its clock.
QString timeOfDay(int hour, int minute, const QLocale& locale);

// A number as the ordinal the locale's language writes: "1st", "22nd" in English.
QString ordinal(int number, const QLocale& locale);

} // namespace Tempolane::LocaleFormat
