#include "CanonicalUuid.h"
#include "CrontabChecker.h"
#include "DataTable.h"
#include "FakeMachine.h"
#include "LocalFileView.h"
#include "MonitoringCommandLine.h"
#include "ShellQuoting.h"
#include "Silencing.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace Tempolane;
using Testing::fakeMachine;

namespace {

const QString runner = QStringLiteral("/home/ann/.local/share/Tempolane/Runner/tempolane-runner");
const QString jobId = QStringLiteral("0f8fad5b-d9cb-469f-a165-70867728950e");

// A monitored job as Tempolane writes it.
QString monitoredLines(const QString& schedule, const QString& command)
{
    return QStringLiteral("# Tempolane id: %1\n# Tempolane monitoring: all\n%2 %3\n")
        .arg(jobId, schedule,
             MonitoringCommandLine::wrappedCommand(QUuid::fromString(jobId),
                                                   ExecutionLogPolicy::messagesAndErrors, command,
                                                   quotedPath(runner)));
}

// "LINE:id:severity" for each finding, in order.
QStringList summary(const QList<Finding>& findings)
{
    QStringList lines;
    for (const Finding& finding : findings)
        lines.append(QStringLiteral("%1:%2:%3")
                         .arg(finding.line)
                         .arg(finding.id, rawValue(finding.severity)));
    return lines;
}

QString messages(const QList<Finding>& findings)
{
    QStringList texts;
    for (const Finding& finding : findings)
        texts.append(finding.message);
    return texts.join(u'\n');
}

QList<Finding> checked(const QString& text, const QStringList& files,
                       CrontabSource source = CrontabSource::file, const CheckMachine& machine = {})
{
    CheckMachine used = machine.files ? machine : fakeMachine(files);
    return CrontabChecker(used).check(text, source, runner);
}

JobExecutionRecord runOf(const QDateTime& start, qint64 seconds)
{
    JobExecutionRecord run;
    run.id = QString::number(start.toSecsSinceEpoch());
    run.startedAt = start;
    run.endedAt = start.addSecs(seconds);
    run.exitCode = 0;
    return run;
}

} // namespace

class CrontabChecksTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lineGivesFindings_data();
    void lineGivesFindings();
    void carriageReturnOfTheInstalledCrontabIsTold();
    void fixTakesTheFindingAway_data();
    void fixTakesTheFindingAway();
    void machineKeepsEveryLineFromRunning_data();
    void machineKeepsEveryLineFromRunning();
    void overlapNeedsARunLongerThanTheGap_data();
    void overlapNeedsARunLongerThanTheGap();
    void clockChangeNamesTheDayAndWhatCronDoes_data();
    void clockChangeNamesTheDayAndWhatCronDoes();
    void silencedFindingsStayAway_data();
    void silencedFindingsStayAway();
    void programsAreLookedUpOncePerCheck();
    void hostileFilesAreLookedAtNotOpened();
};

void CrontabChecksTest::lineGivesFindings_data()
{
    QTest::addColumn<QString>("crontab");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("findings");
    // A piece of the first message: the concrete cause it names.
    QTest::addColumn<QString>("mentions");

    for (const QStringList& row : Testing::dataTable(QStringLiteral("crontab-findings.tsv"), 5))
        QTest::newRow(qPrintable(row[0]))
            << row[1] << row[2].split(QStringLiteral(" | "), Qt::SkipEmptyParts)
            << row[3].split(u' ', Qt::SkipEmptyParts) << row[4];
    // Rows too long or too encoded to write out.
    QTest::newRow("a monitored job's percent sign never reaches cron")
        << monitoredLines("0 4 * * *", "/bin/date +%Y") << QStringList() << QStringList() << "";
    QTest::newRow("a PATH longer than cron reads loses its last folders")
        << QStringLiteral("PATH=%1:/usr/bin\n0 4 * * * curl -s x\n").arg(QString(1000, u'p'))
        << QStringList() << QStringList{"1:assignment:warning", "2:command-not-found:error"}
        << "nur die ersten 998 Bytes";
    QTest::newRow("a command longer than the tool takes")
        << "0 4 * * * /bin/true " + QString(1000, u'x') + "\n"
        << QStringList() << QStringList{"1:crontab-refuses:error"} << "";
}

