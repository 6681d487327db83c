#pragma once

#include "CronJob.h"
#include "CronJobLine.h"
#include "Finding.h"

#include <QProcessEnvironment>
#include <QString>
#include <optional>

namespace Tempolane {

// A line of the crontab that cron runs, or would run once its job is resumed, with all a
// rule asks of it.
struct CheckedLine
{
    // 0-based: the line itself, and the first of the lines that belong to it (a job's markers
    // stand above it), above which a new line goes.
    qsizetype index = 0;
    qsizetype firstIndex = 0;
    QString text;
    // Where the line's text for cron starts: after the marker of a paused job.
    qsizetype bodyStart = 0;
    // Tempolane's job on this line; none for a line it keeps as text.
    const CronJob* job = nullptr;
    CronJobLine cron;
    bool isPaused = false;
    bool isMonitored = false;
    // The command as its author wrote it, for a monitored job the one the runner runs; without
    // a carriage return at the end, which is a finding of its own.
    QString command;
    bool endsWithCarriageReturn = false;
    // What cron gives the job.
    QProcessEnvironment environment;

    std::optional<QUuid> jobId() const;
    // The job's shown name, or the first word of the command.
    QString name() const;
    // Where the command starts in `text`.
    qsizetype commandStart() const { return bodyStart + cron.command.start; }
};

} // namespace Tempolane
