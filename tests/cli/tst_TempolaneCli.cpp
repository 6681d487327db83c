#include "CliRun.h"
#include "HostileServer.h"
#include "TestFiles.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <unistd.h>

using Tempolane::Testing::CliRun;
using Tempolane::Testing::contents;
using Tempolane::Testing::HostileServer;
using Tempolane::Testing::runCli;
using Tempolane::Testing::writeFile;

class TempolaneCliTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The schedule commands read one item a line from standard input and answer each.
    void scheduleCommand_answersEveryLine_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("exitCode");

        // Only line feeds split; a carriage return belongs to its expression and is trimmed there.
        QTest::newRow("validate") << "validate"
                                  << "* * * * *\r\n60 * * * *\n\n@every 5m\n0 9 * * mon-fri"
                                  << "ok\nMinute: Wert außerhalb von 0…59.\nBitte einen Zeitplan "
                                     "eingeben.\nDiese @-Kurzform wird von cron nicht "
                                     "unterstützt.\nok\n"
                                  << 0;
        QTest::newRow("next: a weekday morning in Berlin")
            << "next"
            << "30 8 * * 1-5\t1767225600\tEurope/Berlin\n"
            << "1767252600\n"
            << 0;
        QTest::newRow("next: never, @reboot, fractions and tabs in the expression")
            << "next"
            << "0 0 30 2 *\t1767225600.999\tUTC\n@reboot\t1\tUTC\n* * * * *\t-0.0001\tUTC\n"
               "0\t0\t*\t*\t*\t1767225600\tAsia/Kathmandu"
            << "none\nnone\n0\n1767291300\n"
            << 0;
        QTest::newRow("next: an unknown zone and a bad line, then on")
            << "next"
            << "* * * * *\t0\tMars/Base\nkaputt\n* * * * *\t1x\tUTC\n* * * * *\t0\tUTC\n"
            << "Unbekannte Zeitzone: Mars/Base\nErwartet: AUSDRUCK<TAB>SEKUNDEN<TAB>ZEITZONE\n"
               "Ungültiger Zeitpunkt: 1x\n60\n"
            << 1;
        QTest::newRow("describe") << "describe"
                                  << "@daily\n30 7 * * 1-5\n*/15 * * * *\n0 0 1 1 *\n"
                                  << "Täglich um 00:00\nMontag, Dienstag, Mittwoch, Donnerstag und "
                                     "Freitag um 07:30\nAlle 15 Minuten\nIndividueller Zeitplan\n"
                                  << 0;
        // Each frequency by the name scripts read.
        QTest::newRow("visual")
            << "visual"
            << "05 9 * * *\n0 9 * * 7,5\n@daily\n*/1 * * * *\n30 * * * *\n0 9 31 * *\n"
            << "daily\t5 9 * * *\nweekly\t0 9 * * 0,5\nnone\nminutes\t* * * * *\n"
               "hourly\t30 * * * *\nmonthly\t0 9 31 * *\n"
            << 0;
    }

    void scheduleCommand_answersEveryLine()
    {
        QFETCH(QString, command);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QFETCH(int, exitCode);

        const auto result = runCli({command}, input.toUtf8());
        QCOMPARE(QString::fromUtf8(result.out), expected);
        QCOMPARE(result.exitCode, exitCode);
    }

    void parse_printsOneJsonObjectPerNode()
    {
        QTemporaryDir dir;
        const QByteArray crontab = "SHELL=/bin/sh\n# Tempolane name: Bericht \"täglich\"\n"
                                   "# Tempolane id: 0F8FAD5B-D9CB-469F-A165-70867728950E\n"
                                   "# Tempolane disabled: 30 8 * * 1-5 /bin/report\t\n";
        const QString path = dir.filePath(QStringLiteral("crontab"));
        QVERIFY(writeFile(path, crontab));

        const auto result = runCli({QStringLiteral("parse"), path});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(
            QString::fromUtf8(result.out),
            QStringLiteral("{\"kind\":\"passthrough\",\"text\":\"SHELL=/bin/sh\"}\n"
                           "{\"kind\":\"job\",\"id\":\"0f8fad5b-d9cb-469f-a165-70867728950e\","
                           "\"name\":\"Bericht \\\"täglich\\\"\",\"schedule\":\"30 8 * * 1-5\","
                           "\"command\":\"/bin/report\\t\",\"enabled\":false,\"monitored\":false,"
                           "\"policy\":\"all\"}\n"));

        const auto fromInput = runCli({QStringLiteral("parse")}, crontab);
        QCOMPARE(fromInput.exitCode, 0);
        QCOMPARE(fromInput.out, result.out);
        const auto lines = result.out.trimmed().split('\n');
        for (const QByteArray& line : lines)
            QVERIFY(QJsonDocument::fromJson(line).isObject());
    }

    void badArguments_exitWithUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no command") << QStringList{};
        QTest::newRow("unknown command") << QStringList{"frobnicate"};
        QTest::newRow("validate takes no argument") << QStringList{"validate", "x"};
        for (const char* command : {"next", "describe", "visual"})
            QTest::newRow(command) << QStringList{command, "extra"};
        QTest::newRow("parse takes one file") << QStringList{"parse", "a", "b"};
        QTest::newRow("list knows no option but --demo") << QStringList{"list", "--all"};
        QTest::newRow("pause needs a job") << QStringList{"pause"};
        QTest::newRow("delete takes one job") << QStringList{"delete", "a", "b", "--yes"};
        QTest::newRow("run knows no options") << QStringList{"run", "--now"};
        QTest::newRow("backups takes no argument") << QStringList{"backups", "1"};
        QTest::newRow("restore needs a backup") << QStringList{"restore"};
        QTest::newRow("upcoming looks at least an hour ahead")
            << QStringList{"upcoming", "--hours", "0"};
        QTest::newRow("upcoming counts hours in numbers")
            << QStringList{"upcoming", "--hours", "viele"};
        QTest::newRow("upcoming needs the number of hours") << QStringList{"upcoming", "--hours"};
        QTest::newRow("upcoming looks at most a year ahead")
            << QStringList{"upcoming", "--hours", "9000"};
    }

    void badArguments_exitWithUsage()
    {
        QFETCH(QStringList, arguments);
        const auto result = runCli(arguments);
        QCOMPARE(result.exitCode, 2);
        // A command names its own usage; no or an unknown command gets the general one.
        const QString usage = arguments.isEmpty() || arguments[0] == u"frobnicate"
                                  ? QStringLiteral("COMMAND")
                                  : arguments[0];
        QVERIFY2(result.err.startsWith("usage: tempolane-cli " + usage.toUtf8()),
                 result.err.constData());
        QVERIFY(result.out.isEmpty());
    }

    void unreadableInput_exitsWithTheSystemsText()
    {
        const auto missing =
            runCli({QStringLiteral("parse"), QStringLiteral("/nonexistent/crontab")});
        QCOMPARE(missing.exitCode, 1);
        QVERIFY2(missing.err.contains("No such file or directory"), missing.err.constData());

        const auto notUtf8 = runCli({QStringLiteral("validate")}, "\xff\xfe * * * *\n");
        QCOMPARE(notUtf8.exitCode, 1);
        QCOMPARE(QString::fromUtf8(notUtf8.err).trimmed(),
                 QStringLiteral("Die Eingabe ist kein gültiges UTF-8."));
    }

    void runs_listsEveryRecordWithItsLastLineMadeHarmless()
    {
        QTemporaryDir data;
        qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
        const QString id = QStringLiteral("0f8fad5b-d9cb-469f-a165-70867728950e");
        const QString runs = data.path() + QStringLiteral("/Tempolane/Executions/") + id + "/runs/";
        QVERIFY(QDir().mkpath(runs));
        // More than the panel shows; the newest output would retitle and clear a terminal.
        for (int i = 0; i < 25; ++i) {
            const QByteArray runId = QByteArray::number(1700000000 + i * 60) + "-1";
            const QByteArray log = i == 24 ? "\x1b]0;owned\x07"
                                             "Fehler\x1b[2J in caf\xe9\n\n"
                                           : "line " + QByteArray::number(i) + '\n';
            QVERIFY(writeFile(runs + QString::fromLatin1(runId) + ".run",
                              "start=" + runId.chopped(2) + "\nend=" + runId.chopped(2) +
                                  "\nexit=" + QByteArray::number(i % 2 + 1) + "\nlog=" + runId +
                                  ".log\n"));
            QVERIFY(writeFile(runs + QString::fromLatin1(runId) + ".log", log));
        }

        const auto result = runCli({QStringLiteral("runs"), id.toUpper()});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(!result.out.contains('\x1b') && !result.out.contains('\x07'));
        const QStringList lines = QString::fromUtf8(result.out).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 25);
        QCOMPARE(lines.front().split(u'\t').sliced(3),
                 (QStringList{"1", "\\x1b]0;owned\\x07Fehler\\x1b[2J in caf\ufffd"}));
        QCOMPARE(lines.back().split(u'\t').sliced(3), (QStringList{"1", "line 0"}));
    }

    void notifications_switchTheAutostartEntryAndTheWatcher()
    {
        QTemporaryDir home;
        // The desktop program the switch starts: it notes how it was started.
        const QString programs = home.filePath(QStringLiteral("bin"));
        QVERIFY(QDir().mkpath(programs));
        const QString program = programs + QStringLiteral("/tempolane");
        // Its arguments, where its output goes, its session and its process id; then it runs on,
        // as a watcher does.
        QVERIFY(writeFile(
            program,
            "#!/bin/sh\nout=$(/usr/bin/readlink /proc/$$/fd/1)\n"
            "{ echo \"$@\"; echo \"$out\"; /usr/bin/cut -d' ' -f6 /proc/$$/stat; echo $$; } > '" +
                programs.toUtf8() + "/started'\nexec /bin/sleep 20\n"));
        QVERIFY(
            QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("PATH"), programs);
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                           QStringLiteral("unix:path=/nonexistent/tempolane-test-bus"));
        const auto notifications = [&](const QString& action) {
            const CliRun run = runCli({QStringLiteral("notifications"), action}, {}, environment);
            return std::pair{run.exitCode, QString::fromUtf8(run.out + run.err)};
        };
        const QString entry = home.filePath(
            QStringLiteral("config/autostart/io.github.tempolane.Tempolane.Watcher.desktop"));

        QCOMPARE(notifications(QStringLiteral("status")),
                 std::pair(0, QStringLiteral("off\twatcher not running\n")));
        // As a script reads it: the watcher keeps none of the caller's streams.
        QProcess script;
        script.setProcessEnvironment(environment);
        script.start(QStringLiteral("/bin/sh"),
                     {QStringLiteral("-c"),
                      QStringLiteral("out=$(\"$0\" notifications on); echo $out"),
                      QStringLiteral(TEMPOLANE_CLI)});
        QVERIFY(script.waitForFinished(10'000));
        QCOMPARE(QString::fromUtf8(script.readAllStandardOutput()), entry + u'\n');
        QVERIFY(
            contents(entry).contains("\nExec=" + programs.toUtf8() + "/tempolane --background\n"));
        QTRY_VERIFY(QFile::exists(programs + QStringLiteral("/started")));
        const auto startedAs = [&programs] {
            return contents(programs + QStringLiteral("/started")).split('\n');
        };
        QTRY_COMPARE(startedAs().size(), 5);
        ::kill(startedAs()[3].toInt(), SIGTERM);
        QCOMPARE(startedAs()[0], QByteArray("--background"));
        QCOMPARE(startedAs()[1], QByteArray("/dev/null"));
        QVERIFY(startedAs()[2].toInt() != ::getsid(0));
        QCOMPARE(notifications(QStringLiteral("status")).second,
                 QStringLiteral("on\twatcher not running\n"));

        QCOMPARE(notifications(QStringLiteral("off")).first, 0);
        QVERIFY(!QFile::exists(entry));
        QCOMPARE(notifications(QStringLiteral("status")).second,
                 QStringLiteral("off\twatcher not running\n"));
        QCOMPARE(notifications(QStringLiteral("loud")).first, 2);

        // An entry the desktop's settings disabled starts nothing: it is off.
        QCOMPARE(notifications(QStringLiteral("on")).first, 0);
        QVERIFY(writeFile(entry, contents(entry) + "Hidden=true\n"));
        QCOMPARE(notifications(QStringLiteral("status")).second,
                 QStringLiteral("off\twatcher not running\tdisabled in the desktop's autostart "
                                "settings\n"));
        QCOMPARE(notifications(QStringLiteral("off")).first, 0);

        // A session bus that accepts and never answers is not waited for.
        const HostileServer silentBus(HostileServer::Manner::silent,
                                      home.filePath(QStringLiteral("silent-bus")));
        QVERIFY(silentBus.isListening());
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                           QStringLiteral("unix:path=") +
                               home.filePath(QStringLiteral("silent-bus")));
        QCOMPARE(notifications(QStringLiteral("status")),
                 std::pair(0, QStringLiteral("off\twatcher state unknown (the session bus does not "
                                             "answer)\n")));

        // Without the desktop program nothing is written that would fail at every login.
        environment.insert(QStringLiteral("PATH"), home.filePath(QStringLiteral("nowhere")));
        const auto missing = notifications(QStringLiteral("on"));
        QCOMPARE(missing.first, 1);
        QVERIFY2(missing.second.contains(QStringLiteral("wurde nicht gefunden")),
                 qPrintable(missing.second));
        QVERIFY(!QFile::exists(entry));
    }

    void check_exitsByTheWorstFinding_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("crontab");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("firstLine");

        // Whether this machine runs cron or sends mail is no matter here.
        const QByteArray machine =
            "# tempolane: ignore-file cron-not-running,cron-denied\nMAILTO=\"\"\n";
        QTest::newRow("nothing to say") << QStringList{} << machine + "0 4 * * * /bin/true\n"
                                        << 0 << "";
        QTest::newRow("a hint alone")
            << QStringList{} << machine + "0 8 * * 1 /bin/cat %Hallo\n"
            << 0
            << "FILE:3: hint: cron gibt den Text nach dem ersten „%“ an „cat“ als Eingabe weiter, "
               "jedes weitere „%“ als Zeilenumbruch. [percent]";
        QTest::newRow("warnings alone")
            << QStringList{} << machine + "* 3 * * * /bin/true\n"
            << 1
            << "FILE:3: warning: „*“ als Minute heißt jede Minute: der Job "
               "läuft in jeder passenden Stunde 60-mal. [every-minute]";
        QTest::newRow("an error")
            << QStringList{} << machine + "0 0 30 2 * /bin/true\n"
            << 2
            << "FILE:3: error: „0 0 30 2 *“ trifft nie: diesen Tag gibt es in "
               "keinem der Monate, und die Zeile läuft nie. [never-runs]";
        QTest::newRow("as JSON")
            << QStringList{"--json"} << machine + "* 3 * * * /bin/true\n"
            << 1
            << "{\"line\":3,\"id\":\"every-minute\",\"severity\":\"warning\",\"job\":"
               "\"833ad50b-73f4-54c0-ba9b-104e16433fdf\",\"message\":\"„*“ als Minute heißt jede "
               "Minute: "
               "der Job läuft in jeder passenden Stunde 60-mal.\",\"fix\":\"„true“ nur zur vollen "
               "Stunde starten: 0 3 * * * /bin/true\"}";
        QTest::newRow("not UTF-8")
            << QStringList{} << QByteArray("0 4 * * * /bin/true \xff\n") << 3 << "";
        QTest::newRow("a folder") << QStringList{"/"} << QByteArray() << 3 << "";
        QTest::newRow("a missing file")
            << QStringList{"/nonexistent/crontab"} << QByteArray() << 3 << "";
        QTest::newRow("two files") << QStringList{"a", "b"} << QByteArray() << 4 << "";
        QTest::newRow("a file and the sample data")
            << QStringList{"--demo"} << QByteArray("#\n") << 4 << "";
        QTest::newRow("an unknown option") << QStringList{"--all"} << QByteArray() << 4 << "";
    }

    void check_exitsByTheWorstFinding()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, crontab);
        QFETCH(int, exitCode);
        QFETCH(QString, firstLine);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("crontab"));
        QVERIFY(writeFile(path, crontab));
        if (!crontab.isEmpty())
            arguments.prepend(path);
        arguments.prepend(QStringLiteral("check"));

        const auto result = runCli(arguments);
        QVERIFY2(result.exitCode == exitCode, result.out + result.err);
        const QStringList lines = QString::fromUtf8(result.out).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.value(0), QString(firstLine).replace(QStringLiteral("FILE"), path));
        if (exitCode == 4)
            QVERIFY(result.err.startsWith("usage: tempolane-cli check"));
        if (exitCode == 3)
            QVERIFY(!result.err.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TempolaneCliTest)
#include "tst_TempolaneCli.moc"
