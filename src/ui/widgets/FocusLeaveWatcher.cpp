#include "FocusLeaveWatcher.h"

#include <QFocusEvent>
#include <QWidget>

namespace Tempolane {

FocusLeaveWatcher::FocusLeaveWatcher(QWidget* field) : QObject(field)
{
    field->installEventFilter(this);
}

bool FocusLeaveWatcher::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            Q_EMIT left();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace Tempolane
