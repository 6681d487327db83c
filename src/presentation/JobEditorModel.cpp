#include "JobEditorModel.h"

#include "CronExpression.h"
#include "JobDraftRules.h"
#include "ShellQuoting.h"
#include "TextContext.h"

TEMPOLANE_TEXT_CONTEXT(JobEditorModel)

namespace Tempolane {

JobEditorModel::JobEditorModel(CronJob original, bool isNew, const QString& runnerPath)
    : m_original(std::move(original)), m_isNew(isNew), m_quotedRunner(quotedPath(runnerPath)),
      m_reveal(isNew)
{
    startFrom(m_original);
}

JobEditorModel::JobEditorModel(const JobEditorInputs& inputs)
    : JobEditorModel(inputs.originalJob, inputs.isNew, inputs.runnerPath)
{
    m_isSaving = inputs.isSaving;
    m_runs = inputs;
    m_runs.originalJob = {};
}

JobEditorChanges JobEditorModel::setInputs(const JobEditorInputs& inputs)
{
    if (inputs.originalJob.id != m_original.id || inputs.isNew != m_isNew) {
        *this = JobEditorModel(inputs);
        return everyJobEditorPart;
    }
    JobEditorChanges changes = setOriginal(inputs.originalJob) | setSaving(inputs.isSaving);
    changes |= JobEditorChange::time;
    if (inputs.executionSummary != m_runs.executionSummary ||
        inputs.nextExecution != m_runs.nextExecution || inputs.isRunningNow != m_runs.isRunningNow)
        changes |= JobEditorChange::executionStatus;
    if (inputs.executionHistory != m_runs.executionHistory || inputs.runs != m_runs.runs)
        changes |= JobEditorChange::history;
    m_runs.executionSummary = inputs.executionSummary;
    m_runs.executionHistory = inputs.executionHistory;
    m_runs.runs = inputs.runs;
    m_runs.readAt = inputs.readAt;
    m_runs.nextExecution = inputs.nextExecution;
    m_runs.isRunningNow = inputs.isRunningNow;
    return changes;
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

JobEditorChanges JobEditorModel::setOriginal(CronJob original)
{
    const Shown shownBefore = shown();
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
    settleOutsideChange();
    return changedSince(shownBefore);
}

JobEditorChanges JobEditorModel::setSaving(bool isSaving)
{
    return changing([&] { m_isSaving = isSaving; });
}

JobEditorChanges JobEditorModel::setName(const QString& name)
{
    return changing([&] { m_draft.name = name; });
}

JobEditorChanges JobEditorModel::setScheduleExpression(const QString& expression)
{
    return changing([&] { m_draft.scheduleExpression = expression; });
}

JobEditorChanges JobEditorModel::setCommand(const QString& command)
{
    return changing([&] { m_draft.command = command; });
}

JobEditorChanges JobEditorModel::setEnabled(bool isEnabled)
{
    return changing([&] { m_draft.isEnabled = isEnabled; });
}

JobEditorChanges JobEditorModel::setMonitoringEnabled(bool isEnabled)
{
    return changing([&] { m_draft.isMonitoringEnabled = isEnabled; });
}

JobEditorChanges JobEditorModel::setLogPolicy(ExecutionLogPolicy policy)
{
    return changing([&] { m_draft.logPolicy = policy; });
}

JobEditorChanges JobEditorModel::setVisualSchedule(const VisualSchedule& schedule)
{
    return changing([&] {
        m_visualSchedule = schedule;
        if (m_editorMode == ScheduleEditorMode::visual)
            followVisualSchedule();
    });
}

// The form writes its own spelling; a form that comes back to the times the job already runs
// at keeps the saved text, so the job is not changed by it.
void JobEditorModel::followVisualSchedule()
{
    const QString expression = m_visualSchedule.expression();
    const QString& saved = m_original.scheduleExpression;
    m_draft.scheduleExpression =
        CronExpression::meansSameTimes(expression, saved) ? saved : expression;
}

JobEditorChanges JobEditorModel::setEditorMode(ScheduleEditorMode mode)
{
    return changing([&] {
        if (mode == m_editorMode)
            return;
        m_editorMode = mode;
        if (mode == ScheduleEditorMode::syntax)
            return;
        if (const auto recognized = VisualSchedule::recognize(m_draft.scheduleExpression))
            m_visualSchedule = *recognized;
        else
            followVisualSchedule();
    });
}

JobEditorChanges JobEditorModel::revert()
{
    return changing([&] { startFrom(m_original); });
}

JobEditorChanges JobEditorModel::leave(DraftField field)
{
    return changing(
        [&] { m_reveal.leave(field, field == DraftField::name ? m_draft.name : m_draft.command); });
}

JobEditorChanges JobEditorModel::attemptSave()
{
    return changing([&] { m_reveal.attemptSave(); });
}

JobEditorChanges JobEditorModel::noteOutsideChange()
{
    return changing([&] { m_outsideChange = OutsideChange::changed; });
}

JobEditorChanges JobEditorModel::noteRemovedOutside()
{
    return changing([&] { m_outsideChange = OutsideChange::removed; });
}

void JobEditorModel::settleOutsideChange()
{
    if (m_outsideChange == OutsideChange::changed && !hasUnsavedChanges())
        m_outsideChange = OutsideChange::none;
}

std::optional<QString> JobEditorModel::outsideChangeNote() const
{
    switch (m_outsideChange) {
    case OutsideChange::none:
        return std::nullopt;
    case OutsideChange::changed:
        return tr("Die crontab wurde inzwischen außerhalb von Tempolane geändert. Deine "
                  "Änderungen an diesem Cronjob sind erhalten, aber noch nicht gesichert.");
    case OutsideChange::removed:
        return tr("Diesen Cronjob gibt es in der crontab nicht mehr: Er wurde außerhalb von "
                  "Tempolane entfernt oder umgeschrieben. Deine Änderungen sind hier erhalten; "
                  "„%1“ legt ihn neu an.")
            .arg(saveLabel());
    }
    return std::nullopt;
}

std::optional<JobEditorModel::Field> JobEditorModel::fieldStoppingSave() const
{
    if (nameMessage())
        return Field::name;
    if (scheduleMessage())
        return Field::schedule;
    if (commandMessage())
        return Field::command;
    return std::nullopt;
}

JobEditorModel::Shown JobEditorModel::shown() const
{
    return {m_draft.settings(),    m_editorMode,      m_visualSchedule,    shownNameMessage(),
            shownCommandMessage(), monitoringIssue(), outsideChangeNote(), title(),
            hasUnsavedChanges(),   canSave(),         m_isSaving};
}

JobEditorChanges JobEditorModel::changedSince(const Shown& before) const
{
    const Shown after = shown();
    JobEditorChanges changes;
    const auto mark = [&](bool isChanged, JobEditorChange part) {
        if (isChanged)
            changes |= part;
    };
    mark(before.draft.name != after.draft.name || before.nameMessage != after.nameMessage,
         JobEditorChange::name);
    mark(before.title != after.title, JobEditorChange::title);
    mark(before.draft.isEnabled != after.draft.isEnabled, JobEditorChange::enabled);
    mark(before.editorMode != after.editorMode, JobEditorChange::editorMode);
    mark(before.visualSchedule != after.visualSchedule, JobEditorChange::visualSchedule);
    mark(before.draft.scheduleExpression != after.draft.scheduleExpression,
         JobEditorChange::schedule);
    mark(before.draft.command != after.draft.command ||
             before.commandMessage != after.commandMessage,
         JobEditorChange::command);
    mark(before.draft.isMonitoringEnabled != after.draft.isMonitoringEnabled ||
             before.draft.logPolicy != after.draft.logPolicy ||
             before.monitoringIssue != after.monitoringIssue,
         JobEditorChange::executionSettings);
    mark(before.hasUnsavedChanges != after.hasUnsavedChanges ||
             before.outsideChangeNote != after.outsideChangeNote,
         JobEditorChange::unsavedChanges);
    mark(before.canSave != after.canSave, JobEditorChange::canSave);
    mark(before.isSaving != after.isSaving, JobEditorChange::saving);
    return changes;
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

const JobEditorModel::ScheduleCheck& JobEditorModel::scheduleCheck() const
{
    const QString& expression = m_draft.scheduleExpression;
    if (m_scheduleCheck && m_scheduleCheck->expression == expression)
        return *m_scheduleCheck;
    std::optional<QString> message = CronExpression::validationMessage(expression);
    if (message) {
        if (const auto suggestion = CronExpression::suggestedExpression(expression))
            *message += u' ' + tr("Schreibe stattdessen „%1“.").arg(*suggestion);
    }
    m_scheduleCheck =
        ScheduleCheck{expression, std::move(message), CronExpression::description(expression)};
    return *m_scheduleCheck;
}

std::optional<QString> JobEditorModel::scheduleMessage() const
{
    return scheduleCheck().message;
}

QString JobEditorModel::scheduleDescription() const
{
    return scheduleCheck().description;
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

std::optional<QString> JobEditorModel::shownNameMessage() const
{
    return m_reveal.shown(DraftField::name, m_draft.name, nameMessage());
}

std::optional<QString> JobEditorModel::shownCommandMessage() const
{
    return m_reveal.shown(DraftField::command, m_draft.command, commandMessage());
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

QString JobEditorModel::saveLabel() const
{
    return m_isNew ? tr("Cronjob anlegen") : tr("Änderungen sichern");
}

CronJob JobEditorModel::jobToSave()
{
    CronJob saved = JobDraftRules::trimmedForSaving(m_draft);
    m_pendingSave = PendingSave{m_draft.settings(), saved.settings()};
    return saved;
}

} // namespace Tempolane
