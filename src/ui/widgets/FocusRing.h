#pragma once

class QPainter;
class QRectF;
class QWidget;

namespace Tempolane {

// The ring our own painted controls draw around themselves while they have the focus, and only
// when the focus came from the keyboard, as the platform's controls do.
void paintFocusRing(QPainter& painter, const QWidget& widget, const QRectF& area, double radius);

} // namespace Tempolane
