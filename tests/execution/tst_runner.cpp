#include "ExecutionRecordReader.h"
#include "RunnerFixture.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTest>
#include <csignal>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Tempolane;
using namespace Tempolane::Testing;

namespace {

const QString jobId = "0b5c3d1e-7a2f-4c11-9e3b-5d6f7a8b9c0d";
const QString trueCommand = RunnerFixture::encoded("true");

QStringList filesIn(const QString& directory)
{
    return QDir(directory).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// The id of the only record in `runs`; empty unless there is exactly one.
QString onlyRunId(const QString& runs)
{
    const QStringList records = QDir(runs).entryList({"*.run"}, QDir::Files);
    return records.size() == 1 ? records.front().chopped(4) : QString();
}

QByteArray onlyLog(const QString& runs)
{
    return contents(runs + u'/' + onlyRunId(runs) + ".log");
}

} // namespace

class RunnerTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ::umask(022); }

    void runsAndRecordsByPolicy_data()
    {
        QTest::addColumn<QString>("policy");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("log"); // null: no log file

        const QByteArray mixed = "echo one; echo two >&2; echo three";
        QTest::newRow("all keeps output and errors interleaved")
            << "all" << mixed << 0 << QByteArray("one\ntwo\nthree\n");
        QTest::newRow("errors keeps only the error stream")
            << "errors" << mixed << 0 << QByteArray("two\n");
        QTest::newRow("none keeps no log at all") << "none" << mixed << 0 << QByteArray();
        QTest::newRow("a silent command leaves no log")
            << "all" << QByteArray("true") << 0 << QByteArray();
        QTest::newRow("a failing command records its own status")
            << "all" << QByteArray("echo bad >&2; exit 3") << 3 << QByteArray("bad\n");
        QTest::newRow("a command ended by a signal records 128 plus the signal")
            << "none" << QByteArray("kill -TERM $$") << 143 << QByteArray();
        QByteArray numbers;
        for (int i = 1; i <= 200000; ++i)
            numbers += QByteArray::number(i) + '\n';
        QTest::newRow("output beyond a mebibyte keeps exactly its last mebibyte")
            << "all" << QByteArray("seq 1 200000") << 0 << numbers.right(1048576);
        QTest::newRow("quotes, newlines and UTF-8 reach the shell unchanged")
            << "all" << QByteArray("printf '%s|' \"it's\" 'a \"b\"'\nprintf 'Grüße\\n'") << 0
            << QByteArray("it's|a \"b\"|Grüße\n");
    }

    void runsAndRecordsByPolicy()
    {
        QFETCH(QString, policy);
        QFETCH(QByteArray, command);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, log);

        const RunnerFixture runner;
        const qint64 before = QDateTime::currentSecsSinceEpoch();
        QCOMPARE(runner.run({jobId, policy, RunnerFixture::encoded(command)}), exitCode);
        const qint64 after = QDateTime::currentSecsSinceEpoch();

        const QString runs = runner.runs(jobId);
        const QString runId = onlyRunId(runs);
        const auto match = QRegularExpression("^(\\d+)-(\\d+)$").match(runId);
        QVERIFY2(match.hasMatch(), qPrintable(filesIn(runs).join(u' ')));
        const qint64 start = match.captured(1).toLongLong();
        QVERIFY(start >= before && start <= after);

        const QStringList lines =
            QString::fromLatin1(contents(runs + u'/' + runId + ".run")).split(u'\n');
        QCOMPARE(lines.size(), 7); // six lines, each ended by a line feed
        QCOMPARE(lines.first(2), (QStringList{"version=1", QStringLiteral("start=%1").arg(start)}));
        const qint64 end = lines[2].startsWith("end=") ? lines[2].sliced(4).toLongLong() : -1;
        QVERIFY(end >= start && end <= after);
        QCOMPARE(lines.sliced(3),
                 (QStringList{QStringLiteral("exit=%1").arg(exitCode), "pid=" + match.captured(2),
                              log.isNull() ? "log=" : "log=" + runId + ".log", QString()}));
        QCOMPARE(filesIn(runs), (log.isNull() ? QStringList{runId + ".run"}
                                              : QStringList{runId + ".log", runId + ".run"}));
        QCOMPARE(onlyLog(runs), log);
        for (const QString& directory : {runner.root, runner.root + u'/' + jobId, runs})
            QCOMPARE(modeOf(directory), 0700);
        for (const QString& file : filesIn(runs))
            QCOMPARE(modeOf(runs + u'/' + file), 0600);
    }

    // A default ACL on the data folder replaces the umask for everything made below it, as in a
    // folder shared on purpose: the runner's directories and files must still be the user's alone.
    void recordsStayPrivateUnderADefaultAcl()
    {
        const RunnerFixture runner;
        QProcess setfacl;
        setfacl.start("setfacl", {"-d", "-m", "u::rwx,g::rwx,o::rwx", runner.base});
        if (!setfacl.waitForFinished() || setfacl.exitStatus() != QProcess::NormalExit ||
            setfacl.exitCode() != 0)
            QSKIP("no default ACLs here");

        QCOMPARE(runner.run({jobId, "all", RunnerFixture::encoded("echo recorded")}), 0);
        const QString runs = runner.runs(jobId);
        QCOMPARE(onlyLog(runs), QByteArray("recorded\n"));
        for (const QString& directory : {runner.root, runner.root + u'/' + jobId, runs})
            QCOMPARE(modeOf(directory), 0700);
        for (const QString& file : filesIn(runs))
            QCOMPARE(modeOf(runs + u'/' + file), 0600);
    }

    // Arguments the runner refuses leave no trace at all (64); a command it cannot decode is not
    // run, and its run is recorded as failed (65).
    void badArguments_runNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");

        QTest::newRow("no arguments at all") << QStringList() << 64;
        QTest::newRow("an empty job id") << QStringList{QString(), "all", trueCommand} << 64;
        QTest::newRow("a relative path as job id")
            << QStringList{"../abc", "all", trueCommand} << 64;
        QTest::newRow("a job id with a space") << QStringList{"ab cd", "all", trueCommand} << 64;
        QTest::newRow("a policy word in capitals") << QStringList{jobId, "ALL", trueCommand} << 64;
        QTest::newRow("a policy word with a trailing space")
            << QStringList{jobId, "none ", trueCommand} << 64;
        QTest::newRow("an upper-case job id is recorded under the id in lower case")
            << QStringList{jobId.toUpper(), "all", trueCommand} << 0;
        // Each would create a file next to the data directory if it were decoded leniently and run.
        const QString full = RunnerFixture::encoded("touch ran");
        QTest::newRow("a character outside the alphabet")
            << QStringList{jobId, "none", "dG91Y2g*cmFu"} << 65;
        QTest::newRow("a length that is not a multiple of four")
            << QStringList{jobId, "errors", full.chopped(1)} << 65;
        QTest::newRow("padding in the middle of the text")
            << QStringList{jobId, "all",
                           RunnerFixture::encoded("touch") + RunnerFixture::encoded(" ran")}
            << 65;
        QTest::newRow("a line break inside the text")
            << QStringList{jobId, "all", full.first(4) + u'\n' + full.sliced(4)} << 65;
    }

    void badArguments_runNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        const RunnerFixture runner;
        QCOMPARE(runner.run(arguments), exitCode);
        QCOMPARE(QDir(runner.directory.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"data dir with 'quotes'"});
        if (exitCode == 64) {
            QVERIFY(!QFileInfo::exists(runner.root));
            return;
        }
        QCOMPARE(QDir(runner.root).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{jobId});
        const QString runs = runner.runs(jobId);
        const QString runId = onlyRunId(runs);
        QVERIFY(!runId.isEmpty());
        if (exitCode == 0)
            return;
        const QByteArray record = contents(runs + u'/' + runId + ".run");
        QVERIFY(record.contains("\nexit=65\n"));
        QVERIFY(record.endsWith("\nlog=" + runId.toLatin1() + ".log\n"));
        QCOMPARE(onlyLog(runs), QByteArray("Tempolane could not decode the stored command.\n"));
        QCOMPARE(filesIn(runs).size(), 2);
    }

    void prunesToTheNewestHundredRecords_data()
    {
        QTest::addColumn<int>("existing");
        QTest::addColumn<bool>("hasSmallArgumentLimit");
        QTest::newRow("the hundred and first record prunes the oldest") << 100 << false;
        // More names than fit on one command line under this limit.
        QTest::newRow("thousands of records under a small argument limit") << 3000 << true;
    }

    void prunesToTheNewestHundredRecords()
    {
        QFETCH(int, existing);
        QFETCH(bool, hasSmallArgumentLimit);

        const RunnerFixture runner;
        const QString runs = runner.runs(jobId);
        QVERIFY(QDir().mkpath(runs));
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const auto modifiedAt = [&](int i) { return now.addSecs(-36000 + i); };
        const auto nameAt = [&](int i) {
            return QStringLiteral("%1-%2").arg(modifiedAt(i).toSecsSinceEpoch()).arg(i + 100);
        };
        // The newest pruned run and the oldest kept one have a log and a running marker too.
        const int lastPruned = existing - 100;
        for (int i = 0; i < existing; ++i) {
            QVERIFY(writeFile(runs + u'/' + nameAt(i) + ".run", "version=1\n", modifiedAt(i)));
            for (const char* extension : {".log", ".running"}) {
                if (i == lastPruned || i == lastPruned + 1)
                    QVERIFY(writeFile(runs + u'/' + nameAt(i) + extension, "version=1\n",
                                      modifiedAt(i)));
            }
        }

        QProcess process;
        if (hasSmallArgumentLimit) {
            process.setChildProcessModifier([] {
                const rlimit stack{1 << 20, 1 << 20};
                ::setrlimit(RLIMIT_STACK, &stack);
            });
        }
        runner.start(process, {jobId, "none", trueCommand});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);

        const QStringList after = filesIn(runs);
        QCOMPARE(QDir(runs).entryList({"*.run"}, QDir::Files).size(), 100);
        QCOMPARE(after.size(), 102);
        for (const char* extension : {".run", ".log", ".running"}) {
            QVERIFY2(!after.contains(nameAt(0) + extension), extension);
            QVERIFY2(!after.contains(nameAt(lastPruned) + extension), extension);
            QVERIFY2(after.contains(nameAt(lastPruned + 1) + extension), extension);
        }
    }

    void filesOlderThanThirtyDaysArePruned_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("ageInDays");
        QTest::addColumn<bool>("isRemoved");

        QTest::newRow("a record of 31 days and an hour is removed") << "1-1.run" << 31.05 << true;
        QTest::newRow("a log of 40 days is removed") << "1-1.log" << 40.0 << true;
        QTest::newRow("a running marker of 40 days is removed") << "1-1.running" << 40.0 << true;
        QTest::newRow("a record of 30 and a half days stays") << "1-1.run" << 30.5 << false;
    }

    void filesOlderThanThirtyDaysArePruned()
    {
        QFETCH(QString, name);
        QFETCH(double, ageInDays);
        QFETCH(bool, isRemoved);

        const RunnerFixture runner;
        const QString runs = runner.runs(jobId);
        QVERIFY(QDir().mkpath(runs));
        QVERIFY(writeFile(runs + u'/' + name, "version=1\n",
                          QDateTime::currentDateTimeUtc().addSecs(-qint64(ageInDays * 86400))));
        QCOMPARE(runner.run({jobId, "none", trueCommand}), 0);
        QCOMPARE(QFile::exists(runs + u'/' + name), !isRemoved);
    }

    void shellFallsBackToBinSh_data()
    {
        QTest::addColumn<std::optional<QString>>("shell");
        QTest::addColumn<QString>("expectedShell");

        QTest::newRow("SHELL unset runs /bin/sh") << std::optional<QString>() << "/bin/sh";
        QTest::newRow("SHELL empty runs /bin/sh") << std::optional<QString>(QString()) << "/bin/sh";
        QTest::newRow("SHELL naming a file that is not executable runs /bin/sh")
            << std::optional<QString>("NOT_EXECUTABLE") << "/bin/sh";
        QTest::newRow("SHELL naming a directory runs /bin/sh")
            << std::optional<QString>("/usr/bin") << "/bin/sh";
        QTest::newRow("SHELL naming an executable shell runs that shell")
            << std::optional<QString>("/bin/bash") << "/bin/bash";
    }

    void shellFallsBackToBinSh()
    {
        QFETCH(std::optional<QString>, shell);
        QFETCH(QString, expectedShell);

        const RunnerFixture runner;
        // bash gives an unset SHELL the login shell before the script can look at it.
        if (!shell && RunnerFixture::shellCommand().front().endsWith("bash")) {
            const passwd* user = ::getpwuid(::getuid());
            QVERIFY(user);
            expectedShell = QString::fromLocal8Bit(user->pw_shell);
        }
        if (shell == QString("NOT_EXECUTABLE")) {
            shell = runner.base + "/not-executable";
            QVERIFY(writeFile(*shell, "#!/bin/sh\necho wrong\n"));
        }
        QCOMPARE(runner.run({jobId, "all", RunnerFixture::encoded("printf '%s' \"$0\"")}, shell),
                 0);
        QCOMPARE(QString::fromUtf8(onlyLog(runner.runs(jobId))), expectedShell);
    }

    void killedRunnerLeavesAnInterruptedRun()
    {
        const RunnerFixture runner;
        QProcess process;
        process.setChildProcessModifier(
            [] { ::setpgid(0, 0); }); // the command dies with the runner
        runner.start(process, {jobId, "all", RunnerFixture::encoded("echo started; sleep 60")});
        QVERIFY(process.waitForStarted());

        const QString job = runner.root + u'/' + jobId;
        QTRY_VERIFY_WITH_TIMEOUT(
            !QDir(runner.runs(jobId)).entryList({"*.running"}, QDir::Files).isEmpty(), 10000);
        QCOMPARE(ExecutionRecordReader().summary(job).state, JobExecutionState::running());
        ::kill(-pid_t(process.processId()), SIGKILL);
        QVERIFY(process.waitForFinished());

        const JobExecutionSummary summary = ExecutionRecordReader().summary(job);
        QCOMPARE(summary.state, JobExecutionState::interrupted());
        QVERIFY(summary.latestRecord);
        QCOMPARE(summary.latestRecord->exitCode, std::nullopt);
        QCOMPARE(summary.latestRecord->endedAt, std::nullopt);
        QVERIFY(!summary.latestRecord->isRunning);
    }

    void concurrentRunsKeepSeparateRecords()
    {
        const RunnerFixture runner;
        QProcess first, second;
        for (QProcess* process : {&first, &second})
            runner.start(*process, {jobId, "all", RunnerFixture::encoded("echo run")});
        for (QProcess* process : {&first, &second}) {
            QVERIFY(process->waitForFinished());
            QCOMPARE(process->exitCode(), 0);
        }
        const auto records = ExecutionRecordReader().history(runner.root + u'/' + jobId);
        QCOMPARE(records.size(), 2);
        QVERIFY(records[0].id != records[1].id);
        for (const auto& record : records)
            QCOMPARE(record.output, QString("run\n"));
    }
};

QTEST_GUILESS_MAIN(RunnerTest)
#include "tst_runner.moc"
