#include "RoundedPanel.h"

#include "PaintBands.h"

#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QtMath>

namespace Tempolane {

namespace {

// Pixels beyond the curve and the edge that the pictures take in, so that where the straight
// edges meet the curves comes from the drawing itself.
constexpr int margin = 2;
// Length of the pictures of straight edges, copied one after the other along an edge.
constexpr int stripLength = 128;

bool sameLookApartFromSize(const RoundedPanel::Look& a, const RoundedPanel::Look& b)
{
    return a.ratio == b.ratio && a.radius == b.radius && a.fill == b.fill && a.edge == b.edge &&
           a.edgeWidth == b.edgeWidth;
}

// The rounded path a panel fills and outlines.
void paintPath(QPainter& painter, const RoundedPanel::Look& look)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(0, 0), QSizeF(look.size)).adjusted(0.5, 0.5, -0.5, -0.5),
                        look.radius, look.radius);
    if (look.fill.alpha() > 0)
        painter.fillPath(path, look.fill);
    if (look.edge.alpha() > 0) {
        painter.setPen(QPen(look.edge, look.edgeWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
}

// Part of a panel of the given size, as drawing its path leaves it on a transparent picture:
// the fill alone or the edge alone.
QImage layer(const RoundedPanel::Look& look, QSize panelSize, const QRect& part, bool isEdge)
{
    QImage image((QSizeF(part.size()) * look.ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(look.ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(-part.topLeft());
    RoundedPanel::Look whole = look;
    whole.size = panelSize;
    (isEdge ? whole.fill : whole.edge) = Qt::transparent;
    paintPath(painter, whole);
    return image;
}

} // namespace

RoundedPanel::Layers RoundedPanel::layers(const QRect& part) const
{
    return {layer(m_prepared, m_template, part, false), layer(m_prepared, m_template, part, true)};
}

void RoundedPanel::prepare(const Look& look)
{
    if (m_isPrepared && sameLookApartFromSize(look, m_prepared))
        return;
    m_prepared = look;
    m_isPrepared = true;
    m_band = qCeil(look.edgeWidth) + margin;
    m_corner = qCeil(look.radius + look.edgeWidth) + margin;
    // A panel with a stretch of straight edge between its corners, longer than a strip.
    const int side = 2 * (m_corner + margin) + stripLength;
    m_template = QSize(side, side);
    const int far = side - m_corner;
    const QPoint cornerOrigins[4] = {{0, 0}, {far, 0}, {0, far}, {far, far}};
    for (int i = 0; i < 4; ++i)
        m_corners[i] = layers(QRect(cornerOrigins[i], QSize(m_corner, m_corner)));
    const int start = m_corner + margin;
    m_horizontalStrips[0] = layers(QRect(start, 0, stripLength, m_band));
    m_horizontalStrips[1] = layers(QRect(start, side - m_band, stripLength, m_band));
    m_verticalStrips[0] = layers(QRect(0, start, m_band, stripLength));
    m_verticalStrips[1] = layers(QRect(side - m_band, start, m_band, stripLength));
}

void RoundedPanel::draw(QPainter& painter, const QRect& target, const Layers& layers,
                        const QRegion& exposed)
{
    // Strips are laid one after the other along a longer edge.
    const qreal ratio = layers.fill.devicePixelRatio();
    const QSize piece = layers.fill.deviceIndependentSize().toSize();
    for (int y = target.top(); y <= target.bottom(); y += piece.height()) {
        for (int x = target.left(); x <= target.right(); x += piece.width()) {
            const QRect area = QRect(QPoint(x, y), piece).intersected(target);
            if (!exposed.intersects(area))
                continue;
            const QRect source(QPoint(0, 0), (QSizeF(area.size()) * ratio).toSize());
            painter.drawImage(area.topLeft(), layers.fill, source);
            painter.drawImage(area.topLeft(), layers.edge, source);
        }
    }
}

void RoundedPanel::paint(QPainter& painter, const Look& look, const QRegion& exposed)
{
    prepare(look);
    const int width = look.size.width();
    const int height = look.size.height();
    const int corner = m_corner;
    const int band = m_band;
    // Pictures map onto whole device pixels only at whole-number ratios.
    if (look.ratio != qFloor(look.ratio) || width <= 2 * corner || height <= 2 * corner) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        paintPath(painter, look);
        painter.restore();
        return;
    }
    const QRect middle[3] = {{corner, band, width - 2 * corner, height - 2 * band},
                             {band, corner, corner - band, height - 2 * corner},
                             {width - corner, corner, corner - band, height - 2 * corner}};
    for (const QRect& part : middle) {
        for (const QRect& area : exposed& part)
            paintInBands(area, [&](const QRect& band) { painter.fillRect(band, look.fill); });
    }
    const QRect corners[4] = {{0, 0, corner, corner},
                              {width - corner, 0, corner, corner},
                              {0, height - corner, corner, corner},
                              {width - corner, height - corner, corner, corner}};
    for (int i = 0; i < 4; ++i)
        draw(painter, corners[i], m_corners[i], exposed);
    draw(painter, {corner, 0, width - 2 * corner, band}, m_horizontalStrips[0], exposed);
    draw(painter, {corner, height - band, width - 2 * corner, band}, m_horizontalStrips[1],
         exposed);
    draw(painter, {0, corner, band, height - 2 * corner}, m_verticalStrips[0], exposed);
    draw(painter, {width - band, corner, band, height - 2 * corner}, m_verticalStrips[1], exposed);
}

} // namespace Tempolane
