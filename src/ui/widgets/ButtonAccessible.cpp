#include "ButtonAccessible.h"

#include "DisclosureButton.h"
#include "SegmentedPicker.h"

#include <QToolButton>

namespace Tempolane {

namespace {

QAccessibleInterface* buttonAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String(DisclosureButton::staticMetaObject.className()))
        return new ButtonAccessible(static_cast<DisclosureButton*>(object),
                                    ButtonAccessible::Kind::disclosure);
    auto* segment = qobject_cast<QToolButton*>(object);
    if (className == QLatin1String("QToolButton") && segment &&
        qobject_cast<SegmentedPicker*>(segment->parent()))
        return new ButtonAccessible(segment, ButtonAccessible::Kind::radioButton);
    return nullptr;
}

} // namespace

ButtonAccessible::ButtonAccessible(QAbstractButton* button, Kind kind)
    : QAccessibleWidget(button,
                        kind == Kind::radioButton ? QAccessible::RadioButton : QAccessible::Button),
      m_kind(kind)
{
}

void ButtonAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(buttonAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

QAbstractButton* ButtonAccessible::button() const
{
    return static_cast<QAbstractButton*>(widget());
}

QString ButtonAccessible::text(QAccessible::Text kind) const
{
    // Named by its own title unless it was given a name.
    if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
        return button()->text();
    return QAccessibleWidget::text(kind);
}

QAccessible::State ButtonAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.pressed = button()->isDown();
    if (m_kind == Kind::radioButton) {
        state.checkable = true;
        state.checked = button()->isChecked();
    } else {
        state.expandable = true;
        state.expanded = button()->isChecked();
        state.collapsed = !button()->isChecked();
    }
    return state;
}

QStringList ButtonAccessible::actionNames() const
{
    QStringList names;
    if (widget()->isEnabled())
        names << toggleAction();
    return names + QAccessibleWidget::actionNames();
}

void ButtonAccessible::doAction(const QString& name)
{
    if (name != toggleAction())
        return QAccessibleWidget::doAction(name);
    // A chosen segment stays chosen: the button refuses to uncheck itself.
    if (widget()->isEnabled())
        button()->click();
}

} // namespace Tempolane
