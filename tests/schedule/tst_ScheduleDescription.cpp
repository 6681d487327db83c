#include "CronExpression.h"

#include <QFile>
#include <QTest>

using namespace Tempolane;

class ScheduleDescriptionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void description_inEachLanguage_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("german");
        QTest::addColumn<QString>("british");
        QTest::addColumn<QString>("american");

        QFile table(
            QStringLiteral(TEMPOLANE_SOURCE_DIR "/tests/schedule/schedule-descriptions.tsv"));
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

    void description_inEachLanguage()
    {
        QFETCH(QString, expression);
        QFETCH(QString, german);
        QFETCH(QString, british);
        QFETCH(QString, american);
        // German until another language is shown.
        QCOMPARE(CronExpression::description(expression), german);
        QCOMPARE(CronExpression::description(expression, QLocale(QStringLiteral("de_AT"))), german);
        QCOMPARE(CronExpression::description(expression, QLocale(QStringLiteral("en_GB"))),
                 british);
        QCOMPARE(CronExpression::description(expression, QLocale(QStringLiteral("en_US"))),
                 american);
    }
};

QTEST_GUILESS_MAIN(ScheduleDescriptionTest)
#include "tst_ScheduleDescription.moc"
