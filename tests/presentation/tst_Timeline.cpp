// The geometry of the timeline and the run chart: which runs become bands, which past runs were
// missed, where runs of different jobs overlap or crowd one minute, the axis on the days the
// clock changes, and the texts a screen reader reads.
#include "CronExpression.h"
#include "DataTable.h"
#include "RunChart.h"
#include "RunSpans.h"
#include "Timeline.h"

#include <QTest>

using namespace Tempolane;

namespace {

const QTimeZone berlin("Europe/Berlin");
const QLocale german(QLocale::German, QLocale::Germany);
// A Monday morning.
const char* const monday = "2026-03-02 10:00";

QDateTime at(const QString& text)
{
    for (const auto* format : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm"}) {
        const QDateTime parsed = QDateTime::fromString(text, QString::fromLatin1(format));
        if (parsed.isValid())
            return QDateTime(parsed.date(), parsed.time(), berlin);
    }
    return {};
}

std::int64_t ms(const QString& text)
{
    return at(text).toMSecsSinceEpoch();
}

// "02. 09:00" on the Berlin clock.
QString shown(std::int64_t instant)
{
    return QDateTime::fromMSecsSinceEpoch(instant, berlin).toString(QStringLiteral("dd. HH:mm"));
}

// A run that started at the time and took the seconds; no exit code: interrupted.
JobExecutionRecord run(const QString& start, std::optional<qint32> exitCode = 0, int seconds = 12)
{
    JobExecutionRecord record;
    record.startedAt = at(start);
    record.id = QString::number(record.startedAt.toSecsSinceEpoch());
    if (exitCode)
        record.endedAt = record.startedAt.addSecs(seconds);
    record.exitCode = exitCode;
    return record;
}

// Runs from the first start on, every `minutes`, newest first; `failing` fail with 1.
QList<JobExecutionRecord> runsEvery(const QString& first, int minutes, int count,
                                    const QList<int>& failing = {})
{
    QList<JobExecutionRecord> runs;
    for (int index = 0; index < count; ++index) {
        const QString start = at(first)
                                  .addSecs(qint64(index) * minutes * 60)
                                  .toString(QStringLiteral("yyyy-MM-dd HH:mm"));
        runs.prepend(run(start, failing.contains(index) ? 1 : 0));
    }
    return runs;
}

// Three runs of a week ago that took the minutes: what makes a job's usual duration.
QList<JobExecutionRecord> usually(int minutes)
{
    return {run(QStringLiteral("2026-02-23 02:00"), 0, minutes * 60),
            run(QStringLiteral("2026-02-22 02:00"), 0, minutes * 60),
            run(QStringLiteral("2026-02-21 02:00"), 0, minutes * 60)};
}

TimelineJob job(const QString& name, const QString& expression,
                std::optional<QList<JobExecutionRecord>> runs = std::nullopt,
                const QString& monitoringStart = {})
{
    TimelineJob made;
    made.id = QUuid::createUuidV5(QUuid(), name);
    made.name = name;
    made.expression = expression;
    made.isMonitored = runs.has_value();
    made.runs = runs.value_or(QList<JobExecutionRecord>());
    if (!monitoringStart.isEmpty())
        made.monitoringStartedAt = at(monitoringStart);
    return made;
}

Timeline timeline(const QList<TimelineJob>& jobs, const QString& now = QString::fromLatin1(monday),
                  TimelineRange range = TimelineRange::day)
{
    return Timeline::make({jobs, range, at(now), berlin, german});
}

// "failed 02. 09:00": the shape of a run and when it started.
QString shapeAt(RunShape shape, std::int64_t start)
{
    static const char* const shapes[] = {"planned",     "succeeded", "failed",
                                         "interrupted", "running",   "missed"};
    return QString::fromLatin1(shapes[int(shape)]) + u' ' + shown(start);
}

QString describe(const TimelineMark& mark)
{
    QString text = shapeAt(mark.shape, mark.start);
    if (mark.count > 1)
        text += QStringLiteral("–%1 ×%2").arg(shown(mark.lastStart)).arg(mark.count);
    if (mark.exitCode)
        text += QStringLiteral(" exit %1").arg(*mark.exitCode);
    return text;
}

// The marks of the lane before the timeline's now.
QString pastOf(const Timeline& timeline, int lane = 0)
{
    QStringList marks;
    for (const TimelineMark& mark : timeline.lanes[lane].marks) {
        if (mark.start < timeline.now)
            marks.append(describe(mark));
    }
    return marks.join(QStringLiteral(", "));
}

QStringList notesOf(const Timeline& timeline)
{
    QStringList notes;
    for (int note = 0; note < timeline.notes.size(); ++note)
        notes.append(timeline.noteText(note));
    return notes;
}

} // namespace

