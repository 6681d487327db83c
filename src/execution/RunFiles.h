#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace Tempolane::RunFiles {

inline constexpr qint64 logTailBytes = 1048576;
// A real record is under a hundred bytes; anything far larger is not one.
inline constexpr qint64 recordSizeCap = 4096;

// What tells a file's version apart without reading it. The change time cannot be set by
// users, so a file rewritten with the same size and a restored modification time still
// differs.
struct FileStamp
{
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    quint64 inode = 0;

    // The latest of the two times, in milliseconds since 1970.
    qint64 latestChangeMs() const { return std::max(modifiedNs, changedNs) / 1000000; }

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

struct DirectoryEntry
{
    QString name;
    FileStamp stamp;
};

// The regular, non-hidden files of a directory whose names end in one of the suffixes;
// nothing when the directory cannot be listed. Symbolic links and special files are left out.
std::optional<QList<DirectoryEntry>> listRegularFiles(const QString& directory,
                                                      const QStringList& suffixes);

// The stamp of a regular file, not following a symbolic link.
std::optional<FileStamp> regularFileStamp(const QString& path);

// The whole content of a regular file of at most `cap` bytes, read without blocking on
// FIFOs or devices; also the stamp taken when it was opened.
std::optional<std::pair<QByteArray, FileStamp>> readSmallFile(const QString& path, qint64 cap);

// The last `logTailBytes` bytes of a regular file as UTF-8 text; nothing when it cannot be
// read, is not valid UTF-8 or is empty.
std::optional<std::pair<std::optional<QString>, FileStamp>> readLogTail(const QString& path);

// Strict number fields: the whole text must be the number.
std::optional<double> parseDecimal(QStringView text);
std::optional<qint32> parseInteger32(QStringView text);

// Seconds since 1970 as an instant; nothing for values no calendar can hold.
std::optional<QDateTime> instantFromSeconds(double seconds);

} // namespace Tempolane::RunFiles
