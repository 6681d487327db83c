#include "MenuBar.h"

#include "AboutWindow.h"
#include "CronStore.h"
#include "MainWindow.h"
#include "NotificationMenu.h"
#include "SingleWindow.h"
#include "UpdateCommands.h"
#include "UpdateController.h"

#include <QApplication>
#include <QMenuBar>
#include <QPointer>

namespace Tempolane {

namespace {

void installFileMenu(MainWindow& window)
{
    const auto& commands = window.commands();
    QMenu* file = window.menuBar()->addMenu(MainWindow::tr("&Datei"));
    file->setObjectName(QStringLiteral("fileMenu"));
    file->addAction(commands.newJob);
    file->addAction(commands.duplicate);
    file->addSeparator();
    file->addAction(commands.reload);
    file->addAction(commands.backups);
    addNotificationsAction(*file, window);
    file->addSeparator();
    // Closing asks first where the editor holds unsaved changes; quitting outright would not.
    QAction* quit =
        file->addAction(MainWindow::tr("Beenden"), qApp, &QApplication::closeAllWindows);
    quit->setObjectName(QStringLiteral("quitAction"));
    quit->setShortcuts(QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);
}

void installEditMenu(MainWindow& window)
{
    const auto& commands = window.commands();
    QMenu* edit = window.menuBar()->addMenu(MainWindow::tr("&Bearbeiten"));
    edit->setObjectName(QStringLiteral("editMenu"));
    // A disabled item says why: the crontab changed since the window wrote it.
    edit->setToolTipsVisible(true);
    edit->addAction(commands.undo);
    edit->addAction(commands.redo);
    // Whether the crontab still holds what the window wrote is read afresh; the items follow
    // as soon as the answer is there, and the periodic refresh keeps them current meanwhile.
    QObject::connect(edit, &QMenu::aboutToShow, &window,
                     [&window] { window.store().checkLastChange(); });
}

void installHelpMenu(MainWindow& window, UpdateController& updates)
{
    QMenu* help = window.menuBar()->addMenu(MainWindow::tr("&Hilfe"));
    help->setObjectName(QStringLiteral("helpMenu"));
    help->addAction(makeCheckForUpdatesAction(updates, &window));

    QAction* about = help->addAction(MainWindow::tr("Über Tempolane"));
    about->setObjectName(QStringLiteral("aboutAction"));
    about->setMenuRole(QAction::AboutRole);
    // One About window at a time: choosing the item again brings it to the front.
    auto aboutWindow = std::make_shared<QPointer<AboutWindow>>();
    QObject::connect(about, &QAction::triggered, &window, [&window, &updates, aboutWindow] {
        showSingleWindow<AboutWindow>(*aboutWindow, [&] {
            auto* made = new AboutWindow(updates, updates.installedVersion(),
                                         AboutWindow::installedNoticesPath(), &window);
            made->setAttribute(Qt::WA_DeleteOnClose);
            return made;
        });
    });
}

} // namespace

void installMenus(MainWindow& window, UpdateController& updates)
{
    installFileMenu(window);
    installEditMenu(window);
    installHelpMenu(window, updates);
}

} // namespace Tempolane
