#pragma once

#include "CronEnvironment.h"
#include "CronJob.h"
#include "ExecutionServiceError.h"
#include "JobExecutionRecord.h"
#include "JobExecutionSummary.h"

#include <QList>
#include <QMap>
#include <QUuid>
#include <expected>
#include <qcoro/qcorotask.h>

namespace Tempolane {

// The application's side of execution monitoring. Every operation is awaited on the main
// thread; implementations do their work elsewhere, one request at a time.
class ExecutionManaging
{
public:
    virtual ~ExecutionManaging() = default;

    virtual QCoro::Task<std::expected<void, ExecutionServiceError>> installRunner() = 0;
    virtual QCoro::Task<> prepareMonitoring(QList<QUuid> jobIds) = 0;
    virtual QCoro::Task<QMap<QUuid, JobExecutionSummary>> summaries(QList<QUuid> jobIds) = 0;
    // Newest first.
    virtual QCoro::Task<QList<JobExecutionRecord>> history(QUuid jobId) = 0;
    // Runs the job once as cron would, with `crontabAssignments` the crontab's assignment lines
    // above it (CronEnvironment::assignmentsAbove).
    virtual QCoro::Task<std::expected<void, ExecutionServiceError>>
    runNow(CronJob job, QList<EnvironmentAssignment> crontabAssignments) = 0;
    virtual QCoro::Task<> clearHistory(QUuid jobId) = 0;
    // Each job's recorded runs, newest first, as many as the runner keeps, without their
    // output: what the timeline and the run chart draw. Without an override, what `history`
    // gives.
    virtual QCoro::Task<QMap<QUuid, QList<JobExecutionRecord>>> runRecords(QList<QUuid> jobIds);
};

} // namespace Tempolane
