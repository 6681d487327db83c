#include "ExecutionRecordReader.h"
#include "RunnerFixture.h"

#include <QDateTime>
#include <QDirIterator>
#include <QRegularExpression>
#include <QTest>
#include <csignal>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Tempolane;
using Testing::RunnerFixture;

namespace {

const QString jobId = QStringLiteral("0b5c3d1e-7a2f-4c11-9e3b-5d6f7a8b9c0d");
const QByteArray decodeFailureLine = "Tempolane could not decode the stored command.\n";

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList filesIn(const QString& directory)
{
    return QDir(directory).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

void writeFile(const QString& path, const QByteArray& bytes, const QDateTime& modified)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    // Unflushed bytes written later would move the time again.
    QVERIFY(file.flush());
    QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

int modeOf(const QString& path)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

QString onlyRecordName(const QString& runs)
{
    const QStringList records = QDir(runs).entryList({QStringLiteral("*.run")}, QDir::Files);
    return records.size() == 1 ? records.front() : QString();
}

} // namespace

class RunnerTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void runsAndRecordsByPolicy_data();
    void runsAndRecordsByPolicy();
    void undecodableCommandIsNotRun_data();
    void undecodableCommandIsNotRun();
    void invalidArgumentsLeaveNoTrace_data();
    void invalidArgumentsLeaveNoTrace();
    void upperCaseIdIsAccepted();
    void longOutputKeepsExactlyTheLastMebibyte();
    void hundredFirstRecordPrunesTheOldest();
    void filesOlderThanThirtyDaysArePruned_data();
    void filesOlderThanThirtyDaysArePruned();
    void shellFallsBackToBinSh_data();
    void shellFallsBackToBinSh();
    void killedRunnerLeavesAnInterruptedRun();
    void concurrentRunsKeepSeparateRecords();
};

void RunnerTest::runsAndRecordsByPolicy_data()
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
    QTest::newRow("an empty command succeeds without a log")
        << "all" << QByteArray() << 0 << QByteArray();
    QTest::newRow("a command ended by a signal records 128 plus the signal")
        << "none" << QByteArray("kill -TERM $$") << 143 << QByteArray();
    QTest::newRow("quotes, newlines and UTF-8 reach the shell unchanged")
        << "all" << QByteArray("printf '%s|' \"it's\" 'a \"b\"'\nprintf 'Grüße\\n'") << 0
        << QByteArray("it's|a \"b\"|Grüße\n");
}

void RunnerTest::runsAndRecordsByPolicy()
{
    QFETCH(QString, policy);
    QFETCH(QByteArray, command);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, log);

    const RunnerFixture runner;
    const qint64 before = QDateTime::currentSecsSinceEpoch();
    const auto result = runner.run({jobId, policy, RunnerFixture::encoded(command)});
    const qint64 after = QDateTime::currentSecsSinceEpoch();
    QCOMPARE(result.exitCode, exitCode);

    const QString runs = runner.runsDirectory(jobId);
    const QString recordName = onlyRecordName(runs);
    QVERIFY2(!recordName.isEmpty(), qPrintable(filesIn(runs).join(u' ')));
    const QString runId = recordName.chopped(4);
    const auto match = QRegularExpression(QStringLiteral("^(\\d+)-(\\d+)$")).match(runId);
    QVERIFY(match.hasMatch());
    const qint64 start = match.captured(1).toLongLong();
    QVERIFY(start >= before && start <= after);

    const QStringList lines = QString::fromLatin1(contents(runs + u'/' + recordName)).split(u'\n');
    QCOMPARE(lines.size(), 7); // six lines, each ended by a line feed
    QCOMPARE(lines[0], QStringLiteral("version=1"));
    QCOMPARE(lines[1], QStringLiteral("start=%1").arg(start));
    QVERIFY(lines[2].startsWith(QStringLiteral("end=")));
    const qint64 end = lines[2].sliced(4).toLongLong();
    QVERIFY(end >= start && end <= after);
    QCOMPARE(lines[3], QStringLiteral("exit=%1").arg(exitCode));
    QCOMPARE(lines[4], QStringLiteral("pid=%1").arg(match.captured(2)));
    QCOMPARE(lines[5],
             log.isNull() ? QStringLiteral("log=") : QStringLiteral("log=%1.log").arg(runId));
    QCOMPARE(lines[6], QString());

    QStringList expectedFiles{recordName};
    if (!log.isNull())
        expectedFiles.prepend(runId + QStringLiteral(".log"));
    QCOMPARE(filesIn(runs), expectedFiles);
    if (!log.isNull())
        QCOMPARE(contents(runs + u'/' + runId + QStringLiteral(".log")), log);
    QCOMPARE(modeOf(runs), 0700);
    QCOMPARE(modeOf(runner.root() + u'/' + jobId), 0700);
}

