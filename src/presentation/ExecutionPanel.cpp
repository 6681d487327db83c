#include "ExecutionPanel.h"

#include "DateTimeText.h"
#include "ExecutionTexts.h"
#include "LastMeaningfulLine.h"
#include "PlatformTexts.h"
#include "TextContext.h"

#include <QCoreApplication>

TEMPOLANE_TEXT_CONTEXT(ExecutionEditor)

namespace Tempolane::ExecutionPanel {

namespace {

std::optional<QString> detailOutput(const JobExecutionSummary& summary)
{
    using Kind = JobExecutionState::Kind;
    const Kind kind = summary.state.kind();
    if ((kind != Kind::failed && kind != Kind::interrupted) || !summary.latestRecord ||
        !summary.latestRecord->output)
        return std::nullopt;
    return lastMeaningfulLine(*summary.latestRecord->output);
}

QList<RunFact> runFacts(const std::optional<JobExecutionRecord>& latest,
                        const std::optional<QDateTime>& nextExecution, const QLocale& locale,
                        const QTimeZone& zone)
{
    QList<RunFact> facts;
    if (latest) {
        facts.append({tr("Letzte Ausführung"),
                      DateTimeText::shortDateTime(latest->startedAt, locale, zone)});
        if (latest->endedAt) {
            const double seconds = double(latest->startedAt.msecsTo(*latest->endedAt)) / 1000;
            facts.append({tr("Dauer"), ExecutionTexts::durationText(seconds)});
        }
    }
    if (nextExecution)
        facts.append(
            {tr("Nächste Ausführung"), DateTimeText::shortDateTime(*nextExecution, locale, zone)});
    return facts;
}

} // namespace

Body body(bool isNew, const JobExecutionSummary& summary)
{
    if (isNew)
        return Body::beginsAfterFirstSave;
    if (summary.state.kind() == JobExecutionState::Kind::notMonitored)
        return Body::beginsAfterSaving;
    return Body::status;
}

std::optional<QString> notice(Body body)
{
    switch (body) {
    case Body::beginsAfterFirstSave:
        return tr("Der Status beginnt nach dem Sichern mit der ersten Ausführung.");
    case Body::beginsAfterSaving:
        return tr("Änderungen sichern, um den Ausführungsstatus zu aktivieren.");
    case Body::status:
        return std::nullopt;
    }
    Q_UNREACHABLE();
}

StatusBlock statusBlock(const JobExecutionSummary& summary, bool isRunningNow,
                        const std::optional<QDateTime>& nextExecution, const QLocale& locale,
                        const QTimeZone& zone)
{
    const JobExecutionState::Kind kind = summary.state.kind();
    StatusBlock block;
    block.appearance = ExecutionStateAppearance::of(kind);
    block.title = isRunningNow ? title(JobExecutionState::running()) : title(summary.state);
    block.pulses = isRunningNow || kind == JobExecutionState::Kind::running;
    block.detail = detailOutput(summary);
    block.isDetailOutput = block.detail.has_value();
    if (!block.detail && kind == JobExecutionState::Kind::notObserved)
        block.detail = PlatformTexts::notObservedDetail();
    block.facts = runFacts(summary.latestRecord, nextExecution, locale, zone);
    return block;
}

RunButton runButton(bool hasUnsavedChanges, bool isRunningNow)
{
    return {!hasUnsavedChanges && !isRunningNow, hasUnsavedChanges
                                                     ? tr("Sichere zuerst deine Änderungen.")
                                                     : tr("Cronjob einmal sofort ausführen")};
}

bool offersClearHistory(const QList<JobExecutionRecord>& history, bool canClear)
{
    return canClear && !history.isEmpty();
}

Question runQuestion()
{
    return {tr("Cronjob jetzt ausführen?"),
            tr("Der gespeicherte Befehl wird sofort gestartet, mit derselben Umgebung, die "
               "cron ihm gibt."),
            tr("Jetzt ausführen"), false};
}

// The history cannot be brought back: the question says so and its button warns.
Question clearHistoryQuestion()
{
    return {tr("Ausführungsverlauf wirklich löschen?"),
            tr("Gespeicherte Meldungen und bisherige Ergebnisse dieses Jobs werden "
               "unwiderruflich entfernt."),
            tr("Verlauf löschen"), true};
}

QList<JobExecutionRecord> shownRecords(const QList<JobExecutionRecord>& history)
{
    return history.first(std::min(history.size(), maximumShownRecords));
}

QString runTitle(const JobExecutionRecord& record, bool isNewest)
{
    const JobExecutionState state = stateOf(record);
    if (isNewest)
        return title(state);
    switch (state.kind()) {
    case JobExecutionState::Kind::succeeded:
        return tr("Erfolgreich");
    case JobExecutionState::Kind::failed:
        return tr("Fehlgeschlagen");
    case JobExecutionState::Kind::interrupted:
        return tr("Unerwartet beendet");
    default:
        return title(state);
    }
}

} // namespace Tempolane::ExecutionPanel
