#pragma once

#include "CronJob.h"
#include "JobExecutionSummary.h"
#include "Symbol.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace Tempolane {

// The status symbol, colour and text a row shows for a job and its execution summary.
struct JobStatusBadge
{
    Symbol symbol;
    Tint tint;
    QString text;
    // A running job's symbol pulses.
    bool pulses = false;

    friend bool operator==(const JobStatusBadge&, const JobStatusBadge&) = default;
};

JobStatusBadge jobStatusBadge(const CronJob& job, const JobExecutionSummary& summary);

// Everything one row of the job list shows, apart from the relative time of the latest run,
// which changes while the row stays the same.
struct JobRow
{
    static constexpr qreal pausedOpacity = 0.72;

    QUuid id;
    QString name;
    QString scheduleExpression;
    QString scheduleDescription;
    JobStatusBadge status;
    std::optional<QDateTime> latestRunStartedAt;
    QString command;
    qreal opacity = 1;
    // The first error or warning of the checks; the row shows a mark that tells it.
    QString problem;

    static JobRow make(const CronJob& job, const JobExecutionSummary& summary,
                       const QString& problem = {});

    // The status text, and when a run was recorded, "·" and how long ago it started.
    QString statusLine(const QDateTime& now) const;
    // What a screen reader reads for the row: the name and the status text.
    QString accessibleText() const;

    friend bool operator==(const JobRow&, const JobRow&) = default;
};

// The command with its blanks trimmed, cut to 71 characters and "…" when longer than 74.
QString shortenedCommand(const QString& command);

} // namespace Tempolane
