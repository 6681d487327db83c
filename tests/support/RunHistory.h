#pragma once

#include "JobExecutionRecord.h"

#include <QDateTime>
#include <QList>

namespace Tempolane::Testing {

// A succeeded run a day, newest first, each twelve seconds long.
inline QList<JobExecutionRecord> dailyRuns(int count)
{
    QList<JobExecutionRecord> records;
    const QDateTime start = QDateTime::fromSecsSinceEpoch(1765096200);
    for (int index = 0; index < count; ++index) {
        JobExecutionRecord record;
        record.id = QString::number(index);
        record.startedAt = start.addDays(-index);
        record.endedAt = record.startedAt.addSecs(12);
        record.exitCode = 0;
        records.append(record);
    }
    return records;
}

} // namespace Tempolane::Testing
