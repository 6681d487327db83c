#include "CronExpression.h"

#include <QTest>

using namespace Tempolane;

class CronExpressionTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void validationMessage_data();
    void validationMessage();
    void parse_data();
    void parse();
    void parse_refusesWhatHasNoTimeBasedSchedule_data();
    void parse_refusesWhatHasNoTimeBasedSchedule();
    void expandedShortcut_data();
    void expandedShortcut();
};

void CronExpressionTest::validationMessage_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("message"); // empty: valid

    const QString fieldCount = QStringLiteral("Ein Cron-Zeitplan braucht genau fünf Felder.");
    const QString shortcut =
        QStringLiteral("Diese @-Kurzform wird von macOS cron nicht unterstützt.");
    const QString names =
        QStringLiteral("Namen sind nur einzeln erlaubt, nicht in Listen oder Bereichen.");

    QTest::newRow("blanks only") << "   "
                                 << "Bitte einen Zeitplan eingeben.";
    QTest::newRow("line breaks only") << "\n\r\n\t"
                                      << "Bitte einen Zeitplan eingeben.";
    QTest::newRow("shortcut in capitals with blanks around") << " @DAILY "
                                                             << "";
    QTest::newRow("@reboot") << "@reboot"
                             << "";
    QTest::newRow("@every") << "@every 5m" << shortcut;
    QTest::newRow("bare @") << "@" << shortcut;
    QTest::newRow("shortcut followed by fields") << "@daily * * * *" << shortcut;
    QTest::newRow("four fields") << "* * * *" << fieldCount;
    QTest::newRow("six fields") << "* * * * * *" << fieldCount;
    QTest::newRow("fields separated by a tab and double blanks") << "*\t*  * *  *"
                                                                 << "";
    QTest::newRow("fields separated by a no-break space") << "*\u00a0* * * *"
                                                          << "";
    QTest::newRow("minute 60") << "60 * * * *"
                               << "Minute: Wert außerhalb von 0…59.";
    QTest::newRow("hour 24") << "0 24 * * *"
                             << "Stunde: Wert außerhalb von 0…23.";
    QTest::newRow("day 0") << "* * 0 * *"
                           << "Tag: Wert außerhalb von 1…31.";
    QTest::newRow("month 13") << "* * * 13 *"
                              << "Monat: Wert außerhalb von 1…12.";
    QTest::newRow("weekday 8") << "* * * * 8"
                               << "Wochentag: Wert außerhalb von 0…7.";
    QTest::newRow("weekday 7") << "* * * * 7"
                               << "";
    QTest::newRow("range end out of bounds") << "1-60 * * * *"
                                             << "Minute: Ungültiger Bereich.";
    QTest::newRow("reversed range") << "5-1 * * * *"
                                    << "Minute: Ungültiger Bereich.";
    QTest::newRow("range without end") << "5- * * * *"
                                       << "Minute: Ungültiger Bereich.";
    QTest::newRow("range without start") << "-5 * * * *"
                                         << "Minute: Wert außerhalb von 0…59.";
    QTest::newRow("double comma") << "1,,2 * * * *"
                                  << "Minute: Leere Listenelemente sind nicht erlaubt.";
    QTest::newRow("trailing comma") << "1, * * * *"
                                    << "Minute: Leere Listenelemente sind nicht erlaubt.";
    QTest::newRow("step zero") << "*/0 * * * *"
                               << "Minute: Der Schritt muss größer als 0 sein.";
    QTest::newRow("empty step") << "*/ * * * *"
                                << "Minute: Der Schritt muss größer als 0 sein.";
    QTest::newRow("step is a letter") << "*/x * * * *"
                                      << "Minute: Der Schritt muss größer als 0 sein.";
    QTest::newRow("negative step") << "*/-1 * * * *"
                                   << "Minute: Der Schritt muss größer als 0 sein.";
    QTest::newRow("step without base") << "/5 * * * *"
                                       << "Minute: Ungültiger Schrittwert.";
    QTest::newRow("large step") << "*/100 * * * *"
                                << "";
    QTest::newRow("step after a single value") << "5/10 * * * *"
                                               << "";
    QTest::newRow("weekday name alone") << "0 9 * * MON"
                                        << "";
    QTest::newRow("month name alone") << "0 9 * JAN *"
                                      << "";
    QTest::newRow("weekday name range") << "0 9 * * mon-fri"
                                        << "Wochentag: " + names;
    QTest::newRow("weekday name list") << "0 9 * * mon,tue"
                                       << "Wochentag: " + names;
    QTest::newRow("month name in weekday field") << "0 9 * * jan"
                                                 << "Wochentag: " + names;
    QTest::newRow("letter in minute field") << "a 9 * * *"
                                            << "Minute: " + names;
    QTest::newRow("non-Latin letter") << "ж * * * *"
                                      << "Minute: " + names;
    QTest::newRow("letter outside the basic plane") << "\U0001D400 * * * *"
                                                    << "Minute: " + names;
    QTest::newRow("step checked before names") << "* * * * mon/0"
                                               << "Wochentag: Der Schritt muss größer als 0 sein.";
    QTest::newRow("plus sign") << "+5 * * * *"
                               << "";
    QTest::newRow("two signs") << "+-5 * * * *"
                               << "Minute: Wert außerhalb von 0…59.";
    QTest::newRow("first faulty field decides") << "99 99 * * *"
                                                << "Minute: Wert außerhalb von 0…59.";
    QTest::newRow("step at the 64-bit limit") << "5-10/9223372036854775807 * * * *"
                                              << "";
    QTest::newRow("step beyond the 64-bit limit") << "5-10/9223372036854775808 * * * *"
                                                  << "Minute: Der Schritt muss größer als 0 sein.";
    QTest::newRow("full-width digit") << "\uff15 * * * *"
                                      << "Minute: Wert außerhalb von 0…59.";
}