Q_DECLARE_METATYPE(QList<TimelineJob>)
Q_DECLARE_METATYPE(QList<JobExecutionRecord>)
Q_DECLARE_METATYPE(TimelineRange)

class TimelineTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(german); }
    void runSpans_data();
    void runSpans();
    void notes_data();
    void notes();
    void pastRuns_data();
    void pastRuns();
    void axisOnChangesOfTheClock_data();
    void axisOnChangesOfTheClock();
    void summary_data();
    void summary();
    void runChart_data();
    void runChart();
};

void TimelineTest::runSpans_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("until");
    QTest::addColumn<int>("gapMinutes");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("rate"); // of the first band

    for (const QStringList& row : Testing::dataTable(QStringLiteral("run-spans.tsv"), 7))
        QTest::newRow(qPrintable(row[0]))
            << row[1] << row[2] << row[3] << row[4].toInt() << row[5] << row[6];
}

void TimelineTest::runSpans()
{
    QFETCH(QString, expression);
    QFETCH(QString, from);
    QFETCH(QString, until);
    QFETCH(int, gapMinutes);
    QFETCH(QString, expected);
    QFETCH(QString, rate);

    const NextExecutionSearch search(*CronExpression::parse(expression), berlin);
    const QList<RunSpan> spans =
        RunSpans::between(search, ms(from), ms(until), gapMinutes * 60'000);
    QStringList texts;
    QString firstRate;
    for (const RunSpan& span : spans) {
        texts.append(span.isBand() ? QStringLiteral("%1–%2 ×%3")
                                         .arg(shown(span.first), shown(span.last))
                                         .arg(span.count)
                                   : shown(span.first));
        if (span.isBand() && firstRate.isEmpty())
            firstRate = RunSpans::rateText(span);
    }
    QCOMPARE(texts.join(QStringLiteral(", ")), expected);
    QCOMPARE(firstRate, rate);
}

void TimelineTest::notes_data()
{
    QTest::addColumn<QList<TimelineJob>>("jobs");
    QTest::addColumn<QStringList>("expected");

    const auto at0300 = [](const char* name) {
        return job(QString::fromLatin1(name), QStringLiteral("0 3 * * *"));
    };
    QTest::newRow("a long backup overlaps the sync that starts after it")
        << QList{job("backup.sh", "0 2 * * *", usually(25)), job("sync.sh", "10 2 * * *")}
        << QStringList{"Überschneidung um 02:00: backup.sh und sync.sh"};
    QTest::newRow("a short backup is done before the sync starts")
        << QList{job("backup.sh", "0 2 * * *", usually(5)), job("sync.sh", "10 2 * * *")}
        << QStringList();
    QTest::newRow("runs started in the same minute overlap however short")
        << QList{job("backup.sh", "0 2 * * *"), job("sync.sh", "0 2 * * *")}
        << QStringList{"Überschneidung um 02:00: backup.sh und sync.sh"};
    QTest::newRow("a minute apart, without known durations, they do not")
        << QList{job("backup.sh", "0 2 * * *"), job("sync.sh", "1 2 * * *")} << QStringList();
    QTest::newRow("three at once overlap but do not crowd the minute")
        << QList{at0300("a"), at0300("b"), at0300("c")}
        << QStringList{"Überschneidung um 03:00: a, b und c"};
    QTest::newRow("four at once crowd the minute")
        << QList{at0300("a"), at0300("b"), at0300("c"), at0300("d")}
        << QStringList{"Überschneidung um 03:00: a, b, c und d",
                       "Um 03:00 starten 4 Jobs: a, b, c und d"};
    QTest::newRow("beyond four jobs, three are named")
        << QList{at0300("a"), at0300("b"), at0300("c"), at0300("d"), at0300("e")}
        << QStringList{"Überschneidung um 03:00: a, b, c und 2 weitere",
                       "Um 03:00 starten 5 Jobs: a, b, c und 2 weitere"};
    QTest::newRow("a frequent job drawn as a band takes part in neither")
        << QList{job("artisan", "*/5 * * * *"), job("backup.sh", "0 2 * * *"), at0300("a"),
                 at0300("b"), at0300("c")}
        << QStringList{"Überschneidung um 03:00: a, b und c"};
    QTest::newRow("runs already past are not pointed out")
        << QList{job("backup.sh", "0 9 * * *"), job("sync.sh", "0 9 * * *")}
        << QStringList{"Überschneidung um 09:00: backup.sh und sync.sh"};
}

void TimelineTest::notes()
{
    QFETCH(QList<TimelineJob>, jobs);
    QFETCH(QStringList, expected);
    // Monday 10:00: today's 09:00 is past, tomorrow's lies ahead once.
    QCOMPARE(notesOf(timeline(jobs)), expected);
}

void TimelineTest::pastRuns_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QList<JobExecutionRecord>>("runs");
    QTest::addColumn<QString>("monitoringStart");
    QTest::addColumn<QString>("now");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char* name, const char* expression,
                        const QList<JobExecutionRecord>& runs, const char* start, const char* now,
                        const char* expected) {
        QTest::newRow(name) << QString::fromLatin1(expression) << runs << QString::fromLatin1(start)
                            << QString::fromLatin1(now) << QString::fromUtf8(expected);
    };
    const char* const daily = "0 9 * * *";
    const char* const earlier = "2026-02-20 00:00";
    row("today's run succeeded", daily, {run("2026-03-02 09:00:01")}, earlier, monday,
        "succeeded 02. 09:00");
    row("a failed run keeps its exit code", daily, {run("2026-03-02 09:00:01", 3)}, earlier, monday,
        "failed 02. 09:00 exit 3");
    row("an interrupted run", daily, {run("2026-03-02 09:00:01", std::nullopt)}, earlier, monday,
        "interrupted 02. 09:00");
    row("a run that left no record was missed", daily, {}, earlier, monday, "missed 02. 09:00");
    row("a run started by hand stands for no scheduled run", daily, {run("2026-03-02 08:00")},
        earlier, monday, "succeeded 02. 08:00, missed 02. 09:00");
    row("before monitoring began nothing was missed", daily, {}, "2026-03-02 09:30", monday, "");
    row("a run still within its grace period is not missed yet", daily, {}, "2026-03-01 12:00",
        "2026-03-02 09:01", "");
    row("successes close together make one band", "*/5 * * * *",
        runsEvery("2026-03-02 08:00", 5, 24), "2026-03-02 07:58", monday,
        "succeeded 02. 08:00–02. 09:55 ×24");
    row("a failure breaks the band of successes", "*/5 * * * *",
        runsEvery("2026-03-02 08:00", 5, 24, {6}), "2026-03-02 07:58", monday,
        "succeeded 02. 08:00–02. 08:25 ×6, failed 02. 08:30 exit 1, "
        "succeeded 02. 08:35–02. 09:55 ×17");
    row("missed runs close together make one band", "*/5 * * * *",
        runsEvery("2026-03-02 08:00", 5, 13), "2026-03-02 07:58", monday,
        "succeeded 02. 08:00–02. 09:00 ×13, missed 02. 09:05–02. 09:55 ×11");
    row("once the runner pruned, older runs are not missed", "*/5 * * * *",
        runsEvery("2026-03-02 01:40", 5, 100), "2026-02-20 00:00", "2026-03-02 10:00",
        "succeeded 02. 01:40–02. 09:55 ×100");
}

