// The store's side of execution monitoring: summaries with the not-observed rule, the
// selected job's history, run now, clearing history and switching monitoring on for all.
#include "CronEnvironment.h"
#include "CronStore.h"
#include "MonitoringCommandLine.h"
#include "ShellQuoting.h"

namespace Tempolane {

JobExecutionSummary CronStore::executionSummary(const CronJob& job) const
{
    if (!job.isMonitoringEnabled)
        return JobExecutionSummary::notMonitored();
    const auto entry = m_executionSummaries.constFind(job.id);
    const bool hasEntry = entry != m_executionSummaries.cend();
    if (m_manuallyRunningJobID == job.id) {
        return {JobExecutionState::running(), hasEntry ? entry->latestRecord : std::nullopt,
                hasEntry ? entry->monitoringStartedAt : std::nullopt};
    }
    return hasEntry ? *entry : JobExecutionSummary{};
}

std::optional<QDateTime> CronStore::expectedExecution(const CronJob& job,
                                                      const JobExecutionSummary& summary)
{
    // The run expected after the last recorded start, or, before any run, after monitoring
    // began: when it leaves no trace in time, the job is not observed.
    const auto reference = summary.latestRecord ? std::optional(summary.latestRecord->startedAt)
                                                : summary.monitoringStartedAt;
    return reference ? nextExecution(job, *reference) : std::nullopt;
}

QCoro::Task<> CronStore::refreshExecutionStatus()
{
    QList<CronJob> monitored;
    for (const CronJob& job : m_jobs) {
        if (job.isMonitoringEnabled)
            monitored.append(job);
    }
    if (monitored.isEmpty()) {
        assign(m_executionSummaries, {}, &CronStore::executionSummariesChanged);
        assign(m_selectedJobHistory, {}, &CronStore::selectedJobHistoryChanged);
        co_return;
    }

    QList<QUuid> ids;
    for (const CronJob& job : monitored)
        ids.append(job.id);
    const ExecutionSummaryMap summaries = co_await m_executionManager->summaries(ids);
    const QDateTime now = m_time.now();

    ExecutionSummaryMap refreshed;
    for (const CronJob& job : monitored) {
        JobExecutionSummary summary = summaries.value(job.id);
        const auto kind = summary.state.kind();
        const bool mayBeOverdue =
            kind == JobExecutionState::Kind::waiting || kind == JobExecutionState::Kind::succeeded;
        if (job.isEnabled && mayBeOverdue) {
            const auto expected = expectedExecution(job, summary);
            if (expected && expected->msecsTo(now) > notObservedGraceSeconds * 1000)
                summary.state = JobExecutionState::notObserved();
        }
        refreshed.insert(job.id, summary);
    }
    assign(m_executionSummaries, std::move(refreshed), &CronStore::executionSummariesChanged);

    const OptionalJob selected = selectedJob();
    if (selected && selected->isMonitoringEnabled) {
        auto history = co_await m_executionManager->history(selected->id);
        assign(m_selectedJobHistory, std::move(history), &CronStore::selectedJobHistoryChanged);
    } else {
        assign(m_selectedJobHistory, {}, &CronStore::selectedJobHistoryChanged);
    }
}

QCoro::Task<> CronStore::runJobNow(CronJob job)
{
    if (!m_manuallyRunningJobID.isNull() || !job.isMonitoringEnabled)
        co_return;
    assign(m_manuallyRunningJobID, job.id, &CronStore::manuallyRunningJobIDChanged);

    auto assignments = CronEnvironment::assignmentsAbove(m_document, job.id);
    const auto result = co_await m_executionManager->runNow(job, std::move(assignments));
    co_await refreshExecutionStatus();
    if (!result)
        present(tr("Cronjob konnte nicht erfolgreich ausgeführt werden"),
                ErrorText::of(result.error()));
    assign(m_manuallyRunningJobID, QUuid(), &CronStore::manuallyRunningJobIDChanged);
}

QCoro::Task<> CronStore::clearJobHistory(QUuid jobId)
{
    co_await m_executionManager->clearHistory(jobId);
    m_nextExecutionCache.remove(jobId);
    // A fresh start marker: the job counts as waiting from now on, not as overdue.
    const QList<QUuid> cleared(1, jobId);
    co_await m_executionManager->prepareMonitoring(cleared);
    co_await refreshExecutionStatus();
}

QCoro::Task<> CronStore::enableMonitoringForAllJobs()
{
    // A command cron would treat differently once wrapped, or one whose wrapped line the
    // crontab tool would refuse as too long, stays as it is.
    CronDocument document = m_document;
    const QString quotedRunner = quotedPath(m_runnerPath);
    bool hasCandidate = false;
    for (auto& node : document.nodes) {
        const CronJob* job = node.job();
        if (!job || job->isMonitoringEnabled ||
            MonitoringCommandLine::monitoringIssue(job->command, quotedRunner))
            continue;
        CronJob monitored = *job;
        monitored.isMonitoringEnabled = true;
        monitored.logPolicy = ExecutionLogPolicy::messagesAndErrors;
        node = CronDocument::Node::job(std::move(monitored));
        hasCandidate = true;
    }
    if (!hasCandidate) {
        rememberDismissedSuggestion();
        co_return;
    }

    const auto jobs = document.jobs();
    std::optional<qsizetype> index;
    for (qsizetype i = 0; i < jobs.size() && !m_selection.isNull(); ++i) {
        if (jobs[i].id == m_selection) {
            index = i;
            break;
        }
    }
    OptionalSavedChange change = SavedChange::of(SavedChange::Kind::enableMonitoring);
    if (co_await commitDocument(std::move(document), index,
                                tr("Ausführungsstatus konnte nicht aktiviert werden"),
                                std::move(change)))
        rememberDismissedSuggestion();
}

void CronStore::dismissMonitoringSuggestion()
{
    rememberDismissedSuggestion();
}

void CronStore::rememberDismissedSuggestion()
{
    assign(m_hasDismissedMonitoringSuggestion, true,
           &CronStore::hasDismissedMonitoringSuggestionChanged);
    m_defaults->setValue(dismissedSuggestionKey, true);
}

} // namespace Tempolane