void CronExpressionTest::validationMessage()
{
    QFETCH(QString, expression);
    QFETCH(QString, message);
    QCOMPARE(CronExpression::validationMessage(expression).value_or(QString()), message);
}

void CronExpressionTest::parse_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QList<int>>("minutes");
    QTest::addColumn<QList<int>>("weekdays");
    QTest::addColumn<bool>("dayOfMonthUnrestricted");
    QTest::addColumn<bool>("weekdayUnrestricted");

    const QList<int> everyWeekday{0, 1, 2, 3, 4, 5, 6};
    QTest::newRow("weekday range")
        << "0 9 * * 1-5" << QList<int>{0} << QList<int>{1, 2, 3, 4, 5} << true << false;
    QTest::newRow("step after a single value adds nothing")
        << "5/10 * * * *" << QList<int>{5} << everyWeekday << true << true;
    QTest::newRow("range with step")
        << "1-10/3 * * * *" << QList<int>{1, 4, 7, 10} << everyWeekday << true << true;
    QTest::newRow("star with step")
        << "*/15 * * * *" << QList<int>{0, 15, 30, 45} << everyWeekday << true << true;
    QTest::newRow("step beyond the field")
        << "*/100 * * * *" << QList<int>{0} << everyWeekday << true << true;
    QTest::newRow("weekday range through 7")
        << "0 * * * 5-7" << QList<int>{0} << QList<int>{0, 5, 6} << true << false;
    QTest::newRow("7 and 0 are one Sunday")
        << "0 * * * 0,7" << QList<int>{0} << QList<int>{0} << true << false;
    QTest::newRow("weekday name") << "0 * * * FRI" << QList<int>{0} << QList<int>{5} << true
                                  << false;
    QTest::newRow("plus sign") << "+5 * * * *" << QList<int>{5} << everyWeekday << true << true;
    QTest::newRow("huge step stops without overflow")
        << "5-10/9223372036854775807 * * * *" << QList<int>{5} << everyWeekday << true << true;
    QTest::newRow("stepped star in the day field is unrestricted")
        << "0 0 */2 * 1" << QList<int>{0} << QList<int>{1} << true << false;
    QTest::newRow("a star anywhere in a list")
        << "0 0 1,* * 1,*/3" << QList<int>{0} << QList<int>{0, 1, 3, 6} << true << true;
    QTest::newRow("shortcut") << "@weekly" << QList<int>{0} << QList<int>{0} << true << false;
    QTest::newRow("out-of-bounds minute is kept for the search to reject")
        << "61 * * * *" << QList<int>{61} << everyWeekday << true << true;
    QTest::newRow("range far beyond every field ends promptly") << "0-9223372036854775807 * * * *"
                                                                <<
        [] {
            QList<int> all;
            for (int i = 0; i < 64; ++i)
                all.append(i);
            return all;
        }() << everyWeekday << true << true;
}

