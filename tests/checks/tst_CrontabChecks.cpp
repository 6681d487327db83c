#include "CanonicalUuid.h"
#include "CrontabChecker.h"
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

    const QStringList none;
    // percent
    QTest::newRow("a date format cut at its first percent sign")
        << "0 4 * * * /bin/date +%Y-%m-%d > /tmp/x 2>&1\n"
        << none << QStringList{"1:percent:warning"} << "„/bin/date +“";
    QTest::newRow("a percent sign inside quotes leaves the quote open")
        << "0 4 * * * /bin/true \"50%\" > /tmp/x 2>&1\n"
        << none << QStringList{"1:percent:error"} << "/bin/true \"50";
    QTest::newRow("text after the percent sign meant as mail's input")
        << "0 8 * * 1 /usr/bin/mail -s Bericht pi%Hallo%\n"
        << QStringList{"x:/usr/bin/mail"} << QStringList{"1:percent:hint"} << "„mail“";
    QTest::newRow("an escaped percent sign") << "0 4 * * * /bin/date +\\%Y >/tmp/x 2>&1\n"
                                             << none << QStringList{} << "";
    QTest::newRow("two backslashes escape each other, not the percent sign")
        << "0 4 * * * /bin/date +\\\\%Y >/tmp/x 2>&1\n"
        << none << QStringList{"1:percent:warning"} << "";
    QTest::newRow("a paused job with a percent sign")
        << "# Tempolane disabled: 0 4 * * * /bin/date +%Y >/tmp/x 2>&1\n"
        << none << QStringList{"1:percent:warning"} << "";
    QTest::newRow("a monitored job's percent sign never reaches cron")
        << monitoredLines("0 4 * * *", "/bin/date +%Y") << none << QStringList{} << "";
    // line-ending
    QTest::newRow("a job line ending in CR LF")
        << "0 4 * * * /home/ann/run.sh\r\n"
        << QStringList{"x:/home/ann/run.sh"} << QStringList{"1:line-ending:error"}
        << "„/home/ann/run.sh\\r“";
    QTest::newRow("assignments and comments with CR LF, which cron trims")
        << "# Kopf\r\nMAILTO=\"\"\r\n"
        << none << QStringList{} << "";
    // command-not-found
    QTest::newRow("a program the login shell finds in /usr/local/bin")
        << "*/5 * * * * php artisan schedule:run\n"
        << QStringList{"x:/usr/local/bin/php"} << QStringList{"1:command-not-found:error"}
        << "„php“ liegt in /usr/local/bin, cron sucht aber nur in /usr/bin:/bin.";
    QTest::newRow("a PATH line above that names its folder")
        << "PATH=/usr/local/bin:/usr/bin:/bin\n*/5 * * * * php artisan\n"
        << QStringList{"x:/usr/local/bin/php"} << QStringList{} << "";
    QTest::newRow("a PATH line below the job counts not for it")
        << "*/5 * * * * php artisan\nPATH=/usr/local/bin:/usr/bin:/bin\n"
        << QStringList{"x:/usr/local/bin/php"} << QStringList{"1:command-not-found:error"} << "";
    QTest::newRow("assignments before the program are skipped")
        << "0 4 * * * LANG=C TZ=UTC php x\n"
        << QStringList{"x:/usr/local/bin/php"} << QStringList{"1:command-not-found:error"} << "";
    QTest::newRow("the program after cd DIR && is followed")
        << "0 4 * * * cd /srv/app && php artisan\n"
        << QStringList{"x:/usr/local/bin/php"} << QStringList{"1:command-not-found:error"}
        << "„php“";
    QTest::newRow("the program after another && may not run and is not followed")
        << "0 4 * * * /bin/true && php artisan\n"
        << QStringList{"x:/usr/local/bin/php"} << QStringList{} << "";
    QTest::newRow("a program found nowhere") << "0 4 * * * backup-all\n"
                                             << none << QStringList{"1:command-not-found:error"}
                                             << "„backup-all“ gibt es auf diesem Rechner nicht";
    QTest::newRow("a user column copied from /etc/crontab")
        << "0 4 * * * root /bin/true\n"
        << none << QStringList{"1:command-not-found:error"} << "„root“ ist ein Benutzerkonto";
    QTest::newRow("time fields after a shortcut")
        << "@reboot 0 5 * * * /bin/true\n"
        << none << QStringList{"1:command-not-found:error"} << "„0“ sieht nach einem Zeitfeld aus";
    QTest::newRow("builtins and reserved words of sh")
        << "0 4 * * * echo hi >/tmp/x 2>&1\n0 5 * * * if true; then exit 0; fi\n"
        << none << QStringList{} << "";
    QTest::newRow("a literal $HOME in PATH finds nothing")
        << "PATH=$HOME/bin:/usr/bin:/bin\n0 4 * * * mytool\n"
        << QStringList{"x:/home/ann/bin/mytool"}
        << QStringList{"1:assignment:warning", "2:command-not-found:error"} << "$HOME/bin";
    // not-executable
    QTest::newRow("a script that is not there")
        << "0 4 * * * /home/ann/gone.sh\n"
        << none << QStringList{"1:not-executable:error"} << "„/home/ann/gone.sh“ gibt es nicht.";
    QTest::newRow("a script of the user's without its execute bit")
        << "0 4 * * * ~/run.sh\n"
        << QStringList{"r:/home/ann/run.sh"} << QStringList{"1:not-executable:error"}
        << "„/home/ann/run.sh“ ist nicht ausführbar";
    QTest::newRow("a folder") << "0 4 * * * $HOME/Scripts\n"
                              << QStringList{"d:/home/ann/Scripts"}
                              << QStringList{"1:not-executable:error"} << "ist ein Ordner";
    QTest::newRow("a pipe is never opened")
        << "0 4 * * * /home/ann/pipe\n"
        << QStringList{"s:/home/ann/pipe"} << QStringList{"1:not-executable:error"}
        << "keine Datei";
    QTest::newRow("a script behind a folder that may not be entered")
        << "0 4 * * * /srv/locked/run.sh\n"
        << QStringList{"u:/srv/locked/run.sh"} << QStringList{"1:not-executable:error"}
        << "nicht erreichbar";
    QTest::newRow("shell text without #! runs under sh")
        << "0 4 * * * /home/ann/plain.sh\n"
        << QStringList{"x:/home/ann/plain.sh=touch x\n"} << QStringList{} << "";
    QTest::newRow("Python without #! does not")
        << "0 4 * * * /home/ann/tool.py\n"
        << QStringList{"x:/home/ann/tool.py=import os\n"} << QStringList{"1:not-executable:error"}
        << "Python";
    QTest::newRow("a #! line ending in CR")
        << "0 4 * * * /home/ann/win.sh\n"
        << QStringList{"x:/home/ann/win.sh=#!/bin/bash\r\nx\n"}
        << QStringList{"1:not-executable:error"} << "„/bin/bash\\r“";
    QTest::newRow("an interpreter that env finds only outside cron's PATH")
        << "0 4 * * * /home/ann/app.js\n"
        << QStringList{"x:/home/ann/app.js=#!/usr/bin/env node\n", "x:/usr/local/bin/node"}
        << QStringList{"1:not-executable:error"} << "„node“";
    QTest::newRow("a path relative to the home folder, where cron starts")
        << "0 4 * * * bin/backup.sh\n"
        << QStringList{"x:/home/ann/bin/backup.sh"} << QStringList{"1:relative-path:hint"}
        << "/home/ann/bin/backup.sh";
    QTest::newRow("a relative path after cd to a known folder")
        << "0 4 * * * cd /srv/app && ./run.sh\n"
        << QStringList{"x:/srv/app/run.sh"} << QStringList{} << "";
    QTest::newRow("output written to a relative file name")
        << "0 4 * * * /bin/date > log.txt 2>&1\n"
        << none << QStringList{"1:relative-path:hint"} << "/home/ann/log.txt";
    // output-lost
    QTest::newRow("output with no mail program to take it")
        << "0 4 * * * /bin/date\n"
        << QStringList{"-:/usr/sbin/sendmail"} << QStringList{"1:output-lost:warning"}
        << "/usr/sbin/sendmail";
    QTest::newRow("output and errors both in a file")
        << "0 4 * * * /bin/date >/tmp/x 2>&1\n"
        << QStringList{"-:/usr/sbin/sendmail"} << QStringList{} << "";
    QTest::newRow("errors still go to mail")
        << "0 4 * * * /bin/date >/dev/null\n"
        << QStringList{"-:/usr/sbin/sendmail"} << QStringList{"1:output-lost:warning"} << "";
    QTest::newRow("output piped to logger")
        << "0 4 * * * /bin/date 2>&1 | logger -t d\n"
        << QStringList{"-:/usr/sbin/sendmail", "x:/usr/bin/logger"} << QStringList{} << "";
    QTest::newRow("an empty MAILTO asks for no mail")
        << "MAILTO=\"\"\n0 4 * * * /bin/date\n"
        << QStringList{"-:/usr/sbin/sendmail"} << QStringList{} << "";
    // shell-syntax
    QTest::newRow("[[ under sh") << "0 4 * * * [[ -f /tmp/x ]] && /bin/true\n"
                                 << none << QStringList{"1:shell-syntax:error"} << "[[: not found";
    QTest::newRow("&> under sh runs the command in the background")
        << "0 4 * * * /bin/date &> /tmp/x\n"
        << none << QStringList{"1:shell-syntax:warning"} << "Hintergrund";
    QTest::newRow("the same under bash")
        << "SHELL=/bin/bash\n0 4 * * * [[ -f /tmp/x ]] && /bin/date &> /tmp/x\n"
        << none << QStringList{} << "";
    QTest::newRow("a brace list stays as written")
        << "0 4 * * * /bin/true /tmp/{a,b} >/dev/null 2>&1\n"
        << none << QStringList{"1:shell-syntax:warning"} << "{a,b}";
    QTest::newRow("braces in quotes and parameter expansions are sh's own")
        << "0 4 * * * /bin/true '{a,b}' \"${x:-a,b}\" >/dev/null 2>&1\n"
        << none << QStringList{} << "";
    // desktop-session
    QTest::newRow("a notification without the session bus")
        << "0 12 * * * notify-send Mittag\n"
        << none << QStringList{"1:desktop-session:warning"} << "„notify-send“";
    QTest::newRow("a notification with the session bus above")
        << "DBUS_SESSION_BUS_ADDRESS=unix:path=/run/user/1000/bus\n0 12 * * * notify-send x\n"
        << none << QStringList{} << "";
    QTest::newRow("a notification that finds the session itself")
        << "0 12 * * * XDG_RUNTIME_DIR=/run/user/1000 notify-send x\n"
        << none << QStringList{} << "";
    // assignment
    QTest::newRow("a comment after a value")
        << "MAILTO=ann@example.org # admin\n"
        << none << QStringList{"1:assignment:warning"} << "„ann@example.org # admin“";
    QTest::newRow("a shell that is not installed")
        << "SHELL=/bin/zsh\n"
        << none << QStringList{"1:assignment:error"} << "„/bin/zsh“";
    QTest::newRow("text after a quoted value")
        << "MAILTO=\"\" # keine Mails\n"
        << none << QStringList{"1:assignment:error"} << "nach dem Wert in Anführungszeichen";
    QTest::newRow("source under sh, said once")
        << "0 4 * * * source /home/ann/.profile && /bin/true\n"
        << none << QStringList{"1:shell-syntax:error"} << "„source“";
    QTest::newRow("a PATH longer than cron reads loses its last folders")
        << QStringLiteral("PATH=%1:/usr/bin\n0 4 * * * curl -s x\n").arg(QString(1000, u'p'))
        << none << QStringList{"1:assignment:warning", "2:command-not-found:error"}
        << "nur die ersten 998 Bytes";
    QTest::newRow("an empty value without quotes")
        << "MAILTO=\n"
        << none << QStringList{"1:assignment:error"} << "MAILTO=\"\"";
    // never-runs, either-day, every-minute
    QTest::newRow("a reversed weekday range")
        << "0 9 * * sat-sun /bin/true\n"
        << none << QStringList{"1:never-runs:error"} << "„sat-sun“";
    QTest::newRow("a reversed range in the minute field")
        << "59-58 * * * * /bin/true\n"
        << none << QStringList{"1:never-runs:error"} << "";
    QTest::newRow("a reversed weekday range beside a day of the month")
        << "0 9 1 * sat-sun /bin/true\n"
        << none << QStringList{"1:never-runs:warning"} << "„sat-sun“";
    QTest::newRow("the 30th of February")
        << "0 0 30 2 * /bin/true\n"
        << none << QStringList{"1:never-runs:error"} << "0 0 30 2 *";
    QTest::newRow("the 31st in months of 30 days")
        << "0 0 31 4,6,9,11 * /bin/true\n"
        << none << QStringList{"1:never-runs:error"} << "";
    QTest::newRow("the 29th of February comes in leap years") << "0 0 29 2 * /bin/true\n"
                                                              << none << QStringList{} << "";
    QTest::newRow("a day of the month and a weekday")
        << "0 0 13 * 5 /bin/true\n"
        << none << QStringList{"1:either-day:warning"}
        << "Fr., 6. März 2026, 00:00 und am Fr., 13. März 2026, 00:00";
    QTest::newRow("a stepped day counts as any day") << "0 0 */2 * 1 /bin/true\n"
                                                     << none << QStringList{} << "";
    QTest::newRow("every minute of one hour")
        << "* 3 * * * /bin/true\n"
        << none << QStringList{"1:every-minute:warning"} << "60";
    QTest::newRow("every minute on purpose") << "* * * * * /bin/true\n"
                                             << none << QStringList{} << "";
    QTest::newRow("every minute of the day, said in so many words") << "*/1 7-19 * * * /bin/true\n"
                                                                    << none << QStringList{} << "";
    QTest::newRow("fields cron reads oddly")
        << "1-5 3+ * * * /bin/true\n"
        << none << QStringList{"1:odd-schedule:warning"} << "„3+“ als „3“";
    QTest::newRow("a line the crontab tool refuses")
        << "5/10 * * * * /bin/true\n"
        << none << QStringList{"1:crontab-refuses:error"} << "Minute";
    QTest::newRow("a sixth field, which the tool takes for the start of the command")
        << "0 9 * * * * /bin/true\n"
        << none << QStringList{"1:crontab-refuses:error"} << "sechstes Zeitfeld";
    QTest::newRow("a command longer than the tool takes")
        << "0 4 * * * /bin/true " + QString(1000, u'x') + "\n"
        << none << QStringList{"1:crontab-refuses:error"} << "";
    QTest::newRow("no line feed at the end")
        << "0 4 * * * /bin/true" << none << QStringList{"1:final-newline:error"} << "";
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
    QTest::newRow("the full path of the program")
        << "*/5 * * * * php artisan\n"
        << php << "command-not-found" << 0 << "*/5 * * * * /usr/local/bin/php artisan\n";
    QTest::newRow("a PATH line above the job and its markers")
        << "# Tempolane id: " + jobId + "\n*/5 * * * * php artisan\n"
        << php << "command-not-found" << 1
        << "PATH=/usr/local/bin:/usr/bin:/bin\n# Tempolane id: " + jobId +
               "\n*/5 * * * * php artisan\n";
    QTest::newRow("the full path inside a monitored job's encoded command")
        << monitoredLines("*/5 * * * *", "php artisan") << php << "command-not-found" << 0
        << "# Tempolane name: php\n" + monitoredLines("*/5 * * * *", "/usr/local/bin/php artisan");
    QTest::newRow("every percent sign escaped")
        << "0 4 * * * /bin/date +%Y-%m >/tmp/x 2>&1\n"
        << QStringList{} << "percent" << 0 << "0 4 * * * /bin/date +\\%Y-\\%m >/tmp/x 2>&1\n";
    QTest::newRow("every line ending repaired, comments too")
        << "# a\r\n0 4 * * * /bin/true\r\n0 5 * * * /bin/true\r\n"
        << QStringList{} << "line-ending" << 0 << "# a\n0 4 * * * /bin/true\n0 5 * * * /bin/true\n";
    QTest::newRow("a reversed weekday range as a list")
        << "0 9 * * sat-sun /bin/true\n"
        << QStringList{} << "never-runs" << 0 << "0 9 * * sat,sun /bin/true\n";
    QTest::newRow("a reversed month range as a list")
        << "0 9 1 nov-jan * /bin/true\n"
        << QStringList{} << "never-runs" << 0 << "0 9 1 nov,dec,jan * /bin/true\n";
    QTest::newRow("the session bus above")
        << "0 12 * * * notify-send x\n"
        << QStringList{} << "desktop-session" << 0
        << "DBUS_SESSION_BUS_ADDRESS=unix:path=/run/user/1000/bus\n0 12 * * * notify-send x\n";
    QTest::newRow("bash above") << "0 4 * * * [[ -f /tmp/x ]] && /bin/true\n"
                                << QStringList{} << "shell-syntax" << 0
                                << "SHELL=/bin/bash\n0 4 * * * [[ -f /tmp/x ]] && /bin/true\n";
    QTest::newRow("the values cron would not put into PATH")
        << "PATH=$HOME/bin:${PATH}\n"
        << QStringList{} << "assignment" << 0 << "PATH=/home/ann/bin:/usr/bin:/bin\n";
    QTest::newRow("the comment of an assignment on a line of its own")
        << "MAILTO=ann@example.org # admin\n"
        << QStringList{} << "assignment" << 0 << "# admin\nMAILTO=ann@example.org\n";
    QTest::newRow("monitoring keeps the output")
        << "0 4 * * * /bin/date\n"
        << QStringList{"-:/usr/sbin/sendmail"} << "output-lost" << 0 << "";
    QTest::newRow("a line feed at the end") << "0 4 * * * /bin/true" << QStringList{}
                                            << "final-newline" << 0 << "0 4 * * * /bin/true\n";
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

    const QString job = QStringLiteral("# Kopf\n0 4 * * * /bin/true\n");
    QTest::newRow("no cron daemon")
        << QStringList{} << std::optional(false) << job << QStringList{"1:cron-not-running:error"};
    QTest::newRow("no telling whether one runs")
        << QStringList{} << std::optional<bool>() << job << QStringList{};
    QTest::newRow("no cron daemon, but nothing to run either")
        << QStringList{} << std::optional(false) << "# Kopf\n# 0 4 * * * /bin/true\n"
        << QStringList{};
    QTest::newRow("cron.allow without the user")
        << QStringList{"r:/etc/cron.allow=root\nbob\n"} << std::optional(true) << job
        << QStringList{"1:cron-denied:error"};
    QTest::newRow("cron.allow with the user, whatever cron.deny says")
        << QStringList{"r:/etc/cron.allow=ann\n", "r:/etc/cron.deny=ann\n"} << std::optional(true)
        << job << QStringList{};
    QTest::newRow("cron.deny with the user")
        << QStringList{"r:/etc/cron.deny=bob\nann\n"} << std::optional(true) << job
        << QStringList{"1:cron-denied:error"};
}