void RunnerTest::undecodableCommandIsNotRun_data()
{
    QTest::addColumn<QString>("policy");
    QTest::addColumn<QString>("encoded");

    // Each would create the file "ran" if it were decoded leniently and run.
    const QString full = RunnerFixture::encoded("touch ran");
    struct Case
    {
        const char* name;
        QString encoded;
    };
    const QList<Case> cases{
        {"a character outside the alphabet", QStringLiteral("dG91Y2g*cmFu")},
        {"a length that is not a multiple of four", full.chopped(1)},
        {"padding in the middle of the text",
         RunnerFixture::encoded("touch") + RunnerFixture::encoded(" ran")},
        {"a line break inside the text", full.first(4) + u'\n' + full.sliced(4)},
    };
    for (const auto& policy : {"all", "errors", "none"}) {
        for (const Case& c : cases) {
            QTest::addRow("%s, policy %s", c.name, policy)
                << QString::fromLatin1(policy) << c.encoded;
        }
    }
}

void RunnerTest::undecodableCommandIsNotRun()
{
    QFETCH(QString, policy);
    QFETCH(QString, encoded);

    const RunnerFixture runner;
    const auto result = runner.run({jobId, policy, encoded});
    QCOMPARE(result.exitCode, 65);
    QVERIFY(!QFile::exists(runner.workingDirectory() + QStringLiteral("/ran")));

    const QString runs = runner.runsDirectory(jobId);
    const QString recordName = onlyRecordName(runs);
    QVERIFY(!recordName.isEmpty());
    const QString runId = recordName.chopped(4);
    const QByteArray record = contents(runs + u'/' + recordName);
    QVERIFY(record.contains("\nexit=65\n"));
    QVERIFY(record.endsWith("\nlog=" + runId.toLatin1() + ".log\n"));
    QCOMPARE(contents(runs + u'/' + runId + QStringLiteral(".log")), decodeFailureLine);
    QCOMPARE(filesIn(runs).size(), 2);
}

void RunnerTest::invalidArgumentsLeaveNoTrace_data()
{
    QTest::addColumn<QStringList>("arguments");
    const QString command = RunnerFixture::encoded("true");
    QTest::newRow("no arguments at all") << QStringList();
    QTest::newRow("an empty job id") << QStringList{QString(), QStringLiteral("all"), command};
    QTest::newRow("a dot as job id")
        << QStringList{QStringLiteral("."), QStringLiteral("all"), command};
    QTest::newRow("a slash as job id")
        << QStringList{QStringLiteral("/"), QStringLiteral("all"), command};
    QTest::newRow("a relative path as job id")
        << QStringList{QStringLiteral("../abc"), QStringLiteral("all"), command};
    QTest::newRow("a job id with a space")
        << QStringList{QStringLiteral("ab cd"), QStringLiteral("all"), command};
    QTest::newRow("a policy word in capitals")
        << QStringList{jobId, QStringLiteral("ALL"), command};
    QTest::newRow("an empty policy word") << QStringList{jobId, QString(), command};
    QTest::newRow("a policy word with a trailing space")
        << QStringList{jobId, QStringLiteral("none "), command};
}

void RunnerTest::invalidArgumentsLeaveNoTrace()
{
    QFETCH(QStringList, arguments);
    const RunnerFixture runner;
    QCOMPARE(runner.run(arguments).exitCode, 64);
    QVERIFY(!QFileInfo::exists(runner.root()));
}

void RunnerTest::upperCaseIdIsAccepted()
{
    const RunnerFixture runner;
    const QString upper = jobId.toUpper();
    QCOMPARE(runner.run({upper, QStringLiteral("all"), RunnerFixture::encoded("true")}).exitCode,
             0);
    QVERIFY(!onlyRecordName(runner.runsDirectory(upper)).isEmpty());
}

