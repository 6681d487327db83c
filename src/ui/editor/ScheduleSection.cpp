#include "ScheduleSection.h"

#include "CaptionForm.h"
#include "CronFieldLegend.h"
#include "Divider.h"
#include "FieldWell.h"
#include "SegmentedPicker.h"
#include "SymbolLabel.h"
#include "SymbolView.h"
#include "TextLabel.h"
#include "UpcomingRuns.h"
#include "VisualScheduleChoices.h"
#include "VisualScheduleEditor.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

namespace Tempolane {

namespace {

constexpr int contentSpacing = 16;
constexpr int pickerWidth = 212;
constexpr int syntaxSpacing = 10;
constexpr int fieldPadding = 8;
constexpr int summarySpacing = 12;
constexpr int summaryLineSpacing = 3;
constexpr int upcomingSpacing = 2;

} // namespace

ScheduleSection::ScheduleSection(Clock now, QWidget* parent)
    : QWidget(parent), m_clock(std::move(now)),
      m_visualEditor(new VisualScheduleEditor(VisualScheduleChoices::offeredMinuteIntervals())),
      m_scheduleMessage(new SymbolLabel(Symbol::warningFill, TextStyle::caption, Tint::orange)),
      m_description(new TextLabel(TextStyle::headline)),
      m_expression(new TextLabel(TextStyle::caption, Tint::secondary))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(contentSpacing);
    layout->addWidget(modeRow());
    layout->addWidget(m_visualEditor);
    layout->addWidget(syntaxColumn());
    layout->addWidget(newDivider());
    layout->addWidget(summaryRow());

    connect(m_visualEditor, &VisualScheduleEditor::scheduleEdited, this,
            &ScheduleSection::visualScheduleEdited);
}

QWidget* ScheduleSection::modeRow()
{
    QStringList titles;
    for (const ScheduleEditorMode mode : allScheduleEditorModes)
        titles << title(mode);
    m_modePicker = new SegmentedPicker(titles);
    m_modePicker->setObjectName(QStringLiteral("editorModePicker"));
    m_modePicker->setAccessibleName(tr("Editor"));
    setLeastWidth(m_modePicker, pickerWidth);
    connect(m_modePicker, &SegmentedPicker::activated, this,
            [this](int index) { Q_EMIT modeChosen(allScheduleEditorModes[std::size_t(index)]); });

    return newCaptionRow(tr("Editor"), std::nullopt, m_modePicker);
}

QWidget* ScheduleSection::syntaxColumn()
{
    m_scheduleField = new QLineEdit;
    m_scheduleField->setObjectName(QStringLiteral("scheduleField"));
    m_scheduleField->setAccessibleName(QStringLiteral("0 9 * * *"));
    m_scheduleField->setPlaceholderText(tr("Minute Stunde Tag Monat Wochentag"));
    QFont font = styledFont(TextStyle::title3, true);
    font.setWeight(QFont::Medium);
    m_scheduleField->setFont(font);
    m_scheduleField->setFrame(false);
    keepLeftToRight(m_scheduleField);
    connect(m_scheduleField, &QLineEdit::textEdited, this, &ScheduleSection::expressionEdited);

    m_syntaxColumn = new QWidget;
    auto* layout = new QVBoxLayout(m_syntaxColumn);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(syntaxSpacing);
    layout->addWidget(new FieldWell(
        m_scheduleField, {fieldPadding + 2, fieldPadding, fieldPadding + 2, fieldPadding}));
    layout->addWidget(m_scheduleMessage);
    layout->addWidget(new CronFieldLegend);
    m_scheduleMessage->setObjectName(QStringLiteral("scheduleMessage"));
    m_scheduleMessage->setWordWrap(true);
    return m_syntaxColumn;
}

QWidget* ScheduleSection::summaryRow()
{
    auto* sparkles = new SymbolView;
    sparkles->setSymbol(Symbol::sparkles, {Tint::indigo, SymbolRendering::hierarchical});
    sparkles->setSide(symbolSide(TextStyle::headline));

    m_description->setObjectName(QStringLiteral("scheduleDescription"));
    m_description->setWordWrap(true);
    m_expression->setObjectName(QStringLiteral("scheduleExpression"));
    m_expression->setTextStyle(TextStyle::caption, true);
    m_expression->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(summaryLineSpacing);
    texts->addWidget(m_description);
    texts->addWidget(m_expression);
    texts->addWidget(upcomingRuns());

    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(summarySpacing);
    layout->addWidget(sparkles, 0, Qt::AlignTop);
    layout->addLayout(texts, 1);
    return row;
}

QWidget* ScheduleSection::upcomingRuns()
{
    m_upcoming = new QWidget;
    m_upcoming->setObjectName(QStringLiteral("upcomingRuns"));
    auto* layout = new QVBoxLayout(m_upcoming);
    layout->setContentsMargins(0, summarySpacing - summaryLineSpacing, 0, 0);
    layout->setSpacing(upcomingSpacing);
    auto* title = new TextLabel(tr("Nächste Ausführungen"), TextStyle::caption, Tint::secondary);
    QFont titleFont = title->font();
    titleFont.setWeight(QFont::DemiBold);
    title->setFont(titleFont);
    layout->addWidget(title);
    for (int index = 0; index < UpcomingRuns::shownRuns; ++index) {
        auto* line = new TextLabel(TextStyle::caption);
        m_upcomingLines.append(line);
        layout->addWidget(line);
    }
    return m_upcoming;
}

void ScheduleSection::present(const JobEditorModel& model, JobEditorChanges changes)
{
    if (changes.testFlag(JobEditorChange::editorMode)) {
        const ScheduleEditorMode mode = model.editorMode();
        m_modePicker->setCurrentIndex(
            int(std::ranges::find(allScheduleEditorModes, mode) - allScheduleEditorModes.begin()));
        m_visualEditor->setVisible(mode == ScheduleEditorMode::visual);
        m_syntaxColumn->setVisible(mode == ScheduleEditorMode::syntax);
    }
    if (changes.testFlag(JobEditorChange::visualSchedule))
        m_visualEditor->setSchedule(model.visualSchedule());

    const QString& expression = model.draft().scheduleExpression;
    const std::optional<QString> message = model.scheduleMessage();
    if (changes.testFlag(JobEditorChange::schedule)) {
        // Typed into the field: setting it again would move the cursor to the end.
        if (m_scheduleField->text() != expression)
            m_scheduleField->setText(expression);
        m_scheduleMessage->setMessage(message);
        m_description->setText(model.scheduleDescription());
        m_expression->setText(expression);
        m_upcoming->setVisible(!message);
    }
    if (!message && changes & (JobEditorChange::schedule | JobEditorChange::time))
        presentUpcomingRuns(expression);
}

void ScheduleSection::presentUpcomingRuns(const QString& expression)
{
    // Searched again when the text changes or the clock has moved on to another minute.
    const QDateTime now = m_clock();
    const qint64 minute = now.toSecsSinceEpoch() / 60;
    if (expression == m_upcomingFor && minute == m_upcomingMinute)
        return;
    m_upcomingFor = expression;
    m_upcomingMinute = minute;
    const QStringList lines = UpcomingRuns::texts(expression, now);
    for (qsizetype index = 0; index < m_upcomingLines.size(); ++index) {
        TextLabel* line = m_upcomingLines[index];
        line->setText(lines.value(index));
        line->setVisible(index < lines.size());
    }
}

} // namespace Tempolane
