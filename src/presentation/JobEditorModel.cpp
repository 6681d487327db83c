#include "JobEditorModel.h"

#include "CronExpression.h"
#include "JobDraftRules.h"
#include "ShellQuoting.h"

#include <QCoreApplication>

namespace Tempolane {

JobEditorModel::JobEditorModel(CronJob original, bool isNew, const QString& runnerPath)
    : m_original(std::move(original)), m_isNew(isNew), m_quotedRunner(quotedPath(runnerPath))
{
    startFrom(m_original);
}

// A schedule the form cannot show opens the text; the form keeps what it held.
void JobEditorModel::startFrom(const CronJob& job)
{
    m_draft = job;
    if (const auto recognized = VisualSchedule::recognize(job.scheduleExpression)) {
        m_visualSchedule = *recognized;
        m_editorMode = ScheduleEditorMode::visual;
    } else {
        m_editorMode = ScheduleEditorMode::syntax;
    }
}

void JobEditorModel::setOriginal(CronJob original)
{
    const CronJobSettings before = m_original.settings();
    // Once the store holds what save handed on, what the user had typed then counts as left
    // alone too: the form takes the saved (trimmed) text.
    std::optional<CronJobSettings> typedForSave;
    if (m_pendingSave && original.settings() == m_pendingSave->saved) {
        typedForSave = m_pendingSave->draft;
        m_pendingSave.reset();
    }
    m_original = std::move(original);
    // What the job was read as decides whether an unchanged job is written back byte for byte.
    m_draft.original = m_original.original;

    const CronJobSettings& after = m_original.settings();
    const auto follow = [&](auto field) {
        auto& value = m_draft.*field;
        const bool isLeftAlone =
            value == before.*field || (typedForSave && value == (*typedForSave).*field);
        if (isLeftAlone)
            value = after.*field;
    };
    const QString shownExpression = m_draft.scheduleExpression;
    follow(&CronJobSettings::name);
    follow(&CronJobSettings::scheduleExpression);
    follow(&CronJobSettings::command);
    follow(&CronJobSettings::isEnabled);
    follow(&CronJobSettings::isMonitoringEnabled);
    follow(&CronJobSettings::logPolicy);
    if (m_draft.scheduleExpression != shownExpression &&
        m_editorMode == ScheduleEditorMode::visual) {
        // The form shows the new schedule, or gives way to the text when it cannot.
        if (const auto recognized = VisualSchedule::recognize(m_draft.scheduleExpression))
            m_visualSchedule = *recognized;
        else
            m_editorMode = ScheduleEditorMode::syntax;
    }
}

void JobEditorModel::setVisualSchedule(const VisualSchedule& schedule)
{
    m_visualSchedule = schedule;
    if (m_editorMode == ScheduleEditorMode::visual)
        m_draft.scheduleExpression = schedule.expression();
}

void JobEditorModel::setEditorMode(ScheduleEditorMode mode)
{
    if (mode == m_editorMode)
        return;
    m_editorMode = mode;
    if (mode == ScheduleEditorMode::syntax)
        return;
    if (const auto recognized = VisualSchedule::recognize(m_draft.scheduleExpression))
        m_visualSchedule = *recognized;
    else
        m_draft.scheduleExpression = m_visualSchedule.expression();
}

void JobEditorModel::revert()
{
    startFrom(m_original);
}

bool JobEditorModel::hasUnsavedChanges() const
{
    // Exactly as typed: a blank the user added is a change.
    return m_draft.settings() != m_original.settings();
}

std::optional<QString> JobEditorModel::nameMessage() const
{
    return JobDraftRules::nameMessage(m_draft.name);
}

std::optional<QString> JobEditorModel::scheduleMessage() const
{
    const auto message = CronExpression::validationMessage(m_draft.scheduleExpression);
    if (!message)
        return std::nullopt;
    if (const auto suggestion = CronExpression::suggestedExpression(m_draft.scheduleExpression)) {
        return *message + u' ' +
               QCoreApplication::translate("JobEditorModel", "Schreibe stattdessen „%1“.")
                   .arg(*suggestion);
    }
    return message;
}

QString JobEditorModel::scheduleDescription() const
{
    return CronExpression::description(m_draft.scheduleExpression);
}

std::optional<QString> JobEditorModel::commandMessage() const
{
    return JobDraftRules::commandMessage(m_draft.command, m_draft.isMonitoringEnabled,
                                         m_quotedRunner);
}

std::optional<QString> JobEditorModel::monitoringIssue() const
{
    return JobDraftRules::monitoringIssue(m_draft.command, m_quotedRunner);
}

bool JobEditorModel::canSave() const
{
    return !nameMessage() && !scheduleMessage() && !commandMessage() && !m_isSaving &&
           (m_isNew || hasUnsavedChanges());
}

QString JobEditorModel::title() const
{
    return JobDraftRules::title(m_draft, m_isNew);
}

CronJob JobEditorModel::jobToSave()
{
    CronJob saved = JobDraftRules::trimmedForSaving(m_draft);
    m_pendingSave = PendingSave{m_draft.settings(), saved.settings()};
    return saved;
}

} // namespace Tempolane
