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

ZoneOffsets::ZoneOffsets(const QTimeZone& zone, std::int64_t from, std::int64_t until)
    : ZoneOffsets(zone)
{
    if (!isValid() || from >= until)
        return;
    Span span{from, until, offsetSeconds(from), {}};
    for (auto change = nextChange(from); change; change = nextChange(change->at)) {
        span.changes.push_back(*change);
        if (change->at >= until)
            break;
    }
    m_span = std::make_shared<const Span>(std::move(span));
}

bool ZoneOffsets::isInSpan(std::int64_t instant) const
{
    return m_span && instant >= m_span->from && instant < m_span->until;
}

std::vector<ZoneOffsets::Change>::const_iterator
ZoneOffsets::firstChangeAfter(std::int64_t instant) const
{
    return std::upper_bound(m_span->changes.begin(), m_span->changes.end(), instant,
                            [](std::int64_t at, const Change& change) { return at < change.at; });
}

int ZoneOffsets::offsetSeconds(std::int64_t instant) const
{
    if (isInSpan(instant)) {
        const auto after = firstChangeAfter(instant);
        return after == m_span->changes.begin() ? m_span->offsetAtFrom
                                                : std::prev(after)->offsetSeconds;
    }
    return m_zone.offsetFromUtc(utcDateTime(instant));
}

std::optional<ZoneOffsets::Change> ZoneOffsets::nextChange(std::int64_t instant) const
{
    if (!m_hasTransitions)
        return std::nullopt;
    if (isInSpan(instant)) {
        // The span's list ends with a change at or after its end, or the zone has no more.
        const auto after = firstChangeAfter(instant);
        return after != m_span->changes.end() ? std::optional(*after) : std::nullopt;
    }
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
