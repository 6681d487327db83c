#pragma once

#include <QAction>
#include <QApplication>
#include <QListView>

namespace Tempolane::Testing {

// Chooses an entry of a list row's context menu, as a right click and a choice would; gives
// the entry's text, or nothing when the menu does not hold it.
inline QString chooseFromContextMenu(QListView* list, int row, const char* actionName)
{
    Q_EMIT list->customContextMenuRequested(
        list->visualRect(list->model()->index(row, 0)).center());
    QWidget* menu = QApplication::activePopupWidget();
    auto* action = menu ? menu->findChild<QAction*>(QString::fromLatin1(actionName)) : nullptr;
    if (!action)
        return {};
    const QString text = action->text();
    action->trigger();
    menu->close();
    return text;
}

} // namespace Tempolane::Testing
