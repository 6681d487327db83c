#pragma once

#include "CronDocument.h"
#include "CronRepository.h"
#include "ExecutionManaging.h"
#include "JobFilter.h"
#include "NextExecutionCacheEntry.h"
#include "PresentedError.h"
#include "SavedChange.h"
#include "StoreTime.h"

#include <QCoro/QCoroTask>
#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QSettings>
#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace Tempolane {

using ExecutionSummaryMap = QMap<QUuid, JobExecutionSummary>;
using JobRunsMap = QMap<QUuid, QList<JobExecutionRecord>>;
using OptionalJob = std::optional<CronJob>;
using OptionalPresentedError = std::optional<PresentedError>;
using OptionalSavedChange = std::optional<SavedChange>;
// Per job with an error or a warning of the checks, the first message.
using JobProblemMap = QHash<QUuid, QString>;

// The application's one state: the crontab as last read, the selection, the list's filter,
// progress flags, execution status and the error shown. Lives on the main thread; every
// operation is a coroutine whose steps between awaits run there. Nothing throws: a failed
// operation ends in `presentedError`.
class CronStore final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString loadedContents READ loadedContents NOTIFY loadedContentsChanged)
    Q_PROPERTY(Tempolane::CronDocument document READ document NOTIFY documentChanged)
    Q_PROPERTY(QUuid selection READ selection WRITE setSelection NOTIFY selectionChanged)
    Q_PROPERTY(Tempolane::JobFilter filter READ filter WRITE setFilter NOTIFY filterChanged)
    Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged)
    Q_PROPERTY(Tempolane::OptionalJob jobForCreation READ jobForCreation WRITE setJobForCreation
                   NOTIFY jobForCreationChanged)
    Q_PROPERTY(Tempolane::OptionalJob jobPendingDeletion READ jobPendingDeletion WRITE
                   setJobPendingDeletion NOTIFY jobPendingDeletionChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    Q_PROPERTY(bool isSaving READ isSaving NOTIFY isSavingChanged)
    Q_PROPERTY(bool hasLoaded READ hasLoaded NOTIFY hasLoadedChanged)
    Q_PROPERTY(QDateTime lastLoadedAt READ lastLoadedAt NOTIFY lastLoadedAtChanged)
    Q_PROPERTY(Tempolane::ExecutionSummaryMap executionSummaries READ executionSummaries NOTIFY
                   executionSummariesChanged)
    Q_PROPERTY(QList<Tempolane::JobExecutionRecord> selectedJobHistory READ selectedJobHistory
                   NOTIFY selectedJobHistoryChanged)
    Q_PROPERTY(Tempolane::JobRunsMap jobRuns READ jobRuns NOTIFY jobRunsChanged)
    Q_PROPERTY(
        QUuid manuallyRunningJobID READ manuallyRunningJobID NOTIFY manuallyRunningJobIDChanged)
    Q_PROPERTY(bool hasDismissedMonitoringSuggestion READ hasDismissedMonitoringSuggestion NOTIFY
                   hasDismissedMonitoringSuggestionChanged)
    Q_PROPERTY(Tempolane::OptionalPresentedError presentedError READ presentedError WRITE
                   setPresentedError NOTIFY presentedErrorChanged)
    Q_PROPERTY(Tempolane::OptionalSavedChange lastChange READ lastChange NOTIFY lastChangeChanged)
    Q_PROPERTY(bool isLastChangeInPlace READ isLastChangeInPlace NOTIFY isLastChangeInPlaceChanged)
    Q_PROPERTY(Tempolane::JobProblemMap jobProblems READ jobProblems WRITE setJobProblems NOTIFY
                   jobProblemsChanged)

public:
    static constexpr int notObservedGraceSeconds = 90;
    static constexpr auto dismissedSuggestionKey = "hasDismissedExecutionMonitoringSuggestion";

    // `runnerPath` is where the runner is installed (DataLocations): monitored jobs are written
    // as calls of it and recognised by it.
    CronStore(std::unique_ptr<CronManaging> client, std::unique_ptr<CronBackupStoring> backupStore,
              std::shared_ptr<ExecutionManaging> executionManager, QString runnerPath,
              std::unique_ptr<QSettings> defaults, StoreTime time = {}, QObject* parent = nullptr);
    ~CronStore() override;

    // Where the runner is installed: monitored jobs are written as calls of it.
    const QString& runnerPath() const { return m_runnerPath; }
    // The zone whose wall clock the schedules follow.
    QTimeZone timeZone() const { return m_time.zone(); }

    // Observed state. A "none" selection or running job is a null QUuid, no load a null time.
    QString loadedContents() const { return m_loadedContents; }
    const CronDocument& document() const { return m_document; }
    const QList<CronJob>& jobs() const { return m_jobs; }
    QUuid selection() const { return m_selection; }
    void setSelection(QUuid selection);
    JobFilter filter() const { return m_filter; }
    void setFilter(JobFilter filter);
    QString searchText() const { return m_searchText; }
    void setSearchText(QString text);
    OptionalJob jobForCreation() const { return m_jobForCreation; }
    void setJobForCreation(OptionalJob job);
    // The job to create holds edits the user typed into a job that is gone: closing the dialog
    // gives them up, so it asks first.
    bool jobForCreationHoldsEdits() const { return m_jobForCreationHoldsEdits; }
    OptionalJob jobPendingDeletion() const { return m_jobPendingDeletion; }
    void setJobPendingDeletion(OptionalJob job);
    bool isLoading() const { return m_isLoading; }
    bool isSaving() const { return m_isSaving; }
    bool hasLoaded() const { return m_hasLoaded; }
    QDateTime lastLoadedAt() const { return m_lastLoadedAt; }
    const ExecutionSummaryMap& executionSummaries() const { return m_executionSummaries; }
    const QList<JobExecutionRecord>& selectedJobHistory() const { return m_selectedJobHistory; }
    // The recorded runs, without output, of the monitored jobs last asked for.
    const JobRunsMap& jobRuns() const { return m_jobRuns; }
    QUuid manuallyRunningJobID() const { return m_manuallyRunningJobID; }
    bool hasDismissedMonitoringSuggestion() const { return m_hasDismissedMonitoringSuggestion; }
    OptionalPresentedError presentedError() const { return m_presentedError; }
    void setPresentedError(OptionalPresentedError error);
    // The last change written by this store, and whether the crontab, as last read or written,
    // still holds exactly what that change (or taking it back) wrote.
    const OptionalSavedChange& lastChange() const { return m_lastChange; }
    bool isLastChangeInPlace() const { return m_isLastChangeInPlace; }
    // What the checks found wrong with the jobs, set by whoever checks; the filter "Probleme"
    // shows these jobs.
    const JobProblemMap& jobProblems() const { return m_jobProblems; }
    void setJobProblems(JobProblemMap problems);

    // A store without a window (the background watcher) selects no job after a load, so it
    // reads no run history it would not show.
    void setSelectsJobs(bool selectsJobs) { m_selectsJobs = selectsJobs; }

    // Queries.
    OptionalJob selectedJob() const;
    QList<CronJob> filteredJobs() const;
    bool passesFilter(const CronJob& job, JobFilter filter) const;
    int activeJobCount() const;
    int failedJobCount() const;
    int problemJobCount() const;
    int unmonitoredJobCount() const;
    std::optional<QDateTime> nextExecution(const CronJob& job, const QDateTime& reference);
    std::optional<QDateTime> upcomingExecution(const CronJob& job, const QDateTime& now);
    JobExecutionSummary executionSummary(const CronJob& job) const;
    // The run a monitored job was due to make next, by the summary's newest record (or the
    // start of monitoring): once it is overdue by notObservedGraceSeconds without a new
    // record, the job is not observed.
    std::optional<QDateTime> expectedExecution(const CronJob& job,
                                               const JobExecutionSummary& summary);
    QString duplicateName(const CronJob& job) const;
    // The trimmed name, or the command's fallback name when that is empty.
    static QString shownName(const CronJob& job);

    // Loading.
    QCoro::Task<> load();
    // Reads the crontab and, where something outside changed it since the store last read or
    // wrote it, takes the new text as a load does; nothing while a load or a save runs.
    QCoro::Task<> followOutsideChange();

    // Asked before the store leaves the selected job for another that the user did not pick
    // in the list: a job asked for from outside the window, or a text written over the crontab
    // that no longer holds the job (undo, redo, a backup). It gives true to go on, once the
    // edits of the job shown are saved or given up. Without one, the store goes on.
    using LeaveGuard = std::function<QCoro::Task<bool>()>;
    void setLeaveGuard(LeaveGuard guard) { m_leaveGuard = std::move(guard); }
    QCoro::Task<bool> mayLeaveSelectedJob();

    // Job operations.
    void beginCreatingJob();
    void beginDuplicating(const CronJob& job);
    // The edits of a job that the crontab no longer holds (removed or rewritten outside), offered
    // as a new job under the same name.
    void beginRecreating(const CronJob& draft);
    QCoro::Task<bool> saveJob(CronJob job, bool isNew);
    QCoro::Task<> setEnabled(bool isEnabled, CronJob job);
    QCoro::Task<> deleteJob(CronJob job);
    // `change` (made with SavedChange::of) becomes the last change once the document is written.
    QCoro::Task<bool> commitDocument(CronDocument document, std::optional<qsizetype> selectIndex,
                                     QString errorTitle, OptionalSavedChange change = {});

    // Backups, and whole texts written through the same commit as every job operation.
    QCoro::Task<std::expected<QList<CronBackup>, CronBackupError>> backups();
    QCoro::Task<bool> restoreBackup(QString text);
    // A fix the checks offered, as the crontab text it gives, written over the text loaded;
    // undone under its own name.
    QCoro::Task<bool> commitFix(QString text, QString description);
    // Writes the text from before the last change over what the change wrote, or the change's
    // text over what taking it back wrote; refused like any commit when the crontab holds
    // something else.
    QCoro::Task<bool> undoLastChange();
    QCoro::Task<bool> redoLastChange();
    // Reads the crontab and compares it with what the last change wrote; nothing without one.
    QCoro::Task<> checkLastChange();

    // Execution integration.
    QCoro::Task<> refreshExecutionStatus();
    // Reads the recorded runs of the monitored jobs among these, for the pictures that draw
    // them; runs of other jobs are dropped.
    QCoro::Task<> refreshJobRuns(QList<QUuid> jobIds);
    QCoro::Task<> runJobNow(CronJob job);
    QCoro::Task<> clearJobHistory(QUuid jobId);
    QCoro::Task<> enableMonitoringForAllJobs();
    void dismissMonitoringSuggestion();

Q_SIGNALS:
    void loadedContentsChanged();
    void documentChanged();
    void selectionChanged();
    void filterChanged();
    void searchTextChanged();
    void jobForCreationChanged();
    void jobPendingDeletionChanged();
    void isLoadingChanged();
    void isSavingChanged();
    void hasLoadedChanged();
    void lastLoadedAtChanged();
    void executionSummariesChanged();
    void selectedJobHistoryChanged();
    void jobRunsChanged();
    void manuallyRunningJobIDChanged();
    void hasDismissedMonitoringSuggestionChanged();
    void presentedErrorChanged();
    void lastChangeChanged();
    void isLastChangeInPlaceChanged();
    // A load took a text that someone else wrote since the store last read or wrote it.
    void changedOutside();
    void jobProblemsChanged();

private:
    // Assigns and notifies only when the value really changes.
    template <typename T> void assign(T& field, T value, void (CronStore::*changed)())
    {
        if (field == value)
            return;
        field = std::move(value);
        Q_EMIT(this->*changed)();
    }

    // A job's name, command, schedule and its description, case-folded for the search.
    using FoldedTexts = std::array<QString, 4>;
    // Per job of m_jobs, in its order; made at the first search of each document, so that a
    // keystroke compares texts instead of describing and folding every schedule again.
    const QList<FoldedTexts>& foldedTexts() const;
    bool matchesFilterAndSearch(const CronJob& job, const FoldedTexts& texts,
                                const QString& foldedSearch) const;
    std::optional<QDateTime> cachedNextExecution(QHash<QUuid, NextExecutionCacheEntry>& cache,
                                                 const CronJob& job, const QDateTime& reference);
    QCoro::Task<CronDocument> parsedAway(QString text) const;
    void adopt(const QString& text, CronDocument document);
    // The second half of a load, from the text read: `isLoading` is set, and cleared at the end.
    QCoro::Task<> adoptRead(QString text);
    // The crontab as it is now; nothing when it cannot be read or the store read or wrote it
    // while it was read, which settles what a check would find.
    QCoro::Task<std::optional<QString>> readUnlessOutdated();
    // Whether writing `text` keeps the selected job; else asks the leave guard first.
    QCoro::Task<bool> mayWriteOverSelectedJob(QString text);
    // Whether the crontab, now holding `text`, still holds what the last change wrote.
    void noteCrontabHolds(const QString& text);
    void selectIndex(std::optional<qsizetype> index);
    // The selected job's id while it exists, so that an operation on another job keeps it
    // selected; else `fallback`.
    QUuid selectionKeptOr(const QUuid& fallback) const;
    // Saves `job` and then selects the job with id `selectAfterwards`.
    QCoro::Task<bool> commitJob(CronJob job, bool isNew, QUuid selectAfterwards);
    // Keeps the previously selected job selected, found by what it does, or else the current
    // selection if it still exists, or else the first job.
    void reselect(const OptionalJob& previous);

    struct Commit
    {
        QString text;
        // What the crontab must still hold; anything else is a change from outside.
        QString expected;
        OptionalSavedChange change;
        QString errorTitle;
    };
    using Selector = std::function<void(const OptionalJob& previouslySelected)>;
    // The one way the crontab is written: the runner first where a job is monitored, then the
    // repository's save over the expected text, then the written text is adopted.
    QCoro::Task<bool> commit(Commit commit, Selector select);
    QCoro::Task<bool> commitText(QString text, QString expected, SavedChange change,
                                 QString errorTitle);
    // Writes what the last change wrote (isUndone false) or what it replaced (true) over the
    // other.
    QCoro::Task<bool> switchLastChange(bool isUndone, QString errorTitle);
    void present(const QString& title, ErrorText text, bool offersReload = false);
    void rememberDismissedSuggestion();
    QList<QUuid> monitoredJobIds() const;

    std::unique_ptr<CronRepository> m_repository;
    std::shared_ptr<ExecutionManaging> m_executionManager;
    QString m_runnerPath;
    std::unique_ptr<QSettings> m_defaults;
    StoreTime m_time;
    QHash<QUuid, NextExecutionCacheEntry> m_nextExecutionCache;
    QHash<QUuid, NextExecutionCacheEntry> m_upcomingExecutionCache;

    QString m_loadedContents;
    CronDocument m_document;
    QList<CronJob> m_jobs;
    mutable QList<FoldedTexts> m_foldedTexts;
    QUuid m_selection;
    JobFilter m_filter = JobFilter::all;
    QString m_searchText;
    OptionalJob m_jobForCreation;
    bool m_jobForCreationHoldsEdits = false;
    OptionalJob m_jobPendingDeletion;
    bool m_isLoading = false;
    bool m_isSaving = false;
    bool m_hasLoaded = false;
    QDateTime m_lastLoadedAt;
    ExecutionSummaryMap m_executionSummaries;
    QList<JobExecutionRecord> m_selectedJobHistory;
    JobRunsMap m_jobRuns;
    QUuid m_manuallyRunningJobID;
    bool m_selectsJobs = true;
    bool m_hasDismissedMonitoringSuggestion = false;
    OptionalPresentedError m_presentedError;
    OptionalSavedChange m_lastChange;
    bool m_isLastChangeInPlace = false;
    // Counts the texts adopted, read or written: a check that read the crontab before one is
    // out of date.
    quint64 m_adoptions = 0;
    LeaveGuard m_leaveGuard;
    JobProblemMap m_jobProblems;
};

} // namespace Tempolane
