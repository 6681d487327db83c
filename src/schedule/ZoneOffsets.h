#pragma once

#include <QTimeZone>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace Tempolane {

// A time zone's offsets from UTC as plain numbers: instants and wall-clock times are
// milliseconds since 1970-01-01 (wall-clock times counted as if the zone were UTC).
class ZoneOffsets final
{
public:
    explicit ZoneOffsets(const QTimeZone& zone);
    // The same offsets, with the changes between `from` and `until` worked out once: inside
    // that span every answer comes from memory, which many searches over one span need.
    ZoneOffsets(const QTimeZone& zone, std::int64_t from, std::int64_t until);

    bool isValid() const { return m_zone.isValid(); }

    struct Change
    {
        std::int64_t at;
        int offsetSeconds; // in force from `at` on
    };

    // Seconds ahead of UTC in force at the instant.
    int offsetSeconds(std::int64_t instant) const;

    // The first change strictly after the instant (one may leave the offset as it was).
    std::optional<Change> nextChange(std::int64_t instant) const;

    // The instant showing the wall-clock time: the earlier one when the time occurs twice,
    // and when a change skipped it, the time read with the offset in force before the change
    // (so a skipped 02:30 becomes 03:30 after a one-hour change).
    std::int64_t instantForWallTime(std::int64_t wallTime) const;

private:
    struct Span
    {
        std::int64_t from;
        std::int64_t until;
        int offsetAtFrom;
        // Every change after `from` up to and including the first one at or after `until`.
        std::vector<Change> changes;
    };
    bool isInSpan(std::int64_t instant) const;
    std::vector<Change>::const_iterator firstChangeAfter(std::int64_t instant) const;

    QTimeZone m_zone;
    bool m_hasTransitions;
    std::shared_ptr<const Span> m_span;
};

} // namespace Tempolane
