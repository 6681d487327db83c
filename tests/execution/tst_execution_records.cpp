#include "ExecutionRecordReader.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>

using namespace Tempolane;

namespace {

QDateTime at(double seconds)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(seconds * 1000), Qt::UTC);
}

QByteArray runRecord(qint64 start, qint64 end, int exit, const QByteArray& log = {})
{
    return "version=1\nstart=" + QByteArray::number(start) + "\nend=" + QByteArray::number(end) +
           "\nexit=" + QByteArray::number(exit) + "\npid=1\nlog=" + log + '\n';
}

QByteArray runningMarker(qint64 start, qint64 pid)
{
    return "version=1\nstart=" + QByteArray::number(start) + "\npid=" + QByteArray::number(pid) +
           '\n';
}

// A pid that no process holds any more.
qint64 deadPid()
{
    QProcess process;
    process.start(QStringLiteral("/bin/true"));
    process.waitForFinished();
    return process.processId() ? process.processId() : 999999;
}

// A job directory in a temporary root.
class JobDirectory final
{
public:
    JobDirectory() { QDir().mkpath(runs()); }
    QString path() const { return m_directory.path() + QStringLiteral("/job"); }
    QString runs() const { return path() + QStringLiteral("/runs"); }

    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(runs() + u'/' + name);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    void writeInJob(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path() + u'/' + name);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

private:
    QTemporaryDir m_directory;
};

// Far enough ahead that every file counts as settled, so the cache is really used.
Clock settledClock()
{
    return [] { return QDateTime::currentDateTimeUtc().addSecs(3600); };
}

} // namespace

class ExecutionRecordsTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void recordFieldsAreReadStrictly_data();
    void recordFieldsAreReadStrictly();
    void outputFollowsTheLogRule_data();
    void outputFollowsTheLogRule();
    void specialAndOversizedFilesAreSkipped();
    void runningMarkerLiveness_data();
    void runningMarkerLiveness();
    void onlyTheNewestRecordDecidesTheState_data();
    void onlyTheNewestRecordDecidesTheState();
    void finishingRunIsListedOnce();
    void monitoringStartIsTrimmed_data();
    void monitoringStartIsTrimmed();
    void cachedResultsEqualAPlainReread();
    void steadyRefreshReadsNoLogBytes();
};

