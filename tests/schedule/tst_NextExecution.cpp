#include "CronExpression.h"
#include "LiteralNextExecution.h"
#include "NextExecutionSearch.h"
#include "NextRunText.h"

#include <QTest>

using namespace Tempolane;

namespace {

// "yyyy-MM-dd HH:mm[:ss[.zzz]]" on the zone's wall clock, or with a trailing "Z" in UTC.
QDateTime instant(QString text, const QTimeZone& zone)
{
    const bool isUtc = text.endsWith(u'Z');
    if (isUtc)
        text.chop(1);
    for (const auto* format :
         {"yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm"}) {
        const QDateTime parsed = QDateTime::fromString(text, QString::fromLatin1(format));
        if (parsed.isValid())
            return QDateTime(parsed.date(), parsed.time(), isUtc ? QTimeZone::utc() : zone);
    }
    return {};
}

QByteArray zoneId(const char* id)
{
    return QByteArray(id);
}

} // namespace

class NextExecutionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nextExecution_data();
    void nextExecution();
    void nextExecution_returnsNothingForInvalidInput();
    void nextRunText_showsTheZonesWallClock();
    void horizon_data();
    void horizon();
    void transitionTable_agreesWithTheZone_data();
    void transitionTable_agreesWithTheZone();
};

void NextExecutionTest::nextExecution_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QString>("expected"); // empty: nothing

    const auto row = [](const char* name, const char* expression, const char* zone,
                        const char* reference, const char* expected) {
        QTest::newRow(name) << QString::fromUtf8(expression) << zoneId(zone)
                            << QString::fromUtf8(reference) << QString::fromUtf8(expected);
    };
    const char* berlin = "Europe/Berlin";

    row("every minute, mid-minute", "* * * * *", berlin, "2026-05-04 10:15:30", "2026-05-04 10:16");
    row("every minute, on the minute", "* * * * *", berlin, "2026-05-04 10:15", "2026-05-04 10:16");
    row("daily, just after", "0 9 * * *", berlin, "2026-05-04 09:00:20", "2026-05-05 09:00");
    row("daily, just before", "0 9 * * *", berlin, "2026-05-04 08:59:59", "2026-05-04 09:00");
    row("@daily", "@daily", berlin, "2026-05-04 10:15", "2026-05-05 00:00");
    row("@hourly", "@HOURLY", berlin, "2026-05-04 10:15", "2026-05-04 11:00");
    row("@weekly is Sunday", "@weekly", berlin, "2026-05-04 10:15", "2026-05-10 00:00");
    row("@yearly", "@yearly", berlin, "2026-05-04 10:15", "2027-01-01 00:00");
    row("@reboot", "@reboot", berlin, "2026-05-04 10:15", "");
    row("leading blanks", "  @daily", berlin, "2026-05-04 10:15", "");
    row("four fields", "* * * *", berlin, "2026-05-04 10:15", "");
    row("out of bounds never matches", "61 * * * *", berlin, "2026-05-04 10:15", "");
    row("30 February", "0 0 30 2 *", berlin, "2026-05-04 10:15", "");
    row("29 February inside two years", "0 0 29 2 *", berlin, "2026-03-01 00:00",
        "2028-02-29 00:00");
    row("29 February beyond two years", "0 0 29 2 *", berlin, "2025-03-02 00:00", "");
    row("13th or Friday: Friday", "0 0 13 * 5", berlin, "2026-05-04 10:15", "2026-05-08 00:00");
    row("13th or Friday: 13th", "0 0 13 * 5", berlin, "2026-05-09 10:15", "2026-05-13 00:00");
    row("Sunday as 7", "0 0 * * 7", berlin, "2026-05-04 10:15", "2026-05-10 00:00");
    row("Sunday as 0", "0 0 * * 0", berlin, "2026-05-04 10:15", "2026-05-10 00:00");
    row("Sunday by name", "0 0 * * sun", berlin, "2026-05-04 10:15", "2026-05-10 00:00");
    row("weekdays skip the weekend", "30 8 * * 1-5", berlin, "2026-05-08 09:00",
        "2026-05-11 08:30");
    row("quarter hours", "*/15 * * * *", berlin, "2026-05-04 10:15", "2026-05-04 10:30");
    row("month end to next year", "59 23 31 12 *", berlin, "2026-12-31 23:59", "2027-12-31 23:59");

    // Cron's rule for stepped stars: both day fields must agree.
    row("odd days, not daily", "0 0 */2 * *", berlin, "2026-01-01 12:00", "2026-01-03 00:00");
    row("odd days: 31st", "0 0 */2 * *", berlin, "2026-01-30 12:00", "2026-01-31 00:00");
    row("odd days: then the 1st", "0 0 */2 * *", berlin, "2026-01-31 12:00", "2026-02-01 00:00");
    row("Mondays on odd days", "0 0 */2 * 1", berlin, "2026-01-06 12:00", "2026-01-19 00:00");
    row("1st on every other weekday", "0 0 1 * */2", berlin, "2026-03-01 12:00",
        "2026-08-01 00:00");

    // The horizon is included, and counts two calendar years from the reference's minute.
    row("match exactly at the horizon", "0 0 1 3 */7", berlin, "2024-03-01 00:00:00.001",
        "2026-03-01 00:00");
    row("horizon from 29 February", "0 0 1 3 */7", berlin, "2024-02-29 23:59", "");

    // Daylight saving: a skipped time does not match that day, a repeated one matches at the
    // first occurrence the scan meets.
    row("Berlin: skipped 02:30", "30 2 * * *", berlin, "2026-03-28 12:00", "2026-03-30 02:30");
    row("Berlin: repeated 02:30, first", "30 2 * * *", berlin, "2026-10-24 12:00",
        "2026-10-25 00:30Z");
    row("Berlin: repeated 02:30, reference in the second", "30 2 * * *", berlin,
        "2026-10-25 01:10Z", "2026-10-25 01:30Z");
    row("Berlin: repeated 02:30, reference after the first", "30 2 * * *", berlin,
        "2026-10-25 00:40Z", "2026-10-25 01:30Z");
    row("Berlin: every minute over the repeat", "* * * * *", berlin, "2026-10-25 00:59:30Z",
        "2026-10-25 01:00Z");
    row("Berlin: every minute over the skip", "* * * * *", berlin, "2026-03-29 01:59",
        "2026-03-29 03:00");
    row("New York: skipped 02:15", "15 2 * * *", "America/New_York", "2026-03-07 12:00",
        "2026-03-09 02:15");
    row("Sao Paulo: skipped midnight", "0 0 * * *", "America/Sao_Paulo", "2018-11-03 12:00",
        "2018-11-05 00:00");
    row("Sao Paulo: 00:30 after the skip", "30 0 * * *", "America/Sao_Paulo", "2018-11-03 12:00",
        "2018-11-05 00:30");
    row("Sao Paulo: 01:00 exists", "0 1 * * *", "America/Sao_Paulo", "2018-11-03 12:00",
        "2018-11-04 01:00");
    row("Lord Howe: half-hour skip", "15 2 * * *", "Australia/Lord_Howe", "2026-10-03 12:00",
        "2026-10-05 02:15");
    row("Lord Howe: half-hour repeat", "45 1 * * *", "Australia/Lord_Howe", "2026-04-04 14:50Z",
        "2026-04-04 15:15Z");
    row("Kathmandu: quarter-hour offset", "0 0 * * *", "Asia/Kathmandu", "2026-01-01 00:00Z",
        "2026-01-01 18:15Z");
    row("Kathmandu: 1986 skip", "5 0 * * *", "Asia/Kathmandu", "1985-12-31 12:00",
        "1986-01-02 00:05");
    row("Apia: skipped day", "0 12 * * *", "Pacific/Apia", "2011-12-29 13:00", "2011-12-31 12:00");
    row("Apia: skipped 30 December", "0 0 30 12 *", "Pacific/Apia", "2011-01-01 00:00",
        "2012-12-30 00:00");
    row("UTC", "0 0 1 1 *", "UTC", "2026-05-04 10:15", "2027-01-01 00:00");
}