void CronExpressionTest::parse()
{
    QFETCH(QString, expression);
    QFETCH(QList<int>, minutes);
    QFETCH(QList<int>, weekdays);
    QFETCH(bool, dayOfMonthUnrestricted);
    QFETCH(bool, weekdayUnrestricted);

    const auto parsed = CronExpression::parse(expression);
    QVERIFY(parsed);
    QCOMPARE(parsed->minuteValues.values(), minutes);
    QCOMPARE(parsed->weekdayValues.values(), weekdays);
    QCOMPARE(parsed->isDayOfMonthUnrestricted, dayOfMonthUnrestricted);
    QCOMPARE(parsed->isWeekdayUnrestricted, weekdayUnrestricted);
}

void CronExpressionTest::parse_refusesWhatHasNoTimeBasedSchedule_data()
{
    QTest::addColumn<QString>("expression");
    QTest::newRow("@reboot") << "@reboot";
    QTest::newRow("shortcut with leading blanks is not expanded") << "  @daily";
    QTest::newRow("four fields") << "* * * *";
    QTest::newRow("unreadable start") << "x * * * *";
    QTest::newRow("unreadable range end") << "1-x * * * *";
    QTest::newRow("zero step") << "*/0 * * * *";
    QTest::newRow("negative step") << "*/-3 * * * *";
    QTest::newRow("lone slash") << "/ * * * *";
}

void CronExpressionTest::parse_refusesWhatHasNoTimeBasedSchedule()
{
    QFETCH(QString, expression);
    QVERIFY(!CronExpression::parse(expression));
}

void CronExpressionTest::expandedShortcut_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("expanded");
    QTest::newRow("yearly") << "@yearly"
                            << "0 0 1 1 *";
    QTest::newRow("annually in capitals") << "@ANNUALLY"
                                          << "0 0 1 1 *";
    QTest::newRow("monthly") << "@monthly"
                             << "0 0 1 * *";
    QTest::newRow("weekly") << "@weekly"
                            << "0 0 * * 0";
    QTest::newRow("daily") << "@daily"
                           << "0 0 * * *";
    QTest::newRow("midnight") << "@midnight"
                              << "0 0 * * *";
    QTest::newRow("hourly") << "@hourly"
                            << "0 * * * *";
    QTest::newRow("other text is returned unchanged, not lowercased") << "0 9 * * MON"
                                                                      << "0 9 * * MON";
    QTest::newRow("blanks prevent expansion") << " @daily"
                                              << " @daily";
}

void CronExpressionTest::expandedShortcut()
{
    QFETCH(QString, expression);
    QFETCH(QString, expanded);
    QCOMPARE(CronExpression::expandedShortcut(expression), std::optional<QString>(expanded));
    QVERIFY(!CronExpression::expandedShortcut(QStringLiteral("@Reboot")));
}

QTEST_GUILESS_MAIN(CronExpressionTest)
#include "tst_CronExpression.moc"
