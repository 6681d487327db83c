#include "CronExpression.h"
#include "LiteralNextExecution.h"
#include "NextExecutionSearch.h"

#include <QElapsedTimer>
#include <QTest>
#include <random>

using namespace Tempolane;

namespace {

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

QString number(std::int64_t value)
{
    return QString::number(value);
}

// A value of a field, drawn more often from `likely` (the hours around changes of clock,
// the days that rarely exist).
std::int64_t fieldValue(Dice& dice, int lower, int upper, std::initializer_list<int> likely)
{
    if (likely.size() > 0 && dice.chance(40))
        return likely.begin()[dice.between(0, std::int64_t(likely.size()) - 1)];
    return dice.between(lower, upper);
}

QString element(Dice& dice, int lower, int upper, std::initializer_list<int> likely)
{
    const std::int64_t start = fieldValue(dice, lower, upper, likely);
    switch (dice.between(0, 5)) {
    case 0:
    case 1:
    case 2:
        return number(start);
    case 3: {
        const std::int64_t end = dice.between(start, upper);
        return number(start) + u'-' + number(end);
    }
    case 4: {
        const std::int64_t end = dice.between(start, upper);
        return number(start) + u'-' + number(end) + u'/' + number(dice.between(1, 12));
    }
    default:
        return number(start) + u'/' + number(dice.between(1, 30)); // adds nothing to the start
    }
}

QString field(Dice& dice, int lower, int upper, int starPercent,
              std::initializer_list<int> likely = {})
{
    if (dice.chance(starPercent))
        return QStringLiteral("*");
    switch (dice.between(0, 5)) {
    case 0: {
        static const int steps[] = {1, 2, 3, 4, 5, 6, 7, 10, 13, 15, 20, 30, 45, 59, 60, 100};
        return QStringLiteral("*/") + number(dice.pick(steps));
    }
    case 1:
    case 2: {
        QStringList elements;
        for (std::int64_t count = dice.between(2, 4); count > 0; --count)
            elements.append(element(dice, lower, upper, likely));
        if (dice.chance(10))
            elements.append(QStringLiteral("*/") + number(dice.between(2, 9)));
        return elements.join(u',');
    }
    default:
        return element(dice, lower, upper, likely);
    }
}

QString monthField(Dice& dice)
{
    static const char* names[] = {"jan", "Feb", "MAR", "apr", "dec", "nov"};
    if (dice.chance(8))
        return QString::fromLatin1(dice.pick(names));
    return field(dice, 1, 12, 60, {2, 4, 12});
}

QString weekdayField(Dice& dice)
{
    static const char* names[] = {"sun", "Mon", "FRI", "sat", "tue"};
    if (dice.chance(8))
        return QString::fromLatin1(dice.pick(names));
    return field(dice, 0, 7, 55, {0, 7, 1, 5});
}

QString expression(Dice& dice)
{
    static const char* fixed[] = {
        "@reboot",      "@yearly",      "@annually",    "@MONTHLY",
        "@weekly",      "@daily",       "@midnight",    "@hourly",
        "0 0 30 2 *",   "0 0 31 4 *",   "0 0 29 2 *",   "30 12 31 2,4,6,9,11 *",
        "0 12 29 2 1",  "0 0 29 2 */7", "0 0 13 * 5",   "0 0 */2 * *",
        "0 0 */2 * 1",  "0 0 1 * */2",  "30 2 * * *",   "0 0 * * 7",
        "* * * * *",    "*/15 * * * *", "30 8 * * 1-5", "59 23 31 12 *",
        "0,30 0 * * *", "45 1 * * sun", "0 0 1 1 *",    "61 * * * *",
    };
    if (dice.chance(12))
        return QString::fromLatin1(dice.pick(fixed));
    for (;;) {
        const QString text =
            QStringList{
                field(dice, 0, 59, 15, {0, 30, 59}), field(dice, 0, 23, 30, {0, 1, 2, 3, 23}),
                field(dice, 1, 31, 55, {1, 13, 29, 30, 31}), monthField(dice), weekdayField(dice)}
                .join(dice.chance(10) ? QStringLiteral("\t ") : QStringLiteral(" "));
        if (!CronExpression::validationMessage(text))
            return text;
    }
}

constexpr std::int64_t hour = 3'600'000;

std::int64_t at(int year, int month, int day)
{
    return QDateTime(QDate(year, month, day), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
}

std::vector<std::int64_t> transitionsOfInterest(const Testing::TransitionTable& table)
{
    std::vector<std::int64_t> transitions;
    std::copy_if(table.transitions().cbegin(), table.transitions().cend(),
                 std::back_inserter(transitions),
                 [](std::int64_t t) { return t >= at(1850, 1, 1) && t < at(2046, 1, 1); });
    return transitions;
}

// References where the two searches could part: around the zone's changes of offset, around
// the turn of the year and the ends of months, and any time from 1850 (odd historic offsets).
std::int64_t reference(Dice& dice, const Testing::TransitionTable& table,
                       const std::vector<std::int64_t>& transitions)
{
    const auto jitter = [&dice](std::int64_t around, std::int64_t span) {
        if (dice.chance(15)) {
            static const std::int64_t exact[] = {-60'001, -60'000, -1, 0, 1, 59'999, 60'000};
            return around + dice.pick(exact);
        }
        return around + dice.between(-span, span);
    };
    const int kind = int(dice.between(1, 100));
    if (kind <= 35 && !transitions.empty())
        return jitter(
            transitions[std::size_t(dice.between(0, std::int64_t(transitions.size()) - 1))],
            36 * hour);
    if (kind <= 55) {
        const int year = int(dice.between(1971, 2045));
        const QDateTime yearEnd(QDate(year, 1, 1), QTime(0, 0), table.zone());
        return jitter(yearEnd.toMSecsSinceEpoch(), 30 * hour);
    }
    if (kind <= 65) {
        const QDate monthStart(int(dice.between(1971, 2045)), int(dice.between(1, 12)), 1);
        return jitter(QDateTime(monthStart, QTime(0, 0), table.zone()).toMSecsSinceEpoch(),
                      30 * hour);
    }
    if (kind <= 75)
        return dice.between(at(1850, 1, 1), at(1970, 1, 1));
    return dice.between(at(1970, 1, 1), at(2046, 1, 1));
}

QString describe(std::optional<std::int64_t> instant, const QTimeZone& zone)
{
    if (!instant)
        return QStringLiteral("nothing");
    return QDateTime::fromMSecsSinceEpoch(*instant, zone).toString(Qt::ISODateWithMs);
}

bool isFullRun()
{
    return qEnvironmentVariableIntValue("TEMPOLANE_DIFFERENTIAL_FULL") == 1;
}

} // namespace

// The fast search against the literal minute-by-minute scan on random triples. The default
// run is a fixed sample; TEMPOLANE_DIFFERENTIAL_FULL=1 runs five times as many (and
// TEMPOLANE_DIFFERENTIAL_SEED picks other triples).
class NextExecutionDifferentialTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fastSearch_equalsLiteralScan_data();
    void fastSearch_equalsLiteralScan();
    void literalScan_equalsQDateTimeScan();
};

