#include "Divider.h"

#include <QAccessibleWidget>
#include <QFrame>

namespace Tempolane {

namespace {

// A line reads as a separator, which a screen reader passes over, not as a nameless frame.
QAccessibleInterface* lineAccessible(const QString& className, QObject* object)
{
    auto* frame = qobject_cast<QFrame*>(object);
    if (className != QLatin1String("QFrame") || !frame ||
        (frame->frameShape() != QFrame::HLine && frame->frameShape() != QFrame::VLine))
        return nullptr;
    return new QAccessibleWidget(frame, QAccessible::Separator);
}

} // namespace

QFrame* newDivider()
{
    static const bool installed = [] {
        QAccessible::installFactory(lineAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setObjectName(QStringLiteral("divider"));
    // The spacing around it is measured for a hairline, not for a frame's three pixels.
    line->setFixedHeight(1);
    return line;
}

} // namespace Tempolane
