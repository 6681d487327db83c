#pragma once

#include "Dialogs.h"
#include "ExecutionLogPolicy.h"
#include "JobExecutionSummary.h"

#include <QDateTime>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

class QComboBox;
class QMessageBox;
class QVBoxLayout;

namespace Tempolane {

class ActionButton;
class DisclosureButton;
class ExecutionRecordRow;
class ExecutionStatusView;
class SymbolLabel;
class TextLabel;
class ToggleSwitch;

// The executions card's content: monitoring on or off, the log policy, the job's status with
// its last and next run, the recent runs with their output, and the buttons that run the job
// once and clear its history, each after a confirmation. It shows the inputs it is given and
// reports what the user does; it calls nothing but the two actions.
class ExecutionEditor final : public QWidget
{
    Q_OBJECT

public:
    struct Inputs
    {
        bool isMonitoringEnabled = false;
        ExecutionLogPolicy logPolicy = ExecutionLogPolicy::messagesAndErrors;
        bool isNew = false;
        bool hasUnsavedChanges = false;
        std::optional<QString> compatibilityIssue;
        JobExecutionSummary summary = JobExecutionSummary::notMonitored();
        QList<JobExecutionRecord> history;
        std::optional<QDateTime> nextExecution;
        bool isRunningNow = false;
    };

    // An empty action hides its button.
    ExecutionEditor(std::function<void()> runNow, std::function<void()> clearHistory,
                    QWidget* parent = nullptr);

    void setInputs(const Inputs& inputs);
    // Folds the run list away, as it starts for every job.
    void collapseHistory();

Q_SIGNALS:
    void monitoringToggled(bool isEnabled);
    void logPolicyChosen(Tempolane::ExecutionLogPolicy policy);

private:
    QWidget* monitoredSection();
    QWidget* statusSection();
    QWidget* historySection();
    QWidget* actionRow();
    void presentStatus(const Inputs& inputs);
    void presentHistory(const QList<JobExecutionRecord>& history);
    void confirmRun();
    void confirmClear();
    void confirm(const Confirmation& confirmation, const std::function<void()>& action);

    std::function<void()> m_runNow;
    std::function<void()> m_clearHistory;
    std::optional<Inputs> m_shown;

    ToggleSwitch* m_monitoring;
    QWidget* m_monitored;
    SymbolLabel* m_issue;
    QComboBox* m_logPolicy;
    TextLabel* m_policyExplanation;
    SymbolLabel* m_notice;
    QWidget* m_status;
    ExecutionStatusView* m_statusView;
    QWidget* m_history;
    DisclosureButton* m_historyHeader;
    QWidget* m_historyContent;
    QVBoxLayout* m_historyRows;
    QList<ExecutionRecordRow*> m_rows;
    ActionButton* m_runButton;
    ActionButton* m_clearButton;
    QPointer<QMessageBox> m_confirmation;
};

} // namespace Tempolane
