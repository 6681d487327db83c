#include "RunRecords.h"

#include "CronStore.h"
#include "ListText.h"
#include "TextContext.h"
#include "RunSpans.h"

#include <algorithm>
#include <vector>

TEMPOLANE_TEXT_CONTEXT(RunRecords)

namespace Tempolane::RunRecords {

namespace {

constexpr std::int64_t grace = CronStore::notObservedGraceSeconds * 1000;
// A runner may note its start a moment before the minute cron meant, by the clock it reads.
constexpr std::int64_t earlyStart = 1000;
constexpr std::int64_t day = 86'400'000;

// Before this instant the records no longer tell what happened.
std::optional<std::int64_t> coverageStart(const QList<JobExecutionRecord>& newestFirst,
                                          const std::optional<QDateTime>& monitoringStartedAt,
                                          std::int64_t now)
{
    std::optional<std::int64_t> start;
    if (newestFirst.size() >= retainedRuns)
        start = newestFirst[retainedRuns - 1].startedAt.toMSecsSinceEpoch();
    else if (monitoringStartedAt)
        start = monitoringStartedAt->toMSecsSinceEpoch();
    else if (!newestFirst.isEmpty())
        start = newestFirst.back().startedAt.toMSecsSinceEpoch();
    if (!start)
        return std::nullopt;
    return std::max(*start, now - retainedDays * day);
}

} // namespace

RunShape shapeOf(const JobExecutionRecord& record)
{
    if (record.isRunning)
        return RunShape::running;
    if (!record.exitCode)
        return RunShape::interrupted;
    return *record.exitCode == 0 ? RunShape::succeeded : RunShape::failed;
}

std::optional<std::int64_t> medianDuration(const QList<JobExecutionRecord>& newestFirst)
{
    std::vector<std::int64_t> durations;
    for (const JobExecutionRecord& record :
         newestFirst.first(std::min(newestFirst.size(), retainedRuns))) {
        if (record.endedAt)
            durations.push_back(
                std::max<std::int64_t>(0, record.startedAt.msecsTo(*record.endedAt)));
    }
    if (durations.empty())
        return std::nullopt;
    const auto middle = durations.begin() + std::ptrdiff_t(durations.size() / 2);
    std::nth_element(durations.begin(), middle, durations.end());
    if (durations.size() % 2 == 1)
        return *middle;
    const std::int64_t below = *std::max_element(durations.begin(), middle);
    return below + (*middle - below) / 2;
}

QList<MissedStretch> missedStretches(const NextExecutionSearch& search,
                                     const QList<JobExecutionRecord>& newestFirst,
                                     const std::optional<QDateTime>& monitoringStartedAt,
                                     const QDateTime& now)
{
    if (!now.isValid())
        return {};
    const std::int64_t end = now.toMSecsSinceEpoch() - grace;
    const auto start = coverageStart(newestFirst, monitoringStartedAt, now.toMSecsSinceEpoch());
    if (!start || *start >= end)
        return {};

    // The scheduled runs the records belong to, oldest first.
    std::vector<std::int64_t> attended;
    for (auto record = newestFirst.crbegin(); record != newestFirst.crend(); ++record) {
        const std::int64_t started = record->startedAt.toMSecsSinceEpoch();
        std::optional<std::int64_t> belongsTo;
        for (auto run = RunSpans::firstAtOrAfter(search, started - grace);
             run && *run <= started + earlyStart; run = search.next(*run))
            belongsTo = run;
        if (belongsTo && (attended.empty() || attended.back() < *belongsTo))
            attended.push_back(*belongsTo);
    }

    QList<MissedStretch> stretches;
    std::int64_t from = *start;
    const auto addStretch = [&](std::int64_t until) {
        if (from < until) {
            if (const std::int64_t count = search.count(from, until); count > 0)
                stretches.append({from, until, count});
        }
    };
    for (const std::int64_t run : attended) {
        addStretch(std::min(run, end));
        from = std::max(from, run + 1);
    }
    addStretch(end);
    return stretches;
}

QString outcomesText(const std::map<RunShape, std::int64_t>& counts, const QLocale& locale)
{
    QStringList parts;
    const auto add = [&](RunShape shape, const char* pattern) {
        if (const auto found = counts.find(shape); found != counts.end() && found->second > 0)
            parts.append(tr.plural(pattern, found->second, locale));
    };
    add(RunShape::succeeded, QT_TRANSLATE_NOOP("RunRecords", "other {# erfolgreich}"));
    add(RunShape::failed, QT_TRANSLATE_NOOP("RunRecords", "other {# fehlgeschlagen}"));
    add(RunShape::interrupted, QT_TRANSLATE_NOOP("RunRecords", "other {# unerwartet beendet}"));
    add(RunShape::missed, QT_TRANSLATE_NOOP("RunRecords", "other {# nicht erkannt}"));
    add(RunShape::running,
        QT_TRANSLATE_NOOP("RunRecords", "one {# läuft gerade} other {# laufen gerade}"));
    return parts.isEmpty() ? tr("keine Ausführungen aufgezeichnet") : listText(parts, locale);
}

} // namespace Tempolane::RunRecords
