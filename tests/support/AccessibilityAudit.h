#pragma once

#include <QAccessible>
#include <QStringList>
#include <QWidget>

namespace Tempolane::Testing {

// The focusable widgets under root, shown with it, that a screen reader could not name:
// neither an accessible name nor a text of their own. Each is listed by class and object name.
inline QStringList unnamedFocusableWidgets(QWidget* root)
{
    QStringList unnamed;
    const QList<QWidget*> widgets = root->findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        if (widget->focusPolicy() == Qt::NoFocus || !widget->isVisibleTo(root))
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        if (accessible && !accessible->text(QAccessible::Name).trimmed().isEmpty())
            continue;
        unnamed << QStringLiteral("%1 \"%2\"")
                       .arg(QString::fromLatin1(widget->metaObject()->className()),
                            widget->objectName());
    }
    return unnamed;
}

} // namespace Tempolane::Testing
