#include "JobEditorView.h"

#include "ActionButton.h"
#include "AmbientBackground.h"
#include "CronExpression.h"
#include "EditorCard.h"
#include "ExecutionEditor.h"
#include "FieldWell.h"
#include "ScheduleSection.h"
#include "SymbolLabel.h"
#include "TextLabel.h"
#include "ToggleSwitch.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>

namespace Tempolane {

namespace {

constexpr int pagePadding = 26;
constexpr int pageSpacing = 18;
constexpr int maximumPageWidth = 760;
constexpr int headerSpacing = 18;
constexpr int nameColumnSpacing = 5;
constexpr int commandSpacing = 10;
constexpr int minimumCommandHeight = 96;
constexpr int buttonSpacing = 8;

// Lets the ambient background show through.
QWidget* transparent(QWidget* widget)
{
    widget->setAutoFillBackground(false);
    return widget;
}

// A text field drawn without a box of its own, on whatever lies below.
void makePlain(QWidget* field)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    field->setPalette(palette);
}

const QMargins commandPadding(8, 6, 8, 6);

} // namespace

JobEditorView::JobEditorView(Inputs inputs, Actions actions, QWidget* parent)
    : QWidget(parent), m_actions(std::move(actions)), m_model(inputs.originalJob, inputs.isNew),
      m_inputs(std::move(inputs))
{
    m_model.setSaving(m_inputs.isSaving);

    m_scrollArea = new QScrollArea;
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    // The page scrolls to whichever field has the focus; the area itself takes none.
    m_scrollArea->setFocusPolicy(Qt::NoFocus);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->setWidget(page());
    transparent(m_scrollArea->viewport());
    transparent(m_scrollArea->widget());

    auto* background = new AmbientBackground;
    auto* backgroundLayout = new QVBoxLayout(background);
    backgroundLayout->setContentsMargins(0, 0, 0, 0);
    backgroundLayout->addWidget(m_scrollArea);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(background);

    connectShortcuts();
    refresh();
}

QWidget* JobEditorView::page()
{
    auto* column = new QWidget;
    column->setMaximumWidth(maximumPageWidth);
    auto* content = new QVBoxLayout(column);
    content->setContentsMargins(pagePadding, pagePadding, pagePadding, pagePadding);
    content->setSpacing(pageSpacing);
    content->addWidget(header());

    m_schedule = new ScheduleSection;
    auto* scheduleCard = new EditorCard(
        tr("Zeitplan"), tr("Grafisch zusammenstellen oder direkt als Cron-Ausdruck bearbeiten."),
        Symbol::calendarBadgeClock, Tint::indigo);
    scheduleCard->contentLayout()->addWidget(m_schedule);
    content->addWidget(scheduleCard);
    content->addWidget(commandCard());
    content->addWidget(executionsCard());
    content->addWidget(buttonRow());
    content->addStretch(1);

    connect(m_schedule, &ScheduleSection::modeChosen, this, [this](ScheduleEditorMode mode) {
        edit([&](auto& model) { model.setEditorMode(mode); });
    });
    connect(m_schedule, &ScheduleSection::expressionEdited, this, [this](const QString& text) {
        edit([&](auto& model) { model.setScheduleExpression(text); });
    });
    connect(m_schedule, &ScheduleSection::visualScheduleEdited, this,
            [this](const VisualSchedule& schedule) {
                edit([&](auto& model) { model.setVisualSchedule(schedule); });
            });

    auto* page = new QWidget;
    auto* centring = new QHBoxLayout(page);
    centring->setContentsMargins(0, 0, 0, 0);
    centring->setSpacing(0);
    // The column takes nearly all the room up to its maximum width; the margins the rest.
    constexpr int columnStretch = 1000;
    centring->addStretch(1);
    centring->addWidget(column, columnStretch);
    centring->addStretch(1);
    return page;
}

