#include "CronBackupStore.h"
#include "CronRepository.h"
#include "CronSystemClient.h"
#include "DataLocations.h"

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
ToolRun crontab(const char* argument, const QByteArray& input = {})
{
    QProcess process;
    process.start(QStringLiteral("/usr/bin/crontab"), {QString::fromLatin1(argument)});
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(-1);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QByteArray installedBytes()
{
    return crontab("-l").output;
}

// Where the application keeps the test user's backups.
const QString backups = DataLocations::forCurrentUser().backups;

QStringList backupNames()
{
    return QDir(backups).entryList(QDir::Files | QDir::Hidden);
}

mode_t modeOf(const QString& path)
{
    struct stat status
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
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

    CronRepository m_repository{std::make_unique<CronSystemClient>(),
                                std::make_unique<CronBackupStore>(backups)};

    void save(const QString& text, const QString& expected)
    {
        const auto saved = QCoro::waitFor(m_repository.save(text, expected));
        QVERIFY2(saved, saved ? "" : qPrintable(saved.error().description()));
        QCOMPARE(installedBytes(), text.toUtf8());
    }

private Q_SLOTS:
    void init()
    {
        crontab("-r");
        QVERIFY(installedBytes().isEmpty());
        QDir(backups).removeRecursively();
    }

    void cleanupTestCase() { crontab("-r"); }

    void userWithoutCrontabLoadsAsEmptyText()
    {
        QVERIFY(crontab("-l").error.contains("no crontab for"));
        QCOMPARE(QCoro::waitFor(m_repository.load()).value(), QString());
    }

    void firstSaveInstallsTextAndKeepsEmptyPrivateBackup()
    {
        save(QStringLiteral("0 3 * * * /usr/bin/true\n"), QString());
        const QStringList names = backupNames();
        QCOMPARE(names.size(), 1);
        const QString backup = backups + u'/' + names.front();
        QCOMPARE(QFileInfo(backup).size(), 0);
        QCOMPARE(modeOf(backup), mode_t(0600));
        QCOMPARE(modeOf(backups), mode_t(0700));
    }

    void realisticCrontabReadsBackByteForByte()
    {
        const QString text = QString::fromUtf8(realisticCrontab);
        save(text, QString());
        QCOMPARE(QCoro::waitFor(m_repository.load()).value(), text);

        // A second save over the first needs no reload.
        save(text + QStringLiteral("5 4 * * * /usr/bin/true\n"), text);
        QCOMPARE(backupNames().size(), 2);
    }

    void externalChangeBetweenLoadAndSaveIsKept()
    {
        QCOMPARE(crontab("-", "# eigener Stand\n").status, 0);
        const auto loaded = QCoro::waitFor(m_repository.load());
        QCOMPARE(loaded.value(), QStringLiteral("# eigener Stand\n"));

        QCOMPARE(crontab("-", "# von außen geändert\n").status, 0);
        const auto saved =
            QCoro::waitFor(m_repository.save(QStringLiteral("# Tempolane\n"), *loaded));

        QVERIFY(!saved);
        QVERIFY(saved.error().isConcurrentModification());
        QVERIFY(backupNames().isEmpty());
        QCOMPARE(installedBytes(), QByteArray("# von außen geändert\n"));
    }

    void missingFinalNewlineIsRefusedWithTheToolsMessage()
    {
        QCOMPARE(crontab("-", "# vorher\n").status, 0);
        const auto saved = QCoro::waitFor(m_repository.save(
            QStringLiteral("0 3 * * * /usr/bin/true"), QStringLiteral("# vorher\n")));

        QVERIFY(!saved);
        const CronClientError* clientError = saved.error().clientError();
        QVERIFY(clientError && clientError->systemError());
        QCOMPARE(clientError->systemError()->kind(), CronSystemError::Kind::commandFailed);
        QVERIFY(clientError->systemError()->status() != 0);
        QVERIFY2(saved.error().description().contains(QStringLiteral("missing newline")),
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
