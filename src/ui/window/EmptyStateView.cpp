#include "EmptyStateView.h"

#include "ActionButton.h"
#include "SymbolView.h"
#include "TextLabel.h"

#include <QGridLayout>
#include <QVBoxLayout>

namespace Tempolane {

namespace {

constexpr int symbolSideOfEmptyState = 44;
constexpr int spacing = 8;
constexpr int margin = 24;
constexpr int widestText = 320;

} // namespace

EmptyStateView::EmptyStateView(QWidget* parent)
    : QWidget(parent), m_symbol(new SymbolView(this)),
      m_title(new TextLabel(TextStyle::title3, Tint::primary, this)),
      m_description(new TextLabel(TextStyle::subheadline, Tint::secondary, this)),
      m_button(new ActionButton(tr("Cronjob anlegen"), Symbol::plus, ActionButton::Style::prominent,
                                Tint::indigo, this))
{
    m_symbol->setSide(symbolSideOfEmptyState);
    m_title->setObjectName(QStringLiteral("emptyStateTitle"));
    m_title->setAlignment(Qt::AlignCenter);
    m_description->setObjectName(QStringLiteral("emptyStateDescription"));
    m_description->setAlignment(Qt::AlignCenter);
    m_description->setWordWrap(true);
    m_button->setObjectName(QStringLiteral("emptyStateButton"));
    m_button->hide();

    // The texts wrap within a narrow column in the middle, however wide the view is.
    auto* column = new QWidget(this);
    column->setMaximumWidth(widestText);
    auto* content = new QVBoxLayout(column);
    content->setContentsMargins(0, 0, 0, 0);
    content->setSpacing(spacing);
    content->addWidget(m_symbol, 0, Qt::AlignHCenter);
    content->addSpacing(spacing);
    content->addWidget(m_title);
    content->addWidget(m_description);
    content->addSpacing(spacing);
    content->addWidget(m_button, 0, Qt::AlignHCenter);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(margin, margin, margin, margin);
    // Without a horizontal alignment the column takes the width it may have, centred.
    layout->addWidget(column, 0, 0, Qt::AlignVCenter);
}

void EmptyStateView::setState(const WindowPresentation::EmptyState& state)
{
    m_symbol->setSymbol(state.symbol, {Tint::secondary, SymbolRendering::hierarchical});
    m_symbol->setAccessibleName(state.title);
    m_title->setText(state.title);
    m_description->setText(state.description);
    m_button->setVisible(state.offersCreateButton);
}

QString EmptyStateView::title() const
{
    return m_title->text();
}

} // namespace Tempolane