void NextExecutionTest::nextExecution()
{
    QFETCH(QString, expression);
    QFETCH(QByteArray, zone);
    QFETCH(QString, reference);
    QFETCH(QString, expected);

    const QTimeZone timeZone(zone);
    QVERIFY(timeZone.isValid());
    const QDateTime referenceInstant = instant(reference, timeZone);
    QVERIFY(referenceInstant.isValid());

    const auto next = CronExpression::nextExecution(expression, referenceInstant, timeZone);
    if (expected.isEmpty()) {
        QCOMPARE(next, std::nullopt);
        return;
    }
    QVERIFY(next.has_value());
    QCOMPARE(next->timeSpec(), Qt::UTC);
    QCOMPARE(next->toTimeZone(timeZone), instant(expected, timeZone));
}

void NextExecutionTest::nextExecution_returnsNothingForInvalidInput()
{
    const QDateTime reference(QDate(2026, 5, 4), QTime(10, 15), QTimeZone::utc());
    QCOMPARE(CronExpression::nextExecution(QStringLiteral("* * * * *"), reference, QTimeZone()),
             std::nullopt);
    QCOMPARE(
        CronExpression::nextExecution(QStringLiteral("* * * * *"), QDateTime(), QTimeZone::utc()),
        std::nullopt);
}

void NextExecutionTest::nextRunText_showsTheZonesWallClock()
{
    const QTimeZone berlin("Europe/Berlin");
    const QDateTime run = QDateTime::fromSecsSinceEpoch(1767252600, Qt::UTC);
    QCOMPARE(nextRunText(run, berlin), QStringLiteral("01.01.2026 08:30"));
    QCOMPARE(nextRunText(run, QTimeZone("Asia/Kathmandu")), QStringLiteral("01.01.2026 13:15"));
    QCOMPARE(nextRunText(std::nullopt, berlin), QStringLiteral("—"));
}

