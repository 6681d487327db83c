#include "Language.h"
#include "Notification.h"
#include "NotificationFlood.h"
#include "NotificationSwitch.h"
#include "RunEvent.h"
#include "ToldEvents.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Tempolane;

Q_DECLARE_METATYPE(JobExecutionSummary)
Q_DECLARE_METATYPE(RunEvent)
Q_DECLARE_METATYPE(std::optional<QDateTime>)
Q_DECLARE_METATYPE(NotificationSwitch::State)

namespace {

const QDateTime noon(QDate(2026, 3, 2), QTime(12, 0), Qt::UTC);

CronJob job(int number, const QString& name = QStringLiteral("Sicherung"))
{
    CronJob job;
    job.id = QUuid(QStringLiteral("00000000-0000-4000-8000-%1").arg(number, 12, 10, QChar(u'0')));
    job.name = name;
    job.scheduleExpression = QStringLiteral("0 9 * * *");
    job.command = QStringLiteral("/usr/local/bin/backup");
    job.isMonitoringEnabled = true;
    return job;
}

JobExecutionRecord record(const QString& id, std::optional<qint32> exitCode,
                          std::optional<QString> output = std::nullopt)
{
    JobExecutionRecord record;
    record.id = id;
    record.startedAt = noon.addSecs(-60);
    record.endedAt = exitCode ? std::optional(noon) : std::nullopt;
    record.exitCode = exitCode;
    record.output = std::move(output);
    return record;
}

RunEvent sampleEvent(int jobNumber, RunEvent::Kind kind = RunEvent::Kind::failed)
{
    RunEvent event;
    event.kind = kind;
    event.jobId = job(jobNumber).id;
    event.jobName = QStringLiteral("Job %1").arg(jobNumber);
    event.key = QStringLiteral("failed %1 run").arg(jobNumber);
    return event;
}

QStringList namesOf(const QList<RunEvent>& events)
{
    QStringList names;
    for (const RunEvent& event : events)
        names.append(event.jobName);
    return names;
}

} // namespace

class WatcherRulesTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void eventOfSummary_data();
    void eventOfSummary();
    void notificationTexts_data();
    void notificationTexts();
    void notificationTexts_inEnglish_data();
    void notificationTexts_inEnglish();
    void floodHoldsBackBursts_data();
    void floodHoldsBackBursts();
    void toldEventsSurviveARestartPrivately();
    void toldEventsIgnoreWhatTheyDidNotWrite_data();
    void toldEventsIgnoreWhatTheyDidNotWrite();
    void autostartEntryIsValid_data();
    void autostartEntryIsValid();
    void switchReplacesWhatStandsInTheEntrysPlace_data();
    void switchReplacesWhatStandsInTheEntrysPlace();
    void switchOff_saysWhenTheEntryWasNotOurs();
};

void WatcherRulesTest::eventOfSummary_data()
{
    QTest::addColumn<JobExecutionSummary>("summary");
    QTest::addColumn<std::optional<QDateTime>>("expectedAt");
    QTest::addColumn<std::optional<QDateTime>>("bootedAt");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("lastLine");

    const auto none = std::optional<QDateTime>();
    const QString jobId = job(1).id.toString(QUuid::WithoutBraces);
    const auto failed =
        record(QStringLiteral("100-7"), 3, QStringLiteral("copying\n  disk full  \n\n"));
    QTest::newRow("failed run, told with its last meaningful line")
        << JobExecutionSummary{JobExecutionState::failed(3), failed, std::nullopt} << none << none
        << QStringLiteral("failed %1 100-7").arg(jobId) << QStringLiteral("disk full");
    QTest::newRow("failed run without output")
        << JobExecutionSummary{JobExecutionState::failed(1), record(QStringLiteral("100-8"), 1),
                               std::nullopt}
        << none << none << QStringLiteral("failed %1 100-8").arg(jobId) << QString();
    QTest::newRow("interrupted run")
        << JobExecutionSummary{JobExecutionState::interrupted(),
                               record(QStringLiteral("100-9"), std::nullopt), std::nullopt}
        << none << none << QStringLiteral("interrupted %1 100-9").arg(jobId) << QString();
    QTest::newRow("run missed while the computer was on")
        << JobExecutionSummary{JobExecutionState::notObserved(), std::nullopt, noon.addDays(-1)}
        << std::optional(noon.addSecs(-3600)) << std::optional(noon.addDays(-2))
        << QStringLiteral("missed %1 %2").arg(jobId).arg(noon.addSecs(-3600).toSecsSinceEpoch())
        << QString();
    QTest::newRow("run due while the computer was off")
        << JobExecutionSummary{JobExecutionState::notObserved(), std::nullopt, noon.addDays(-1)}
        << std::optional(noon.addSecs(-3600)) << std::optional(noon.addSecs(-600)) << QString()
        << QString();
    QTest::newRow("succeeded") << JobExecutionSummary{JobExecutionState::succeeded(),
                                                      record(QStringLiteral("1-1"), 0),
                                                      std::nullopt}
                               << none << none << QString() << QString();
    QTest::newRow("running") << JobExecutionSummary{JobExecutionState::running(),
                                                    record(QStringLiteral("1-1"), std::nullopt),
                                                    std::nullopt}
                             << none << none << QString() << QString();
    QTest::newRow("waiting") << JobExecutionSummary{} << none << none << QString() << QString();
}

