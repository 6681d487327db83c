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
    void carriageReturnIsReadAsEachSourceShowsIt_data();
    void carriageReturnIsReadAsEachSourceShowsIt();
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

void CrontabChecksTest::carriageReturnIsReadAsEachSourceShowsIt_data()
{
    QTest::addColumn<CrontabSource>("source");
    QTest::addColumn<QString>("crontab");
    QTest::addColumn<QStringList>("findings");

    QTest::newRow("a file with a carriage return")
        << CrontabSource::file << "0 4 * * * /home/ann/run.sh\r\n"
        << QStringList{"1:line-ending:error"};
    QTest::newRow("the installed crontab, which the tool lists with \\r for it")
        << CrontabSource::installed << "0 4 * * * /home/ann/run.sh\\r\n"
        << QStringList{"1:line-ending:error"};
    QTest::newRow("a file with a backslash and an r, which sh reads as r")
        << CrontabSource::file << "0 4 * * * /home/ann/run.sh\\r\n"
        << QStringList{"1:not-executable:error"};
}

void CrontabChecksTest::carriageReturnIsReadAsEachSourceShowsIt()
{
    QFETCH(CrontabSource, source);
    QFETCH(QString, crontab);
    QFETCH(QStringList, findings);

    QCOMPARE(summary(checked(crontab, {"x:/home/ann/run.sh"}, source)), findings);
}

void CrontabChecksTest::fixTakesTheFindingAway_data()
{
    QTest::addColumn<QString>("crontab");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("id");
    QTest::addColumn<int>("fix");
    QTest::addColumn<QString>("fixed");

    const QStringList php{"x:/usr/local/bin/php"};
    const auto row = [](const char* name, const QString& crontab, const char* id,
                        const QString& fixed, const QStringList& files = {}, int fix = 0) {
        QTest::newRow(name) << crontab << files << QString::fromLatin1(id) << fix << fixed;
    };
    row("the full path of the program", "*/5 * * * * php artisan\n", "command-not-found",
        "*/5 * * * * /usr/local/bin/php artisan\n", php);
    row("a PATH line above the job and its markers",
        "# Tempolane id: " + jobId + "\n*/5 * * * * php artisan\n", "command-not-found",
        "PATH=/usr/local/bin:/usr/bin:/bin\n# Tempolane id: " + jobId +
            "\n*/5 * * * * php artisan\n",
        php, 1);
    row("the full path inside a monitored job's encoded command",
        monitoredLines("*/5 * * * *", "php artisan"), "command-not-found",
        "# Tempolane name: php\n" + monitoredLines("*/5 * * * *", "/usr/local/bin/php artisan"),
        php);
    row("every percent sign escaped", "0 4 * * * /bin/date +%Y-%m >/tmp/x 2>&1\n", "percent",
        "0 4 * * * /bin/date +\\%Y-\\%m >/tmp/x 2>&1\n");
    row("every line ending repaired, comments too",
        "# a\r\n0 4 * * * /bin/true\r\n0 5 * * * /bin/true\r\n", "line-ending",
        "# a\n0 4 * * * /bin/true\n0 5 * * * /bin/true\n");
    row("a reversed weekday range as a list", "0 9 * * sat-sun /bin/true\n", "never-runs",
        "0 9 * * sat,sun /bin/true\n");
    row("a reversed month range as a list", "0 9 1 nov-jan * /bin/true\n", "never-runs",
        "0 9 1 nov,dec,jan * /bin/true\n");
    row("the session bus above", "0 12 * * * notify-send x\n", "desktop-session",
        "DBUS_SESSION_BUS_ADDRESS=unix:path=/run/user/1000/bus\n0 12 * * * notify-send x\n");
    row("bash above", "0 4 * * * [[ -f /tmp/x ]] && /bin/true\n", "shell-syntax",
        "SHELL=/bin/bash\n0 4 * * * [[ -f /tmp/x ]] && /bin/true\n");
    row("the values cron would not put into PATH", "PATH=$HOME/bin:${PATH}\n", "assignment",
        "PATH=/home/ann/bin:/usr/bin:/bin\n");
    row("the comment of an assignment on a line of its own", "MAILTO=ann@example.org # admin\n",
        "assignment", "# admin\nMAILTO=ann@example.org\n");
    row("monitoring keeps the output", "0 4 * * * /bin/date\n", "output-lost", "",
        {"-:/usr/sbin/sendmail"});
    row("a line feed at the end", "0 4 * * * /bin/true", "final-newline", "0 4 * * * /bin/true\n");
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

    const auto row = [](const char* name, const QStringList& files,
                        std::optional<bool> isCronRunning, const char* finding = nullptr,
                        const char* crontab = "# Kopf\n0 4 * * * /bin/true\n") {
        QTest::newRow(name) << files << isCronRunning << QString::fromLatin1(crontab)
                            << (finding ? QStringList{finding} : QStringList());
    };
    row("no cron daemon", {}, false, "1:cron-not-running:error");
    row("no telling whether one runs", {}, std::nullopt);
    row("no cron daemon, but nothing to run either", {}, false, nullptr,
        "# Kopf\n# 0 4 * * * /bin/true\n");
    row("cron.allow without the user", {"r:/etc/cron.allow=root\nbob\n"}, true,
        "1:cron-denied:error");
    row("cron.allow with the user, whatever cron.deny says",
        {"r:/etc/cron.allow=ann\n", "r:/etc/cron.deny=ann\n"}, true);
    row("cron.deny with the user", {"r:/etc/cron.deny=bob\nann\n"}, true, "1:cron-denied:error");
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

    QTest::newRow("half past two on the morning the clock goes forward")
        << QDate(2026, 3, 1) << "30 2 * * *"
        << "Am 29. März 2026 wird die Uhr von 02:00 auf 03:00 vorgestellt: 02:30 gibt es an "
           "diesem Tag nicht, und cron startet den Job gleich nach der Umstellung.";
    QTest::newRow("half past two on the morning the clock goes back")
        << QDate(2026, 6, 1) << "30 2 * * *"
        << "Am 25. Oktober 2026 wird die Uhr von 03:00 auf 02:00 zurückgestellt: 02:30 kommt an "
           "diesem Tag zweimal, und cron startet den Job nur einmal.";
    QTest::newRow("workdays only: both changes fall on a Sunday")
        << QDate(2026, 3, 1) << "30 2 * * 1-5"
        << "";
    QTest::newRow("an hour the changes leave alone") << QDate(2026, 3, 1) << "30 4 * * *"
                                                     << "";
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

    QTest::newRow("ignore above the line") << "# tempolane: ignore percent\n"
                                              "0 4 * * * /bin/date +%Y >/tmp/x 2>&1\n"
                                           << QStringList{};
    QTest::newRow("ignore above a job's markers")
        << "# tempolane: ignore percent, every-minute\n# Tempolane id: " + jobId +
               "\n* 4 * * * /bin/date +%Y >/tmp/x 2>&1\n"
        << QStringList{};
    QTest::newRow("ignore of another id") << "# tempolane: ignore every-minute\n"
                                             "0 4 * * * /bin/date +%Y >/tmp/x 2>&1\n"
                                          << QStringList{"2:percent:warning"};
    QTest::newRow("ignore two lines above counts not")
        << "# tempolane: ignore percent\n\n0 4 * * * /bin/date +%Y >/tmp/x 2>&1\n"
        << QStringList{"3:percent:warning"};
    QTest::newRow("ignore-file anywhere")
        << "0 4 * * * /bin/date +%Y >/tmp/x 2>&1\n# tempolane: ignore-file percent\n"
        << QStringList{};
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
