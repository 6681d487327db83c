#include "ExecutionEditor.h"

#include "ActionButton.h"
#include "CaptionForm.h"
#include "Dialogs.h"
#include "DisclosureButton.h"
#include "Divider.h"
#include "ExecutionPanel.h"
#include "ExecutionRecordRow.h"
#include "ExecutionStatusView.h"
#include "PlatformTexts.h"
#include "SymbolLabel.h"
#include "TextLabel.h"
#include "ToggleSwitch.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHash>
#include <QMessageBox>
#include <QSignalBlocker>
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
      m_monitoring(new ToggleSwitch(tr("Ausführungsstatus"), Tint::indigo))
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
    layout->addWidget(historySection());
    layout->addWidget(actionRow());
    return m_status;
}

QWidget* ExecutionEditor::historySection()
{
    m_historyHeader = new DisclosureButton(tr("Ausführungsprotokoll"), historyHeaderPadding);
    m_historyHeader->setObjectName(QStringLiteral("historyHeader"));
    m_historyHeader->addContent(
        new TextLabel(tr("Ausführungsprotokoll"), TextStyle::body, Tint::primary), 1);
    m_historyContent = new QWidget;
    m_historyRows = column(m_historyContent, 0, {0, historyTopPadding, 0, 0});
    m_historyContent->hide();
    connect(m_historyHeader, &DisclosureButton::toggled, m_historyContent, &QWidget::setVisible);

    m_history = new QWidget;
    QVBoxLayout* layout = column(m_history, 0);
    layout->addWidget(m_historyHeader);
    layout->addWidget(m_historyContent);
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

void ExecutionEditor::setInputs(const Inputs& inputs)
{
    {
        // Showing the draft is no edit.
        const QSignalBlocker quiet(m_monitoring);
        m_monitoring->setChecked(inputs.isMonitoringEnabled);
    }
    m_monitored->setVisible(inputs.isMonitoringEnabled);
    m_issue->setMessage(inputs.compatibilityIssue);
    m_logPolicy->setCurrentIndex(m_logPolicy->findData(int(inputs.logPolicy)));
    m_policyExplanation->setText(explanation(inputs.logPolicy));

    const auto body = ExecutionPanel::body(inputs.isNew, inputs.summary);
    m_notice->setMessage(ExecutionPanel::notice(body));
    m_status->setVisible(body == ExecutionPanel::Body::status);
    presentStatus(inputs);

    const auto run = ExecutionPanel::runButton(inputs.hasUnsavedChanges, inputs.isRunningNow);
    m_runButton->setEnabled(run.isEnabled);
    m_runButton->setToolTip(run.help);
    m_clearButton->setVisible(!inputs.history.isEmpty() && m_clearHistory);
    m_shown = inputs;
}

void ExecutionEditor::collapseHistory()
{
    m_historyHeader->setChecked(false);
}

void ExecutionEditor::presentStatus(const Inputs& inputs)
{
    // Typing in the form passes the same status again and again; only a new one is shown anew.
    if (m_shown && m_shown->summary == inputs.summary &&
        m_shown->isRunningNow == inputs.isRunningNow &&
        m_shown->nextExecution == inputs.nextExecution && m_shown->history == inputs.history)
        return;
    m_statusView->present(
        ExecutionPanel::statusBlock(inputs.summary, inputs.isRunningNow, inputs.nextExecution));
    m_history->setVisible(!inputs.history.isEmpty());
    presentHistory(inputs.history);
}

void ExecutionEditor::presentHistory(const QList<JobExecutionRecord>& history)
{
    // Rows of runs still shown keep their place in the user's eye: an expanded one stays open.
    QHash<QString, ExecutionRecordRow*> kept;
    for (ExecutionRecordRow* row : std::as_const(m_rows))
        kept.insert(row->record().id, row);
    while (QLayoutItem* item = m_historyRows->takeAt(0)) {
        if (!qobject_cast<ExecutionRecordRow*>(item->widget()))
            delete item->widget();
        delete item;
    }
    m_rows.clear();

    const QList<JobExecutionRecord> shown = ExecutionPanel::shownRecords(history);
    for (const JobExecutionRecord& record : shown) {
        ExecutionRecordRow* row = kept.take(record.id);
        if (row && row->record() != record) {
            delete row;
            row = nullptr;
        }
        if (!row) {
            row = new ExecutionRecordRow(record);
            row->setObjectName(QStringLiteral("executionRecordRow"));
        }
        if (!m_rows.isEmpty()) {
            auto* divider = newDivider();
            divider->setObjectName(QStringLiteral("recordDivider"));
            m_historyRows->addWidget(divider);
        }
        m_historyRows->addWidget(row);
        m_rows.append(row);
    }
    qDeleteAll(kept);
}

void ExecutionEditor::confirmRun()
{
    confirm({tr("Cronjob jetzt ausführen?"),
             tr("Der gespeicherte Befehl wird sofort gestartet, mit derselben Umgebung, die "
                "cron ihm gibt."),
             tr("Jetzt ausführen"), false},
            m_runNow);
}

void ExecutionEditor::confirmClear()
{
    confirm({tr("Ausführungsverlauf wirklich löschen?"),
             tr("Gespeicherte Meldungen und bisherige Ergebnisse dieses Jobs werden "
                "unwiderruflich entfernt."),
             tr("Verlauf löschen"), true},
            m_clearHistory);
}

void ExecutionEditor::confirm(const Confirmation& confirmation, const std::function<void()>& action)
{
    // One question at a time: a second press while a dialog is open asks nothing more.
    if (m_confirmation || !action)
        return;
    m_confirmation = askForConfirmation(this, confirmation, action);
}

} // namespace Tempolane
