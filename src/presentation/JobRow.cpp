#include "JobRow.h"

#include "CronExpression.h"
#include "CronStore.h"
#include "CrontabText.h"
#include "DateTimeText.h"
#include "ExecutionStateAppearance.h"
#include "UserCharacters.h"

#include <QCoreApplication>

namespace Tempolane {

namespace {

constexpr qsizetype longestFullCommand = 74;
constexpr qsizetype keptOfLongCommand = 71;

} // namespace

JobStatusBadge jobStatusBadge(const CronJob& job, const JobExecutionSummary& summary)
{
    if (!job.isEnabled)
        return {Symbol::pauseFill, Tint::orange, QCoreApplication::translate("JobRow", "Pausiert")};
    const auto kind = summary.state.kind();
    // In the list, a job without monitoring reads as simply active; that nothing is recorded
    // is no success, so it is said in the secondary colour.
    const auto appearance = kind == JobExecutionState::Kind::notMonitored
                                ? ExecutionStateAppearance{Symbol::playFill, Tint::secondary}
                                : ExecutionStateAppearance::of(kind);
    return {appearance.symbol, appearance.tint, title(summary.state),
            kind == JobExecutionState::Kind::running};
}

QString shortenedCommand(const QString& command)
{
    const QString trimmed = CrontabText::trimmedSpacesAndTabs(command).toString();
    if (UserCharacters::count(trimmed) <= longestFullCommand)
        return trimmed;
    return UserCharacters::leading(trimmed, keptOfLongCommand) + u'\u2026';
}

JobRow JobRow::make(const CronJob& job, const JobExecutionSummary& summary, const QString& problem)
{
    return {job.id,
            CronStore::shownName(job),
            job.scheduleExpression,
            CronExpression::description(job.scheduleExpression),
            jobStatusBadge(job, summary),
            summary.latestRecord ? std::optional(summary.latestRecord->startedAt) : std::nullopt,
            shortenedCommand(job.command),
            job.isEnabled ? 1.0 : pausedOpacity,
            problem};
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