void WatcherRulesTest::eventOfSummary()
{
    QFETCH(JobExecutionSummary, summary);
    QFETCH(std::optional<QDateTime>, expectedAt);
    QFETCH(std::optional<QDateTime>, bootedAt);
    QFETCH(QString, key);
    QFETCH(QString, lastLine);

    const auto event = runEventOf(job(1), summary, expectedAt, bootedAt);
    QCOMPARE(event.has_value(), !key.isEmpty());
    if (!event)
        return;
    QCOMPARE(event->key, key);
    QCOMPARE(event->jobName, QStringLiteral("Sicherung"));
    QCOMPARE(event->lastLine.value_or(QString()), lastLine);
    QVERIFY(ToldEvents::isKey(event->key));
}

void WatcherRulesTest::notificationTexts_data()
{
    QTest::addColumn<RunEvent>("event");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("body");
    QTest::addColumn<bool>("isCritical");

    RunEvent failed = sampleEvent(1);
    failed.exitCode = 3;
    failed.lastLine = QStringLiteral("disk <full>");
    QTest::newRow("failed") << failed << QStringLiteral("„Job 1“ ist fehlgeschlagen")
                            << QStringLiteral("Exit-Status 3\ndisk <full>") << true;
    RunEvent silent = sampleEvent(1);
    silent.exitCode = 127;
    QTest::newRow("failed without output") << silent << QStringLiteral("„Job 1“ ist fehlgeschlagen")
                                           << QStringLiteral("Exit-Status 127") << true;
    RunEvent escaping = sampleEvent(1);
    escaping.jobName = QStringLiteral("Job\x1b]0;owned\x07");
    escaping.exitCode = 1;
    escaping.lastLine = QStringLiteral("\x1b[2Jdisk\tfull\x1b[31m");
    QTest::newRow("failed, control characters escaped")
        << escaping << QStringLiteral("„Job\\x1b]0;owned\\x07“ ist fehlgeschlagen")
        << QStringLiteral("Exit-Status 1\n\\x1b[2Jdisk\tfull\\x1b[31m") << true;
    QTest::newRow("interrupted") << sampleEvent(2, RunEvent::Kind::interrupted)
                                 << QStringLiteral("„Job 2“ wurde unerwartet beendet")
                                 << QStringLiteral("Die Ausführung hat kein Ende aufgezeichnet.")
                                 << false;
    RunEvent missed = sampleEvent(3, RunEvent::Kind::missed);
    missed.dueAt = QDateTime(QDate(2026, 12, 7), QTime(8, 0), Qt::UTC);
    QTest::newRow("missed, due time in the user's zone")
        << missed << QStringLiteral("„Job 3“ wurde nicht ausgeführt")
        << QStringLiteral("Fällig war: 7. Dez., 09:00") << false;
}

void WatcherRulesTest::notificationTexts()
{
    QFETCH(RunEvent, event);
    QFETCH(QString, summary);
    QFETCH(QString, body);
    QFETCH(bool, isCritical);

    const Notification notification =
        notificationOf(event, QTimeZone(QByteArrayLiteral("Europe/Berlin")));
    QCOMPARE(notification.summary, summary);
    QCOMPARE(notification.body, body);
    QCOMPARE(notification.isCritical, isCritical);
    QCOMPARE(notification.jobId, event.jobId);
}

