#include "CronExpression.h"
#include "LiteralNextExecution.h"
#include "NextExecutionSearch.h"
#include "NextRunText.h"

#include <QElapsedTimer>
#include <QTest>
#include <random>

using namespace Tempolane;

namespace {

// "yyyy-MM-dd[ HH:mm[:ss[.zzz]]]" on the zone's wall clock, or with a trailing "Z" in UTC.
QDateTime instant(QString text, const QTimeZone& zone)
{
    const bool isUtc = text.endsWith(u'Z');
    if (isUtc)
        text.chop(1);
    for (const auto* format :
         {"yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-dd"}) {
        const QDateTime parsed = QDateTime::fromString(text, QString::fromLatin1(format));
        if (parsed.isValid())
            return QDateTime(parsed.date(), parsed.time(), isUtc ? QTimeZone::utc() : zone);
    }
    return {};
}

const char* const zones[] = {"Europe/Berlin",
                             "America/New_York",
                             "America/Sao_Paulo",
                             "Australia/Lord_Howe",
                             "Asia/Kathmandu",
                             "Pacific/Apia",
                             "UTC"};

constexpr std::int64_t hour = 3'600'000;

// Random but reproducible: the same seed gives the same triples on every machine.
class Dice
{
public:
    explicit Dice(std::uint64_t seed) : m_engine(seed) {}

