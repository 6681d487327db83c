#pragma once

#include "ExecutionRecordReader.h"
#include "JobExecutionRecord.h"
#include "NextExecutionSearch.h"
#include "RunShape.h"

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <cstdint>
#include <map>
#include <optional>

// What a job's run records say beyond its status, for the timeline and the run chart: how long
// its runs take and which scheduled runs left no record.
namespace Tempolane::RunRecords {

inline constexpr qsizetype retainedRuns = ExecutionRecordReader::retainedRecords;
inline constexpr int retainedDays = ExecutionRecordReader::retainedDays;

RunShape shapeOf(const JobExecutionRecord& record);

// The median time from start to end of the finished runs among the newest `retainedRuns`, in
// milliseconds; nothing before the first run has finished.
std::optional<std::int64_t> medianDuration(const QList<JobExecutionRecord>& newestFirst);

// Scheduled runs from `from` (included) to `until` (excluded) that left no record.
struct MissedStretch
{
    std::int64_t from;
    std::int64_t until;
    std::int64_t count;

    friend bool operator==(const MissedStretch&, const MissedStretch&) = default;
};

// The stretches between the recorded runs in which the schedule asked for runs that left no
// record, from the start of monitoring (or, once the runner has pruned, the oldest record it
// kept) to a grace period before `now`. A record belongs to the latest scheduled run at most
// that grace period before it; records at other times (a run started by hand) belong to none.
QList<MissedStretch> missedStretches(const NextExecutionSearch& search,
                                     const QList<JobExecutionRecord>& newestFirst,
                                     const std::optional<QDateTime>& monitoringStartedAt,
                                     const QDateTime& now);

// How many runs had each outcome: "12 erfolgreich, 1 fehlgeschlagen und 2 nicht erkannt".
QString outcomesText(const std::map<RunShape, std::int64_t>& counts,
                     const QLocale& locale = QLocale());

} // namespace Tempolane::RunRecords
