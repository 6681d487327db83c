// The installed runner on a user's machine when things go wrong: a full disk, directories it
// may not write, links planted where it writes. Whenever it cannot record, the job must run
// exactly as cron runs it unmonitored; whatever it writes, it writes only to fresh files of
// its own.
#include "CrontabTool.h"
#include "ExecutionRecordReader.h"
#include "ExecutionService.h"
#include "FullFileSystem.h"
#include "TestFiles.h"

#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <qcoro/qcorotask.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Tempolane;

namespace {

const QString jobId = QStringLiteral("0b5c3d1e-7a2f-4c11-9e3b-5d6f7a8b9c0d");

// Everything a job gives back to whoever started it; cron mails what it prints.
struct Outcome
{
    int status = -1;
    QByteArray out;
    QByteArray err;

    friend bool operator==(const Outcome&, const Outcome&) = default;
};

char* toString(const Outcome& outcome)
{
    return qstrdup("status " + QByteArray::number(outcome.status) + ", output \"" + outcome.out +
                   "\", errors \"" + outcome.err + '"');
}

Outcome run(const QString& program, const QStringList& arguments, const QByteArray& input = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SHELL"), QStringLiteral("/bin/sh"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QStringList filesBelow(const QString& directory)
{
    QStringList files;
    QDirIterator it(directory, QDir::Files | QDir::System | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    return files;
}

} // namespace

class RunnerFaultsTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ::umask(022); }

    void init()
    {
        m_directory = std::make_unique<QTemporaryDir>();
        m_tmpfs = qEnvironmentVariable("TEMPOLANE_TEST_TMPFS");
        // Empties the file system; only its mount point stays.
        if (!m_tmpfs.isEmpty())
            QDir(m_tmpfs).removeRecursively();
    }

