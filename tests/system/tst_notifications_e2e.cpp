// Notifications end to end: the real cron daemon runs a failing monitored job of the throwaway
// user while `tempolane --background` watches, on a session bus of the test's own with a stand-in
// notification service; choosing "Anzeigen" selects the job in the window.
#include "CronDocument.h"
#include "DataLocations.h"
#include "ExecutionService.h"
#include "MainWindow.h"
#include "NotificationStandIn.h"
#include "PrivateSessionBus.h"
#include "TempolaneApp.h"
#include "TestUserCrontab.h"
#include "WindowService.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <qcoro/qcorotask.h>

using namespace Tempolane;
using namespace Tempolane::Testing;

namespace {

const DataLocations locations = DataLocations::forCurrentUser();

} // namespace

class NotificationsEndToEndTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanupTestCase() { (void)installCrontab(QString()); }

    void failedCronRun_isNotified_andAnzeigenSelectsTheJob()
    {
        PrivateSessionBus bus;
        if (!bus.isValid())
            QSKIP("dbus-daemon is not installed (scripts/install-deps)");
        NotificationStandIn service(bus.connect(QStringLiteral("service")));
        QVERIFY(service.registerOnBus());

        const CronJob job =
            everyMinuteJob(QStringLiteral("Kaputt"),
                           QStringLiteral("echo starting; echo 'Platte voll' >&2; exit 4"),
                           ExecutionLogPolicy::errorsOnly);
        ExecutionService execution(locations.executions, locations.runner);
        const auto installed = QCoro::waitFor(execution.installRunner());
        QVERIFY2(installed, qPrintable(installed ? QString() : installed.error().description()));
        waitUntilClearOfCronsMinuteScan();
        const auto refused = installCrontab(crontabText({CronDocument::Node::job(job)}));
        QVERIFY2(!refused, qPrintable(refused.value_or(QString())));
        QCoro::waitFor(execution.prepareMonitoring({job.id}));

        // The window of this session, offscreen, answering on the private bus.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("TEMPOLANE_DEMO"));
        TempolaneApp app(environment);
        MainWindow window(app.store());
        WindowService windowService(app.store());
        QVERIFY(windowService.registerOn(bus.connect(QStringLiteral("window"))));
        windowService.setWindow(&window);
        window.show();
        QTRY_VERIFY(app.store().hasLoaded());

        QProcess watcher;
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
        watcher.setProcessEnvironment(environment);
        watcher.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        watcher.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tempolane"),
                      {QStringLiteral("--background")});
        QVERIFY(watcher.waitForStarted(10000));
        const auto stop = qScopeGuard([&watcher] {
            watcher.terminate();
            watcher.waitForFinished(10000);
        });

        QTRY_VERIFY_WITH_TIMEOUT(
            !service.shown.isEmpty() || watcher.state() == QProcess::NotRunning, 150000);
        QVERIFY2(!service.shown.isEmpty(),
                 qPrintable(QStringLiteral("the watcher ended with %1").arg(watcher.exitCode())));
        const NotificationStandIn::Shown notification = service.shown.first();
        QCOMPARE(notification.summary, QStringLiteral("„Kaputt“ ist fehlgeschlagen"));
        QCOMPARE(notification.body, QStringLiteral("Exit-Status 4\nPlatte voll"));
        QCOMPARE(notification.hints.value(QStringLiteral("urgency")).toInt(), 2);

        // The record was written when the run ended: its file's time, to the millisecond.
        const auto history = QCoro::waitFor(execution.history(job.id));
        QVERIFY(!history.isEmpty());
        const QFileInfo record(QDir(locations.executions)
                                   .filePath(job.id.toString(QUuid::WithoutBraces) +
                                             QStringLiteral("/runs/") + history.last().id +
                                             QStringLiteral(".run")));
        QVERIFY(record.exists());
        const qint64 latencyMs = record.lastModified().toUTC().msecsTo(notification.receivedAt);
        qInfo("notified %lld ms after the record was written", latencyMs);
        QVERIFY2(latencyMs >= 0 && latencyMs <= 2000, qPrintable(QString::number(latencyMs)));

        service.invoke(notification.id, QStringLiteral("show"));
        QTRY_COMPARE_WITH_TIMEOUT(app.store().selection(), job.id, 10000);
        QVERIFY(window.isVisible());
    }
};

QTEST_MAIN(NotificationsEndToEndTest)
#include "tst_notifications_e2e.moc"
