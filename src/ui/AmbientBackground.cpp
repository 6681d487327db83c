#include "AmbientBackground.h"

#include "Palette.h"

#include <QPaintEvent>
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

void AmbientBackground::paintEvent(QPaintEvent* event)
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    const QColor window = palette().color(QPalette::Window);
    if (m_rendered.size() != pixels || m_rendered.devicePixelRatio() != ratio ||
        m_renderedWindow != window || m_renderedDirection != layoutDirection()) {
        m_rendered = render();
        m_renderedWindow = window;
        m_renderedDirection = layoutDirection();
    }
    QPainter painter(this);
    painter.drawImage(
        event->rect(), m_rendered,
        QRectF(QPointF(event->rect().topLeft()) * ratio, QSizeF(event->rect().size()) * ratio));
}

QImage AmbientBackground::render() const
{
    const qreal ratio = devicePixelRatioF();
    QImage image((QSizeF(size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    const ColorScheme scheme = Palette::schemeOf(palette());
    const bool dark = scheme == ColorScheme::dark;
    QPainter painter(&image);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    // Right is the trailing edge in a left-to-right layout.
    const bool leftToRight = layoutDirection() == Qt::LeftToRight;
    const QPointF topTrailing = leftToRight ? QPointF(width(), 0) : QPointF(0, 0);
    const QPointF bottomLeading = leftToRight ? QPointF(0, height()) : QPointF(width(), height());
    paintGlow(painter, rect(), topTrailing, indigoRadius, Palette::color(Tint::indigo, scheme),
              dark ? 0.22f : 0.12f);
    paintGlow(painter, rect(), bottomLeading, cyanRadius, Palette::color(Tint::cyan, scheme),
              dark ? 0.12f : 0.08f);
    return image;
}

} // namespace Tempolane
