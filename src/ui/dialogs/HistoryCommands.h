#pragma once

class QAction;
class QWidget;

namespace Tempolane {

class CronStore;

// The window's way back: "Rückgängig" and "Wiederholen" of the last change, named, enabled and
// explained as the store's state says, and "Sicherungen …", which opens one backups dialog.
struct HistoryCommands
{
    QAction* undo;
    QAction* redo;
    QAction* backups;
};

HistoryCommands makeHistoryCommands(CronStore& store, QWidget* window);

} // namespace Tempolane
