#pragma once

#include <QDateTime>
#include <QFile>
#include <sys/stat.h>

namespace Tempolane::Testing {

// What a file (or a resource) holds; empty where it cannot be read.
inline QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the file whole, over what it held, and gives it `modified` where that is valid.
inline bool writeFile(const QString& path, const QByteArray& bytes, const QDateTime& modified = {})
{
    QFile file(path);
    // Unflushed bytes written later would move the modification time again.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush())
        return false;
    return !modified.isValid() || file.setFileTime(modified, QFileDevice::FileModificationTime);
}

// The permissions of what the path leads to; -1 where there is nothing.
inline int modeOf(const QString& path)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

} // namespace Tempolane::Testing
