#include "ExecutionRecordReader.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>

using namespace Tempolane;

namespace {

using Files = QList<QPair<QString, QByteArray>>;

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
    process.start("/bin/true");
    process.waitForFinished();
    return process.processId() ? process.processId() : 999999;
}

// A job directory in a temporary root; names are relative to it.
class JobDirectory final
{
public:
    JobDirectory() { QDir().mkpath(path() + "/runs"); }
    QString path() const { return m_directory.path() + "/job"; }
    void write(const QString& name, const QByteArray& bytes) const
    {
        QVERIFY(Testing::writeFile(path() + u'/' + name, bytes));
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
    void recordFieldsAreReadStrictly_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<double>("start"); // negative: the file is skipped
        QTest::addColumn<QVariant>("exitCode");

        const auto skipped = [](const char* tag, const QByteArray& content,
                                const QString& name = "100-1.run") {
            QTest::newRow(tag) << name << content << -1.0 << QVariant();
        };
        const QByteArray head = "version=1\nstart=100\nend=105\n";
        QTest::newRow("a complete record is read")
            << "100-1.run" << runRecord(100, 105, 0) << 100.0 << QVariant(0);
        QTest::newRow("a start with a fraction and a sign is read")
            << "100-1.run" << QByteArray("start=+100.25\nend=105\nexit=0\n") << 100.25
            << QVariant(0);
        QTest::newRow("a negative exit is read") << "100-1.run" << head + "exit=-3\n"
                                                 << 100.0 << QVariant(-3);
        QTest::newRow("lines without an equals sign and blank lines are ignored")
            << "100-1.run" << QByteArray("\n\nnoise\nstart=100\n\nend=105\nexit=4\n") << 100.0
            << QVariant(4);
        QTest::newRow("a running marker is read without an exit")
            << "100-1.running" << runningMarker(100, 1) << 100.0 << QVariant();
        skipped("an exit line with an empty value", head + "exit=\npid=1\nlog=\n");
        skipped("a record without end", "start=100\nexit=0\n");
        skipped("a start with trailing text", "start=100s\nend=105\nexit=0\n");
        skipped("an exit beyond 32 bits", head + "exit=2147483648\n");
        skipped("a fractional exit", head + "exit=1.0\n");
        skipped("carriage returns", "start=100\r\nend=105\r\nexit=0\r\n");
        skipped("a running marker without a pid", "version=1\nstart=100\n", "100-1.running");
        skipped("a file with another extension", runRecord(100, 105, 0), "100-1.run.tmp");
    }

    void recordFieldsAreReadStrictly()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(double, start);
        QFETCH(QVariant, exitCode);

