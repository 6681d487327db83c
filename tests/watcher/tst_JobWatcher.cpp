// The watcher over real run files in a data folder of the test's own, the crontab in memory, and
// the notification sender talking to a stand-in service on a private session bus.
#include "CronBackupStore.h"
#include "CronStore.h"
#include "DataLocations.h"
#include "ExecutionService.h"
#include "JobSketch.h"
#include "JobWatcher.h"
#include "NotificationSender.h"
#include "NotificationStandIn.h"
#include "PrivateFiles.h"
#include "PrivateSessionBus.h"
#include "StoreFakes.h"
#include "WindowOpener.h"
#include "WindowStandIn.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace Tempolane;
using namespace Tempolane::Testing;

namespace {

// A watcher as `tempolane --background` builds it, with every notification kept for the test,
// or sent to `outlet`.
struct WatcherUnderTest final : NotificationOutlet
{
    explicit WatcherUnderTest(const QString& dataFolder, NotificationOutlet* outlet = nullptr)
        : locations(DataLocations::under(dataFolder))
    {
        auto fakeClient = std::make_unique<FakeCronClient>();
        client = fakeClient.get();
        store = std::make_unique<CronStore>(
            std::move(fakeClient), std::make_unique<CronBackupStore>(locations.backups),
            std::make_shared<ExecutionService>(locations.executions, locations.runner),
            runnerPath(),
            std::make_unique<QSettings>(dataFolder + QStringLiteral("/settings.ini"),
                                        QSettings::IniFormat));
        QDir().mkpath(QFileInfo(locations.runner).path());
        watcher = std::make_unique<JobWatcher>(*store, locations, outlet ? *outlet : *this);
    }
    void show(const Notification& notification, Delivered delivered) override
    {
        told.append(notification);
        delivered(true);
    }
    void withdraw(const QUuid& jobId) override { withdrawn.append(jobId); }
    ~WatcherUnderTest()
    {
        (void)QTest::qWaitFor([this] { return !store->isLoading(); });
    }

    // Starts and waits for the first look.
    bool start()
    {
        QSignalSpy checked(watcher.get(), &JobWatcher::checked);
        watcher->start();
        return checked.count() > 0 || checked.wait(10000);
    }
    // What a save of this program does: a new crontab, and the runner written again.
    void save(const QString& crontab)
    {
        client->contents = crontab;
        QVERIFY(PrivateFiles::writeAtomically(locations.runner, "#!/bin/sh\n", 0700));
    }
    QString runsOf(int jobNumber) const { return jobFolderOf(jobNumber) + QStringLiteral("/runs"); }
    QString jobFolderOf(int jobNumber) const
    {
        return locations.executions + u'/' +
               makeJob(jobNumber, {}).id.toString(QUuid::WithoutBraces);
    }
    // What the runner leaves for a finished run: the record moved into place whole.
    void recordRun(int jobNumber, int exitCode, const QByteArray& log = {})
    {
        QVERIFY(QDir().mkpath(runsOf(jobNumber)));
        const qint64 now = QDateTime::currentSecsSinceEpoch();
        const QString id = QStringLiteral("%1-%2").arg(now).arg(++lastPid);
        const QString runs = runsOf(jobNumber) + u'/';
        if (!log.isEmpty()) {
            QFile file(runs + id + QStringLiteral(".log"));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(log) == log.size());
        }
        QFile temporary(runs + id + QStringLiteral(".tmp"));
        QVERIFY(temporary.open(QIODevice::WriteOnly));
        temporary.write(QStringLiteral("version=1\nstart=%1\nend=%1\nexit=%2\npid=%3\nlog=%4\n")
                            .arg(now)
                            .arg(exitCode)
                            .arg(lastPid)
                            .arg(log.isEmpty() ? QString() : id + QStringLiteral(".log"))
                            .toUtf8());
        temporary.close();
        QVERIFY2(temporary.rename(runs + id + QStringLiteral(".run")),
                 qPrintable(temporary.errorString()));
    }

    DataLocations locations;
    FakeCronClient* client = nullptr;
    std::unique_ptr<CronStore> store;
    std::unique_ptr<JobWatcher> watcher;
    QList<Notification> told;
    QList<QUuid> withdrawn;
    // Runs in one second differ by their process ids, also across watchers.
    static inline int lastPid = 40000;
};