void ExecutionRecordsTest::recordFieldsAreReadStrictly_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("isRead");
    QTest::addColumn<double>("start");
    QTest::addColumn<QVariant>("exitCode");

    const QByteArray head = "version=1\nstart=100\nend=105\n";
    QTest::newRow("a complete record is read")
        << "100-1.run" << runRecord(100, 105, 0) << true << 100.0 << QVariant(0);
    QTest::newRow("an exit line with an empty value is skipped")
        << "100-1.run" << head + "exit=\npid=1\nlog=\n"
        << false << 0.0 << QVariant();
    QTest::newRow("a record without end is skipped")
        << "100-1.run" << QByteArray("start=100\nexit=0\n") << false << 0.0 << QVariant();
    QTest::newRow("a start with trailing text is skipped")
        << "100-1.run" << QByteArray("start=100s\nend=105\nexit=0\n") << false << 0.0 << QVariant();
    QTest::newRow("a start with a leading space is skipped")
        << "100-1.run" << QByteArray("start= 100\nend=105\nexit=0\n") << false << 0.0 << QVariant();
    QTest::newRow("a start in exponent notation is read")
        << "100-1.run" << QByteArray("start=1.5e2\nend=155\nexit=0\n") << true << 150.0
        << QVariant(0);
    QTest::newRow("a start with a fraction and a sign is read")
        << "100-1.run" << QByteArray("start=+100.25\nend=105\nexit=0\n") << true << 100.25
        << QVariant(0);
    QTest::newRow("a start far beyond any calendar is skipped")
        << "100-1.run" << QByteArray("start=1e300\nend=105\nexit=0\n") << false << 0.0
        << QVariant();
    QTest::newRow("an infinite start is skipped")
        << "100-1.run" << QByteArray("start=inf\nend=105\nexit=0\n") << false << 0.0 << QVariant();
    QTest::newRow("a negative exit with a sign is read") << "100-1.run" << head + "exit=-3\n"
                                                         << true << 100.0 << QVariant(-3);
    QTest::newRow("an exit with a plus sign is read") << "100-1.run" << head + "exit=+7\n"
                                                      << true << 100.0 << QVariant(7);
    QTest::newRow("an exit beyond 32 bits is skipped") << "100-1.run" << head + "exit=2147483648\n"
                                                       << false << 0.0 << QVariant();
    QTest::newRow("a fractional exit is skipped") << "100-1.run" << head + "exit=1.0\n"
                                                  << false << 0.0 << QVariant();
    QTest::newRow("carriage returns make the values unreadable")
        << "100-1.run" << QByteArray("start=100\r\nend=105\r\nexit=0\r\n") << false << 0.0
        << QVariant();
    QTest::newRow("the later of two equal keys wins") << "100-1.run" << head + "exit=1\nexit=0\n"
                                                      << true << 100.0 << QVariant(0);
    QTest::newRow("lines without an equals sign and blank lines are ignored")
        << "100-1.run" << QByteArray("\n\nnoise\nstart=100\n\nend=105\nexit=4\n") << true << 100.0
        << QVariant(4);
    QTest::newRow("a record that is not UTF-8 is skipped")
        << "100-1.run" << head + "exit=0\nlog=\xff\n"
        << false << 0.0 << QVariant();
    QTest::newRow("a running marker is read without an exit")
        << "100-1.running" << runningMarker(100, 1) << true << 100.0 << QVariant();
    QTest::newRow("a running marker without a pid is skipped")
        << "100-1.running" << QByteArray("version=1\nstart=100\n") << false << 0.0 << QVariant();
    QTest::newRow("a hidden record is skipped")
        << ".100-1.run" << runRecord(100, 105, 0) << false << 0.0 << QVariant();
    QTest::newRow("a file with another extension is skipped")
        << "100-1.run.tmp" << runRecord(100, 105, 0) << false << 0.0 << QVariant();
}

void ExecutionRecordsTest::recordFieldsAreReadStrictly()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, isRead);
    QFETCH(double, start);
    QFETCH(QVariant, exitCode);

    const JobDirectory job;
    job.write(name, content);
    const auto records = ExecutionRecordReader().history(job.path());
    QCOMPARE(records.size(), isRead ? 1 : 0);
    if (!isRead) {
        QCOMPARE(ExecutionRecordReader().summary(job.path()).state, JobExecutionState::waiting());
        return;
    }
    QCOMPARE(records[0].id, name.first(name.lastIndexOf(u'.')));
    QCOMPARE(records[0].startedAt, at(start));
    QCOMPARE(records[0].exitCode.has_value(), !exitCode.isNull());
    if (!exitCode.isNull())
        QCOMPARE(*records[0].exitCode, exitCode.toInt());
}

void ExecutionRecordsTest::outputFollowsTheLogRule_data()
{
    QTest::addColumn<QByteArray>("logValue");
    QTest::addColumn<QByteArray>("logContent"); // null: no such file
    QTest::addColumn<std::optional<QString>>("output");

    QTest::newRow("a log is read as UTF-8") << QByteArray("1-1.log") << QByteArray("Grüße\n")
                                            << std::optional(QStringLiteral("Grüße\n"));
    QTest::newRow("a log name with equals signs is taken whole")
        << QByteArray("a=b.log") << QByteArray("x") << std::optional(QStringLiteral("x"));
    QTest::newRow("a log name with a slash is never opened")
        << QByteArray("../secret") << QByteArray() << std::optional<QString>();
    QTest::newRow("a log of invalid UTF-8 gives no output")
        << QByteArray("1-1.log") << QByteArray("ok \xff\xfe") << std::optional<QString>();
    QTest::newRow("a log cut inside a character gives no output")
        << QByteArray("1-1.log") << QByteArray("\xbc\x9f rest") << std::optional<QString>();
    QTest::newRow("an empty log gives no output")
        << QByteArray("1-1.log") << QByteArray("") << std::optional<QString>();
    QTest::newRow("a missing log gives no output")
        << QByteArray("1-1.log") << QByteArray() << std::optional<QString>();
    QTest::newRow("an empty log value gives no output")
        << QByteArray() << QByteArray() << std::optional<QString>();
    QTest::newRow("a log over a mebibyte is read from its last mebibyte")
        << QByteArray("1-1.log") << QByteArray(3, '\xff') + QByteArray(1048576, 'x')
        << std::optional(QString(1048576, u'x'));
}