QWidget* JobEditorView::header()
{
    m_nameField = new QLineEdit;
    m_nameField->setObjectName(QStringLiteral("nameField"));
    m_nameField->setAccessibleName(tr("Name des Cronjobs"));
    m_nameField->setPlaceholderText(tr("Name des Cronjobs"));
    m_nameField->setFrame(false);
    QFont nameFont = styledFont(TextStyle::title);
    nameFont.setWeight(QFont::DemiBold);
    m_nameField->setFont(nameFont);
    makePlain(m_nameField);
    connect(m_nameField, &QLineEdit::textEdited, this,
            [this](const QString& name) { edit([&](auto& model) { model.setName(name); }); });

    m_nameMessage = new SymbolLabel(Symbol::warningFill, TextStyle::caption, Tint::orange);
    m_nameMessage->setObjectName(QStringLiteral("nameMessage"));
    m_description = new TextLabel(TextStyle::subheadline, Tint::secondary);
    m_description->setObjectName(QStringLiteral("headerDescription"));

    m_enabledSwitch = new ToggleSwitch(tr("Job aktiv"), Tint::green);
    m_enabledSwitch->setObjectName(QStringLiteral("enabledSwitch"));
    connect(m_enabledSwitch, &ToggleSwitch::clicked, this,
            [this](bool isEnabled) { edit([&](auto& model) { model.setEnabled(isEnabled); }); });

    auto* names = new QVBoxLayout;
    names->setSpacing(nameColumnSpacing);
    names->addWidget(m_nameField);
    names->addWidget(m_nameMessage);
    names->addWidget(m_description);
    auto* header = new QWidget;
    auto* layout = new QHBoxLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(headerSpacing);
    layout->addLayout(names, 1);
    layout->addWidget(m_enabledSwitch, 0, Qt::AlignVCenter);
    return header;
}

QWidget* JobEditorView::commandCard()
{
    m_commandField = new QPlainTextEdit;
    m_commandField->setObjectName(QStringLiteral("commandField"));
    m_commandField->setAccessibleName(tr("Auszuführender Befehl"));
    m_commandField->setFont(styledFont(TextStyle::body, true));
    m_commandField->setFixedHeight(minimumCommandHeight);
    m_commandField->setFrameShape(QFrame::NoFrame);
    m_commandField->setTabChangesFocus(true);
    transparent(m_commandField->viewport());
    connect(m_commandField, &QPlainTextEdit::textChanged, this, [this] {
        const QString command = m_commandField->toPlainText();
        if (command != m_model.draft().command)
            edit([&](auto& model) { model.setCommand(command); });
    });

    m_commandMessage = new SymbolLabel(Symbol::warningFill, TextStyle::caption, Tint::orange);
    m_commandMessage->setObjectName(QStringLiteral("commandMessage"));
    m_commandMessage->setWordWrap(true);
    m_commandHint = new SymbolLabel(Symbol::info, TextStyle::caption, Tint::secondary,
                                    tr("Pfade mit Leerzeichen bitte in Anführungszeichen setzen."));
    m_commandHint->setObjectName(QStringLiteral("commandHint"));

    auto* card =
        new EditorCard(tr("Befehl"), tr("Wird von cron mit der konfigurierten Shell ausgeführt."),
                       Symbol::terminal, Tint::cyan);
    card->contentLayout()->setSpacing(commandSpacing);
    card->contentLayout()->addWidget(new FieldWell(m_commandField, commandPadding));
    card->contentLayout()->addWidget(m_commandMessage);
    card->contentLayout()->addWidget(m_commandHint);
    return card;
}

QWidget* JobEditorView::executionsCard()
{
    m_executions = new ExecutionEditor(m_actions.runNow, m_actions.clearHistory);
    connect(m_executions, &ExecutionEditor::monitoringToggled, this, [this](bool isEnabled) {
        edit([&](auto& model) { model.setMonitoringEnabled(isEnabled); });
    });
    connect(m_executions, &ExecutionEditor::logPolicyChosen, this,
            [this](ExecutionLogPolicy policy) {
                edit([&](auto& model) { model.setLogPolicy(policy); });
            });
    auto* card = new EditorCard(tr("Ausführungen"),
                                tr("Erfolge, Fehler und Meldungen verständlich im Blick behalten."),
                                Symbol::pulse, Tint::mint);
    card->contentLayout()->addWidget(m_executions);
    return card;
}

