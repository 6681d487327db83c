#include "DesktopWindow.h"

#include "MenuBar.h"
#include "SettingsLock.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTextStream>
#include <QTimer>
#include <memory>
#include <utility>

namespace Tempolane {

std::unique_ptr<MainWindow> makeDesktopWindow(CronStore& store, UpdateController& updates)
{
    auto window = std::make_unique<MainWindow>(store);
    installMenus(*window, updates);
    return window;
}

std::unique_ptr<MainWindow> openDesktopWindow(CronStore& store, UpdateController& updates,
                                              QSettings* layout,
                                              std::chrono::milliseconds longestWait)
{
    store.load();
    auto window = makeDesktopWindow(store, updates);
    if (layout) {
        window->restoreLayout(*layout);
        // Closing the window quits the program too, so this covers both ways out. Settings that
        // cannot be written stay unsaved rather than keep the program from ending.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, window.get(),
                         [kept = window.get(), layout] {
                             if (const auto why = SettingsLock::whyUnwritable(*layout)) {
                                 QTextStream(stderr) << *why << Qt::endl;
                                 return;
                             }
                             kept->saveLayout(*layout);
                         });
    }
    if (!store.isLoading()) {
        window->show();
        return window;
    }
    // Whichever comes first: the jobs, a failed read (loading ends without them), or the wait.
    MainWindow* shown = window.get();
    const auto isShown = std::make_shared<bool>(false);
    const auto showOnce = [shown, isShown] {
        if (!std::exchange(*isShown, true))
            shown->show();
    };
    for (const auto signal : {&CronStore::hasLoadedChanged, &CronStore::isLoadingChanged})
        QObject::connect(&store, signal, shown, showOnce, Qt::SingleShotConnection);
    QTimer::singleShot(longestWait, shown, showOnce);
    return window;
}

} // namespace Tempolane
