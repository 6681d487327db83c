#include "CliRun.h"

#include <QTest>

using Tempolane::Testing::runCli;

// The schedule subcommands of tempolane-cli, run as a user would run them.
class ScheduleCliTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void subcommand_data();
    void subcommand();
};

void ScheduleCliTest::subcommand_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("exitCode");

    QTest::newRow("next: a weekday morning in Berlin")
        << "next"
        << "30 8 * * 1-5\t1767225600\tEurope/Berlin\n"
        << "1767252600\n"
        << 0;
    QTest::newRow("next: never, @reboot, fractions and tabs in the expression")
        << "next"
        << "0 0 30 2 *\t1767225600.999\tUTC\n@reboot\t1\tUTC\n* * * * *\t-0.0001\tUTC\n"
           "0\t0\t*\t*\t*\t1767225600\tAsia/Kathmandu"
        << "none\nnone\n0\n1767291300\n"
        << 0;
    QTest::newRow("next: an expression validation refuses has no run, however it parses")
        << "next"
        << "5/10 * * * *\t1767225600\tUTC\n0 9 * * 1,,2\t1767225600\tUTC\n"
           "5-1 * * * *\t1767225600\tUTC\n60 * * * *\t1767225600\tUTC\n"
        << "none\nnone\nnone\nnone\n"
        << 0;
    QTest::newRow("next: an unknown zone and a bad line, then on")
        << "next"
        << "* * * * *\t0\tMars/Base\nkaputt\n* * * * *\t1x\tUTC\n* * * * *\t0\tUTC\n"
        << "Unbekannte Zeitzone: Mars/Base\nErwartet: AUSDRUCK<TAB>SEKUNDEN<TAB>ZEITZONE\n"
           "Ungültiger Zeitpunkt: 1x\n60\n"
        << 1;
    QTest::newRow("describe")
        << "describe"
        << "@daily\n30 7 * * 1-5\n*/15 * * * *\n0 9 * * mon\n0 0 1 1 *\n"
        << "Täglich um 00:00\nMontag, Dienstag, Mittwoch, Donnerstag und Freitag um 07:30\n"
           "Alle 15 Minuten\nMontag um 09:00\nIndividueller Zeitplan\n"
        << 0;
    QTest::newRow("visual") << "visual"
                            << "05 9 * * *\n0 9 * * 7,5\n@daily\n*/1 * * * *\n"
                            << "daily\t5 9 * * *\nweekly\t0 9 * * 0,5\nnone\nminutes\t* * * * *\n"
                            << 0;
    for (const char* command : {"next", "describe", "visual"}) // arguments are refused
        QTest::newRow(command) << QStringLiteral("%1 extra").arg(command) << ""
                               << "" << 2;
}

void ScheduleCliTest::subcommand()
{
    QFETCH(QString, command);
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QFETCH(int, exitCode);

    const QStringList arguments = command.split(u' ');
    const auto result = runCli(arguments, input.toUtf8());
    QCOMPARE(QString::fromUtf8(result.out), expected);
    QCOMPARE(result.exitCode, exitCode);
    if (exitCode == 2)
        QVERIFY(QString::fromUtf8(result.err).startsWith("usage: tempolane-cli " + arguments[0]));
}

QTEST_GUILESS_MAIN(ScheduleCliTest)
#include "tst_ScheduleCli.moc"
