#include "ExecutionRecordRow.h"

#include "DateTimeText.h"
#include "DisclosureButton.h"
#include "ExecutionStateAppearance.h"
#include "FieldWell.h"
#include "JobExecutionSummary.h"
#include "SymbolView.h"
#include "TextLabel.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

namespace Tempolane {

namespace {

constexpr int labelPadding = 7;
constexpr int emptyPadding = 6;
constexpr int maximumOutputLines = 14;
constexpr int outputMargin = 6;
constexpr int wellPadding = 3;

// The run's output as it was written: fixed width, not wrapped, selectable for copying. The
// view is as tall as the output, up to a limit, and scrolls both ways beyond it.
QWidget* outputView(QString output)
{
    // The line break that ends the output would show as an empty last line.
    while (output.endsWith(u'\n') || output.endsWith(u'\r'))
        output.chop(1);
    auto* view = new QPlainTextEdit;
    view->setObjectName(QStringLiteral("recordOutput"));
    view->setAccessibleName(QCoreApplication::translate("ExecutionEditor", "Meldungen"));
    view->setReadOnly(true);
    view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    view->setFont(styledFont(TextStyle::caption, true));
    view->setFrameShape(QFrame::NoFrame);
    view->document()->setDocumentMargin(outputMargin);
    view->setPlainText(output);
    const int lines = std::min(view->document()->blockCount(), maximumOutputLines);
    // One pixel more than the lines need, or the view offers to scroll by one line.
    constexpr int slack = 2;
    view->setFixedHeight(lines * QFontMetrics(view->font()).lineSpacing() + 2 * outputMargin +
                         view->horizontalScrollBar()->sizeHint().height() + slack);
    return new FieldWell(view, {wellPadding, wellPadding, wellPadding, wellPadding});
}

} // namespace

ExecutionRecordRow::ExecutionRecordRow(JobExecutionRecord record, QWidget* parent)
    : QWidget(parent), m_record(std::move(record)), m_layout(new QVBoxLayout(this))
{
    const JobExecutionState state = stateOf(m_record);
    const auto appearance = ExecutionStateAppearance::of(state.kind());
    const QString startedAt = DateTimeText::shortDateTime(m_record.startedAt);

    auto* symbol = new SymbolView;
    symbol->setSymbol(appearance.symbol, {appearance.tint});
    symbol->setSide(symbolSide(TextStyle::caption));
    auto* title = new TextLabel(Tempolane::title(state), TextStyle::caption);
    auto* time = new TextLabel(startedAt, TextStyle::caption, Tint::secondary);

    m_header = new DisclosureButton(Tempolane::title(state) + QStringLiteral(", ") + startedAt,
                                    labelPadding);
    m_header->setObjectName(QStringLiteral("recordHeader"));
    m_header->addContent(symbol);
    m_header->addContent(title);
    m_header->addStretch();
    m_header->addContent(time);
    connect(m_header, &DisclosureButton::toggled, this, &ExecutionRecordRow::setExpanded);

    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_layout->addWidget(m_header);
}

void ExecutionRecordRow::setExpanded(bool isExpanded)
{
    m_header->setChecked(isExpanded);
    if (isExpanded && !m_content) {
        m_content = makeContent();
        m_layout->addWidget(m_content);
    }
    if (m_content)
        m_content->setVisible(isExpanded);
}

QWidget* ExecutionRecordRow::makeContent() const
{
    if (m_record.output)
        return outputView(*m_record.output);
    auto* none = new TextLabel(
        QCoreApplication::translate("ExecutionEditor",
                                    "Für diese Ausführung wurden keine Meldungen aufgezeichnet."),
        TextStyle::caption, Tint::secondary);
    none->setObjectName(QStringLiteral("recordWithoutOutput"));
    none->setContentsMargins(0, emptyPadding, 0, emptyPadding);
    return none;
}

} // namespace Tempolane
