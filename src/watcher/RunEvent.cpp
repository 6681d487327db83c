#include "RunEvent.h"

#include "CronStore.h"
#include "LastMeaningfulLine.h"

namespace Tempolane {

std::optional<RunEvent> runEventOf(const CronJob& job, const JobExecutionSummary& summary,
                                   const std::optional<QDateTime>& expectedAt,
                                   const std::optional<QDateTime>& bootedAt)
{
    RunEvent event;
    event.jobId = job.id;
    event.jobName = CronStore::shownName(job);
    const QString jobText = event.jobId.toString(QUuid::WithoutBraces);
    switch (summary.state.kind()) {
    case JobExecutionState::Kind::failed:
    case JobExecutionState::Kind::interrupted: {
        if (!summary.latestRecord)
            return std::nullopt;
        const bool hasFailed = summary.state.kind() == JobExecutionState::Kind::failed;
        event.kind = hasFailed ? RunEvent::Kind::failed : RunEvent::Kind::interrupted;
        event.key = QStringLiteral("%1 %2 %3")
                        .arg(hasFailed ? QStringLiteral("failed") : QStringLiteral("interrupted"),
                             jobText, summary.latestRecord->id);
        if (hasFailed) {
            event.exitCode = summary.state.exitCode();
            if (summary.latestRecord->output)
                event.lastLine = lastMeaningfulLine(*summary.latestRecord->output);
        }
        return event;
    }
    case JobExecutionState::Kind::notObserved:
        if (!expectedAt || (bootedAt && *expectedAt < *bootedAt))
            return std::nullopt;
        event.kind = RunEvent::Kind::missed;
        event.dueAt = *expectedAt;
        event.key = QStringLiteral("missed %1 %2").arg(jobText).arg(expectedAt->toSecsSinceEpoch());
        return event;
    default:
        return std::nullopt;
    }
}

} // namespace Tempolane
