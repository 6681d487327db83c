#pragma once

#include "DescribedSchedule.h"

#include <QLocale>
#include <QString>
#include <QStringList>

namespace Tempolane {

// How a schedule reads in one language: each language phrases the same model with a grammar
// of its own. German is the program's own; every other language reads English until it gets a
// grammar here.
namespace GermanScheduleWording {

// "Täglich um 09:00", "Montag und Freitag um 07:30", "Individueller Zeitplan".
QString sentence(const DescribedSchedule& schedule);
// "Jede Minute", "Alle 5 Minuten".
QString minuteInterval(int interval);
// "Sonntag" … "Samstag", indexed 0 = Sunday … 6 = Saturday.
QStringList weekdayNames();

} // namespace GermanScheduleWording

namespace EnglishScheduleWording {

// "Every day at 9:00 AM" (en_US) or "at 09:00" (en_GB), "Monday to Friday at 08:30",
// "On the 1st of every month at 14:15", "Custom schedule". The locale writes the time, the
// date of a year and the list.
QString sentence(const DescribedSchedule& schedule, const QLocale& locale);
// "Every minute", "Every 5 minutes".
QString minuteInterval(int interval);
// "Sunday" … "Saturday", indexed 0 = Sunday … 6 = Saturday.
QStringList weekdayNames();

} // namespace EnglishScheduleWording

} // namespace Tempolane
