#pragma once

#include "ScheduleFrequency.h"
#include "Symbol.h"
#include "VisualSchedule.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QTime>
#include <set>

namespace Tempolane::VisualScheduleChoices {

// The intervals the job editor offers for every-N-minutes schedules.
QList<int> offeredMinuteIntervals();

// The offered intervals, plus the current one in its place when it is not offered: a schedule
// read as "*/7" keeps showing 7 until the user picks another.
QList<int> minuteIntervalEntries(const QList<int>& offered, int current);
QString minuteIntervalTitle(int interval);

Symbol frequencySymbol(ScheduleFrequency frequency);

// Which rows of the form a frequency uses.
struct Rows
{
    bool interval = false;
    bool startMinute = false;
    bool time = false;
    bool weekdays = false;
    bool dayOfMonth = false;
};
Rows rowsFor(ScheduleFrequency frequency);

inline constexpr int lastMinute = 59;
inline constexpr int firstDayOfMonth = 1;
inline constexpr int lastDayOfMonth = 31;
// The steppers read "Minute 30" and "15. Tag".
QString startMinutePrefix();
QString dayOfMonthPrefix();
QString dayOfMonthSuffix();

// Weekdays in the order the buttons stand, Sunday first.
QList<int> weekdayOrder();
QString weekdayShortLabel(int weekday);
QString weekdayName(int weekday);

// Adds a day that is not selected; removes a selected one only while another stays selected,
// so the form never empties the set.
std::set<int> toggledWeekday(const std::set<int>& weekdays, int weekday);

// How the time picker writes a time of day: the locale's short form (24 or 12 hours), without
// the seconds some locales keep in it, since the schedule has none.
QString timeOfDayFormat(const QLocale& locale);

// The hour and minute of a picked time; an invalid time changes nothing.
VisualSchedule withTime(VisualSchedule schedule, QTime time);

} // namespace Tempolane::VisualScheduleChoices
