#pragma once

#include "ParsedCronSchedule.h"
#include "ZoneOffsets.h"

#include <QDateTime>
#include <QTimeZone>
#include <cstdint>
#include <optional>

namespace Tempolane {

// The first whole minute after a reference minute at which a schedule matches on the
// wall clock of a time zone, within two calendar years. It gives exactly what stepping
// through the instants one minute at a time would give, daylight-saving changes included,
// but skips months, days and hours in which nothing can match.
class NextExecutionSearch final
{
public:
    NextExecutionSearch(const ParsedCronSchedule& schedule, const QTimeZone& zone);
    // Many searches in one zone share its offsets, which cost more to work out than a search.
    NextExecutionSearch(const ParsedCronSchedule& schedule, ZoneOffsets offsets);

    // An instant in UTC, or nothing.
    std::optional<QDateTime> next(const QDateTime& reference) const;
    std::optional<std::int64_t> next(std::int64_t reference) const;

    // How many runs `next` would step through from `from` (included) to `until` (excluded),
    // counted without stepping: a schedule that runs every minute costs no more than a daily one.
    std::int64_t count(std::int64_t from, std::int64_t until) const;

    // The same wall-clock time two calendar years after the base (the start of the
    // reference's minute); later candidates are not searched.
    static std::int64_t horizon(std::int64_t base, const ZoneOffsets& offsets);

private:
    bool matchesDay(int dayOfMonth, int weekday) const;
    std::optional<std::int64_t> firstMatchingWallMinute(std::int64_t from,
                                                        std::int64_t until) const;
    std::int64_t matchingWallMinutes(std::int64_t from, std::int64_t until) const;
    // Calls `visit(firstCandidate, candidateCount, offsetSeconds)` for each stretch of constant
    // offset from `first` on, until it returns false or `until` (included) is passed.
    template <typename Visit>
    void forEachStretch(std::int64_t first, std::int64_t until, Visit visit) const;

    std::uint64_t m_minutes;
    std::uint64_t m_hours;
    std::uint64_t m_daysOfMonth;
    std::uint64_t m_months;
    std::uint64_t m_weekdays;
    bool m_requiresBothDayFields;
    bool m_canMatch;
    ZoneOffsets m_offsets;
};

} // namespace Tempolane
