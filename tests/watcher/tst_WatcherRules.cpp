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

    const auto row = [](const char* name, const JobExecutionSummary& summary, const QString& key,
                        const char* lastLine = "", std::optional<QDateTime> expectedAt = {},
                        std::optional<QDateTime> bootedAt = {}) {
        QTest::newRow(name) << summary << expectedAt << bootedAt << key
                            << QString::fromLatin1(lastLine);
    };
    const QString jobId = job(1).id.toString(QUuid::WithoutBraces);
    const QString missedKey =
        QStringLiteral("missed %1 %2").arg(jobId).arg(noon.addSecs(-3600).toSecsSinceEpoch());
    row("failed run, told with its last meaningful line",
        {JobExecutionState::failed(3),
         record(QStringLiteral("100-7"), 3, QStringLiteral("copying\n  disk full  \n\n")),
         {}},
        "failed " + jobId + " 100-7", "disk full");
    row("failed run without output",
        {JobExecutionState::failed(1), record(QStringLiteral("100-8"), 1), {}},
        "failed " + jobId + " 100-8");
    row("interrupted run",
        {JobExecutionState::interrupted(), record(QStringLiteral("100-9"), std::nullopt), {}},
        "interrupted " + jobId + " 100-9");
    row("run missed while the computer was on",
        {JobExecutionState::notObserved(), std::nullopt, noon.addDays(-1)}, missedKey, "",
        noon.addSecs(-3600), noon.addDays(-2));
    row("run due while the computer was off",
        {JobExecutionState::notObserved(), std::nullopt, noon.addDays(-1)}, {}, "",
        noon.addSecs(-3600), noon.addSecs(-600));
    row("succeeded", {JobExecutionState::succeeded(), record(QStringLiteral("1-1"), 0), {}}, {});
    row("running", {JobExecutionState::running(), record(QStringLiteral("1-1"), std::nullopt), {}},
        {});
    row("waiting", {}, {});
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
    QTest::addColumn<bool>("isEnglish");         // else German
    QTest::addColumn<QList<RunEvent>>("events"); // more than one: told in one summary
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("body");
    QTest::addColumn<bool>("isCritical");

    const auto row = [](const char* name, bool isEnglish, const QList<RunEvent>& events,
                        const QString& summary, const QString& body, bool isCritical = false) {
        QTest::newRow(name) << isEnglish << events << summary << body << isCritical;
    };
    RunEvent failed = sampleEvent(1);
    failed.exitCode = 3;
    failed.lastLine = QStringLiteral("disk <full>");
    RunEvent silent = sampleEvent(1);
    silent.exitCode = 127;
    RunEvent escaping = sampleEvent(1);
    escaping.jobName = QStringLiteral("Job\x1b]0;owned\x07");
    escaping.exitCode = 1;
    escaping.lastLine = QStringLiteral("\x1b[2Jdisk\tfull\x1b[31m");
    const RunEvent interrupted = sampleEvent(2, RunEvent::Kind::interrupted);
    RunEvent missed = sampleEvent(3, RunEvent::Kind::missed);
    missed.dueAt = QDateTime(QDate(2026, 12, 7), QTime(8, 0), Qt::UTC);
    RunEvent missedInTheAfternoon = missed;
    missedInTheAfternoon.dueAt = missed.dueAt.addSecs(6 * 3600);

    row("failed", false, {failed}, u"„Job 1“ ist fehlgeschlagen"_qs,
        u"Exit-Status 3\ndisk <full>"_qs, true);
    row("failed without output", false, {silent}, u"„Job 1“ ist fehlgeschlagen"_qs,
        u"Exit-Status 127"_qs, true);
    row("failed, control characters escaped", false, {escaping},
        u"„Job\\x1b]0;owned\\x07“ ist fehlgeschlagen"_qs,
        u"Exit-Status 1\n\\x1b[2Jdisk\tfull\\x1b[31m"_qs, true);
    row("interrupted", false, {interrupted}, u"„Job 2“ wurde unerwartet beendet"_qs,
        u"Die Ausführung hat kein Ende aufgezeichnet."_qs);
    row("missed, due time in the user's zone", false, {missed},
        u"„Job 3“ wurde nicht ausgeführt"_qs, u"Fällig war: 7. Dez., 09:00"_qs);
    row("in English: failed", true, {failed}, u"\u201cJob 1\u201d failed"_qs,
        u"Exit status 3\ndisk <full>"_qs, true);
    row("in English: interrupted", true, {interrupted}, u"\u201cJob 2\u201d ended unexpectedly"_qs,
        u"The run never recorded its end."_qs);
    row("in English: missed, due on an American 12-hour clock", true, {missedInTheAfternoon},
        u"\u201cJob 3\u201d did not run"_qs, u"Due: Dec 7, 3:00\u202fPM"_qs);
    row("in English: several, in one summary", true,
        {failed, interrupted, missedInTheAfternoon, sampleEvent(4)}, u"4 jobs need attention"_qs,
        u"\u201cJob 1\u201d, \u201cJob 2\u201d, \u201cJob 3\u201d, \u201cJob 4\u201d"_qs, true);
}

void WatcherRulesTest::notificationTexts()
{
    QFETCH(bool, isEnglish);
    QFETCH(QList<RunEvent>, events);

    QTextStream errors(stderr);
    if (isEnglish)
        Language::install(*QCoreApplication::instance(),
                          {QLocale::English, QLocale(QLocale::English, QLocale::UnitedStates)},
                          errors);
    const Notification notification =
        events.size() == 1
            ? notificationOf(events.front(), QTimeZone(QByteArrayLiteral("Europe/Berlin")))
            : summaryOf(events);
    Language::install(*QCoreApplication::instance(), {}, errors);
    QTEST(notification.summary, "summary");
    QTEST(notification.body, "body");
    QTEST(notification.isCritical, "isCritical");
    QCOMPARE(notification.jobId, events.size() == 1 ? events.front().jobId : QUuid());
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