void ExecutionRecordsTest::outputFollowsTheLogRule()
{
    QFETCH(QByteArray, logValue);
    QFETCH(QByteArray, logContent);
    QFETCH(std::optional<QString>, output);

    const JobDirectory job;
    job.writeInJob(QStringLiteral("secret"), "never shown");
    job.write(QStringLiteral("100-1.run"), runRecord(100, 105, 0, logValue));
    if (!logContent.isNull())
        job.write(QString::fromLatin1(logValue), logContent);

    ExecutionRecordReader reader;
    const auto records = reader.history(job.path());
    QCOMPARE(records.size(), 1);
    QCOMPARE(records[0].output, output);
    QCOMPARE(reader.summary(job.path()).latestRecord->output, output);
}

void ExecutionRecordsTest::specialAndOversizedFilesAreSkipped()
{
    const JobDirectory job;
    for (const auto* name : {"300-1.run", "300-2.running", "200-1.log"})
        QCOMPARE(::mkfifo(QFile::encodeName(job.runs() + u'/' + QLatin1StringView(name)), 0600), 0);
    job.write(QStringLiteral("200-1.run"), runRecord(200, 201, 0, "200-1.log"));
    job.write(QStringLiteral("400-1.run"), runRecord(400, 401, 0) + QByteArray(8192, '\n'));
    QVERIFY(QFile::link(job.runs() + QStringLiteral("/200-1.run"),
                        job.runs() + QStringLiteral("/500-1.run")));

    // A FIFO opened for reading would wait for a writer; reaching the checks is the proof.
    const auto records = ExecutionRecordReader().history(job.path());
    QCOMPARE(records.size(), 1);
    QCOMPARE(records[0].id, QStringLiteral("200-1"));
    QCOMPARE(records[0].output, std::nullopt);
}

void ExecutionRecordsTest::runningMarkerLiveness_data()
{
    QTest::addColumn<QString>("process");
    QTest::addColumn<qint64>("markerAgeSeconds");
    QTest::addColumn<bool>("isRunning");

    QTest::newRow("a live process started before the marker is running")
        << "own" << qint64(0) << true;
    QTest::newRow("a live process that started long after the marker is another one")
        << "own" << qint64(3600) << false;
    QTest::newRow("a process of another user counts as running") << "init" << qint64(0) << true;
    QTest::newRow("a dead process is not running") << "dead" << qint64(0) << false;
    QTest::newRow("pid zero never counts as running") << "zero" << qint64(0) << false;
    QTest::newRow("a negative pid never counts as running") << "negative" << qint64(0) << false;
}

void ExecutionRecordsTest::runningMarkerLiveness()
{
    QFETCH(QString, process);
    QFETCH(qint64, markerAgeSeconds);
    QFETCH(bool, isRunning);

    QProcess sleeper;
    qint64 pid = 0;
    if (process == u"own") {
        sleeper.start(QStringLiteral("/bin/sleep"), {QStringLiteral("30")});
        QVERIFY(sleeper.waitForStarted());
        pid = sleeper.processId();
    } else if (process == u"init") {
        pid = 1;
    } else if (process == u"dead") {
        pid = deadPid();
    } else if (process == u"negative") {
        pid = -1;
    }
    const JobDirectory job;
    const qint64 start = QDateTime::currentSecsSinceEpoch() - markerAgeSeconds;
    job.write(QStringLiteral("%1-%2.running").arg(start).arg(pid), runningMarker(start, pid));

    const JobExecutionSummary summary = ExecutionRecordReader().summary(job.path());
    QCOMPARE(summary.latestRecord->isRunning, isRunning);
    QCOMPARE(summary.state,
             isRunning ? JobExecutionState::running() : JobExecutionState::interrupted());
    if (sleeper.state() != QProcess::NotRunning) {
        sleeper.kill();
        sleeper.waitForFinished();
    }
}

