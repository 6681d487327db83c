#include "FocusRing.h"

#include "Palette.h"

#include <QPainter>
#include <QWidget>

namespace Tempolane {

namespace {

constexpr qreal ringWidth = 1.5;

} // namespace

void paintFocusRing(QPainter& painter, const QWidget& widget, const QRectF& area, double radius)
{
    if (!widget.hasFocus() || !widget.window()->testAttribute(Qt::WA_KeyboardFocusChange))
        return;
    const QColor ring = Palette::role(Role::focusRing, widget.palette());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ring, ringWidth));
    painter.drawRoundedRect(area, radius, radius);
    painter.restore();
}

} // namespace Tempolane
