#include "ExecutionService.h"
#include "MonitoringCommandLine.h"
#include "RunnerFixture.h"
#include "ShellQuoting.h"
#include "TestUserCrontab.h"

#include <QTest>
#include <memory>
#include <qcoro/qcorotask.h>
#include <sys/stat.h>

using namespace Tempolane;
using namespace Tempolane::Testing;

class ExecutionServiceTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_directory = std::make_unique<QTemporaryDir>();
        m_root = m_directory->path() + "/Application Support/It's Tempolane/Executions";
        m_runner = m_directory->path() + "/Runner dir/tempolane-runner";
    }

    void installRunnerWritesAPrivateScript()
    {
        // Anyone could replace a script in an open directory, and cron would run it as this user;
        // a link planted at the runner's name must not lead the script elsewhere.
        const QString runnerDirectory = m_directory->path() + "/Runner dir";
        for (const QString& directory : {runnerDirectory, m_root}) {
            QVERIFY(QDir().mkpath(directory));
            QVERIFY(::chmod(QFile::encodeName(directory).constData(), 0777) == 0);
        }
        const QString victim = m_directory->path() + "/victim";
        QVERIFY(writeFile(victim, "precious"));
        QVERIFY(QFile::link(victim, m_runner));

        ExecutionService service(m_root, m_runner);
        QVERIFY(QCoro::waitFor(service.installRunner()));
        QVERIFY(!QFileInfo(m_runner).isSymLink());
        QCOMPARE(modeOf(m_runner), 0700);
        QCOMPARE(modeOf(runnerDirectory), 0700);
        QCOMPARE(modeOf(m_root), 0700);
        QString expected = runnerScriptTemplate();
        expected.replace(runnerRootPlaceholder.toString(), quotedPath(m_root));
        QVERIFY(!expected.contains(runnerRootPlaceholder));
        QCOMPARE(QString::fromUtf8(contents(m_runner)), expected);
        QCOMPARE(contents(victim), "precious");

        // Every call writes it in full again, with its mode.
        QFile::setPermissions(m_runner, QFile::ReadOwner);
        QVERIFY(QCoro::waitFor(service.installRunner()));
        QCOMPARE(modeOf(m_runner), 0700);
    }

    void runNowRecordsTheRun_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("policy");
        QTest::addColumn<int>("failureStatus"); // 0: success
        QTest::addColumn<std::optional<QString>>("output");

        QTest::newRow("a command exiting 3 fails with 3 and is recorded")
            << "echo broken >&2; exit 3" << int(ExecutionLogPolicy::messagesAndErrors) << 3
            << std::optional<QString>("broken\n");
        if (MonitoringCommandLine::cronKnowsBatteryPrefix) {
            QTest::newRow("the battery keyword is cron's, not part of the command that runs")
                << "@AppleNotOnBattery echo on mains" << int(ExecutionLogPolicy::messagesAndErrors)
                << 0 << std::optional<QString>("on mains\n");
        } else {
            QTest::newRow("the battery keyword runs as a command, as cron runs it here")
                << "@AppleNotOnBattery echo on mains" << int(ExecutionLogPolicy::none) << 127
                << std::optional<QString>();
        }
        QTest::newRow("errors only drops the standard output")
            << "echo visible >&2; echo hidden" << int(ExecutionLogPolicy::errorsOnly) << 0
            << std::optional<QString>("visible\n");
    }

    void runNowRecordsTheRun()
    {
        QFETCH(QString, command);
        QFETCH(int, policy);
        QFETCH(int, failureStatus);
        QFETCH(std::optional<QString>, output);

        ExecutionService service(m_root, m_runner);
        const CronJob monitored = everyMinuteJob({}, command, ExecutionLogPolicy(policy));
        const auto ran = QCoro::waitFor(service.runNow(monitored, {}));
        QCOMPARE(bool(ran), failureStatus == 0);
        if (!ran) {
            QCOMPARE(ran.error(), ExecutionServiceError::commandFailed(failureStatus));
            QCOMPARE(ran.error().description(),
                     "Der Cronjob wurde ausgeführt, ist aber mit einem Fehler beendet worden.");
        }
        const auto history = QCoro::waitFor(service.history(monitored.id));
        QCOMPARE(history.size(), 1);
        QCOMPARE(history[0].exitCode, failureStatus);
        QCOMPARE(history[0].output, output);
        const auto summary = QCoro::waitFor(service.summaries({monitored.id})).value(monitored.id);
        QCOMPARE(summary.state, failureStatus == 0 ? JobExecutionState::succeeded()
                                                   : JobExecutionState::failed(failureStatus));
        QCOMPARE(summary.latestRecord->id, history[0].id);
    }

    void prepareAndClearHistory()
    {
        const QDateTime first = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
        const auto now = std::make_shared<QDateTime>(first);
        ExecutionService service(m_root, m_runner, [now] { return *now; });
        const QUuid neverRan = QUuid::createUuid();
        const auto untouched = QCoro::waitFor(service.summaries({neverRan, neverRan}));
        QCOMPARE(untouched.size(), 1);
        QCOMPARE(untouched.value(neverRan), JobExecutionSummary());
        QVERIFY(!QFileInfo::exists(service.rootPath()));
        QCoro::waitFor(service.clearHistory(neverRan));

        // A link at the marker's name is replaced, not written through; a second preparation
        // keeps the first start.
        const CronJob monitored = everyMinuteJob({}, "echo x");
        const QString jobDirectory =
            service.rootPath() + u'/' + monitored.id.toString(QUuid::WithoutBraces);
        const QString linkTarget = m_directory->path() + "/created-through-a-link";
        QVERIFY(QDir().mkpath(jobDirectory));
        QVERIFY(QFile::link(linkTarget, jobDirectory + "/monitoring-started"));
        QCoro::waitFor(service.prepareMonitoring({monitored.id}));
        QVERIFY(!QFileInfo::exists(linkTarget));
        *now = now->addSecs(500);
        QCoro::waitFor(service.prepareMonitoring({monitored.id}));
        QCOMPARE(contents(jobDirectory + "/monitoring-started"), "1700000000");
        QCOMPARE(modeOf(jobDirectory + "/monitoring-started"), 0600);
        QCOMPARE(modeOf(jobDirectory), 0700);
        QVERIFY(QCoro::waitFor(service.runNow(monitored, {})));
        const auto summary = QCoro::waitFor(service.summaries({monitored.id})).value(monitored.id);
        QCOMPARE(summary.monitoringStartedAt, first);
        QCOMPARE(summary.state, JobExecutionState::succeeded());

        QCoro::waitFor(service.clearHistory(monitored.id));
        QCOMPARE(QCoro::waitFor(service.summaries({monitored.id})).value(monitored.id),
                 JobExecutionSummary());
        QVERIFY(QFileInfo(jobDirectory).isDir());
        QCOMPARE(QDir(jobDirectory).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());

        // A run directory planted as a link loses the link, not what it leads to.
        const QString elsewhere = m_directory->path() + "/elsewhere";
        QVERIFY(QDir().mkpath(elsewhere) && QFile(elsewhere + "/keep").open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(elsewhere, jobDirectory + "/runs"));
        QCoro::waitFor(service.clearHistory(monitored.id));
        QVERIFY(!QFileInfo::exists(jobDirectory + "/runs"));
        QVERIFY(QFileInfo::exists(elsewhere + "/keep"));
    }

    void aRunOutlivesTheService()
    {
        // The command waits for a file the test creates only once the service is gone; should
        // destroying the service wait for the run, the command gives up and the run fails.
        const QString release = m_directory->path() + "/release";
        const CronJob monitored = everyMinuteJob(
            {}, QStringLiteral("i=0; while [ ! -e %1 ] && [ $i -lt 300 ]; do sleep 0.1; "
                               "i=$((i + 1)); done; [ -e %1 ]")
                    .arg(quotedPath(release)));
        const auto stateOf = [&](ExecutionService& service) {
            return QCoro::waitFor(service.summaries({monitored.id})).value(monitored.id).state;
        };
        {
            ExecutionService service(m_root, m_runner);
            auto running = service.runNow(monitored, {});
            QTRY_COMPARE(stateOf(service), JobExecutionState::running());
        }
        QVERIFY(QFile(release).open(QIODevice::WriteOnly));

        ExecutionService reader(m_root, m_runner);
        QTRY_COMPARE_WITH_TIMEOUT(stateOf(reader), JobExecutionState::succeeded(), 20000);
    }

private:
    std::unique_ptr<QTemporaryDir> m_directory;
    QString m_root;
    QString m_runner;
};

QTEST_GUILESS_MAIN(ExecutionServiceTest)
#include "tst_execution_service.moc"
