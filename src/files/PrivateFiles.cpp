#include "PrivateFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Tempolane::PrivateFiles {

namespace {

constexpr mode_t privateDirectoryMode = 0700;

std::unexpected<Failure> failure(Failure::Step step, const QString& path, int error = errno)
{
    return std::unexpected(Failure{step, path, qt_error_string(error)});
}

std::expected<void, Failure> makeOneDirectory(const QString& path)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (::mkdir(encoded.constData(), privateDirectoryMode) == 0) {
        // The umask may have taken more than the mode gives.
        if (::chmod(encoded.constData(), privateDirectoryMode) != 0)
            return failure(Failure::Step::setPermissions, path);
        return {};
    }
    const int error = errno;
    struct stat status
    {
    };
    if (error == EEXIST && ::stat(encoded.constData(), &status) == 0 && S_ISDIR(status.st_mode))
        return {};
    return failure(Failure::Step::createDirectory, path, error == EEXIST ? ENOTDIR : error);
}

bool writeAll(int fd, QByteArrayView bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(fd, bytes.data() + written, size_t(bytes.size() - written));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            errno = count == 0 ? EIO : errno;
            return false;
        }
        written += count;
    }
    return true;
}

} // namespace

std::expected<void, Failure> makeDirectory(const QString& path)
{
    const QString clean = QDir::cleanPath(path);
    for (qsizetype slash = clean.indexOf(u'/', 1);; slash = clean.indexOf(u'/', slash + 1)) {
        if (auto made = makeOneDirectory(slash < 0 ? clean : clean.first(slash)); !made)
            return made;
        if (slash < 0)
            break;
    }
    return claimDirectory(clean);
}

std::expected<void, Failure> claimDirectory(const QString& path)
{
    const QByteArray encoded = QFile::encodeName(path);
    struct stat status
    {
    };
    if (::stat(encoded.constData(), &status) != 0)
        return failure(Failure::Step::createDirectory, path);
    if (status.st_uid != ::geteuid())
        return std::unexpected(Failure{
            Failure::Step::foreignDirectory, path,
            QCoreApplication::translate("PrivateFiles",
                                        "Der Ordner „%1“ gehört einem anderen Benutzer, der dort "
                                        "Dateien ablegen kann. Tempolane verwendet ihn deshalb "
                                        "nicht.")
                .arg(QDir::toNativeSeparators(path))});
    if ((status.st_mode & 07077) != 0 && ::chmod(encoded.constData(), status.st_mode & 0700) != 0)
        return failure(Failure::Step::setPermissions, path);
    return {};
}

std::optional<QString> targetOfTemporary(const QString& name)
{
    // "." + target + "." + the six characters mkostemp puts in place of its XXXXXX.
    constexpr qsizetype suffix = 7;
    if (name.size() <= 1 + suffix || !name.startsWith(u'.') || name[name.size() - suffix] != u'.')
        return std::nullopt;
    return name.sliced(1, name.size() - 1 - suffix);
}

std::expected<void, Failure> writeAtomically(const QString& path, QByteArrayView bytes, mode_t mode)
{
    const QFileInfo target(path);
    // targetOfTemporary reads this name back.
    QByteArray temporary =
        QFile::encodeName(target.path() + QStringLiteral("/.") + target.fileName()) + ".XXXXXX";
    // Created anew under a name nobody could have prepared, readable by the owner only.
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return failure(Failure::Step::writeFile, path);
    const auto abandon = [&](Failure::Step step, bool isOpen) {
        const int error = errno;
        if (isOpen)
            ::close(fd);
        ::unlink(temporary.constData());
        return failure(step, path, error);
    };
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0)
        return abandon(Failure::Step::writeFile, true);
    if (::fchmod(fd, mode) != 0)
        return abandon(Failure::Step::setPermissions, true);
    if (::close(fd) != 0)
        return abandon(Failure::Step::writeFile, false);
    if (::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0)
        return abandon(Failure::Step::writeFile, false);
    return {};
}

} // namespace Tempolane::PrivateFiles
