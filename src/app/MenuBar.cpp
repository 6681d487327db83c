#include "MenuBar.h"

#include "MainWindow.h"

#include <QApplication>
#include <QMenuBar>

namespace Tempolane {

void installMenus(MainWindow& window)
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
}

} // namespace Tempolane
