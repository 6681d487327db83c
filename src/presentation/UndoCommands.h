#pragma once

#include "CronStore.h"

#include <QString>

// What "Bearbeiten → Rückgängig" and "Wiederholen" show and allow, decided from the store.
namespace Tempolane::UndoCommands {

struct CommandState
{
    QString text;
    bool isEnabled = false;
    // Why the command is unavailable, where the reason is worth telling.
    QString toolTip;

    friend bool operator==(const CommandState&, const CommandState&) = default;
};

// "Pausieren von „daily-report.sh“", "Änderungen an „Backup“", "Wiederherstellen einer Sicherung".
QString changeName(const SavedChange& change);

// The last change while it stands, offered only while the crontab holds what it wrote.
CommandState undo(const CronStore& store);
// The last change after it was taken back, under the same condition.
CommandState redo(const CronStore& store);

} // namespace Tempolane::UndoCommands
