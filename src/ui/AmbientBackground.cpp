#include "AmbientBackground.h"

#include "Palette.h"

#include <QPainter>
#include <QRadialGradient>

namespace Tempolane {

namespace {

void paintGlow(QPainter& painter, const QRect& area, QPointF centre, qreal radius, QColor color,
               float opacity)
{
    QRadialGradient gradient(centre, radius, centre, AmbientBackground::focalRadius);
    color.setAlphaF(opacity);
    gradient.setColorAt(0, color);
    color.setAlphaF(0);
    gradient.setColorAt(1, color);
    painter.fillRect(area, gradient);
}

} // namespace

AmbientBackground::AmbientBackground(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(false);
}

void AmbientBackground::paintEvent(QPaintEvent*)
{
    const ColorScheme scheme = Palette::schemeOf(palette());
    const bool dark = scheme == ColorScheme::dark;
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    // Right is the trailing edge in a left-to-right layout.
    const bool leftToRight = layoutDirection() == Qt::LeftToRight;
    const QPointF topTrailing = leftToRight ? QPointF(width(), 0) : QPointF(0, 0);
    const QPointF bottomLeading = leftToRight ? QPointF(0, height()) : QPointF(width(), height());
    paintGlow(painter, rect(), topTrailing, indigoRadius, Palette::color(Tint::indigo, scheme),
              dark ? 0.22f : 0.12f);
    paintGlow(painter, rect(), bottomLeading, cyanRadius, Palette::color(Tint::cyan, scheme),
              dark ? 0.12f : 0.08f);
}

} // namespace Tempolane