void WatcherRulesTest::notificationTexts_inEnglish_data()
{
    QTest::addColumn<QList<RunEvent>>("events"); // more than one: told in one summary
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("body");

    RunEvent failed = sampleEvent(1);
    failed.exitCode = 3;
    failed.lastLine = QStringLiteral("disk <full>");
    RunEvent missed = sampleEvent(3, RunEvent::Kind::missed);
    missed.dueAt = QDateTime(QDate(2026, 12, 7), QTime(14, 0), Qt::UTC);
    const RunEvent interrupted = sampleEvent(2, RunEvent::Kind::interrupted);
    QTest::newRow("failed") << QList<RunEvent>{failed} << u"\u201cJob 1\u201d failed"_qs
                            << u"Exit status 3\ndisk <full>"_qs;
    QTest::newRow("interrupted") << QList<RunEvent>{interrupted}
                                 << u"\u201cJob 2\u201d ended unexpectedly"_qs
                                 << u"The run never recorded its end."_qs;
    QTest::newRow("missed, due on an American 12-hour clock")
        << QList<RunEvent>{missed} << u"\u201cJob 3\u201d did not run"_qs
        << u"Due: Dec 7, 3:00\u202fPM"_qs;
    QTest::newRow("several, in one summary")
        << QList<RunEvent>{failed, interrupted, missed, sampleEvent(4)}
        << u"4 jobs need attention"_qs
        << u"\u201cJob 1\u201d, \u201cJob 2\u201d, \u201cJob 3\u201d, \u201cJob 4\u201d"_qs;
}

void WatcherRulesTest::notificationTexts_inEnglish()
{
    QFETCH(QList<RunEvent>, events);
    QFETCH(QString, summary);
    QFETCH(QString, body);

    QTextStream errors(stderr);
    Language::install(*QCoreApplication::instance(),
                      {QLocale::English, QLocale(QLocale::English, QLocale::UnitedStates)}, errors);
    const Notification notification =
        events.size() == 1
            ? notificationOf(events.front(), QTimeZone(QByteArrayLiteral("Europe/Berlin")))
            : summaryOf(events);
    Language::install(*QCoreApplication::instance(), {}, errors);
    QCOMPARE(notification.summary, summary);
    QCOMPARE(notification.body, body);
}

void WatcherRulesTest::floodHoldsBackBursts_data()
{
    // Each step: seconds after the start, the jobs whose events arrive; then what is shown
    // singly, what in one summary, and when the rest is due (-1: nothing held).
    QTest::addColumn<QList<int>>("seconds");
    QTest::addColumn<QList<QList<int>>>("arrivals");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("retryAfter");

    QTest::newRow("three at once are told one by one")
        << QList<int>{0} << QList<QList<int>>{{1, 2, 3}} << QStringList{QStringLiteral("1 2 3 |")}
        << -1;
    QTest::newRow("four at once become one summary")
        << QList<int>{0} << QList<QList<int>>{{1, 2, 3, 4}}
        << QStringList{QStringLiteral("| 1 2 3 4")} << -1;
    QTest::newRow("a fourth within the minute waits for the first to age out")
        << QList<int>{0, 10, 60} << QList<QList<int>>{{1, 2, 3}, {4}, {}}
        << QStringList{QStringLiteral("1 2 3 |"), QStringLiteral("|"), QStringLiteral("4 |")} << -1;
    QTest::newRow("a fourth after the minute is told at once")
        << QList<int>{0, 61} << QList<QList<int>>{{1, 2, 3}, {4}}
        << QStringList{QStringLiteral("1 2 3 |"), QStringLiteral("4 |")} << -1;
    QTest::newRow("after a summary, more wait a minute")
        << QList<int>{0, 5} << QList<QList<int>>{{1, 2, 3, 4}, {5, 6, 7}}
        << QStringList{QStringLiteral("| 1 2 3 4"), QStringLiteral("|")} << 55;
    QTest::newRow("one job's repeated events count once, the newest kept")
        << QList<int>{0} << QList<QList<int>>{{1, 1, 1, 1, 2}}
        << QStringList{QStringLiteral("1 2 |")} << -1;
}

void WatcherRulesTest::floodHoldsBackBursts()
{
    QFETCH(QList<int>, seconds);
    QFETCH(QList<QList<int>>, arrivals);
    QFETCH(QStringList, shown);
    QFETCH(int, retryAfter);

    NotificationFlood flood;
    NotificationFlood::Outcome outcome;
    for (qsizetype step = 0; step < seconds.size(); ++step) {
        QList<RunEvent> events;
        for (const int number : arrivals[step])
            events.append(sampleEvent(number));
        const QDateTime now = noon.addSecs(seconds[step]);
        outcome = flood.take(events, now);
        QString seen = namesOf(outcome.single).join(u' ') + QStringLiteral(" | ") +
                       namesOf(outcome.summarised).join(u' ');
        seen = seen.replace(QStringLiteral("Job "), QString()).trimmed();
        QCOMPARE(seen, shown[step]);
        if (outcome.retryAt)
            QVERIFY(*outcome.retryAt > now);
    }
    const QDateTime last = noon.addSecs(seconds.last());
    QCOMPARE(outcome.retryAt ? int(last.secsTo(*outcome.retryAt)) : -1, retryAfter);
}

