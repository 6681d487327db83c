#include "TimeField.h"

#include "TextStyle.h"

#include <QLineEdit>
#include <QMouseEvent>

namespace Tempolane {

TimeField::TimeField(QWidget* parent) : QTimeEdit(parent)
{
    lineEdit()->installEventFilter(this);
    // 09:00 stays 09:00 in a right-to-left layout, where the digits would swap places.
    keepLeftToRight(lineEdit());
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
