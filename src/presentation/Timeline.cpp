#include "Timeline.h"

#include "CivilTime.h"
#include "CronExpression.h"
#include "CronStore.h"
#include "DateTimeText.h"
#include "ExecutionTexts.h"
#include "ListText.h"
#include "TextContext.h"
#include "RunRecords.h"
#include "RunSpans.h"
#include "ZoneOffsets.h"

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

TEMPOLANE_TEXT_CONTEXT(Timeline)

namespace Tempolane {

namespace {

using CivilTime::floorDivide;
using CivilTime::floorModulo;
constexpr std::int64_t minute = 60'000;
constexpr std::int64_t hour = 60 * minute;
constexpr std::int64_t day = 24 * hour;
constexpr std::int64_t grace = CronStore::notObservedGraceSeconds * 1000;
// Notes and the summary name this many jobs, then say how many more there are.
constexpr int namedJobs = 3;
constexpr int summarisedNotes = 3;

struct Axis
{
    std::int64_t start;
    std::int64_t end;
    // How far ahead the summary counts, from now.
    std::int64_t lookAhead;
    // Runs closer than this are one band: a few pixels at the smallest window.
    std::int64_t bandGap;
    // When the axis moves on by a step.
    std::int64_t moves;
};

// The day view reaches from the start of the hour a day back to the end of the hour a day
// ahead, the week view from midnight a week back to midnight a week ahead, so the axis stays put
// while the "jetzt" line moves across the hour or the day.
Axis axisFor(TimelineRange range, std::int64_t now, const ZoneOffsets& offsets)
{
    const std::int64_t wall = now + std::int64_t{offsets.offsetSeconds(now)} * 1000;
    if (range == TimelineRange::day) {
        const std::int64_t hourStart = now - floorModulo(wall, hour);
        return {hourStart - day, hourStart + day + hour, day, 30 * minute, hourStart + hour};
    }
    const std::int64_t today = floorDivide(wall, day);
    const auto midnight = [&](std::int64_t days) {
        return offsets.instantForWallTime((today + days) * day);
    };
    return {midnight(-7), midnight(8), 7 * day, 2 * hour, midnight(1)};
}

QList<TimelineTick> ticksFor(TimelineRange range, const Axis& axis, const ZoneOffsets& offsets,
                             const QLocale& locale, const QTimeZone& zone)
{
    QList<TimelineTick> ticks;
    std::int64_t at = axis.start;
    while (at < axis.end) {
        const std::int64_t wall = at + std::int64_t{offsets.offsetSeconds(at)} * 1000;
        // Whole hours of the wall clock, also after a change by part of an hour.
        if (const std::int64_t toWholeHour = floorModulo(-wall, hour); toWholeHour != 0) {
            at += toWholeHour;
            continue;
        }
        const int wallHour = int(floorModulo(floorDivide(wall, hour), 24));
        const int step = range == TimelineRange::day ? 1 : 6;
        if (wallHour % step == 0) {
            const int level = wallHour == 0                                            ? 0
                              : wallHour % (range == TimelineRange::day ? 6 : 12) == 0 ? 1
                              : wallHour % (range == TimelineRange::day ? 3 : 6) == 0  ? 2
                                                                                       : 3;
            const QDateTime instant = QDateTime::fromMSecsSinceEpoch(at, Qt::UTC);
            ticks.append({at, level,
                          level == 0 ? DateTimeText::weekdayAndDay(instant, locale, zone)
                                     : DateTimeText::timeOfDay(instant, locale, zone)});
        }
        at += hour;
    }
    return ticks;
}

// Runs in a row with the same outcome, close together, are drawn as one band.
QList<TimelineMark> recordedMarks(const QList<JobExecutionRecord>& newestFirst, std::int64_t from,
                                  std::int64_t now, std::int64_t bandGap)
{
    QList<TimelineMark> marks;
    for (auto record = newestFirst.crbegin(); record != newestFirst.crend(); ++record) {
        const std::int64_t started = record->startedAt.toMSecsSinceEpoch();
        if (started < from || started > now)
            continue;
        const RunShape shape = RunRecords::shapeOf(*record);
        const std::int64_t ended = record->endedAt ? record->endedAt->toMSecsSinceEpoch()
                                   : shape == RunShape::running ? now
                                                                : started;
        if (!marks.isEmpty() && marks.back().shape == shape && shape != RunShape::running &&
            started - marks.back().lastStart <= bandGap) {
            TimelineMark& band = marks.back();
            band.end = std::max(band.end, ended);
            band.lastStart = started;
            ++band.count;
            band.exitCode.reset();
            continue;
        }
        marks.append({shape, started, std::max(started, ended), 1, started,
                      shape == RunShape::failed ? record->exitCode : std::nullopt});
    }
    return marks;
}

TimelineMark markOf(RunShape shape, const RunSpan& span, std::int64_t length)
{
    return {shape, span.first, span.last + length, span.count, span.last, std::nullopt};
}

struct PlannedRun
{
    std::int64_t start;
    std::int64_t occupiedUntil;
    int lane;
};

QStringList namesOf(const QList<int>& lanes, const QList<TimelineLane>& all)
{
    QStringList names;
    for (const int lane : lanes)
        names.append(all[lane].name);
    return names;
}

// Runs started in the same minute always run side by side, however short they are.
QList<TimelineNote> notesFor(QList<PlannedRun> runs, const QList<TimelineLane>& lanes)
{
    std::sort(runs.begin(), runs.end(), [](const PlannedRun& a, const PlannedRun& b) {
        return a.start != b.start ? a.start < b.start : a.lane < b.lane;
    });
    // The last group and minute each lane was counted in, so that each counts once.
    std::vector<qsizetype> groupOfLane(std::size_t(lanes.size()), -1);
    std::vector<std::int64_t> minuteOfLane(std::size_t(lanes.size()), -1);
    QList<TimelineNote> notes;
    for (qsizetype first = 0; first < runs.size();) {
        std::int64_t groupEnd = runs[first].occupiedUntil;
        QList<int> groupLanes;
        QList<TimelineNote> busy;
        qsizetype next = first;
        for (; next < runs.size() && (next == first || runs[next].start < groupEnd); ++next) {
            const PlannedRun& run = runs[next];
            groupEnd = std::max(groupEnd, run.occupiedUntil);
            if (std::exchange(groupOfLane[std::size_t(run.lane)], first) != first)
                groupLanes.append(run.lane);
            if (busy.isEmpty() || busy.back().start != run.start)
                busy.append({TimelineNote::Kind::busyMinute, run.start, run.start + minute, {}});
            if (std::exchange(minuteOfLane[std::size_t(run.lane)], run.start) != run.start)
                busy.back().jobNames.append(lanes[run.lane].name);
        }
        if (groupLanes.size() > 1)
            notes.append({TimelineNote::Kind::overlap, runs[first].start, groupEnd,
                          namesOf(groupLanes, lanes)});
        for (TimelineNote& minuteNote : busy) {
            if (minuteNote.jobNames.size() > Timeline::busyMinuteStarts)
                notes.append(std::move(minuteNote));
        }
        first = next;
    }
    return notes;
}

QDateTime instantOf(std::int64_t at)
{
    return QDateTime::fromMSecsSinceEpoch(at, Qt::UTC);
}

QString namesText(const QStringList& names, const QLocale& locale)
{
    if (names.size() <= namedJobs + 1)
        return listText(names, locale);
    QStringList shown = names.first(namedJobs);
    shown.append(
        tr.plural("one {# weiterer} other {# weitere}", names.size() - namedJobs, locale));
    return listText(shown, locale);
}

QString countsText(std::int64_t runs, int jobs, const QLocale& locale)
{
    if (runs == 0)
        return tr("keine Ausführungen");
    return tr("%1 von %2")
        .arg(tr.plural("one {# Ausführung} other {# Ausführungen}", runs, locale),
             tr.plural("one {# Job} other {# Jobs}", jobs, locale));
}

// What a band of runs with one outcome says: the job, its first and last start, how many runs.
// Marked for the catalogue here, looked up where the count is known.
const char* bandPattern(RunShape shape)
{
    switch (shape) {
    case RunShape::planned:
        return QT_TRANSLATE_NOOP("Timeline", "one {%1, %2 bis %3: # Ausführung, %4.} "
                                             "other {%1, %2 bis %3: # Ausführungen, %4.}");
    case RunShape::succeeded:
        return QT_TRANSLATE_NOOP("Timeline",
                                 "one {%1, %2 bis %3: # Ausführung erfolgreich.} "
                                 "other {%1, %2 bis %3: # Ausführungen erfolgreich.}");
    case RunShape::failed:
        return QT_TRANSLATE_NOOP("Timeline",
                                 "one {%1, %2 bis %3: # Ausführung fehlgeschlagen.} "
                                 "other {%1, %2 bis %3: # Ausführungen fehlgeschlagen.}");
    case RunShape::interrupted:
    case RunShape::running:
        return QT_TRANSLATE_NOOP("Timeline",
                                 "one {%1, %2 bis %3: # Ausführung unerwartet beendet.} "
                                 "other {%1, %2 bis %3: # Ausführungen unerwartet beendet.}");
    case RunShape::missed:
        break;
    }
    return QT_TRANSLATE_NOOP("Timeline", "one {%1, %2 bis %3: # Ausführung nicht erkannt.} "
                                         "other {%1, %2 bis %3: # Ausführungen nicht erkannt.}");
}

} // namespace

Timeline Timeline::make(const TimelineInput& input)
{
    Timeline timeline;
    timeline.range = input.range;
    timeline.zone = input.zone;
    timeline.locale = input.locale;
    const std::int64_t now = input.now.toMSecsSinceEpoch();
    // Offsets for as far back as records reach and as far ahead as a search from the axis's end
    // may look.
    const ZoneOffsets offsets(input.zone, now - (RunRecords::retainedDays + 1) * day,
                              now + 740 * day);
    const Axis axis = axisFor(input.range, now, offsets);
    timeline.start = axis.start;
    timeline.now = now;
    timeline.end = axis.end;
    timeline.validUntil = axis.moves;
    timeline.ticks = ticksFor(input.range, axis, offsets, input.locale, input.zone);

    QList<PlannedRun> planned;
    std::map<RunShape, std::int64_t> pastCounts;
    bool hasMonitoredLane = false;
    for (const TimelineJob& job : input.jobs) {
        TimelineLane lane{job.id, job.name, {}, std::nullopt, {}};
        const QString expression = job.expression.trimmed();
        const auto schedule = CronExpression::expandedShortcut(expression)
                                  ? CronExpression::parse(expression)
                                  : std::nullopt;
        if (job.isMonitored) {
            hasMonitoredLane = true;
            lane.usualDuration = RunRecords::medianDuration(job.runs);
            lane.marks = recordedMarks(job.runs, axis.start, now, axis.bandGap);
        }
        if (schedule) {
            const NextExecutionSearch search(*schedule, offsets);
            if (job.isMonitored) {
                for (const auto& stretch : RunRecords::missedStretches(
                         search, job.runs, job.monitoringStartedAt, input.now)) {
                    for (const RunSpan& span :
                         RunSpans::between(search, std::max(stretch.from, axis.start),
                                           stretch.until, axis.bandGap))
                        lane.marks.append(markOf(RunShape::missed, span, 0));
                }
                // A run just due turns into a missed one unless its record comes in time.
                if (const auto due = RunSpans::firstAtOrAfter(search, now - grace);
                    due && *due < now)
                    timeline.validUntil = std::min(timeline.validUntil, *due + grace);
            }
            const std::int64_t length = lane.usualDuration.value_or(0);
            const QList<RunSpan> ahead = RunSpans::between(search, now, axis.end, axis.bandGap);
            for (const RunSpan& span : ahead) {
                lane.marks.append(markOf(RunShape::planned, span, length));
                if (!span.isBand())
                    planned.append({span.first, span.first + std::max(length, minute),
                                    int(timeline.lanes.size())});
            }
            if (!ahead.isEmpty())
                timeline.validUntil = std::min(timeline.validUntil, ahead.front().first);
            if (const std::int64_t upcoming = search.count(now, now + axis.lookAhead);
                upcoming > 0) {
                timeline.upcomingRuns += upcoming;
                ++timeline.jobsWithUpcomingRuns;
            }
        }
        std::stable_sort(
            lane.marks.begin(), lane.marks.end(),
            [](const TimelineMark& a, const TimelineMark& b) { return a.start < b.start; });
        for (const TimelineMark& mark : std::as_const(lane.marks)) {
            if (mark.shape != RunShape::planned)
                pastCounts[mark.shape] += mark.count;
        }
        if (lane.marks.isEmpty())
            lane.emptyText = CronExpression::expandedShortcut(expression)
                                 ? tr("Keine Ausführung in diesem Zeitraum.")
                                 : tr("Läuft nur beim Systemstart.");
        timeline.lanes.append(std::move(lane));
    }
    timeline.notes = notesFor(std::move(planned), timeline.lanes);

    QStringList sentences;
    const QString counts =
        countsText(timeline.upcomingRuns, timeline.jobsWithUpcomingRuns, input.locale);
    QStringList ahead{input.range == TimelineRange::day ? tr("Nächste 24 Stunden: %1").arg(counts)
                                                        : tr("Nächste 7 Tage: %1").arg(counts)};
    for (int note = 0; note < std::min<int>(summarisedNotes, int(timeline.notes.size())); ++note)
        ahead.append(timeline.noteText(note));
    if (timeline.notes.size() > summarisedNotes)
        ahead.append(tr.plural("one {# weiterer Hinweis} other {# weitere Hinweise}",
                                timeline.notes.size() - summarisedNotes, input.locale));
    sentences.append(ahead.join(QStringLiteral("; ")));
    if (hasMonitoredLane) {
        const QString past = RunRecords::outcomesText(pastCounts, input.locale);
        sentences.append(input.range == TimelineRange::day
                             ? tr("Vergangene 24 Stunden: %1").arg(past)
                             : tr("Vergangene 7 Tage: %1").arg(past));
    }
    timeline.summary = sentences.join(QStringLiteral(". ")) + u'.';
    return timeline;
}

QString Timeline::noteText(int index) const
{
    const TimelineNote& note = notes[index];
    const QDateTime at = instantOf(note.start);
    const QString time = range == TimelineRange::day
                             ? DateTimeText::timeOfDay(at, locale, zone)
                             : DateTimeText::shortDateTime(at, locale, zone);
    const QString names = namesText(note.jobNames, locale);
    if (note.kind == TimelineNote::Kind::overlap)
        return tr("Überschneidung um %1: %2").arg(time, names);
    return tr.plural("one {Um %1 startet # Job: %2} other {Um %1 starten # Jobs: %2}",
                      note.jobNames.size(), locale)
        .arg(time, names);
}

QString Timeline::markText(int laneIndex, int markIndex) const
{
    const TimelineLane& lane = lanes[laneIndex];
    const TimelineMark& mark = lane.marks[markIndex];
    const QString first = DateTimeText::shortDateTime(instantOf(mark.start), locale, zone);
    if (mark.count > 1) {
        const QDateTime last = instantOf(mark.lastStart);
        const bool isSameDay =
            instantOf(mark.start).toTimeZone(zone).date() == last.toTimeZone(zone).date();
        const QString until = isSameDay ? DateTimeText::timeOfDay(last, locale, zone)
                                        : DateTimeText::shortDateTime(last, locale, zone);
        QString text = tr.plural(bandPattern(mark.shape), mark.count, locale).arg(lane.name, first, until);
        if (mark.shape == RunShape::planned)
            text = text.arg(RunSpans::rateText({mark.start, mark.lastStart, mark.count}));
        return text;
    }

    QString text;
    switch (mark.shape) {
    case RunShape::planned:
        text = tr("%1, %2: geplant.").arg(lane.name, first);
        if (lane.usualDuration)
            text +=
                u' ' + tr("Dauert meist %1")
                           .arg(ExecutionTexts::durationText(double(*lane.usualDuration) / 1000));
        return text;
    case RunShape::succeeded:
        text = tr("%1, %2: erfolgreich.").arg(lane.name, first);
        break;
    case RunShape::failed:
        text = tr("%1, %2: fehlgeschlagen mit Exit-Code %3.")
                   .arg(lane.name, first, QString::number(mark.exitCode.value_or(0)));
        break;
    case RunShape::interrupted:
        return tr("%1, %2: unerwartet beendet.").arg(lane.name, first);
    case RunShape::running:
        return tr("%1, %2: läuft gerade.").arg(lane.name, first);
    case RunShape::missed:
        return tr("%1, %2: nicht erkannt.").arg(lane.name, first);
    }
    return text + u' ' +
           tr("Dauer: %1").arg(ExecutionTexts::durationText(double(mark.end - mark.start) / 1000));
}

} // namespace Tempolane
