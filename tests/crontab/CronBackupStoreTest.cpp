#include "CronBackupStore.h"

#include <QCoro/QCoroTask>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace Tempolane;

namespace {

const QDateTime backupTime(QDate(2026, 3, 1), QTime(8, 30, 5, 123), Qt::UTC);

QByteArray fileContents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool createFile(const QString& path, const QDateTime& modified)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("x") == 1 && file.flush() &&
           file.setFileTime(modified, QFileDevice::FileModificationTime);
}

mode_t modeOf(const QString& path)
{
    struct stat status
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

QStringList entries(const QString& directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                     QDir::Name);
}

CronBackupStore::Clock fixedClock(QDateTime time)
{
    return [time] { return time; };
}

} // namespace

class CronBackupStoreTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fileNameIsTheUtcTimeWithoutColons_data()
    {
        QTest::addColumn<QDateTime>("time");
        QTest::addColumn<QString>("name");
        QTest::newRow("a UTC time is used as it is")
            << backupTime << QStringLiteral("crontab-2026-03-01T08-30-05.123.txt");
        QTest::newRow("a time with an offset is turned into UTC")
            << QDateTime(QDate(2026, 3, 1), QTime(0, 15, 0, 7), Qt::OffsetFromUTC, 2 * 3600)
            << QStringLiteral("crontab-2026-02-28T22-15-00.007.txt");
    }

    void fileNameIsTheUtcTimeWithoutColons()
    {
        QFETCH(QDateTime, time);
        QFETCH(QString, name);
        QCOMPARE(CronBackupStore::fileName(time), name);
    }

    void firstBackupCreatesPrivateDirectoriesAndFile_data()
    {
        QTest::addColumn<int>("umask");
        QTest::addColumn<QString>("text");
        QTest::newRow("under umask 022 with a Unicode text")
            << 022 << QStringLiteral("# Grüße ☕\n");
        QTest::newRow("under umask 000 with the empty text") << 0 << QString();
    }

    void firstBackupCreatesPrivateDirectoriesAndFile()
    {
        QFETCH(int, umask);
        QFETCH(QString, text);
        QTemporaryDir temporary;
        QVERIFY(temporary.isValid());
        const QString root = temporary.filePath(QStringLiteral("data/Tempolane/Backups"));

        const mode_t previous = ::umask(mode_t(umask));
        CronBackupStore store(root, 20, fixedClock(backupTime));
        const auto result = QCoro::waitFor(store.storeBackup(text));
        ::umask(previous);

        QVERIFY(result.has_value());
        const QString name = CronBackupStore::fileName(backupTime);
        QCOMPARE(entries(root), QStringList(name));
        QCOMPARE(fileContents(root + u'/' + name), text.toUtf8());
        QCOMPARE(modeOf(root + u'/' + name), mode_t(0600));
        for (const char* directory : {"data", "data/Tempolane", "data/Tempolane/Backups"})
            QCOMPARE(modeOf(temporary.filePath(QString::fromLatin1(directory))), mode_t(0700));
    }

    void existingOpenDirectoryIsClosed()
    {
        QTemporaryDir temporary;
        QVERIFY(::chmod(QFile::encodeName(temporary.path()).constData(), 0755) == 0);
        CronBackupStore store(temporary.path(), 20, fixedClock(backupTime));
        QVERIFY(QCoro::waitFor(store.storeBackup(QStringLiteral("x"))).has_value());
        QCOMPARE(modeOf(temporary.path()), mode_t(0700));
    }

    void backupInTheSameMillisecondReplacesTheFirst()
    {
        QTemporaryDir temporary;
        CronBackupStore store(temporary.path(), 20, fixedClock(backupTime));
        QVERIFY(QCoro::waitFor(store.storeBackup(QStringLiteral("first"))).has_value());
        QVERIFY(QCoro::waitFor(store.storeBackup(QStringLiteral("second"))).has_value());
        const QString name = CronBackupStore::fileName(backupTime);
        QCOMPARE(entries(temporary.path()), QStringList(name));
        QCOMPARE(fileContents(temporary.filePath(name)), QByteArray("second"));
    }

    void pruningKeepsTheMostRecentlyModified_data()
    {
        QTest::addColumn<int>("backupCount");
        QTest::addColumn<bool>("haveEqualDates");
        QTest::addColumn<int>("removedCount");

        QTest::newRow("19 old backups and the new one are all kept") << 19 << false << 0;
        QTest::newRow("with 20 backups present the oldest goes") << 20 << false << 1;
        QTest::newRow("with 25 backups present the six oldest go") << 25 << false << 6;
        QTest::newRow("backups with equal dates go in name order") << 22 << true << 3;
    }

    void pruningKeepsTheMostRecentlyModified()
    {
        QFETCH(int, backupCount);
        QFETCH(bool, haveEqualDates);
        QFETCH(int, removedCount);

        QTemporaryDir temporary;
        const QString root = temporary.path();
        // Dates follow neither the names nor the order of creation (7 is prime to the counts).
        QStringList oldestFirst(backupCount);
        for (int i = 0; i < backupCount; ++i) {
            const int age = haveEqualDates ? 0 : (i * 7) % backupCount;
            const QString name = CronBackupStore::fileName(backupTime.addDays(-i));
            QVERIFY(createFile(root + u'/' + name, backupTime.addDays(-40 - age)));
            oldestFirst[haveEqualDates ? i : backupCount - 1 - age] = name;
        }
        if (haveEqualDates)
            oldestFirst.sort();
        const QStringList others{QStringLiteral(".crontab-hidden.txt"), QStringLiteral(".DS_Store"),
                                 QStringLiteral("notes.txt")};
        for (const QString& name : others)
            QVERIFY(createFile(root + u'/' + name, backupTime.addYears(-5)));

        CronBackupStore store(root, 20, fixedClock(backupTime.addDays(1)));
        QVERIFY(QCoro::waitFor(store.storeBackup(QStringLiteral("new"))).has_value());

        QStringList expected = oldestFirst.mid(removedCount) + others;
        expected.append(CronBackupStore::fileName(backupTime.addDays(1)));
        expected.sort();
        QCOMPARE(entries(root), expected);
    }

    void unusableDirectoryFailsWithTheSystemText_data()
    {
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<QString>("root");
        QTest::addColumn<int>("operation");
        // A file in the way fails even for root, unlike a directory without write permission.
        QTest::newRow("the root is a regular file")
            << QStringLiteral("file") << QStringLiteral("file")
            << int(CronBackupError::Operation::createDirectory);
        QTest::newRow("a parent of the root is a regular file")
            << QStringLiteral("file") << QStringLiteral("file/Tempolane/Backups")
            << int(CronBackupError::Operation::createDirectory);
        QTest::newRow("a directory stands where the backup file goes")
            << CronBackupStore::fileName(backupTime) + QStringLiteral("/") << QString()
            << int(CronBackupError::Operation::writeFile);
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
            QVERIFY(createFile(temporary.filePath(blocker), backupTime));
        CronBackupStore store(temporary.filePath(root), 20, fixedClock(backupTime));
        const auto result = QCoro::waitFor(store.storeBackup(QStringLiteral("x")));

        QVERIFY(!result.has_value());
        QCOMPARE(int(result.error().operation), operation);
        QVERIFY(!result.error().message.isEmpty());
        QVERIFY(result.error().description().endsWith(result.error().message));
    }

    void defaultDirectoryIsInTheUsersDataDirectory()
    {
        QTemporaryDir temporary;
        const QByteArray previous = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(temporary.path()));
        CronBackupStore store(std::nullopt, 20, fixedClock(backupTime));
        const auto result = QCoro::waitFor(store.storeBackup(QStringLiteral("x")));
        qputenv("XDG_DATA_HOME", previous);

        QVERIFY(result.has_value());
        QVERIFY(QFile::exists(temporary.filePath(QStringLiteral("Tempolane/Backups/") +
                                                 CronBackupStore::fileName(backupTime))));
    }
};

QTEST_GUILESS_MAIN(CronBackupStoreTest)
#include "CronBackupStoreTest.moc"
