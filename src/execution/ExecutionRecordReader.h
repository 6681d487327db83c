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
// Memory holds only output a view can show: the full outputs of the one history shown, and
// the last meaningful line of each failed job's newest run.
// Not thread-safe: the execution service uses it from its one worker thread only.
class ExecutionRecordReader final
{
public:
    using Liveness = std::function<bool(qint32 pid, double markerStartSeconds)>;

    // How much of its run's output a record carries.
    enum class Output
    {
        full,
        lastMeaningfulLine,
        // Times and exit status only: all a picture of the runs needs.
        none
    };

    // The run history shows the newest twenty records; older ones cannot be reached there.
    static constexpr qsizetype shownRecords = 20;
    // The runner keeps this many records of a job, none older than the days.
    static constexpr qsizetype retainedRecords = 100;
    static constexpr int retainedDays = 30;

    explicit ExecutionRecordReader(Clock clock = systemClock(), Liveness liveness = {});

    // Newest first, at most `limit` records, each with its output in the given form. Full
    // outputs are kept for the next call; last lines are read one log at a time, so that a
    // long history never holds all its outputs at once.
    QList<JobExecutionRecord> history(const QString& jobDirectory, qsizetype limit = shownRecords,
                                      Output output = Output::full);
    // The newest record; of its output only the last meaningful line, and only when the run
    // failed: all the list and the status block show of it. Reads at most that one log.
    JobExecutionSummary summary(const QString& jobDirectory);

    // Forgets every job directory not named here (and not the last history's), so memory
    // stays bounded by the jobs the caller still asks for.
    void retainOnly(const QSet<QString>& jobDirectories);

    // Bytes held for cached outputs and records, for reporting.
    qint64 cachedBytes() const;
    // Bytes of log content read since construction.
    qint64 logBytesRead() const { return m_logBytesRead; }

private:
    using ParsedFile = RunFiles::RunFields;
    struct CachedFile
    {
        RunFiles::FileStamp stamp;
        bool isSettled = false;
        std::optional<ParsedFile> parsed;
        quint64 generation = 0;
    };
    struct CachedLog
    {
        RunFiles::FileStamp stamp;
        bool isSettled = false;
        // Whether the full output was read and kept, or only its last meaningful line.
        bool isFull = false;
        std::optional<QString> output;
        std::optional<QString> lastLine;
    };
    struct JobCache
    {
        QHash<QString, CachedFile> files;
        QHash<QString, CachedLog> logs;
        std::optional<CachedFile> marker;
        // The last listing of the run directory, reused while the directory is unchanged.
        std::optional<RunFiles::FileStamp> directoryStamp;
        bool isDirectorySettled = false;
        QList<RunFiles::DirectoryEntry> entries;
        QString newestFileName;
    };
    // Points into the job's cache, valid until the cache changes again.
    struct Listed
    {
        QString id;
        const ParsedFile* parsed = nullptr;
        // No run starts in the future; a file that says so sorts after every other.
        bool isBelievable = true;
    };

    // Unsorted.
    // While the directory is unchanged, a summary checks only the newest record and the
    // running markers; the runner replaces files by renaming, which changes the directory.
    QList<Listed> listRecords(const QString& runsDirectory, JobCache& cache, bool checkEveryFile);
    std::optional<ParsedFile> parse(const QString& path, bool isRecord, CachedFile& file) const;
    static bool isNewer(const Listed& a, const Listed& b);
    JobExecutionRecord toRecord(const Listed& listed, const QString& runsDirectory, JobCache& cache,
                                std::optional<Output> output);
    std::optional<QString> output(const QString& runsDirectory, const QString& logName,
                                  JobCache& cache, Output form);
    std::optional<QDateTime> monitoringStartedAt(const QString& jobDirectory, JobCache& cache);
    bool isSettled(const RunFiles::FileStamp& stamp) const;
    void keepOnlyLogs(JobCache& cache, const QSet<QString>& names);

    Clock m_clock;
    Liveness m_liveness;
    QHash<QString, JobCache> m_jobs;
    QString m_historyJob;
    quint64 m_generation = 0;
    qint64 m_logBytesRead = 0;
};

} // namespace Tempolane
