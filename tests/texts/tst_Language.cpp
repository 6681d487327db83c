// Which language the environment asks for, and what installing it shows: the texts, their
// plural forms, the schedule descriptions and the locale of dates and numbers.
#include "CronExpression.h"
#include "DataTable.h"
#include "Language.h"
#include "TextContext.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

using namespace Tempolane;

TEMPOLANE_TEXT_CONTEXT(BackupListModel)

namespace {

const QList<QLocale::Language> english{QLocale::English};

QProcessEnvironment environment(const QStringList& assignments)
{
    QProcessEnvironment made;
    for (const QString& assignment : assignments)
        made.insert(assignment.section(u'=', 0, 0), assignment.section(u'=', 1));
    return made;
}

QString installed(const Language::Choice& choice,
                  const QString& folder = Language::builtInCatalogues)
{
    QString errors;
    QTextStream stream(&errors);
    Language::install(*QCoreApplication::instance(), choice, stream, folder);
    stream.flush();
    return errors;
}

} // namespace

class LanguageTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { installed({}); }
    void choose_readsTheEnvironmentAsGlibcDoes_data();
    void choose_readsTheEnvironmentAsGlibcDoes();
    void install_showsEverythingInTheChosenLanguage();
    void install_keepsGermanWhenTheCatalogueCannotBeRead_data();
    void install_keepsGermanWhenTheCatalogueCannotBeRead();
};

void LanguageTest::choose_readsTheEnvironmentAsGlibcDoes_data()
{
    QTest::addColumn<QStringList>("assignments");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("locale");

    for (const QStringList& row : Testing::dataTable(QStringLiteral("language-choice.tsv"), 4))
        QTest::newRow(qPrintable(row[0]))
            << row[1].split(u' ', Qt::SkipEmptyParts) << row[2] << row[3];
    QStringList thousand(999, QStringLiteral("xx"));
    thousand.append(QStringLiteral("de"));
    QTest::newRow("a thousand entries, German the last")
        << QStringList{"LANG=en_US.UTF-8", QStringLiteral("LANGUAGE=") + thousand.join(u':')}
        << "de"
        << "de_DE";
}

void LanguageTest::choose_readsTheEnvironmentAsGlibcDoes()
{
    QFETCH(QStringList, assignments);
    QFETCH(QString, language);
    QFETCH(QString, locale);
    const Language::Choice choice = Language::choose(environment(assignments), english);
    QCOMPARE(QLocale::languageToCode(choice.language), language);
    QCOMPARE(choice.locale.name(), locale);
}

void LanguageTest::install_showsEverythingInTheChosenLanguage()
{
    QVERIFY(Language::cataloguesIn(Language::builtInCatalogues).contains(QLocale::English));
    QCOMPARE(installed(Language::choose(environment({"LANG=en_GB.UTF-8"}), english)), QString());
    QCOMPARE(Language::shown().language, QLocale::English);
    QCOMPARE(QLocale().name(), QStringLiteral("en_GB"));
    QCOMPARE(QCoreApplication::translate("JobFilter", "Alle Jobs"), QStringLiteral("All Jobs"));
    QCOMPARE(::tr.plural("=0 {Keine Jobs} one {# Job} other {# Jobs}", 1), QStringLiteral("1 job"));
    QCOMPARE(::tr.plural("=0 {Keine Jobs} one {# Job} other {# Jobs}", 1000),
             QStringLiteral("1,000 jobs"));
    QCOMPARE(CronExpression::description(QStringLiteral("30 8 * * 1-5")),
             QStringLiteral("Monday to Friday at 08:30"));
    QCOMPARE(CronExpression::weekdayNames().front(), QStringLiteral("Sunday"));

    QCOMPARE(installed({}), QString());
    QCOMPARE(QLocale().name(), QStringLiteral("de_DE"));
    QCOMPARE(QCoreApplication::translate("JobFilter", "Alle Jobs"), QStringLiteral("Alle Jobs"));
    QCOMPARE(::tr.plural("=0 {Keine Jobs} one {# Job} other {# Jobs}", 1000),
             QStringLiteral("1.000 Jobs"));
    QCOMPARE(CronExpression::description(QStringLiteral("30 8 * * 1-5")),
             QStringLiteral("Montag, Dienstag, Mittwoch, Donnerstag und Freitag um 08:30"));
}

void LanguageTest::install_keepsGermanWhenTheCatalogueCannotBeRead_data()
{
    QTest::addColumn<QByteArray>("contents"); // of tempolane_en.qm; empty: no file at all
    QTest::addColumn<bool>("isFolder");

    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("not a catalogue") << QByteArray("not a catalogue, just text\n") << false;
    QTest::newRow("a catalogue's header cut short")
        << QByteArray::fromHex("3cb86418caef9c95cd211cbf60a1bddd") << false;
    QTest::newRow("a folder in its place") << QByteArray() << true;
}

void LanguageTest::install_keepsGermanWhenTheCatalogueCannotBeRead()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, isFolder);
    QTemporaryDir folder;
    const QString catalogue = folder.filePath(QStringLiteral("tempolane_en.qm"));
    if (isFolder) {
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("tempolane_en.qm")));
    } else if (!contents.isEmpty()) {
        QFile file(catalogue);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    const Language::Choice english{QLocale::English, QLocale(QStringLiteral("en_US"))};
    const QString errors = installed(english, folder.path());
    QCOMPARE(errors.count(u'\n'), 1);
    QVERIFY2(errors.startsWith(QStringLiteral("tempolane: ")), qPrintable(errors));
    QCOMPARE(Language::shown(), Language::Choice());
    QCOMPARE(QLocale().name(), QStringLiteral("de_DE"));
    QCOMPARE(QCoreApplication::translate("JobFilter", "Alle Jobs"), QStringLiteral("Alle Jobs"));
}

QTEST_GUILESS_MAIN(LanguageTest)
#include "tst_Language.moc"