void WatcherRulesTest::toldEventsSurviveARestartPrivately()
{
    QTemporaryDir data;
    const QString path = data.filePath(QStringLiteral("Tempolane/Notifications/told-events"));
    const QSet<QString> keys{QStringLiteral("failed 00000000-0000-4000-8000-000000000001 100-7"),
                             QStringLiteral("missed 00000000-0000-4000-8000-000000000002 17")};
    QVERIFY(ToldEvents(path).write(keys));
    QCOMPARE(ToldEvents(path).read(), keys);
    QCOMPARE(QFileInfo(path).permissions() &
                 ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser),
             QFile::Permissions());
    const QFile::Permissions folder = QFileInfo(QFileInfo(path).path()).permissions();
    QVERIFY(!(folder & (QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther)));
}

void WatcherRulesTest::toldEventsIgnoreWhatTheyDidNotWrite_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("keys");

    const QByteArray key = "failed 00000000-0000-4000-8000-000000000001 100-7\n";
    QTest::newRow("garbled lines are left out")
        << QByteArray(key + "FAILED ../../etc\n\x00\xff\n" + QByteArray(300, 'a') + "\n") << 1;
    QTest::newRow("a huge file is not read")
        << QByteArray(key).repeated(int(ToldEvents::sizeCap / key.size()) + 1) << 0;
    QTest::newRow("empty") << QByteArray() << 0;
}

