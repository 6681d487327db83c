#include "LiteralNextExecution.h"

#include "NextExecutionSearch.h"

#include <algorithm>
#include <limits>

namespace Tempolane::Testing {

namespace {

constexpr std::int64_t minute = 60'000;
constexpr std::int64_t day = 86'400'000;
constexpr std::int64_t julianDayOf1970 = 2'440'588;

std::int64_t floorDivide(std::int64_t value, std::int64_t divisor)
{
    return value / divisor - (value % divisor < 0 ? 1 : 0);
}

bool matches(const ParsedCronSchedule& schedule, int minuteOfHour, int hour, int dayOfMonth,
             int month, int cronWeekday)
{
    if (!schedule.minuteValues.contains(minuteOfHour) || !schedule.hourValues.contains(hour) ||
        !schedule.monthValues.contains(month))
        return false;
    const bool dayOfMonthMatches = schedule.dayOfMonthValues.contains(dayOfMonth);
    const bool weekdayMatches = schedule.weekdayValues.contains(cronWeekday);
    if (schedule.isDayOfMonthUnrestricted || schedule.isWeekdayUnrestricted)
        return dayOfMonthMatches && weekdayMatches;
    return dayOfMonthMatches || weekdayMatches;
}

} // namespace

TransitionTable::TransitionTable(const QTimeZone& zone, int firstYear, int lastYear) : m_zone(zone)
{
    const QDateTime from(QDate(firstYear, 1, 1), QTime(0, 0), Qt::UTC);
    const QDateTime to(QDate(lastYear, 1, 1), QTime(0, 0), Qt::UTC);
    m_initialOffset = zone.offsetFromUtc(from);
    // QTimeZone::transitions() of Qt 6.4 ends with the zone file's table (2037) while the
    // offsets go on by the zone's rule, and nextTransition() finds nothing when asked at the
    // last tabled transition itself; asked a millisecond later it goes on.
    if (!zone.hasTransitions())
        return;
    for (auto transition = zone.nextTransition(from);
         transition.atUtc.isValid() && transition.atUtc < to;) {
        m_transitions.push_back(transition.atUtc.toMSecsSinceEpoch());
        m_offsets.push_back(transition.offsetFromUtc);
        transition = zone.nextTransition(transition.atUtc.addMSecs(1));
    }
}

int TransitionTable::offsetSeconds(std::int64_t instant) const
{
    const auto after = std::upper_bound(m_transitions.cbegin(), m_transitions.cend(), instant);
    if (after == m_transitions.cbegin())
        return m_initialOffset;
    return m_offsets[std::size_t(after - m_transitions.cbegin() - 1)];
}

TransitionTable::Cursor::Cursor(const TransitionTable& table, std::int64_t instant)
    : m_table(table), m_next(std::size_t(std::upper_bound(table.m_transitions.cbegin(),
                                                          table.m_transitions.cend(), instant) -
                                         table.m_transitions.cbegin()))
{
}

int TransitionTable::Cursor::offsetSeconds(std::int64_t instant)
{
    while (m_next < m_table.m_transitions.size() && m_table.m_transitions[m_next] <= instant)
        ++m_next;
    return m_next == 0 ? m_table.m_initialOffset : m_table.m_offsets[m_next - 1];
}

std::optional<std::int64_t> literalNextExecution(const ParsedCronSchedule& schedule,
                                                 std::int64_t reference,
                                                 const TransitionTable& table)
{
    const std::int64_t referenceWallTime =
        reference + std::int64_t{table.offsetSeconds(reference)} * 1000;
    const std::int64_t base =
        reference - (referenceWallTime - floorDivide(referenceWallTime, minute) * minute);
    const std::int64_t horizon = NextExecutionSearch::horizon(base, ZoneOffsets(table.zone()));

    TransitionTable::Cursor offsets(table, base);
    std::int64_t cachedDay = std::numeric_limits<std::int64_t>::min();
    int dayOfMonth = 0;
    int month = 0;
    int cronWeekday = 0;
    for (std::int64_t candidate = base + minute; candidate <= horizon; candidate += minute) {
        const std::int64_t wallTime =
            candidate + std::int64_t{offsets.offsetSeconds(candidate)} * 1000;
        const std::int64_t wallDay = floorDivide(wallTime, day);
        if (wallDay != cachedDay) {
            const QDate date = QDate::fromJulianDay(wallDay + julianDayOf1970);
            dayOfMonth = date.day();
            month = date.month();
            cronWeekday = date.dayOfWeek() % 7;
            cachedDay = wallDay;
        }
        const int minuteOfDay = int((wallTime - wallDay * day) / minute);
        if (matches(schedule, minuteOfDay % 60, minuteOfDay / 60, dayOfMonth, month, cronWeekday))
            return candidate;
    }
    return std::nullopt;
}

std::optional<QDateTime> qDateTimeNextExecution(const ParsedCronSchedule& schedule,
                                                const QDateTime& reference, const QTimeZone& zone)
{
    const QDateTime local = reference.toTimeZone(zone);
    const QDateTime base = local.addMSecs(-(local.time().second() * 1000 + local.time().msec()));
    const QDateTime horizon = QDateTime::fromMSecsSinceEpoch(
        NextExecutionSearch::horizon(base.toMSecsSinceEpoch(), ZoneOffsets(zone)), zone);
    for (QDateTime candidate = base.addSecs(60); candidate <= horizon;
         candidate = candidate.addSecs(60)) {
        const QDate date = candidate.date();
        const QTime time = candidate.time();
        if (matches(schedule, time.minute(), time.hour(), date.day(), date.month(),
                    date.dayOfWeek() % 7))
            return candidate.toUTC();
    }
    return std::nullopt;
}

} // namespace Tempolane::Testing
