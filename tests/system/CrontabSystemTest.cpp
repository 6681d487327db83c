#include "CronBackupStore.h"
#include "CronRepository.h"
#include "CronSystemClient.h"
#include "CrontabTool.h"
#include "DataLocations.h"
#include "TestFiles.h"
#include "ThrowawayUser.h"

#include <QCoro/QCoroTask>
#include <QDir>
#include <QFile>
#include <QTest>

using namespace Tempolane;
using namespace Tempolane::Testing;

namespace {

// Where the application keeps the test user's backups.
const QString backups = DataLocations::forCurrentUser().backups;

QStringList backupNames()
{
    return QDir(backups).entryList(QDir::Files | QDir::Hidden);
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
        QCOMPARE(listedCrontab(), text.toUtf8());
    }

private Q_SLOTS:
    void init()
    {
        crontabTool("-r");
        QVERIFY(listedCrontab().isEmpty());
        QDir(backups).removeRecursively();
    }

    void cleanupTestCase() { crontabTool("-r"); }

    // Where the user has no crontab yet, its text is empty.
    void realisticCrontabReadsBackByteForByte()
    {
        QVERIFY(crontabTool("-l").err.contains("no crontab for"));
        QCOMPARE(QCoro::waitFor(m_repository.load()).value(), QString());
        const QString text = QString::fromUtf8(realisticCrontab);
        save(text, QString());
        QCOMPARE(QCoro::waitFor(m_repository.load()).value(), text);

        // A second save over the first needs no reload.
        save(text + QStringLiteral("5 4 * * * /usr/bin/true\n"), text);
        QCOMPARE(backupNames().size(), 2);
    }

    // Every test crontab is one Debian's tool installs; it lists it as it was given, except
    // that it shows a carriage return as a backslash and an "r".
    void testCrontabsInstallAsTheyAre_data()
    {
        QTest::addColumn<QString>("path");
        const QDir corpus(QStringLiteral(":/crontabs"));
        const QStringList names = corpus.entryList(QDir::Files);
        QVERIFY(names.size() >= 5);
        for (const QString& name : names)
            QTest::newRow(qPrintable(name)) << corpus.filePath(name);
    }

    void testCrontabsInstallAsTheyAre()
    {
        QFETCH(QString, path);
        const QByteArray bytes = contents(path);
        const ToolRun installed = crontabTool("-", bytes);
        QVERIFY2(installed.status == 0, installed.err.constData());
        QCOMPARE(listedCrontab(), QByteArray(bytes).replace("\r", "\\r"));
    }

    void missingFinalNewlineIsRefusedWithTheToolsMessage()
    {
        QCOMPARE(crontabTool("-", "# vorher\n").status, 0);
        const auto saved = QCoro::waitFor(m_repository.save(
            QStringLiteral("0 3 * * * /usr/bin/true"), QStringLiteral("# vorher\n")));

        QVERIFY(!saved);
        const CronClientError* clientError = saved.error().clientError();
        QVERIFY(clientError && clientError->systemError());
        QCOMPARE(clientError->systemError()->kind(), CronSystemError::Kind::commandFailed);
        QVERIFY(clientError->systemError()->status() != 0);
        QVERIFY2(saved.error().description().contains(QStringLiteral("missing newline")),
                 qPrintable(saved.error().description()));
        QCOMPARE(listedCrontab(), QByteArray("# vorher\n"));
    }
};

int main(int argc, char* argv[])
{
    return Testing::execAsThrowawayUser<CrontabSystemTest>(argc, argv);
}

#include "CrontabSystemTest.moc"