void WatcherRulesTest::toldEventsIgnoreWhatTheyDidNotWrite()
{
    QFETCH(QByteArray, content);
    QFETCH(int, keys);

    QTemporaryDir data;
    const QString path = data.filePath(QStringLiteral("told-events"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    QCOMPARE(ToldEvents(path).read().size(), keys);

    // A link planted in the file's place is neither read nor written through.
    const QString planted = data.filePath(QStringLiteral("planted"));
    QVERIFY(QFile::link(path, planted));
    QVERIFY(ToldEvents(planted).read().isEmpty());
    QVERIFY(ToldEvents(planted).write({QStringLiteral("missed x 1")}));
    QVERIFY(!QFileInfo(planted).isSymLink());
    QCOMPARE(QFileInfo(path).size(), qint64(content.size()));
}

void WatcherRulesTest::autostartEntryIsValid_data()
{
    QTest::addColumn<QString>("program");
    QTest::newRow("plain") << QStringLiteral("/usr/bin/tempolane");
    QTest::newRow("space") << QStringLiteral("/opt/My Apps/tempolane");
    QTest::newRow("shell characters") << QStringLiteral("/home/a\"b/$x`y`/back\\slash/tempolane");
    QTest::newRow("percent and equals") << QStringLiteral("/srv/100%/a=b/tempolane");
    QTest::newRow("non-ASCII") << QStringLiteral("/home/jörg/Programme/tempolane");
}

void WatcherRulesTest::autostartEntryIsValid()
{
    QFETCH(QString, program);
    const QString validator =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is not installed (scripts/install-deps)");
    QTemporaryDir folder;
    const QString path = folder.filePath(NotificationSwitch::entryFileName());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(NotificationSwitch::entryText(program).toUtf8());
    file.close();

    QProcess validate;
    validate.start(validator, {path});
    QVERIFY(validate.waitForFinished(10000));
    const QByteArray said = validate.readAllStandardOutput() + validate.readAllStandardError();
    QVERIFY2(validate.exitCode() == 0 && said.isEmpty(), said.constData());

    // The Exec line names the program exactly, as the desktop unquotes it.
    const QString text = NotificationSwitch::entryText(program);
    QVERIFY(text.contains(QStringLiteral("\nExec=")));
    QVERIFY(text.contains(QStringLiteral(" --background\n")));
}

void WatcherRulesTest::switchReplacesWhatStandsInTheEntrysPlace_data()
{
    // What stands at the entry's name before the switch: "link:NAME" a link to a file of that
    // name beside the autostart folder (missing: "dangling"), else the entry's text.
    QTest::addColumn<QString>("before");
    QTest::addColumn<NotificationSwitch::State>("stateBefore");
    // A part of what the switch tells; empty when it tells nothing.
    QTest::addColumn<QString>("noteOn");

    QTest::newRow("nothing") << QString() << NotificationSwitch::State::off << QString();
    QTest::newRow("a link to another file of the user")
        << "link:other.txt" << NotificationSwitch::State::on
        << "Ein Verweis an der Stelle des Autostart-Eintrags auf ";
    QTest::newRow("a dangling link")
        << "link:dangling" << NotificationSwitch::State::off << "durch den Eintrag ersetzt";
    QTest::newRow("our entry, hidden by the desktop")
        << "[Desktop Entry]\nExec={program} --background\nHidden=true\n"
        << NotificationSwitch::State::disabledByDesktop << QString();
    QTest::newRow("our entry, disabled by GNOME")
        << "[Desktop Entry]\nExec=\"{program}\" --background\nX-GNOME-Autostart-enabled=false\n"
        << NotificationSwitch::State::disabledByDesktop << QString();
    QTest::newRow("an entry of another program")
        << "[Desktop Entry]\nExec=/usr/bin/other-tool --daemon\n"
        << NotificationSwitch::State::on
        << "nicht von Tempolane stammt, wurde ersetzt; er startete: /usr/bin/other-tool --daemon";
}

void WatcherRulesTest::switchReplacesWhatStandsInTheEntrysPlace()
{
    QFETCH(QString, before);
    QTemporaryDir config;
    const QString folder = config.filePath(QStringLiteral("autostart"));
    QVERIFY(QDir().mkpath(folder));
    // A desktop program that ends at once stands in for the watcher the switch starts.
    const QString program = config.filePath(QStringLiteral("tempolane"));
    QVERIFY(QFile::copy(QStringLiteral("/bin/true"), program));
    const NotificationSwitch notificationSwitch(folder, program);
    const QString entry = notificationSwitch.entryPath();
    const QString target = before.startsWith(u"link:") ? config.filePath(before.mid(5)) : QString();
    const QByteArray otherFile = "not an entry, but a file of the user\n";
    if (!target.isEmpty()) {
        if (!target.endsWith(u"dangling")) {
            QFile other(target);
            QVERIFY(other.open(QIODevice::WriteOnly));
            other.write(otherFile);
        }
        QVERIFY(QFile::link(target, entry));
    } else if (!before.isEmpty()) {
        QFile written(entry);
        QVERIFY(written.open(QIODevice::WriteOnly));
        written.write(QString(before).replace(u"{program}"_qs, program).toUtf8());
    }
    QTEST(notificationSwitch.state(), "stateBefore");

    const auto on = notificationSwitch.switchOn();
    QVERIFY2(on, qPrintable(on ? QString() : on.error()));
    QFETCH(QString, noteOn);
    QVERIFY2(noteOn.isEmpty() ? on->note.isEmpty() : on->note.contains(noteOn),
             qPrintable(on->note));
    QCOMPARE(notificationSwitch.state(), NotificationSwitch::State::on);
    QVERIFY(!QFileInfo(entry).isSymLink());
    if (!target.isEmpty()) {
        // The link's target is left as it was, or not made.
        QFile other(target);
        QCOMPARE(other.open(QIODevice::ReadOnly) ? other.readAll() : QByteArray("(missing)"),
                 target.endsWith(u"dangling") ? QByteArray("(missing)") : otherFile);
    }

    const auto off = notificationSwitch.switchOff();
    QVERIFY(off);
    QVERIFY(off->note.isEmpty());
    QCOMPARE(notificationSwitch.state(), NotificationSwitch::State::off);
    QVERIFY(notificationSwitch.switchOff());

    const NotificationSwitch broken(folder, QStringLiteral("/bin/true\n--evil"));
    QVERIFY(!broken.switchOn());
    QVERIFY(!broken.isOn());
}

void WatcherRulesTest::switchOff_saysWhenTheEntryWasNotOurs()
{
    QTemporaryDir config;
    const NotificationSwitch notificationSwitch(config.path(), QStringLiteral("/bin/true"));
    QFile written(notificationSwitch.entryPath());
    QVERIFY(written.open(QIODevice::WriteOnly));
    written.write("[Desktop Entry]\nExec=/usr/bin/other-tool --daemon\n");
    written.close();
    const auto off = notificationSwitch.switchOff();
    QVERIFY(off);
    QVERIFY2(off->note.contains(u"wurde entfernt; er startete: /usr/bin/other-tool --daemon"),
             qPrintable(off->note));
    QVERIFY(!QFileInfo::exists(notificationSwitch.entryPath()));
}

QTEST_GUILESS_MAIN(WatcherRulesTest)
#include "tst_WatcherRules.moc"
