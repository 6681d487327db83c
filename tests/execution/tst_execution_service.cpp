#include "ExecutionService.h"
#include "NullExecutionManager.h"
#include "RunnerScript.h"
#include "ShellQuoting.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <qcoro/qcorotask.h>
#include <sys/stat.h>

using namespace Tempolane;

namespace {

int modeOf(const QString& path)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

CronJob job(const QString& command,
            ExecutionLogPolicy policy = ExecutionLogPolicy::messagesAndErrors)
{
    CronJob job;
    job.id = QUuid::createUuid();
    job.scheduleExpression = QStringLiteral("* * * * *");
    job.command = command;
    job.isMonitoringEnabled = true;
    job.logPolicy = policy;
    return job;
}

// A clock the test moves by hand.
struct ManualClock
{
    std::shared_ptr<QDateTime> now =
        std::make_shared<QDateTime>(QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC));
    Clock clock() const
    {
        return [now = now] { return *now; };
    }
};

} // namespace

class ExecutionServiceTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void installRunnerWritesAPrivateScript();
    void installRunnerReportsTheSystemError();
    void prepareMonitoringKeepsTheFirstStart();
    void runNowRecordsTheRun_data();
    void runNowRecordsTheRun();
    void serviceAnswersWhileAJobRuns();
    void clearHistoryRemovesRunsAndMarker();
    void summariesHaveOneEntryPerDistinctJob();
    void nullManagerDoesNothing();
    void lengthIssue_data();
    void lengthIssue();

private:
    std::unique_ptr<QTemporaryDir> m_directory;
    QString m_base;
    QString m_runner;
};

void ExecutionServiceTest::init()
{
    m_directory = std::make_unique<QTemporaryDir>();
    m_base = m_directory->path() + QStringLiteral("/Application Support/It's Tempolane");
    m_runner = m_directory->path() + QStringLiteral("/Runner dir/tempolane-runner");
}

void ExecutionServiceTest::installRunnerWritesAPrivateScript()
{
    ExecutionService service(m_base, m_runner);
    QVERIFY(QCoro::waitFor(service.installRunner()));
    QCOMPARE(modeOf(m_runner), 0700);
    QCOMPARE(modeOf(m_directory->path() + QStringLiteral("/Runner dir")), 0700);
    QString expected = runnerScriptTemplate();
    expected.replace(runnerRootPlaceholder.toString(),
                     quotedPath(m_base + QStringLiteral("/Executions")));
    QCOMPARE(QString::fromUtf8(contents(m_runner)), expected);
    QVERIFY(!expected.contains(runnerRootPlaceholder));

    // Every call writes it in full again, with its mode.
    QFile::setPermissions(m_runner, QFile::ReadOwner);
    QVERIFY(QCoro::waitFor(service.installRunner()));
    QCOMPARE(modeOf(m_runner), 0700);
}

void ExecutionServiceTest::installRunnerReportsTheSystemError()
{
    const QString blocker = m_directory->path() + QStringLiteral("/plain file");
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    ExecutionService service(m_base, blocker + QStringLiteral("/Runner/tempolane-runner"));
    const auto installed = QCoro::waitFor(service.installRunner());
    QVERIFY(!installed);
    QCOMPARE(installed.error().kind(), ExecutionServiceError::Kind::fileSystemFailed);
    QCOMPARE(installed.error().description(), qt_error_string(ENOTDIR));
}

void ExecutionServiceTest::prepareMonitoringKeepsTheFirstStart()
{
    ManualClock clock;
    ExecutionService service(m_base, m_runner, clock.clock());
    const QUuid id = QUuid::createUuid();
    QCoro::waitFor(service.prepareMonitoring({id}));
    *clock.now = clock.now->addSecs(500);
    QCoro::waitFor(service.prepareMonitoring({id}));

    const QString jobDirectory = service.rootPath() + u'/' + id.toString(QUuid::WithoutBraces);
    QCOMPARE(contents(jobDirectory + QStringLiteral("/monitoring-started")), "1700000000");
    QCOMPARE(modeOf(jobDirectory), 0700);
    const auto summaries = QCoro::waitFor(service.summaries({id}));
    QCOMPARE(summaries.value(id).monitoringStartedAt,
             QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC));
    QCOMPARE(summaries.value(id).state, JobExecutionState::waiting());
}

void ExecutionServiceTest::runNowRecordsTheRun_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("policy");
    QTest::addColumn<int>("failureStatus"); // 0: success
    QTest::addColumn<std::optional<QString>>("output");

    QTest::newRow("a command exiting 3 fails with 3 and is recorded")
        << "echo broken >&2; exit 3" << int(ExecutionLogPolicy::messagesAndErrors) << 3
        << std::optional(QStringLiteral("broken\n"));
    QTest::newRow("a successful command leaves its output")
        << "echo fine" << int(ExecutionLogPolicy::messagesAndErrors) << 0
        << std::optional(QStringLiteral("fine\n"));
    QTest::newRow("the battery keyword is not part of the command that runs")
        << "@AppleNotOnBattery echo on mains" << int(ExecutionLogPolicy::messagesAndErrors) << 0
        << std::optional(QStringLiteral("on mains\n"));
    QTest::newRow("errors only drops the standard output")
        << "echo visible >&2; echo hidden" << int(ExecutionLogPolicy::errorsOnly) << 0
        << std::optional(QStringLiteral("visible\n"));
}

