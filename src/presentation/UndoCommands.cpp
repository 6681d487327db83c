#include "UndoCommands.h"

#include "TextContext.h"

#include <QCoreApplication>

TEMPOLANE_TEXT_CONTEXT(UndoCommands)

namespace Tempolane::UndoCommands {

namespace {

// The command for the last change when it is in the state the command works from.
CommandState command(const CronStore& store, const QString& verb, bool isUndone)
{
    const auto& change = store.lastChange();
    if (!change || change->isUndone != isUndone)
        return {verb, false, {}};
    const QString text = tr("%1: %2").arg(verb, changeName(*change));
    if (!store.isLastChangeInPlace())
        return {text, false, tr("Die crontab wurde seitdem geändert.")};
    return {text, !store.isSaving(), {}};
}

} // namespace

QString changeName(const SavedChange& change)
{
    switch (change.kind) {
    case SavedChange::Kind::create:
        return tr("Anlegen von „%1“").arg(change.jobName);
    case SavedChange::Kind::edit:
        return tr("Änderungen an „%1“").arg(change.jobName);
    case SavedChange::Kind::pause:
        return tr("Pausieren von „%1“").arg(change.jobName);
    case SavedChange::Kind::resume:
        return tr("Fortsetzen von „%1“").arg(change.jobName);
    case SavedChange::Kind::remove:
        return tr("Löschen von „%1“").arg(change.jobName);
    case SavedChange::Kind::enableMonitoring:
        return tr("Aktivieren des Ausführungsstatus");
    case SavedChange::Kind::restore:
        return tr("Wiederherstellen einer Sicherung");
    case SavedChange::Kind::fix:
        return change.description;
    }
    Q_UNREACHABLE();
}

CommandState undo(const CronStore& store)
{
    return command(store, tr("Rückgängig"), false);
}

CommandState redo(const CronStore& store)
{
    return command(store, tr("Wiederholen"), true);
}

} // namespace Tempolane::UndoCommands
