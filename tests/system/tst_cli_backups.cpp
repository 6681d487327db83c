// The terminal companion's backups and job commands on the real crontab of the throwaway user,
// with backup folders and files that other users own or that cannot be backups, and with jobs
// that carry no id marker.
#include "CrontabTool.h"
#include "DataLocations.h"
#include "TestFiles.h"
#include "ThrowawayUser.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace Tempolane;
using namespace Tempolane::Testing;

namespace {

const QString backups = DataLocations::forCurrentUser().backups;
const QString strangersName = QStringLiteral("crontab-2099-01-01T00-00-00.000.txt");
const QString rootsName = QStringLiteral("crontab-2098-01-01T00-00-00.000.txt");
const QString ownName = QStringLiteral("crontab-2026-03-01T08-30-05.123.txt");

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

Run cli(const QStringList& arguments)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tempolane-cli"),
                  arguments);
    if (!process.waitForFinished(60000))
        process.kill();
    process.waitForFinished(-1);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Moves one of the things another user owns (see scripts/run-as-test-user --foreign) to `path`.
bool bringForeign(const char* name, const QString& path)
{
    const QString foreign = qEnvironmentVariable("TEMPOLANE_TEST_FOREIGN");
    return !foreign.isEmpty() &&
           ::rename(QFile::encodeName(foreign + u'/' + QString::fromLatin1(name)).constData(),
                    QFile::encodeName(path).constData()) == 0;
}

// The listed lines of `tempolane-cli backups`, each as its columns.
QList<QStringList> listed(const Run& run)
{
    QList<QStringList> rows;
    for (const QString& line : run.out.split(u'\n', Qt::SkipEmptyParts))
        rows.append(line.split(u'\t'));
    return rows;
}

} // namespace

class CliBackupsTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        crontabTool("-r");
        ::chmod(QFile::encodeName(backups).constData(), 0700);
        QDir(backups).removeRecursively();
    }

    void cleanupTestCase() { crontabTool("-r"); }

    void sharedFolder_isClosedAndOthersFilesAreNoBackups()
    {
        if (qEnvironmentVariableIsEmpty("TEMPOLANE_TEST_FOREIGN"))
            QSKIP("needs other users' files: run through scripts/run-as-test-user --foreign");
        QVERIFY(QDir().mkpath(backups));
        QVERIFY(::chmod(QFile::encodeName(backups).constData(), 01777) == 0);
        QVERIFY(writeFile(backups + u'/' + ownName, "0 3 * * * /usr/bin/true\n"));
        QVERIFY(bringForeign("stranger-file", backups + u'/' + strangersName));
        QVERIFY(bringForeign("root-file", backups + u'/' + rootsName));

        const Run listing = cli({QStringLiteral("backups")});
        QCOMPARE(listing.status, 0);
        const QList<QStringList> rows = listed(listing);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].front(), QStringLiteral("1"));
        QCOMPARE(rows[0].back(), ownName);
        QCOMPARE(listing.err.count(u'\n'), 1);
        QVERIFY2(listing.err.contains(
                     QStringLiteral("„%1“ (gehört einem anderen Benutzer)").arg(strangersName)),
                 qPrintable(listing.err));
        QVERIFY2(listing.err.contains(rootsName), qPrintable(listing.err));
        QCOMPARE(linkMode(backups), mode_t(S_IFDIR | 0700));

        const Run planted = cli({QStringLiteral("restore"), strangersName});
        QCOMPARE(planted.status, 1);
        QVERIFY2(planted.err.contains(QStringLiteral("gehört einem anderen Benutzer")),
                 qPrintable(planted.err));
        QCOMPARE(listedCrontab(), QByteArray());

        QCOMPARE(cli({QStringLiteral("restore"), QStringLiteral("1")}).status, 0);
        QCOMPARE(listedCrontab(), QByteArray("0 3 * * * /usr/bin/true\n"));
    }

    void foldersOfOthers_areRefused()
    {
        if (qEnvironmentVariableIsEmpty("TEMPOLANE_TEST_FOREIGN"))
            QSKIP("needs other users' files: run through scripts/run-as-test-user --foreign");
        const QByteArray job = "0 3 * * * /usr/bin/true\n";
        crontabTool("-", job);
        QVERIFY(QDir().mkpath(QFileInfo(backups).path()));
        QVERIFY(bringForeign("stranger-folder", backups));
        QVERIFY(writeFile(backups + u'/' + ownName, "* * * * * echo planted\n"));

        const Run listing = cli({QStringLiteral("backups")});
        QCOMPARE(listing.status, 1);
        QVERIFY2(listing.err.contains(QStringLiteral("gehört einem anderen Benutzer")),
                 qPrintable(listing.err));
        QCOMPARE(cli({QStringLiteral("restore"), QStringLiteral("1")}).status, 1);
        // Nor is the crontab replaced without its backup.
        const Run pause = cli({QStringLiteral("pause"), QStringLiteral("true")});
        QCOMPARE(pause.status, 1);
        QVERIFY2(pause.err.contains(QStringLiteral("gehört einem anderen Benutzer")),
                 qPrintable(pause.err));
        QCOMPARE(listedCrontab(), job);
    }

    void flawedFiles_areNamedWithTheirReason()
    {
        QVERIFY(QDir().mkpath(backups));
        const QString tooLarge = QStringLiteral("crontab-2026-01-01T00-00-00.000.txt");
        const QString binary = QStringLiteral("crontab-2026-01-02T00-00-00.000.txt");
        const QString locked = QStringLiteral("crontab-2026-01-03T00-00-00.000.txt");
        QVERIFY(writeFile(backups + u'/' + tooLarge, QByteArray(8 * 1024 * 1024 + 1, '#')));
        QVERIFY(writeFile(backups + u'/' + binary, "# caf\xe9\n"));
        QVERIFY(writeFile(backups + u'/' + locked, "# gesperrt\n"));
        QVERIFY(::chmod(QFile::encodeName(backups + u'/' + locked).constData(), 0) == 0);
        QVERIFY(writeFile(backups + u'/' + ownName, "0 3 * * * /usr/bin/true\n"));

        const Run listing = cli({QStringLiteral("backups")});
        QCOMPARE(listing.status, 0);
        const QList<QStringList> rows = listed(listing);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0].back(), ownName);
        QCOMPARE(rows[1].back(), binary);
        QCOMPARE(rows[1].mid(3),
                 QStringList({QStringLiteral("unbrauchbar: kein gültiger UTF-8-Text"),
                              QStringLiteral("\u2013"), binary}));
        QCOMPARE(rows[2].back(), tooLarge);
        QCOMPARE(rows[2][3], QStringLiteral("unbrauchbar: größer als 8 MiB"));
        QVERIFY2(listing.err.startsWith(
                     QStringLiteral("Übersprungen: „%1“ (nicht lesbar: ").arg(locked)),
                 qPrintable(listing.err));

        const Run restoreFlawed = cli({QStringLiteral("restore"), QStringLiteral("2")});
        QCOMPARE(restoreFlawed.status, 1);
        QVERIFY2(restoreFlawed.err.contains(QStringLiteral("kein gültiger UTF-8-Text")),
                 qPrintable(restoreFlawed.err));
        QCOMPARE(cli({QStringLiteral("restore"), locked}).status, 1);
        QCOMPARE(cli({QStringLiteral("restore"), ownName}).status, 0);
        QCOMPARE(listedCrontab(), QByteArray("0 3 * * * /usr/bin/true\n"));
    }

    // The tool lists a carriage return as "\r": the text is in place all the same.
    void restoredCarriageReturn_isReportedInPlace()
    {
        QVERIFY(QDir().mkpath(backups));
        QVERIFY(writeFile(backups + u'/' + ownName, "# a\rb\n0 3 * * * /usr/bin/true\r\n"));

        const Run restore = cli({QStringLiteral("restore"), QStringLiteral("1")});
        QVERIFY2(restore.status == 0, qPrintable(restore.err));
        QVERIFY2(restore.out.contains(QStringLiteral("Wiederhergestellt")),
                 qPrintable(restore.out));
        QCOMPARE(listedCrontab(), QByteArray("# a\\rb\n0 3 * * * /usr/bin/true\\r\n"));
    }

    void unmarkedJob_isAddressedByItsListedId()
    {
        const QByteArray first = "*/5 * * * * php /srv/a/cron.php\n";
        const QByteArray second = "*/5 * * * * php /srv/b/cron.php\n";
        crontabTool("-", first + second);

        const Run ambiguous = cli({QStringLiteral("pause"), QStringLiteral("php")});
        QCOMPARE(ambiguous.status, 2);
        // Each candidate with the line cron reads it from and its command.
        static const QRegularExpression idOfFirst(
            QStringLiteral("^  ([0-9a-f-]{36})\\tZeile 1\\tphp\\t\\*/5 \\* \\* \\* \\*\\t"
                           "php /srv/a/cron.php$"),
            QRegularExpression::MultilineOption);
        const QString id = idOfFirst.match(ambiguous.err).captured(1);
        QVERIFY2(!id.isEmpty(), qPrintable(ambiguous.err));

        const Run pause = cli({QStringLiteral("pause"), id});
        QVERIFY2(pause.status == 0, qPrintable(pause.err));
        QCOMPARE(listedCrontab(),
                 "# Tempolane id: " + id.toUtf8() + "\n# Tempolane disabled: " + first + second);
        QCOMPARE(cli({QStringLiteral("resume"), id}).status, 0);
        QCOMPARE(listedCrontab(), "# Tempolane id: " + id.toUtf8() + '\n' + first + second);
    }
};

int main(int argc, char* argv[])
{
    return Testing::execAsThrowawayUser<CliBackupsTest>(argc, argv);
}

#include "tst_cli_backups.moc"
