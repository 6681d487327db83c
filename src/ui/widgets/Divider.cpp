#include "Divider.h"

#include "Palette.h"

#include <QPainter>

namespace Tempolane {

namespace {

// The separator itself: the text colour, faintly.
constexpr float separatorStrength = 0.35f;

} // namespace

Divider::Divider(qreal opacity, QWidget* parent) : QWidget(parent), m_opacity(opacity)
{
    setFixedHeight(1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void Divider::paintEvent(QPaintEvent*)
{
    QColor line = Palette::color(Tint::primary, palette());
    line.setAlphaF(separatorStrength * float(m_opacity));
    QPainter(this).fillRect(rect(), line);
}

} // namespace Tempolane
