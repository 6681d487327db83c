#include "CronBackupStore.h"

#include "CronSystemError.h"
#include "PrivateFiles.h"
#include "Utf8.h"

#include <QCoro/QCoroFuture>
#include <QFile>
#include <QScopeGuard>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
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
    using Operation = CronBackupError::Operation;
    const auto operation = failure.step == Step::createDirectory    ? Operation::createDirectory
                           : failure.step == Step::foreignDirectory ? Operation::foreignDirectory
                           : failure.step == Step::setPermissions   ? Operation::setPermissions
                                                                    : Operation::writeFile;
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
    bool isOwn = false;
};

bool isOlder(const Entry& left, const Entry& right)
{
    if (left.modified.tv_sec != right.modified.tv_sec)
        return left.modified.tv_sec < right.modified.tv_sec;
    return left.modified.tv_nsec < right.modified.tv_nsec;
}

// The names in the directory that `keeps` accepts, in name order.
std::expected<QStringList, CronBackupError>
namesIn(const QString& directory, const std::function<bool(const QString&)>& keeps)
{
    DIR* stream = ::opendir(QFile::encodeName(directory).constData());
    if (!stream)
        return std::unexpected(systemError(CronBackupError::Operation::listDirectory, directory));
    QStringList names;
    errno = 0;
    while (const dirent* entry = ::readdir(stream)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (keeps(name))
            names.append(name);
        errno = 0;
    }
    const int readError = errno;
    ::closedir(stream);
    if (readError != 0) {
        errno = readError;
        return std::unexpected(systemError(CronBackupError::Operation::listDirectory, directory));
    }
    names.sort();
    return names;
}

// The regular files with a backup's name; hidden entries and whatever else the user put here
// by hand stay out. Name order, so backups with equal dates keep their chronological order.
std::expected<QList<Entry>, CronBackupError> listBackups(const QString& directory)
{
    const auto names = namesIn(directory, [](const QString& name) {
        return !name.startsWith(u'.') && isBackupName(name);
    });
    if (!names)
        return std::unexpected(names.error());
    QList<Entry> entries;
    for (const QString& name : *names) {
        const QString path = directory + u'/' + name;
        struct stat status
        {
        };
        if (::lstat(QFile::encodeName(path).constData(), &status) != 0) {
            // Pruned meanwhile by another instance.
            if (errno == ENOENT)
                continue;
            return std::unexpected(systemError(CronBackupError::Operation::readDate, path));
        }
        if (S_ISREG(status.st_mode))
            entries.append(Entry{name, path, status.st_mtim, status.st_uid == ::geteuid()});
    }
    return entries;
}

// Only the user's own backups count and go: a file someone else put here is not theirs to
// delete.
Result pruneBackups(const QString& directory, int maximumBackupCount)
{
    auto entries = listBackups(directory);
    if (!entries)
        return std::unexpected(entries.error());
    entries->removeIf([](const Entry& entry) { return !entry.isOwn; });
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

// Every writer of a backup holds this lock while its temporary file exists, so a temporary
// found under the lock was left by a writer that was killed.
class DirectoryLock final
{
public:
    explicit DirectoryLock(const QString& directory)
        : m_fd(::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (m_fd < 0)
            return;
        while (::flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                const int error = errno;
                ::close(m_fd);
                m_fd = -1;
                errno = error;
                return;
            }
        }
    }
    ~DirectoryLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Q_DISABLE_COPY_MOVE(DirectoryLock)
    bool isHeld() const { return m_fd >= 0; }

private:
    int m_fd;
};

Result removeLeftovers(const QString& directory)
{
    const auto names = namesIn(directory, [](const QString& name) {
        const auto target = PrivateFiles::targetOfTemporary(name);
        return target && isBackupName(*target);
    });
    if (!names)
        return std::unexpected(names.error());
    for (const QString& name : *names) {
        const QString path = directory + u'/' + name;
        if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
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
    const DirectoryLock lock(directory);
    if (!lock.isHeld())
        return std::unexpected(systemError(CronBackupError::Operation::listDirectory, directory));
    if (auto removed = removeLeftovers(directory); !removed)
        return removed;
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

// Nothing, when the file went away meanwhile (pruned by another instance) or is no regular
// file any more. The type and owner are checked on the open file, so a file swapped after
// listing cannot slip through; O_NONBLOCK keeps a FIFO from waiting for a writer.
std::optional<CronBackup> readBackup(const Entry& entry)
{
    const QDateTime named = timeInName(entry.name);
    CronBackup backup;
    backup.fileName = entry.name;
    backup.takenAt = named.isValid() ? named : modificationTime(entry.modified);
    const int fd = ::open(QFile::encodeName(entry.path).constData(),
                          O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ELOOP)
            return std::nullopt;
        backup.flaw = CronBackup::Flaw::unreadable;
        backup.systemMessage = qt_error_string(errno);
        return backup;
    }
    const auto closing = qScopeGuard([fd] { ::close(fd); });
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    backup.size = status.st_size;
    if (status.st_uid != ::geteuid()) {
        backup.flaw = CronBackup::Flaw::foreign;
        return backup;
    }
    if (status.st_size > CronSystemError::outputLimit) {
        backup.flaw = CronBackup::Flaw::tooLarge;
        return backup;
    }
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle);
    // One byte past the limit tells a file that grew since.
    const QByteArray bytes = file.read(CronSystemError::outputLimit + 1);
    if (file.error() != QFileDevice::NoError) {
        backup.flaw = CronBackup::Flaw::unreadable;
        backup.systemMessage = file.errorString();
        return backup;
    }
    backup.size = bytes.size();
    if (bytes.size() > CronSystemError::outputLimit) {
        backup.flaw = CronBackup::Flaw::tooLarge;
        return backup;
    }
    auto text = Utf8::decode(bytes);
    if (!text)
        backup.flaw = CronBackup::Flaw::notUtf8;
    else
        backup.text = *std::move(text);
    return backup;
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
    // Whoever else can put a file here could have it restored into this user's crontab.
    if (auto claimed = PrivateFiles::claimDirectory(directory); !claimed)
        return std::unexpected(backupError(claimed.error()));
    const auto entries = listBackups(directory);
    if (!entries)
        return std::unexpected(entries.error());
    QList<CronBackup> backups;
    for (const Entry& entry : *entries) {
        if (auto backup = readBackup(entry))
            backups.append(*std::move(backup));
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