void CrontabChecksTest::lineGivesFindings()
{
    QFETCH(QString, crontab);
    QFETCH(QStringList, files);
    QFETCH(QStringList, findings);
    QFETCH(QString, mentions);

    const QList<Finding> found = checked(crontab, files);
    QVERIFY2(summary(found) == findings,
             qPrintable(summary(found).join(u' ') + u'\n' + messages(found)));
    if (!mentions.isEmpty())
        QVERIFY2(found.front().message.contains(mentions), qPrintable(messages(found)));
    for (const Finding& finding : found)
        QVERIFY2(!finding.message.isEmpty(), qPrintable(finding.id));
}

// The tool lists an installed crontab's carriage return as \r; in a file that is a backslash and
// an r (the findings table).
void CrontabChecksTest::carriageReturnOfTheInstalledCrontabIsTold()
{
    QCOMPARE(summary(checked("0 4 * * * /home/ann/run.sh\\r\n", {"x:/home/ann/run.sh"},
                             CrontabSource::installed)),
             QStringList{"1:line-ending:error"});
}

void CrontabChecksTest::fixTakesTheFindingAway_data()
{
    QTest::addColumn<QString>("crontab");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("id");
    QTest::addColumn<int>("fix");
    QTest::addColumn<QString>("fixed");

    for (const QStringList& row : Testing::dataTable(QStringLiteral("crontab-fixes.tsv"), 6))
        QTest::newRow(qPrintable(row[0]))
            << row[1] << row[2].split(QStringLiteral(" | "), Qt::SkipEmptyParts) << row[3]
            << row[4].toInt() << row[5];
    // A row too encoded to write out.
    QTest::newRow("the full path inside a monitored job's encoded command")
        << monitoredLines("*/5 * * * *", "php artisan") << QStringList{"x:/usr/local/bin/php"}
        << "command-not-found" << 0
        << "# Tempolane name: php\n" + monitoredLines("*/5 * * * *", "/usr/local/bin/php artisan");
}

void CrontabChecksTest::fixTakesTheFindingAway()
{
    QFETCH(QString, crontab);
    QFETCH(QStringList, files);
    QFETCH(QString, id);
    QFETCH(int, fix);
    QFETCH(QString, fixed);

    const auto ids = [](const QList<Finding>& findings) {
        QStringList found;
        for (const Finding& finding : findings)
            found.append(finding.id);
        return found;
    };
    const QList<Finding> before = checked(crontab, files);
    const auto finding = std::find_if(before.cbegin(), before.cend(),
                                      [&](const Finding& found) { return found.id == id; });
    QVERIFY2(finding != before.cend(), qPrintable(ids(before).join(u' ')));
    QVERIFY(fix < finding->fixes.size());
    const auto text = appliedEdits(crontab, finding->fixes[fix].edits);
    QVERIFY(text);
    if (!fixed.isEmpty())
        QCOMPARE(*text, fixed);
    QVERIFY2(!ids(checked(*text, files)).contains(id), qPrintable(*text));
    // An edit made for one text is refused on another.
    QVERIFY(!appliedEdits(QStringLiteral("# anders\n") + crontab.sliced(crontab.indexOf(u'\n') + 1),
                          finding->fixes[fix].edits) ||
            crontab.count(u'\n') < 2);
}

