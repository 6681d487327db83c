#include "ZoneOffsets.h"

#include "CivilTime.h"

#include <QDateTime>
#include <algorithm>

namespace Tempolane {

namespace {

QDateTime utcDateTime(std::int64_t instant)
{
    return QDateTime::fromMSecsSinceEpoch(instant, Qt::UTC);
}

// Offsets never reach a day, so every instant showing a wall-clock time lies this close to it.
constexpr std::int64_t searchWindow = 2 * CivilTime::millisecondsPerDay;

} // namespace

ZoneOffsets::ZoneOffsets(const QTimeZone& zone)
    : m_zone(zone), m_hasTransitions(zone.isValid() && zone.hasTransitions())
{
}

int ZoneOffsets::offsetSeconds(std::int64_t instant) const
{
    return m_zone.offsetFromUtc(utcDateTime(instant));
}

std::optional<ZoneOffsets::Change> ZoneOffsets::nextChange(std::int64_t instant) const
{
    if (!m_hasTransitions)
        return std::nullopt;
    auto next = m_zone.nextTransition(utcDateTime(instant));
    // Qt 6.4 finds nothing after the last transition of the zone file's table when asked at
    // that very instant, although the zone's rule goes on; a millisecond later it finds it.
    if (!next.atUtc.isValid())
        next = m_zone.nextTransition(utcDateTime(instant + 1));
    if (!next.atUtc.isValid())
        return std::nullopt;
    // The caller must make progress whatever the zone reports.
    return Change{std::max<std::int64_t>(next.atUtc.toMSecsSinceEpoch(), instant + 1),
                  next.offsetFromUtc};
}

std::int64_t ZoneOffsets::instantForWallTime(std::int64_t wallTime) const
{
    // Walk the stretches of constant offset around the wall-clock time in order; the first
    // that contains its reading is the earliest occurrence.
    std::int64_t stretchStart = wallTime - searchWindow;
    int offset = offsetSeconds(stretchStart);
    std::optional<std::int64_t> readingBeyondPreviousStretch;
    for (;;) {
        const std::int64_t reading = wallTime - std::int64_t{offset} * 1000;
        if (reading < stretchStart && readingBeyondPreviousStretch)
            return *readingBeyondPreviousStretch; // skipped by the change at stretchStart
        const auto change = nextChange(stretchStart);
        if (!change || reading < change->at || change->at > wallTime + searchWindow)
            return reading;
        readingBeyondPreviousStretch = reading;
        stretchStart = change->at;
        offset = change->offsetSeconds;
    }
}

} // namespace Tempolane
