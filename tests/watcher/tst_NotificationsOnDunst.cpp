// The notifications on a real notification daemon from Debian (dunst) under a private session
// bus and display: one notification per job on screen, and "Anzeigen" takes it off the screen
// once the window has the job.
#include "BackgroundWatcher.h"
#include "NotificationSender.h"
#include "PrivateSessionBus.h"
#include "WindowOpener.h"
#include "WindowStandIn.h"

#include <QDBusConnectionInterface>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Tempolane;
using namespace Tempolane::Testing;

class NotificationsOnDunstTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void oneNotificationPerJob_andAnzeigenClosesIt();

private:
    // What `dunstctl` says, on the test's bus.
    QString dunstctl(const QStringList& arguments) const;
    int displayed() const
    {
        return dunstctl({QStringLiteral("count"), QStringLiteral("displayed")}).toInt();
    }

    QTemporaryDir m_home;
    PrivateSessionBus m_bus;
    QProcess m_xvfb;
    QProcess m_dunst;
};

void NotificationsOnDunstTest::initTestCase()
{
    for (const char* program : {"Xvfb", "dunst", "dunstctl"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
            QSKIP("Xvfb or dunst is not installed (scripts/install-deps)");
    }
    QVERIFY(m_bus.isValid());
    m_xvfb.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                          QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    QVERIFY(m_xvfb.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(m_xvfb.canReadLine(), 20000);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"),
                       u':' + QString::fromLatin1(m_xvfb.readLine()).trimmed());
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_bus.address());
    // Dunst as Debian ships it, without the configuration of whoever runs the test.
    environment.insert(QStringLiteral("HOME"), m_home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.path());
    m_dunst.setProcessEnvironment(environment);
    m_dunst.start(QStringLiteral("dunst"), QStringList());
    QVERIFY(m_dunst.waitForStarted());
    const QDBusConnection watching = m_bus.connect();
    QTRY_VERIFY_WITH_TIMEOUT(
        watching.interface()->isServiceRegistered(NotificationSender::serviceName()), 20000);
}

void NotificationsOnDunstTest::cleanupTestCase()
{
    m_dunst.terminate();
    m_dunst.waitForFinished();
    m_xvfb.terminate();
    m_xvfb.waitForFinished();
}

QString NotificationsOnDunstTest::dunstctl(const QStringList& arguments) const
{
    QProcess control;
    control.setProcessEnvironment(m_dunst.processEnvironment());
    control.start(QStringLiteral("dunstctl"), arguments);
    control.waitForFinished(10000);
    return QString::fromUtf8(control.readAllStandardOutput()).trimmed();
}

void NotificationsOnDunstTest::oneNotificationPerJob_andAnzeigenClosesIt()
{
    NotificationSender sender(m_bus.connect());
    WindowStandIn window;
    QDBusConnection windowBus = m_bus.connect();
    QVERIFY(windowBus.registerObject(QStringLiteral("/io/github/tempolane/Tempolane"), &window,
                                     QDBusConnection::ExportScriptableSlots));
    QVERIFY(windowBus.registerService(QStringLiteral("io.github.tempolane.Tempolane")));
    WindowOpener opener(m_bus.connect(), QStringLiteral("/nonexistent/tempolane"));
    BackgroundWatcher::openJobsOnRequest(sender, opener);

    const QUuid job = QUuid::createUuid();
    int accepted = 0;
    const auto failure = [&](int exitCode) {
        sender.show({QStringLiteral("„Sicherung“ ist fehlgeschlagen"),
                     QStringLiteral("Exit-Status %1").arg(exitCode), true, job},
                    [&accepted](bool isAccepted) { accepted += isAccepted; });
    };
    // A job failing again and again stands on screen once: critical ones never expire.
    for (int exitCode = 1; exitCode <= 3; ++exitCode) {
        failure(exitCode);
        QTRY_COMPARE(accepted, exitCode);
    }
    QCOMPARE(displayed(), 1);

    // "Anzeigen": the window gets the job, and the popup goes.
    dunstctl({QStringLiteral("action"), QStringLiteral("0")});
    QTRY_COMPARE(window.shown, QStringList{job.toString(QUuid::WithoutBraces)});
    QTRY_COMPARE(displayed(), 0);

    // A success after a failure takes its notification off the screen.
    failure(4);
    QTRY_COMPARE(accepted, 4);
    QTRY_COMPARE(displayed(), 1);
    sender.withdraw(job);
    QTRY_COMPARE(displayed(), 0);
}

QTEST_GUILESS_MAIN(NotificationsOnDunstTest)
#include "tst_NotificationsOnDunst.moc"
