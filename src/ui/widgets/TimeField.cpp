#include "TimeField.h"

#include <QLineEdit>
#include <QMouseEvent>

namespace Tempolane {

TimeField::TimeField(QWidget* parent) : QTimeEdit(parent)
{
    lineEdit()->installEventFilter(this);
}

bool TimeField::eventFilter(QObject* watched, QEvent* event)
{
    const bool result = QTimeEdit::eventFilter(watched, event);
    // A drag keeps what it selected; a plain click picks the part it landed in.
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        !lineEdit()->hasSelectedText())
        setSelectedSection(currentSection());
    return result;
}

} // namespace Tempolane
