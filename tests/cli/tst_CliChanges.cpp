// The terminal companion's commands on a store over fakes: which job or backup an argument
// means, what each prints, that failures print the store's error, and what lies ahead.
#include "CliCommand.h"
#include "StoreUnderTest.h"

#include <QRegularExpression>
#include <QTest>

using namespace Tempolane;
using namespace Tempolane::Testing;

namespace {

const QList<JobSketch> jobs{
    {QStringLiteral("Bericht"), QStringLiteral("30 8 * * 1-5"), QStringLiteral("/bin/report")},
    {QStringLiteral(" "), QStringLiteral("0 2 * * *"), QStringLiteral("/usr/local/bin/backup.sh")},
    {QStringLiteral("Archiv"), QStringLiteral("0 3 * * 0"), QStringLiteral("/bin/archive"), false},
    {QStringLiteral("Doppelt"), QStringLiteral("@daily"), QStringLiteral("/bin/a")},
    {QStringLiteral("doppelt"), QStringLiteral("@hourly"), QStringLiteral("/bin/b")}};

QString idOf(int number)
{
    return QStringLiteral("00000000-0000-4000-8000-%1").arg(number, 12, 10, QChar(u'0'));
}

// A command's exit status and what it printed.
struct Outcome
{
    int status = -1;
    QString out;
    QString err;
};

struct Console
{
    QString out;
    QString err;
    QTextStream outStream{&out};
    QTextStream errStream{&err};
    QString answers;
    QTextStream input{&answers};

    Cli::Streams streams() { return {outStream, errStream}; }
    Cli::Terminal terminal(bool canAsk, bool showsColours = false)
    {
        return {canAsk, showsColours, &input};
    }
    Outcome outcome(int status)
    {
        outStream.flush();
        errStream.flush();
        return {status, out, err};
    }
};

Outcome changeJob(StoreUnderTest& test, Cli::JobAction action, const QString& job,
                  bool isConfirmed = false, bool canAsk = false, const QString& answer = {})
{
    Console console;
    console.answers = answer;
    return console.outcome(Cli::changeJob(*test.store, action, job, isConfirmed, console.streams(),
                                          console.terminal(canAsk)));
}

} // namespace

Q_DECLARE_METATYPE(QList<JobSketch>)

class CliChangesTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qputenv("TZ", "Europe/Berlin"); }

    // Which job an argument means, what a command prints, and that a failure prints the store's
    // title and message. Where a command fails (1), the crontab was changed in another terminal
    // while it ran.
    void changeJob_findsTheJobAndPrintsTheOutcome_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QString>("paused"); // the job's line once paused; empty: nothing written

        using enum Cli::JobAction;
        const auto row = [](const char* name, Cli::JobAction action, const QString& argument,
                            int status, const QString& out, const QString& err,
                            const QString& paused = {}) {
            QTest::newRow(name) << int(action) << argument << status << out << err << paused;
        };
        // Each job by its id, the line cron reads it from, its name, schedule and command.
        const QString everyJob =
            QStringLiteral("  %1\tZeile 3\tBericht\t30 8 * * 1-5\t/bin/report\n"
                           "  %2\tZeile 5\tbackup.sh\t0 2 * * *\t/usr/local/bin/backup.sh\n"
                           "  %3\tZeile 8\tArchiv\t0 3 * * 0\t/bin/archive\n"
                           "  %4\tZeile 11\tDoppelt\t@daily\t/bin/a\n"
                           "  %5\tZeile 14\tdoppelt\t@hourly\t/bin/b\n")
                .arg(idOf(1), idOf(2), idOf(3), idOf(4), idOf(5));
        const QString report = QStringLiteral("# Tempolane disabled: 30 8 * * 1-5 /bin/report\n");
        row("id", pause, idOf(1), 0, "„Bericht“ pausiert.\n", "", report);
        row("id in capitals", pause, idOf(1).toUpper(), 0, "„Bericht“ pausiert.\n", "", report);
        row("shown name of a job without a name, in capitals", pause, "BACKUP.SH", 0,
            "„backup.sh“ pausiert.\n", "",
            "# Tempolane disabled: 0 2 * * * /usr/local/bin/backup.sh\n");
        row("already paused: nothing to write", pause, "archiv", 0,
            "„Archiv“ ist bereits pausiert.\n", "");
        row("two jobs by that name", pause, "DOPPELT", 2, "",
            QStringLiteral("„DOPPELT“ passt auf mehrere Cronjobs; bitte die Id angeben:\n"
                           "  %1\tZeile 11\tDoppelt\t@daily\t/bin/a\n"
                           "  %2\tZeile 14\tdoppelt\t@hourly\t/bin/b\n")
                .arg(idOf(4), idOf(5)));
        row("no such job", pause, "Bericht 2", 2, "",
            "Kein Cronjob „Bericht 2“. Vorhanden sind:\n" + everyJob);
        const QString outside =
            QStringLiteral("Die crontab wurde außerhalb von Tempolane geändert. "
                           "Bitte neu laden und die Änderung erneut anwenden.\n");
        row("pause, changed outside", pause, "Bericht", 1, "",
            "Cronjob konnte nicht gespeichert werden\n" + outside);
        row("resume, changed outside", resume, "Archiv", 1, "",
            "Cronjob konnte nicht gespeichert werden\n" + outside);
        row("delete, changed outside", remove, "Bericht", 1, "",
            "Cronjob konnte nicht gelöscht werden\n" + outside);
        row("run without monitoring", run, "Bericht", 1, "",
            "Cronjob konnte nicht erfolgreich ausgeführt werden\n„Bericht“ hat keinen "
            "Ausführungsstatus; nur überwachte Cronjobs lassen sich von Tempolane ausführen.\n");
    }

    void changeJob_findsTheJobAndPrintsTheOutcome()
    {
        QFETCH(int, action);
        QFETCH(QString, argument);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QString, paused);

        StoreUnderTest test(crontabOf(jobs));
        test.load();
        if (status == 1)
            test.client->contents += QStringLiteral("# von außen\n");
        const QString before = test.client->contents;
        const Outcome outcome = changeJob(test, Cli::JobAction(action), argument, true);
        QCOMPARE(outcome.err, err);
        QCOMPARE(outcome.out, out);
        QCOMPARE(outcome.status, status);
        if (paused.isEmpty()) {
            QVERIFY(!test.client->calls.contains(QStringLiteral("write")));
        } else {
            QVERIFY(test.client->contents.contains(paused));
            QCOMPARE(test.client->contents.size(), before.size() + 22);
        }
    }

    void delete_asksOnATerminalUnlessConfirmed_data()
    {
        QTest::addColumn<bool>("isConfirmed");
        QTest::addColumn<bool>("canAsk");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("status");

        QTest::newRow("--yes, no terminal") << true << false << "" << 0;
        QTest::newRow("no terminal, not confirmed: refused") << false << false << "" << 2;
        QTest::newRow("asked, answered ja") << false << true << "ja\n" << 0;
        QTest::newRow("asked, answered with return: no") << false << true << "\n" << 1;
        QTest::newRow("asked, answered n") << false << true << "n\n" << 1;
    }

    void delete_asksOnATerminalUnlessConfirmed()
    {
        QFETCH(bool, isConfirmed);
        QFETCH(bool, canAsk);
        QFETCH(QString, answer);
        QFETCH(int, status);

        StoreUnderTest test(crontabOf(jobs));
        test.load();
        const Outcome outcome = changeJob(test, Cli::JobAction::remove, QStringLiteral("Archiv"),
                                          isConfirmed, canAsk, answer);
        QCOMPARE(outcome.status, status);
        QCOMPARE(outcome.err.startsWith(u"„Archiv“ wird aus der crontab entfernt."),
                 canAsk && !isConfirmed);
        QCOMPARE(test.client->contents.contains(u"/bin/archive"), status != 0);
        QCOMPARE(outcome.out, status == 0 ? QStringLiteral("„Archiv“ gelöscht.\n") : QString());
    }

    void run_printsTheStateAndExitCode_data()
    {
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err");

        QTest::newRow("succeeded") << 0 << "Letzte Ausführung erfolgreich\t0\n" << 0 << "";
        QTest::newRow("failed")
            << 3 << "Fehler bei der letzten Ausführung\t3\n"
            << 1
            << "Cronjob konnte nicht erfolgreich ausgeführt werden\nDer Cronjob "
               "wurde ausgeführt, ist aber mit einem Fehler beendet worden.\n";
    }

    void run_printsTheStateAndExitCode()
    {
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(int, status);
        QFETCH(QString, err);

        StoreUnderTest test(crontabOf({{QStringLiteral("Bericht"), QStringLiteral("30 8 * * 1-5"),
                                        QStringLiteral("/bin/report"), true, true}}));
        test.load();
        // What the runner leaves behind: the record of the run.
        const JobExecutionRecord record{QStringLiteral("1-1"), test.now, test.now, exitCode,
                                        std::nullopt,          false};
        test.execution->summaryMap.insert(test.job(0).id,
                                          {stateOf(record), record, test.now.addDays(-1)});
        if (exitCode != 0)
            test.execution->runError = ExecutionServiceError::commandFailed(exitCode);
        const Outcome outcome = changeJob(test, Cli::JobAction::run, QStringLiteral("bericht"));
        QCOMPARE(outcome.out, out);
        QCOMPARE(outcome.err, err);
        QCOMPARE(outcome.status, status);
        QVERIFY(test.execution->calls.contains(QStringLiteral("runNow")));
    }

    void backups_areListedComparedAndRestored()
    {
        StoreUnderTest test(crontabOf(jobs));
        test.load();
        const QString original = test.client->contents;
        QCOMPARE(changeJob(test, Cli::JobAction::remove, QStringLiteral("archiv"), true).status, 0);
        const QString withoutArchive = test.client->contents;
        QCOMPARE(changeJob(test, Cli::JobAction::pause, QStringLiteral("Bericht")).status, 0);
        CronStore& store = *test.store;

        Console listing;
        QCOMPARE(Cli::listBackups(store, listing.streams()), 0);
        // Taken a second apart from 1 March 2026, 09:00:01 UTC; shown in local time.
        QCOMPARE(listing.outcome(0).out,
                 QStringLiteral("1\t2026-03-01T10:00:02+01:00\t%1 B\t4 Jobs\t+1 −1\t"
                                "crontab-2026-03-01T09-00-02.000.txt\n"
                                "2\t2026-03-01T10:00:01+01:00\t%2 B\t5 Jobs\t+4 −1\t"
                                "crontab-2026-03-01T09-00-01.000.txt\n")
                     .arg(withoutArchive.toUtf8().size())
                     .arg(original.toUtf8().size()));

        Console plain;
        QCOMPARE(
            Cli::showBackupDiff(store, QStringLiteral("1"), plain.streams(), plain.terminal(false)),
            0);
        QCOMPARE(plain.outcome(0).out,
                 QStringLiteral("--- crontab\n+++ crontab-2026-03-01T09-00-02.000.txt\n"
                                "@@ -1,6 +1,6 @@\n # Tempolane name: Bericht\n # Tempolane id: %1\n"
                                "-# Tempolane disabled: 30 8 * * 1-5 /bin/report\n"
                                "+30 8 * * 1-5 /bin/report\n # Tempolane id: %2\n"
                                " 0 2 * * * /usr/local/bin/backup.sh\n # Tempolane name: Doppelt\n")
                     .arg(idOf(1), idOf(2)));
        Console coloured;
        QCOMPARE(Cli::showBackupDiff(store, QStringLiteral("crontab-2026-03-01T09-00-02.000.txt"),
                                     coloured.streams(), coloured.terminal(false, true)),
                 0);
        QVERIFY(coloured.outcome(0).out.contains(u"\x1b[31m-# Tempolane disabled: 30 8 * * 1-5 "
                                                 u"/bin/report\x1b[0m\n\x1b[32m+30 8"));

        Console restoring;
        QCOMPARE(Cli::restoreBackup(store, QStringLiteral("2"), restoring.streams(),
                                    restoring.terminal(false)),
                 0);
        QCOMPARE(test.client->contents, original);
        QVERIFY(restoring.outcome(0).out.endsWith(
            u"Wiederhergestellt aus „crontab-2026-03-01T09-00-01.000.txt“ (+4 −1 Zeilen). Die "
            u"vorherige crontab ist gesichert: „tempolane-cli restore 1“ holt sie zurück.\n"));

        // The same backup again writes nothing; an unknown one is a usage error.
        test.client->calls.clear();
        Console again;
        QCOMPARE(
            Cli::restoreBackup(store, QStringLiteral("3"), again.streams(), again.terminal(false)),
            0);
        QCOMPARE(again.outcome(0).out,
                 QStringLiteral("Die crontab entspricht bereits dieser Sicherung.\n"));
        QVERIFY(!test.client->calls.contains(QStringLiteral("write")));
        Console unknown;
        QCOMPARE(Cli::restoreBackup(store, QStringLiteral("4"), unknown.streams(),
                                    unknown.terminal(false)),
                 2);
    }

    void upcoming_listsTheNextRunsWithTheLastResult_data()
    {
        QTest::addColumn<QList<JobSketch>>("jobs");
        QTest::addColumn<int>("hours");
        QTest::addColumn<bool>("isJson");
        QTest::addColumn<QString>("expected");

        // Monday 10:00 in Berlin; the report's last run failed this morning.
        const QList<JobSketch> mixed{
            {QStringLiteral("Bericht"), QStringLiteral("30 8 * * 1-5"),
             QStringLiteral("/bin/report"), true, true},
            {QStringLiteral(" "), QStringLiteral("0 2 * * *"),
             QStringLiteral("/usr/local/bin/backup.sh")},
            {QStringLiteral("Archiv"), QStringLiteral("0 3 * * 0"), QStringLiteral("/bin/archive"),
             false},
            {QStringLiteral("Start"), QStringLiteral("@reboot"), QStringLiteral("/bin/start")}};
        const auto epoch = [](const char* local) {
            return QString::number(QDateTime::fromString(QString::fromLatin1(local),
                                                         QStringLiteral("yyyy-MM-dd HH:mm"))
                                       .toTimeZone(StoreUnderTest::zone())
                                       .toSecsSinceEpoch());
        };
        QTest::newRow("a day ahead in time order, paused and start-up jobs left out")
            << mixed << 24 << false
            << "NEXT                  LEFT       LAST                  RESULT       JOB\n"
               "2026-03-03 02:00 CET  16h        –                     –            backup.sh\n"
               "2026-03-03 08:30 CET  22h 30min  2026-03-02 08:30 CET  failed       Bericht\n";
        QTest::newRow("the same as one JSON object per run")
            << mixed << 24 << true
            << QStringLiteral("{\"job\":\"%1\",\"name\":\"backup.sh\",\"next\":%2,\"last\":null,"
                              "\"result\":null}\n"
                              "{\"job\":\"%3\",\"name\":\"Bericht\",\"next\":%4,\"last\":%5,"
                              "\"result\":\"failed\"}\n")
                   .arg(idOf(2), epoch("2026-03-03 02:00"), idOf(1), epoch("2026-03-03 08:30"),
                        epoch("2026-03-02 08:30"));
        QTest::newRow("nothing ahead")
            << mixed.mid(2) << 24 << false << "Keine Ausführung in den nächsten 24 Stunden.\n";
        QString everyMinute;
        for (int minute = 1; minute < 60; ++minute)
            everyMinute +=
                QStringLiteral("{\"job\":\"%1\",\"name\":\"Takt\",\"next\":%2,"
                               "\"last\":%3,\"result\":\"failed\"}\n")
                    .arg(idOf(1),
                         QString::number(epoch("2026-03-02 10:00").toLongLong() + minute * 60),
                         epoch("2026-03-02 08:30"));
        QTest::newRow("a job that runs every minute gives an object per minute")
            << QList<JobSketch>{{QStringLiteral("Takt"), QStringLiteral("* * * * *"),
                                 QStringLiteral("/bin/tick"), true, true}}
            << 1 << true << everyMinute;
    }

    void upcoming_listsTheNextRunsWithTheLastResult()
    {
        QFETCH(QList<JobSketch>, jobs);
        QFETCH(int, hours);
        QFETCH(bool, isJson);
        QFETCH(QString, expected);

        StoreUnderTest test(crontabOf(jobs));
        const JobExecutionRecord failed{QStringLiteral("1-1"),
                                        test.now.addSecs(-90 * 60),
                                        test.now.addSecs(-90 * 60 + 30),
                                        2,
                                        std::nullopt,
                                        false};
        test.execution->summaryMap.insert(QUuid(idOf(1)), {stateOf(failed), failed, std::nullopt});
        test.load();
        QString out;
        QTextStream stream(&out);
        Cli::printUpcoming(*test.store, test.now, StoreUnderTest::zone(), hours, isJson, stream);
        stream.flush();
        QCOMPARE(out, expected);
    }

    // The listings read no store of the user: they run on the demo crontab alone. Scripts read
    // the four fixed columns first and take a job's id, the one a command takes, from the end.
    void listAndStatus_showTheColumnsScriptsReadAndTheSameIds()
    {
        const auto demo = [](int (*command)(const QStringList&, Cli::Streams)) {
            Console console;
            return console.outcome(command({QStringLiteral("--demo")}, console.streams()));
        };
        const Outcome listed = demo(Cli::list);
        const Outcome status = demo(Cli::status);
        QCOMPARE(listed.err + status.err, QString());
        QCOMPARE(listed.status + status.status, 0);
        // Description, next run and id follow the four fixed columns; the run depends on today.
        static const QRegularExpression variable(
            QStringLiteral("\t[^\t\n]+\t(\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d|—)\t"
                           "[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"),
            QRegularExpression::MultilineOption);
        QCOMPARE(QString(listed.out).remove(variable),
                 QStringLiteral(
                     "aktiv\tphp\t*/5 * * * *\t/usr/local/bin/php /home/demo/Sites/example/artisan "
                     "schedule:run\n"
                     "aktiv\tdaily-report.sh\t30 8 * * 1-5\t/home/demo/Scripts/daily-report.sh\n"
                     "pausiert\tarchive.sh\t0 2 * * 0\t/home/demo/Scripts/archive.sh\n"
                     "aktiv\tstart-services.sh\t@reboot\t/home/demo/Scripts/start-services.sh\n"));
        QStringList listedIds;
        for (const QString& line : listed.out.split(u'\n', Qt::SkipEmptyParts)) {
            // Only active jobs with a schedule run again.
            QCOMPARE(line.section(u'\t', 5, 5) == u"—",
                     !line.startsWith(u"aktiv") || line.contains(u"@reboot"));
            listedIds.append(line.section(u'\t', -1));
        }
        QStringList statusIds;
        for (const QString& line : status.out.split(u'\n', Qt::SkipEmptyParts))
            statusIds.append(line.section(u'\t', -1));
        QCOMPARE(statusIds, listedIds);
        QVERIFY2(status.out.startsWith(u"php\tall active\tAusführungsstatus nicht aktiviert\t"),
                 qPrintable(status.out));
    }
};

QTEST_GUILESS_MAIN(CliChangesTest)
#include "tst_CliChanges.moc"
