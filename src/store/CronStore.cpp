#include "CronStore.h"

#include "CronExpression.h"
#include "CrontabText.h"

#include <QCoreApplication>

namespace Tempolane {

CronStore::CronStore(std::unique_ptr<CronManaging> client,
                     std::unique_ptr<CronBackupStoring> backupStore,
                     std::shared_ptr<ExecutionManaging> executionManager, QString runnerPath,
                     std::unique_ptr<QSettings> defaults, StoreTime time, QObject* parent)
    : QObject(parent),
      m_repository(std::make_unique<CronRepository>(std::move(client), std::move(backupStore))),
      m_executionManager(std::move(executionManager)), m_runnerPath(std::move(runnerPath)),
      m_defaults(std::move(defaults)), m_time(std::move(time)),
      m_hasDismissedMonitoringSuggestion(m_defaults->value(dismissedSuggestionKey, false).toBool())
{
}

CronStore::~CronStore() = default;

void CronStore::setSelection(QUuid selection)
{
    assign(m_selection, selection, &CronStore::selectionChanged);
}

void CronStore::setFilter(JobFilter filter)
{
    assign(m_filter, filter, &CronStore::filterChanged);
}

void CronStore::setSearchText(QString text)
{
    assign(m_searchText, std::move(text), &CronStore::searchTextChanged);
}

void CronStore::setJobForCreation(OptionalJob job)
{
    m_jobForCreationHoldsEdits = false;
    assign(m_jobForCreation, std::move(job), &CronStore::jobForCreationChanged);
}

void CronStore::setJobPendingDeletion(OptionalJob job)
{
    assign(m_jobPendingDeletion, std::move(job), &CronStore::jobPendingDeletionChanged);
}

void CronStore::setPresentedError(OptionalPresentedError error)
{
    assign(m_presentedError, std::move(error), &CronStore::presentedErrorChanged);
}

OptionalJob CronStore::selectedJob() const
{
    if (m_selection.isNull())
        return std::nullopt;
    for (const auto& node : m_document.nodes) {
        if (const CronJob* job = node.job(); job && job->id == m_selection)
            return *job;
    }
    return std::nullopt;
}

bool CronStore::passesFilter(const CronJob& job, JobFilter filter) const
{
    switch (filter) {
    case JobFilter::all:
        return true;
    case JobFilter::active:
        return job.isEnabled;
    case JobFilter::paused:
        return !job.isEnabled;
    case JobFilter::failed: {
        const auto kind = executionSummary(job).state.kind();
        return kind == JobExecutionState::Kind::failed ||
               kind == JobExecutionState::Kind::interrupted;
    }
    case JobFilter::problems:
        return m_jobProblems.contains(job.id);
    }
    Q_UNREACHABLE();
}

const QList<CronStore::FoldedTexts>& CronStore::foldedTexts() const
{
    if (m_foldedTexts.size() == m_jobs.size())
        return m_foldedTexts;
    // Case folding compares the way the user reads, whatever the letters' case. Jobs share a
    // handful of schedules: each is described once.
    QHash<QString, QString> descriptions;
    m_foldedTexts.clear();
    m_foldedTexts.reserve(m_jobs.size());
    for (const CronJob& job : m_jobs) {
        auto description = descriptions.constFind(job.scheduleExpression);
        if (description == descriptions.cend())
            description = descriptions.insert(
                job.scheduleExpression,
                CronExpression::description(job.scheduleExpression).toCaseFolded());
        m_foldedTexts.append({job.name.toCaseFolded(), job.command.toCaseFolded(),
                              job.scheduleExpression.toCaseFolded(), *description});
    }
    return m_foldedTexts;
}

bool CronStore::matchesFilterAndSearch(const CronJob& job, const FoldedTexts& texts,
                                       const QString& foldedSearch) const
{
    if (!passesFilter(job, m_filter))
        return false;
    return foldedSearch.isEmpty() ||
           std::any_of(texts.cbegin(), texts.cend(),
                       [&](const QString& text) { return text.contains(foldedSearch); });
}

QList<CronJob> CronStore::filteredJobs() const
{
    const QString foldedSearch = m_searchText.trimmed().toCaseFolded();
    if (foldedSearch.isEmpty() && m_filter == JobFilter::all)
        return m_jobs;
    static const FoldedTexts unsearched;
    const QList<FoldedTexts>* texts = foldedSearch.isEmpty() ? nullptr : &foldedTexts();
    QList<CronJob> result;
    result.reserve(m_jobs.size());
    for (qsizetype i = 0; i < m_jobs.size(); ++i) {
        if (matchesFilterAndSearch(m_jobs[i], texts ? texts->at(i) : unsearched, foldedSearch))
            result.append(m_jobs[i]);
    }
    return result;
}

int CronStore::activeJobCount() const
{
    return int(std::count_if(m_jobs.cbegin(), m_jobs.cend(), [this](const CronJob& job) {
        return passesFilter(job, JobFilter::active);
    }));
}

int CronStore::failedJobCount() const
{
    return int(std::count_if(m_jobs.cbegin(), m_jobs.cend(), [this](const CronJob& job) {
        return passesFilter(job, JobFilter::failed);
    }));
}

int CronStore::problemJobCount() const
{
    return int(std::count_if(m_jobs.cbegin(), m_jobs.cend(), [this](const CronJob& job) {
        return passesFilter(job, JobFilter::problems);
    }));
}

void CronStore::setJobProblems(JobProblemMap problems)
{
    assign(m_jobProblems, std::move(problems), &CronStore::jobProblemsChanged);
}

int CronStore::unmonitoredJobCount() const
{
    return int(std::count_if(m_jobs.cbegin(), m_jobs.cend(),
                             [](const CronJob& job) { return !job.isMonitoringEnabled; }));
}

std::optional<QDateTime>
CronStore::cachedNextExecution(QHash<QUuid, NextExecutionCacheEntry>& cache, const CronJob& job,
                               const QDateTime& reference)
{
    const auto entry = cache.constFind(job.id);
    if (entry != cache.cend() && entry->expression == job.scheduleExpression &&
        std::abs(entry->reference.msecsTo(reference)) < 500)
        return entry->date;
    const auto date =
        CronExpression::nextExecution(job.scheduleExpression, reference, m_time.zone());
    cache.insert(job.id, {job.scheduleExpression, reference, date});
    return date;
}

std::optional<QDateTime> CronStore::nextExecution(const CronJob& job, const QDateTime& reference)
{
    return cachedNextExecution(m_nextExecutionCache, job, reference);
}

std::optional<QDateTime> CronStore::upcomingExecution(const CronJob& job, const QDateTime& now)
{
    if (!job.isEnabled)
        return std::nullopt;
    // Subtracting the wall clock's seconds also holds in zones whose offset is not whole minutes.
    const QTime wallClock = now.toTimeZone(m_time.zone()).time();
    const QDateTime minuteStart = now.addMSecs(-(wallClock.second() * 1000 + wallClock.msec()));
    return cachedNextExecution(m_upcomingExecutionCache, job, minuteStart);
}

QList<QUuid> CronStore::monitoredJobIds() const
{
    QList<QUuid> ids;
    for (const CronJob& job : m_jobs) {
        if (job.isMonitoringEnabled)
            ids.append(job.id);
    }
    return ids;
}

void CronStore::present(const QString& title, ErrorText text, bool offersReload)
{
    setPresentedError(PresentedError::make(title, std::move(text), offersReload));
}

void CronStore::reselect(const OptionalJob& previous)
{
    // Jobs without an id marker get a fresh id at every parse, so the previous selection is
    // found again by what the job does.
    const auto jobs = m_jobs;
    const auto sameJob =
        previous ? std::find_if(jobs.cbegin(), jobs.cend(),
                                [&](const CronJob& job) {
                                    return job.scheduleExpression == previous->scheduleExpression &&
                                           job.command == previous->command;
                                })
                 : jobs.cend();
    if (!m_selectsJobs)
        setSelection(QUuid());
    else if (sameJob != jobs.cend())
        setSelection(sameJob->id);
    else if (!selectedJob())
        setSelection(jobs.isEmpty() ? QUuid() : jobs.front().id);
}

QCoro::Task<> CronStore::load()
{
    if (m_isLoading || m_isSaving)
        co_return;
    assign(m_isLoading, true, &CronStore::isLoadingChanged);

    const auto text = co_await m_repository->load();
    if (!text) {
        present(tr("Crontab konnte nicht geladen werden"), ErrorText::of(text.error()));
        assign(m_isLoading, false, &CronStore::isLoadingChanged);
        co_return;
    }
    co_await adoptRead(*text);
}

QCoro::Task<> CronStore::adoptRead(QString text)
{
    CronDocument parsed = co_await parsedAway(text);
    const OptionalJob previous = selectedJob();
    const bool isChangedOutside = m_hasLoaded && text != m_loadedContents;
    adopt(text, std::move(parsed));
    assign(m_hasLoaded, true, &CronStore::hasLoadedChanged);
    noteCrontabHolds(text);
    reselect(previous);
    if (isChangedOutside)
        Q_EMIT changedOutside();

    co_await m_executionManager->prepareMonitoring(monitoredJobIds());
    co_await refreshExecutionStatus();
    assign(m_isLoading, false, &CronStore::isLoadingChanged);
}

QCoro::Task<std::optional<QString>> CronStore::readUnlessOutdated()
{
    const quint64 adoptionsBefore = m_adoptions;
    auto text = co_await m_repository->load();
    if (!text || m_adoptions != adoptionsBefore)
        co_return std::nullopt;
    co_return std::move(*text);
}

QCoro::Task<> CronStore::followOutsideChange()
{
    if (!m_hasLoaded || m_isLoading || m_isSaving)
        co_return;
    const auto text = co_await readUnlessOutdated();
    // A load or save that began meanwhile reads or writes the crontab itself.
    if (!text || m_isLoading || m_isSaving)
        co_return;
    noteCrontabHolds(*text);
    if (*text == m_loadedContents)
        co_return;
    assign(m_isLoading, true, &CronStore::isLoadingChanged);
    co_await adoptRead(*text);
}

QCoro::Task<bool> CronStore::mayLeaveSelectedJob()
{
    if (!m_leaveGuard || !selectedJob())
        co_return true;
    co_return co_await m_leaveGuard();
}

} // namespace Tempolane