void TimelineTest::pastRuns()
{
    QFETCH(QString, expression);
    QFETCH(QList<JobExecutionRecord>, runs);
    QFETCH(QString, monitoringStart);
    QFETCH(QString, now);
    QFETCH(QString, expected);
    QCOMPARE(pastOf(timeline({job("job", expression, runs, monitoringStart)}, now)), expected);
}

void TimelineTest::axisOnChangesOfTheClock_data()
{
    QTest::addColumn<QString>("now");
    QTest::addColumn<TimelineRange>("range");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("until");
    QTest::addColumn<QString>("labels"); // of the ticks in between
    QTest::addColumn<double>("hours");   // from the axis's start to its end

    for (const QStringList& row : Testing::dataTable(QStringLiteral("timeline-axes.tsv"), 7))
        QTest::newRow(qPrintable(row[0]))
            << row[1] << (row[2] == u"week" ? TimelineRange::week : TimelineRange::day) << row[3]
            << row[4] << row[5] << row[6].toDouble();
}

void TimelineTest::axisOnChangesOfTheClock()
{
    QFETCH(QString, now);
    QFETCH(TimelineRange, range);
    QFETCH(QString, from);
    QFETCH(QString, until);
    QFETCH(QString, labels);
    QFETCH(double, hours);

    const Timeline made = timeline({}, now, range);
    QStringList shownLabels;
    for (const TimelineTick& tick : made.ticks) {
        if (tick.at >= ms(from) && tick.at < ms(until))
            shownLabels.append(tick.label);
    }
    QCOMPARE(shownLabels.join(QStringLiteral(", ")), labels);
    QCOMPARE(double(made.end - made.start) / 3'600'000, hours);
    QVERIFY(made.start <= made.now && made.now < made.end);
}

