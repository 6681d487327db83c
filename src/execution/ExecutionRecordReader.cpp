#include "ExecutionRecordReader.h"

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

QHash<QString, QString> recordFields(const QString& text)
{
    QHash<QString, QString> fields;
    for (const QStringView line : QStringView(text).split(u'\n', Qt::SkipEmptyParts)) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        fields.insert(line.first(equals).toString(), line.sliced(equals + 1).toString());
    }
    return fields;
}

std::optional<double> decimalField(const QHash<QString, QString>& fields, const QString& key)
{
    const auto found = fields.constFind(key);
    if (found == fields.constEnd())
        return std::nullopt;
    return RunFiles::parseDecimal(*found);
}

std::optional<qint32> integerField(const QHash<QString, QString>& fields, const QString& key)
{
    const auto found = fields.constFind(key);
    if (found == fields.constEnd())
        return std::nullopt;
    return RunFiles::parseInteger32(*found);
}

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

QList<ExecutionRecordReader::Listed>
ExecutionRecordReader::listRecords(const QString& runsDirectory, JobCache& cache)
{
    const QStringList suffixes{runSuffix, runningSuffix};
    const auto entries = RunFiles::listRegularFiles(runsDirectory, suffixes);
    if (!entries) {
        cache.files.clear();
        cache.logs.clear();
        return {};
    }

    QSet<QString> finished;
    QList<std::pair<QString, CachedFile>> candidates;
    candidates.reserve(entries->size());
    for (const auto& entry : *entries) {
        const bool isRecord = entry.name.endsWith(runSuffix);
        auto cached = cache.files.constFind(entry.name);
        CachedFile file;
        if (cached != cache.files.constEnd() && cached->isSettled && cached->stamp == entry.stamp) {
            file = *cached;
        } else {
            file.stamp = entry.stamp;
            const auto content =
                RunFiles::readSmallFile(runsDirectory + u'/' + entry.name, RunFiles::recordSizeCap);
            if (content) {
                file.stamp = content->second;
                file.isSettled = isSettled(content->second);
                if (const auto text = Utf8::decode(content->first)) {
                    const auto fields = recordFields(*text);
                    ParsedFile parsed;
                    parsed.isRecord = isRecord;
                    const auto start = decimalField(fields, QStringLiteral("start"));
                    const auto startedAt =
                        start ? RunFiles::instantFromSeconds(*start) : std::optional<QDateTime>();
                    bool valid = startedAt.has_value();
                    if (valid) {
                        parsed.startSeconds = *start;
                        parsed.startedAt = *startedAt;
                    }
                    if (valid && isRecord) {
                        const auto end = decimalField(fields, QStringLiteral("end"));
                        const auto endedAt =
                            end ? RunFiles::instantFromSeconds(*end) : std::optional<QDateTime>();
                        parsed.endedAt = endedAt;
                        parsed.exitCode = integerField(fields, QStringLiteral("exit"));
                        parsed.logName = fields.value(QStringLiteral("log"));
                        valid = endedAt && parsed.exitCode;
                    } else if (valid) {
                        const auto pid = integerField(fields, QStringLiteral("pid"));
                        parsed.pid = pid.value_or(0);
                        valid = pid.has_value();
                    }
                    if (valid)
                        file.parsed = parsed;
                }
            }
        }
        if (file.parsed && isRecord)
            finished.insert(baseName(entry.name));
        candidates.append({entry.name, std::move(file)});
    }

    QList<Listed> listed;
    listed.reserve(candidates.size());
    QHash<QString, CachedFile> seen;
    seen.reserve(candidates.size());
    for (auto& [name, file] : candidates) {
        if (file.parsed) {
            const QString id = baseName(name);
            // The instant between the run record's rename and the marker's removal: the run
            // has finished, and one identifier must not appear twice.
            if (file.parsed->isRecord || !finished.contains(id))
                listed.append({id, *file.parsed});
        }
        seen.insert(std::move(name), std::move(file));
    }
    cache.files = std::move(seen);

    std::sort(listed.begin(), listed.end(), [](const Listed& a, const Listed& b) {
        if (a.parsed.startedAt != b.parsed.startedAt)
            return a.parsed.startedAt > b.parsed.startedAt;
        // Same second: the identifiers differ in the pid, compared as a number.
        if (a.id.size() != b.id.size())
            return a.id.size() > b.id.size();
        return a.id > b.id;
    });
    return listed;
}

