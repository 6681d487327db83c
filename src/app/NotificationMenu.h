#pragma once

class QAction;
class QMenu;

namespace Tempolane {

class MainWindow;

// "Benachrichtigungen bei Fehlern": a checkable item of `menu` that switches the background
// watcher's autostart entry and the watcher itself on or off, and shows the entry's state each
// time the menu opens. Switching monitoring on for all jobs through the suggestion offers it
// once.
QAction* addNotificationsAction(QMenu& menu, MainWindow& window);

} // namespace Tempolane