void NextExecutionDifferentialTest::fastSearch_equalsLiteralScan_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<int>("zoneIndex");
    int index = 0;
    for (const char* id : {"Europe/Berlin", "America/New_York", "America/Sao_Paulo",
                           "Australia/Lord_Howe", "Asia/Kathmandu", "Pacific/Apia", "UTC"})
        QTest::newRow(id) << QByteArray(id) << index++;
}

void NextExecutionDifferentialTest::fastSearch_equalsLiteralScan()
{
    QFETCH(QByteArray, zone);
    QFETCH(int, zoneIndex);

    const int count = isFullRun() ? 15'000 : 3'000;
    const std::uint64_t seed =
        qEnvironmentVariableIsSet("TEMPOLANE_DIFFERENTIAL_SEED")
            ? qEnvironmentVariable("TEMPOLANE_DIFFERENTIAL_SEED").toULongLong()
            : 20'260'504;
    Dice dice(seed * 31 + std::uint64_t(zoneIndex));

    const QTimeZone timeZone(zone);
    QVERIFY(timeZone.isValid());
    const Testing::TransitionTable table(timeZone);
    const std::vector<std::int64_t> transitions = transitionsOfInterest(table);

    QStringList mismatches;
    int none = 0;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; ++i) {
        const QString text = expression(dice);
        const std::int64_t referenceInstant = reference(dice, table, transitions);

        std::optional<std::int64_t> fastInstant;
        if (const auto fast = CronExpression::nextExecution(
                text, QDateTime::fromMSecsSinceEpoch(referenceInstant, Qt::UTC), timeZone))
            fastInstant = fast->toMSecsSinceEpoch();
        std::optional<std::int64_t> literal;
        if (const auto schedule = CronExpression::parse(text))
            literal = Testing::literalNextExecution(*schedule, referenceInstant, table);
        none += literal ? 0 : 1;
        if (fastInstant != literal && mismatches.size() < 20) {
            mismatches.append(QStringLiteral("\"%1\" from %2: fast %3, literal %4")
                                  .arg(text, describe(referenceInstant, timeZone),
                                       describe(fastInstant, timeZone),
                                       describe(literal, timeZone)));
        }
    }
    qInfo("%s: %d triples (%d without a next run) in %lld ms", zone.constData(), count, none,
          timer.elapsed());
    if (!mismatches.isEmpty())
        QFAIL(qPrintable(mismatches.join(u'\n')));
}

// The literal scan's cheap reading of the wall clock against QDateTime's own, on answers close
// enough to the reference for QDateTime to step there minute by minute.
void NextExecutionDifferentialTest::literalScan_equalsQDateTimeScan()
{
    Dice dice(7);
    for (const char* id : {"Europe/Berlin", "America/Sao_Paulo", "Australia/Lord_Howe",
                           "Asia/Kathmandu", "Pacific/Apia"}) {
        const QTimeZone zone(id);
        const Testing::TransitionTable table(zone);
        const std::vector<std::int64_t> transitions = transitionsOfInterest(table);
        int compared = 0;
        while (compared < 40) {
            const auto schedule = CronExpression::parse(expression(dice));
            const std::int64_t referenceInstant = reference(dice, table, transitions);
            if (!schedule)
                continue;
            const auto literal = Testing::literalNextExecution(*schedule, referenceInstant, table);
            if (!literal || *literal - referenceInstant > 3 * 24 * hour)
                continue;
            const auto viaQDateTime = Testing::qDateTimeNextExecution(
                *schedule, QDateTime::fromMSecsSinceEpoch(referenceInstant, Qt::UTC), zone);
            QVERIFY(viaQDateTime.has_value());
            QCOMPARE(viaQDateTime->toMSecsSinceEpoch(), *literal);
            ++compared;
        }
    }
}

QTEST_GUILESS_MAIN(NextExecutionDifferentialTest)
#include "tst_NextExecutionDifferential.moc"