        const JobDirectory job;
        job.write("runs/" + name, content);
        const auto records = ExecutionRecordReader().history(job.path());
        QCOMPARE(records.size(), start < 0 ? 0 : 1);
        if (start < 0) {
            QCOMPARE(ExecutionRecordReader().summary(job.path()).state,
                     JobExecutionState::waiting());
            return;
        }
        QCOMPARE(records[0].id, name.first(name.lastIndexOf(u'.')));
        QCOMPARE(records[0].startedAt, at(start));
        QCOMPARE(records[0].exitCode.has_value(), !exitCode.isNull());
        if (!exitCode.isNull())
            QCOMPARE(*records[0].exitCode, exitCode.toInt());
    }

    void outputFollowsTheLogRule_data()
    {
        QTest::addColumn<QByteArray>("logValue");
        QTest::addColumn<QByteArray>("logContent"); // null: no such file
        QTest::addColumn<std::optional<QString>>("output");
        // What the list shows of the failed run: the last meaningful line.
        QTest::addColumn<std::optional<QString>>("line");

        const std::optional<QString> none;
        const auto text = [](const char* tag, const QString& output,
                             const std::optional<QString>& line) {
            QTest::newRow(tag) << QByteArray("1-1.log") << output.toUtf8() << std::optional(output)
                               << line;
        };
        text("a log is read as UTF-8", "Grüße\n", "Grüße");
        QTest::newRow("a log name with a slash is never opened")
            << QByteArray("../secret") << QByteArray() << none << none;
        QTest::newRow("a missing log gives no output")
            << QByteArray("1-1.log") << QByteArray() << none << none;
        QTest::newRow("a log over a mebibyte is read from its last mebibyte")
            << QByteArray("1-1.log") << QByteArray(3, '\xff') + QByteArray(1048576, 'x')
            << std::optional(QString(1048576, u'x')) << std::optional(QString(220, u'x'));
        // One stray byte must not hide the message the user needs.
        QTest::newRow("bytes that are no UTF-8 become replacement characters")
            << QByteArray("1-1.log") << QByteArray("ok \xff\xfe\nFehler: caf\xe9 fehlt\n")
            << std::optional<QString>(QStringLiteral("ok \ufffd\ufffd\nFehler: caf\ufffd fehlt\n"))
            << std::optional<QString>(QStringLiteral("Fehler: caf\ufffd fehlt"));
        const QByteArray umlauts = QString(524287, u'ä').toUtf8();
        QTest::newRow("a tail read inside a character starts after it")
            << QByteArray("1-1.log") << "\xc3\xa4" + umlauts + "xx"
            << std::optional(QString(524287, u'ä') + "xx") << std::optional(QString(220, u'ä'));
        QTest::newRow("a log the runner cut inside a character starts after it")
            << QByteArray("1-1.log") << "\xa4" + umlauts + "x"
            << std::optional(QString(524287, u'ä') + "x") << std::optional(QString(220, u'ä'));
        text("the last line is the last one with more than blanks",
             "working\n\tFehler: Datei fehlt  \n\n \t\n", "Fehler: Datei fehlt");
    }

    void outputFollowsTheLogRule()
    {
        QFETCH(QByteArray, logValue);
        QFETCH(QByteArray, logContent);
        QFETCH(std::optional<QString>, output);
        QFETCH(std::optional<QString>, line);

        const JobDirectory job;
        job.write("secret", "never shown");
        job.write("runs/100-1.run", runRecord(100, 105, 1, logValue));
        if (!logContent.isNull())
            job.write("runs/" + QString::fromLatin1(logValue), logContent);

        ExecutionRecordReader reader;
        const auto records = reader.history(job.path());
        QCOMPARE(records.size(), 1);
        QCOMPARE(records[0].output, output);
        QCOMPARE(reader.summary(job.path()).latestRecord->output, line);
        QCOMPARE(ExecutionRecordReader().summary(job.path()).latestRecord->output, line);
    }

    void historyShowsTheNewestTwentyAndASummaryReadsOneLog()
    {
        // Records planted beyond the runner's hundred cost no more than the shown twenty.
        const JobDirectory job;
        const QByteArray filler(4000, 'x');
        for (int i = 0; i < 400; ++i) {
            const QByteArray id = QByteArray::number(1000 + i) + "-1";
            job.write("runs/" + id + ".run", runRecord(1000 + i, 1001 + i, i % 2, id + ".log"));
            job.write("runs/" + id + ".log", filler + "\nline " + QByteArray::number(i) + '\n');
        }
        const qint64 logSize = filler.size() + 10;

        ExecutionRecordReader reader;
        const auto records = reader.history(job.path());
        QCOMPARE(records.size(), ExecutionRecordReader::shownRecords);
        QCOMPARE(records.front().id, "1399-1");
        QCOMPARE(records.back().id, "1380-1");
        QCOMPARE(reader.logBytesRead(), 20 * logSize);

        // The pictures of the runs take as many as the runner keeps, and read no log.
        ExecutionRecordReader pictures;
        const auto runs = pictures.history(job.path(), ExecutionRecordReader::retainedRecords,
                                           ExecutionRecordReader::Output::none);
        QCOMPARE(runs.size(), 100);
        QCOMPARE(runs.back().id, "1300-1");
        QCOMPARE(runs.front().output, std::nullopt);
        QCOMPARE(pictures.logBytesRead(), 0);

        ExecutionRecordReader lists;
        const JobExecutionSummary summary = lists.summary(job.path());
        QCOMPARE(summary.state, JobExecutionState::failed(1));
        QCOMPARE(summary.latestRecord->output, QStringLiteral("line 399"));
        QCOMPARE(lists.logBytesRead(), logSize);
    }

    void specialAndOversizedFilesAreSkipped()
    {
        const JobDirectory job;
        const QString runs = job.path() + "/runs/";
        for (const char* name : {"300-1.run", "300-2.running", "200-1.log"})
            QCOMPARE(::mkfifo(QFile::encodeName(runs + name).constData(), 0600), 0);
        job.write("runs/200-1.run", runRecord(200, 201, 0, "200-1.log"));
        job.write("runs/400-1.run", runRecord(400, 401, 0) + QByteArray(8192, '\n'));
        QVERIFY(QFile::link(runs + "200-1.run", runs + "500-1.run"));

        // A FIFO opened for reading would wait for a writer; reaching the checks is the proof.
        const auto records = ExecutionRecordReader().history(job.path());
        QCOMPARE(records.size(), 1);
        QCOMPARE(records[0].id, "200-1");
        QCOMPARE(records[0].output, std::nullopt);
    }

    void runningMarkerLiveness_data()
    {
        QTest::addColumn<bool>("isOwnProcess"); // otherwise pid 1
        QTest::addColumn<qint64>("markerAgeSeconds");
        QTest::addColumn<bool>("isRunning");

        QTest::newRow("a live process that started with the run is running")
            << true << qint64(0) << true;
        QTest::newRow("a live process that started long after the run is another one")
            << true << qint64(3600) << false;
        QTest::newRow("a live process that started long before the run is another one")
            << true << qint64(-3600) << false;
        QTest::newRow("pid 1 is never a runner") << false << qint64(0) << false;
    }

    void runningMarkerLiveness()
    {
        QFETCH(bool, isOwnProcess);
        QFETCH(qint64, markerAgeSeconds);
        QFETCH(bool, isRunning);

        QProcess sleeper; // killed by its destructor
        qint64 pid = 1;
        if (isOwnProcess) {
            sleeper.start("/bin/sleep", {"30"});
            QVERIFY(sleeper.waitForStarted());
            pid = sleeper.processId();
        }
        const JobDirectory job;
        const qint64 start = QDateTime::currentSecsSinceEpoch() - markerAgeSeconds;
        job.write(QStringLiteral("runs/%1-%2.running").arg(start).arg(pid),
                  runningMarker(start, pid));

        const JobExecutionSummary summary = ExecutionRecordReader().summary(job.path());
        QCOMPARE(summary.latestRecord->isRunning, isRunning);
        QCOMPARE(summary.state,
                 isRunning ? JobExecutionState::running() : JobExecutionState::interrupted());
    }

    void onlyTheNewestRecordDecidesTheState_data()
    {
        QTest::addColumn<Files>("files");
        QTest::addColumn<JobExecutionState>("state");
        QTest::addColumn<QStringList>("historyIds");

        const qint64 dead = deadPid();
        const qint64 now = QDateTime::currentSecsSinceEpoch();
        const QString finishing = QStringLiteral("%1-1").arg(now);
        QTest::newRow("a stale marker behind a newer record is listed but hidden")
            << Files{{"100-7.running", runningMarker(100, dead)},
                     {"200-1.run", runRecord(200, 201, 0)}}
            << JobExecutionState::succeeded() << QStringList{"200-1", "100-7"};
        QTest::newRow("a dead marker newer than every record means interrupted")
            << Files{{"300-7.running", runningMarker(300, dead)},
                     {"200-1.run", runRecord(200, 201, 0)}}
            << JobExecutionState::interrupted() << QStringList{"300-7", "200-1"};
        QTest::newRow("records sort by start, not by name")
            << Files{{"900-1.run", runRecord(100, 101, 5)}, {"100-1.run", runRecord(200, 201, 0)}}
            << JobExecutionState::succeeded() << QStringList{"100-1", "900-1"};
        QTest::newRow("a start far in the future sorts after every real one")
            << Files{{"100000000000000-1.run", runRecord(100000000000000, 100000000000000, 5)},
                     {"200-1.run", runRecord(200, 201, 0)}}
            << JobExecutionState::succeeded() << QStringList{"200-1", "100000000000000-1"};
        QTest::newRow("runs of the same second sort by pid as a number")
            << Files{{"100-9.run", runRecord(100, 101, 9)}, {"100-10.run", runRecord(100, 101, 10)}}
            << JobExecutionState::failed(10) << QStringList{"100-10", "100-9"};
        QTest::newRow("a finishing run with marker and record is listed once")
            << Files{{finishing + ".running", runningMarker(now, 1)},
                     {finishing + ".run", runRecord(now, now, 0)}}
            << JobExecutionState::succeeded() << QStringList{finishing};
    }

    void onlyTheNewestRecordDecidesTheState()
    {
        QFETCH(Files, files);
        QFETCH(JobExecutionState, state);
        QFETCH(QStringList, historyIds);

        const JobDirectory job;
        for (const auto& [name, content] : files)
            job.write("runs/" + name, content);
        ExecutionRecordReader reader;
        QCOMPARE(reader.summary(job.path()).state, state);
        QStringList ids;
        for (const auto& record : reader.history(job.path()))
            ids.append(record.id);
        QCOMPARE(ids, historyIds);
    }

    void monitoringStartIsTrimmed_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no marker
        QTest::addColumn<std::optional<QDateTime>>("startedAt");

        QTest::newRow("a line break and spaces are trimmed")
            << QByteArray(" 1700000000\n  \n") << std::optional(at(1700000000));
        QTest::newRow("a fraction is read")
            << QByteArray("1700000000.5") << std::optional(at(1700000000.5));
        QTest::newRow("text that is no number gives no start")
            << QByteArray("yesterday") << std::optional<QDateTime>();
    }

    void monitoringStartIsTrimmed()
    {
        QFETCH(QByteArray, content);
        QFETCH(std::optional<QDateTime>, startedAt);
        const JobDirectory job;
        if (!content.isNull())
            job.write("monitoring-started", content);
        QCOMPARE(ExecutionRecordReader().summary(job.path()).monitoringStartedAt, startedAt);
    }

    void cachedResultsEqualAPlainReread()
    {
        const JobDirectory job;
        const QString runs = job.path() + "/runs/";
        ExecutionRecordReader cached(settledClock());
        const qint64 dead = deadPid();

        // Each step changes the directory the way runners, pruning or a user might.
        const QList<std::function<void()>> steps{
            [&] {},
            [&] {
                job.write("runs/100-1.run", runRecord(100, 101, 0, "100-1.log"));
                job.write("runs/100-1.log", "first\n");
                job.write("monitoring-started", "90");
            },
            [&] { job.write("runs/200-2.running", runningMarker(200, dead)); },
            [&] {
                job.write("runs/200-2.run", runRecord(200, 202, 3, "200-2.log"));
                job.write("runs/200-2.log", "oops\n");
                QFile::remove(runs + "200-2.running");
            },
            // Same size, content changed in place.
            [&] { job.write("runs/200-2.log", "fail\n"); },
            // Same size, and the modification time put back to the nanosecond.
            [&] {
                const QByteArray path = QFile::encodeName(runs + "100-1.log");
                struct stat before
                {
                };
                QCOMPARE(::stat(path.constData(), &before), 0);
                job.write("runs/100-1.log", "FIRST\n");
                const timespec times[2] = {before.st_atim, before.st_mtim};
                QCOMPARE(::utimensat(AT_FDCWD, path.constData(), times, 0), 0);
            },
            [&] { job.write("monitoring-started", "95"); },
            [&] { QFile::remove(runs + "200-2.log"); },
            [&] { QFile::rename(runs + "100-1.run", runs + "150-1.run"); },
            [&] { QDir(runs).removeRecursively(); },
        };
        for (const auto& step : steps) {
            step();
            ExecutionRecordReader plain;
            // Twice: the second call is the one served from memory.
            for (int round = 0; round < 2; ++round) {
                QCOMPARE(cached.summary(job.path()), plain.summary(job.path()));
                QCOMPARE(cached.history(job.path()), plain.history(job.path()));
            }
        }
    }
};

QTEST_GUILESS_MAIN(ExecutionRecordsTest)
#include "tst_execution_records.moc"