QWidget* JobEditorView::buttonRow()
{
    using Style = ActionButton::Style;
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(buttonSpacing);
    const auto add = [&](ActionButton* button, const char* objectName,
                         const std::function<void()>& action) {
        button->setObjectName(QString::fromLatin1(objectName));
        button->setVisible(bool(action));
        connect(button, &ActionButton::clicked, this, [action] {
            if (action)
                action();
        });
        layout->addWidget(button);
    };
    add(new ActionButton(tr("Löschen"), Symbol::trash, Style::plain, Tint::red), "deleteButton",
        m_actions.remove);
    add(new ActionButton(tr("Duplizieren"), Symbol::copy, Style::plain, Tint::primary),
        "duplicateButton", m_actions.duplicate);
    layout->addStretch(1);
    m_revertButton =
        new ActionButton(tr("Zurücksetzen"), Symbol::undo, Style::plain, Tint::primary);
    add(m_revertButton, "revertButton", [this] { edit([](auto& model) { model.revert(); }); });
    add(new ActionButton(tr("Abbrechen"), std::nullopt, Style::plain, Tint::primary),
        "cancelButton", m_actions.cancel);
    m_saveButton = new ActionButton({}, Symbol::check, Style::prominent, Tint::indigo);
    add(m_saveButton, "saveButton", [this] { save(); });
    return row;
}

void JobEditorView::connectShortcuts()
{
    auto* saveShortcut = new QShortcut(QKeySequence::Save, this);
    connect(saveShortcut, &QShortcut::activated, this, [this] {
        if (m_saveButton->isEnabled())
            save();
    });
    if (m_actions.cancel) {
        auto* cancelShortcut = new QShortcut(QKeySequence::Cancel, this);
        connect(cancelShortcut, &QShortcut::activated, this, [this] { m_actions.cancel(); });
    }
}

void JobEditorView::setInputs(Inputs inputs)
{
    const bool isAnotherJob =
        inputs.originalJob.id != m_model.original().id || inputs.isNew != m_model.isNew();
    if (isAnotherJob) {
        m_model = JobEditorModel(inputs.originalJob, inputs.isNew);
        m_scrollArea->verticalScrollBar()->setValue(0);
    } else {
        m_model.setOriginal(inputs.originalJob);
    }
    m_model.setSaving(inputs.isSaving);
    m_inputs = std::move(inputs);
    refresh();
}

QString JobEditorView::title() const
{
    return m_model.title();
}

void JobEditorView::edit(const std::function<void(JobEditorModel&)>& change)
{
    change(m_model);
    refresh();
}

void JobEditorView::save()
{
    if (m_model.canSave() && m_actions.save)
        m_actions.save(m_model.jobToSave());
}

void JobEditorView::refresh()
{
    const CronJob& draft = m_model.draft();
    if (m_nameField->text() != draft.name)
        m_nameField->setText(draft.name);
    const auto nameMessage = m_model.nameMessage();
    m_nameMessage->setVisible(nameMessage.has_value());
    m_nameMessage->setText(nameMessage.value_or(QString()));
    m_description->setText(CronExpression::description(draft.scheduleExpression));
    m_enabledSwitch->setChecked(draft.isEnabled);

    m_schedule->present(m_model);

    if (m_commandField->toPlainText() != draft.command)
        m_commandField->setPlainText(draft.command);
    const auto commandMessage = m_model.commandMessage();
    m_commandMessage->setVisible(commandMessage.has_value());
    m_commandMessage->setText(commandMessage.value_or(QString()));
    m_commandHint->setVisible(!commandMessage);

    ExecutionEditor::Inputs executions;
    executions.isMonitoringEnabled = draft.isMonitoringEnabled;
    executions.logPolicy = draft.logPolicy;
    executions.isNew = m_model.isNew();
    executions.hasUnsavedChanges = m_model.hasUnsavedChanges();
    executions.compatibilityIssue = m_model.monitoringIssue();
    executions.summary = m_inputs.executionSummary;
    executions.history = m_inputs.executionHistory;
    executions.nextExecution = m_inputs.nextExecution;
    executions.isRunningNow = m_inputs.isRunningNow;
    m_executions->setInputs(executions);

    m_revertButton->setVisible(!m_actions.cancel && m_model.hasUnsavedChanges());
    const QString saveLabel = m_model.isNew() ? tr("Cronjob anlegen") : tr("Änderungen sichern");
    if (m_saveButton->text() != saveLabel) {
        m_saveButton->setText(saveLabel);
        m_saveButton->setToolTip(
            saveLabel + QStringLiteral(" (") +
            QKeySequence(QKeySequence::Save).toString(QKeySequence::NativeText) + u')');
    }
    m_saveButton->setEnabled(m_model.canSave());
    m_saveButton->setBusy(m_model.isSaving());

    const QString title = m_model.title();
    if (title != m_shownTitle) {
        m_shownTitle = title;
        Q_EMIT titleChanged(title);
    }
}

} // namespace Tempolane
