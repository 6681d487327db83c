#include "HistoryCommands.h"

#include "BackupsDialog.h"
#include "CronStore.h"
#include "SingleWindow.h"
#include "SymbolIcon.h"
#include "TextContext.h"
#include "UndoCommands.h"

#include <QAction>
#include <QCoreApplication>
#include <QPointer>

TEMPOLANE_TEXT_CONTEXT(HistoryCommands)

namespace Tempolane {

namespace {

using StateOf = UndoCommands::CommandState (*)(const CronStore&);

QAction* makeChangeAction(CronStore& store, QWidget* window, const char* objectName,
                          QKeySequence::StandardKey keys, StateOf stateOf,
                          QCoro::Task<bool> (CronStore::*operation)())
{
    auto* action = new QAction(window);
    action->setObjectName(QString::fromLatin1(objectName));
    action->setShortcuts(keys);
    const auto show = [action, &store, stateOf] {
        const auto state = stateOf(store);
        action->setText(state.text);
        action->setEnabled(state.isEnabled);
        action->setToolTip(state.toolTip);
    };
    show();
    for (const auto signal : {&CronStore::lastChangeChanged, &CronStore::isLastChangeInPlaceChanged,
                              &CronStore::isSavingChanged})
        QObject::connect(&store, signal, action, show);
    QObject::connect(action, &QAction::triggered, window,
                     [&store, operation] { (store.*operation)(); });
    return action;
}

QAction* makeBackupsAction(CronStore& store, QWidget* window)
{
    auto* action = new QAction(symbolIcon(Symbol::history), tr("Sicherungen …"), window);
    action->setObjectName(QStringLiteral("backupsAction"));
    // One dialog at a time: choosing the item again brings it to the front.
    auto dialog = std::make_shared<QPointer<BackupsDialog>>();
    QObject::connect(action, &QAction::triggered, window, [&store, window, dialog] {
        showSingleWindow<BackupsDialog>(*dialog, [&] {
            auto* made = new BackupsDialog(store, window);
            made->open();
            return made;
        });
    });
    return action;
}

} // namespace

HistoryCommands makeHistoryCommands(CronStore& store, QWidget* window)
{
    return {makeChangeAction(store, window, "undoAction", QKeySequence::Undo, UndoCommands::undo,
                             &CronStore::undoLastChange),
            makeChangeAction(store, window, "redoAction", QKeySequence::Redo, UndoCommands::redo,
                             &CronStore::redoLastChange),
            makeBackupsAction(store, window)};
}

} // namespace Tempolane
