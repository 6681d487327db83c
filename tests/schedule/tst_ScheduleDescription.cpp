#include "CronExpression.h"

#include <QFile>
#include <QTest>

using namespace Tempolane;

class ScheduleDescriptionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void description_data();
    void description();
    void description_inEachLanguage_data();
    void description_inEachLanguage();
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

void ScheduleDescriptionTest::description_inEachLanguage_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("german");
    QTest::addColumn<QString>("british");
    QTest::addColumn<QString>("american");

    QFile table(QStringLiteral(TEMPOLANE_SOURCE_DIR "/tests/schedule/schedule-descriptions.tsv"));
    QVERIFY2(table.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(table.fileName()));
    const auto unescaped = [](QString text) {
        return text.replace(QStringLiteral("\\t"), QStringLiteral("\t"))
            .replace(QStringLiteral("\\u00a0"), QStringLiteral("\u00a0"))
            .replace(QStringLiteral("\\u202f"), QStringLiteral("\u202f"));
    };
    while (!table.atEnd()) {
        const QString line = QString::fromUtf8(table.readLine()).chopped(1);
        if (line.startsWith(u'#'))
            continue;
        const QStringList columns = line.split(u'\t');
        QVERIFY2(columns.size() == 4, qPrintable(line));
        QTest::newRow(qPrintable(columns[0])) << unescaped(columns[0]) << unescaped(columns[1])
                                              << unescaped(columns[2]) << unescaped(columns[3]);
    }
}

void ScheduleDescriptionTest::description_inEachLanguage()
{
    QFETCH(QString, expression);
    QFETCH(QString, german);
    QFETCH(QString, british);
    QFETCH(QString, american);
    // German until another language is shown.
    QCOMPARE(CronExpression::description(expression), german);
    QCOMPARE(CronExpression::description(expression, QLocale(QStringLiteral("de_AT"))), german);
    QCOMPARE(CronExpression::description(expression, QLocale(QStringLiteral("en_GB"))), british);
    QCOMPARE(CronExpression::description(expression, QLocale(QStringLiteral("en_US"))), american);
}

void ScheduleDescriptionTest::weekdayNames_startOnSunday()
{
    QCOMPARE(CronExpression::weekdayNames(),
             (QStringList{"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag",
                          "Samstag"}));
}

QTEST_GUILESS_MAIN(ScheduleDescriptionTest)
#include "tst_ScheduleDescription.moc"
