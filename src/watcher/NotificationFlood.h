#pragma once

#include "RunEvent.h"

#include <QDateTime>
#include <QList>
#include <optional>

namespace Tempolane {

// Keeps a burst of events from burying the desktop: at most three notifications within a
// minute; more events than fit become one summary, at most one a minute. Events held back
// go out at `retryAt`. Of one job's events held together only the newest counts.
class NotificationFlood final
{
public:
    static constexpr int limit = 3;
    static constexpr qint64 windowMs = 60 * 1000;

    struct Outcome
    {
        QList<RunEvent> single;
        // Sent as one notification; empty or at least two events of different jobs.
        QList<RunEvent> summarised;
        std::optional<QDateTime> retryAt;
    };

    // The new events (possibly none, to send what was held) at `now`.
    Outcome take(const QList<RunEvent>& events, const QDateTime& now);

private:
    QList<QDateTime> m_shown;
    std::optional<QDateTime> m_lastSummaryAt;
    QList<RunEvent> m_held;
};

} // namespace Tempolane
