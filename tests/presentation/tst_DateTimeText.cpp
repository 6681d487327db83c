#include "DateTimeText.h"

#include <QTest>

using namespace Tempolane;

class DateTimeTextTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shortDateTime_followsTheLocaleAndZone_data();
    void shortDateTime_followsTheLocaleAndZone();
    void relativeTime_usesTheLargestUnitThatFits_data();
    void relativeTime_usesTheLargestUnitThatFits();
};

void DateTimeTextTest::shortDateTime_followsTheLocaleAndZone_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QString>("utc");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char* name, const char* locale, const char* zone, const char* utc,
                        const QString& expected) {
        QTest::newRow(name) << QString::fromLatin1(locale) << QString::fromLatin1(zone)
                            << QString::fromLatin1(utc) << expected;
    };
    row("German, winter", "de_DE", "Europe/Berlin", "2026-12-07T08:30:00Z", u"7. Dez., 09:30"_qs);
    row("German, summer time", "de_DE", "Europe/Berlin", "2026-07-01T22:05:00Z",
        u"2. Juli, 00:05"_qs);
    row("US English prefers 12 hours", "en_US", "America/New_York", "2026-12-07T14:30:00Z",
        u"Dec 7, 9:30\u202FAM"_qs);
}

void DateTimeTextTest::shortDateTime_followsTheLocaleAndZone()
{
    QFETCH(QString, locale);
    QFETCH(QString, zone);
    QFETCH(QString, utc);
    QTEST(DateTimeText::shortDateTime(QDateTime::fromString(utc, Qt::ISODate), QLocale(locale),
                                      QTimeZone(zone.toLatin1())),
          "expected");
}

void DateTimeTextTest::relativeTime_usesTheLargestUnitThatFits_data()
{
    QTest::addColumn<qint64>("offsetMilliseconds");
    QTest::addColumn<QString>("expected");

    constexpr qint64 second = 1000;
    constexpr qint64 minute = 60 * second;
    constexpr qint64 hour = 60 * minute;
    constexpr qint64 day = 24 * hour;
    QTest::newRow("same instant") << qint64(0) << "jetzt";
    QTest::newRow("under a second") << qint64(-999) << "jetzt";
    QTest::newRow("seconds") << -59 * second << "vor 59 Sekunden";
    QTest::newRow("one minute") << -minute << "vor 1 Minute";
    QTest::newRow("minutes round down") << -(hour - 1) << "vor 59 Minuten";
    QTest::newRow("hours") << -2 * hour << "vor 2 Stunden";
    QTest::newRow("just under a day") << -(day - second) << "vor 23 Stunden";
    QTest::newRow("yesterday") << -day << "gestern";
    QTest::newRow("the day before yesterday") << -2 * day - hour << "vorgestern";
    QTest::newRow("days") << -6 * day << "vor 6 Tagen";
    QTest::newRow("a week") << -7 * day << "vor 1 Woche";
    QTest::newRow("weeks") << -29 * day << "vor 4 Wochen";
    QTest::newRow("a month") << -30 * day << "vor 1 Monat";
    QTest::newRow("months") << -364 * day << "vor 12 Monaten";
    QTest::newRow("years") << -800 * day << "vor 2 Jahren";
    QTest::newRow("future minutes") << 5 * minute << "in 5 Minuten";
    QTest::newRow("tomorrow") << day << "morgen";
}

void DateTimeTextTest::relativeTime_usesTheLargestUnitThatFits()
{
    QFETCH(qint64, offsetMilliseconds);
    const QDateTime now =
        QDateTime::fromString(QStringLiteral("2026-12-07T10:00:00Z"), Qt::ISODate);
    QTEST(DateTimeText::relativeTime(now.addMSecs(offsetMilliseconds), now), "expected");
}

QTEST_APPLESS_MAIN(DateTimeTextTest)
#include "tst_DateTimeText.moc"
