#include "CronRepository.h"

#include "CronBackupStore.h"
#include "CronSystemClient.h"
#include "DemoCronClient.h"

#include <QCoro/QCoroTask>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Tempolane;

namespace {

const QString fakeTool = QStringLiteral(TEMPOLANE_FAKE_CRONTAB);

QStringList backupTexts(const QString& directory)
{
    QStringList texts;
    const QDir dir(directory);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            texts.append(QString::fromUtf8(file.readAll()));
    }
    return texts;
}

} // namespace

class CronRepositoryTest final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString backupRoot() const { return m_dir.filePath(QStringLiteral("Backups")); }

    // A demo client with the given text, and a view of it that outlives the repository's
    // ownership.
    std::pair<std::unique_ptr<CronRepository>, DemoCronClient*>
    makeRepository(const QString& installed, const QString& root = {})
    {
        auto client = std::make_unique<DemoCronClient>(installed);
        DemoCronClient* view = client.get();
        int tick = 0;
        // Distinct times, so every backup gets its own file.
        auto clock = [tick]() mutable {
            return QDateTime(QDate(2026, 3, 1), QTime(8, 0), Qt::UTC).addMSecs(++tick);
        };
        auto store =
            std::make_unique<CronBackupStore>(root.isEmpty() ? backupRoot() : root, 20, clock);
        return {std::make_unique<CronRepository>(std::move(client), std::move(store)), view};
    }

    static QString installedText(DemoCronClient* client)
    {
        return QCoro::waitFor(client->readCrontab()).value();
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QDir(backupRoot()).removeRecursively();
    }

    void saveBacksUpAndWritesOnlyOverTheExpectedText_data()
    {
        QTest::addColumn<QString>("installed");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("isAccepted");

        const QString text = QStringLiteral("# a\n0 * * * * true\n");
        QTest::newRow("a user without a crontab saves over the empty text")
            << QString() << QString() << true;
        QTest::newRow("an unchanged crontab is replaced") << text << text << true;
        QTest::newRow("a crontab changed by someone else is kept")
            << text << QStringLiteral("# b\n0 * * * * true\n") << false;
        QTest::newRow("a crontab differing only in its final line feed is kept")
            << text << text.chopped(1) << false;
        QTest::newRow("a crontab installed since the empty text was read is kept")
            << text << QString() << false;
    }

    void saveBacksUpAndWritesOnlyOverTheExpectedText()
    {
        QFETCH(QString, installed);
        QFETCH(QString, expected);
        QFETCH(bool, isAccepted);

        auto [repository, client] = makeRepository(installed);
        const QString newText = QStringLiteral("# neu\n*/5 * * * * date\n");
        const auto result = QCoro::waitFor(repository->save(newText, expected));

        QCOMPARE(result.has_value(), isAccepted);
        if (isAccepted) {
            QCOMPARE(installedText(client), newText);
            QCOMPARE(backupTexts(backupRoot()), QStringList(installed));
            return;
        }
        QVERIFY(result.error().isConcurrentModification());
        QCOMPARE(result.error().description(),
                 QStringLiteral("Die crontab wurde außerhalb von Tempolane geändert. Bitte neu "
                                "laden und die Änderung erneut anwenden."));
        QCOMPARE(installedText(client), installed);
        QVERIFY(backupTexts(backupRoot()).isEmpty());
    }

    void failedBackupLeavesTheCrontabUntouched()
    {
        QFile blocker(m_dir.filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        auto [repository, client] =
            makeRepository(QStringLiteral("# alt\n"), blocker.fileName() + QStringLiteral("/B"));
        const auto result =
            QCoro::waitFor(repository->save(QStringLiteral("# neu\n"), QStringLiteral("# alt\n")));
        QVERIFY(!result.has_value());
        QVERIFY(result.error().backupError());
        QCOMPARE(result.error().description(), result.error().backupError()->description());
        QCOMPARE(installedText(client), QStringLiteral("# alt\n"));
    }

    void toolFailuresReachTheCaller_data()
    {
        QTest::addColumn<QByteArray>("mode");
        QTest::addColumn<int>("backupCount");
        QTest::addColumn<QString>("description");
        QTest::newRow("a failing read stops the save before any backup")
            << QByteArray("read-denied") << 0
            << QStringLiteral("crontab: your UID isn't allowed to access crontabs");
        QTest::newRow("a refused write keeps the backup already taken")
            << QByteArray("refuse") << 1
            << QStringLiteral("\"-\":0: bad minute\nerrors in crontab file, can't install.");
    }

    void toolFailuresReachTheCaller()
    {
        QFETCH(QByteArray, mode);
        QFETCH(int, backupCount);
        QFETCH(QString, description);

        const QString state = m_dir.filePath(QStringLiteral("state"));
        QFile::remove(state);
        qputenv("FAKE_CRONTAB_STATE", QFile::encodeName(state));
        qputenv("FAKE_CRONTAB_MODE", mode);
        CronRepository repository(std::make_unique<CronSystemClient>(fakeTool),
                                  std::make_unique<CronBackupStore>(backupRoot()));
        const auto result =
            QCoro::waitFor(repository.save(QStringLiteral("5/10 * * * * true\n"), QString()));

        QVERIFY(!result.has_value());
        QVERIFY(result.error().clientError());
        QCOMPARE(result.error().description(), description);
        QCOMPARE(backupTexts(backupRoot()).size(), backupCount);
        QVERIFY(!QFile::exists(state));
    }
};

QTEST_GUILESS_MAIN(CronRepositoryTest)
#include "CronRepositoryTest.moc"
