#pragma once

#include "Clock.h"
#include "JobExecutionRecord.h"
#include "JobExecutionSummary.h"
#include "RunFiles.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <functional>
#include <optional>

namespace Tempolane {

// Reads the run files of job directories into records and summaries. Files whose name and
// stamp are unchanged since the last read are served from memory, so a refresh of unchanged
// jobs reads no file content; the liveness of running markers is asked anew every time.
// Not thread-safe: the execution service uses it from its one worker thread only.
class ExecutionRecordReader final
{
public:
    using Liveness = std::function<bool(qint32 pid, double markerStartSeconds)>;

    explicit ExecutionRecordReader(Clock clock = systemClock(), Liveness liveness = {});

    // Newest first, each with its output.
    QList<JobExecutionRecord> history(const QString& jobDirectory);
    // Reads at most the newest record's log.
    JobExecutionSummary summary(const QString& jobDirectory);

    // Forgets every job directory not named here (and not the last history's), so memory
    // stays bounded by the jobs the caller still asks for.
    void retainOnly(const QSet<QString>& jobDirectories);

    // Bytes held for cached outputs and records, for reporting.
    qint64 cachedBytes() const;
    // Bytes of log content read since construction.
    qint64 logBytesRead() const { return m_logBytesRead; }

private:
    struct ParsedFile
    {
        bool isRecord = false;
        double startSeconds = 0;
        QDateTime startedAt;
        std::optional<QDateTime> endedAt;
        std::optional<qint32> exitCode;
        QString logName;
        qint32 pid = 0;
    };
    struct CachedFile
    {
        RunFiles::FileStamp stamp;
        bool isSettled = false;
        std::optional<ParsedFile> parsed;
    };
    struct CachedLog
    {
        RunFiles::FileStamp stamp;
        bool isSettled = false;
        std::optional<QString> output;
    };
    struct JobCache
    {
        QHash<QString, CachedFile> files;
        QHash<QString, CachedLog> logs;
        std::optional<CachedFile> marker;
    };
    struct Listed
    {
        QString id;
        ParsedFile parsed;
    };

    QList<Listed> listRecords(const QString& runsDirectory, JobCache& cache);
    JobExecutionRecord toRecord(const Listed& listed, const QString& runsDirectory, JobCache& cache,
                                bool withOutput);
    std::optional<QString> output(const QString& runsDirectory, const QString& logName,
                                  JobCache& cache);
    std::optional<QDateTime> monitoringStartedAt(const QString& jobDirectory, JobCache& cache);
    bool isSettled(const RunFiles::FileStamp& stamp) const;
    void keepOnlyLogs(JobCache& cache, const QSet<QString>& names);

    Clock m_clock;
    Liveness m_liveness;
    QHash<QString, JobCache> m_jobs;
    QString m_historyJob;
    qint64 m_logBytesRead = 0;
};

} // namespace Tempolane
