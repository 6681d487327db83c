#pragma once

#include <QObject>
#include <QTextStream>

namespace Tempolane {

class NotificationSender;
class WindowOpener;

// `tempolane --background`: the watcher as a process of its own, without a window. It owns
// the watcher's name on the session bus, so one runs per session, and ends when asked (Quit).
class BackgroundWatcher final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "io.github.tempolane.Tempolane.Watcher")

public:
    // Runs until asked to quit, in the running QCoreApplication. Without a session bus or a
    // notification service it says so once on `err` and gives 1; where a watcher runs already,
    // it gives 0 at once.
    static int run(QTextStream& err);

    // Becomes the watcher's own program beside this one, which loads Qt's core and D-Bus only;
    // returns only where there is none or it cannot be started.
    static void replaceProcess();

    // "Anzeigen" on a notification opens its job, and takes the notification off the screen once
    // the window has the job.
    static void openJobsOnRequest(NotificationSender& sender, WindowOpener& opener);

    static QString noBusMessage();
    static QString noServiceMessage();

public Q_SLOTS:
    Q_SCRIPTABLE void Quit();
};

} // namespace Tempolane
