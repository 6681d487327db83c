#include "CronExpression.h"

#include <QTest>

using namespace Tempolane;

class ScheduleDescriptionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void description_data();
    void description();
    void weekdayNames_startOnSunday();
};

void ScheduleDescriptionTest::description_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char* expression, const char* expected) {
        QTest::newRow(expression) << QString::fromUtf8(expression) << QString::fromUtf8(expected);
    };
    row("@reboot", "Beim Systemstart");
    row("@yearly", "Jährlich am 1. Januar um 00:00");
    row("@monthly", "Monatlich am 1. um 00:00");
    row("@weekly", "Wöchentlich sonntags um 00:00");
    row("@daily", "Täglich um 00:00");
    row("@midnight", "Täglich um 00:00");
    row("@MIDNIGHT", "Individueller Zeitplan");
    row("5/10 * * * *", "Individueller Zeitplan");
    row("0\u00a09 * * * *", "Individueller Zeitplan");
    row("@hourly", "Zu jeder vollen Stunde");
    row(" @daily", "Individueller Zeitplan");
    row("@every 5m", "Individueller Zeitplan");
    row("* * * * *", "Jede Minute");
    row("*/1 * * * *", "Jede Minute");
    row("*/15 * * * *", "Alle 15 Minuten");
    row("*/60 * * * *", "Individueller Zeitplan");
    row("0 * * * *", "Zu jeder vollen Stunde");
    row("30 * * * *", "Stündlich bei Minute 30");
    row("0 9 * * *", "Täglich um 09:00");
    row("59 23 * * *", "Täglich um 23:59");
    row("5 9 * * 1", "Montag um 09:05");
    row("0 9 * * 1,5", "Montag und Freitag um 09:00");
    row("30 7 * * 1-5", "Montag, Dienstag, Mittwoch, Donnerstag und Freitag um 07:30");
    row("0 9 * * 6,1,7", "Sonntag, Montag und Samstag um 09:00");
    row("15 14 1 * *", "Monatlich am 1. um 14:15");
    row("0 0 1 1 *", "Individueller Zeitplan");
    row("0 0 */2 * *", "Individueller Zeitplan");
    row("", "Individueller Zeitplan");
    row("0 9 * * -3", "Individueller Zeitplan");
    row("-0 9 * * *", "Individueller Zeitplan");
    row("0 9 * * 1,,3", "Individueller Zeitplan");
}

void ScheduleDescriptionTest::description()
{
    QFETCH(QString, expression);
    QFETCH(QString, expected);
    QCOMPARE(CronExpression::description(expression), expected);
}

void ScheduleDescriptionTest::weekdayNames_startOnSunday()
{
    QCOMPARE(CronExpression::weekdayNames(),
             (QStringList{"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag",
                          "Samstag"}));
}

QTEST_GUILESS_MAIN(ScheduleDescriptionTest)
#include "tst_ScheduleDescription.moc"
