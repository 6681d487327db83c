#include "NextExecutionSearch.h"

#include "CivilTime.h"
#include "CronExpression.h"

#include <bit>
#include <limits>

namespace Tempolane {

namespace {

using namespace CivilTime;

constexpr std::uint64_t valuesBetween(int lower, int upper)
{
    return (~std::uint64_t{0} << lower) & (~std::uint64_t{0} >> (63 - upper));
}

// The smallest value of the set from `from` up to `upper`, or -1.
int nextValue(std::uint64_t values, int from, int upper)
{
    if (from > upper)
        return -1;
    const std::uint64_t candidates = values & valuesBetween(from, upper);
    return candidates != 0 ? std::countr_zero(candidates) : -1;
}

// Two calendar years are 730 or 731 days of wall-clock time, and the zone's offsets at either
// end, each less than a day, move the instant by less than two days: the horizon lies between.
constexpr std::int64_t surelyWithinHorizon = 727 * millisecondsPerDay;
constexpr std::int64_t surelyBeyondHorizon = 734 * millisecondsPerDay;

// Far enough from the ends of the 64-bit range that no step below can overflow.
constexpr std::int64_t largestReference = std::numeric_limits<std::int64_t>::max() / 4;

} // namespace

NextExecutionSearch::NextExecutionSearch(const ParsedCronSchedule& schedule, const QTimeZone& zone)
    : m_minutes(schedule.minuteValues.bits() & valuesBetween(0, 59)),
      m_hours(schedule.hourValues.bits() & valuesBetween(0, 23)),
      m_daysOfMonth(schedule.dayOfMonthValues.bits() & valuesBetween(1, 31)),
      m_months(schedule.monthValues.bits() & valuesBetween(1, 12)),
      m_weekdays(schedule.weekdayValues.bits() & valuesBetween(0, 6)),
      // Cron's own rule: a day field written with a "*" base restricts through its values
      // when stepped, so both fields must agree then; either suffices only when neither has one.
      m_requiresBothDayFields(schedule.isDayOfMonthUnrestricted || schedule.isWeekdayUnrestricted),
      m_canMatch(m_minutes != 0 && m_hours != 0 && m_months != 0 &&
                 (m_requiresBothDayFields ? m_daysOfMonth != 0 && m_weekdays != 0
                                          : m_daysOfMonth != 0 || m_weekdays != 0)),
      m_offsets(zone)
{
}

std::optional<QDateTime> NextExecutionSearch::next(const QDateTime& reference) const
{
    if (!reference.isValid())
        return std::nullopt;
    const auto found = next(reference.toMSecsSinceEpoch());
    if (!found)
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(*found, Qt::UTC);
}

// The candidates are the whole minutes after the start of the reference's minute. Between two
// changes of the zone's offset they are consecutive wall-clock minutes, so each stretch of
// constant offset is one search on the wall clock.
std::optional<std::int64_t> NextExecutionSearch::next(std::int64_t reference) const
{
    if (!m_canMatch || !m_offsets.isValid() || reference > largestReference ||
        reference < -largestReference)
        return std::nullopt;

    int offset = m_offsets.offsetSeconds(reference);
    auto change = m_offsets.nextChange(reference);
    const std::int64_t base =
        reference - floorModulo(reference + std::int64_t{offset} * 1000, millisecondsPerMinute);
    const std::int64_t until = base + surelyBeyondHorizon;

    for (std::int64_t candidate = base + millisecondsPerMinute; candidate <= until;) {
        while (change && change->at <= candidate) {
            offset = change->offsetSeconds;
            change = m_offsets.nextChange(change->at);
        }
        const std::int64_t last = change ? std::min(until, change->at - 1) : until;
        const std::int64_t count = floorDivide(last - candidate, millisecondsPerMinute) + 1;
        const std::int64_t firstWallMinute =
            floorDivide(candidate + std::int64_t{offset} * 1000, millisecondsPerMinute);
        if (const auto minute = firstMatchingWallMinute(firstWallMinute, firstWallMinute + count)) {
            const std::int64_t found =
                candidate + (*minute - firstWallMinute) * millisecondsPerMinute;
            // The exact horizon costs more than a typical search, so it is only worked out
            // when needed.
            if (found - base > surelyWithinHorizon && found > horizon(base, m_offsets))
                return std::nullopt;
            return found;
        }
        candidate += count * millisecondsPerMinute;
    }
    return std::nullopt;
}

std::int64_t NextExecutionSearch::horizon(std::int64_t base, const ZoneOffsets& offsets)
{
    const std::int64_t wallTime = base + std::int64_t{offsets.offsetSeconds(base)} * 1000;
    const std::int64_t days = floorDivide(wallTime, millisecondsPerDay);
    const std::int64_t timeOfDay = wallTime - days * millisecondsPerDay;
    const Date later = addingYears(dateFromDays(days), 2);
    return offsets.instantForWallTime(daysFromDate(later) * millisecondsPerDay + timeOfDay);
}

bool NextExecutionSearch::matchesDay(int dayOfMonth, int weekday) const
{
    const bool dayOfMonthMatches = (m_daysOfMonth >> dayOfMonth & 1U) != 0;
    const bool weekdayMatches = (m_weekdays >> weekday & 1U) != 0;
    return m_requiresBothDayFields ? dayOfMonthMatches && weekdayMatches
                                   : dayOfMonthMatches || weekdayMatches;
}

// Wall-clock minutes counted from 1970-01-01 00:00; `until` is excluded.
std::optional<std::int64_t> NextExecutionSearch::firstMatchingWallMinute(std::int64_t from,
                                                                         std::int64_t until) const
{
    std::int64_t minute = from;
    while (minute < until) {
        const std::int64_t days = floorDivide(minute, minutesPerDay);
        const Date date = dateFromDays(days);
        if ((m_months >> date.month & 1U) == 0) {
            std::int64_t year = date.year;
            int month = nextValue(m_months, date.month + 1, 12);
            if (month < 0) {
                ++year;
                month = nextValue(m_months, 1, 12);
            }
            minute = daysFromDate({year, month, 1}) * minutesPerDay;
            continue;
        }

        const int length = daysInMonth(date.year, date.month);
        int day = date.day;
        while (day <= length && !matchesDay(day, weekday(days + day - date.day)))
            ++day;
        if (day != date.day) {
            minute = (days + day - date.day) * minutesPerDay; // possibly the next month's first
            continue;
        }

        const int minuteOfDay = int(minute - days * minutesPerDay);
        const int hour = nextValue(m_hours, minuteOfDay / 60, 23);
        if (hour < 0) {
            minute = (days + 1) * minutesPerDay;
            continue;
        }
        const int minuteOfHour =
            nextValue(m_minutes, hour == minuteOfDay / 60 ? minuteOfDay % 60 : 0, 59);
        if (minuteOfHour < 0) {
            minute = days * minutesPerDay + (hour + 1) * 60;
            continue;
        }
        const std::int64_t found = days * minutesPerDay + hour * 60 + minuteOfHour;
        return found < until ? std::optional(found) : std::nullopt;
    }
    return std::nullopt;
}

namespace CronExpression {

std::optional<QDateTime> nextExecution(const QString& expression, const QDateTime& reference,
                                       const QTimeZone& zone)
{
    const auto schedule = acceptedSchedule(expression);
    if (!schedule)
        return std::nullopt;
    return NextExecutionSearch(*schedule, zone).next(reference);
}

} // namespace CronExpression

} // namespace Tempolane
