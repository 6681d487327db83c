#include "EditorCard.h"

#include "SymbolView.h"
#include "TextLabel.h"

#include <QAccessibleWidget>
#include <QHBoxLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QVBoxLayout>

namespace Tempolane {

namespace {

constexpr int titleSpacing = 3;
constexpr int symbolSpacing = 12;

// A card reads as a group named by its title, so a screen reader says which card the focus
// entered.
QAccessibleInterface* cardAccessible(const QString& className, QObject* object)
{
    if (className != QLatin1String(EditorCard::staticMetaObject.className()))
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Grouping);
}

} // namespace

EditorCard::EditorCard(const QString& title, const QString& subtitle, Symbol symbol, Tint tint,
                       QWidget* parent)
    : QWidget(parent), m_content(new QVBoxLayout)
{
    static const bool installed = [] {
        QAccessible::installFactory(cardAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    setAccessibleName(title);

    auto* symbolView = new SymbolView(this);
    symbolView->setSymbol(symbol, {tint, SymbolRendering::hierarchical});
    symbolView->setSide(symbolSide(TextStyle::title3));

    auto* titles = new QVBoxLayout;
    titles->setSpacing(titleSpacing);
    auto* titleLabel = new TextLabel(title, TextStyle::headline, Tint::primary, this);
    titleLabel->setObjectName(QStringLiteral("cardTitle"));
    auto* subtitleLabel = new TextLabel(subtitle, TextStyle::caption, Tint::secondary, this);
    subtitleLabel->setWordWrap(true);
    titles->addWidget(titleLabel);
    titles->addWidget(subtitleLabel);

    auto* header = new QHBoxLayout;
    header->setSpacing(symbolSpacing);
    header->addWidget(symbolView, 0, Qt::AlignTop);
    header->addLayout(titles, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding, padding, padding, padding);
    layout->setSpacing(headerSpacing);
    layout->addLayout(header);
    layout->addLayout(m_content);
    // A card changes height whenever its content does: what stays where it was is not painted
    // again, only the edges that moved (see resizeEvent).
    setAttribute(Qt::WA_StaticContents);
}

void EditorCard::resizeEvent(QResizeEvent* event)
{
    // The rounded corners and the edge along the far sides move with the size.
    const int band = cornerRadius + 2;
    const QSize before = event->oldSize();
    if (before.height() != height())
        update(0, std::min(before.height(), height()) - band, width(), height());
    if (before.width() != width())
        update(std::min(before.width(), width()) - band, 0, width(), height());
    QWidget::resizeEvent(event);
}

void EditorCard::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    m_panel.paint(painter,
                  {size(), devicePixelRatioF(), cornerRadius,
                   Palette::role(Role::cardFill, palette()),
                   Palette::role(Role::cardEdge, palette()), 1},
                  event->region());
}

} // namespace Tempolane
