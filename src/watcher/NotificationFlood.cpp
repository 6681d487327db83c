#include "NotificationFlood.h"

#include <algorithm>

namespace Tempolane {

namespace {

// The newest event of each job, in the order the jobs first came.
QList<RunEvent> newestPerJob(const QList<RunEvent>& events)
{
    QList<RunEvent> newest;
    for (const RunEvent& event : events) {
        const auto same = std::find_if(newest.begin(), newest.end(), [&](const RunEvent& kept) {
            return kept.jobId == event.jobId;
        });
        if (same == newest.end())
            newest.append(event);
        else
            *same = event;
    }
    return newest;
}

} // namespace

NotificationFlood::Outcome NotificationFlood::take(const QList<RunEvent>& events,
                                                   const QDateTime& now)
{
    const auto isOver = [&](const QDateTime& shownAt) { return shownAt.msecsTo(now) >= windowMs; };
    m_shown.removeIf(isOver);
    if (m_lastSummaryAt && isOver(*m_lastSummaryAt))
        m_lastSummaryAt.reset();

    const QList<RunEvent> pending = newestPerJob(m_held + events);
    m_held.clear();
    Outcome outcome;
    if (pending.isEmpty())
        return outcome;
    if (m_shown.size() + pending.size() <= limit) {
        outcome.single = pending;
        m_shown.insert(m_shown.size(), pending.size(), now);
        return outcome;
    }
    if (pending.size() >= 2 && !m_lastSummaryAt) {
        outcome.summarised = pending;
        m_shown.append(now);
        m_lastSummaryAt = now;
        return outcome;
    }
    // Held until a notification of the last minute has aged out of it.
    m_held = pending;
    QList<QDateTime> freeAt;
    for (const QDateTime& shownAt : std::as_const(m_shown))
        freeAt.append(shownAt.addMSecs(windowMs));
    if (m_lastSummaryAt)
        freeAt.append(m_lastSummaryAt->addMSecs(windowMs));
    outcome.retryAt = *std::min_element(freeAt.cbegin(), freeAt.cend());
    return outcome;
}

} // namespace Tempolane
