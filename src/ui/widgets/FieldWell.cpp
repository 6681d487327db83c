#include "FieldWell.h"

#include "Palette.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace Tempolane {

namespace {

constexpr qreal radius = 10;

} // namespace

FieldWell::FieldWell(QWidget* field, QMargins padding, QWidget* parent)
    : QWidget(parent), m_field(field)
{
    // The field draws no background of its own; the well is its background.
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    field->setPalette(palette);
    field->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding);
    layout->addWidget(field);
}

bool FieldWell::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_field &&
        (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        update();
    return QWidget::eventFilter(watched, event);
}

void FieldWell::paintEvent(QPaintEvent* event)
{
    const bool focused = m_field->hasFocus();
    const QColor edge = Palette::role(focused ? Role::focusRing : Role::wellEdge, palette());
    QPainter painter(this);
    m_panel.paint(painter,
                  {size(), devicePixelRatioF(), radius, Palette::role(Role::wellFill, palette()),
                   edge, focused ? 1.5 : 1},
                  event->region());
}

} // namespace Tempolane
