#pragma once

#include "JobExecutionRecord.h"
#include "RunShape.h"

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>
#include <QTimeZone>
#include <cstdint>
#include <optional>

namespace Tempolane {

// One place along the run chart's time axis: a recorded run, drawn as a bar as high as it took,
// or the scheduled runs between two records that left none, drawn as a mark on the axis.
struct RunChartSlot
{
    RunShape shape;
    // The record's id; empty for missed runs.
    QString recordId;
    // When the run started; for missed runs, when the first of them was due.
    std::int64_t start;
    // Milliseconds from start to end; so far for a run still going; nothing when it never ended.
    std::optional<std::int64_t> duration;
    std::int64_t missedCount = 0;
    std::optional<qint32> exitCode;

    friend bool operator==(const RunChartSlot&, const RunChartSlot&) = default;
};

// The run chart of the executions card: the job's recorded runs (at most as many as the runner
// keeps), oldest first, with the scheduled runs between them that left no record, the median
// duration and the slowest run. Plain data; the view only draws it.
struct RunChart
{
    QList<RunChartSlot> slots;
    // The duration the top of the chart stands for, in milliseconds; never zero.
    std::int64_t scaleTop = 1000;
    std::optional<std::int64_t> median;
    std::optional<qsizetype> slowest;
    // "Median: 42 Sek." and "Langsamste Ausführung: 7. Dez., 09:30, 2 Min. 5 Sek.".
    QString medianText;
    QString slowestText;
    // What a screen reader reads for the chart.
    QString summary;
    // The one line shown instead of the chart while there are fewer than two runs.
    std::optional<QString> placeholder;

    // `runs` newest first, as the run records give them.
    static RunChart make(const QString& expression, const QList<JobExecutionRecord>& runs,
                         const std::optional<QDateTime>& monitoringStartedAt, const QDateTime& now,
                         const QTimeZone& zone = QTimeZone::systemTimeZone(),
                         const QLocale& locale = QLocale());

    // What hovering over a slot or focusing it tells.
    QString slotText(qsizetype slot, const QTimeZone& zone = QTimeZone::systemTimeZone(),
                     const QLocale& locale = QLocale()) const;
};

} // namespace Tempolane