void ExecutionRecordsTest::onlyTheNewestRecordDecidesTheState_data()
{
    QTest::addColumn<QList<QPair<QString, QByteArray>>>("files");
    QTest::addColumn<JobExecutionState>("state");
    QTest::addColumn<QStringList>("historyIds");

    using Files = QList<QPair<QString, QByteArray>>;
    const qint64 dead = deadPid();
    QTest::newRow("no run directory content means waiting")
        << Files{} << JobExecutionState::waiting() << QStringList{};
    QTest::newRow("a stale marker behind a newer record is listed but hidden")
        << Files{{"100-7.running", runningMarker(100, dead)}, {"200-1.run", runRecord(200, 201, 0)}}
        << JobExecutionState::succeeded() << QStringList{"200-1", "100-7"};
    QTest::newRow("a dead marker newer than every record means interrupted")
        << Files{{"300-7.running", runningMarker(300, dead)}, {"200-1.run", runRecord(200, 201, 0)}}
        << JobExecutionState::interrupted() << QStringList{"300-7", "200-1"};
    QTest::newRow("the newest failure decides over older successes")
        << Files{{"100-1.run", runRecord(100, 101, 0)}, {"200-1.run", runRecord(200, 201, 2)}}
        << JobExecutionState::failed(2) << QStringList{"200-1", "100-1"};
    QTest::newRow("records sort by start, not by name")
        << Files{{"900-1.run", runRecord(100, 101, 5)}, {"100-1.run", runRecord(200, 201, 0)}}
        << JobExecutionState::succeeded() << QStringList{"100-1", "900-1"};
    QTest::newRow("runs of the same second sort by pid as a number")
        << Files{{"100-9.run", runRecord(100, 101, 9)}, {"100-10.run", runRecord(100, 101, 10)}}
        << JobExecutionState::failed(10) << QStringList{"100-10", "100-9"};
}

void ExecutionRecordsTest::onlyTheNewestRecordDecidesTheState()
{
    using Files = QList<QPair<QString, QByteArray>>;
    QFETCH(Files, files);
    QFETCH(JobExecutionState, state);
    QFETCH(QStringList, historyIds);

    const JobDirectory job;
    for (const auto& [name, content] : files)
        job.write(name, content);
    ExecutionRecordReader reader;
    QCOMPARE(reader.summary(job.path()).state, state);
    QStringList ids;
    for (const auto& record : reader.history(job.path()))
        ids.append(record.id);
    QCOMPARE(ids, historyIds);
}

void ExecutionRecordsTest::finishingRunIsListedOnce()
{
    const JobDirectory job;
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    job.write(QStringLiteral("%1-1.running").arg(now), runningMarker(now, 1));
    job.write(QStringLiteral("%1-1.run").arg(now), runRecord(now, now, 0));
    const auto records = ExecutionRecordReader().history(job.path());
    QCOMPARE(records.size(), 1);
    QCOMPARE(records[0].exitCode, 0);
}

void ExecutionRecordsTest::monitoringStartIsTrimmed_data()
{
    QTest::addColumn<QByteArray>("content"); // null: no marker
    QTest::addColumn<std::optional<QDateTime>>("startedAt");

    QTest::newRow("whole seconds are read")
        << QByteArray("1700000000") << std::optional(at(1700000000));
    QTest::newRow("a trailing line break and spaces are trimmed")
        << QByteArray(" 1700000000\n  \n") << std::optional(at(1700000000));
    QTest::newRow("a fraction is read")
        << QByteArray("1700000000.5") << std::optional(at(1700000000.5));
    QTest::newRow("text that is no number gives no start")
        << QByteArray("yesterday") << std::optional<QDateTime>();
    QTest::newRow("an empty marker gives no start") << QByteArray("") << std::optional<QDateTime>();
    QTest::newRow("no marker gives no start") << QByteArray() << std::optional<QDateTime>();
}