JobSketch monitored(const QString& name, const QString& schedule = QStringLiteral("0 9 * * *"))
{
    JobSketch sketch{name, schedule};
    sketch.isMonitoringEnabled = true;
    return sketch;
}

} // namespace

class JobWatcherTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void failedRun_isToldOnceAcrossRestarts_andASuccessTakesItBack();
    void jobAddedLater_isWatched_andDeletedJob_isNot();
    void missedRun_isTold_andNextDueRun_wakesTheWatcher();
    void burstOfFailures_becomesOneSummary();
    void runnerKilledWhileWatched_isToldAsInterrupted();
    void linkedFolder_isNotRead_data();
    void linkedFolder_isNotRead();
    void notifications_reachTheServiceAndItsActionsComeBack();
    void refusedNotification_isToldWhenTheServiceTakesIt();
    void slowService_neverPilesUpCalls();
    void anzeigen_startsOneWindowAndTellsWhenItHasTheJob();
};

void JobWatcherTest::failedRun_isToldOnceAcrossRestarts_andASuccessTakesItBack()
{
    QTemporaryDir data;
    {
        WatcherUnderTest watching(data.path());
        watching.client->contents = crontabOf({monitored(QStringLiteral("Sicherung"))});
        QVERIFY(watching.start());
        QVERIFY(watching.told.isEmpty());

        QElapsedTimer sinceRecord;
        watching.recordRun(1, 3, "copying\nno space left on device\n");
        sinceRecord.start();
        QTRY_COMPARE_WITH_TIMEOUT(watching.told.size(), 1, 5000);
        QVERIFY2(sinceRecord.elapsed() < 2000, qPrintable(QString::number(sinceRecord.elapsed())));
        QCOMPARE(watching.told[0].summary, QStringLiteral("„Sicherung“ ist fehlgeschlagen"));
        // The wording is the rules table's; here the run's log reaches it.
        QCOMPARE(watching.told[0].body, QStringLiteral("Exit-Status 3\nno space left on device"));
        QCOMPARE(watching.told[0].jobId, makeJob(1, {}).id);
    }
    // Started again, as at the next login: the same failure is not told twice.
    WatcherUnderTest restarted(data.path());
    restarted.client->contents = crontabOf({monitored(QStringLiteral("Sicherung"))});
    QVERIFY(restarted.start());
    QVERIFY(restarted.told.isEmpty());
    // A new failure of the same job is a new event.
    restarted.recordRun(1, 1);
    QTRY_COMPARE_WITH_TIMEOUT(restarted.told.size(), 1, 5000);
    QCOMPARE(restarted.told[0].body, QStringLiteral("Exit-Status 1"));
    // A success after it takes the notification off the screen, and tells nothing.
    QVERIFY(restarted.withdrawn.isEmpty());
    restarted.recordRun(1, 0);
    QTRY_VERIFY_WITH_TIMEOUT(restarted.withdrawn.contains(makeJob(1, {}).id), 5000);
    QCOMPARE(restarted.told.size(), 1);
}

void JobWatcherTest::jobAddedLater_isWatched_andDeletedJob_isNot()
{
    QTemporaryDir data;
    WatcherUnderTest watching(data.path());
    QVERIFY(watching.start());
    QVERIFY(!watching.watcher->watchedPaths().contains(watching.jobFolderOf(1)));

    QSignalSpy checked(watching.watcher.get(), &JobWatcher::checked);
    watching.save(crontabOf({monitored(QStringLiteral("Neu"))}));
    QTRY_VERIFY_WITH_TIMEOUT(watching.watcher->watchedPaths().contains(watching.jobFolderOf(1)),
                             5000);
    watching.recordRun(1, 2);
    QTRY_COMPARE_WITH_TIMEOUT(watching.told.size(), 1, 5000);
    QCOMPARE(watching.told[0].summary, QStringLiteral("„Neu“ ist fehlgeschlagen"));
    QTRY_VERIFY_WITH_TIMEOUT(watching.watcher->watchedPaths().contains(watching.runsOf(1)), 5000);

    watching.save(crontabOf({}));
    QTRY_VERIFY_WITH_TIMEOUT(!watching.watcher->watchedPaths().contains(watching.runsOf(1)), 5000);
    QVERIFY(!watching.watcher->watchedPaths().contains(watching.jobFolderOf(1)));
    // A run of the deleted job tells nothing.
    watching.recordRun(1, 4);
    QTest::qWait(JobWatcher::settleMs * 5);
    QCOMPARE(watching.told.size(), 1);
}

