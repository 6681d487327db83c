#pragma once

class QAction;

namespace Tempolane {

class MainWindow;

// "Benachrichtigungen bei Fehlern": a checkable item that switches the background watcher's
// autostart entry and the watcher itself on or off. Switching monitoring on for all jobs through
// the suggestion offers it once.
QAction* makeNotificationsAction(MainWindow& window);

} // namespace Tempolane
