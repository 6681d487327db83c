#include "WheelOnlyWithFocus.h"

#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QScrollBar>

namespace Tempolane {

namespace {

// Hands a wheel over a control without the keyboard to the page the control scrolls in.
class UnfocusedWheelFilter final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* control = static_cast<QWidget*>(watched);
        if (event->type() != QEvent::Wheel || control->hasFocus())
            return false;
        for (QWidget* parent = control->parentWidget(); parent; parent = parent->parentWidget()) {
            if (auto* page = qobject_cast<QAbstractScrollArea*>(parent)) {
                QCoreApplication::sendEvent(page->viewport(), event);
                return true;
            }
        }
        event->ignore();
        return true;
    }
};

bool turnsByWheel(const QWidget* widget)
{
    return qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) ||
           (qobject_cast<const QAbstractSlider*>(widget) &&
            !qobject_cast<const QScrollBar*>(widget));
}

} // namespace

void takeWheelOnlyWithFocus(QWidget* root)
{
    auto* filter = new UnfocusedWheelFilter(root);
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (!turnsByWheel(widget))
            continue;
        // The wheel must not hand them the keyboard either.
        if (widget->focusPolicy() == Qt::WheelFocus)
            widget->setFocusPolicy(Qt::StrongFocus);
        widget->installEventFilter(filter);
    }
}

} // namespace Tempolane
