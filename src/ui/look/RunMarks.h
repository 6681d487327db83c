#pragma once

#include "RunShape.h"
#include "Tint.h"

#include <QHash>
#include <QPalette>
#include <QPixmap>
#include <QRectF>

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

// The bar of a run or a band of runs across its time on a timeline lane; its sign goes at its
// start.
void drawLaneBar(QPainter& painter, const QRectF& track, qreal startX, qreal endX, RunShape shape,
                 bool isBand, const QPalette& palette);

// A run as a bar of the run chart, rising from the bottom of `bar`; the sign of a failure
// stands on top of it, and a run still going is hatched.
void drawChartBar(QPainter& painter, const QRectF& bar, RunShape shape, qreal signSide,
                  const QPalette& palette);

} // namespace Tempolane::RunMarks
