#include "RunChart.h"

#include "CronExpression.h"
#include "DateTimeText.h"
#include "ExecutionTexts.h"
#include "TextContext.h"
#include "RunRecords.h"
#include "RunSpans.h"

#include <algorithm>
#include <map>

TEMPOLANE_TEXT_CONTEXT(RunChart)

namespace Tempolane {

namespace {

QString durationOf(std::int64_t milliseconds)
{
    return ExecutionTexts::durationText(double(milliseconds) / 1000);
}

QString startOf(const RunChartSlot& slot, const QTimeZone& zone, const QLocale& locale)
{
    return DateTimeText::shortDateTime(QDateTime::fromMSecsSinceEpoch(slot.start, Qt::UTC), locale,
                                       zone);
}

QList<RunChartSlot> missedSlots(const QString& expression,
                                const QList<JobExecutionRecord>& newestFirst,
                                const std::optional<QDateTime>& monitoringStartedAt,
                                const QDateTime& now, const QTimeZone& zone)
{
    const QString trimmed = expression.trimmed();
    const auto schedule =
        CronExpression::expandedShortcut(trimmed) ? CronExpression::parse(trimmed) : std::nullopt;
    if (!schedule)
        return {};
    const NextExecutionSearch search(*schedule, zone);
    QList<RunChartSlot> slots;
    for (const auto& stretch :
         RunRecords::missedStretches(search, newestFirst, monitoringStartedAt, now)) {
        const auto first = RunSpans::firstAtOrAfter(search, stretch.from);
        slots.append({RunShape::missed,
                      {},
                      first.value_or(stretch.from),
                      std::nullopt,
                      stretch.count,
                      std::nullopt});
    }
    return slots;
}

} // namespace

RunChart RunChart::make(const QString& expression, const QList<JobExecutionRecord>& runs,
                        const std::optional<QDateTime>& monitoringStartedAt, const QDateTime& now,
                        const QTimeZone& zone, const QLocale& locale)
{
    RunChart chart;
    const QList<JobExecutionRecord> shown =
        runs.first(std::min(runs.size(), RunRecords::retainedRuns));
    if (shown.size() < 2) {
        chart.placeholder =
            tr("Das Diagramm der Laufzeiten erscheint nach der zweiten Ausführung.");
        chart.summary = *chart.placeholder;
        return chart;
    }

    std::map<RunShape, std::int64_t> outcomes;
    for (auto record = shown.crbegin(); record != shown.crend(); ++record) {
        const RunShape shape = RunRecords::shapeOf(*record);
        std::optional<std::int64_t> duration;
        if (record->endedAt)
            duration = std::max<std::int64_t>(0, record->startedAt.msecsTo(*record->endedAt));
        else if (shape == RunShape::running)
            duration = std::max<std::int64_t>(0, record->startedAt.msecsTo(now));
        chart.slots.append({shape, record->id, record->startedAt.toMSecsSinceEpoch(), duration, 0,
                            shape == RunShape::failed ? record->exitCode : std::nullopt});
        ++outcomes[shape];
    }
    for (RunChartSlot& missed : missedSlots(expression, shown, monitoringStartedAt, now, zone)) {
        outcomes[RunShape::missed] += missed.missedCount;
        chart.slots.append(std::move(missed));
    }
    std::stable_sort(
        chart.slots.begin(), chart.slots.end(),
        [](const RunChartSlot& a, const RunChartSlot& b) { return a.start < b.start; });

    for (qsizetype index = 0; index < chart.slots.size(); ++index) {
        const RunChartSlot& slot = chart.slots[index];
        if (!slot.duration)
            continue;
        chart.scaleTop = std::max(chart.scaleTop, *slot.duration);
        const bool isFinished = slot.shape == RunShape::succeeded || slot.shape == RunShape::failed;
        if (isFinished &&
            (!chart.slowest || *slot.duration >= *chart.slots[*chart.slowest].duration))
            chart.slowest = index;
    }
    chart.median = RunRecords::medianDuration(shown);
    QStringList sentences{tr.plural("one {Laufzeit der letzten Ausführung} "
                                     "other {Laufzeiten der letzten # Ausführungen}",
                                     shown.size(), locale)};
    if (chart.median) {
        chart.medianText = tr("Median: %1").arg(durationOf(*chart.median));
        sentences.append(chart.medianText);
    }
    if (chart.slowest) {
        const RunChartSlot& slowest = chart.slots[*chart.slowest];
        chart.slowestText = tr("Langsamste Ausführung: %1, %2")
                                .arg(startOf(slowest, zone, locale), durationOf(*slowest.duration));
        sentences.append(chart.slowestText);
    }
    sentences.append(RunRecords::outcomesText(outcomes, locale));
    chart.summary = sentences.join(QStringLiteral("; ")) + u'.';
    return chart;
}

QString RunChart::slotText(qsizetype index, const QTimeZone& zone, const QLocale& locale) const
{
    const RunChartSlot& slot = slots[index];
    const QString start = startOf(slot, zone, locale);
    const QString duration = slot.duration ? durationOf(*slot.duration) : QString();
    switch (slot.shape) {
    case RunShape::succeeded:
        return tr("%1: erfolgreich, Dauer %2").arg(start, duration);
    case RunShape::failed:
        return tr("%1: fehlgeschlagen mit Exit-Code %2, Dauer %3")
            .arg(start, QString::number(slot.exitCode.value_or(0)), duration);
    case RunShape::interrupted:
        return tr("%1: unerwartet beendet.").arg(start);
    case RunShape::running:
        return tr("%1: läuft seit %2").arg(start, duration);
    case RunShape::missed:
        return tr.plural("one {%1: # geplante Ausführung nicht erkannt.} "
                          "other {Ab %1: # geplante Ausführungen nicht erkannt.}",
                          slot.missedCount, locale)
            .arg(start);
    case RunShape::planned:
        break;
    }
    return start;
}

} // namespace Tempolane