void NextExecutionTest::horizon_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("expected");

    QTest::newRow("29 February to 28 February") << zoneId("Europe/Berlin") << "2024-02-29 10:00"
                                                << "2026-02-28 10:00";
    QTest::newRow("skipped time read with the offset before")
        << zoneId("Europe/Berlin") << "2026-03-26 02:30"
        << "2028-03-26 01:30Z";
    QTest::newRow("repeated time at its first occurrence")
        << zoneId("Europe/Berlin") << "2026-10-29 02:30"
        << "2028-10-29 00:30Z";
    QTest::newRow("from summer to winter time") << zoneId("Europe/Berlin") << "2026-07-01 12:00"
                                                << "2028-07-01 12:00";
    QTest::newRow("Apia: the skipped day") << zoneId("Pacific/Apia") << "2009-12-30 12:00"
                                           << "2011-12-30 22:00Z";
    QTest::newRow("Sao Paulo: skipped midnight")
        << zoneId("America/Sao_Paulo") << "2016-11-04 00:30"
        << "2018-11-04 03:30Z";
    QTest::newRow("Lord Howe: half an hour skipped")
        << zoneId("Australia/Lord_Howe") << "2024-10-04 02:10"
        << "2026-10-04 02:40";
    QTest::newRow("UTC") << zoneId("UTC") << "2026-01-31 23:59"
                         << "2028-01-31 23:59";
}

void NextExecutionTest::horizon()
{
    QFETCH(QByteArray, zone);
    QFETCH(QString, base);
    QFETCH(QString, expected);

    const QTimeZone timeZone(zone);
    const std::int64_t baseInstant = instant(base, timeZone).toMSecsSinceEpoch();
    const std::int64_t horizon = NextExecutionSearch::horizon(baseInstant, ZoneOffsets(timeZone));
    QCOMPARE(QDateTime::fromMSecsSinceEpoch(horizon, timeZone), instant(expected, timeZone));
}

// The literal scan reads offsets from a table of transitions; it must see what the zone sees.
void NextExecutionTest::transitionTable_agreesWithTheZone_data()
{
    QTest::addColumn<QByteArray>("zone");
    for (const char* id : {"Europe/Berlin", "America/New_York", "America/Sao_Paulo",
                           "Australia/Lord_Howe", "Asia/Kathmandu", "Pacific/Apia", "UTC"})
        QTest::newRow(id) << zoneId(id);
}

void NextExecutionTest::transitionTable_agreesWithTheZone()
{
    QFETCH(QByteArray, zone);
    const QTimeZone timeZone(zone);
    const Testing::TransitionTable table(timeZone);
    const ZoneOffsets offsets(timeZone);

    std::vector<std::int64_t> instants;
    for (const std::int64_t transition : table.transitions()) {
        for (const std::int64_t delta : {-3'600'000LL, -1LL, 0LL, 1LL, 3'600'000LL})
            instants.push_back(transition + delta);
    }
    const std::int64_t first =
        QDateTime(QDate(1850, 1, 1), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
    const std::int64_t last =
        QDateTime(QDate(2100, 1, 1), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
    for (std::int64_t at = first; at < last; at += 777'777'777LL) // about every nine days
        instants.push_back(at);

    for (const std::int64_t at : instants) {
        const QDateTime local = QDateTime::fromMSecsSinceEpoch(at, timeZone);
        const int offset = table.offsetSeconds(at);
        QCOMPARE(offset, local.offsetFromUtc());
        QCOMPARE(offsets.offsetSeconds(at), offset);
        const QDateTime wall = QDateTime::fromMSecsSinceEpoch(at + offset * 1000LL, Qt::UTC);
        QCOMPARE(wall.date(), local.date());
        QCOMPARE(wall.time(), local.time());
    }

    // Up to the end of the zone file's own table, the zone lists the same transitions.
    const QDateTime tableEnd(QDate(2037, 1, 1), QTime(0, 0), Qt::UTC);
    const auto listed =
        timeZone.transitions(QDateTime::fromMSecsSinceEpoch(first, Qt::UTC), tableEnd);
    const auto walked = std::count_if(
        table.transitions().cbegin(), table.transitions().cend(),
        [&](std::int64_t t) { return t >= first && t <= tableEnd.toMSecsSinceEpoch(); });
    QCOMPARE(qsizetype(walked), listed.size());

    // The fast search walks the same changes one after the other, each from the last.
    std::int64_t at = first;
    for (const std::int64_t transition : table.transitions()) {
        if (transition <= first)
            continue;
        const auto change = offsets.nextChange(at);
        QVERIFY(change.has_value());
        QCOMPARE(change->at, transition);
        QCOMPARE(change->offsetSeconds, table.offsetSeconds(transition));
        at = transition;
    }
}

QTEST_GUILESS_MAIN(NextExecutionTest)
#include "tst_NextExecution.moc"
