#include "DataTable.h"
#include "TextContext.h"

#include <QTest>

using namespace Tempolane;

TEMPOLANE_TEXT_CONTEXT(PluralTextTest)

class PluralTextTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void count_takesItsNounInGermanNumber_data();
    void count_takesItsNounInGermanNumber();
};

void PluralTextTest::count_takesItsNounInGermanNumber_data()
{
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    for (const QStringList& row : Testing::dataTable(QStringLiteral("plural-texts.tsv"), 5))
        QTest::newRow(qPrintable(row[0]))
            << row[1].toUtf8() << row[2].toLongLong() << QLocale(row[3]) << row[4];
}

void PluralTextTest::count_takesItsNounInGermanNumber()
{
    QFETCH(QByteArray, pattern);
    QFETCH(qint64, count);
    QFETCH(QLocale, locale);
    QTEST(::tr.plural(pattern.constData(), count, locale), "text");
}

QTEST_GUILESS_MAIN(PluralTextTest)
#include "tst_PluralText.moc"
