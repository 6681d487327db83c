#pragma once

#include "CronJob.h"
#include "ScheduleEditorMode.h"
#include "VisualSchedule.h"

#include <QString>
#include <optional>

namespace Tempolane {

// The job editor's state and rules: a private copy of the job (the draft) that the user edits,
// the schedule editor's mode and its visual form, and everything derived from them.
class JobEditorModel final
{
public:
    // `runnerPath`: where the runner is installed (CronStore::runnerPath); whether a command
    // can be monitored depends on its length.
    JobEditorModel(CronJob original, bool isNew, const QString& runnerPath = {});

    const CronJob& original() const { return m_original; }
    const CronJob& draft() const { return m_draft; }
    bool isNew() const { return m_isNew; }
    bool isSaving() const { return m_isSaving; }
    ScheduleEditorMode editorMode() const { return m_editorMode; }
    const VisualSchedule& visualSchedule() const { return m_visualSchedule; }

    // A newer state of the same job (a save, a reload, a pause from the list): every field the
    // user has left alone takes the new value, every field the user changed keeps the user's.
    // Once the store holds exactly what save handed on, the fields typed before the save count
    // as left alone, so a saved form shows the saved (trimmed) text and no changes.
    void setOriginal(CronJob original);
    void setSaving(bool isSaving) { m_isSaving = isSaving; }

    void setName(const QString& name) { m_draft.name = name; }
    void setScheduleExpression(const QString& expression)
    {
        m_draft.scheduleExpression = expression;
    }
    void setCommand(const QString& command) { m_draft.command = command; }
    void setEnabled(bool isEnabled) { m_draft.isEnabled = isEnabled; }
    void setMonitoringEnabled(bool isEnabled) { m_draft.isMonitoringEnabled = isEnabled; }
    void setLogPolicy(ExecutionLogPolicy policy) { m_draft.logPolicy = policy; }
    // In visual mode the draft's expression follows every change of the form.
    void setVisualSchedule(const VisualSchedule& schedule);
    // To visual: the form takes the expression if it can show it, else the expression is
    // replaced by the form's. To syntax: nothing else changes.
    void setEditorMode(ScheduleEditorMode mode);
    void revert();

    bool hasUnsavedChanges() const;
    std::optional<QString> nameMessage() const;
    std::optional<QString> scheduleMessage() const;
    QString scheduleDescription() const;
    std::optional<QString> commandMessage() const;
    std::optional<QString> monitoringIssue() const;
    bool canSave() const;
    QString title() const;

    // The trimmed copy that save hands on.
    CronJob jobToSave();

private:
    void startFrom(const CronJob& job);

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
};

} // namespace Tempolane
