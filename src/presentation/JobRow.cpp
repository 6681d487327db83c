#include "JobRow.h"

#include "CronExpression.h"
#include "CronStore.h"
#include "CrontabText.h"
#include "DateTimeText.h"

#include <QCoreApplication>
#include <QTextBoundaryFinder>

namespace Tempolane {

namespace {

constexpr qsizetype longestFullCommand = 74;
constexpr qsizetype keptOfLongCommand = 71;

// Where the first `count` user-perceived characters end, or nothing when the text has no more
// than `limit` of them.
std::optional<qsizetype> cutPosition(const QString& text, qsizetype count, qsizetype limit)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype characters = 0;
    qsizetype cut = 0;
    for (auto position = finder.toNextBoundary(); position > 0;
         position = finder.toNextBoundary()) {
        if (++characters == count)
            cut = position;
        if (characters > limit)
            return cut;
    }
    return std::nullopt;
}

} // namespace

JobStatusBadge jobStatusBadge(const CronJob& job, const JobExecutionSummary& summary)
{
    if (!job.isEnabled)
        return {Symbol::pauseFill, Tint::orange, QCoreApplication::translate("JobRow", "Pausiert")};
    const QString text = title(summary.state);
    switch (summary.state.kind()) {
    case JobExecutionState::Kind::failed:
        return {Symbol::warningCircleFill, Tint::red, text};
    case JobExecutionState::Kind::notMonitored:
        return {Symbol::playFill, Tint::green, text};
    case JobExecutionState::Kind::waiting:
        return {Symbol::clock, Tint::secondary, text};
    case JobExecutionState::Kind::running:
        return {Symbol::waveform, Tint::cyan, text, true};
    case JobExecutionState::Kind::succeeded:
        return {Symbol::checkCircleFill, Tint::green, text};
    case JobExecutionState::Kind::interrupted:
        return {Symbol::warningFill, Tint::orange, text};
    case JobExecutionState::Kind::notObserved:
        return {Symbol::clockBadgeWarning, Tint::orange, text};
    }
    Q_UNREACHABLE();
}

QString shortenedCommand(const QString& command)
{
    const QString trimmed = CrontabText::trimmedSpacesAndTabs(command).toString();
    const auto cut = cutPosition(trimmed, keptOfLongCommand, longestFullCommand);
    return cut ? trimmed.first(*cut) + u'\u2026' : trimmed;
}

JobRow JobRow::make(const CronJob& job, const JobExecutionSummary& summary)
{
    return {job.id,
            CronStore::shownName(job),
            job.scheduleExpression,
            CronExpression::description(job.scheduleExpression),
            jobStatusBadge(job, summary),
            summary.latestRecord ? std::optional(summary.latestRecord->startedAt) : std::nullopt,
            shortenedCommand(job.command),
            job.isEnabled ? 1.0 : pausedOpacity};
}

QString JobRow::statusLine(const QDateTime& now) const
{
    if (!latestRunStartedAt)
        return status.text;
    return status.text + QStringLiteral(" · ") +
           DateTimeText::relativeTime(*latestRunStartedAt, now);
}

QString JobRow::accessibleText() const
{
    return name + QStringLiteral(", ") + status.text;
}

} // namespace Tempolane
