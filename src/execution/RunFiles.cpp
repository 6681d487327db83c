#include "RunFiles.h"

#include "Utf8.h"

#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <cerrno>
#include <cmath>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Tempolane::RunFiles {

namespace {

qint64 nanoseconds(const timespec& time)
{
    return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
}

FileStamp stampOf(const struct stat& info)
{
    return {qint64(info.st_size), nanoseconds(info.st_mtim), nanoseconds(info.st_ctim),
            quint64(info.st_ino)};
}

// Closes the descriptor on every path out.
class Descriptor final
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Q_DISABLE_COPY_MOVE(Descriptor)
    int get() const { return m_fd; }

private:
    int m_fd;
};

// O_NONBLOCK so that opening a FIFO cannot wait for a writer; the type is checked on the
// open descriptor, so a file swapped after listing cannot slip through.
int openRegular(const QString& path, struct stat& info)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::optional<QByteArray> readFrom(int fd, qint64 offset, qint64 limit)
{
    if (offset > 0 && ::lseek(fd, offset, SEEK_SET) < 0)
        ::lseek(fd, 0, SEEK_SET);
    QByteArray bytes;
    bytes.resize(qsizetype(std::min<qint64>(limit, 65536)));
    qint64 filled = 0;
    while (filled < limit) {
        if (filled == bytes.size())
            bytes.resize(qsizetype(std::min<qint64>(limit, bytes.size() * 2)));
        const ssize_t count = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (count == 0)
            break;
        filled += count;
    }
    bytes.truncate(qsizetype(filled));
    return bytes;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

qsizetype skipDigits(QStringView text, qsizetype i)
{
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i;
}

} // namespace

std::optional<QList<DirectoryEntry>> listRegularFiles(const QString& directory,
                                                      const QList<QByteArray>& suffixes)
{
    const int fd = ::open(QFile::encodeName(directory).constData(),
                          O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return std::nullopt;
    }
    QList<DirectoryEntry> entries;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_REG)
            continue;
        // Compared as bytes before decoding: most entries are logs, not asked for.
        const QByteArrayView rawName(entry->d_name);
        const bool wanted = std::any_of(suffixes.begin(), suffixes.end(),
                                        [&](const QByteArray& s) { return rawName.endsWith(s); });
        if (!wanted)
            continue;
        const QString name = QFile::decodeName(entry->d_name);
        struct stat info
        {
        };
        if (::fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode))
            continue;
        entries.append({name, QByteArray(entry->d_name), stampOf(info)});
    }
    ::closedir(dir);
    return entries;
}

