#include "CronCalendar.h"

namespace Tempolane::CronCalendar {

namespace {

constexpr int leapYear = 2028;

bool matchesDay(const CronJobLine& line, int day, int weekday)
{
    const bool dayMatches = line.valuesOf(CronField::dayOfMonth).contains(day);
    const bool weekdayMatches = line.valuesOf(CronField::weekday).contains(weekday);
    if (line.isDayOfMonthStar || line.isWeekdayStar)
        return dayMatches && weekdayMatches;
    return dayMatches || weekdayMatches;
}

} // namespace

bool matchesDate(const CronJobLine& line, QDate date)
{
    return line.valuesOf(CronField::month).contains(date.month()) &&
           matchesDay(line, date.day(), date.dayOfWeek() % 7);
}

bool matchesTime(const CronJobLine& line, int hour, int minute)
{
    return line.valuesOf(CronField::hour).contains(hour) &&
           line.valuesOf(CronField::minute).contains(minute);
}

bool ever(const CronJobLine& line)
{
    if (line.valuesOf(CronField::minute).isEmpty() || line.valuesOf(CronField::hour).isEmpty())
        return false;
    // Every day of the year falls on every weekday in some year: only whether some day of some
    // month is in the set counts, and whether there is a weekday.
    const bool hasWeekday = !line.valuesOf(CronField::weekday).isEmpty();
    bool hasDay = false;
    for (const int month : line.valuesOf(CronField::month).values()) {
        const int days = QDate(leapYear, month, 1).daysInMonth();
        // Bits 1 … days.
        const std::uint64_t inMonth = ((std::uint64_t{1} << (days + 1)) - 1) & ~std::uint64_t{1};
        hasDay = hasDay || (line.valuesOf(CronField::dayOfMonth).bits() & inMonth) != 0;
        if (!line.isDayOfMonthStar && !line.isWeekdayStar && hasWeekday)
            return true;
    }
    if (line.isDayOfMonthStar || line.isWeekdayStar)
        return hasDay && hasWeekday;
    return hasDay;
}

QList<QDateTime> nextStarts(const CronJobLine& line, const QDateTime& now, const QTimeZone& zone,
                            int count)
{
    QList<QDateTime> starts;
    const QDate today = now.toTimeZone(zone).date();
    for (QDate date = today; date <= today.addYears(2) && starts.size() < count;
         date = date.addDays(1)) {
        if (!matchesDate(line, date))
            continue;
        for (const int hour : line.valuesOf(CronField::hour).values()) {
            for (const int minute : line.valuesOf(CronField::minute).values()) {
                const QDateTime start(date, QTime(hour, minute), zone);
                if (start > now && starts.size() < count)
                    starts.append(start);
            }
        }
    }
    return starts;
}

std::optional<QDateTime> startWithin(const CronJobLine& line, const QDateTime& from,
                                     const QDateTime& until, const QTimeZone& zone)
{
    QDateTime minute = from.toTimeZone(zone);
    minute = minute.addSecs(60 - minute.time().second());
    for (; minute <= until; minute = minute.addSecs(60)) {
        if (matchesDate(line, minute.date()) &&
            matchesTime(line, minute.time().hour(), minute.time().minute()))
            return minute;
    }
    return std::nullopt;
}

} // namespace Tempolane::CronCalendar
