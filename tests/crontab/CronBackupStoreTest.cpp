#include "CronBackupStore.h"

#include "TestFiles.h"

#include <QCoro/QCoroTask>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace Tempolane;
using Tempolane::Testing::modeOf;
using Tempolane::Testing::writeFile;

namespace {

const QDateTime backupTime(QDate(2026, 3, 1), QTime(8, 30, 5, 123), Qt::UTC);
const QString backupName = QStringLiteral("crontab-2026-03-01T08-30-05.123.txt");

QStringList entries(const QString& directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                     QDir::Name);
}

std::expected<void, CronBackupError> storeAt(const QString& root, const QString& text,
                                             const QDateTime& time = backupTime)
{
    CronBackupStore store(root, 20, [time] { return time; });
    return QCoro::waitFor(store.storeBackup(text));
}

} // namespace

class CronBackupStoreTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fileNameIsTheUtcTimeWithoutColons()
    {
        QCOMPARE(CronBackupStore::fileName(backupTime), backupName);
        const QDateTime offset(QDate(2026, 3, 1), QTime(0, 15, 0, 7), Qt::OffsetFromUTC, 7200);
        QCOMPARE(CronBackupStore::fileName(offset),
                 QStringLiteral("crontab-2026-02-28T22-15-00.007.txt"));
    }

    void firstBackupCreatesPrivateDirectoriesAndFile_data()
    {
        QTest::addColumn<int>("umask");
        QTest::addColumn<QString>("text");
        QTest::newRow("umask 022, Unicode text") << 022 << QStringLiteral("# Grüße ☕\n");
        QTest::newRow("umask 000, empty text") << 0 << QString();
    }

    void firstBackupCreatesPrivateDirectoriesAndFile()
    {
        QFETCH(int, umask);
        QFETCH(QString, text);
        QTemporaryDir temporary;
        const QString root = temporary.filePath(QStringLiteral("data/Tempolane/Backups"));

        const mode_t previous = ::umask(mode_t(umask));
        const auto result = storeAt(root, text);
        ::umask(previous);

        QVERIFY(result);
        QCOMPARE(entries(root), QStringList(backupName));
        QFile file(root + u'/' + backupName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), text.toUtf8());
        QCOMPARE(modeOf(file.fileName()), 0600);
        for (const char* directory : {"data", "data/Tempolane", "data/Tempolane/Backups"})
            QCOMPARE(modeOf(temporary.filePath(QString::fromLatin1(directory))), 0700);
    }

    void pruningKeepsTheMostRecentlyModified_data()
    {
        QTest::addColumn<int>("backupCount");
        QTest::newRow("20 present, the oldest goes") << 20;
        QTest::newRow("25 present, the six oldest go") << 25;
    }

    void pruningKeepsTheMostRecentlyModified()
    {
        QFETCH(int, backupCount);
        QTemporaryDir temporary;
        const QString root = temporary.path();
        // Dates follow neither the names nor the order of creation (7 is prime to the counts).
        QStringList oldestFirst(backupCount);
        for (int i = 0; i < backupCount; ++i) {
            const int age = (i * 7) % backupCount;
            const QString name = CronBackupStore::fileName(backupTime.addDays(-i));
            QVERIFY(writeFile(root + u'/' + name, "x", backupTime.addDays(-40 - age)));
            oldestFirst[backupCount - 1 - age] = name;
        }
        // Older than every backup, yet no backup: hidden, foreign, or both.
        const QStringList others{QStringLiteral(".crontab-hidden.txt"), QStringLiteral(".DS_Store"),
                                 QStringLiteral("notes.txt")};
        for (const QString& name : others)
            QVERIFY(writeFile(root + u'/' + name, "x", backupTime.addYears(-5)));

        QVERIFY(storeAt(root, QStringLiteral("new"), backupTime.addDays(1)));

        QStringList expected = oldestFirst.mid(backupCount - 19) + others;
        expected.append(CronBackupStore::fileName(backupTime.addDays(1)));
        expected.sort();
        QCOMPARE(entries(root), expected);
    }

    void backupsAreReadBackNewestFirst()
    {
        QTemporaryDir temporary;
        const QString root = temporary.filePath(QStringLiteral("Backups"));
        CronBackupStore store(root);
        QCOMPARE(QCoro::waitFor(store.backups()).value(), QList<CronBackup>());

        QVERIFY(storeAt(root, QStringLiteral("# älter\n"), backupTime));
        QVERIFY(storeAt(root, QStringLiteral("# neuer\n"), backupTime.addSecs(1)));
        // A copy put back by hand under a name without a time counts by its modification
        // time; a file that is not UTF-8 could never be installed as it is, and hidden files
        // are no backups.
        const QDateTime handMade = backupTime.addSecs(-60);
        QVERIFY(writeFile(root + QStringLiteral("/crontab-von-hand.txt"), "# Hand\n", handMade));
        QVERIFY(writeFile(root + QStringLiteral("/crontab-binary.txt"), "\xff\xfe", backupTime));
        QVERIFY(writeFile(root + QStringLiteral("/.crontab-hidden.txt"), "x", backupTime));

        const QList<CronBackup> listed = QCoro::waitFor(store.backups()).value();
        const auto backup = [](QString name, QDateTime takenAt, qint64 size, QString text,
                               CronBackup::Flaw flaw = CronBackup::Flaw::none) {
            CronBackup expected;
            expected.fileName = std::move(name);
            expected.takenAt = std::move(takenAt);
            expected.size = size;
            expected.text = std::move(text);
            expected.flaw = flaw;
            return expected;
        };
        const QList<CronBackup> expected{
            backup(CronBackupStore::fileName(backupTime.addSecs(1)), backupTime.addSecs(1), 8,
                   QStringLiteral("# neuer\n")),
            backup(QStringLiteral("crontab-binary.txt"), backupTime, 2, QString(),
                   CronBackup::Flaw::notUtf8),
            backup(backupName, backupTime, 9, QStringLiteral("# älter\n")),
            backup(QStringLiteral("crontab-von-hand.txt"), handMade, 7,
                   QStringLiteral("# Hand\n"))};
        QCOMPARE(listed, expected);
    }

    // A save killed while it wrote its backup leaves the temporary file; the next save takes
    // it away, and it is never a backup. Other hidden files are not the store's.
    void leftTemporariesGoAtTheNextSave()
    {
        QTemporaryDir temporary;
        const QString root = temporary.path();
        const QString left = u'.' + backupName + QStringLiteral(".Ab12Cd");
        const QStringList others{QStringLiteral(".crontab-hidden.txt"),
                                 QStringLiteral(".notes.txt.Ab12Cd")};
        const QStringList planted = QStringList(others) << left;
        for (const QString& name : planted)
            QVERIFY(writeFile(root + u'/' + name, "# halb", backupTime));
        QCOMPARE(QCoro::waitFor(CronBackupStore(root).backups()).value(), QList<CronBackup>());

        const QDateTime later = backupTime.addSecs(1);
        QVERIFY(storeAt(root, QStringLiteral("# neu\n"), later));
        QCOMPARE(entries(root), QStringList(others) << CronBackupStore::fileName(later));
    }

    void unusableDirectoryFailsWithTheSystemText_data()
    {
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<QString>("root");
        QTest::addColumn<int>("operation");
        // A file in the way fails even for root, unlike a directory without write permission.
        QTest::newRow("root is a file") << QStringLiteral("file") << QStringLiteral("file/Backups")
                                        << int(CronBackupError::Operation::createDirectory);
        QTest::newRow("directory in place of the file")
            << backupName + u'/' << QString() << int(CronBackupError::Operation::writeFile);
    }

    void unusableDirectoryFailsWithTheSystemText()
    {
        QFETCH(QString, blocker);
        QFETCH(QString, root);
        QFETCH(int, operation);

        QTemporaryDir temporary;
        if (blocker.endsWith(u'/'))
            QVERIFY(QDir(temporary.path()).mkdir(blocker));
        else
            QVERIFY(writeFile(temporary.filePath(blocker), "x", backupTime));
        const auto result = storeAt(temporary.filePath(root), QStringLiteral("x"));

        QVERIFY(!result);
        QCOMPARE(int(result.error().operation), operation);
        QVERIFY(!result.error().message.isEmpty());
        QVERIFY(result.error().description().endsWith(result.error().message));
    }
};

QTEST_GUILESS_MAIN(CronBackupStoreTest)
#include "CronBackupStoreTest.moc"
