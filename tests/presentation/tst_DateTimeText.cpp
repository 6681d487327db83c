#include "DataTable.h"
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
    for (const QStringList& row : Testing::dataTable(QStringLiteral("short-date-times.tsv"), 5))
        QTest::newRow(qPrintable(row[0])) << row[1] << row[2] << row[3] << row[4];
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
    QTest::addColumn<QString>("utc");
    QTest::addColumn<QString>("expected");
    for (const QStringList& row : Testing::dataTable(QStringLiteral("relative-times.tsv"), 3))
        QTest::newRow(qPrintable(row[0])) << row[1] << row[2];
}

void DateTimeTextTest::relativeTime_usesTheLargestUnitThatFits()
{
    QFETCH(QString, utc);
    const QDateTime now =
        QDateTime::fromString(QStringLiteral("2026-12-07T10:00:00Z"), Qt::ISODate);
    const QDateTime then = QDateTime::fromString(utc, Qt::ISODate);
    QVERIFY(then.isValid());
    QTEST(DateTimeText::relativeTime(then, now), "expected");
}

QTEST_APPLESS_MAIN(DateTimeTextTest)
#include "tst_DateTimeText.moc"
