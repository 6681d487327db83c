#include "CronBackupStore.h"

#include "CronSystemError.h"
#include "PrivateFiles.h"
#include "Utf8.h"

#include <QCoro/QCoroFuture>
#include <QFile>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Tempolane {

namespace {

using Result = std::expected<void, CronBackupError>;

CronBackupError systemError(CronBackupError::Operation operation, const QString& path)
{
    return CronBackupError{operation, path, qt_error_string(errno)};
}

CronBackupError backupError(const PrivateFiles::Failure& failure)
{
    using Step = PrivateFiles::Failure::Step;
    const auto operation =
        failure.step == Step::createDirectory  ? CronBackupError::Operation::createDirectory
        : failure.step == Step::setPermissions ? CronBackupError::Operation::setPermissions
                                               : CronBackupError::Operation::writeFile;
    return CronBackupError{operation, failure.path, failure.message};
}

bool isBackupName(const QString& name)
{
    return name.startsWith(u"crontab-") && name.endsWith(u".txt");
}

struct Entry
{
    QString name;
    QString path;
    timespec modified{};
};

bool isOlder(const Entry& left, const Entry& right)
{
    if (left.modified.tv_sec != right.modified.tv_sec)
        return left.modified.tv_sec < right.modified.tv_sec;
    return left.modified.tv_nsec < right.modified.tv_nsec;
}

// Only backup files count: hidden entries and whatever the user put here by hand stay.
std::expected<QList<Entry>, CronBackupError> listBackups(const QString& directory)
{
    DIR* stream = ::opendir(QFile::encodeName(directory).constData());
    if (!stream)
        return std::unexpected(systemError(CronBackupError::Operation::listDirectory, directory));
    QStringList names;
    errno = 0;
    while (const dirent* entry = ::readdir(stream)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (!name.startsWith(u'.') && isBackupName(name))
            names.append(name);
        errno = 0;
    }
    const int readError = errno;
    ::closedir(stream);
    if (readError != 0) {
        errno = readError;
        return std::unexpected(systemError(CronBackupError::Operation::listDirectory, directory));
    }
    // Name order first, so backups with equal dates keep their chronological order.
    names.sort();

    QList<Entry> entries;
    for (const QString& name : std::as_const(names)) {
        const QString path = directory + u'/' + name;
        struct stat status
        {
        };
        if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
            return std::unexpected(systemError(CronBackupError::Operation::readDate, path));
        if (S_ISREG(status.st_mode))
            entries.append(Entry{name, path, status.st_mtim});
    }
    return entries;
}

Result pruneBackups(const QString& directory, int maximumBackupCount)
{
    auto entries = listBackups(directory);
    if (!entries)
        return std::unexpected(entries.error());
    if (entries->size() <= maximumBackupCount)
        return {};
    std::stable_sort(entries->begin(), entries->end(), isOlder);
    const qsizetype surplus = entries->size() - maximumBackupCount;
    for (qsizetype i = 0; i < surplus; ++i) {
        const QString& path = entries->at(i).path;
        if (::unlink(QFile::encodeName(path).constData()) != 0)
            return std::unexpected(systemError(CronBackupError::Operation::removeFile, path));
    }
    return {};
}

Result storeNow(const QString& directory, int maximumBackupCount, const QDateTime& time,
                const QString& text)
{
    if (directory.isEmpty())
        return std::unexpected(
            CronBackupError{CronBackupError::Operation::locateDirectory, {}, {}});
    // The backups may hold passwords from crontab commands.
    if (auto created = PrivateFiles::makeDirectory(directory); !created)
        return std::unexpected(backupError(created.error()));
    const QString path = directory + u'/' + CronBackupStore::fileName(time);
    if (auto written = PrivateFiles::writeAtomically(path, text.toUtf8()); !written)
        return std::unexpected(backupError(written.error()));
    return pruneBackups(directory, maximumBackupCount);
}

// The UTC time in a backup's name, invalid when the name holds none.
QDateTime timeInName(const QString& name)
{
    const QString stamp = name.sliced(8, name.size() - 12);
    const QDate date = QDate::fromString(stamp.left(10), QStringLiteral("yyyy-MM-dd"));
    const QTime time = QTime::fromString(stamp.mid(10), QStringLiteral("'T'HH-mm-ss.zzz"));
    return date.isValid() && time.isValid() ? QDateTime(date, time, Qt::UTC) : QDateTime();
}

QDateTime modificationTime(const timespec& modified)
{
    return QDateTime::fromMSecsSinceEpoch(
        qint64(modified.tv_sec) * 1000 + modified.tv_nsec / 1000000, Qt::UTC);
}

bool isNewer(const CronBackup& left, const CronBackup& right)
{
    if (left.takenAt != right.takenAt)
        return left.takenAt > right.takenAt;
    return left.fileName > right.fileName;
}

// Nothing, when the file went away meanwhile (pruned by another instance), is too large for
// any crontab, or is not UTF-8: such a file could never be installed as it is.
std::expected<std::optional<CronBackup>, CronBackupError> readBackup(const Entry& entry)
{
    QFile file(entry.path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!file.exists())
            return std::nullopt;
        return std::unexpected(
            CronBackupError{CronBackupError::Operation::readFile, entry.path, file.errorString()});
    }
    if (file.size() > CronSystemError::outputLimit)
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::unexpected(
            CronBackupError{CronBackupError::Operation::readFile, entry.path, file.errorString()});
    auto text = Utf8::decode(bytes);
    if (!text)
        return std::nullopt;
    const QDateTime named = timeInName(entry.name);
    return CronBackup{entry.name, named.isValid() ? named : modificationTime(entry.modified),
                      bytes.size(), *std::move(text)};
}