void RunnerTest::longOutputKeepsExactlyTheLastMebibyte()
{
    const RunnerFixture runner;
    const int count = 200000;
    QByteArray expected;
    for (int i = 1; i <= count; ++i)
        expected += QByteArray::number(i) + '\n';
    QVERIFY(expected.size() > 1048576);
    expected = expected.right(1048576);

    const auto result = runner.run({jobId, QStringLiteral("all"),
                                    RunnerFixture::encoded("seq 1 " + QByteArray::number(count))});
    QCOMPARE(result.exitCode, 0);
    const QString runs = runner.runsDirectory(jobId);
    const QString runId = onlyRecordName(runs).chopped(4);
    QCOMPARE(contents(runs + u'/' + runId + QStringLiteral(".log")), expected);
}

void RunnerTest::hundredFirstRecordPrunesTheOldest()
{
    const RunnerFixture runner;
    const QString runs = runner.runsDirectory(jobId);
    QVERIFY(QDir().mkpath(runs));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int i = 0; i < 100; ++i) {
        const QDateTime modified = now.addSecs(-3600 + i * 10);
        const QString base =
            runs + QStringLiteral("/%1-%2").arg(modified.toSecsSinceEpoch()).arg(i + 100);
        writeFile(base + QStringLiteral(".run"), "version=1\n", modified);
        if (i < 2) {
            writeFile(base + QStringLiteral(".log"), "old output\n", modified);
            writeFile(base + QStringLiteral(".running"), "version=1\n", modified);
        }
    }
    const QStringList before = filesIn(runs);
    QCOMPARE(before.size(), 104);
    const QString oldest = QStringLiteral("%1-100").arg(now.addSecs(-3600).toSecsSinceEpoch());
    const QString second = QStringLiteral("%1-101").arg(now.addSecs(-3590).toSecsSinceEpoch());

    QCOMPARE(runner.run({jobId, QStringLiteral("none"), RunnerFixture::encoded("true")}).exitCode,
             0);

    const QStringList after = filesIn(runs);
    QCOMPARE(QDir(runs).entryList({QStringLiteral("*.run")}, QDir::Files).size(), 100);
    for (const auto* extension : {".run", ".log", ".running"})
        QVERIFY2(!after.contains(oldest + QLatin1StringView(extension)), extension);
    for (const auto* extension : {".run", ".log", ".running"})
        QVERIFY2(after.contains(second + QLatin1StringView(extension)), extension);
}

void RunnerTest::filesOlderThanThirtyDaysArePruned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("ageInDays");
    QTest::addColumn<bool>("isRemoved");

    QTest::newRow("a record of 31 days and an hour is removed") << "1-1.run" << 31.05 << true;
    QTest::newRow("a log of 40 days is removed") << "1-1.log" << 40.0 << true;
    QTest::newRow("a running marker of 40 days is removed") << "1-1.running" << 40.0 << true;
    QTest::newRow("a stray scratch file of 40 days is removed") << "1-1.tmp" << 40.0 << true;
    QTest::newRow("a record of 30 and a half days stays") << "1-1.run" << 30.5 << false;
    QTest::newRow("a record of 29 days stays") << "1-1.run" << 29.0 << false;
}

void RunnerTest::filesOlderThanThirtyDaysArePruned()
{
    QFETCH(QString, name);
    QFETCH(double, ageInDays);
    QFETCH(bool, isRemoved);

    const RunnerFixture runner;
    const QString runs = runner.runsDirectory(jobId);
    QVERIFY(QDir().mkpath(runs));
    const QDateTime modified = QDateTime::currentDateTimeUtc().addSecs(-qint64(ageInDays * 86400));
    writeFile(runs + u'/' + name, "version=1\n", modified);

    QCOMPARE(runner.run({jobId, QStringLiteral("none"), RunnerFixture::encoded("true")}).exitCode,
             0);
    QCOMPARE(QFile::exists(runs + u'/' + name), !isRemoved);
    QVERIFY(!onlyRecordName(runs).isEmpty() || !isRemoved);
}

void RunnerTest::shellFallsBackToBinSh_data()
{
    QTest::addColumn<std::optional<QString>>("shell");
    QTest::addColumn<QString>("expectedShell");

    QTest::newRow("SHELL unset runs /bin/sh") << std::optional<QString>() << "/bin/sh";
    QTest::newRow("SHELL empty runs /bin/sh") << std::optional<QString>(QString()) << "/bin/sh";
    QTest::newRow("SHELL naming a file that is not executable runs /bin/sh")
        << std::optional<QString>(QStringLiteral("NOT_EXECUTABLE")) << "/bin/sh";
    QTest::newRow("SHELL naming a directory runs /bin/sh")
        << std::optional<QString>(QStringLiteral("/usr/bin")) << "/bin/sh";
    QTest::newRow("SHELL naming a missing file runs /bin/sh")
        << std::optional<QString>(QStringLiteral("/nonexistent/shell")) << "/bin/sh";
    QTest::newRow("SHELL naming an executable shell runs that shell")
        << std::optional<QString>(QStringLiteral("/bin/bash")) << "/bin/bash";
}

