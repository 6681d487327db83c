#include "AmbientBackground.h"

#include "PaintBands.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRadialGradient>
#include <QtMath>

namespace Tempolane {

namespace {

void paintGlow(QPainter& painter, const QRect& area, QPointF centre, qreal radius,
               const QColor& color)
{
    QRadialGradient gradient(centre, radius, centre, AmbientBackground::focalRadius);
    gradient.setColorAt(0, color);
    gradient.setColorAt(1, Qt::transparent);
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
    // Every pixel is painted here, so nothing beneath needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

AmbientBackground::Look AmbientBackground::look() const
{
    return {size(),
            devicePixelRatioF(),
            palette().color(QPalette::Window),
            Palette::role(Role::trailingGlow, palette()),
            Palette::role(Role::leadingGlow, palette()),
            layoutDirection()};
}

void AmbientBackground::paintEvent(QPaintEvent* event)
{
    const Look current = look();
    if (m_picture.isNull() || current != m_pictureLook) {
        m_picture = renderPicture(current);
        m_pictureLook = current;
    }
    QPainter painter(this);
    paintInBands(event->rect(), [&](const QRect& band) {
        painter.drawImage(
            band, m_picture,
            QRectF(QPointF(band.topLeft()) * current.ratio, QSizeF(band.size()) * current.ratio));
    });
}

QImage AmbientBackground::renderPicture(const Look& look)
{
    // Opaque, so a repaint is a plain copy rather than a blend.
    QImage picture((QSizeF(look.size) * look.ratio).toSize().expandedTo({1, 1}),
                   look.window.alpha() == 255 ? QImage::Format_RGB32
                                              : QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(look.ratio);
    picture.fill(look.window);
    QPainter painter(&picture);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(look.size)), renderGlows(look));
    return picture;
}

// The glows change by one colour step over ten or more pixels, so they are drawn at a quarter of
// the size and stretched when painted: the same picture, within three steps, for a sixteenth of
// the gradient work.
QImage AmbientBackground::renderGlows(const Look& look)
{
    const QRect area(QPoint(0, 0), look.size);
    QImage glows((QSizeF(look.size) / glowScale).toSize().expandedTo({1, 1}),
                 QImage::Format_ARGB32_Premultiplied);
    glows.fill(Qt::transparent);
    QPainter painter(&glows);
    painter.scale(qreal(glows.width()) / area.width(), qreal(glows.height()) / area.height());
    // Right is the trailing edge in a left-to-right layout.
    const bool leftToRight = look.direction == Qt::LeftToRight;
    const QPointF topTrailing = leftToRight ? QPointF(area.width(), 0) : QPointF(0, 0);
    const QPointF bottomLeading =
        leftToRight ? QPointF(0, area.height()) : QPointF(area.width(), area.height());
    paintGlow(painter, area, topTrailing, indigoRadius, look.trailingGlow);
    paintGlow(painter, area, bottomLeading, cyanRadius, look.leadingGlow);
    return glows;
}

} // namespace Tempolane
