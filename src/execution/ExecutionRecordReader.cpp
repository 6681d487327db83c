#include "ExecutionRecordReader.h"

#include "LastMeaningfulLine.h"
#include "ProcessLiveness.h"
#include "Utf8.h"

#include <algorithm>

namespace Tempolane {

namespace {

const QString runSuffix = QStringLiteral(".run");
const QString runningSuffix = QStringLiteral(".running");
const QString monitoringMarkerName = QStringLiteral("monitoring-started");

// Files whose times are this close to now may still change within the same time stamp.
constexpr qint64 settleMs = 2000;
// The runner takes a run's start from the same clock; beyond this, a start is made up.
constexpr qint64 futureToleranceMs = 10 * 60 * 1000;

// The name without its last extension.
QString baseName(const QString& name)
{
    return name.first(name.lastIndexOf(u'.'));
}

} // namespace

ExecutionRecordReader::ExecutionRecordReader(Clock clock, Liveness liveness)
    : m_clock(std::move(clock)),
      m_liveness(liveness ? std::move(liveness) : Liveness(ProcessLiveness::isRunnerAlive))
{
}

bool ExecutionRecordReader::isSettled(const RunFiles::FileStamp& stamp) const
{
    return m_clock().toMSecsSinceEpoch() - stamp.latestChangeMs() > settleMs;
}

std::optional<ExecutionRecordReader::ParsedFile>
ExecutionRecordReader::parse(const QString& path, bool isRecord, CachedFile& file) const
{
    const auto content = RunFiles::readSmallFile(path, RunFiles::recordSizeCap);
    if (!content)
        return std::nullopt;
    file.stamp = content->second;
    file.isSettled = isSettled(content->second);
    return RunFiles::parseRunFile(content->first, isRecord);
}

QList<ExecutionRecordReader::Listed>
ExecutionRecordReader::listRecords(const QString& runsDirectory, JobCache& cache,
                                   bool checkEveryFile)
{
    static const QList<QByteArray> suffixes{runSuffix.toLatin1(), runningSuffix.toLatin1()};
    // Taken before listing, so that a change during the listing shows next time.
    const auto directoryStamp = RunFiles::directoryStamp(runsDirectory);
    std::optional<QList<RunFiles::DirectoryEntry>> entries;
    if (directoryStamp && cache.isDirectorySettled && cache.directoryStamp == directoryStamp) {
        if (checkEveryFile) {
            entries = RunFiles::restat(runsDirectory, cache.entries);
        } else {
            QList<RunFiles::DirectoryEntry> checked;
            for (const auto& entry : std::as_const(cache.entries)) {
                if (entry.name.endsWith(runningSuffix) || entry.name == cache.newestFileName)
                    checked.append(entry);
            }
            QHash<QString, RunFiles::FileStamp> fresh;
            for (const auto& entry : RunFiles::restat(runsDirectory, checked))
                fresh.insert(entry.name, entry.stamp);
            entries.emplace();
            entries->reserve(cache.entries.size());
            for (const auto& entry : std::as_const(cache.entries)) {
                const bool isChecked =
                    entry.name.endsWith(runningSuffix) || entry.name == cache.newestFileName;
                if (!isChecked) {
                    const auto file = cache.files.constFind(entry.name);
                    if (file != cache.files.cend())
                        entries->append({entry.name, entry.rawName, file->stamp});
                } else if (const auto stamp = fresh.constFind(entry.name); stamp != fresh.cend()) {
                    entries->append({entry.name, entry.rawName, *stamp});
                }
            }
        }
    } else if (directoryStamp) {
        entries = RunFiles::listRegularFiles(runsDirectory, suffixes);
    }
    if (!entries) {
        JobCache emptied;
        emptied.marker = std::move(cache.marker);
        cache = std::move(emptied);
        return {};
    }
    if (!cache.isDirectorySettled || cache.directoryStamp != directoryStamp) {
        cache.directoryStamp = directoryStamp;
        cache.isDirectorySettled = isSettled(*directoryStamp);
        cache.entries = *entries;
    }

    const quint64 generation = ++m_generation;
    for (const auto& entry : *entries) {
        auto file = cache.files.find(entry.name);
        if (file == cache.files.end())
            file = cache.files.insert(entry.name, CachedFile());
        file->generation = generation;
        if (file->isSettled && file->stamp == entry.stamp)
            continue;
        file->stamp = entry.stamp;
        file->isSettled = false;
        file->parsed =
            parse(runsDirectory + u'/' + entry.name, entry.name.endsWith(runSuffix), *file);
    }
    cache.files.removeIf([&](const auto& file) { return file.value().generation != generation; });

    const qint64 latestBelievableMs = m_clock().toMSecsSinceEpoch() + futureToleranceMs;
    QList<Listed> listed;
    listed.reserve(cache.files.size());
    for (auto file = cache.files.cbegin(); file != cache.files.cend(); ++file) {
        if (!file->parsed)
            continue;
        QString id = baseName(file.key());
        // The instant between the run record's rename and the marker's removal: the run has
        // finished, and one identifier must not appear twice.
        if (!file->parsed->isRecord) {
            const auto record = cache.files.constFind(id + runSuffix);
            if (record != cache.files.cend() && record->parsed)
                continue;
        }
        const bool isBelievable = file->parsed->startMs <= latestBelievableMs;
        listed.append({std::move(id), &*file->parsed, isBelievable});
    }
    const auto newest = std::min_element(listed.cbegin(), listed.cend(), isNewer);
    cache.newestFileName =
        newest == listed.cend()
            ? QString()
            : newest->id + (newest->parsed->isRecord ? runSuffix : runningSuffix);
    return listed;
}

bool ExecutionRecordReader::isNewer(const Listed& a, const Listed& b)
{
    if (a.isBelievable != b.isBelievable)
        return a.isBelievable;
    if (a.parsed->startMs != b.parsed->startMs)
        return a.parsed->startMs > b.parsed->startMs;
    // Same second: the identifiers differ in the pid, compared as a number.
    if (a.id.size() != b.id.size())
        return a.id.size() > b.id.size();
    return a.id > b.id;
}

std::optional<QString> ExecutionRecordReader::output(const QString& runsDirectory,
                                                     const QString& logName, JobCache& cache,
                                                     Output form)
{
    // A name with "/" could point outside the run directory; it is never opened.
    if (logName.isEmpty() || logName.contains(u'/'))
        return std::nullopt;
    const QString path = runsDirectory + u'/' + logName;
    const auto stamp = RunFiles::regularFileStamp(path);
    if (!stamp) {
        cache.logs.remove(logName);
        return std::nullopt;
    }
    const auto cached = cache.logs.constFind(logName);
    if (cached != cache.logs.constEnd() && cached->isSettled && cached->stamp == *stamp &&
        (cached->isFull || form == Output::lastMeaningfulLine))
        return form == Output::full ? cached->output : cached->lastLine;

    const auto read = RunFiles::readLogTail(path);
    if (!read) {
        cache.logs.remove(logName);
        return std::nullopt;
    }
    m_logBytesRead += std::min(read->second.size, RunFiles::logTailBytes);
    const std::optional<QString>& text = read->first;
    const bool isFull = form == Output::full;
    const auto log = cache.logs.insert(logName, {read->second, isSettled(read->second), isFull,
                                                 isFull ? text : std::nullopt,
                                                 text ? lastMeaningfulLine(*text) : std::nullopt});
    return isFull ? log->output : log->lastLine;
}

JobExecutionRecord ExecutionRecordReader::toRecord(const Listed& listed,
                                                   const QString& runsDirectory, JobCache& cache,
                                                   std::optional<Output> output)
{
    const ParsedFile& parsed = *listed.parsed;
    if (!parsed.isRecord) {
        return {listed.id,    parsed.startedAt, std::nullopt,
                std::nullopt, std::nullopt,     m_liveness(parsed.pid, parsed.startSeconds)};
    }
    std::optional<QString> text;
    if (output)
        text = this->output(runsDirectory, parsed.logName, cache, *output);
    return {listed.id, parsed.startedAt, parsed.endedAt, parsed.exitCode, text, false};
}

void ExecutionRecordReader::keepOnlyLogs(JobCache& cache, const QSet<QString>& names)
{
    cache.logs.removeIf([&](const auto& entry) { return !names.contains(entry.key()); });
}

QList<JobExecutionRecord> ExecutionRecordReader::history(const QString& jobDirectory,
                                                         qsizetype limit, Output output)
{
    if (output == Output::full && m_historyJob != jobDirectory) {
        // The previous history is no longer shown: its full outputs go, the last lines stay.
        if (const auto previous = m_jobs.find(m_historyJob); previous != m_jobs.end()) {
            for (CachedLog& log : previous->logs) {
                log.isFull = false;
                log.output.reset();
            }
        }
        m_historyJob = jobDirectory;
    }

    JobCache& cache = m_jobs[jobDirectory];
    if (!RunFiles::isRealDirectory(jobDirectory)) {
        cache = JobCache();
        return {};
    }
    const QString runsDirectory = jobDirectory + QStringLiteral("/runs");
    auto listed = listRecords(runsDirectory, cache, true);
    const auto shown = listed.begin() + std::clamp<qsizetype>(limit, 0, listed.size());
    std::partial_sort(listed.begin(), shown, listed.end(), isNewer);
    listed.erase(shown, listed.end());

    QList<JobExecutionRecord> records;
    records.reserve(listed.size());
    QSet<QString> logNames;
    for (const auto& entry : std::as_const(listed)) {
        records.append(toRecord(entry, runsDirectory, cache,
                                output == Output::none ? std::nullopt : std::optional(output)));
        if (entry.parsed->isRecord)
            logNames.insert(entry.parsed->logName);
    }
    if (output == Output::full)
        keepOnlyLogs(cache, logNames);
    return records;
}

JobExecutionSummary ExecutionRecordReader::summary(const QString& jobDirectory)
{
    JobCache& cache = m_jobs[jobDirectory];
    JobExecutionSummary summary;
    // A job folder planted as a link would show runs of whatever folder it leads to.
    if (!RunFiles::isRealDirectory(jobDirectory)) {
        cache = JobCache();
        return summary;
    }
    const QString runsDirectory = jobDirectory + QStringLiteral("/runs");
    const auto listed = listRecords(runsDirectory, cache, false);

    summary.monitoringStartedAt = monitoringStartedAt(jobDirectory, cache);
    const auto newest = std::min_element(listed.begin(), listed.end(), isNewer);
    const bool hasFailed = newest != listed.end() && newest->parsed->exitCode.value_or(0) != 0;
    if (jobDirectory != m_historyJob) {
        QSet<QString> keep;
        if (hasFailed)
            keep.insert(newest->parsed->logName);
        keepOnlyLogs(cache, keep);
    }
    if (newest == listed.end())
        return summary;
    const JobExecutionRecord latest =
        toRecord(*newest, runsDirectory, cache,
                 hasFailed ? std::optional(Output::lastMeaningfulLine) : std::nullopt);
    summary.state = stateOf(latest);
    summary.latestRecord = latest;
    return summary;
}

std::optional<QDateTime> ExecutionRecordReader::monitoringStartedAt(const QString& jobDirectory,
                                                                    JobCache& cache)
{
    const QString path = jobDirectory + u'/' + monitoringMarkerName;
    const auto stamp = RunFiles::regularFileStamp(path);
    if (!stamp) {
        cache.marker.reset();
        return std::nullopt;
    }
    if (!cache.marker || !cache.marker->isSettled || cache.marker->stamp != *stamp) {
        CachedFile marker;
        marker.stamp = *stamp;
        if (const auto content = RunFiles::readSmallFile(path, RunFiles::recordSizeCap)) {
            marker.stamp = content->second;
            marker.isSettled = isSettled(content->second);
            if (const auto text = Utf8::decode(content->first)) {
                const auto seconds = RunFiles::parseDecimal(text->trimmed());
                const auto instant =
                    seconds ? RunFiles::instantFromSeconds(*seconds) : std::optional<QDateTime>();
                if (instant) {
                    ParsedFile parsed;
                    parsed.startedAt = *instant;
                    marker.parsed = parsed;
                }
            }
        }
        cache.marker = marker;
    }
    if (!cache.marker->parsed)
        return std::nullopt;
    return cache.marker->parsed->startedAt;
}

void ExecutionRecordReader::retainOnly(const QSet<QString>& jobDirectories)
{
    m_jobs.removeIf([&](const auto& entry) {
        return entry.key() != m_historyJob && !jobDirectories.contains(entry.key());
    });
}

qint64 ExecutionRecordReader::cachedBytes() const
{
    qint64 bytes = 0;
    for (const JobCache& job : m_jobs) {
        bytes += qint64(job.files.size()) * qint64(sizeof(CachedFile) + 64);
        for (const CachedLog& log : job.logs)
            bytes += qint64(sizeof(CachedLog)) + (log.output ? log.output->size() * 2 : 0) +
                     (log.lastLine ? log.lastLine->size() * 2 : 0);
    }
    return bytes;
}

} // namespace Tempolane