    void jobRunsAsUnmonitoredWhereNothingCanBeRecorded_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("policy");
        for (const auto& [fault, policy] :
             {std::pair{"disk full", "all"}, std::pair{"no inode left", "errors"},
              std::pair{"executions directory not writable", "none"},
              std::pair{"job directory is a symbolic link", "all"},
              std::pair{"run directory is a symbolic link", "errors"}})
            QTest::newRow(fault) << QString::fromUtf8(fault) << QString::fromUtf8(policy);
    }

    void jobRunsAsUnmonitoredWhereNothingCanBeRecorded()
    {
        QFETCH(QString, fault);
        QFETCH(QString, policy);

        const bool needsTmpfs = fault == u"disk full" || fault == u"no inode left";
        if (needsTmpfs && m_tmpfs.isEmpty())
            QSKIP("needs a file system to fill: run through scripts/run-as-test-user --tmpfs");
        if (fault.contains(u"not writable") && ::geteuid() == 0)
            QSKIP("root writes anywhere: run through scripts/run-as-test-user");

        const QString root = (needsTmpfs ? m_tmpfs : m_directory->path()) + "/Executions";
        const QString runner = installRunner(root);
        QVERIFY(!runner.isEmpty());
        const QString job = root + u'/' + jobId;
        const QString elsewhere = m_directory->filePath(QStringLiteral("elsewhere"));
        QVERIFY(QDir().mkpath(elsewhere));
        if (fault == u"disk full" || fault == u"no inode left") {
            Testing::fillFileSystem(m_tmpfs, fault == u"no inode left");
        } else if (fault == u"executions directory not writable") {
            QVERIFY(::chmod(QFile::encodeName(root).constData(), 0500) == 0);
        } else if (fault == u"job directory is a symbolic link") {
            QVERIFY(QFile::link(elsewhere, job));
        } else {
            QVERIFY(QDir().mkpath(job));
            QVERIFY(QFile::link(elsewhere, job + "/runs"));
        }

        // Input, output, errors and status all reach the job and come back from it.
        const QByteArray command = "printf 'out\\n'; printf 'err\\n' >&2; read -r line; "
                                   "printf 'read %s\\n' \"$line\"; exit 7";
        const Outcome unmonitored = run(QStringLiteral("/bin/sh"), {"-c", command}, "input\n");
        QCOMPARE(unmonitored, (Outcome{7, "out\nread input\n", "err\n"}));
        const Outcome monitored =
            run(runner, {jobId, policy, QString::fromLatin1(command.toBase64())}, "input\n");
        QCOMPARE(monitored, unmonitored);

        const QStringList recorded = filesBelow(root) + filesBelow(elsewhere);
        QVERIFY2(recorded.isEmpty(), qPrintable(recorded.join(u' ')));
    }

    void outputBeyondTheFreeSpaceKeepsItsLastMebibyte()
    {
        if (m_tmpfs.isEmpty())
            QSKIP("needs a file system to fill: run through scripts/run-as-test-user --tmpfs");
        // Four times what the disk holds: written straight to the log, it would fill the disk and
        // the job's own writes would fail.
        const QString root = m_tmpfs + "/Executions";
        const QString runner = installRunner(root);
        QVERIFY(!runner.isEmpty());
        const QByteArray command = "dd if=/dev/zero bs=65536 count=128 2>/dev/null | tr '\\0' x";
        QCOMPARE(run(runner, {jobId, "all", QString::fromLatin1(command.toBase64())}),
                 (Outcome{0, {}, {}}));

        const auto records = ExecutionRecordReader().history(root + u'/' + jobId);
        QCOMPARE(records.size(), 1);
        QCOMPARE(records[0].exitCode, 0);
        QCOMPARE(records[0].output, QString(1048576, u'x'));
    }

    void plantedLinksAreReplacedNeverFollowed()
    {
        const QString root = m_directory->filePath(QStringLiteral("Executions"));
        const QString runner = installRunner(root);
        QVERIFY(!runner.isEmpty());
        const QString runs = root + u'/' + jobId + "/runs";
        QVERIFY(QDir().mkpath(runs));
        const QString victim = m_directory->filePath(QStringLiteral("victim"));
        const QString dangling = m_directory->filePath(QStringLiteral("created-through-a-link"));
        const QString elsewhere = m_directory->filePath(QStringLiteral("elsewhere"));
        QVERIFY(Testing::writeFile(victim, "precious\n"));
        QVERIFY(QDir().mkpath(elsewhere));

        // Links at every name the run can take in the next seconds; `exec` keeps the process id
        // the runner names its files by.
        const QString plant = QStringLiteral(
            "runs=$1 victim=$2 dangling=$3 elsewhere=$4; shift 4; start=$(date +%s)\n"
            "for second in $start $((start + 1)) $((start + 2)); do\n"
            "  ln -s \"$victim\" \"$runs/$second-$$.running\"\n"
            "  ln -s \"$victim\" \"$runs/$second-$$.log\"\n"
            "  ln -s \"$dangling\" \"$runs/$second-$$.tmp\"\n"
            "  ln -s \"$elsewhere\" \"$runs/$second-$$.run\"\n"
            "done\n"
            "exec \"$@\"");
        const QByteArray command = "echo hello; exit 3";
        QCOMPARE(run(QStringLiteral("/bin/sh"),
                     {"-c", plant, "sh", runs, victim, dangling, elsewhere, runner, jobId, "all",
                      QString::fromLatin1(command.toBase64())}),
                 (Outcome{3, {}, {}}));

        QCOMPARE(Testing::contents(victim), "precious\n");
        QVERIFY(!QFileInfo::exists(dangling));
        QVERIFY(filesBelow(elsewhere).isEmpty());
        const auto records = ExecutionRecordReader().history(root + u'/' + jobId);
        QCOMPARE(records.size(), 1);
        QCOMPARE(records[0].exitCode, 3);
        QCOMPARE(records[0].output, QStringLiteral("hello\n"));
        for (const char* extension : {".run", ".log"})
            QCOMPARE(Testing::linkMode(runs + u'/' + records[0].id + extension),
                     mode_t(S_IFREG | 0600));
    }

private:
    // Installs the runner for an executions root on the tiny file system or beside it.
    QString installRunner(const QString& root)
    {
        const QString runner = m_directory->filePath(QStringLiteral("Runner/tempolane-runner"));
        ExecutionService service(root, runner);
        const auto installed = QCoro::waitFor(service.installRunner());
        return installed ? runner : QString();
    }
    std::unique_ptr<QTemporaryDir> m_directory;
    QString m_tmpfs;
};

QTEST_GUILESS_MAIN(RunnerFaultsTest)
#include "tst_runner_faults.moc"
