#include "FindingList.h"

#include "ActionButton.h"
#include "SymbolView.h"
#include "TextLabel.h"
#include "WrappingRow.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace Tempolane {

namespace {

constexpr int findingSpacing = 12;
constexpr int rowSpacing = 6;
constexpr int buttonSpacing = 4;

} // namespace

FindingList::FindingList(QWidget* parent) : QWidget(parent), m_layout(new QVBoxLayout(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(findingSpacing);
}

void FindingList::setFindings(const QList<ShownFinding>& findings, bool canFix)
{
    if (findings == m_findings && canFix == m_canFix)
        return;
    m_findings = findings;
    m_canFix = canFix;
    while (QLayoutItem* item = m_layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (const ShownFinding& finding : findings)
        m_layout->addWidget(row(finding, canFix));
}

QWidget* FindingList::row(const ShownFinding& finding, bool canFix)
{
    auto* row = new QWidget(this);
    row->setObjectName(QStringLiteral("finding"));
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(rowSpacing);
    if (!finding.lineText.isEmpty()) {
        auto* line = new TextLabel(finding.lineText, TextStyle::caption, Tint::secondary, row);
        line->setTextStyle(TextStyle::caption, true);
        line->setObjectName(QStringLiteral("findingLine"));
        line->setWordWrap(true);
        layout->addWidget(line);
    }
    // The symbol carries the severity's colour; the message stays in the text colour, readable
    // on every background.
    auto* symbol = new SymbolView(row);
    symbol->setSymbol(finding.symbol, {finding.tint});
    symbol->setSide(symbolSide(TextStyle::subheadline));
    auto* message = new TextLabel(finding.message, TextStyle::subheadline, Tint::primary, row);
    message->setObjectName(QStringLiteral("findingMessage"));
    message->setWordWrap(true);
    auto* messageRow = new QHBoxLayout;
    messageRow->setSpacing(rowSpacing);
    messageRow->addWidget(symbol, 0, Qt::AlignTop);
    messageRow->addWidget(message, 1);
    layout->addLayout(messageRow);

    // The fixes first, "Nicht mehr anzeigen" at the end, on a line of its own where narrow.
    auto* buttons = new WrappingRow(buttonSpacing, row);
    const auto addButton = [&](QHBoxLayout* group, const Fix& fix, const char* name, Tint tint) {
        auto* button =
            new ActionButton(fix.title, std::nullopt, ActionButton::Style::plain, tint, row);
        button->setObjectName(QString::fromLatin1(name));
        button->setToolTip(fix.changeName);
        button->setEnabled(canFix);
        connect(button, &ActionButton::clicked, this, [this, fix] { Q_EMIT fixChosen(fix); });
        group->addWidget(button);
    };
    for (const Fix& fix : finding.fixes)
        addButton(buttons->leading(), fix, "fixButton", Tint::indigo);
    addButton(buttons->trailing(), finding.silencing, "silenceButton", Tint::secondary);
    layout->addWidget(buttons);
    return row;
}

} // namespace Tempolane