void JobWatcherTest::missedRun_isTold_andNextDueRun_wakesTheWatcher()
{
    QTemporaryDir data;
    WatcherUnderTest watching(data.path());
    // Monitoring began three minutes ago; the every-minute job left no record since.
    const QDateTime began = QDateTime::currentDateTimeUtc().addSecs(-180);
    QVERIFY(QDir().mkpath(watching.jobFolderOf(1)));
    QVERIFY(PrivateFiles::writeAtomically(watching.jobFolderOf(1) + u"/monitoring-started"_qs,
                                          QByteArray::number(began.toSecsSinceEpoch())));
    // A second job, monitored from now on, is not due yet.
    watching.client->contents =
        crontabOf({monitored(QStringLiteral("Minütlich"), QStringLiteral("* * * * *")),
                   monitored(QStringLiteral("Später"), QStringLiteral("* * * * *"))});
    QVERIFY(watching.start());

    QCOMPARE(watching.told.size(), 1);
    QCOMPARE(watching.told[0].summary, QStringLiteral("„Minütlich“ wurde nicht ausgeführt"));

    // The other job's first run is due within a minute; it counts as missed 90 s after that.
    const QDateTime wake = watching.watcher->nextWake();
    const qint64 secondsAway = QDateTime::currentDateTimeUtc().secsTo(wake);
    QVERIFY2(secondsAway > 90 && secondsAway <= 152, qPrintable(wake.toString(Qt::ISODate)));
    QCOMPARE(wake.time().second(), CronStore::notObservedGraceSeconds % 60 + 1);
}

void JobWatcherTest::burstOfFailures_becomesOneSummary()
{
    QTemporaryDir data;
    WatcherUnderTest watching(data.path());
    QList<JobSketch> jobs;
    for (int i = 1; i <= 5; ++i)
        jobs.append(monitored(QStringLiteral("Job %1").arg(i)));
    watching.client->contents = crontabOf(jobs);
    for (int i = 1; i <= 5; ++i)
        watching.recordRun(i, 1);
    QVERIFY(watching.start());
    QCOMPARE(watching.told.size(), 1);
    QCOMPARE(watching.told[0].summary, QStringLiteral("5 Cronjobs brauchen Aufmerksamkeit"));
    QVERIFY(watching.told[0].jobId.isNull());
}

void JobWatcherTest::runnerKilledWhileWatched_isToldAsInterrupted()
{
    QTemporaryDir data;
    WatcherUnderTest watching(data.path());
    watching.client->contents = crontabOf({monitored(QStringLiteral("Lang"))});
    // A runner that is running: its marker names a live process, which then dies without
    // leaving a record, as when it is killed.
    QProcess runner;
    runner.start(QStringLiteral("/bin/sleep"), {QStringLiteral("60")});
    QVERIFY(runner.waitForStarted());
    QVERIFY(QDir().mkpath(watching.runsOf(1)));
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    QVERIFY(PrivateFiles::writeAtomically(
        watching.runsOf(1) + QStringLiteral("/%1-%2.running").arg(now).arg(runner.processId()),
        QStringLiteral("version=1\nstart=%1\npid=%2\n")
            .arg(now)
            .arg(runner.processId())
            .toLatin1()));
    QVERIFY(watching.start());
    QVERIFY(watching.told.isEmpty());

    QElapsedTimer sinceEnd;
    runner.kill();
    QVERIFY(runner.waitForFinished());
    sinceEnd.start();
    QTRY_COMPARE_WITH_TIMEOUT(watching.told.size(), 1, 5000);
    QVERIFY2(sinceEnd.elapsed() < 2000, qPrintable(QString::number(sinceEnd.elapsed())));
    QCOMPARE(watching.told[0].summary, QStringLiteral("„Lang“ wurde unerwartet beendet"));
}

void JobWatcherTest::linkedFolder_isNotRead_data()
{
    QTest::addColumn<QString>("linked");
    QTest::newRow("job folder linked to a folder outside") << QString();
    QTest::newRow("runs folder linked to a folder outside") << QStringLiteral("/runs");
}

