#pragma once

#include "Clock.h"
#include "CronJob.h"
#include "JobEditorInputs.h"
#include "JobEditorModel.h"
#include "ShownFinding.h"

#include <QWidget>
#include <functional>
#include <optional>

class QScrollArea;

namespace Tempolane {

class ActionButton;
class CommandSection;
class EditorCard;
class ExecutionEditor;
class FindingList;
class JobEditorHeader;
class ScheduleSection;
class SymbolLabel;

// The form in which one job is edited: a header with the name and the on/off switch, the
// schedule, command and executions cards, and the buttons. It edits a private copy of the job
// (the draft), checks it as the user types and hands the finished copy on; it never calls the
// store. The whole page scrolls over the ambient background, sideways too where the column is
// narrower than the form; in the new-job dialog the buttons stay below it, always in view.
class JobEditorView final : public QWidget
{
    Q_OBJECT

public:
    using Inputs = JobEditorInputs;
    // An empty function means the action is absent (its button is not shown).
    struct Actions
    {
        std::function<void(CronJob)> save; // gets the trimmed copy; the owner starts the store task
        std::function<void()> remove;      // existing jobs: the owner asks for confirmation
        std::function<void()> duplicate;   // existing jobs
        std::function<void()> cancel;      // new-job dialog only; Escape triggers it
        std::function<void()> runNow;      // called after the editor's own confirmation
        std::function<void()> clearHistory; // called after the editor's own confirmation
        std::function<void(Fix)> applyFix;  // a fix of the "Hinweise" card
    };

    // `now` dates the next runs the schedule card lists.
    JobEditorView(Inputs inputs, Actions actions, Clock now = systemClock(),
                  QWidget* parent = nullptr);
    // New inputs from the store (see JobEditorModel::setInputs).
    void setInputs(const Inputs& inputs);
    // "Neuer Cronjob", or the draft's trimmed name, or the command's fallback name.
    QString title() const;
    bool hasUnsavedChanges() const { return m_model.hasUnsavedChanges(); }
    // The trimmed copy to hand to the store, as the save button would; nothing while the draft
    // cannot be saved.
    std::optional<CronJob> takeJobToSave();
    // Gives up the unsaved changes, as "Zurücksetzen" does.
    void revert();
    // After a save that could not be done: shows every message that stands in the way and
    // takes the keyboard to the first field they concern.
    void showWhatStopsSaving();
    // The crontab was read again after a change from outside.
    void noteOutsideChange();
    // The draft holds the edits of a job that the crontab no longer has.
    void noteRemovedOutside();
    bool holdsEditsOfRemovedJob() const { return m_model.holdsEditsOfRemovedJob(); }
    // What the checks say of the job, in the "Hinweise" card, which is hidden without any;
    // `canFix` enables its buttons.
    void setFindings(const QList<ShownFinding>& findings, bool canFix);
    const CronJob& draft() const { return m_model.draft(); }

Q_SIGNALS:
    void titleChanged(const QString& title);
    // The user changed the draft; the checks may look at it.
    void draftEdited(const Tempolane::CronJob& draft);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* page();
    QWidget* hintsCard();
    QWidget* executionsCard();
    QWidget* buttonRow();
    void connectShortcuts();
    void edit(const std::function<JobEditorChanges(JobEditorModel&)>& change);
    void present(JobEditorChanges changes);
    void settleLayout();
    void placeCaptions();
    void save();

    Actions m_actions;
    JobEditorModel m_model;

    QScrollArea* m_scrollArea;
    JobEditorHeader* m_header;
    ScheduleSection* m_schedule;
    CommandSection* m_command;
    ExecutionEditor* m_executions;
    SymbolLabel* m_outsideChangeNote;
    EditorCard* m_hintsCard;
    FindingList* m_findings;
    ActionButton* m_revertButton;
    ActionButton* m_saveButton;
    QWidget* m_buttonRow;
    // The page's least width with every caption beside its control, measured while they are.
    int m_sideBySideWidth = 0;
    bool m_areCaptionsStacked = false;
};

} // namespace Tempolane
