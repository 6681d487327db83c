#include "CliCommand.h"

#include <QRegularExpression>
#include <QTest>

using namespace Tempolane;

class CliListTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void list_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("errorStart");

        QTest::newRow("the demo crontab lists its four jobs, the paused one as such")
            << QStringList(QStringLiteral("--demo")) << int(Cli::success)
            << QStringLiteral(
                   "aktiv\tphp\t*/5 * * * *\t/usr/local/bin/php /home/demo/Sites/example/artisan "
                   "schedule:run\n"
                   "aktiv\tdaily-report.sh\t30 8 * * 1-5\t/home/demo/Scripts/daily-report.sh\n"
                   "pausiert\tarchive.sh\t0 2 * * 0\t/home/demo/Scripts/archive.sh\n"
                   "aktiv\tstart-services.sh\t@reboot\t/home/demo/Scripts/start-services.sh\n")
            << QString();
        QTest::newRow("an unknown option is a usage error")
            << QStringList(QStringLiteral("--all")) << int(Cli::usageError) << QString()
            << QStringLiteral("usage: tempolane-cli list");
    }

    void list()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, output);
        QFETCH(QString, errorStart);

        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        QCOMPARE(Cli::list(arguments, {outStream, errStream}), status);
        outStream.flush();
        errStream.flush();
        QVERIFY(err.startsWith(errorStart) && err.isEmpty() == errorStart.isEmpty());
        // Description, next run and id follow the four fixed columns; the run depends on today.
        static const QRegularExpression variable(
            QStringLiteral("\t[^\t\n]+\t(\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d|—)\t"
                           "[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"),
            QRegularExpression::MultilineOption);
        QCOMPARE(QString(out).remove(variable), output);
        // Only active jobs with a schedule run again.
        for (const QString& line : out.split(u'\n', Qt::SkipEmptyParts))
            QCOMPARE(line.section(u'\t', 5, 5) == u"—",
                     !line.startsWith(u"aktiv") || line.contains(u"@reboot"));
    }
};

QTEST_GUILESS_MAIN(CliListTest)
#include "CliListTest.moc"
