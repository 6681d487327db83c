#include "CronDocument.h"
#include "DataLocations.h"
#include "ExecutionService.h"
#include "MonitoringCommandLine.h"
#include "ShellQuoting.h"
#include "TestUserCrontab.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <qcoro/qcorotask.h>

using namespace Tempolane;
using namespace Tempolane::Testing;

namespace {

// The test user's own locations, as the application works them out.
const DataLocations locations = DataLocations::forCurrentUser();

QString crontabOf(const QList<CronJob>& jobs, const QString& plainLine = QString())
{
    QList<CronDocument::Node> nodes{
        CronDocument::Node::passthrough(QStringLiteral("# written by the test"))};
    if (!plainLine.isEmpty())
        nodes.append(CronDocument::Node::passthrough(plainLine));
    for (const CronJob& job : jobs)
        nodes.append(CronDocument::Node::job(job));
    return crontabText(nodes);
}

bool hasFinished(const JobExecutionSummary& summary)
{
    return summary.state != JobExecutionState::waiting() &&
           summary.state != JobExecutionState::running();
}

} // namespace

class MonitoringEndToEndTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { (void)installCrontab(QString()); }

    void cronRunsMonitoredJobsWhileNoApplicationRuns()
    {
        ExecutionService service(locations.executions, locations.runner);
        const auto installed = QCoro::waitFor(service.installRunner());
        QVERIFY2(installed, qPrintable(installed ? QString() : installed.error().description()));

        const CronJob succeeding = everyMinuteJob(
            QStringLiteral("Erfolg"), QStringLiteral("echo 'from cron'; echo warning >&2"),
            ExecutionLogPolicy::messagesAndErrors);
        const CronJob failing = everyMinuteJob(
            QStringLiteral("Fehler"), QStringLiteral("echo hidden; echo broken >&2; exit 3"),
            ExecutionLogPolicy::errorsOnly);
        // A plain job beside them tells, should no run be recorded, whether cron ran anything.
        const QString cronRan = QDir::temp().filePath(QStringLiteral("cron-ran"));
        waitUntilClearOfCronsMinuteScan();
        const auto refused = installCrontab(crontabOf(
            {succeeding, failing}, QStringLiteral("* * * * * touch ") + quotedPath(cronRan)));
        QVERIFY2(!refused, qPrintable(refused.value_or(QString())));

        const QList<QUuid> ids{succeeding.id, failing.id};
        QCoro::waitFor(service.prepareMonitoring(ids));

        QMap<QUuid, JobExecutionSummary> summaries;
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 150000) {
            summaries = QCoro::waitFor(service.summaries(ids));
            if (hasFinished(summaries.value(succeeding.id)) &&
                hasFinished(summaries.value(failing.id)))
                break;
            QTest::qWait(2000);
        }
        const JobExecutionSummary success = summaries.value(succeeding.id);
        const JobExecutionSummary failure = summaries.value(failing.id);
        QVERIFY2(
            hasFinished(success) && hasFinished(failure),
            qPrintable(QStringLiteral("no run recorded within 150 s (%1, %2); the plain job %3")
                           .arg(title(success.state), title(failure.state),
                                QFile::exists(cronRan) ? QStringLiteral("ran")
                                                       : QStringLiteral("did not run either"))));
        QCOMPARE(success.state, JobExecutionState::succeeded());
        QCOMPARE(QCoro::waitFor(service.history(succeeding.id)).value(0).output,
                 QStringLiteral("from cron\nwarning\n"));
        QVERIFY(success.monitoringStartedAt);
        QCOMPARE(failure.state, JobExecutionState::failed(3));
        QCOMPARE(failure.latestRecord->exitCode, 3);
        // The list shows the last line of a failed run's output.
        QCOMPARE(failure.latestRecord->output, QStringLiteral("broken"));
        QVERIFY(*failure.latestRecord->endedAt >= failure.latestRecord->startedAt);
    }

    void crontabAcceptsExactlyWhatTheLengthCheckAllows()
    {
        // The longest command the check lets through, found by growing it a byte at a time.
        QString command = QStringLiteral("echo ");
        const QString quotedRunner = quotedPath(locations.runner);
        while (!MonitoringCommandLine::lengthIssue(command + u'x', quotedRunner))
            command += u'x';
        const CronJob fits =
            everyMinuteJob(QStringLiteral("Lang"), command, ExecutionLogPolicy::errorsOnly);
        CronJob tooLong = fits;
        tooLong.command += u'x';
        QVERIFY(MonitoringCommandLine::lengthIssue(tooLong.command, quotedRunner));

        for (const auto& [job, isAccepted] : {std::pair{fits, true}, std::pair{tooLong, false}}) {
            const auto refused = installCrontab(crontabOf({job}));
            QVERIFY2(refused.has_value() != isAccepted, qPrintable(refused.value_or(QString())));
            if (refused)
                QVERIFY2(refused->contains(QStringLiteral("too long")), qPrintable(*refused));
        }
    }
};

QTEST_GUILESS_MAIN(MonitoringEndToEndTest)
#include "tst_monitoring_e2e.moc"