std::optional<FileStamp> directoryStamp(const QString& directory)
{
    struct stat info
    {
    };
    if (::lstat(QFile::encodeName(directory).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return std::nullopt;
    return stampOf(info);
}

bool isRealDirectory(const QString& path)
{
    return directoryStamp(path).has_value();
}

QList<DirectoryEntry> restat(const QString& directory, const QList<DirectoryEntry>& entries)
{
    const Descriptor dirFd(::open(QFile::encodeName(directory).constData(),
                                  O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (dirFd.get() < 0)
        return {};
    QList<DirectoryEntry> fresh;
    fresh.reserve(entries.size());
    for (const DirectoryEntry& entry : entries) {
        struct stat info
        {
        };
        if (::fstatat(dirFd.get(), entry.rawName.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode))
            continue;
        fresh.append({entry.name, entry.rawName, stampOf(info)});
    }
    return fresh;
}

std::optional<FileStamp> regularFileStamp(const QString& path)
{
    struct stat info
    {
    };
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return stampOf(info);
}

std::optional<std::pair<QByteArray, FileStamp>> readSmallFile(const QString& path, qint64 cap)
{
    struct stat info
    {
    };
    const Descriptor fd(openRegular(path, info));
    if (fd.get() < 0 || info.st_size > cap)
        return std::nullopt;
    // One byte beyond the cap tells a file that grew after fstat.
    auto bytes = readFrom(fd.get(), 0, cap + 1);
    if (!bytes || bytes->size() > cap)
        return std::nullopt;
    return std::pair{*bytes, stampOf(info)};
}

std::optional<std::pair<std::optional<QString>, FileStamp>> readLogTail(const QString& path)
{
    struct stat info
    {
    };
    const Descriptor fd(openRegular(path, info));
    if (fd.get() < 0)
        return std::nullopt;
    const qint64 size = info.st_size;
    const auto bytes =
        readFrom(fd.get(), size > logTailBytes ? size - logTailBytes : 0, logTailBytes);
    // The runner keeps at most as much as is read here, so a log of this size may be cut too.
    return std::pair{bytes ? decodeLog(*bytes, size >= logTailBytes) : std::nullopt, stampOf(info)};
}

std::optional<QString> decodeLog(QByteArrayView bytes, bool isCut)
{
    const auto isContinuation = [](char byte) { return (byte & 0xc0) == 0x80; };
    // A character is at most four bytes long, so at most three belong to one cut in front.
    for (int i = 0; isCut && i < 3 && !bytes.isEmpty() && isContinuation(bytes.front()); ++i)
        bytes = bytes.sliced(1);
    if (bytes.isEmpty())
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    return QString(decoder.decode(bytes));
}

std::optional<RunFields> parseRunFile(QByteArrayView bytes, bool isRecord)
{
    const auto text = Utf8::decode(bytes);
    if (!text)
        return std::nullopt;
    // Later lines win; a line without "=" is no field.
    QHash<QStringView, QStringView> fields;
    for (const QStringView line : QStringView(*text).split(u'\n', Qt::SkipEmptyParts)) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals >= 0)
            fields.insert(line.first(equals), line.sliced(equals + 1));
    }
    const auto field = [&](QStringView key) -> std::optional<QStringView> {
        const auto found = fields.constFind(key);
        return found == fields.constEnd() ? std::nullopt : std::optional(*found);
    };
    const auto decimal = [&](QStringView key) {
        const auto value = field(key);
        return value ? parseDecimal(*value) : std::nullopt;
    };
    const auto integer = [&](QStringView key) {
        const auto value = field(key);
        return value ? parseInteger32(*value) : std::nullopt;
    };

    RunFields parsed;
    parsed.isRecord = isRecord;
    const auto start = decimal(u"start");
    const auto startedAt = start ? instantFromSeconds(*start) : std::nullopt;
    if (!startedAt)
        return std::nullopt;
    parsed.startSeconds = *start;
    parsed.startedAt = *startedAt;
    parsed.startMs = startedAt->toMSecsSinceEpoch();
    if (isRecord) {
        const auto end = decimal(u"end");
        parsed.endedAt = end ? instantFromSeconds(*end) : std::nullopt;
        parsed.exitCode = integer(u"exit");
        parsed.logName = field(u"log").value_or(QStringView()).toString();
        if (!parsed.endedAt || !parsed.exitCode)
            return std::nullopt;
    } else {
        const auto pid = integer(u"pid");
        if (!pid)
            return std::nullopt;
        parsed.pid = *pid;
    }
    return parsed;
}

std::optional<double> parseDecimal(QStringView text)
{
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    const qsizetype integerStart = i;
    i = skipDigits(text, i);
    bool hasDigits = i > integerStart;
    if (i < text.size() && text[i] == u'.') {
        const qsizetype fractionStart = ++i;
        i = skipDigits(text, i);
        hasDigits = hasDigits || i > fractionStart;
    }
    if (!hasDigits)
        return std::nullopt;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        const qsizetype exponentStart = i;
        i = skipDigits(text, i);
        if (i == exponentStart)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<qint32> parseInteger32(QStringView text)
{
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    if (i == text.size() || skipDigits(text, i) != text.size())
        return std::nullopt;
    bool ok = false;
    const qint32 value = text.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<QDateTime> instantFromSeconds(double seconds)
{
    // About ±3 million years; beyond that the conversion to milliseconds would overflow.
    constexpr double limit = 1e14;
    if (!std::isfinite(seconds) || std::fabs(seconds) > limit)
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(qint64(std::llround(seconds * 1000.0)), Qt::UTC);
}

} // namespace Tempolane::RunFiles
