// The programs started from a terminal in the languages users set: what the terminal companion,
// the desktop program's command line and the watcher print is English where English is asked
// for (no German word of the catalogue in it), German where German is, and a strange or
// overlong environment changes nothing but the language: no crash, at most one line of
// complaint.
#include "Catalogue.h"
#include "CliRun.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Tempolane::Testing;

namespace {

// The program in a home of its own, with the sample data, in the language of `assignments`.
CliRun run(const QString& program, const QStringList& arguments, const QString& input,
           const QStringList& assignments, const QString& home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES"})
        environment.remove(QString::fromLatin1(variable));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home);
    environment.insert(QStringLiteral("TEMPOLANE_DEMO"), QStringLiteral("1"));
    environment.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    for (const QString& assignment : assignments)
        environment.insert(assignment.section(u'=', 0, 0), assignment.section(u'=', 1));
    return runCli(arguments, input.toUtf8(), environment, program);
}

} // namespace

class CliInEnglishTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void program_speaksTheLanguageOfItsEnvironment_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QStringList>("assignments");
        QTest::addColumn<bool>("isEnglish");
        QTest::addColumn<QString>("printed"); // a part of what it prints on either stream
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("errorLines"); // at most

        const QString cli = QStringLiteral(TEMPOLANE_CLI);
        const QStringList american{QStringLiteral("LANG=en_US.UTF-8")};
        const QStringList british{QStringLiteral("LANG=en_GB.UTF-8")};
        const auto row = [](const char* name) { return &QTest::newRow(name); };

        *row("describe, American")
            << cli << QStringList{"describe"} << "30 7 * * 1-5\n0 0 1 1 *\n@reboot\n"
            << american << true
            << u"Monday to Friday at 7:30\u202fAM\nCustom schedule\nAt system "
               u"start-up\n"_qs
            << 0 << 0;
        *row("validate, British")
            << cli << QStringList{"validate"} << "61 * * * *\n0 9 * *\n@daily\n"
            << british << true
            << "Minute: Value outside 0…59.\nA cron schedule needs exactly five "
               "fields.\nok\n"
            << 0 << 0;
        *row("next with a bad zone and a bad line")
            << cli << QStringList{"next"} << "* * * * *\t0\tMars/Base\nkaputt\n"
            << american << true << "Unknown time zone: Mars/Base" << 1 << 2;
        *row("list of the sample data") << cli << QStringList{"list", "--demo"} << "" << british
                                        << true << "Every 5 minutes" << 0 << 0;
        *row("status of the sample data")
            << cli << QStringList{"status"} << "" << american << true << "Not monitored" << 0 << 0;
        *row("pause") << cli << QStringList{"pause", "daily-report.sh"} << "" << american << true
                      << u"\u201cdaily-report.sh\u201d paused."_qs << 0 << 0;
        *row("resume what runs already") << cli << QStringList{"resume", "daily-report.sh"} << ""
                                         << american << true << "is already active" << 0 << 0;
        *row("an unknown job") << cli << QStringList{"pause", "nightly"} << "" << american << true
                               << u"No job \u201cnightly\u201d. The jobs are:"_qs << 2 << 5;
        *row("run a job that is not monitored")
            << cli << QStringList{"run", "archive.sh"} << "" << american << true
            << "The job could not be run successfully" << 1 << 2;
        *row("delete without a terminal") << cli << QStringList{"delete", "archive.sh"} << ""
                                          << american << true << "please add --yes" << 2 << 1;
        *row("delete, confirmed") << cli << QStringList{"delete", "archive.sh", "--yes"} << ""
                                  << american << true << u"\u201carchive.sh\u201d deleted."_qs << 0
                                  << 0;
        *row("no backups yet") << cli << QStringList{"restore", "1"} << "" << american << true
                               << u"No backup \u201c1\u201d"_qs << 2 << 1;
        *row("the desktop program's help")
            << QStringLiteral(TEMPOLANE_PROGRAM) << QStringList{"--help"} << "" << american << true
            << "Shows the job with this ID." << 0 << 0;
        *row("the desktop program refuses an argument")
            << QStringLiteral(TEMPOLANE_PROGRAM) << QStringList{"--job", "nonsense"} << ""
            << american << true << "Not a valid job ID: nonsense" << 2 << 2;
        *row("the watcher without a session bus")
            << QStringLiteral(TEMPOLANE_WATCHER) << QStringList{} << ""
            << QStringList{"LANG=en_US.UTF-8", "DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent"}
            << true << "Tempolane notifications: no D-Bus session can be reached" << 1 << 1;

        QStringList thousand(999, QStringLiteral("xx_YY"));
        thousand.append(QStringLiteral("de_AT"));
        *row("a thousand LANGUAGE entries, German the last")
            << cli << QStringList{"describe"} << "30 7 * * 1-5\n"
            << QStringList{"LANG=en_US.UTF-8", "LANGUAGE=" + thousand.join(u':')} << false
            << "Montag, Dienstag, Mittwoch, Donnerstag und Freitag um 07:30\n"
            << 0 << 0;
        *row("unknown tags before British English")
            << cli << QStringList{"describe"} << "30 7 * * 1-5\n"
            << QStringList{"LANG=de_DE.UTF-8", "LANGUAGE=!!:xx::en_GB"} << true
            << "Monday to Friday at 07:30" << 0 << 0;
        *row("nothing set is German") << cli << QStringList{"status"} << "" << QStringList{}
                                      << false << "Ausführungsstatus nicht aktiviert" << 0 << 0;
    }

    void program_speaksTheLanguageOfItsEnvironment()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QString, input);
        QFETCH(QStringList, assignments);
        QFETCH(bool, isEnglish);
        QFETCH(QString, printed);
        QFETCH(int, exitCode);
        QFETCH(int, errorLines);

        QTemporaryDir home;
        const CliRun result = run(program, arguments, input, assignments, home.path());
        const QString both = QString::fromUtf8(result.out + result.err);
        QVERIFY2(both.contains(printed), qPrintable(both));
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2(result.err.count('\n') <= errorLines, result.err.constData());
        if (isEnglish) {
            static const GermanWords german =
                GermanWords::of(QStringLiteral(TEMPOLANE_SOURCE_DIR "/i18n/tempolane_en.ts"));
            QVERIFY(german.size() > 100);
            const QStringList words = german.in(both);
            QVERIFY2(words.isEmpty(), qPrintable(words.join(u' ') + u'\n' + both));
        }
    }
};

QTEST_GUILESS_MAIN(CliInEnglishTest)
#include "tst_CliInEnglish.moc"
