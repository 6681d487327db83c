#include "RunMarks.h"

#include "Palette.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace Tempolane::RunMarks {

namespace {

// The bar of a mark is this share of the track's height, the sign a little taller.
constexpr qreal barShare = 0.38;
constexpr qreal bandShare = 0.56;

QPainterPath signPath(const QPointF& centre, qreal side, RunShape shape)
{
    const qreal half = side / 2;
    QPainterPath path;
    switch (shape) {
    case RunShape::planned:
    case RunShape::succeeded:
        path.addEllipse(centre, half, half);
        break;
    case RunShape::failed:
        path.moveTo(centre.x(), centre.y() - half);
        path.lineTo(centre.x() + half, centre.y());
        path.lineTo(centre.x(), centre.y() + half);
        path.lineTo(centre.x() - half, centre.y());
        path.closeSubpath();
        break;
    case RunShape::interrupted:
        path.moveTo(centre.x(), centre.y() - half);
        path.lineTo(centre.x() + half, centre.y() + half * 0.8);
        path.lineTo(centre.x() - half, centre.y() + half * 0.8);
        path.closeSubpath();
        break;
    case RunShape::running:
        path.moveTo(centre.x() - half * 0.7, centre.y() - half);
        path.lineTo(centre.x() + half, centre.y());
        path.lineTo(centre.x() - half * 0.7, centre.y() + half);
        path.closeSubpath();
        break;
    case RunShape::missed:
        path.addRect(
            QRectF(centre.x() - half * 0.8, centre.y() - half * 0.8, half * 1.6, half * 1.6));
        break;
    }
    return path;
}

bool isOpen(RunShape shape)
{
    return shape == RunShape::planned || shape == RunShape::missed;
}

} // namespace

Tint tintOf(RunShape shape)
{
    switch (shape) {
    case RunShape::planned:
        return Tint::indigo;
    case RunShape::succeeded:
        return Tint::green;
    case RunShape::failed:
        return Tint::red;
    case RunShape::interrupted:
    case RunShape::missed:
        return Tint::orange;
    case RunShape::running:
        return Tint::cyan;
    }
    Q_UNREACHABLE();
}

void drawSign(QPainter& painter, const QPointF& centre, qreal side, RunShape shape,
              const QPalette& palette)
{
    const QColor color = Palette::color(tintOf(shape), palette);
    const QPainterPath path = signPath(centre, side, shape);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (isOpen(shape)) {
        // The window shows through an open sign, so it reads on any bar beneath.
        painter.fillPath(path, palette.color(QPalette::Base));
        painter.strokePath(path, QPen(color, std::max<qreal>(1.5, side / 6)));
    } else {
        painter.fillPath(path, color);
        painter.strokePath(path, QPen(palette.color(QPalette::Base), 1));
    }
    painter.restore();
}

const QPixmap& SignPixmaps::of(RunShape shape, qreal side, qreal ratio, const QPalette& palette)
{
    auto found = m_pixmaps.find(int(shape));
    if (found == m_pixmaps.end()) {
        // A pixel of room around the sign for its antialiased edge.
        const qreal outer = side + 2;
        const int pixels = int(std::ceil(outer * ratio));
        QPixmap pixmap(pixels, pixels);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        drawSign(painter, QPointF(outer / 2, outer / 2), side, shape, palette);
        painter.end();
        found = m_pixmaps.insert(int(shape), pixmap);
    }
    return *found;
}

Colors::Colors(const QPalette& palette)
    : plannedFill(Palette::role(Role::plannedFill, palette)),
      plannedEdge(Palette::role(Role::plannedEdge, palette))
{
    for (std::size_t shape = 0; shape < m_solid.size(); ++shape) {
        m_solid[shape] = Palette::color(tintOf(RunShape(shape)), palette);
        m_wash[shape] = Palette::wash(tintOf(RunShape(shape)), palette);
    }
}

void drawLaneBar(QPainter& painter, const QRectF& track, qreal startX, qreal endX, RunShape shape,
                 bool isBand, const Colors& colors)
{
    const qreal height = track.height() * (isBand ? bandShare : barShare);
    const QRectF bar(startX, track.center().y() - height / 2, std::max<qreal>(0, endX - startX),
                     height);
    if (bar.width() < 1)
        return;
    if (shape == RunShape::planned) {
        painter.fillRect(bar, colors.plannedFill);
        painter.fillRect(QRectF(bar.left(), bar.top(), bar.width(), 1), colors.plannedEdge);
        painter.fillRect(QRectF(bar.left(), bar.bottom() - 1, bar.width(), 1), colors.plannedEdge);
    } else if (isBand || shape == RunShape::missed) {
        painter.fillRect(bar, colors.washOf(shape));
        painter.fillRect(QRectF(bar.left(), bar.bottom() - 2, bar.width(), 2), colors.of(shape));
    } else {
        painter.fillRect(bar, colors.of(shape));
    }
}

void drawChartBar(QPainter& painter, const QRectF& bar, RunShape shape, const Colors& colors)
{
    if (shape == RunShape::running)
        painter.fillRect(bar, QBrush(colors.of(shape), Qt::BDiagPattern));
    else if (bar.height() > 0)
        painter.fillRect(bar, colors.of(shape));
}

void drawDashedLine(QPainter& painter, const QRectF& line, const QColor& color)
{
    // Dashes as plain fills: a dashed pen costs more than all the bars of a chart.
    constexpr qreal dash = 4;
    constexpr qreal gap = 3;
    for (qreal x = line.left(); x < line.right(); x += dash + gap)
        painter.fillRect(QRectF(x, line.top(), std::min(dash, line.right() - x), line.height()),
                         color);
}

} // namespace Tempolane::RunMarks
