#include "TextContext.h"

#include <QTest>

using namespace Tempolane;

TEMPOLANE_TEXT_CONTEXT(PluralTextTest)

namespace {

const char* const jobs = "=0 {Keine Jobs} one {# Job} other {# Jobs}";
const char* const attention =
    "one {# Cronjob braucht Aufmerksamkeit} other {# Cronjobs brauchen Aufmerksamkeit}";

} // namespace

class PluralTextTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void count_takesItsNounInGermanNumber_data();
    void count_takesItsNounInGermanNumber();
};

void PluralTextTest::count_takesItsNounInGermanNumber_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");

    const QLocale german(QLocale::German, QLocale::Germany);
    QTest::newRow("none") << jobs << qint64(0) << german << "Keine Jobs";
    QTest::newRow("one") << jobs << qint64(1) << german << "1 Job";
    QTest::newRow("two") << jobs << qint64(2) << german << "2 Jobs";
    QTest::newRow("thousands grouped") << jobs << qint64(1000) << german << "1.000 Jobs";
    QTest::newRow("beyond 32 bits")
        << jobs << qint64(5'000'000'000) << german << "5.000.000.000 Jobs";
    QTest::newRow("the verb agrees")
        << attention << qint64(1) << german << "1 Cronjob braucht Aufmerksamkeit";
    QTest::newRow("zero without its own form is plural")
        << attention << qint64(0) << german << "0 Cronjobs brauchen Aufmerksamkeit";
    // French reads 0 as singular: the German text keeps German forms in any locale, and only
    // the digits follow the user's locale, as the sidebar's counts do.
    QTest::newRow("French locale, German forms")
        << attention << qint64(0) << QLocale(QLocale::French, QLocale::France)
        << "0 Cronjobs brauchen Aufmerksamkeit";
    QTest::newRow("English digits")
        << jobs << qint64(1000) << QLocale(QLocale::English, QLocale::UnitedStates) << "1,000 Jobs";
    QTest::newRow("an unreadable pattern still says how many")
        << "one {# Job" << qint64(3) << german << "3";
}

void PluralTextTest::count_takesItsNounInGermanNumber()
{
    QFETCH(QString, pattern);
    QFETCH(qint64, count);
    QFETCH(QLocale, locale);
    const QByteArray key = pattern.toUtf8();
    QTEST(::tr.plural(key.constData(), count, locale), "text");
}

QTEST_GUILESS_MAIN(PluralTextTest)
#include "tst_PluralText.moc"