void RunnerTest::shellFallsBackToBinSh()
{
    QFETCH(std::optional<QString>, shell);
    QFETCH(QString, expectedShell);

    const RunnerFixture runner;
    // bash gives an unset SHELL the login shell before the script can look at it.
    const bool isBash = RunnerFixture::shellCommand().front().endsWith(QStringLiteral("bash"));
    if (isBash && !shell.has_value()) {
        const passwd* user = ::getpwuid(::getuid());
        QVERIFY(user);
        expectedShell = QString::fromLocal8Bit(user->pw_shell);
    }
    if (shell == QStringLiteral("NOT_EXECUTABLE")) {
        shell = runner.base() + QStringLiteral("/not-executable");
        writeFile(*shell, "#!/bin/sh\necho wrong\n", QDateTime::currentDateTimeUtc());
    }
    const auto result = runner.run(
        {jobId, QStringLiteral("all"), RunnerFixture::encoded("printf '%s' \"$0\"")}, shell);
    QCOMPARE(result.exitCode, 0);
    const QString runs = runner.runsDirectory(jobId);
    const QString runId = onlyRecordName(runs).chopped(4);
    QCOMPARE(QString::fromUtf8(contents(runs + u'/' + runId + QStringLiteral(".log"))),
             expectedShell);
}

void RunnerTest::killedRunnerLeavesAnInterruptedRun()
{
    const RunnerFixture runner;
    QProcess process;
    // Its own process group, so the command dies with the runner.
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    QStringList command = RunnerFixture::shellCommand();
    process.setProgram(command.takeFirst());
    process.setArguments(command + QStringList{runner.scriptPath(), jobId, QStringLiteral("all"),
                                               RunnerFixture::encoded("echo started; sleep 60")});
    process.start();
    QVERIFY(process.waitForStarted());

    const QString runs = runner.runsDirectory(jobId);
    QTRY_VERIFY_WITH_TIMEOUT(
        !QDir(runs).entryList({QStringLiteral("*.running")}, QDir::Files).isEmpty(), 10000);
    ExecutionRecordReader reader;
    QCOMPARE(reader.summary(runner.root() + u'/' + jobId).state, JobExecutionState::running());

    ::kill(-pid_t(process.processId()), SIGKILL);
    QVERIFY(process.waitForFinished());

    const JobExecutionSummary summary =
        ExecutionRecordReader().summary(runner.root() + u'/' + jobId);
    QCOMPARE(summary.state, JobExecutionState::interrupted());
    QVERIFY(summary.latestRecord);
    QCOMPARE(summary.latestRecord->exitCode, std::nullopt);
    QCOMPARE(summary.latestRecord->endedAt, std::nullopt);
    QVERIFY(!summary.latestRecord->isRunning);
}

void RunnerTest::concurrentRunsKeepSeparateRecords()
{
    const RunnerFixture runner;
    QList<QProcess*> processes;
    for (int i = 0; i < 2; ++i) {
        auto* process = new QProcess(this);
        QStringList command = RunnerFixture::shellCommand();
        process->setProgram(command.takeFirst());
        process->setArguments(command + QStringList{runner.scriptPath(), jobId,
                                                    QStringLiteral("all"),
                                                    RunnerFixture::encoded("echo run")});
        processes.append(process);
    }
    for (QProcess* process : processes)
        process->start();
    for (QProcess* process : processes) {
        QVERIFY(process->waitForFinished());
        QCOMPARE(process->exitCode(), 0);
    }
    const QString runs = runner.runsDirectory(jobId);
    const auto records = ExecutionRecordReader().history(runner.root() + u'/' + jobId);
    QCOMPARE(records.size(), 2);
    QVERIFY(records[0].id != records[1].id);
    for (const auto& record : records)
        QCOMPARE(record.output, QStringLiteral("run\n"));
    qDeleteAll(processes);
}

QTEST_GUILESS_MAIN(RunnerTest)
#include "tst_runner.moc"