void JobWatcherTest::linkedFolder_isNotRead()
{
    QFETCH(QString, linked);
    QTemporaryDir data;
    QTemporaryDir outside;
    WatcherUnderTest watching(data.path());
    watching.client->contents = crontabOf({monitored(QStringLiteral("Verlinkt"))});
    // A failed run, recorded where the link leads.
    WatcherUnderTest elsewhere(outside.path());
    elsewhere.recordRun(1, 5);
    const QString link = watching.jobFolderOf(1) + linked;
    QVERIFY(QDir().mkpath(QFileInfo(link).path()));
    QVERIFY(QFile::link(elsewhere.jobFolderOf(1) + linked, link));
    QVERIFY(watching.start());
    QVERIFY(watching.told.isEmpty());
    QCOMPARE(watching.store->executionSummaries().value(makeJob(1, {}).id).state,
             JobExecutionState::waiting());
}

void JobWatcherTest::notifications_reachTheServiceAndItsActionsComeBack()
{
    PrivateSessionBus bus;
    if (!bus.isValid())
        QSKIP("dbus-daemon is not installed (scripts/install-deps)");
    NotificationStandIn service(bus.connect(QStringLiteral("service")));
    QVERIFY(service.registerOnBus());
    const QDBusConnection client = bus.connect(QStringLiteral("client"));
    QVERIFY(NotificationSender::hasService(client));
    NotificationSender sender(client);
    QSignalSpy shows(&sender, &NotificationSender::showRequested);

    const QUuid job = makeJob(1, {}).id;
    int accepted = 0;
    const auto counted = [&accepted](bool isAccepted) { accepted += isAccepted; };
    sender.show({QStringLiteral("„A“ ist fehlgeschlagen"), QStringLiteral("x < y & z"), true, job},
                counted);
    sender.show({QStringLiteral("„B“ wurde nicht ausgeführt"), QString(), false, {}}, counted);
    QTRY_COMPARE_WITH_TIMEOUT(service.shown.size(), 2, 5000);
    QTRY_COMPARE(accepted, 2);
    const auto& failed = service.shown[0];
    QCOMPARE(failed.appName, QCoreApplication::applicationName());
    QCOMPARE(failed.icon, QStringLiteral("io.github.tempolane.Tempolane"));
    QCOMPARE(failed.summary, QStringLiteral("„A“ ist fehlgeschlagen"));
    // The stand-in reads no markup, so the body arrives as written.
    QCOMPARE(failed.body, QStringLiteral("x < y & z"));
    QVERIFY(failed.actions.contains(QStringLiteral("Anzeigen")));
    QCOMPARE(failed.hints.value(QStringLiteral("desktop-entry")).toString(),
             QStringLiteral("io.github.tempolane.Tempolane"));
    QCOMPARE(failed.hints.value(QStringLiteral("urgency")).toInt(), 2);
    QCOMPARE(service.shown[1].hints.value(QStringLiteral("urgency")).toInt(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(sender.callsInFlight(), 0, 5000);

    // "Anzeigen" or a click opens the job once, however often the service repeats it; another
    // program's notification opens nothing.
    for (int i = 0; i < 200; ++i)
        service.invoke(failed.id, i % 2 ? QStringLiteral("show") : QStringLiteral("default"));
    QVERIFY(shows.wait(5000));
    QTest::qWait(300);
    QCOMPARE(shows.size(), 1);
    QCOMPARE(shows.takeFirst().at(1).value<QUuid>(), job);
    service.invoke(999, QStringLiteral("show"));
    QVERIFY(!shows.wait(300));
}

// A notification the service refused, or that went out while it was gone, is not told: the
// next look tells it, once the service takes it, and never twice.
void JobWatcherTest::refusedNotification_isToldWhenTheServiceTakesIt()
{
    PrivateSessionBus bus;
    if (!bus.isValid())
        QSKIP("dbus-daemon is not installed (scripts/install-deps)");
    NotificationStandIn service(bus.connect(QStringLiteral("service")));
    service.isRefusing = true;
    QVERIFY(service.registerOnBus());
    NotificationSender sender(bus.connect(QStringLiteral("client")));
    QTemporaryDir data;
    {
        WatcherUnderTest watching(data.path(), &sender);
        watching.client->contents = crontabOf({monitored(QStringLiteral("Sicherung"))});
        watching.recordRun(1, 3);
        QVERIFY(watching.start());
        QTRY_COMPARE_WITH_TIMEOUT(sender.callsInFlight(), 0, 5000);
        QVERIFY(service.shown.isEmpty());
    }
    service.isRefusing = false;
    for (int restart = 0; restart < 2; ++restart) {
        WatcherUnderTest watching(data.path(), &sender);
        watching.client->contents = crontabOf({monitored(QStringLiteral("Sicherung"))});
        QVERIFY(watching.start());
        QTRY_COMPARE_WITH_TIMEOUT(sender.callsInFlight(), 0, 5000);
        QCOMPARE(service.shown.size(), 1);
    }
}

void JobWatcherTest::slowService_neverPilesUpCalls()
{
    PrivateSessionBus bus;
    if (!bus.isValid())
        QSKIP("dbus-daemon is not installed (scripts/install-deps)");
    NotificationStandIn service(bus.connect(QStringLiteral("service")));
    service.isSlow = true;
    QVERIFY(service.registerOnBus());
    NotificationSender sender(bus.connect(QStringLiteral("client")));

    QElapsedTimer sending;
    sending.start();
    int refused = 0;
    for (int i = 0; i < 3 * NotificationSender::maxInFlight; ++i)
        sender.show({QStringLiteral("„%1“ ist fehlgeschlagen").arg(i), {}, true, {}},
                    [&refused](bool isAccepted) { refused += !isAccepted; });
    QCOMPARE(refused, 2 * NotificationSender::maxInFlight);
    QCOMPARE(sender.callsInFlight(), NotificationSender::maxInFlight);
    QTRY_COMPARE_WITH_TIMEOUT(service.unanswered.size(), NotificationSender::maxInFlight, 5000);
    // Not waiting for answers: sending took a moment, not a call's time limit.
    QVERIFY(sending.elapsed() < NotificationSender::callTimeoutMs / 2);
}

void JobWatcherTest::anzeigen_startsOneWindowAndTellsWhenItHasTheJob()
{
    PrivateSessionBus bus;
    if (!bus.isValid())
        QSKIP("dbus-daemon is not installed (scripts/install-deps)");
    QTemporaryDir folder;
    // The desktop program: it notes how it was started.
    const QString program = folder.filePath(QStringLiteral("tempolane"));
    const QString starts = folder.filePath(QStringLiteral("starts"));
    QVERIFY(PrivateFiles::writeAtomically(
        program, "#!/bin/sh\necho \"$@\" >> '" + starts.toUtf8() + "'\n", 0700));

    WindowOpener opener(bus.connect(QStringLiteral("watcher")), program);
    const QUuid first = makeJob(1, {}).id;
    const QUuid last = makeJob(2, {}).id;
    int done = 0;
    // Several notifications chosen before the window is up start one program.
    for (const QUuid& job : {first, first, last})
        opener.open(job, [&done] { ++done; });
    QTRY_VERIFY(QFile::exists(starts));
    QTest::qWait(500);
    QFile started(starts);
    QVERIFY(started.open(QIODevice::ReadOnly));
    QCOMPARE(started.readAll(), "--job " + first.toString(QUuid::WithoutBraces).toUtf8() + '\n');
    QCOMPARE(done, 0);

    // The started program comes up: it has its job, and the newest request goes to it.
    WindowStandIn window;
    QDBusConnection windowBus = bus.connect(QStringLiteral("window"));
    QVERIFY(windowBus.registerObject(QStringLiteral("/io/github/tempolane/Tempolane"), &window,
                                     QDBusConnection::ExportScriptableSlots));
    QVERIFY(windowBus.registerService(QStringLiteral("io.github.tempolane.Tempolane")));
    QTRY_COMPARE_WITH_TIMEOUT(done, 2, 5000);
    QCOMPARE(window.shown, QStringList{last.toString(QUuid::WithoutBraces)});

    // With the window up, a request goes to it alone.
    opener.open(first, [&done] { ++done; });
    QTRY_COMPARE_WITH_TIMEOUT(done, 3, 5000);
    QCOMPARE(window.shown.size(), 2);
    QCOMPARE(QFileInfo(starts).size(), qint64(6 + 36 + 1));
}

QTEST_GUILESS_MAIN(JobWatcherTest)
#include "tst_JobWatcher.moc"
