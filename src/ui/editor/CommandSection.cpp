#include "CommandSection.h"

#include "FieldWell.h"
#include "FocusLeaveWatcher.h"
#include "SymbolLabel.h"

#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QtMath>
#include <algorithm>

namespace Tempolane {

namespace {

constexpr int spacing = 10;
// At least this high, and three lines of the font whatever its size.
constexpr int commandHeight = 96;
constexpr int shownLines = 3;
const QMargins commandPadding(8, 6, 8, 6);

} // namespace

CommandSection::CommandSection(QWidget* parent)
    : QWidget(parent), m_commandField(new QPlainTextEdit),
      m_message(new SymbolLabel(Symbol::warningFill, TextStyle::caption, Tint::orange)),
      m_hint(new SymbolLabel(Symbol::info, TextStyle::caption, Tint::secondary,
                             tr("Pfade mit Leerzeichen bitte in Anführungszeichen setzen.")))
{
    m_commandField->setObjectName(QStringLiteral("commandField"));
    m_commandField->setAccessibleName(tr("Auszuführender Befehl"));
    m_commandField->setFont(styledFont(TextStyle::body, true));
    keepLeftToRight(m_commandField);
    const int linesHeight = shownLines * QFontMetrics(m_commandField->font()).lineSpacing() +
                            2 * qCeil(m_commandField->document()->documentMargin());
    m_commandField->setFixedHeight(std::max(commandHeight, linesHeight));
    connect(new FocusLeaveWatcher(m_commandField), &FocusLeaveWatcher::left, this,
            &CommandSection::commandLeft);
    m_commandField->setFrameShape(QFrame::NoFrame);
    // A command is one line: Tab moves on instead of typing a tab.
    m_commandField->setTabChangesFocus(true);
    m_commandField->viewport()->setAutoFillBackground(false);
    connect(m_commandField, &QPlainTextEdit::textChanged, this,
            [this] { Q_EMIT commandEdited(m_commandField->toPlainText()); });
    m_message->setObjectName(QStringLiteral("commandMessage"));
    m_message->setWordWrap(true);
    m_hint->setObjectName(QStringLiteral("commandHint"));
    m_hint->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    layout->addWidget(new FieldWell(m_commandField, commandPadding));
    layout->addWidget(m_message);
    layout->addWidget(m_hint);
}

void CommandSection::present(const JobEditorModel& model, JobEditorChanges changes)
{
    if (!changes.testFlag(JobEditorChange::command))
        return;
    const QString& command = model.draft().command;
    // Typed into the field: setting it again would move the cursor to the end.
    if (m_commandField->toPlainText() != command) {
        // Showing the draft is no edit.
        const QSignalBlocker quiet(m_commandField);
        m_commandField->setPlainText(command);
    }
    const auto message = model.shownCommandMessage();
    m_message->setMessage(message);
    m_hint->setVisible(!message);
}

} // namespace Tempolane
