#include "BackgroundWatcher.h"

#include "BusNames.h"
#include "JobWatcher.h"
#include "NotificationSender.h"
#include "NotificationSwitch.h"
#include "SessionBus.h"
#include "TempolaneApp.h"
#include "WindowOpener.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

namespace Tempolane {

QString BackgroundWatcher::noBusMessage()
{
    return tr("Tempolane-Benachrichtigungen: keine D-Bus-Sitzung erreichbar; beim nächsten "
              "Anmelden wird es erneut versucht.");
}

QString BackgroundWatcher::noServiceMessage()
{
    return tr("Tempolane-Benachrichtigungen: kein Benachrichtigungsdienst "
              "(org.freedesktop.Notifications) in dieser Sitzung; beim nächsten Anmelden wird es "
              "erneut versucht.");
}

void BackgroundWatcher::openJobsOnRequest(NotificationSender& sender, WindowOpener& opener)
{
    // Once the window has the job, its notification has done its work.
    QObject::connect(&sender, &NotificationSender::showRequested, &opener,
                     [&sender, &opener](uint notificationId, QUuid jobId) {
                         opener.open(jobId,
                                     [&sender, notificationId] { sender.close(notificationId); });
                     });
}

void BackgroundWatcher::replaceProcess()
{
    // Before any QCoreApplication exists, the kernel names this program.
    const QFileInfo self(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")));
    const QByteArray watcher =
        QFile::encodeName(self.dir().filePath(QStringLiteral("tempolane-watcher")));
    char* const arguments[] = {const_cast<char*>(watcher.constData()), nullptr};
    ::execv(watcher.constData(), arguments);
}

int BackgroundWatcher::run(QTextStream& err)
{
    QDBusConnection bus = SessionBus::connection();
    if (!bus.isConnected()) {
        err << noBusMessage() << Qt::endl;
        return 1;
    }
    if (!NotificationSender::hasService(bus)) {
        err << noServiceMessage() << Qt::endl;
        return 1;
    }
    if (!bus.registerService(BusNames::watcher()))
        return 0;
    BackgroundWatcher control;
    bus.registerObject(BusNames::watcherPath(), &control, QDBusConnection::ExportScriptableSlots);

    TempolaneApp tempolane;
    NotificationSender sender(bus);
    JobWatcher watcher(tempolane.store(), tempolane.locations(), sender);
    WindowOpener opener(bus, NotificationSwitch::desktopProgram());
    openJobsOnRequest(sender, opener);
    // What the service refused while it was gone is told when it comes back.
    QDBusServiceWatcher service(NotificationSender::serviceName(), bus,
                                QDBusServiceWatcher::WatchForRegistration);
    QObject::connect(&service, &QDBusServiceWatcher::serviceRegistered, &watcher,
                     &JobWatcher::scheduleCheck);
    watcher.start();
    const int status = QCoreApplication::exec();
    bus.unregisterService(BusNames::watcher());
    return status;
}

void BackgroundWatcher::Quit()
{
    QCoreApplication::quit();
}

} // namespace Tempolane