std::expected<QList<CronBackup>, CronBackupError> readBackups(const QString& directory)
{
    if (directory.isEmpty())
        return std::unexpected(
            CronBackupError{CronBackupError::Operation::locateDirectory, {}, {}});
    // No directory yet: nothing was ever replaced.
    struct stat status
    {
    };
    if (::stat(QFile::encodeName(directory).constData(), &status) != 0 && errno == ENOENT)
        return QList<CronBackup>();
    const auto entries = listBackups(directory);
    if (!entries)
        return std::unexpected(entries.error());
    QList<CronBackup> backups;
    for (const Entry& entry : *entries) {
        auto backup = readBackup(entry);
        if (!backup)
            return std::unexpected(backup.error());
        if (*backup)
            backups.append(**std::move(backup));
    }
    std::stable_sort(backups.begin(), backups.end(), isNewer);
    return backups;
}

} // namespace

CronBackupStore::CronBackupStore(QString directory, int maximumBackupCount, Clock clock)
    : m_directory(std::move(directory)), m_maximumBackupCount(maximumBackupCount),
      m_clock(std::move(clock))
{
    m_pool.setMaxThreadCount(1);
}

CronBackupStore::~CronBackupStore()
{
    m_pool.waitForDone();
}

QCoro::Task<std::expected<void, CronBackupError>> CronBackupStore::storeBackup(QString text)
{
    const QDateTime time = m_clock();
    auto future = QtConcurrent::run(&m_pool, storeNow, m_directory, m_maximumBackupCount, time,
                                    std::move(text));
    co_return co_await future;
}

QCoro::Task<std::expected<QList<CronBackup>, CronBackupError>> CronBackupStore::backups()
{
    auto future = QtConcurrent::run(&m_pool, readBackups, m_directory);
    co_return co_await future;
}

QString CronBackupStore::fileName(const QDateTime& time)
{
    const QString stamp = time.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"));
    return QStringLiteral("crontab-") + QString(stamp).replace(u':', u'-') + QStringLiteral(".txt");
}

} // namespace Tempolane