void CrontabChecksTest::machineKeepsEveryLineFromRunning()
{
    QFETCH(QStringList, files);
    QFETCH(std::optional<bool>, isCronRunning);
    QFETCH(QString, crontab);
    QFETCH(QStringList, findings);

    CheckMachine machine = fakeMachine(files);
    machine.isCronRunning = isCronRunning;
    QCOMPARE(summary(checked(crontab, {}, CrontabSource::installed, machine)), findings);
}

void CrontabChecksTest::overlapNeedsARunLongerThanTheGap_data()
{
    QTest::addColumn<QString>("schedule");
    QTest::addColumn<QString>("command");
    QTest::addColumn<qint64>("longestSeconds");
    QTest::addColumn<QStringList>("findings");

    QTest::newRow("seven minutes every five")
        << "*/5 * * * *"
        << "/bin/true" << qint64(7 * 60) << QStringList{"3:overlap:warning"};
    QTest::newRow("three minutes every five") << "*/5 * * * *"
                                              << "/bin/true" << qint64(3 * 60) << QStringList{};
    QTest::newRow("seven minutes every five, behind flock")
        << "*/5 * * * *"
        << "flock -n /tmp/l /bin/true" << qint64(7 * 60) << QStringList{};
    QTest::newRow("two hours a night") << "0 3 * * *"
                                       << "/bin/true" << qint64(2 * 3600) << QStringList{};
}

