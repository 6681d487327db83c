#include "JobEditorHeader.h"

#include "FocusLeaveWatcher.h"
#include "SymbolLabel.h"
#include "TextLabel.h"
#include "ToggleSwitch.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace Tempolane {

namespace {

constexpr int headerSpacing = 18;
constexpr int nameColumnSpacing = 5;
// A frameless line edit still keeps this inner margin before its text.
constexpr int lineEditTextInset = 2;

} // namespace

JobEditorHeader::JobEditorHeader(QWidget* parent)
    : QWidget(parent), m_nameField(new QLineEdit),
      m_nameMessage(new SymbolLabel(Symbol::warningFill, TextStyle::caption, Tint::orange)),
      m_description(new TextLabel(TextStyle::subheadline, Tint::secondary)),
      m_enabledSwitch(new ToggleSwitch(tr("Job aktiv"), Tint::green))
{
    m_nameField->setObjectName(QStringLiteral("nameField"));
    m_nameField->setAccessibleName(tr("Name des Cronjobs"));
    m_nameField->setPlaceholderText(tr("Name des Cronjobs"));
    m_nameField->setFrame(false);
    // The name starts where the lines below it start.
    m_nameField->setTextMargins(-lineEditTextInset, 0, 0, 0);
    QFont nameFont = styledFont(TextStyle::title);
    nameFont.setWeight(QFont::DemiBold);
    m_nameField->setFont(nameFont);
    QPalette plain = m_nameField->palette();
    plain.setColor(QPalette::Base, Qt::transparent);
    m_nameField->setPalette(plain);
    connect(m_nameField, &QLineEdit::textEdited, this, &JobEditorHeader::nameEdited);
    connect(new FocusLeaveWatcher(m_nameField), &FocusLeaveWatcher::left, this,
            &JobEditorHeader::nameLeft);

    m_nameMessage->setObjectName(QStringLiteral("nameMessage"));
    m_description->setObjectName(QStringLiteral("headerDescription"));
    m_description->setWordWrap(true);
    m_enabledSwitch->setObjectName(QStringLiteral("enabledSwitch"));
    connect(m_enabledSwitch, &ToggleSwitch::toggled, this, &JobEditorHeader::enabledToggled);

    auto* names = new QVBoxLayout;
    names->setSpacing(nameColumnSpacing);
    names->addWidget(m_nameField);
    names->addWidget(m_nameMessage);
    names->addWidget(m_description);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(headerSpacing);
    layout->addLayout(names, 1);
    layout->addWidget(m_enabledSwitch, 0, Qt::AlignVCenter);
}

void JobEditorHeader::present(const JobEditorModel& model, JobEditorChanges changes)
{
    const CronJob& draft = model.draft();
    if (changes.testFlag(JobEditorChange::name)) {
        // Typed into the field: setting it again would move the cursor to the end.
        if (m_nameField->text() != draft.name)
            m_nameField->setText(draft.name);
        m_nameMessage->setMessage(model.shownNameMessage());
    }
    if (changes.testFlag(JobEditorChange::schedule))
        m_description->setText(model.scheduleDescription());
    if (changes.testFlag(JobEditorChange::enabled)) {
        // Showing the draft is no edit.
        const QSignalBlocker quiet(m_enabledSwitch);
        m_enabledSwitch->setChecked(draft.isEnabled);
    }
}

} // namespace Tempolane