void CrontabChecksTest::machineKeepsEveryLineFromRunning_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<std::optional<bool>>("isCronRunning");
    QTest::addColumn<QString>("crontab");
    QTest::addColumn<QStringList>("findings");

    for (const QStringList& row : Testing::dataTable(QStringLiteral("crontab-machine.tsv"), 5))
        QTest::newRow(qPrintable(row[0]))
            << row[1].split(QStringLiteral(" | "), Qt::SkipEmptyParts)
            << (row[2] == u"unknown" ? std::nullopt : std::optional(Testing::isYes(row[2])))
            << row[3] << row[4].split(u' ', Qt::SkipEmptyParts);
}

void CrontabChecksTest::machineKeepsEveryLineFromRunning()
{
    QFETCH(QStringList, files);
    QFETCH(std::optional<bool>, isCronRunning);
    QFETCH(QString, crontab);

    CheckMachine machine = fakeMachine(files);
    machine.isCronRunning = isCronRunning;
    QTEST(summary(checked(crontab, {}, CrontabSource::installed, machine)), "findings");
}

void CrontabChecksTest::overlapNeedsARunLongerThanTheGap_data()
{
    QTest::addColumn<QString>("schedule");
    QTest::addColumn<QString>("command");
    QTest::addColumn<qint64>("longestSeconds");
    QTest::addColumn<QStringList>("findings");

    const auto row = [](const char* name, const char* schedule, const char* command,
                        qint64 longestSeconds, const QStringList& findings = {}) {
        QTest::newRow(name) << QString::fromLatin1(schedule) << QString::fromLatin1(command)
                            << longestSeconds << findings;
    };
    row("seven minutes every five", "*/5 * * * *", "/bin/true", 7 * 60, {"3:overlap:warning"});
    row("three minutes every five", "*/5 * * * *", "/bin/true", 3 * 60);
    row("seven minutes every five, behind flock", "*/5 * * * *", "flock -n /tmp/l /bin/true",
        7 * 60);
    row("two hours a night", "0 3 * * *", "/bin/true", 2 * 3600);
}

void CrontabChecksTest::overlapNeedsARunLongerThanTheGap()
{
    QFETCH(QString, schedule);
    QFETCH(QString, command);
    QFETCH(qint64, longestSeconds);

    CheckMachine machine = fakeMachine();
    const QDateTime start(QDate(2026, 2, 27), QTime(3, 0), machine.zone);
    machine.runHistory = [=](const QUuid& id) {
        if (canonicalText(id) != jobId)
            return QList<JobExecutionRecord>();
        return QList<JobExecutionRecord>{runOf(start.addDays(1), 20), runOf(start, longestSeconds),
                                         runOf(start.addDays(-1), 30)};
    };
    QTEST(
        summary(checked(monitoredLines(schedule, command), {}, CrontabSource::installed, machine)),
        "findings");
}

void CrontabChecksTest::clockChangeNamesTheDayAndWhatCronDoes_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("schedule");
    QTest::addColumn<QString>("message");

    for (const QStringList& row :
         Testing::dataTable(QStringLiteral("crontab-clock-changes.tsv"), 4))
        QTest::newRow(qPrintable(row[0]))
            << QDate::fromString(row[1], Qt::ISODate) << row[2] << row[3];
}

void CrontabChecksTest::clockChangeNamesTheDayAndWhatCronDoes()
{
    QFETCH(QDate, today);
    QFETCH(QString, schedule);
    QFETCH(QString, message);

    CheckMachine machine = fakeMachine();
    machine.now = QDateTime(today, QTime(12, 0), machine.zone);
    const QList<Finding> found =
        checked(schedule + QStringLiteral(" /bin/true\n"), {}, CrontabSource::installed, machine);
    QCOMPARE(found.isEmpty(), message.isEmpty());
    if (!message.isEmpty()) {
        QCOMPARE(summary(found), QStringList{"1:clock-change:hint"});
        QCOMPARE(found.front().message, message);
    }
}

