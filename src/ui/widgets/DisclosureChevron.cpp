#include "DisclosureChevron.h"

#include <QPainter>
#include <QPainterPath>

namespace Tempolane {

void paintDisclosureChevron(QPainter& painter, QPointF centre, qreal side, bool isExpanded,
                            const QColor& colour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(centre);
    if (isExpanded)
        painter.rotate(90);
    const qreal half = side / 2.0;
    QPainterPath chevron;
    chevron.moveTo(-half / 2, -half);
    chevron.lineTo(half / 2, 0);
    chevron.lineTo(-half / 2, half);
    painter.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(chevron);
    painter.restore();
}

} // namespace Tempolane
