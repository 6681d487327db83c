#include "ExecutionEditor.h"

#include "ActionButton.h"
#include "CaptionForm.h"
#include "Dialogs.h"
#include "DisclosureButton.h"
#include "Divider.h"
#include "ExecutionHistoryModel.h"
#include "ExecutionHistoryView.h"
#include "ExecutionPanel.h"
#include "ExecutionStatusView.h"
#include "PlatformTexts.h"
#include "RunChart.h"
#include "RunChartView.h"
#include "SymbolLabel.h"
#include "TextLabel.h"
#include "ToggleSwitch.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

namespace Tempolane {

namespace {

constexpr int spacing = 16;
constexpr int policyWidth = 280;
constexpr int historyTopPadding = 8;
constexpr int historyHeaderPadding = 4;

QVBoxLayout* column(QWidget* widget, int spacing, QMargins margins = {})
{
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(margins);
    layout->setSpacing(spacing);
    return layout;
}

} // namespace

ExecutionEditor::ExecutionEditor(std::function<void()> runNow, std::function<void()> clearHistory,
                                 QWidget* parent)
    : QWidget(parent), m_runNow(std::move(runNow)), m_clearHistory(std::move(clearHistory)),
      m_monitoring(new ToggleSwitch(tr("Ausführungsstatus"), Tint::indigo)),
      m_historyModel(new ExecutionHistoryModel(this))
{
    m_monitoring->setObjectName(QStringLiteral("monitoringSwitch"));
    connect(m_monitoring, &ToggleSwitch::toggled, this, &ExecutionEditor::monitoringToggled);
    auto* explanation = new TextLabel(tr("Tempolane erkennt erfolgreiche und fehlgeschlagene "
                                         "Ausführungen, auch wenn die App geschlossen ist."),
                                      TextStyle::caption, Tint::secondary);
    explanation->setWordWrap(true);

    QVBoxLayout* layout = column(this, spacing);
    layout->addWidget(m_monitoring, 0, Qt::AlignLeft);
    layout->addWidget(explanation);
    layout->addWidget(monitoredSection());
}

QWidget* ExecutionEditor::monitoredSection()
{
    m_issue = new SymbolLabel(Symbol::warningFill, TextStyle::caption, Tint::orange);
    m_issue->setObjectName(QStringLiteral("compatibilityIssue"));
    m_issue->setWordWrap(true);

    m_logPolicy = new QComboBox;
    m_logPolicy->setObjectName(QStringLiteral("logPolicyPicker"));
    m_logPolicy->setAccessibleName(tr("Ausführungsprotokoll"));
    setLeastWidth(m_logPolicy, policyWidth);
    for (const ExecutionLogPolicy policy : allExecutionLogPolicies)
        m_logPolicy->addItem(title(policy), int(policy));
    connect(m_logPolicy, &QComboBox::activated, this, [this](int index) {
        Q_EMIT logPolicyChosen(ExecutionLogPolicy(m_logPolicy->itemData(index).toInt()));
    });

    m_policyExplanation = new TextLabel(TextStyle::caption, Tint::secondary);
    m_policyExplanation->setWordWrap(true);
    m_notice = new SymbolLabel(Symbol::clock, TextStyle::subheadline, Tint::secondary);
    m_notice->setObjectName(QStringLiteral("statusNotice"));
    m_notice->setWordWrap(true);
    auto* footer =
        new TextLabel(PlatformTexts::executionFooter(), TextStyle::caption2, Tint::tertiary);
    footer->setWordWrap(true);

    m_monitored = new QWidget;
    QVBoxLayout* layout = column(m_monitored, spacing);
    layout->addWidget(m_issue);
    layout->addWidget(newCaptionRow(tr("Protokoll"), std::nullopt, m_logPolicy));
    layout->addWidget(m_policyExplanation);
    layout->addWidget(newDivider());
    layout->addWidget(m_notice);
    layout->addWidget(statusSection());
    layout->addWidget(footer);
    return m_monitored;
}

QWidget* ExecutionEditor::statusSection()
{
    m_statusView = new ExecutionStatusView;
    m_status = new QWidget;
    QVBoxLayout* layout = column(m_status, spacing);
    layout->addWidget(m_statusView);
    layout->addWidget(chartSection());
    layout->addWidget(historySection());
    layout->addWidget(actionRow());
    return m_status;
}

QWidget* ExecutionEditor::chartSection()
{
    m_chartPlaceholder = new TextLabel(TextStyle::caption, Tint::secondary);
    m_chartPlaceholder->setObjectName(QStringLiteral("runChartPlaceholder"));
    m_chartPlaceholder->setWordWrap(true);
    m_chart = new RunChartView;
    m_chart->setObjectName(QStringLiteral("runChart"));
    m_chartFacts = new TextLabel(TextStyle::caption, Tint::secondary);
    m_chartFacts->setObjectName(QStringLiteral("runChartFacts"));
    m_chartFacts->setWordWrap(true);
    connect(m_chart, &RunChartView::runChosen, this, &ExecutionEditor::unfoldRun);

    m_chartSection = new QWidget;
    QVBoxLayout* layout = column(m_chartSection, historyTopPadding / 2);
    layout->addWidget(m_chartPlaceholder);
    layout->addWidget(m_chart);
    layout->addWidget(m_chartFacts);
    return m_chartSection;
}

void ExecutionEditor::presentChart(const JobEditorModel& model)
{
    // Runs of another job may still stand in the history: until this job's runs are read, the
    // chart waits.
    m_chartRuns = model.runs();
    m_chartSection->setVisible(!m_chartRuns.isEmpty() || model.executionHistory().isEmpty());
    RunChart chart = RunChart::make(model.original().scheduleExpression, m_chartRuns,
                                    model.executionSummary().monitoringStartedAt, model.readAt());
    m_chartPlaceholder->setVisible(bool(chart.placeholder));
    m_chartPlaceholder->setText(chart.placeholder.value_or(QString()));
    m_chart->setVisible(!chart.placeholder);
    QStringList facts{chart.medianText, chart.slowestText};
    facts.removeAll(QString());
    m_chartFacts->setVisible(!facts.isEmpty());
    m_chartFacts->setText(facts.join(QStringLiteral(" · ")));
    m_chart->setChart(std::move(chart));
}

void ExecutionEditor::unfoldRun(const QString& recordId)
{
    const int row = m_historyModel->reachRun(recordId, m_chartRuns);
    if (row < 0)
        return;
    m_historyHeader->setChecked(true);
    // Once the unfolded run has its height, the page scrolls to it.
    QTimer::singleShot(0, this, [this, row] {
        const QRect rect = m_historyView->visualRect(m_historyModel->index(row));
        for (QWidget* ancestor = parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
            if (auto* page = qobject_cast<QScrollArea*>(ancestor); page && page->widget()) {
                const QPoint top = m_historyView->viewport()->mapTo(page->widget(), rect.topLeft());
                page->ensureVisible(top.x(), top.y() + rect.height() / 2, 0, rect.height() / 2 + 1);
                break;
            }
        }
    });
}

QWidget* ExecutionEditor::historySection()
{
    m_historyHeader = new DisclosureButton(tr("Ausführungsprotokoll"), historyHeaderPadding);
    m_historyHeader->setObjectName(QStringLiteral("historyHeader"));
    m_historyHeader->addContent(
        new TextLabel(tr("Ausführungsprotokoll"), TextStyle::body, Tint::primary), 1);
    m_historyView = new ExecutionHistoryView(m_historyModel);
    m_historyView->setObjectName(QStringLiteral("executionHistoryList"));
    m_historyList = new QWidget;
    column(m_historyList, 0, {0, historyTopPadding, 0, 0})->addWidget(m_historyView);
    m_historyList->hide();
    connect(m_historyHeader, &DisclosureButton::toggled, m_historyList, &QWidget::setVisible);

    m_history = new QWidget;
    QVBoxLayout* layout = column(m_history, 0);
    layout->addWidget(m_historyHeader);
    layout->addWidget(m_historyList);
    return m_history;
}

QWidget* ExecutionEditor::actionRow()
{
    m_runButton = new ActionButton(tr("Jetzt testen"), Symbol::playFill, ActionButton::Style::plain,
                                   Tint::primary);
    m_runButton->setObjectName(QStringLiteral("runNowButton"));
    connect(m_runButton, &ActionButton::clicked, this, &ExecutionEditor::confirmRun);
    m_clearButton = new ActionButton(tr("Verlauf löschen"), Symbol::trash,
                                     ActionButton::Style::plain, Tint::secondary);
    m_clearButton->setObjectName(QStringLiteral("clearHistoryButton"));
    connect(m_clearButton, &ActionButton::clicked, this, &ExecutionEditor::confirmClear);

    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    layout->addWidget(m_runButton);
    layout->addWidget(m_clearButton);
    layout->addStretch(1);
    // Only once parented: made visible without a parent, it would open as a window of its own.
    m_runButton->setVisible(bool(m_runNow));
    return row;
}

void ExecutionEditor::present(const JobEditorModel& model, JobEditorChanges changes)
{
    using enum JobEditorChange;
    const CronJob& draft = model.draft();
    if (changes.testFlag(restarted)) {
        m_historyHeader->setChecked(false);
        m_historyModel->collapseAll();
    }
    if (changes.testFlag(executionSettings)) {
        {
            // Showing the draft is no edit.
            const QSignalBlocker quiet(m_monitoring);
            m_monitoring->setChecked(draft.isMonitoringEnabled);
        }
        m_monitored->setVisible(draft.isMonitoringEnabled);
        m_issue->setMessage(model.monitoringIssue());
        m_logPolicy->setCurrentIndex(m_logPolicy->findData(int(draft.logPolicy)));
        m_policyExplanation->setText(explanation(draft.logPolicy));
    }
    if (changes & (restarted | executionStatus)) {
        const auto body = ExecutionPanel::body(model.isNew(), model.executionSummary());
        m_notice->setMessage(ExecutionPanel::notice(body));
        m_status->setVisible(body == ExecutionPanel::Body::status);
        m_statusView->present(ExecutionPanel::statusBlock(
            model.executionSummary(), model.isRunningNow(), model.nextExecution()));
    }
    if (changes & (unsavedChanges | executionStatus)) {
        const auto run = ExecutionPanel::runButton(model.hasUnsavedChanges(), model.isRunningNow());
        m_runButton->setEnabled(run.isEnabled);
        m_runButton->setToolTip(run.help);
    }
    if (changes & (restarted | history | time | executionStatus))
        presentChart(model);
    if (changes.testFlag(history)) {
        const QList<JobExecutionRecord>& records = model.executionHistory();
        m_history->setVisible(!records.isEmpty());
        m_historyModel->setRecords(records);
        m_clearButton->setVisible(
            ExecutionPanel::offersClearHistory(records, bool(m_clearHistory)));
    }
}

void ExecutionEditor::confirmRun()
{
    confirm(ExecutionPanel::runQuestion(), m_runNow);
}

void ExecutionEditor::confirmClear()
{
    confirm(ExecutionPanel::clearHistoryQuestion(), m_clearHistory);
}

void ExecutionEditor::confirm(const ExecutionPanel::Question& question,
                              const std::function<void()>& action)
{
    // One question at a time: a second press while a dialog is open asks nothing more.
    if (m_confirmation || !action)
        return;
    m_confirmation = askForConfirmation(
        this, {question.title, question.message, question.confirmLabel, question.isDestructive},
        action);
}

} // namespace Tempolane