void CrontabChecksTest::silencedFindingsStayAway_data()
{
    QTest::addColumn<QString>("crontab");
    QTest::addColumn<QStringList>("findings");

    for (const QStringList& row : Testing::dataTable(QStringLiteral("crontab-silencing.tsv"), 3))
        QTest::newRow(qPrintable(row[0])) << row[1] << row[2].split(u' ', Qt::SkipEmptyParts);
}

void CrontabChecksTest::silencedFindingsStayAway()
{
    QFETCH(QString, crontab);
    QFETCH(QStringList, findings);

    QCOMPARE(summary(checked(crontab, {})), findings);
    // What "Nicht mehr anzeigen" writes silences every finding that is left.
    QString text = crontab;
    for (qsizetype round = 0; round < 3; ++round) {
        const QList<Finding> left = checked(text, {});
        if (left.isEmpty())
            break;
        const auto silenced =
            appliedEdits(text, Silencing::silencing(text.split(u'\n'), left.front()).edits);
        QVERIFY(silenced);
        text = *silenced;
    }
    QCOMPARE(summary(checked(text, {})), QStringList{});
}

void CrontabChecksTest::programsAreLookedUpOncePerCheck()
{
    // A search path as long as cron reads, named again on every one of a thousand lines.
    QStringList folders;
    for (int i = 0; i < 100; ++i)
        folders.append(QStringLiteral("/opt/f%1").arg(i % 50));
    QString crontab = QStringLiteral("PATH=%1:/usr/bin\n").arg(folders.join(u':'));
    for (int i = 0; i < 1'000; ++i)
        crontab += QStringLiteral("0 4 * * * curl -s https://example.org/%1\n").arg(i);

    CheckMachine machine = fakeMachine();
    const auto files = std::static_pointer_cast<const Testing::FakeFiles>(machine.files);
    QCOMPARE(summary(checked(crontab, {}, CrontabSource::installed, machine)), QStringList{});
    // Each distinct folder once, and a few files beside.
    QVERIFY2(files->looks() < 100, qPrintable(QString::number(files->looks())));
}

void CrontabChecksTest::hostileFilesAreLookedAtNotOpened()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString root = folder.path();
    // A pipe nobody writes to: opening it to read would wait for ever.
    QVERIFY(::mkfifo(QFile::encodeName(root + QStringLiteral("/pipe")).constData(), 0700) == 0);
    QFile large(root + QStringLiteral("/large.sh"));
    QVERIFY(large.open(QIODevice::WriteOnly));
    QVERIFY(large.resize(100 * 1024 * 1024));
    large.close();
    QVERIFY(large.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QVERIFY(QFile::link(root + QStringLiteral("/loop-b"), root + QStringLiteral("/loop-a")));
    QVERIFY(QFile::link(root + QStringLiteral("/loop-a"), root + QStringLiteral("/loop-b")));

    QStringList path(10'000, root + QStringLiteral("/loop-a"));
    path.append(QStringLiteral("/usr/bin:/bin"));
    const QString crontab =
        QStringLiteral(
            "MAILTO=\"\"\nPATH=%1\n0 4 * * * %2/pipe\n0 4 * * * /dev/zero\n0 4 * * * %2/large.sh\n"
            "0 4 * * * %2/loop-a/x\n0 4 * * * no-such-program-here\n"
            "# %3\n0 4 * * * /bin/true %3\n")
            .arg(path.join(u':'), root, QString(1024 * 1024, u'x'));

    CheckMachine machine = fakeMachine();
    machine.files = std::make_shared<LocalFileView>();
    const auto found = checked(crontab, {}, CrontabSource::file, machine);
    QCOMPARE(summary(found), (QStringList{"2:assignment:warning", "3:not-executable:error",
                                          "4:not-executable:error", "5:not-executable:error",
                                          "6:not-executable:error", "7:command-not-found:error",
                                          "9:crontab-refuses:error"}));
    QVERIFY2(found[5].message.size() < 400, qPrintable(found[5].message));
}

QTEST_GUILESS_MAIN(CrontabChecksTest)
#include "tst_CrontabChecks.moc"
