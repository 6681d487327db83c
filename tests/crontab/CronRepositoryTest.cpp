#include "CronRepository.h"

#include "CronBackupStore.h"
#include "CronSystemClient.h"
#include "DemoCronClient.h"
#include "TestFiles.h"

#include <QCoro/QCoroTask>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Tempolane;

namespace {

const QString fakeTool = QStringLiteral(TEMPOLANE_FAKE_CRONTAB);
constexpr int accepted = 0, concurrent = 1, backupFailed = 2;

QStringList backupTexts(const QString& directory)
{
    QStringList texts;
    const QDir dir(directory);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
        texts.append(QString::fromUtf8(Testing::contents(dir.filePath(name))));
    return texts;
}

} // namespace

class CronRepositoryTest final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString backupRoot() const { return m_dir.filePath(QStringLiteral("Backups")); }

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
        QTest::addColumn<QString>("backupParent"); // a file there makes the backup fail
        QTest::addColumn<int>("outcome");

        const QString text = QStringLiteral("# a\n0 * * * * true\n");
        const QString blocked = QStringLiteral("blocker");
        QTest::newRow("no crontab, saved over the empty text")
            << QString() << QString() << QString() << accepted;
        QTest::newRow("unchanged") << text << text << QString() << accepted;
        QTest::newRow("differs in the final line feed")
            << text << text.chopped(1) << QString() << concurrent;
        QTest::newRow("installed since the empty text was read")
            << text << QString() << QString() << concurrent;
        QTest::newRow("backup fails") << text << text << blocked << backupFailed;
    }

    void saveBacksUpAndWritesOnlyOverTheExpectedText()
    {
        QFETCH(QString, installed);
        QFETCH(QString, expected);
        QFETCH(QString, backupParent);
        QFETCH(int, outcome);

        QString root = backupRoot();
        if (!backupParent.isEmpty()) {
            QFile blocker(m_dir.filePath(backupParent));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            root = blocker.fileName() + QStringLiteral("/Backups");
        }
        auto client = std::make_unique<DemoCronClient>(installed);
        DemoCronClient* view = client.get();
        CronRepository repository(std::move(client), std::make_unique<CronBackupStore>(root));
        const QString newText = QStringLiteral("# neu\n*/5 * * * * date\n");
        const auto result = QCoro::waitFor(repository.save(newText, expected));

        const QString nowInstalled = QCoro::waitFor(view->readCrontab()).value();
        QCOMPARE(nowInstalled, outcome == accepted ? newText : installed);
        QCOMPARE(backupTexts(backupRoot()),
                 outcome == accepted ? QStringList(installed) : QStringList());
        QCOMPARE(result.has_value(), outcome == accepted);
        if (outcome == concurrent) {
            QVERIFY(result.error().isConcurrentModification());
            QCOMPARE(result.error().description(),
                     QStringLiteral("Die crontab wurde außerhalb von Tempolane geändert. Bitte neu "
                                    "laden und die Änderung erneut anwenden."));
        } else if (outcome == backupFailed) {
            QVERIFY(result.error().backupError());
            QCOMPARE(result.error().description(), result.error().backupError()->description());
        }
    }

    void toolFailuresReachTheCaller_data()
    {
        QTest::addColumn<QByteArray>("mode");
        QTest::addColumn<int>("backupCount");
        QTest::addColumn<QString>("description");
        QTest::newRow("failing read: no backup")
            << QByteArray("read-denied") << 0
            << QStringLiteral("crontab: your UID isn't allowed to access crontabs");
        QTest::newRow("refused write: backup kept")
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

        QVERIFY(!result);
        QVERIFY(result.error().clientError());
        QCOMPARE(result.error().description(), description);
        QCOMPARE(backupTexts(backupRoot()).size(), backupCount);
        QVERIFY(!QFile::exists(state));
    }
};

QTEST_GUILESS_MAIN(CronRepositoryTest)
#include "CronRepositoryTest.moc"
