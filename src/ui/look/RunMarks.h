#pragma once

#include "RunShape.h"
#include "Tint.h"

#include <QHash>
#include <QPalette>
#include <QPixmap>
#include <QRectF>
#include <array>

class QPainter;

namespace Tempolane::RunMarks {

// The colour of an outcome: its state's colour wherever a state is shown.
Tint tintOf(RunShape shape);

// The sign of an outcome, centred on a point: a ring for a planned run, a disc for one that
// succeeded, a diamond for a failure, a triangle for an interrupted run, an arrow for one
// still running and an open square for a run that left no record. Shape tells the outcome
// where colour cannot.
void drawSign(QPainter& painter, const QPointF& centre, qreal side, RunShape shape,
              const QPalette& palette);

// The signs drawn once each into pixmaps, for pictures that show many of them.
class SignPixmaps
{
public:
    const QPixmap& of(RunShape shape, qreal side, qreal ratio, const QPalette& palette);
    // After a change of font, palette or screen.
    void clear() { m_pixmaps.clear(); }

private:
    QHash<int, QPixmap> m_pixmaps;
};

// The colours of the outcomes in one palette, worked out once for a picture of many runs.
class Colors
{
public:
    explicit Colors(const QPalette& palette);

    const QColor& of(RunShape shape) const { return m_solid[std::size_t(shape)]; }
    const QColor& washOf(RunShape shape) const { return m_wash[std::size_t(shape)]; }
    QColor plannedFill;
    QColor plannedEdge;

private:
    std::array<QColor, 6> m_solid;
    std::array<QColor, 6> m_wash;
};

// The bar of a run or a band of runs across its time on a timeline lane; its sign goes at its
// start.
void drawLaneBar(QPainter& painter, const QRectF& track, qreal startX, qreal endX, RunShape shape,
                 bool isBand, const Colors& colors);

// A run as a bar of the run chart, rising from the bottom of `bar`; a run still going is
// hatched. The sign of a failure goes on top of it.
void drawChartBar(QPainter& painter, const QRectF& bar, RunShape shape, const Colors& colors);

// A dashed line across `line` (one pixel high): dashes tell it from the bars beside it.
void drawDashedLine(QPainter& painter, const QRectF& line, const QColor& color);

} // namespace Tempolane::RunMarks
