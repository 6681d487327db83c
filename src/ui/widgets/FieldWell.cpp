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
    const bool dark = Palette::schemeOf(palette()) == ColorScheme::dark;
    QColor fill = Palette::color(Tint::primary, palette());
    fill.setAlphaF(dark ? 0.06f : 0.035f);
    QColor edge = Palette::color(Tint::primary, palette());
    edge.setAlphaF(dark ? 0.14f : 0.10f);
    if (m_field->hasFocus()) {
        edge = Palette::color(Tint::indigo, palette());
        edge.setAlphaF(0.7f);
    }
    QPainter painter(this);
    m_panel.paint(painter,
                  {size(), devicePixelRatioF(), radius, fill, edge, m_field->hasFocus() ? 1.5 : 1},
                  event->region());
}

} // namespace Tempolane