std::optional<QString> ExecutionRecordReader::output(const QString& runsDirectory,
                                                     const QString& logName, JobCache& cache)
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
    if (cached != cache.logs.constEnd() && cached->isSettled && cached->stamp == *stamp)
        return cached->output;

    const auto read = RunFiles::readLogTail(path);
    if (!read) {
        cache.logs.remove(logName);
        return std::nullopt;
    }
    m_logBytesRead += std::min(read->second.size, RunFiles::logTailBytes);
    cache.logs.insert(logName, {read->second, isSettled(read->second), read->first});
    return read->first;
}

JobExecutionRecord ExecutionRecordReader::toRecord(const Listed& listed,
                                                   const QString& runsDirectory, JobCache& cache,
                                                   bool withOutput)
{
    const ParsedFile& parsed = listed.parsed;
    if (!parsed.isRecord) {
        return {listed.id,    parsed.startedAt, std::nullopt,
                std::nullopt, std::nullopt,     m_liveness(parsed.pid, parsed.startSeconds)};
    }
    std::optional<QString> text;
    if (withOutput)
        text = output(runsDirectory, parsed.logName, cache);
    return {listed.id, parsed.startedAt, parsed.endedAt, parsed.exitCode, text, false};
}

void ExecutionRecordReader::keepOnlyLogs(JobCache& cache, const QSet<QString>& names)
{
    cache.logs.removeIf([&](const auto& entry) { return !names.contains(entry.key()); });
}

QList<JobExecutionRecord> ExecutionRecordReader::history(const QString& jobDirectory)
{
    if (!m_historyJob.isEmpty() && m_historyJob != jobDirectory) {
        // The previous history's logs are no longer shown; keep only what its summary needs.
        const auto previous = m_jobs.find(m_historyJob);
        if (previous != m_jobs.end()) {
            const QString runsDirectory = m_historyJob + QStringLiteral("/runs");
            const auto records = listRecords(runsDirectory, *previous);
            QSet<QString> keep;
            if (!records.isEmpty() && records.front().parsed.isRecord)
                keep.insert(records.front().parsed.logName);
            keepOnlyLogs(*previous, keep);
        }
    }
    m_historyJob = jobDirectory;

    JobCache& cache = m_jobs[jobDirectory];
    const QString runsDirectory = jobDirectory + QStringLiteral("/runs");
    const auto listed = listRecords(runsDirectory, cache);
    QList<JobExecutionRecord> records;
    records.reserve(listed.size());
    QSet<QString> logNames;
    for (const auto& entry : listed) {
        records.append(toRecord(entry, runsDirectory, cache, true));
        if (entry.parsed.isRecord)
            logNames.insert(entry.parsed.logName);
    }
    keepOnlyLogs(cache, logNames);
    return records;
}

JobExecutionSummary ExecutionRecordReader::summary(const QString& jobDirectory)
{
    JobCache& cache = m_jobs[jobDirectory];
    const QString runsDirectory = jobDirectory + QStringLiteral("/runs");
    const auto listed = listRecords(runsDirectory, cache);

    JobExecutionSummary summary;
    summary.monitoringStartedAt = monitoringStartedAt(jobDirectory, cache);
    if (listed.isEmpty()) {
        if (jobDirectory != m_historyJob)
            cache.logs.clear();
        return summary;
    }
    const JobExecutionRecord latest = toRecord(listed.front(), runsDirectory, cache, true);
    if (jobDirectory != m_historyJob) {
        QSet<QString> keep;
        if (listed.front().parsed.isRecord)
            keep.insert(listed.front().parsed.logName);
        keepOnlyLogs(cache, keep);
    }
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
            bytes += qint64(sizeof(CachedLog)) + (log.output ? log.output->size() * 2 : 0);
    }
    return bytes;
}

} // namespace Tempolane