    std::int64_t between(std::int64_t lower, std::int64_t upper) // both included
    {
        return lower + std::int64_t(m_engine() % std::uint64_t(upper - lower + 1));
    }
    bool chance(int percent) { return between(1, 100) <= percent; }
    template <typename T, std::size_t N> const T& pick(const T (&items)[N])
    {
        return items[between(0, N - 1)];
    }

private:
    std::mt19937_64 m_engine;
};

using Likely = std::initializer_list<int>;

// One element of a field: a value (drawn more often from `likely`: the hours around changes
// of clock, the days that rarely exist), a range, a stepped range, or a stepped value.
QString element(Dice& dice, int lower, int upper, Likely likely)
{
    const std::int64_t start =
        likely.size() > 0 && dice.chance(40)
            ? likely.begin()[dice.between(0, std::int64_t(likely.size()) - 1)]
            : dice.between(lower, upper);
    const int kind = int(dice.between(0, 5));
    if (kind <= 2)
        return QString::number(start);
    if (kind == 5) // the step adds nothing to the start
        return QStringLiteral("%1/%2").arg(start).arg(dice.between(1, 30));
    const QString range = QStringLiteral("%1-%2").arg(start).arg(dice.between(start, upper));
    return kind == 3 ? range : range + u'/' + QString::number(dice.between(1, 12));
}

QString field(Dice& dice, int lower, int upper, int starPercent, Likely likely = {})
{
    static const int steps[] = {1, 2, 3, 4, 5, 6, 7, 10, 13, 15, 20, 30, 45, 59, 60, 100};
    if (dice.chance(starPercent))
        return QStringLiteral("*");
    const int kind = int(dice.between(0, 5));
    if (kind == 0)
        return QStringLiteral("*/") + QString::number(dice.pick(steps));
    if (kind > 2)
        return element(dice, lower, upper, likely);
    QStringList elements;
    for (std::int64_t count = dice.between(2, 4); count > 0; --count)
        elements.append(element(dice, lower, upper, likely));
    if (dice.chance(10))
        elements.append(QStringLiteral("*/") + QString::number(dice.between(2, 9)));
    return elements.join(u',');
}

QString nameOrField(Dice& dice, const auto& names, int lower, int upper, int starPercent,
                    Likely likely)
{
    if (dice.chance(8))
        return QString::fromLatin1(dice.pick(names));
    return field(dice, lower, upper, starPercent, likely);
}

QString expression(Dice& dice)
{
    static const char* fixed[] = {
        "@reboot",      "@yearly",      "@annually",    "@monthly",
        "@weekly",      "@daily",       "@midnight",    "@hourly",
        "0 0 30 2 *",   "0 0 31 4 *",   "0 0 29 2 *",   "30 12 31 2,4,6,9,11 *",
        "0 12 29 2 1",  "0 0 29 2 */7", "0 0 13 * 5",   "0 0 */2 * *",
        "0 0 */2 * 1",  "0 0 1 * */2",  "30 2 * * *",   "0 0 * * 7",
        "* * * * *",    "*/15 * * * *", "30 8 * * 1-5", "59 23 31 12 *",
        "0,30 0 * * *", "45 1 * * sun", "0 0 1 1 *",    "61 * * * *",
    };
    static const char* months[] = {"jan", "Feb", "MAR", "apr", "dec", "nov"};
    static const char* weekdays[] = {"sun", "Mon", "FRI", "sat", "tue"};
    if (dice.chance(12))
        return QString::fromLatin1(dice.pick(fixed));
    for (;;) {
        const QString text =
            QStringList{field(dice, 0, 59, 15, {0, 30, 59}),
                        field(dice, 0, 23, 30, {0, 1, 2, 3, 23}),
                        field(dice, 1, 31, 55, {1, 13, 29, 30, 31}),
                        nameOrField(dice, months, 1, 12, 60, {2, 4, 12}),
                        nameOrField(dice, weekdays, 0, 7, 55, {0, 7, 1, 5})}
                .join(dice.chance(10) ? QStringLiteral("\t ") : QStringLiteral(" "));
        if (!CronExpression::validationMessage(text))
            return text;
    }
}

std::int64_t at(int year, int month = 1, const QTimeZone& zone = QTimeZone::utc())
{
    return QDateTime(QDate(year, month, 1), QTime(0, 0), zone).toMSecsSinceEpoch();
}

// References where the two searches could part: around the zone's changes of offset, around
// the turn of the year and the ends of months, and any time from 1850 (odd historic offsets).
std::int64_t reference(Dice& dice, const QTimeZone& zone,
                       const std::vector<std::int64_t>& transitions)
{
    const auto jitter = [&dice](std::int64_t around, std::int64_t span) {
        static const std::int64_t exact[] = {-60'001, -60'000, -1, 0, 1, 59'999, 60'000};
        return around + (dice.chance(15) ? dice.pick(exact) : dice.between(-span, span));
    };
    const int kind = int(dice.between(1, 100));
    if (kind <= 35 && !transitions.empty())
        return jitter(
            transitions[std::size_t(dice.between(0, std::int64_t(transitions.size()) - 1))],
            36 * hour);
    if (kind <= 55)
        return jitter(at(int(dice.between(1971, 2045)), 1, zone), 30 * hour);
    if (kind <= 65) {
        const int year = int(dice.between(1971, 2045));
        return jitter(at(year, int(dice.between(1, 12)), zone), 30 * hour);
    }
    if (kind <= 75)
        return dice.between(at(1850), at(1970));
    return dice.between(at(1970), at(2046));
}

// The zone's changes in the years the random references are drawn from.
std::vector<std::int64_t> transitionsSampled(const Testing::TransitionTable& table)
{
    std::vector<std::int64_t> transitions;
    std::copy_if(table.transitions().cbegin(), table.transitions().cend(),
                 std::back_inserter(transitions),
                 [](std::int64_t t) { return t >= at(1850) && t < at(2046); });
    return transitions;
}

QString describe(std::optional<std::int64_t> instant, const QTimeZone& zone)
{
    if (!instant)
        return QStringLiteral("nothing");
    return QDateTime::fromMSecsSinceEpoch(*instant, zone).toString(Qt::ISODateWithMs);
}

} // namespace

class NextExecutionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nextExecution_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("reference");
        QTest::addColumn<QString>("expected"); // empty: nothing

        const auto row = [](const char* name, const char* expression, const char* zone,
                            const char* reference, const char* expected) {
            QTest::newRow(name) << QString::fromUtf8(expression) << QByteArray(zone)
                                << QString::fromUtf8(reference) << QString::fromUtf8(expected);
        };
        const char* berlin = "Europe/Berlin";

        row("every minute, mid-minute", "* * * * *", berlin, "2026-05-04 10:15:30",
            "2026-05-04 10:16");
        row("every minute, on the minute", "* * * * *", berlin, "2026-05-04 10:15",
            "2026-05-04 10:16");
        row("daily, just after", "0 9 * * *", berlin, "2026-05-04 09:00:20", "2026-05-05 09:00");
        row("@weekly is Sunday", "@weekly", berlin, "2026-05-04 10:15", "2026-05-10 00:00");
        row("@reboot", "@reboot", berlin, "2026-05-04 10:15", "");
        row("out of bounds never matches", "61 * * * *", berlin, "2026-05-04 10:15", "");
        // These parse, but the crontab tool refuses them: no run to show.
        row("refused: step after a value", "5/10 * * * *", berlin, "2026-05-04 10:15", "");
        row("refused: empty list element", "0 9 * * 1,,2", berlin, "2026-05-04 10:15", "");
        row("30 February", "0 0 30 2 *", berlin, "2026-05-04 10:15", "");
        row("29 Feb inside two years", "0 0 29 2 *", berlin, "2026-03-01 00:00",
            "2028-02-29 00:00");
        row("29 Feb beyond two years", "0 0 29 2 *", berlin, "2025-03-02 00:00", "");
        row("13th or Friday: Friday", "0 0 13 * 5", berlin, "2026-05-04 10:15", "2026-05-08 00:00");
        row("Sunday as 7", "0 0 * * 7", berlin, "2026-05-04 10:15", "2026-05-10 00:00");
        row("weekdays skip the weekend", "30 8 * * 1-5", berlin, "2026-05-08 09:00",
            "2026-05-11 08:30");
        row("month end to next year", "59 23 31 12 *", berlin, "2026-12-31 23:59",
            "2027-12-31 23:59");

        // Cron's rule for stepped stars: both day fields must agree.
        row("odd days, not daily", "0 0 */2 * *", berlin, "2026-01-01 12:00", "2026-01-03 00:00");
        row("odd days: 31st, then 1st", "0 0 */2 * *", berlin, "2026-01-31 12:00",
            "2026-02-01 00:00");
        row("Mondays on odd days", "0 0 */2 * 1", berlin, "2026-01-06 12:00", "2026-01-19 00:00");
        row("1st on every other weekday", "0 0 1 * */2", berlin, "2026-03-01 12:00", "2026-08-01");

        // The horizon is included, and counts two calendar years from the reference's minute.
        row("match at the horizon", "0 0 1 3 */7", berlin, "2024-03-01 00:00:00.001", "2026-03-01");
        row("horizon from 29 February", "0 0 1 3 */7", berlin, "2024-02-29 23:59", "");

        // Daylight saving: a skipped time does not match that day, a repeated one matches at the
        // first occurrence the scan meets.
        row("Berlin: skipped 02:30", "30 2 * * *", berlin, "2026-03-28 12:00", "2026-03-30 02:30");
        row("Berlin: repeated, first", "30 2 * * *", berlin, "2026-10-24 12:00",
            "2026-10-25 00:30Z");
        row("Berlin: repeated, from the second", "30 2 * * *", berlin, "2026-10-25 01:10Z",
            "2026-10-25 01:30Z");
        row("Berlin: minutes over the repeat", "* * * * *", berlin, "2026-10-25 00:59:30Z",
            "2026-10-25 01:00Z");
        row("New York: skipped 02:15", "15 2 * * *", zones[1], "2026-03-07 12:00",
            "2026-03-09 02:15");
        row("Sao Paulo: skipped midnight", "0 0 * * *", zones[2], "2018-11-03 12:00", "2018-11-05");
        row("Sao Paulo: 00:30 after the skip", "30 0 * * *", zones[2], "2018-11-03 12:00",
            "2018-11-05 00:30");
        row("Lord Howe: half-hour skip", "15 2 * * *", zones[3], "2026-10-03 12:00",
            "2026-10-05 02:15");
        row("Lord Howe: half-hour repeat", "45 1 * * *", zones[3], "2026-04-04 14:50Z",
            "2026-04-04 15:15Z");
        row("Kathmandu: quarter-hour offset", "0 0 * * *", zones[4], "2026-01-01 00:00Z",
            "2026-01-01 18:15Z");
        row("Kathmandu: 1986 skip", "5 0 * * *", zones[4], "1985-12-31 12:00", "1986-01-02 00:05");
        row("Apia: skipped day", "0 12 * * *", zones[5], "2011-12-29 13:00", "2011-12-31 12:00");
        row("Apia: skipped 30 December", "0 0 30 12 *", zones[5], "2011-01-01 00:00", "2012-12-30");
    }

    void nextExecution()
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

    void nextExecution_returnsNothingForInvalidInput()
    {
        const QString everyMinute = QStringLiteral("* * * * *");
        const QDateTime reference(QDate(2026, 5, 4), QTime(10, 15), QTimeZone::utc());
        QCOMPARE(CronExpression::nextExecution(everyMinute, reference, QTimeZone()), std::nullopt);
        QCOMPARE(CronExpression::nextExecution(everyMinute, QDateTime(), QTimeZone::utc()),
                 std::nullopt);
    }

    void nextRunText_showsTheZonesWallClock()
    {
        const QTimeZone berlin("Europe/Berlin");
        const QDateTime run = QDateTime::fromSecsSinceEpoch(1767252600, Qt::UTC);
        QCOMPARE(nextRunText(run, berlin), QStringLiteral("01.01.2026 08:30"));
        QCOMPARE(nextRunText(run, QTimeZone("Asia/Kathmandu")), QStringLiteral("01.01.2026 13:15"));
        QCOMPARE(nextRunText(std::nullopt, berlin), QStringLiteral("—"));
    }

    void horizon_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const char* zone, const char* base, const char* to) {
            QTest::newRow(name) << QByteArray(zone) << QString::fromUtf8(base)
                                << QString::fromUtf8(to);
        };
        row("29 February to 28 February", zones[0], "2024-02-29 10:00", "2026-02-28 10:00");
        row("skipped time, offset before", zones[0], "2026-03-26 02:30", "2028-03-26 01:30Z");
        row("repeated time, first occurrence", zones[0], "2026-10-29 02:30", "2028-10-29 00:30Z");
        row("Apia: the skipped day", zones[5], "2009-12-30 12:00", "2011-12-30 22:00Z");
        row("Sao Paulo: skipped midnight", zones[2], "2016-11-04 00:30", "2018-11-04 03:30Z");
        row("Lord Howe: half an hour skipped", zones[3], "2024-10-04 02:10", "2026-10-04 02:40");
        row("UTC", "UTC", "2026-01-31 23:59", "2028-01-31 23:59");
    }

    void horizon()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QString, base);
        QFETCH(QString, expected);

        const QTimeZone timeZone(zone);
        const std::int64_t horizon = NextExecutionSearch::horizon(
            instant(base, timeZone).toMSecsSinceEpoch(), ZoneOffsets(timeZone));
        QCOMPARE(QDateTime::fromMSecsSinceEpoch(horizon, timeZone), instant(expected, timeZone));
    }

    // The literal scan reads offsets and wall clocks from a table of transitions; it must see what
    // the zone sees, and the fast search must walk the same changes one after the other.
    void transitionTable_agreesWithTheZone_data()
    {
        QTest::addColumn<QByteArray>("zone");
        for (const char* id : zones)
            QTest::newRow(id) << QByteArray(id);
    }

    void transitionTable_agreesWithTheZone()
    {
        QFETCH(QByteArray, zone);
        const QTimeZone timeZone(zone);
        const Testing::TransitionTable table(timeZone);
        const ZoneOffsets offsets(timeZone);
        const std::int64_t first = at(1850);
        const std::int64_t last = at(2100);

        std::vector<std::int64_t> instants;
        for (const std::int64_t transition : table.transitions())
            for (const std::int64_t delta : {-3'600'000LL, -1LL, 0LL, 1LL, 3'600'000LL})
                instants.push_back(transition + delta);
        for (std::int64_t at = first; at < last; at += 777'777'777LL)
            instants.push_back(at); // about every nine days
        for (const std::int64_t at : instants) {
            const QDateTime local = QDateTime::fromMSecsSinceEpoch(at, timeZone);
            const int offset = table.offsetSeconds(at);
            QCOMPARE(offset, local.offsetFromUtc());
            QCOMPARE(offsets.offsetSeconds(at), offset);
            const QDateTime wall = QDateTime::fromMSecsSinceEpoch(at + offset * 1000LL, Qt::UTC);
            QCOMPARE(wall.date(), local.date());
            QCOMPARE(wall.time(), local.time());
        }

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

    // The fast search against the literal minute-by-minute scan on random triples, and its count
    // of runs against stepping through them. The default run is a fixed sample;
    // TEMPOLANE_DIFFERENTIAL_FULL=1 runs five times as many triples (and
    // TEMPOLANE_DIFFERENTIAL_SEED picks other ones).
    void fastSearch_equalsLiteralScanAndCountsWhatItSteps_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<int>("zoneIndex");
        for (int index = 0; index < int(std::size(zones)); ++index)
            QTest::newRow(zones[index]) << QByteArray(zones[index]) << index;
    }

    void fastSearch_equalsLiteralScanAndCountsWhatItSteps()
    {
        QFETCH(QByteArray, zone);
        QFETCH(int, zoneIndex);

        const int count =
            qEnvironmentVariableIntValue("TEMPOLANE_DIFFERENTIAL_FULL") == 1 ? 15'000 : 3'000;
        const std::uint64_t seed =
            qEnvironmentVariableIsSet("TEMPOLANE_DIFFERENTIAL_SEED")
                ? qEnvironmentVariable("TEMPOLANE_DIFFERENTIAL_SEED").toULongLong()
                : 20'260'504;
        Dice dice(seed * 31 + std::uint64_t(zoneIndex));

        const QTimeZone timeZone(zone);
        QVERIFY(timeZone.isValid());
        const Testing::TransitionTable table(timeZone);
        const std::vector<std::int64_t> transitions = transitionsSampled(table);

        QStringList mismatches;
        int none = 0;
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < count; ++i) {
            const QString text = expression(dice);
            const std::int64_t referenceInstant = reference(dice, timeZone, transitions);

            std::optional<std::int64_t> fastInstant;
            if (const auto fast = CronExpression::nextExecution(
                    text, QDateTime::fromMSecsSinceEpoch(referenceInstant, Qt::UTC), timeZone))
                fastInstant = fast->toMSecsSinceEpoch();
            std::optional<std::int64_t> literal;
            if (const auto schedule = CronExpression::parse(text))
                literal = Testing::literalNextExecution(*schedule, referenceInstant, table);
            none += literal ? 0 : 1;
            if (fastInstant != literal && mismatches.size() < 20)
                mismatches.append(QStringLiteral("\"%1\" from %2: fast %3, literal %4")
                                      .arg(text, describe(referenceInstant, timeZone),
                                           describe(fastInstant, timeZone),
                                           describe(literal, timeZone)));
        }
        qInfo("%s: %d triples (%d without a next run) in %lld ms", zone.constData(), count, none,
              timer.elapsed());

        // Counting runs over a span without stepping, with the zone's changes worked out once
        // for the span, against stepping through them one by one with the plain search: spans of
        // up to two days, many of them over a change of the clock.
        dice = Dice(7 * 31 + std::uint64_t(zoneIndex));
        for (int i = 0; i < 300; ++i) {
            const auto schedule = CronExpression::parse(expression(dice));
            if (!schedule)
                continue;
            const std::int64_t from = reference(dice, timeZone, transitions);
            const std::int64_t until = from + dice.between(0, 48 * hour);
            const NextExecutionSearch stepping(*schedule, timeZone);
            const NextExecutionSearch counting(
                *schedule, ZoneOffsets(timeZone, from - 60 * hour, until + hour));
            std::int64_t stepped = 0;
            for (auto run = stepping.next(from - 1); run && *run < until; run = stepping.next(*run))
                ++stepped;
            const std::int64_t counted = counting.count(from, until);
            if (counted != stepped && mismatches.size() < 20)
                mismatches.append(QStringLiteral("%1 from %2 to %3: counted %4, stepped %5")
                                      .arg(QString::number(i), describe(from, timeZone),
                                           describe(until, timeZone), QString::number(counted),
                                           QString::number(stepped)));
        }
        if (!mismatches.isEmpty())
            QFAIL(qPrintable(mismatches.join(u'\n')));
    }
};

QTEST_GUILESS_MAIN(NextExecutionTest)
#include "tst_NextExecution.moc"
