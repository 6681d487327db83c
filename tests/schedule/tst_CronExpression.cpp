#include "CronExpression.h"
#include "VisualSchedule.h"

#include <QTest>

using namespace Tempolane;

namespace {

QList<int> upTo(int last)
{
    QList<int> values;
    for (int i = 0; i <= last; ++i)
        values.append(i);
    return values;
}

} // namespace

class CronExpressionTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void validationMessage_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("message"); // empty: valid

        const QString empty = QStringLiteral("Bitte einen Zeitplan eingeben.");
        const QString fields = QStringLiteral("Ein Cron-Zeitplan braucht genau fünf Felder.");
        const QString shortcut =
            QStringLiteral("Diese @-Kurzform wird von cron nicht unterstützt.");
        const QString names =
            QStringLiteral("Namen sind nur einzeln erlaubt, nicht in Listen oder Bereichen.");
        const QString minuteRange = QStringLiteral("Minute: Wert außerhalb von 0…59.");
        const QString badRange = QStringLiteral("Minute: Ungültiger Bereich.");
        const QString step = QStringLiteral("Der Schritt muss größer als 0 sein.");
        const QString tooLarge = QStringLiteral("Der Schritt ist zu groß.");
        const QString single =
            QStringLiteral("Ein Schritt ist nur nach * oder einem Bereich erlaubt.");
        const QString blanks =
            QStringLiteral("Felder dürfen nur durch Leerzeichen oder Tabulatoren getrennt sein.");
        const auto row = [](const char* name, const QString& expression, const QString& message) {
            QTest::newRow(name) << expression << message;
        };

        row("blanks only", "   ", empty);
        row("shortcut with blanks around", " @daily ", "");
        row("shortcut in capitals", "@DAILY", shortcut);
        row("shortcut capitalised", "@Daily", shortcut);
        row("@reboot", "@reboot", "");
        row("@every", "@every 5m", shortcut);
        row("shortcut followed by fields", "@daily * * * *", shortcut);
        row("four fields", "* * * *", fields);
        row("tab and double blanks", "*\t*  * *  *", "");
        row("minute 60", "60 * * * *", minuteRange);
        row("hour 24", "0 24 * * *", "Stunde: Wert außerhalb von 0…23.");
        row("day 0", "* * 0 * *", "Tag: Wert außerhalb von 1…31.");
        row("month 13", "* * * 13 *", "Monat: Wert außerhalb von 1…12.");
        row("weekday 8", "* * * * 8", "Wochentag: Wert außerhalb von 0…7.");
        row("weekday 7", "* * * * 7", "");
        row("range end out of bounds", "1-60 * * * *", badRange);
        row("reversed range", "5-1 * * * *", badRange);
        row("range without start", "-5 * * * *", minuteRange);
        row("trailing comma", "1, * * * *", "Minute: Leere Listenelemente sind nicht erlaubt.");
        row("step zero", "*/0 * * * *", "Minute: " + step);
        row("negative step", "*/-1 * * * *", "Minute: " + step);
        row("step without base", "/5 * * * *", "Minute: Ungültiger Schrittwert.");
        row("step after a single value", "5/10 * * * *", "Minute: " + single);
        row("step after a weekday name", "0 0 * * mon/2", "Wochentag: " + single);
        row("step after a month name", "0 0 * jan/2 *", "Monat: " + single);
        row("step after a one-value range", "5-5/10 * * * *", "");
        row("largest step", "*/2147483647 * * * *", "");
        row("step beyond cron's int", "*/2147483648 * * * *", "Minute: " + tooLarge);
        row("start and step within cron's int", "5-10/2147483642 * * * *", "");
        row("start and step beyond cron's int", "5-10/2147483643 * * * *", "Minute: " + tooLarge);
        row("largest step from the first day", "* * */2147483646 * *", "");
        row("step from the first day beyond cron's int", "* * */2147483647 * *",
            "Tag: " + tooLarge);
        row("signed step", "*/+5 * * * *", "Minute: " + step);
        row("step after a step", "*/5/2 * * * *", "Minute: " + step);
        row("leading zeros", "007 * * * *", "");
        row("sign after the value", "3+ * * * *", minuteRange);
        row("star glued to a value", "*0 * * * *", minuteRange);
        row("hash", "1#2 * * * *", minuteRange);
        row("two dashes", "1-2-3 * * * *", badRange);
        row("reversed weekday names", "0 0 * * sat-sun", "Wochentag: Ungültiger Bereich.");
        row("no-break space between fields", "0\u00a09 * * *  *", blanks);
        row("line break between fields", "0\n9 * * * *", blanks);
        row("ideographic space", "0 9 * *\u3000*", blanks);
        row("no-break space inside a shortcut", "@\u00a0daily", blanks);
        row("line breaks around are trimmed", "\n0 9 * * *\u00a0\r\n", "");
        row("month name in weekday field", "0 9 * * jan", "Wochentag: " + names);
        row("weekday name in month field", "0 9 * 1,mon *", "Monat: " + names);
        row("unknown name as range end", "0 9 * * mon-friday", "Wochentag: " + names);
        row("name look-alike", "0 9 * * \u017fun", "Wochentag: " + names);
        row("range of names without start", "0 9 * * -fri", "Wochentag: Wert außerhalb von 0…7.");
        row("letter in minute field", "a 9 * * *", "Minute: " + names);
        row("letter in day field", "0 9 1-x * *", "Tag: " + names);
        row("letter outside the basic plane", "\U0001D400 * * * *", "Minute: " + names);
        row("step checked before names", "* * * * mon/0", "Wochentag: " + step);
        row("plus sign", "+5 * * * *", minuteRange);
        row("first faulty field decides", "99 99 * * *", minuteRange);
        row("step beyond the 64-bit limit", "5-10/9223372036854775808 * * * *",
            "Minute: " + tooLarge);
        row("full-width digit", "\uff15 * * * *", minuteRange);
    }

    void validationMessage()
    {
        QFETCH(QString, expression);
        QFETCH(QString, message);
        QCOMPARE(CronExpression::validationMessage(expression).value_or(QString()), message);
    }

    // Minutes and weekdays parsed, and which day field counts as unrestricted; no minutes: refused.
    void parse_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QList<int>>("minutes");
        QTest::addColumn<QList<int>>("weekdays");
        QTest::addColumn<bool>("dayOfMonthUnrestricted");
        QTest::addColumn<bool>("weekdayUnrestricted");
        const auto row = [](const char* expression, QList<int> minutes,
                            QList<int> weekdays = upTo(6), bool dayOfMonthUnrestricted = true,
                            bool weekdayUnrestricted = true) {
            QTest::newRow(expression) << QString::fromUtf8(expression) << minutes << weekdays
                                      << dayOfMonthUnrestricted << weekdayUnrestricted;
        };

        row("0 9 * * 1-5", {0}, {1, 2, 3, 4, 5}, true, false);
        row("5/10 * * * *", {5}); // the step adds nothing
        row("1-10/3 * * * *", {1, 4, 7, 10});
        row("*/15 * * * *", {0, 15, 30, 45});
        row("0 * * * 5-7", {0}, {0, 5, 6}, true, false);
        row("0 * * * 0,7", {0}, {0}, true, false);
        row("5-10/9223372036854775807 * * * *", {5});
        row("0 0 */2 * 1", {0}, {1}, true,
            false); // a stepped star in the day field is unrestricted
        row("0 0 1,* * 1,*/3", {0}, {0, 1, 3, 6});
        row("@weekly", {0}, {0}, true, false);
        row("61 * * * *", {61});                        // kept for the search to reject
        row("0-9223372036854775807 * * * *", upTo(63)); // ends promptly
        row("  @daily\t", {0});                         // trimmed as validation trims
        for (const char* refused :
             {"@reboot", "@DAILY", "* * * *", "x * * * *", "1-x * * * *", "*/0 * * * *",
              "*/-3 * * * *", "/ * * * *", "+5 * * * *", "*/+5 * * * *", "0\u00a09 * * * *"})
            row(refused, {});
    }

    void parse()
    {
        QFETCH(QString, expression);
        QFETCH(QList<int>, minutes);
        QFETCH(QList<int>, weekdays);
        QFETCH(bool, dayOfMonthUnrestricted);
        QFETCH(bool, weekdayUnrestricted);

        const auto parsed = CronExpression::parse(expression);
        QCOMPARE(parsed.has_value(), !minutes.isEmpty());
        if (!parsed)
            return;
        QCOMPARE(parsed->minuteValues.values(), minutes);
        QCOMPARE(parsed->weekdayValues.values(), weekdays);
        QCOMPARE(parsed->isDayOfMonthUnrestricted, dayOfMonthUnrestricted);
        QCOMPARE(parsed->isWeekdayUnrestricted, weekdayUnrestricted);
    }

    // Cron reads a month or weekday name wherever it reads a number, in any case: validation,
    // parsing, recognition and description treat both texts of a row alike.
    void namesReadAsTheirNumbers_data()
    {
        QTest::addColumn<QString>("named");
        QTest::addColumn<QString>("numbered");
        const auto row = [](const char* named, const char* numbered) {
            QTest::newRow(named) << QString::fromUtf8(named) << QString::fromUtf8(numbered);
        };
        row("0 9 * * mon", "0 9 * * 1");
        row("0 9 * * MON-Fri", "0 9 * * 1-5");
        row("30 8 * * mon,wed,fri", "30 8 * * 1,3,5");
        row("0 12 * * SAT,SUN", "0 12 * * 6,0");
        row("0 9 * * sun-sat", "0 9 * * 0-6");
        row("0 9 * * 1-fri,sat-7", "0 9 * * 1-5,6-7");
        row("0 0 1 jan,jul *", "0 0 1 1,7 *");
        row("0 9 * Jan-DEC/3 mon-fri/2", "0 9 * 1-12/3 1-5/2");
        row("0 9 * * mon/2", "0 9 * * 1/2");
        row("0 9 * * fri-mon", "0 9 * * 5-1"); // cron takes it but never runs it
        row("0 9 * * mon/0", "0 9 * * 1/0");
        row("0 9 * dec-jan *", "0 9 * 12-1 *");
    }

    void namesReadAsTheirNumbers()
    {
        QFETCH(QString, named);
        QFETCH(QString, numbered);
        QCOMPARE(CronExpression::validationMessage(named),
                 CronExpression::validationMessage(numbered));
        QCOMPARE(CronExpression::parse(named), CronExpression::parse(numbered));
        QCOMPARE(VisualSchedule::recognize(named), VisualSchedule::recognize(numbered));
        QCOMPARE(CronExpression::description(named), CronExpression::description(numbered));
    }

    void expandedShortcut_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("expanded"); // empty: none
        const auto row = [](const char* from, const char* to) {
            QTest::newRow(from) << from << to;
        };
        row("@yearly", "0 0 1 1 *");
        row("@annually", "0 0 1 1 *");
        row("@ANNUALLY", "@ANNUALLY"); // cron knows them in lower case only
        row("@monthly", "0 0 1 * *");
        row("@weekly", "0 0 * * 0");
        row("@daily", "0 0 * * *");
        row("@midnight", "0 0 * * *");
        row("@hourly", "0 * * * *");
        row("@reboot", "");
        row("@Reboot", "@Reboot");
        row("0 9 * * MON", "0 9 * * MON"); // other text unchanged, not lowercased
        row(" @daily", " @daily");         // blanks prevent expansion
    }

    void expandedShortcut()
    {
        QFETCH(QString, expression);
        QFETCH(QString, expanded);
        QCOMPARE(CronExpression::expandedShortcut(expression),
                 expanded.isEmpty() ? std::nullopt : std::optional<QString>(expanded));
    }

    // What the editor offers for text the crontab tool refuses; valid text and plain mistakes get
    // no offer.
    void suggestedExpression_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("suggested"); // empty: none
        const auto row = [](const char* from, const char* to) {
            QTest::newRow(from) << QString::fromUtf8(from) << QString::fromUtf8(to);
        };
        row("5/10 * * * *", "5-59/10 * * * *");
        row("1,5/10 */2 * * *", "1,5-59/10 */2 * * *");
        row("0 0 * * mon/2", "0 0 * * 1-7/2");
        row("0 0 * jan/3 *", "0 0 * 1-12/3 *");
        row("0 9/2 * * *", "0 9-23/2 * * *");
        row("@DAILY", "@daily");
        row(" @Reboot ", "@reboot");
        row("0\u00a09 * *\u2003*", "0 9 * * *");
        row("0 9 * * *", "");
        row("60 * * * *", "");
        row("@every 5m", "");
        row("5/0 * * * *", "");
        row("0\u00a060 * * * *", "");
    }

    void suggestedExpression()
    {
        QFETCH(QString, expression);
        QFETCH(QString, suggested);
        const auto suggestion = CronExpression::suggestedExpression(expression);
        QCOMPARE(suggestion.value_or(QString()), suggested);
        if (suggestion)
            QVERIFY(!CronExpression::validationMessage(*suggestion));
    }
};

QTEST_GUILESS_MAIN(CronExpressionTest)
#include "tst_CronExpression.moc"
