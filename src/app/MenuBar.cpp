#include "MenuBar.h"

#include "AboutWindow.h"
#include "MainWindow.h"
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
    file->addSeparator();
    QAction* quit = file->addAction(MainWindow::tr("Beenden"), qApp, &QApplication::quit);
    quit->setObjectName(QStringLiteral("quitAction"));
    quit->setShortcuts(QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);
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
        if (!*aboutWindow) {
            *aboutWindow = new AboutWindow(updates, updates.installedVersion(),
                                           AboutWindow::installedNoticesPath(), &window);
            (*aboutWindow)->setAttribute(Qt::WA_DeleteOnClose);
        }
        (*aboutWindow)->show();
        (*aboutWindow)->raise();
        (*aboutWindow)->activateWindow();
    });
}

} // namespace

void installMenus(MainWindow& window, UpdateController& updates)
{
    installFileMenu(window);
    installHelpMenu(window, updates);
}

} // namespace Tempolane
