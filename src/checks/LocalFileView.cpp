#include "LocalFileView.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Tempolane {

FileStatus LocalFileView::status(const QString& path) const
{
    FileStatus status;
    if (path.isEmpty())
        return status;
    const QByteArray name = QFile::encodeName(path);
    struct stat file
    {
    };
    if (::stat(name.constData(), &file) != 0) {
        const bool isMissing = errno == ENOENT || errno == ENOTDIR;
        status.kind = isMissing ? FileStatus::Kind::missing : FileStatus::Kind::unreachable;
        return status;
    }
    if (S_ISREG(file.st_mode))
        status.kind = FileStatus::Kind::regular;
    else if (S_ISDIR(file.st_mode))
        status.kind = FileStatus::Kind::directory;
    else
        status.kind = FileStatus::Kind::special;
    status.isExecutable = ::access(name.constData(), X_OK) == 0;
    status.isOwnedByUser = file.st_uid == ::geteuid();
    return status;
}

std::optional<QByteArray> LocalFileView::head(const QString& path, qsizetype limit) const
{
    // A pipe would block the opening, a device the reading: only a regular file is opened, and
    // what was opened is checked again, in case the name changed meanwhile.
    if (status(path).kind != FileStatus::Kind::regular)
        return std::nullopt;
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return std::nullopt;
    struct stat file
    {
    };
    std::optional<QByteArray> bytes;
    if (::fstat(descriptor, &file) == 0 && S_ISREG(file.st_mode)) {
        QByteArray read(limit, Qt::Uninitialized);
        qsizetype filled = 0;
        while (filled < limit) {
            const ssize_t got = ::read(descriptor, read.data() + filled, size_t(limit - filled));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            filled += got;
        }
        read.truncate(filled);
        bytes = std::move(read);
    }
    ::close(descriptor);
    return bytes;
}

} // namespace Tempolane
