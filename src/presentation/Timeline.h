#pragma once

#include "JobExecutionRecord.h"
#include "RunShape.h"

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <QUuid>
#include <cstdint>
#include <optional>

namespace Tempolane {

// How far the timeline looks back and ahead.
enum class TimelineRange
{
    day,
    week
};

// One job as the timeline is given it.
struct TimelineJob
{
    QUuid id;
    QString name;
    QString expression;
    bool isMonitored = false;
    // Newest first, as the run records give them; empty for a job without monitoring.
    QList<JobExecutionRecord> runs;
    std::optional<QDateTime> monitoringStartedAt;
};

struct TimelineInput
{
    // One lane each, in this order.
    QList<TimelineJob> jobs;
    TimelineRange range = TimelineRange::day;
    QDateTime now;
    QTimeZone zone = QTimeZone::systemTimeZone();
    QLocale locale;
};

// Instants are milliseconds since 1970.
struct TimelineMark
{
    RunShape shape;
    std::int64_t start;
    // Where the bar ends: the run's end, or its start plus the job's usual duration for a
    // planned run; the start itself when nothing is known of its length.
    std::int64_t end;
    // More than one: a band of runs too close together to be drawn one by one.
    std::int64_t count = 1;
    // The start of the band's last run.
    std::int64_t lastStart = start;
    std::optional<qint32> exitCode;

    friend bool operator==(const TimelineMark&, const TimelineMark&) = default;
};

struct TimelineLane
{
    QUuid jobId;
    QString name;
    // In time order: what happened, then what is planned.
    QList<TimelineMark> marks;
    // The median duration of the job's runs, which its planned runs are drawn as wide as.
    std::optional<std::int64_t> usualDuration;
    // Why the lane is empty, while it is.
    QString emptyText;
};

// Something the axis points out in the time ahead.
struct TimelineNote
{
    enum class Kind
    {
        // Runs of different jobs that would run at the same time, by their usual durations.
        overlap,
        // A minute in which more than `busyMinuteStarts` jobs start.
        busyMinute
    };
    Kind kind;
    std::int64_t start;
    std::int64_t end;
    QStringList jobNames;
};

// A line across the lanes at a whole hour. The lower the level, the more it stands for:
// 0 a day begins, 1 a quarter (day) or half (week) of a day, 2 an eighth or a quarter, 3 an
// hour. The view labels the lowest levels that leave room.
struct TimelineTick
{
    std::int64_t at;
    int level;
    QString label;
};

// The timeline of the jobs given, worked out at one moment: the axis, one lane per job and the
// notes. Plain data, made on any thread; the view only draws it.
struct Timeline
{
    static constexpr int busyMinuteStarts = 3;

    TimelineRange range = TimelineRange::day;
    std::int64_t start = 0;
    std::int64_t now = 0;
    std::int64_t end = 0;
    QList<TimelineTick> ticks;
    QList<TimelineLane> lanes;
    QList<TimelineNote> notes;
    // Runs from now through the range's length ahead, and how many jobs make them.
    std::int64_t upcomingRuns = 0;
    int jobsWithUpcomingRuns = 0;
    // What a screen reader reads for the picture: "Nächste 24 Stunden: …".
    QString summary;
    // Until when it shows the time right: then a planned run passes, a run is overdue or the
    // axis moves on.
    std::int64_t validUntil = 0;
    QTimeZone zone;
    QLocale locale;

    static Timeline make(const TimelineInput& input);

    // What hovering over a mark or focusing it tells, and what a note says.
    QString markText(int lane, int mark) const;
    QString noteText(int note) const;
};

} // namespace Tempolane
