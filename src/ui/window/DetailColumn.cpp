#include "DetailColumn.h"

#include "AmbientBackground.h"
#include "CronStore.h"
#include "CrontabChecking.h"
#include "Dialogs.h"
#include "EmptyStateView.h"
#include "JobEditorView.h"
#include "WindowPresentation.h"

#include <QCoreApplication>
#include <QCoro/QCoroSignal>
#include <QMessageBox>
#include <QVBoxLayout>

namespace Tempolane {

namespace {

// Asks the column to make the editor once everything already queued has been handled.
const QEvent::Type editorWanted = QEvent::Type(QEvent::registerEventType());

// Carries the user's answer from the question's callbacks to the coroutine that waits for it.
class Answer final : public QObject
{
    Q_OBJECT

public:
    std::optional<bool> value;
    void give(bool isGoingOn)
    {
        value = isGoingOn;
        Q_EMIT given();
    }

Q_SIGNALS:
    void given();
};

} // namespace

DetailColumn::DetailColumn(CronStore& store, Clock now, QWidget* parent)
    : QStackedWidget(parent), m_store(store), m_clock(std::move(now)),
      m_placeholder(new AmbientBackground(this))
{
    m_placeholder->setObjectName(QStringLiteral("detailPlaceholder"));
    m_emptyState = new EmptyStateView(m_placeholder);
    m_emptyState->setState(WindowPresentation::noSelectionPlaceholder());
    auto* layout = new QVBoxLayout(m_placeholder);
    layout->addWidget(m_emptyState);
    addWidget(m_placeholder);
    m_placeholder->installEventFilter(this);

    for (const auto signal :
         {&CronStore::selectionChanged, &CronStore::documentChanged, &CronStore::isSavingChanged,
          &CronStore::executionSummariesChanged, &CronStore::selectedJobHistoryChanged,
          &CronStore::jobRunsChanged, &CronStore::manuallyRunningJobIDChanged})
        connect(&m_store, signal, this, &DetailColumn::showSelectedJob);
    // The editor has the new text by then; what the user typed stays.
    connect(&m_store, &CronStore::changedOutside, this, [this] {
        if (m_editor && m_store.selectedJob())
            m_editor->noteOutsideChange();
    });
    showSelectedJob();
}

// The editor's actions work on the job selected when they are triggered: the one it shows.
void DetailColumn::makeEditor()
{
    JobEditorView::Actions actions;
    actions.save = [this](CronJob job) { m_store.saveJob(std::move(job), false); };
    actions.remove = [this] { m_store.setJobPendingDeletion(m_store.selectedJob()); };
    actions.duplicate = [this] {
        if (const auto job = m_store.selectedJob())
            m_store.beginDuplicating(*job);
    };
    actions.runNow = [this] {
        if (const auto job = m_store.selectedJob())
            m_store.runJobNow(*job);
    };
    actions.clearHistory = [this] {
        if (const auto job = m_store.selectedJob())
            m_store.clearJobHistory(job->id);
    };
    actions.applyFix = [this](Fix fix) {
        if (m_checking)
            m_checking->apply(std::move(fix));
    };
    const auto job = m_store.selectedJob();
    m_editor = new JobEditorView(job ? JobEditorInputs::of(m_store, *job, m_clock())
                                     : JobEditorView::Inputs{},
                                 std::move(actions), m_clock, this);
    m_editor->setObjectName(QStringLiteral("jobEditor"));
    connect(m_editor, &JobEditorView::titleChanged, this, &DetailColumn::windowTitleChanged);
    connect(m_editor, &JobEditorView::draftEdited, this, [this](const CronJob& draft) {
        if (m_checking && m_editor->hasUnsavedChanges())
            m_checking->checkDraft(draft);
        showFindings();
    });
    addWidget(m_editor);
    showSelectedJob();
}

void DetailColumn::setChecking(CrontabChecking* checking)
{
    m_checking = checking;
    for (const auto signal :
         {&CrontabChecking::findingsChanged, &CrontabChecking::draftFindingsChanged})
        connect(m_checking, signal, this, &DetailColumn::showFindings);
    showFindings();
}

// The saved job's findings, with fixes of the crontab as it is; while the draft differs, the
// draft's, whose fixes would have to wait for its save.
void DetailColumn::showFindings()
{
    const auto job = m_store.selectedJob();
    if (!m_editor || !m_checking || !job)
        return;
    if (!m_editor->hasUnsavedChanges()) {
        m_editor->setFindings(
            ShownFinding::of(m_checking->findingsOf(job->id), m_checking->checkedLines(), false),
            !m_store.isSaving());
        return;
    }
    if (m_checking->draftJobId() == job->id)
        m_editor->setFindings(
            ShownFinding::of(m_checking->draftFindings(), m_checking->checkedLines(), false),
            false);
}

void DetailColumn::showSelectedJob()
{
    keepEditsOfRemovedJob();
    const auto job = m_store.selectedJob();
    m_emptyState->setVisible(!job);
    if (!job) {
        setCurrentWidget(m_placeholder);
        return;
    }
    if (!m_editor) {
        // The editor is the heaviest part of the window: the background is painted first, with
        // the list beside it, and the editor follows once that frame is out (see eventFilter).
        m_placeholder->update();
        return;
    }
    m_editor->setInputs(JobEditorInputs::of(m_store, *job, m_clock()));
    setCurrentWidget(m_editor);
    showFindings();
}

// A job can leave the crontab while its edits are open: removed or rewritten outside, or
// written over by another window. Its edits go to the new-job dialog instead of with it.
void DetailColumn::keepEditsOfRemovedJob()
{
    if (!m_editor || !m_editor->hasUnsavedChanges())
        return;
    const CronJob draft = m_editor->draft();
    const auto& jobs = m_store.jobs();
    if (std::ranges::any_of(jobs, [&](const CronJob& job) { return job.id == draft.id; }))
        return;
    m_editor->revert();
    m_store.beginRecreating(draft);
}

QString DetailColumn::windowTitle() const
{
    if (m_editor && m_store.selectedJob())
        return WindowPresentation::windowTitle(m_editor->title());
    return WindowPresentation::windowTitle(m_store);
}

bool DetailColumn::hasUnsavedChanges() const
{
    return m_editor && m_store.selectedJob() && m_editor->hasUnsavedChanges();
}

void DetailColumn::settleEdits(std::function<void()> proceed, std::function<void()> stay)
{
    const auto job = m_store.selectedJob();
    if (!job || !hasUnsavedChanges()) {
        proceed();
        return;
    }
    const auto keepEditing = [stay] {
        if (stay)
            stay();
    };
    // One question at a time; whatever asks meanwhile stays where it is.
    if (m_saveQuestion) {
        keepEditing();
        return;
    }
    const auto question = WindowPresentation::unsavedChangesQuestion(*job);
    const auto save = [this, proceed, keepEditing] {
        // A draft that cannot be saved shows why in the editor, which stays.
        auto saved = m_editor->takeJobToSave();
        if (!saved) {
            m_editor->showWhatStopsSaving();
            keepEditing();
            return;
        }
        QCoro::connect(m_store.saveJob(std::move(*saved), false), this,
                       [proceed, keepEditing](bool isSaved) {
                           if (isSaved)
                               proceed();
                           else
                               keepEditing();
                       });
    };
    const auto discard = [this, proceed] {
        m_editor->revert();
        proceed();
    };
    m_saveQuestion = askToSave(
        window(), {question.title, question.saveLabel, question.discardLabel, question.cancelLabel},
        save, discard, keepEditing);
}

QCoro::Task<bool> DetailColumn::settledEdits()
{
    // Given at once without changes, else once the user chose and a save ended.
    const auto answer = std::make_shared<Answer>();
    settleEdits([answer] { answer->give(true); }, [answer] { answer->give(false); });
    if (!answer->value)
        co_await qCoro(answer.get(), &Answer::given);
    co_return answer->value.value_or(false);
}

bool DetailColumn::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_placeholder && event->type() == QEvent::Paint && !m_editor &&
        !m_isEditorComing && m_store.selectedJob()) {
        m_isEditorComing = true;
        // Posted behind whatever else the frame queued, so the frame is not held up by it.
        QCoreApplication::postEvent(this, new QEvent(editorWanted), Qt::LowEventPriority);
    }
    return QStackedWidget::eventFilter(watched, event);
}

bool DetailColumn::event(QEvent* event)
{
    if (event->type() != editorWanted)
        return QStackedWidget::event(event);
    makeEditor();
    return true;
}

} // namespace Tempolane

#include "DetailColumn.moc"