void ExecutionServiceTest::runNowRecordsTheRun()
{
    QFETCH(QString, command);
    QFETCH(int, policy);
    QFETCH(int, failureStatus);
    QFETCH(std::optional<QString>, output);

    ExecutionService service(m_base, m_runner);
    const CronJob monitored = job(command, ExecutionLogPolicy(policy));
    const auto ran = QCoro::waitFor(service.runNow(monitored));
    if (failureStatus == 0) {
        QVERIFY(ran);
    } else {
        QVERIFY(!ran);
        QCOMPARE(ran.error(), ExecutionServiceError::commandFailed(failureStatus));
        QCOMPARE(ran.error().description(),
                 QStringLiteral("Der Cronjob wurde ausgeführt, ist aber mit einem Fehler beendet "
                                "worden."));
    }
    const auto history = QCoro::waitFor(service.history(monitored.id));
    QCOMPARE(history.size(), 1);
    QCOMPARE(history[0].exitCode, failureStatus);
    QCOMPARE(history[0].output, output);
    const auto summary = QCoro::waitFor(service.summaries({monitored.id})).value(monitored.id);
    QCOMPARE(summary.state, failureStatus == 0 ? JobExecutionState::succeeded()
                                               : JobExecutionState::failed(failureStatus));
    QCOMPARE(summary.latestRecord, history[0]);
}

void ExecutionServiceTest::serviceAnswersWhileAJobRuns()
{
    ExecutionService service(m_base, m_runner);
    const CronJob slow = job(QStringLiteral("sleep 3"));
    auto run = service.runNow(slow);
    // The runner writes its marker at once; the service must answer while it sleeps.
    JobExecutionState state = JobExecutionState::waiting();
    QTRY_VERIFY_WITH_TIMEOUT(
        (state = QCoro::waitFor(service.summaries({slow.id})).value(slow.id).state,
         state == JobExecutionState::running()),
        2500);
    QVERIFY(QCoro::waitFor(std::move(run)));
    QCOMPARE(QCoro::waitFor(service.summaries({slow.id})).value(slow.id).state,
             JobExecutionState::succeeded());
}

void ExecutionServiceTest::clearHistoryRemovesRunsAndMarker()
{
    ExecutionService service(m_base, m_runner);
    const QUuid neverRan = QUuid::createUuid();
    QCoro::waitFor(service.clearHistory(neverRan));

    const CronJob monitored = job(QStringLiteral("echo x"));
    QCoro::waitFor(service.prepareMonitoring({monitored.id}));
    QVERIFY(QCoro::waitFor(service.runNow(monitored)));
    QCOMPARE(QCoro::waitFor(service.history(monitored.id)).size(), 1);

    QCoro::waitFor(service.clearHistory(monitored.id));
    const auto summary = QCoro::waitFor(service.summaries({monitored.id})).value(monitored.id);
    QCOMPARE(summary, JobExecutionSummary());
    const QString jobDirectory =
        service.rootPath() + u'/' + monitored.id.toString(QUuid::WithoutBraces);
    QVERIFY(QFileInfo(jobDirectory).isDir());
    QCOMPARE(QDir(jobDirectory).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void ExecutionServiceTest::summariesHaveOneEntryPerDistinctJob()
{
    ExecutionService service(m_base, m_runner);
    const QUuid a = QUuid::createUuid();
    const QUuid b = QUuid::createUuid();
    const auto summaries = QCoro::waitFor(service.summaries({a, b, a}));
    QCOMPARE(summaries.size(), 2);
    QCOMPARE(summaries.value(a), JobExecutionSummary());
    QVERIFY(!QFileInfo::exists(service.rootPath()));
}

void ExecutionServiceTest::nullManagerDoesNothing()
{
    NullExecutionManager manager;
    const CronJob monitored = job(QStringLiteral("exit 3"));
    QVERIFY(QCoro::waitFor(manager.installRunner()));
    QVERIFY(QCoro::waitFor(manager.runNow(monitored)));
    QCoro::waitFor(manager.prepareMonitoring({monitored.id}));
    QCoro::waitFor(manager.clearHistory(monitored.id));
    QVERIFY(QCoro::waitFor(manager.summaries({monitored.id})).isEmpty());
    QVERIFY(QCoro::waitFor(manager.history(monitored.id)).isEmpty());
    QCOMPARE(QDir(m_directory->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList());
}

void ExecutionServiceTest::lengthIssue_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("hasIssue");

    // Runner path, three separators, the id and the longest policy word around the Base64.
    const qsizetype overhead = quotedPath(defaultRunnerURL()).toUtf8().size() + 3 + 36 + 6;
    const qsizetype longest = (MonitoringCommandLine::maximumCommandFieldBytes - overhead) / 4 * 3;
    QTest::newRow("the longest command that fits the field") << QString(longest, u'a') << false;
    QTest::newRow("one byte more needs another Base64 group and is refused")
        << QString(longest + 1, u'a') << true;
    QTest::newRow("characters count by their UTF-8 bytes")
        << QString(longest / 2 + 1, u'ü') << true;
    QTest::newRow("the battery keyword counts although it is not encoded")
        << QStringLiteral("@AppleNotOnBattery ") + QString(longest - 2, u'a') << true;
    QTest::newRow("a short command is fine") << QStringLiteral("echo hi") << false;
}

void ExecutionServiceTest::lengthIssue()
{
    QFETCH(QString, command);
    QFETCH(bool, hasIssue);
    const auto issue = ExecutionService::lengthIssue(command);
    QCOMPARE(issue.has_value(), hasIssue);
    if (hasIssue) {
        QCOMPARE(*issue,
                 QStringLiteral("Dieser Befehl ist zu lang für den Ausführungsstatus. "
                                "Deaktiviere den Ausführungsstatus oder kürze den Befehl."));
    }
}

QTEST_GUILESS_MAIN(ExecutionServiceTest)
#include "tst_execution_service.moc"
