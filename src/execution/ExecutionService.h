#pragma once

#include "Clock.h"
#include "CronJob.h"
#include "ExecutionManaging.h"
#include "ExecutionRecordReader.h"

#include <QString>
#include <QThreadPool>

namespace Tempolane {

// Installs the runner, marks monitoring starts, runs a job once, clears history and reads
// the run files. File and process work runs on the service's own one-thread pool, so its
// requests never overlap and never block the caller's thread.
class ExecutionService final : public ExecutionManaging
{
public:
    // The run records live under `rootPath`, one directory per job; the runner is installed
    // at `runnerPath` (DataLocations).
    ExecutionService(QString rootPath, QString runnerPath, Clock clock = systemClock());
    ~ExecutionService() override;
    Q_DISABLE_COPY_MOVE(ExecutionService)

    QString rootPath() const { return m_rootPath; }
    QString runnerPath() const { return m_runnerPath; }

    QCoro::Task<std::expected<void, ExecutionServiceError>> installRunner() override;
    QCoro::Task<> prepareMonitoring(QList<QUuid> jobIds) override;
    QCoro::Task<QMap<QUuid, JobExecutionSummary>> summaries(QList<QUuid> jobIds) override;
    QCoro::Task<QList<JobExecutionRecord>> history(QUuid jobId) override;
    QCoro::Task<std::expected<void, ExecutionServiceError>>
    runNow(CronJob job, QList<EnvironmentAssignment> crontabAssignments) override;
    QCoro::Task<> clearHistory(QUuid jobId) override;
    QCoro::Task<QMap<QUuid, QList<JobExecutionRecord>>> runRecords(QList<QUuid> jobIds) override;

    // Every record of a job, newest first, each with no more of its output than the last
    // meaningful line: for a listing of the whole history, one log read at a time.
    QCoro::Task<QList<JobExecutionRecord>> allRecords(QUuid jobId);

    struct CacheStatistics
    {
        qint64 cachedBytes = 0;
        qint64 logBytesRead = 0;
    };
    // What the record cache holds and how much log content it has read, for reporting.
    QCoro::Task<CacheStatistics> cacheStatistics();

private:
    QString jobDirectory(const QUuid& jobId) const;
    std::expected<void, ExecutionServiceError> installRunnerNow() const;

    QString m_rootPath;
    QString m_runnerPath;
    Clock m_clock;
    // Touched only by tasks on m_pool.
    ExecutionRecordReader m_reader;
    // Declared last: destroyed first, waiting for queued work that still uses the members.
    QThreadPool m_pool;
};

} // namespace Tempolane
