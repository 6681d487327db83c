#pragma once

#include "JobExecutionRecord.h"

#include <QDateTime>
#include <QList>

namespace Tempolane::Testing {

// When the newest run of a made-up history started.
inline const QDateTime newestRunStart = QDateTime::fromSecsSinceEpoch(1765096200);

// Succeeded runs, each twelve seconds long, one for each number of days before the newest;
// a run's id is its number of days.
inline QList<JobExecutionRecord> runsDaysBefore(const QList<int>& days)
{
    QList<JobExecutionRecord> records;
    for (const int day : days) {
        JobExecutionRecord record;
        record.id = QString::number(day);
        record.startedAt = newestRunStart.addDays(-day);
        record.endedAt = record.startedAt.addSecs(12);
        record.exitCode = 0;
        records.append(record);
    }
    return records;
}

// The numbers 0 … count - 1.
inline QList<int> firstNumbers(int count)
{
    QList<int> numbers;
    for (int number = 0; number < count; ++number)
        numbers.append(number);
    return numbers;
}

// A succeeded run a day, newest first.
inline QList<JobExecutionRecord> dailyRuns(int count)
{
    return runsDaysBefore(firstNumbers(count));
}

} // namespace Tempolane::Testing
