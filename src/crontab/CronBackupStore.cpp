#include "CronBackupStore.h"

#include <QCoro/QCoroFuture>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Tempolane {

namespace {

using Result = std::expected<void, CronBackupError>;

constexpr mode_t privateDirectoryMode = 0700;

CronBackupError systemError(CronBackupError::Operation operation, const QString& path)
{
    return CronBackupError{operation, path, qt_error_string(errno)};
}

// Each missing directory is made private at once: the backups may hold passwords from
// crontab commands, and the umask must not open them to other users.
Result createPrivateDirectory(const QString& path)
{
    const QString cleanPath = QDir::cleanPath(path);
    QStringList missing;
    for (QString current = cleanPath; !QFileInfo::exists(current);
         current = QFileInfo(current).path()) {
        missing.prepend(current);
        if (current == QFileInfo(current).path())
            break;
    }
    for (const QString& directory : std::as_const(missing)) {
        const QByteArray encoded = QFile::encodeName(directory);
        if (::mkdir(encoded.constData(), privateDirectoryMode) != 0 && errno != EEXIST)
            return std::unexpected(
                systemError(CronBackupError::Operation::createDirectory, directory));
        if (::chmod(encoded.constData(), privateDirectoryMode) != 0)
            return std::unexpected(
                systemError(CronBackupError::Operation::setPermissions, directory));
    }

    const QByteArray encoded = QFile::encodeName(cleanPath);
    struct stat status
    {
    };
    if (::stat(encoded.constData(), &status) != 0)
        return std::unexpected(systemError(CronBackupError::Operation::createDirectory, cleanPath));
    if (!S_ISDIR(status.st_mode)) {
        errno = ENOTDIR;
        return std::unexpected(systemError(CronBackupError::Operation::createDirectory, cleanPath));
    }
    // A directory others can enter (left so by an earlier version) is closed to them; the
    // owner's own bits stay as the owner set them.
    if ((status.st_mode & 077) != 0 && ::chmod(encoded.constData(), status.st_mode & 0700) != 0)
        return std::unexpected(systemError(CronBackupError::Operation::setPermissions, cleanPath));
    return {};
}

Result writeBackupFile(const QString& path, const QString& text)
{
    const auto failure = [&path](const QString& message) {
        return std::unexpected(
            CronBackupError{CronBackupError::Operation::writeFile, path, message});
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(file.errorString());
    // Before any byte is written, so the text is never readable by others.
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return failure(file.errorString());
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size())
        return failure(file.errorString());
    if (!file.commit())
        return failure(file.errorString());
    return {};
}

bool isBackupName(const QString& name)
{
    return name.startsWith(u"crontab-") && name.endsWith(u".txt");
}

struct Entry
{
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
            entries.append(Entry{path, status.st_mtim});
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

Result storeNow(const std::optional<QString>& rootPath, int maximumBackupCount,
                const QDateTime& time, const QString& text)
{
    const QString directory = rootPath.value_or(CronBackupStore::defaultDirectory());
    if (directory.isEmpty())
        return std::unexpected(
            CronBackupError{CronBackupError::Operation::locateDirectory, {}, {}});
    if (auto created = createPrivateDirectory(directory); !created)
        return created;
    if (auto written = writeBackupFile(directory + u'/' + CronBackupStore::fileName(time), text);
        !written)
        return written;
    return pruneBackups(directory, maximumBackupCount);
}

} // namespace

CronBackupStore::CronBackupStore(std::optional<QString> rootPath, int maximumBackupCount,
                                 Clock clock)
    : m_rootPath(std::move(rootPath)), m_maximumBackupCount(maximumBackupCount),
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
    auto future = QtConcurrent::run(&m_pool, storeNow, m_rootPath, m_maximumBackupCount, time,
                                    std::move(text));
    co_return co_await future;
}

QString CronBackupStore::fileName(const QDateTime& time)
{
    const QString stamp = time.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"));
    return QStringLiteral("crontab-") + QString(stamp).replace(u':', u'-') + QStringLiteral(".txt");
}

QString CronBackupStore::defaultDirectory()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        return {};
    return data + QStringLiteral("/Tempolane/Backups");
}

} // namespace Tempolane