void ExecutionRecordsTest::monitoringStartIsTrimmed()
{
    QFETCH(QByteArray, content);
    QFETCH(std::optional<QDateTime>, startedAt);
    const JobDirectory job;
    if (!content.isNull())
        job.writeInJob(QStringLiteral("monitoring-started"), content);
    QCOMPARE(ExecutionRecordReader().summary(job.path()).monitoringStartedAt, startedAt);
}

void ExecutionRecordsTest::cachedResultsEqualAPlainReread()
{
    const JobDirectory job;
    ExecutionRecordReader cached(settledClock());
    const qint64 dead = deadPid();

    // Each step changes the directory the way runners, pruning or a user might.
    const QList<std::function<void()>> steps{
        [&] {},
        [&] {
            job.write(QStringLiteral("100-1.run"), runRecord(100, 101, 0, "100-1.log"));
            job.write(QStringLiteral("100-1.log"), "first\n");
            job.writeInJob(QStringLiteral("monitoring-started"), "90");
        },
        [&] { job.write(QStringLiteral("200-2.running"), runningMarker(200, dead)); },
        [&] {
            job.write(QStringLiteral("200-2.run"), runRecord(200, 202, 3, "200-2.log"));
            job.write(QStringLiteral("200-2.log"), "oops\n");
            QFile::remove(job.runs() + QStringLiteral("/200-2.running"));
        },
        // Same size, content changed in place.
        [&] { job.write(QStringLiteral("200-2.log"), "fail\n"); },
        [&] { job.write(QStringLiteral("200-2.run"), runRecord(200, 202, 4, "200-2.log")); },
        // Same size, and the modification time put back to the nanosecond.
        [&] {
            const QByteArray path = QFile::encodeName(job.runs() + QStringLiteral("/100-1.log"));
            struct stat before
            {
            };
            QCOMPARE(::stat(path.constData(), &before), 0);
            job.write(QStringLiteral("100-1.log"), "FIRST\n");
            const timespec times[2] = {before.st_atim, before.st_mtim};
            QCOMPARE(::utimensat(AT_FDCWD, path.constData(), times, 0), 0);
        },
        [&] { job.writeInJob(QStringLiteral("monitoring-started"), "95"); },
        [&] { QFile::remove(job.runs() + QStringLiteral("/200-2.log")); },
        [&] { QFile::remove(job.runs() + QStringLiteral("/200-2.run")); },
        [&] {
            QFile::rename(job.runs() + QStringLiteral("/100-1.run"),
                          job.runs() + QStringLiteral("/150-1.run"));
        },
        [&] { QDir(job.runs()).removeRecursively(); },
    };
    for (qsizetype i = 0; i < steps.size(); ++i) {
        steps[i]();
        ExecutionRecordReader plain;
        // Twice: the second call is the one served from memory.
        for (int round = 0; round < 2; ++round) {
            QCOMPARE(cached.summary(job.path()), plain.summary(job.path()));
            QCOMPARE(cached.history(job.path()), plain.history(job.path()));
        }
    }
}

void ExecutionRecordsTest::steadyRefreshReadsNoLogBytes()
{
    const JobDirectory job;
    for (int i = 1; i <= 5; ++i) {
        const QString id = QStringLiteral("%1-1").arg(i * 100);
        job.write(id + QStringLiteral(".run"),
                  runRecord(i * 100, i * 100 + 1, 0, id.toLatin1() + ".log"));
        job.write(id + QStringLiteral(".log"), QByteArray(1000 * i, 'a'));
    }
    ExecutionRecordReader reader(settledClock());
    reader.summary(job.path());
    QCOMPARE(reader.logBytesRead(), 5000); // the newest log only
    reader.summary(job.path());
    QCOMPARE(reader.logBytesRead(), 5000);
    reader.history(job.path());
    QCOMPARE(reader.logBytesRead(), 15000); // the others, once
    reader.history(job.path());
    reader.summary(job.path());
    QCOMPARE(reader.logBytesRead(), 15000);
}

QTEST_GUILESS_MAIN(ExecutionRecordsTest)
#include "tst_execution_records.moc"
