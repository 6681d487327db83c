#pragma once

#include "CronJob.h"
#include "DraftMessageReveal.h"
#include "JobEditorChange.h"
#include "JobEditorInputs.h"
#include "ScheduleEditorMode.h"
#include "VisualSchedule.h"

#include <QString>
#include <optional>

namespace Tempolane {

// The job editor's state and rules: a private copy of the job (the draft) that the user edits,
// the schedule editor's mode and its visual form, the job's runs, and everything derived from
// them. Every change answers which parts of the editor it changed.
class JobEditorModel final
{
public:
    // `runnerPath`: where the runner is installed (CronStore::runnerPath); whether a command
    // can be monitored depends on its length.
    JobEditorModel(CronJob original, bool isNew, const QString& runnerPath = {});
    explicit JobEditorModel(const JobEditorInputs& inputs);

    const CronJob& original() const { return m_original; }
    const CronJob& draft() const { return m_draft; }
    bool isNew() const { return m_isNew; }
    bool isSaving() const { return m_isSaving; }
    ScheduleEditorMode editorMode() const { return m_editorMode; }
    const VisualSchedule& visualSchedule() const { return m_visualSchedule; }
    const JobExecutionSummary& executionSummary() const { return m_runs.executionSummary; }
    const QList<JobExecutionRecord>& executionHistory() const { return m_runs.executionHistory; }
    const std::optional<QDateTime>& nextExecution() const { return m_runs.nextExecution; }
    const QList<JobExecutionRecord>& runs() const { return m_runs.runs; }
    const QDateTime& readAt() const { return m_runs.readAt; }
    bool isRunningNow() const { return m_runs.isRunningNow; }

    // New inputs from the store. Another job (a different id, or a saved job after a new one)
    // starts the editor over from that job; the same job keeps the draft and only changes what
    // it is compared against, the saving flag and the runs.
    JobEditorChanges setInputs(const JobEditorInputs& inputs);

    // A newer state of the same job (a save, a reload, a pause from the list): every field the
    // user has left alone takes the new value, every field the user changed keeps the user's.
    // Once the store holds exactly what save handed on, the fields typed before the save count
    // as left alone, so a saved form shows the saved (trimmed) text and no changes.
    JobEditorChanges setOriginal(CronJob original);
    JobEditorChanges setSaving(bool isSaving);

    JobEditorChanges setName(const QString& name);
    JobEditorChanges setScheduleExpression(const QString& expression);
    JobEditorChanges setCommand(const QString& command);
    JobEditorChanges setEnabled(bool isEnabled);
    JobEditorChanges setMonitoringEnabled(bool isEnabled);
    JobEditorChanges setLogPolicy(ExecutionLogPolicy policy);
    // In visual mode the draft's expression follows every change of the form.
    JobEditorChanges setVisualSchedule(const VisualSchedule& schedule);
    // To visual: the form takes the expression if it can show it, else the expression is
    // replaced by the form's. To syntax: nothing else changes.
    JobEditorChanges setEditorMode(ScheduleEditorMode mode);
    JobEditorChanges revert();
    // The keyboard focus left the field; an empty one now shows its message.
    JobEditorChanges leave(DraftField field);
    // Even when saving is not possible yet: the attempt shows what still stands in the way.
    JobEditorChanges attemptSave();
    // The crontab was changed outside and read again: edits the draft holds stay, and the
    // editor says so until they are saved or given up.
    JobEditorChanges noteOutsideChange();
    // The draft holds the edits of a job that the crontab no longer has; the note stays until
    // the draft is created or given up.
    JobEditorChanges noteRemovedOutside();
    bool holdsEditsOfRemovedJob() const { return m_outsideChange == OutsideChange::removed; }

    // The fields whose rules can stop a save, in the order the form shows them.
    enum class Field
    {
        name,
        schedule,
        command,
    };
    // Where the editor points the user when saving is asked for and cannot be done.
    std::optional<Field> fieldStoppingSave() const;

    bool hasUnsavedChanges() const;
    std::optional<QString> nameMessage() const;
    std::optional<QString> scheduleMessage() const;
    QString scheduleDescription() const;
    std::optional<QString> commandMessage() const;
    std::optional<QString> monitoringIssue() const;
    // The messages the form shows now: a new job's empty fields wait for the user.
    std::optional<QString> shownNameMessage() const;
    std::optional<QString> shownCommandMessage() const;
    bool canSave() const;
    std::optional<QString> outsideChangeNote() const;
    QString title() const;
    // "Cronjob anlegen" or "Änderungen sichern".
    QString saveLabel() const;
    // The new-job dialog offers "Abbrechen" instead.
    bool offersRevert(bool isDialog) const { return !isDialog && hasUnsavedChanges(); }

    // The trimmed copy that save hands on.
    CronJob jobToSave();

private:
    void startFrom(const CronJob& job);
    void followVisualSchedule();
    // Once the draft holds no edits, the outside change it kept them through is settled.
    void settleOutsideChange();

    // What the parts of the editor show, to tell which of them an edit changed.
    struct Shown
    {
        CronJobSettings draft;
        ScheduleEditorMode editorMode;
        VisualSchedule visualSchedule;
        std::optional<QString> nameMessage;
        std::optional<QString> commandMessage;
        std::optional<QString> monitoringIssue;
        std::optional<QString> outsideChangeNote;
        QString title;
        bool hasUnsavedChanges;
        bool canSave;
        bool isSaving;
    };
    Shown shown() const;
    JobEditorChanges changedSince(const Shown& before) const;
    template <typename Change> JobEditorChanges changing(Change change)
    {
        const Shown before = shown();
        change();
        settleOutsideChange();
        return changedSince(before);
    }

    // Checking an expression is the costliest rule: done once per text.
    struct ScheduleCheck
    {
        QString expression;
        std::optional<QString> message;
        QString description;
    };
    const ScheduleCheck& scheduleCheck() const;

    struct PendingSave
    {
        CronJobSettings draft;
        CronJobSettings saved;
    };

    CronJob m_original;
    CronJob m_draft;
    bool m_isNew;
    QString m_quotedRunner;
    bool m_isSaving = false;
    ScheduleEditorMode m_editorMode = ScheduleEditorMode::visual;
    VisualSchedule m_visualSchedule;
    std::optional<PendingSave> m_pendingSave;
    DraftMessageReveal m_reveal;
    enum class OutsideChange
    {
        none,
        changed,
        removed,
    };
    OutsideChange m_outsideChange = OutsideChange::none;
    // Only the runs are read from it: the job is `m_original`.
    JobEditorInputs m_runs;
    mutable std::optional<ScheduleCheck> m_scheduleCheck;
};

} // namespace Tempolane