void TimelineTest::summary_data()
{
    QTest::addColumn<QList<TimelineJob>>("jobs");
    QTest::addColumn<TimelineRange>("range");
    QTest::addColumn<QString>("expected");

    QTest::newRow("an empty crontab")
        << QList<TimelineJob>() << TimelineRange::day << "Nächste 24 Stunden: keine Ausführungen.";
    QTest::newRow("an empty crontab, a week ahead")
        << QList<TimelineJob>() << TimelineRange::week << "Nächste 7 Tage: keine Ausführungen.";
    QTest::newRow("a job that only runs at start-up")
        << QList{job("start.sh", "@reboot")} << TimelineRange::day
        << "Nächste 24 Stunden: keine Ausführungen.";
    QTest::newRow("runs of jobs, the overlap and what happened")
        << QList{job("backup.sh", "0 2 * * *", usually(25)), job("sync.sh", "10 2 * * *"),
                 job("report.sh", "30 8 * * 1-5"), job("start.sh", "@reboot")}
        << TimelineRange::day
        << "Nächste 24 Stunden: 3 Ausführungen von 3 Jobs; Überschneidung um 02:00: backup.sh "
           "und sync.sh. Vergangene 24 Stunden: 1 nicht erkannt.";
    QTest::newRow("a week of an hourly job and a weekly one")
        << QList{job("hourly", "0 * * * *"), job("weekly", "0 3 * * 0")} << TimelineRange::week
        << "Nächste 7 Tage: 169 Ausführungen von 2 Jobs.";
}

void TimelineTest::summary()
{
    QFETCH(QList<TimelineJob>, jobs);
    QFETCH(TimelineRange, range);
    QFETCH(QString, expected);
    const Timeline made = timeline(jobs, QString::fromLatin1(monday), range);
    QCOMPARE(made.summary, expected);
    QCOMPARE(made.lanes.size(), jobs.size());
    for (const TimelineLane& lane : made.lanes)
        QCOMPARE(lane.emptyText.isEmpty(), !lane.marks.isEmpty());
}

void TimelineTest::runChart_data()
{
    QTest::addColumn<QList<JobExecutionRecord>>("runs");
    QTest::addColumn<QStringList>("slots");
    QTest::addColumn<QString>("summary");

    QTest::newRow("one run is no chart yet")
        << QList{run("2026-03-02 09:00")} << QStringList()
        << "Das Diagramm der Laufzeiten erscheint nach der zweiten Ausführung.";
    QTest::newRow("oldest first, a missed day between, the slowest named")
        << QList{run("2026-03-02 09:00:02", 0, 20), run("2026-02-28 09:00:01", 2, 90),
                 run("2026-02-27 09:00:01", 0, 10)}
        << QStringList{"succeeded 27. 09:00 10 s", "failed 28. 09:00 90 s", "missed 01. 09:00 ×1",
                       "succeeded 02. 09:00 20 s"}
        << "Laufzeiten der letzten 3 Ausführungen; Median: 20 Sek.; Langsamste Ausführung: 28. "
           "Feb., 09:00, 1 Min. 30 Sek.; 2 erfolgreich, 1 fehlgeschlagen und 1 nicht erkannt.";
    QTest::newRow("an interrupted run has no length and is left out of the median")
        << QList{run("2026-03-02 09:00:02", std::nullopt), run("2026-03-01 09:00:02", 0, 30),
                 run("2026-02-28 09:00:01", 0, 10)}
        << QStringList{"succeeded 28. 09:00 10 s", "succeeded 01. 09:00 30 s",
                       "interrupted 02. 09:00"}
        << "Laufzeiten der letzten 3 Ausführungen; Median: 20 Sek.; Langsamste Ausführung: 1. "
           "März, 09:00, 30 Sek.; 2 erfolgreich und 1 unerwartet beendet.";
}

void TimelineTest::runChart()
{
    QFETCH(QList<JobExecutionRecord>, runs);
    QFETCH(QStringList, slots);
    QFETCH(QString, summary);

    const RunChart chart = RunChart::make(QStringLiteral("0 9 * * *"), runs, std::nullopt,
                                          at(QString::fromLatin1(monday)), berlin, german);
    QStringList shownSlots;
    for (const RunChartSlot& slot : chart.slots) {
        QString text = shapeAt(slot.shape, slot.start);
        if (slot.duration)
            text += QStringLiteral(" %1 s").arg(*slot.duration / 1000);
        if (slot.missedCount > 0)
            text += QStringLiteral(" ×%1").arg(slot.missedCount);
        shownSlots.append(text);
    }
    QCOMPARE(shownSlots, slots);
    QCOMPARE(chart.summary, summary);
    QCOMPARE(chart.placeholder.has_value(), slots.isEmpty());
}

QTEST_GUILESS_MAIN(TimelineTest)
#include "tst_Timeline.moc"
