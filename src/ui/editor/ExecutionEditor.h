#pragma once

#include "Dialogs.h"
#include "ExecutionLogPolicy.h"
#include "ExecutionPanel.h"
#include "JobEditorModel.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

class QComboBox;
class QMessageBox;

namespace Tempolane {

class ActionButton;
class DisclosureButton;
class ExecutionHistoryModel;
class ExecutionHistoryView;
class ExecutionStatusView;
class RunChartView;
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
    // An empty action hides its button.
    ExecutionEditor(std::function<void()> runNow, std::function<void()> clearHistory,
                    QWidget* parent = nullptr);

    // Shows the parts of the model that `changes` names; another job starts with the run list
    // folded away.
    void present(const JobEditorModel& model, JobEditorChanges changes);

Q_SIGNALS:
    void monitoringToggled(bool isEnabled);
    void logPolicyChosen(Tempolane::ExecutionLogPolicy policy);

private:
    QWidget* monitoredSection();
    QWidget* statusSection();
    QWidget* chartSection();
    void presentChart(const JobEditorModel& model);
    // Opens the history at the run and unfolds it.
    void unfoldRun(const QString& recordId);
    QWidget* historySection();
    QWidget* actionRow();
    void confirmRun();
    void confirmClear();
    void confirm(const ExecutionPanel::Question& question, const std::function<void()>& action);

    std::function<void()> m_runNow;
    std::function<void()> m_clearHistory;

    ToggleSwitch* m_monitoring;
    QWidget* m_monitored;
    SymbolLabel* m_issue;
    QComboBox* m_logPolicy;
    TextLabel* m_policyExplanation;
    SymbolLabel* m_notice;
    QWidget* m_status;
    ExecutionStatusView* m_statusView;
    QWidget* m_chartSection;
    TextLabel* m_chartPlaceholder;
    RunChartView* m_chart;
    TextLabel* m_chartFacts;
    // Every run the chart draws, for reaching one older than the history lists.
    QList<JobExecutionRecord> m_chartRuns;
    QWidget* m_history;
    DisclosureButton* m_historyHeader;
    ExecutionHistoryModel* m_historyModel;
    QWidget* m_historyList;
    ExecutionHistoryView* m_historyView;
    ActionButton* m_runButton;
    ActionButton* m_clearButton;
    QPointer<QMessageBox> m_confirmation;
};

} // namespace Tempolane
