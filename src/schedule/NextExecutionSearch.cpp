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
    : NextExecutionSearch(schedule, ZoneOffsets(zone))
{
}

NextExecutionSearch::NextExecutionSearch(const ParsedCronSchedule& schedule, ZoneOffsets offsets)
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
      m_offsets(std::move(offsets))
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

    const int offset = m_offsets.offsetSeconds(reference);
    const std::int64_t base =
        reference - floorModulo(reference + std::int64_t{offset} * 1000, millisecondsPerMinute);
    std::optional<std::int64_t> found;
    forEachStretch(base + millisecondsPerMinute, base + surelyBeyondHorizon,
                   [&](std::int64_t candidate, std::int64_t count, int stretchOffset) {
                       const std::int64_t firstWallMinute = floorDivide(
                           candidate + std::int64_t{stretchOffset} * 1000, millisecondsPerMinute);
                       const auto minute =
                           firstMatchingWallMinute(firstWallMinute, firstWallMinute + count);
                       if (!minute)
                           return true;
                       found = candidate + (*minute - firstWallMinute) * millisecondsPerMinute;
                       return false;
                   });
    // The exact horizon costs more than a typical search, so it is only worked out when needed.
    if (found && *found - base > surelyWithinHorizon && *found > horizon(base, m_offsets))
        return std::nullopt;
    return found;
}

std::int64_t NextExecutionSearch::count(std::int64_t from, std::int64_t until) const
{
    if (!m_canMatch || !m_offsets.isValid() || from >= until || from > largestReference ||
        from < -largestReference || until > largestReference)
        return 0;
    // The first candidate is the first start of a wall-clock minute at or after `from`.
    const int offset = m_offsets.offsetSeconds(from);
    const std::int64_t first =
        from + floorModulo(-(from + std::int64_t{offset} * 1000), millisecondsPerMinute);
    std::int64_t total = 0;
    forEachStretch(
        first, until - 1, [&](std::int64_t candidate, std::int64_t count, int stretchOffset) {
            const std::int64_t firstWallMinute =
                floorDivide(candidate + std::int64_t{stretchOffset} * 1000, millisecondsPerMinute);
            total += matchingWallMinutes(firstWallMinute, firstWallMinute + count);
            return true;
        });
    return total;
}

template <typename Visit>
void NextExecutionSearch::forEachStretch(std::int64_t first, std::int64_t until, Visit visit) const
{
    int offset = m_offsets.offsetSeconds(first);
    auto change = m_offsets.nextChange(first);
    for (std::int64_t candidate = first; candidate <= until;) {
        while (change && change->at <= candidate) {
            offset = change->offsetSeconds;
            change = m_offsets.nextChange(change->at);
        }
        const std::int64_t last = change ? std::min(until, change->at - 1) : until;
        const std::int64_t count = floorDivide(last - candidate, millisecondsPerMinute) + 1;
        if (!visit(candidate, count, offset))
            return;
        candidate += count * millisecondsPerMinute;
    }
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

// Wall-clock minutes counted from 1970-01-01 00:00; `until` is excluded.
std::int64_t NextExecutionSearch::matchingWallMinutes(std::int64_t from, std::int64_t until) const
{
    std::int64_t total = 0;
    std::int64_t minute = from;
    while (minute < until) {
        const std::int64_t days = floorDivide(minute, minutesPerDay);
        const Date date = dateFromDays(days);
        const std::int64_t dayStart = days * minutesPerDay;
        if ((m_months >> date.month & 1U) == 0) {
            const std::int64_t nextMonth = date.month == 12
                                               ? daysFromDate({date.year + 1, 1, 1})
                                               : daysFromDate({date.year, date.month + 1, 1});
            minute = nextMonth * minutesPerDay;
            continue;
        }
        const std::int64_t end = std::min(until, dayStart + minutesPerDay);
        if (matchesDay(date.day, weekday(days))) {
            const int first = int(minute - dayStart);
            const int last = int(end - dayStart) - 1;
            for (int hour = nextValue(m_hours, first / 60, last / 60); hour >= 0;
                 hour = nextValue(m_hours, hour + 1, last / 60)) {
                const int lower = std::max(first, hour * 60) - hour * 60;
                const int upper = std::min(last, hour * 60 + 59) - hour * 60;
                total += std::popcount(m_minutes & valuesBetween(lower, upper));
            }
        }
        minute = end;
    }
    return total;
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
