// The store's operations that change the crontab: create, duplicate, save, pause and resume,
// delete, and the commit they all share.
#include "CronStore.h"
#include "CrontabText.h"
#include "UserCharacters.h"

#include <QCollator>
#include <QCoro/QCoroFuture>
#include <QtConcurrent/QtConcurrentRun>

namespace Tempolane {

namespace {

std::optional<qsizetype> indexOfJob(const CronDocument& document, const QUuid& id)
{
    const auto jobs = document.jobs();
    for (qsizetype i = 0; i < jobs.size(); ++i) {
        if (jobs[i].id == id)
            return i;
    }
    return std::nullopt;
}

// A save that only switches a job on or off is a pause or a resume, whichever way it came.
SavedChange::Kind kindOfSave(const QList<CronJob>& jobs, const CronJob& job)
{
    const auto existing = std::find_if(jobs.cbegin(), jobs.cend(),
                                       [&](const CronJob& other) { return other.id == job.id; });
    if (existing == jobs.cend() || existing->isEnabled == job.isEnabled)
        return SavedChange::Kind::edit;
    CronJob switchedBack = job;
    switchedBack.isEnabled = existing->isEnabled;
    if (switchedBack != *existing)
        return SavedChange::Kind::edit;
    return job.isEnabled ? SavedChange::Kind::resume : SavedChange::Kind::pause;
}

} // namespace

QString CronStore::shownName(const CronJob& job)
{
    const QString trimmed = job.name.trimmed();
    return trimmed.isEmpty() ? CronJob::fallbackName(job.command) : trimmed;
}

void CronStore::beginCreatingJob()
{
    CronJob job;
    job.id = QUuid::createUuid();
    job.scheduleExpression = QStringLiteral("0 9 * * *");
    job.isEnabled = true;
    job.isMonitoringEnabled = true;
    job.logPolicy = allExecutionLogPolicies.front();
    setJobForCreation(job);
}

void CronStore::beginDuplicating(const CronJob& source)
{
    CronJob job = source;
    job.id = QUuid::createUuid();
    job.name = duplicateName(source);
    job.isMonitoringEnabled = true;
    job.original.reset();
    setJobForCreation(job);
}

void CronStore::beginRecreating(const CronJob& draft)
{
    // Made in place: GCC 12's optimiser takes a moved copy's empty original for uninitialised.
    m_jobForCreation.emplace(draft);
    m_jobForCreation->id = QUuid::createUuid();
    m_jobForCreation->original.reset();
    m_jobForCreationHoldsEdits = true;
    Q_EMIT jobForCreationChanged();
}

QString CronStore::duplicateName(const CronJob& job) const
{
    const QString base = shownName(job);
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    const auto jobs = m_jobs;
    for (int n = 1;; ++n) {
        QString suffix = QStringLiteral(" \u2013 ") + tr("Kopie");
        if (n > 1)
            suffix += u' ' + QString::number(n);
        const qsizetype keep =
            std::max<qsizetype>(1, CronJob::maximumNameLength - UserCharacters::count(suffix));
        const QString candidate = UserCharacters::leading(base, keep) + suffix;
        const bool isTaken = std::any_of(jobs.cbegin(), jobs.cend(), [&](const CronJob& other) {
            return collator.compare(shownName(other), candidate) == 0;
        });
        if (!isTaken)
            return candidate;
    }
}

QCoro::Task<bool> CronStore::saveJob(CronJob job, bool isNew)
{
    const QUuid saved = job.id;
    co_return co_await commitJob(std::move(job), isNew, saved);
}

QUuid CronStore::selectionKeptOr(const QUuid& fallback) const
{
    return selectedJob() ? m_selection : fallback;
}

QCoro::Task<bool> CronStore::commitJob(CronJob job, bool isNew, QUuid selectAfterwards)
{
    if (m_isSaving)
        co_return false;
    CronDocument document = m_document;
    if (isNew) {
        document.nodes.append(CronDocument::Node::job(job));
        document.hasTrailingNewline = true;
    } else {
        document = document.replacingJob(job);
    }
    const auto index = indexOfJob(document, selectAfterwards);
    const QString title = isNew ? tr("Cronjob konnte nicht angelegt werden")
                                : tr("Cronjob konnte nicht gespeichert werden");
    OptionalSavedChange change = SavedChange::of(
        isNew ? SavedChange::Kind::create : kindOfSave(m_jobs, job), shownName(job));
    co_return co_await commitDocument(std::move(document), index, title, std::move(change));
}

QCoro::Task<> CronStore::setEnabled(bool isEnabled, CronJob job)
{
    job.isEnabled = isEnabled;
    // Pausing a job from the list does not open it: the editor may hold changes to another.
    const QUuid selectAfterwards = selectionKeptOr(job.id);
    co_await commitJob(std::move(job), false, selectAfterwards);
}

QCoro::Task<> CronStore::deleteJob(CronJob job)
{
    setJobPendingDeletion(std::nullopt);
    const auto index = indexOfJob(m_document, job.id);
    if (!index)
        co_return;

    CronDocument document = m_document;
    document.nodes.removeIf(
        [&](const CronDocument::Node& node) { return node.job() && node.job()->id == job.id; });
    const auto remaining = document.jobs().size();
    // Deleting another job than the selected one leaves the selection (and its editor) alone.
    const QUuid kept = selectionKeptOr(job.id);
    const std::optional<qsizetype> selectIndex =
        kept != job.id   ? indexOfJob(document, kept)
        : remaining == 0 ? std::nullopt
                         : std::optional(std::min(*index, remaining - 1));

    OptionalSavedChange change = SavedChange::of(SavedChange::Kind::remove, shownName(job));
    if (co_await commitDocument(std::move(document), selectIndex,
                                tr("Cronjob konnte nicht gelöscht werden"), std::move(change)))
        co_await m_executionManager->clearHistory(job.id);
}

QCoro::Task<CronDocument> CronStore::parsedAway(QString text) const
{
    // A large crontab takes milliseconds to read; the window keeps drawing meanwhile.
    auto future = QtConcurrent::run(
        [text, runnerPath = m_runnerPath] { return CronDocument::parse(text, runnerPath); });
    co_return co_await future;
}

void CronStore::adopt(const QString& text, CronDocument document)
{
    assign(m_loadedContents, text, &CronStore::loadedContentsChanged);
    if (document != m_document) {
        m_document = std::move(document);
        // Every count, filter and look-up reads the jobs: taken out once per document.
        m_jobs = m_document.jobs();
        m_foldedTexts.clear();
        Q_EMIT documentChanged();
    }
    m_nextExecutionCache.clear();
    m_upcomingExecutionCache.clear();
    ++m_adoptions;
    assign(m_lastLoadedAt, m_time.now(), &CronStore::lastLoadedAtChanged);
}

void CronStore::selectIndex(std::optional<qsizetype> index)
{
    const auto jobs = m_jobs;
    if (index && *index >= 0 && *index < jobs.size())
        setSelection(jobs[*index].id);
    else
        setSelection(jobs.isEmpty() ? QUuid() : jobs.front().id);
}

QCoro::Task<bool> CronStore::commitDocument(CronDocument document,
                                            std::optional<qsizetype> selectIndexAfterwards,
                                            QString errorTitle, OptionalSavedChange change)
{
    if (m_isSaving)
        co_return false;
    // The document was made from the text loaded until now. A load that finishes while the
    // runner is installed must not make the save expect a text the document never saw.
    const QString text = document.serializedText(m_runnerPath);
    if (change) {
        change->before = m_loadedContents;
        change->after = text;
    }
    // Named, not temporaries: GCC 12 destroys a temporary argument of an awaited coroutine twice.
    Commit pending{text, m_loadedContents, std::move(change), std::move(errorTitle)};
    Selector select = [this, selectIndexAfterwards](const OptionalJob&) {
        selectIndex(selectIndexAfterwards);
    };
    co_return co_await commit(std::move(pending), std::move(select));
}

QCoro::Task<bool> CronStore::commit(Commit commit, Selector select)
{
    if (m_isSaving)
        co_return false;
    assign(m_isSaving, true, &CronStore::isSavingChanged);

    CronDocument document = co_await parsedAway(commit.text);
    const auto jobs = document.jobs();
    const bool hasMonitoredJob = std::any_of(
        jobs.cbegin(), jobs.cend(), [](const CronJob& job) { return job.isMonitoringEnabled; });
    std::optional<ErrorText> failure;
    bool isChangedOutside = false;
    if (hasMonitoredJob) {
        const auto installed = co_await m_executionManager->installRunner();
        if (!installed)
            failure = ErrorText::of(installed.error());
    }
    if (!failure) {
        const auto saved = co_await m_repository->save(commit.text, commit.expected);
        if (!saved) {
            failure = ErrorText::of(saved.error());
            // The refusal itself shows that the crontab no longer holds what the last change
            // wrote.
            if (saved.error().isConcurrentModification() && m_lastChange &&
                m_lastChange->written() == commit.expected)
                assign(m_isLastChangeInPlace, false, &CronStore::isLastChangeInPlaceChanged);
            isChangedOutside = saved.error().isConcurrentModification();
        }
    }
    if (failure) {
        present(commit.errorTitle, *failure, isChangedOutside);
        assign(m_isSaving, false, &CronStore::isSavingChanged);
        co_return false;
    }

    // The store adopts what it wrote instead of reading the crontab back.
    const OptionalJob previouslySelected = selectedJob();
    adopt(commit.text, std::move(document));
    if (commit.change)
        assign(m_lastChange, std::move(commit.change), &CronStore::lastChangeChanged);
    noteCrontabHolds(commit.text);
    select(previouslySelected);
    co_await m_executionManager->prepareMonitoring(monitoredJobIds());
    co_await refreshExecutionStatus();
    assign(m_isSaving, false, &CronStore::isSavingChanged);
    co_return true;
}

} // namespace Tempolane
