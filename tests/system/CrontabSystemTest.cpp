#include "CliCommand.h"
#include "CronBackupStore.h"
#include "CronRepository.h"
#include "CronSystemClient.h"

#include <QCoreApplication>
#include <QCoro/QCoroTask>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <cstdio>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Tempolane;

namespace {

const char* const throwawayUser = "tempolane-test";

struct ToolRun
{
    int status = -1;
    QByteArray output;
    QByteArray error;
};

// The real tool, driven the way a user in a terminal would.
ToolRun crontab(const QStringList& arguments, const QByteArray& input = {})
{
    QProcess process;
    process.start(QStringLiteral("/usr/bin/crontab"), arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(-1);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QByteArray installedBytes()
{
    return crontab(QStringList(QStringLiteral("-l"))).output;
}

QString backupDirectory()
{
    return CronBackupStore::defaultDirectory();
}

QStringList backupNames()
{
    return QDir(backupDirectory()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

mode_t modeOf(const QString& path)
{
    struct stat status
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

CronRepository makeRepository()
{
    return CronRepository(std::make_unique<CronSystemClient>(),
                          std::make_unique<CronBackupStore>());
}

const QByteArray realisticCrontab = "# Jobs dieses Rechners – bitte nicht löschen\n"
                                    "SHELL=/bin/sh\n"
                                    "MAILTO=\"\"\n"
                                    "PATH = /usr/local/bin:/usr/bin:/bin\n"
                                    "\n"
                                    "   # eingerückter Kommentar\t\n"
                                    "# Tempolane name: Bericht\n"
                                    "# Tempolane id: 0b7e6a52-3f0c-4b8e-9d36-0f2f6f1c2a11\n"
                                    "30\t8  *  * 1-5   /usr/local/bin/report --quiet   \n"
                                    "# Tempolane disabled: 0 2 * * 0 /usr/local/bin/archive\n"
                                    "*/15 * * * * echo \"100\\% done\" >/dev/null 2>&1\n"
                                    "@reboot sleep 30 && /usr/local/bin/start ☕\n"
                                    "\n";

} // namespace

class CrontabSystemTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        crontab(QStringList(QStringLiteral("-r")));
        QVERIFY(installedBytes().isEmpty());
        QDir(backupDirectory()).removeRecursively();
    }

    void cleanupTestCase() { crontab(QStringList(QStringLiteral("-r"))); }

    void userWithoutCrontabLoadsAsEmptyText()
    {
        QVERIFY(crontab(QStringList(QStringLiteral("-l"))).error.contains("no crontab for"));
        auto repository = makeRepository();
        const auto text = QCoro::waitFor(repository.load());
        QVERIFY(text.has_value());
        QCOMPARE(*text, QString());
    }

    void firstSaveInstallsTextAndKeepsEmptyPrivateBackup()
    {
        auto repository = makeRepository();
        const QString text = QStringLiteral("0 3 * * * /usr/bin/true\n");
        const auto saved = QCoro::waitFor(repository.save(text, QString()));
        if (!saved)
            QFAIL(qPrintable(saved.error().description()));

        QCOMPARE(installedBytes(), text.toUtf8());
        const QStringList names = backupNames();
        QCOMPARE(names.size(), 1);
        const QString backup = backupDirectory() + u'/' + names.front();
        QCOMPARE(QFileInfo(backup).size(), 0);
        QCOMPARE(modeOf(backup), mode_t(0600));
        QCOMPARE(modeOf(backupDirectory()), mode_t(0700));
    }

    void realisticCrontabReadsBackByteForByte()
    {
        auto repository = makeRepository();
        const QString text = QString::fromUtf8(realisticCrontab);
        const auto saved = QCoro::waitFor(repository.save(text, QString()));
        if (!saved)
            QFAIL(qPrintable(saved.error().description()));
        QCOMPARE(installedBytes(), realisticCrontab);
        const auto loaded = QCoro::waitFor(repository.load());
        QVERIFY(loaded.has_value());
        QCOMPARE(*loaded, text);

        // A second save over the first needs no reload.
        const QString second = text + QStringLiteral("5 4 * * * /usr/bin/true\n");
        QVERIFY(QCoro::waitFor(repository.save(second, text)).has_value());
        QCOMPARE(installedBytes(), second.toUtf8());
        QCOMPARE(backupNames().size(), 2);

        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        QCOMPARE(Cli::list({}, {outStream, errStream}), int(Cli::success));
        outStream.flush();
        QCOMPARE(out.count(u'\n'), 5);
        QVERIFY(out.startsWith(QStringLiteral("aktiv\tBericht\t30 8 * * 1-5\t")));
        QVERIFY(out.contains(QStringLiteral("pausiert\tarchive\t0 2 * * 0\t/usr/local/bin/archive\t"
                                            "Sonntag um 02:00\t—\n")));
    }

    void externalChangeBetweenLoadAndSaveIsKept()
    {
        QCOMPARE(crontab(QStringList(QStringLiteral("-")), "# eigener Stand\n").status, 0);
        auto repository = makeRepository();
        const auto loaded = QCoro::waitFor(repository.load());
        QCOMPARE(loaded.value(), QStringLiteral("# eigener Stand\n"));

        QCOMPARE(crontab(QStringList(QStringLiteral("-")), "# von außen geändert\n").status, 0);
        const auto saved =
            QCoro::waitFor(repository.save(QStringLiteral("# Tempolane\n"), *loaded));

        QVERIFY(!saved.has_value());
        QVERIFY(saved.error().isConcurrentModification());
        QVERIFY(backupNames().isEmpty());
        QCOMPARE(installedBytes(), QByteArray("# von außen geändert\n"));
    }

    void refusedTextReachesTheCallerWithTheToolsMessage_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("messagePart");
        QTest::newRow("a text without a final line feed")
            << QStringLiteral("0 3 * * * /usr/bin/true") << QStringLiteral("missing newline");
        QTest::newRow("a minute cron cannot read")
            << QStringLiteral("61 * * * * /usr/bin/true\n") << QStringLiteral("bad minute");
    }

    void refusedTextReachesTheCallerWithTheToolsMessage()
    {
        QFETCH(QString, text);
        QFETCH(QString, messagePart);
        const QByteArray before = "# vorher\n";
        QCOMPARE(crontab(QStringList(QStringLiteral("-")), before).status, 0);

        auto repository = makeRepository();
        const auto saved = QCoro::waitFor(repository.save(text, QString::fromUtf8(before)));

        QVERIFY(!saved.has_value());
        const CronClientError* clientError = saved.error().clientError();
        QVERIFY(clientError);
        QVERIFY(clientError->systemError());
        QCOMPARE(clientError->systemError()->kind(), CronSystemError::Kind::commandFailed);
        QVERIFY(clientError->systemError()->status() != 0);
        QVERIFY2(saved.error().description().contains(messagePart),
                 qPrintable(saved.error().description()));
        QCOMPARE(installedBytes(), before);
    }

    void unwritableBackupDirectoryLeavesTheCrontabUntouched()
    {
        if (::geteuid() == 0)
            QSKIP("root writes into any directory");
        QCOMPARE(crontab(QStringList(QStringLiteral("-")), "# vorher\n").status, 0);
        QVERIFY(QDir().mkpath(backupDirectory()));
        QVERIFY(::chmod(QFile::encodeName(backupDirectory()).constData(), 0500) == 0);

        auto repository = makeRepository();
        const auto saved = QCoro::waitFor(
            repository.save(QStringLiteral("# neu\n"), QStringLiteral("# vorher\n")));
        ::chmod(QFile::encodeName(backupDirectory()).constData(), 0700);

        QVERIFY(!saved.has_value());
        QVERIFY(saved.error().backupError());
        QVERIFY2(saved.error().description().contains(QStringLiteral("Permission denied")),
                 qPrintable(saved.error().description()));
        QCOMPARE(installedBytes(), QByteArray("# vorher\n"));
    }
};

int main(int argc, char* argv[])
{
    // These tests replace the crontab of whoever runs them.
    const passwd* user = ::getpwuid(::getuid());
    if (!user || qstrcmp(user->pw_name, throwawayUser) != 0) {
        std::fprintf(stderr, "runs only as %s (see scripts/run-as-test-user)\n", throwawayUser);
        return 77;
    }
    QCoreApplication app(argc, argv);
    CrontabSystemTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CrontabSystemTest.moc"
