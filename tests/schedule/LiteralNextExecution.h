#pragma once

#include "ParsedCronSchedule.h"

#include <QDateTime>
#include <QTimeZone>
#include <cstdint>
#include <optional>
#include <vector>

namespace Tempolane::Testing {

// A zone's offsets as a table of its transitions, so that a literal scan can ask for the
// offset of a million consecutive minutes cheaply. Instants are milliseconds since 1970.
class TransitionTable final
{
public:
    // Covers the years the tests use; outside them the first or last offset is reported.
    explicit TransitionTable(const QTimeZone& zone, int firstYear = 1800, int lastYear = 2110);

    const QTimeZone& zone() const { return m_zone; }
    const std::vector<std::int64_t>& transitions() const { return m_transitions; }

    int offsetSeconds(std::int64_t instant) const;

    // Remembers its position, for instants that only grow.
    class Cursor
    {
    public:
        explicit Cursor(const TransitionTable& table, std::int64_t instant);
        int offsetSeconds(std::int64_t instant);

    private:
        const TransitionTable& m_table;
        std::size_t m_next;
    };

private:
    QTimeZone m_zone;
    int m_initialOffset;
    std::vector<std::int64_t> m_transitions;
    std::vector<int> m_offsets; // in force from the transition at the same index on
};

// The minute-by-minute definition, one candidate instant after the other: each candidate's
// wall clock from the zone's offset and QDate, then cron's matching rule.
std::optional<std::int64_t> literalNextExecution(const ParsedCronSchedule& schedule,
                                                 std::int64_t reference,
                                                 const TransitionTable& table);

// The same scan done naively with QDateTime in the zone: what the fast search replaces.
std::optional<QDateTime> qDateTimeNextExecution(const ParsedCronSchedule& schedule,
                                                const QDateTime& reference, const QTimeZone& zone);

} // namespace Tempolane::Testing
