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
    QByteArray rawName;
    FileStamp stamp;
};

// The regular, non-hidden files of a directory whose names end in one of the suffixes;
// nothing when the directory cannot be listed or is a symbolic link. Symbolic links and special
// files are left out.
std::optional<QList<DirectoryEntry>> listRegularFiles(const QString& directory,
                                                      const QList<QByteArray>& suffixes);

// The stamp of a directory; unchanged while no entry was added, removed or renamed. Nothing
// for a symbolic link, wherever it leads.
std::optional<FileStamp> directoryStamp(const QString& directory);
// A directory itself, not a symbolic link to one.
bool isRealDirectory(const QString& path);

// The entries of an earlier listing of the same directory with fresh stamps; those that are
// gone or no longer regular files are left out.
QList<DirectoryEntry> restat(const QString& directory, const QList<DirectoryEntry>& entries);

// The stamp of a regular file, not following a symbolic link.
std::optional<FileStamp> regularFileStamp(const QString& path);

// The whole content of a regular file of at most `cap` bytes, read without blocking on
// FIFOs or devices; also the stamp taken when it was opened.
std::optional<std::pair<QByteArray, FileStamp>> readSmallFile(const QString& path, qint64 cap);

// The text of the last `logTailBytes` bytes of a regular file (decodeLog); the text is
// nothing when it cannot be read or is empty, the whole result when the file cannot be opened.
std::optional<std::pair<std::optional<QString>, FileStamp>> readLogTail(const QString& path);

// A log's bytes as text. Bytes that are no UTF-8 become replacement characters, so that one
// stray byte never hides the rest; a tail cut by bytes (`isCut`) loses the partial character
// it may start with. Nothing for no bytes.
std::optional<QString> decodeLog(QByteArrayView bytes, bool isCut);

// What a running marker (".running") or a run record (".run") says.
struct RunFields
{
    bool isRecord = false;
    double startSeconds = 0;
    QDateTime startedAt;
    // The same instant, for sorting many records without converting each time.
    qint64 startMs = 0;
    std::optional<QDateTime> endedAt;
    std::optional<qint32> exitCode;
    QString logName;
    qint32 pid = 0;
};

// The fields of a file's content, read strictly; nothing when a field the kind needs is
// missing or malformed.
std::optional<RunFields> parseRunFile(QByteArrayView bytes, bool isRecord);

// Strict number fields: the whole text must be the number.
std::optional<double> parseDecimal(QStringView text);
std::optional<qint32> parseInteger32(QStringView text);

// Seconds since 1970 as an instant; nothing for values no calendar can hold.
std::optional<QDateTime> instantFromSeconds(double seconds);

} // namespace Tempolane::RunFiles