void CrontabChecksTest::overlapNeedsARunLongerThanTheGap()
{
    QFETCH(QString, schedule);
    QFETCH(QString, command);
    QFETCH(qint64, longestSeconds);
    QFETCH(QStringList, findings);

    CheckMachine machine = fakeMachine();
    const QDateTime start(QDate(2026, 2, 27), QTime(3, 0), machine.zone);
    machine.runHistory = [=](const QUuid& id) {
        if (canonicalText(id) != jobId)
            return QList<JobExecutionRecord>();
        return QList<JobExecutionRecord>{runOf(start.addDays(1), 20), runOf(start, longestSeconds),
                                         runOf(start.addDays(-1), 30)};
    };
    QCOMPARE(
        summary(checked(monitoredLines(schedule, command), {}, CrontabSource::installed, machine)),
        findings);
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
    QCOMPARE(summary(found),
             (QStringList{"2:assignment:warning", "3:not-executable:error", "4:not-executable:error",
                          "5:not-executable:error", "6:not-executable:error",
                          "7:command-not-found:error", "9:crontab-refuses:error"}));
    QVERIFY2(found[5].message.size() < 400, qPrintable(found[5].message));
}

QTEST_GUILESS_MAIN(CrontabChecksTest)
#include "tst_CrontabChecks.moc"
