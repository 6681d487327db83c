#include "AmbientBackground.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRadialGradient>
#include <QtMath>

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
    // Beyond its radius the glow is fully transparent: only the rows it reaches are filled.
    // They are filled across the whole width, as the gradient's pixels depend a little on
    // where a row starts.
    const QRect rows(area.left(), qFloor(centre.y() - radius), area.width(), qCeil(2 * radius) + 1);
    painter.fillRect(area.intersected(rows), gradient);
}

} // namespace

AmbientBackground::AmbientBackground(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(false);
}

AmbientBackground::Look AmbientBackground::look() const
{
    return {size(), devicePixelRatioF(), palette().color(QPalette::Window),
            Palette::schemeOf(palette()), layoutDirection()};
}

void AmbientBackground::paintEvent(QPaintEvent* event)
{
    const Look current = look();
    if (m_rendered.isNull() || current != m_renderedLook) {
        m_rendered = renderedFor(current);
        m_renderedLook = current;
    }
    const qreal ratio = current.ratio;
    QPainter painter(this);
    painter.drawImage(
        event->rect(), m_rendered,
        QRectF(QPointF(event->rect().topLeft()) * ratio, QSizeF(event->rect().size()) * ratio));
}

// The window's placeholder and the editor that replaces it have the same size: the one drawn
// last is kept for the next background that asks (main thread only, as all painting).
QImage AmbientBackground::renderedFor(const Look& look)
{
    static Look lastLook;
    static QImage last;
    if (last.isNull() || look != lastLook) {
        last = render(look);
        lastLook = look;
    }
    return last;
}

QImage AmbientBackground::render(const Look& look)
{
    QImage image((QSizeF(look.size) * look.ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(look.ratio);
    const bool dark = look.scheme == ColorScheme::dark;
    const QRect area(QPoint(0, 0), look.size);
    QPainter painter(&image);
    painter.fillRect(area, look.window);
    // Right is the trailing edge in a left-to-right layout.
    const bool leftToRight = look.direction == Qt::LeftToRight;
    const QPointF topTrailing = leftToRight ? QPointF(area.width(), 0) : QPointF(0, 0);
    const QPointF bottomLeading =
        leftToRight ? QPointF(0, area.height()) : QPointF(area.width(), area.height());
    paintGlow(painter, area, topTrailing, indigoRadius, Palette::color(Tint::indigo, look.scheme),
              dark ? 0.22f : 0.12f);
    paintGlow(painter, area, bottomLeading, cyanRadius, Palette::color(Tint::cyan, look.scheme),
              dark ? 0.12f : 0.08f);
    return image;
}

} // namespace Tempolane
