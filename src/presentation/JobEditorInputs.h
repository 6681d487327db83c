#pragma once

#include "CronJob.h"
#include "JobExecutionSummary.h"

#include <QDateTime>
#include <QList>
#include <optional>

namespace Tempolane {

class CronStore;

// What the job editor is given from outside: the job as the store holds it and its runs.
struct JobEditorInputs
{
    CronJob originalJob;
    bool isNew = false;
    bool isSaving = false;
    JobExecutionSummary executionSummary = JobExecutionSummary::notMonitored();
    QList<JobExecutionRecord> executionHistory;
    std::optional<QDateTime> nextExecution;
    bool isRunningNow = false;
    // Where the runner is installed (CronStore::runnerPath), for the monitoring checks.
    QString runnerPath;
    // Every recorded run the store has read for the job, newest first, without output: what
    // the run chart draws. Empty until they have been read.
    QList<JobExecutionRecord> runs;
    // When the values were read: runs due until then that left no record count as missed.
    QDateTime readAt;

    // The store's values for `job`, a saved job: its next run after `now`, and whether the run
    // started by hand is this job's.
    static JobEditorInputs of(CronStore& store, const CronJob& job, const QDateTime& now);
};

} // namespace Tempolane
