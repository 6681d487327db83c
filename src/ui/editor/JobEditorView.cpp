#include "JobEditorView.h"

#include "ActionButton.h"
#include "AmbientBackground.h"
#include "CaptionForm.h"
#include "CommandSection.h"
#include "EditorCard.h"
#include "ExecutionEditor.h"
#include "FindingList.h"
#include "JobEditorHeader.h"
#include "ScheduleSection.h"
#include "ShortcutText.h"
#include "SymbolLabel.h"
#include "WheelOnlyWithFocus.h"
#include "WrappingRow.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>

namespace Tempolane {

namespace {

constexpr int pagePadding = 26;
constexpr int pageSpacing = 18;
constexpr int maximumPageWidth = 760;
constexpr int buttonSpacing = 8;

// Lets the ambient background show through.
QWidget* transparent(QWidget* widget)
{
    widget->setAutoFillBackground(false);
    return widget;
}

} // namespace

JobEditorView::JobEditorView(Inputs inputs, Actions actions, Clock now, QWidget* parent)
    : QWidget(parent), m_actions(std::move(actions)), m_model(inputs),
      m_schedule(new ScheduleSection(std::move(now)))
{
    m_scrollArea = new QScrollArea;
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    // The page scrolls to whichever field has the focus; the area itself takes none.
    m_scrollArea->setFocusPolicy(Qt::NoFocus);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setWidget(page());
    transparent(m_scrollArea->viewport());
    transparent(m_scrollArea->widget());

    auto* background = new AmbientBackground;
    auto* backgroundLayout = new QVBoxLayout(background);
    backgroundLayout->setContentsMargins(0, 0, 0, 0);
    backgroundLayout->addWidget(m_scrollArea);
    // The dialog's buttons must not scroll out of sight: they are its only way out.
    if (m_actions.cancel) {
        auto* footer = transparent(new QWidget);
        auto* footerLayout = new QVBoxLayout(footer);
        footerLayout->setContentsMargins(pagePadding, pageSpacing / 2, pagePadding, pageSpacing);
        footerLayout->addWidget(m_buttonRow);
        backgroundLayout->addWidget(footer);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(background);

    connectShortcuts();
    takeWheelOnlyWithFocus(this);
    present(everyJobEditorPart);
    lineUpCaptions(m_scrollArea->widget());
}

void JobEditorView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeCaptions();
}

// Beside their controls while the page fits the column that way; above them in a narrower one
// (the smallest window with a large font), where the page would scroll sideways and cut the
// controls at its trailing edge off, "Job aktiv" first.
void JobEditorView::placeCaptions()
{
    QWidget* page = m_scrollArea->widget();
    if (!m_areCaptionsStacked)
        m_sideBySideWidth = page->minimumSizeHint().width();
    // The page is as wide as the editor, less a scroll bar; the area may not be laid out yet.
    const int room = width() - m_scrollArea->verticalScrollBar()->sizeHint().width();
    const bool stacked = room < m_sideBySideWidth;
    if (stacked == m_areCaptionsStacked)
        return;
    m_areCaptionsStacked = stacked;
    stackCaptions(page, stacked);
    settleLayout();
}

QWidget* JobEditorView::page()
{
    auto* column = new QWidget;
    column->setMaximumWidth(maximumPageWidth);
    auto* content = new QVBoxLayout(column);
    content->setContentsMargins(pagePadding, pagePadding, pagePadding, pagePadding);
    content->setSpacing(pageSpacing);
    m_header = new JobEditorHeader;
    content->addWidget(m_header);
    // Under the name, where it is read before anything is saved.
    m_outsideChangeNote = new SymbolLabel(Symbol::info, TextStyle::caption, Tint::orange);
    m_outsideChangeNote->setObjectName(QStringLiteral("outsideChangeNote"));
    m_outsideChangeNote->setWordWrap(true);
    content->addWidget(m_outsideChangeNote);
    // Why the job will not do what it says comes first, where the eye is.
    content->addWidget(hintsCard());

    auto* scheduleCard = new EditorCard(
        tr("Zeitplan"), tr("Grafisch zusammenstellen oder direkt als Cron-Ausdruck bearbeiten."),
        Symbol::calendarBadgeClock, Tint::indigo);
    scheduleCard->contentLayout()->addWidget(m_schedule);
    content->addWidget(scheduleCard);
    m_command = new CommandSection;
    auto* commandCard =
        new EditorCard(tr("Befehl"), tr("Wird von cron mit der konfigurierten Shell ausgeführt."),
                       Symbol::terminal, Tint::cyan);
    commandCard->contentLayout()->addWidget(m_command);
    content->addWidget(commandCard);
    content->addWidget(executionsCard());
    m_buttonRow = buttonRow();
    if (!m_actions.cancel)
        content->addWidget(m_buttonRow);
    content->addStretch(1);

    connect(m_header, &JobEditorHeader::nameEdited, this, [this](const QString& name) {
        edit([&](auto& model) { return model.setName(name); });
    });
    connect(m_header, &JobEditorHeader::nameLeft, this,
            [this] { edit([](auto& model) { return model.leave(DraftField::name); }); });
    connect(m_command, &CommandSection::commandLeft, this,
            [this] { edit([](auto& model) { return model.leave(DraftField::command); }); });
    connect(m_header, &JobEditorHeader::enabledToggled, this, [this](bool isEnabled) {
        edit([&](auto& model) { return model.setEnabled(isEnabled); });
    });
    connect(m_command, &CommandSection::commandEdited, this, [this](const QString& command) {
        edit([&](auto& model) { return model.setCommand(command); });
    });
    connect(m_schedule, &ScheduleSection::modeChosen, this, [this](ScheduleEditorMode mode) {
        edit([&](auto& model) { return model.setEditorMode(mode); });
    });
    connect(m_schedule, &ScheduleSection::expressionEdited, this, [this](const QString& text) {
        edit([&](auto& model) { return model.setScheduleExpression(text); });
    });
    connect(m_schedule, &ScheduleSection::visualScheduleEdited, this,
            [this](const VisualSchedule& schedule) {
                edit([&](auto& model) { return model.setVisualSchedule(schedule); });
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

QWidget* JobEditorView::hintsCard()
{
    m_findings = new FindingList;
    m_findings->setObjectName(QStringLiteral("findingList"));
    connect(m_findings, &FindingList::fixChosen, this, [this](const Fix& fix) {
        if (m_actions.applyFix)
            m_actions.applyFix(fix);
    });
    m_hintsCard = new EditorCard(tr("Hinweise"), tr("Was cron mit diesem Job tun wird."),
                                 Symbol::warning, Tint::orange);
    m_hintsCard->setObjectName(QStringLiteral("hintsCard"));
    m_hintsCard->contentLayout()->addWidget(m_findings);
    m_hintsCard->hide();
    return m_hintsCard;
}

void JobEditorView::setFindings(const QList<ShownFinding>& findings, bool canFix)
{
    m_findings->setFindings(findings, canFix && bool(m_actions.applyFix));
    if (m_hintsCard->isHidden() != findings.isEmpty()) {
        m_hintsCard->setVisible(!findings.isEmpty());
        settleLayout();
    }
}

QWidget* JobEditorView::executionsCard()
{
    m_executions = new ExecutionEditor(m_actions.runNow, m_actions.clearHistory);
    connect(m_executions, &ExecutionEditor::monitoringToggled, this, [this](bool isEnabled) {
        edit([&](auto& model) { return model.setMonitoringEnabled(isEnabled); });
    });
    connect(m_executions, &ExecutionEditor::logPolicyChosen, this,
            [this](ExecutionLogPolicy policy) {
                edit([&](auto& model) { return model.setLogPolicy(policy); });
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
    // Delete and duplicate at the start, the form's own buttons at the end; in a narrow column
    // the end group takes a line of its own.
    auto* row = new WrappingRow(buttonSpacing);
    QHBoxLayout* layout = row->leading();
    const auto add = [&](ActionButton* button, const char* objectName,
                         const std::function<void()>& action) {
        button->setObjectName(QString::fromLatin1(objectName));
        connect(button, &ActionButton::clicked, this, [action] {
            if (action)
                action();
        });
        // Parented first: a widget without a parent that is made visible opens as a window of
        // its own for a moment, and takes the focus from the main window.
        layout->addWidget(button);
        button->setVisible(bool(action));
    };
    add(new ActionButton(tr("Löschen"), Symbol::trash, Style::plain, Tint::red), "deleteButton",
        m_actions.remove);
    add(new ActionButton(tr("Duplizieren"), Symbol::copy, Style::plain, Tint::primary),
        "duplicateButton", m_actions.duplicate);
    layout = row->trailing();
    m_revertButton =
        new ActionButton(tr("Zurücksetzen"), Symbol::undo, Style::plain, Tint::primary);
    add(m_revertButton, "revertButton", [this] { revert(); });
    add(new ActionButton(tr("Abbrechen"), std::nullopt, Style::plain, Tint::primary),
        "cancelButton", m_actions.cancel);
    m_saveButton = new ActionButton({}, Symbol::check, Style::prominent, Tint::indigo);
    add(m_saveButton, "saveButton",
        m_actions.save ? std::function<void()>([this] { save(); }) : std::function<void()>());
    return row;
}

void JobEditorView::connectShortcuts()
{
    auto* saveShortcut = new QShortcut(QKeySequence::Save, this);
    connect(saveShortcut, &QShortcut::activated, this, [this] {
        edit([](auto& model) { return model.attemptSave(); });
        if (m_saveButton->isEnabled())
            save();
    });
}

// Escape reaches the form only where nothing inside took it: an open picker closes its list
// first.
void JobEditorView::keyPressEvent(QKeyEvent* event)
{
    if (m_actions.cancel && event->matches(QKeySequence::Cancel)) {
        m_actions.cancel();
        return;
    }
    QWidget::keyPressEvent(event);
}

void JobEditorView::setInputs(const Inputs& inputs)
{
    edit([&](auto& model) { return model.setInputs(inputs); });
}

QString JobEditorView::title() const
{
    return m_model.title();
}

void JobEditorView::edit(const std::function<JobEditorChanges(JobEditorModel&)>& change)
{
    const CronJob before = m_model.draft();
    present(change(m_model));
    if (m_model.draft() != before)
        Q_EMIT draftEdited(m_model.draft());
}

// Lays the page out now, inner layouts before the layouts that hold them. Left to the event
// loop, each level would be laid out in a pass of its own, and the page painted in between in
// sizes it does not keep: a card keeping its old height, its content stretched.
void JobEditorView::settleLayout()
{
    QWidget* page = m_scrollArea->widget();
    // Every widget comes after its parent in the list: walked backwards, children come first.
    const QList<QWidget*> widgets = page->findChildren<QWidget*>();
    for (auto widget = widgets.crbegin(); widget != widgets.crend(); ++widget) {
        if ((*widget)->layout() && (*widget)->isVisible())
            (*widget)->layout()->activate();
    }
    page->layout()->activate();
    // The scroll area gives the page its new height when the page asks for a layout.
    QEvent request(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(page, &request);
}

void JobEditorView::save()
{
    if (!m_actions.save)
        return;
    if (auto job = takeJobToSave())
        m_actions.save(std::move(*job));
}

std::optional<CronJob> JobEditorView::takeJobToSave()
{
    if (!m_model.canSave())
        return std::nullopt;
    return m_model.jobToSave();
}

void JobEditorView::revert()
{
    edit([](auto& model) { return model.revert(); });
}

void JobEditorView::noteOutsideChange()
{
    edit([](auto& model) { return model.noteOutsideChange(); });
}

void JobEditorView::noteRemovedOutside()
{
    edit([](auto& model) { return model.noteRemovedOutside(); });
}

void JobEditorView::showWhatStopsSaving()
{
    edit([](auto& model) { return model.attemptSave(); });
    const auto field = m_model.fieldStoppingSave();
    if (!field)
        return;
    // The text field that holds what a rule refuses; the schedule's is shown as text.
    if (*field == JobEditorModel::Field::schedule)
        edit([](auto& model) { return model.setEditorMode(ScheduleEditorMode::syntax); });
    const char* name = *field == JobEditorModel::Field::name       ? "nameField"
                       : *field == JobEditorModel::Field::schedule ? "scheduleField"
                                                                   : "commandField";
    auto* input = findChild<QWidget*>(QString::fromLatin1(name));
    input->setFocus(Qt::OtherFocusReason);
    m_scrollArea->ensureWidgetVisible(input);
}

void JobEditorView::present(JobEditorChanges changes)
{
    if (!changes)
        return;
    if (changes.testFlag(JobEditorChange::restarted))
        m_scrollArea->verticalScrollBar()->setValue(0);
    m_header->present(m_model, changes);
    m_schedule->present(m_model, changes);
    m_command->present(m_model, changes);
    m_executions->present(m_model, changes);

    if (changes.testFlag(JobEditorChange::unsavedChanges)) {
        m_revertButton->setVisible(m_model.offersRevert(bool(m_actions.cancel)));
        m_outsideChangeNote->setMessage(m_model.outsideChangeNote());
    }
    if (changes.testFlag(JobEditorChange::restarted)) {
        const QString saveLabel = m_model.saveLabel();
        m_saveButton->setText(saveLabel);
        m_saveButton->setToolTip(withShortcut(saveLabel, QKeySequence::Save));
    }
    if (changes.testFlag(JobEditorChange::canSave))
        m_saveButton->setEnabled(m_model.canSave());
    if (changes.testFlag(JobEditorChange::saving))
        m_saveButton->setBusy(m_model.isSaving());

    // The title is the window's, and an enabled state moves nothing.
    if (changes & ~JobEditorChanges(JobEditorChange::title | JobEditorChange::canSave)) {
        settleLayout();
        // What the page shows now may need more room than the column has, or less.
        placeCaptions();
    }
    if (changes.testFlag(JobEditorChange::title))
        Q_EMIT titleChanged(m_model.title());
}

} // namespace Tempolane
