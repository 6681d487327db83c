#pragma once

#include <QColor>
#include <QPointF>

class QPainter;

namespace Tempolane {

// The ">" of a part that unfolds, `side` pixels high around `centre`, turned a quarter
// clockwise while unfolded.
void paintDisclosureChevron(QPainter& painter, QPointF centre, qreal side, bool isExpanded,
                            const QColor& colour);

} // namespace Tempolane
