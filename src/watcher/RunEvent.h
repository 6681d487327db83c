#pragma once

#include "CronJob.h"
#include "JobExecutionSummary.h"

#include <QDateTime>
#include <QString>
#include <QUuid>
#include <optional>

namespace Tempolane {

// Something about a monitored job that its user should hear of without opening the window.
struct RunEvent
{
    enum class Kind
    {
        failed,
        interrupted,
        missed
    };

    Kind kind = Kind::failed;
    QUuid jobId;
    QString jobName;
    // Tells this event apart from every other one, across restarts: the run's id, or the
    // time the missed run was due.
    QString key;
    qint32 exitCode = 0;
    // Of a failed run's output, the last meaningful line.
    std::optional<QString> lastLine;
    // When the missed run was due.
    QDateTime dueAt;

    friend bool operator==(const RunEvent&, const RunEvent&) = default;
};

// The event a monitored job's summary stands for, if any: its newest run failed or was
// interrupted, or (the summary says not observed) the run due at `expectedAt` did not start.
// A run due before the computer started (`bootedAt`) was not missed while the computer was on.
std::optional<RunEvent> runEventOf(const CronJob& job, const JobExecutionSummary& summary,
                                   const std::optional<QDateTime>& expectedAt,
                                   const std::optional<QDateTime>& bootedAt);

} // namespace Tempolane
