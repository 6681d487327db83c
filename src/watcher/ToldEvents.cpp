#include "ToldEvents.h"

#include "PrivateFiles.h"
#include "RunFiles.h"

#include <QFileInfo>
#include <QStringList>
#include <algorithm>

namespace Tempolane {

namespace {

// "failed <job id> <run id>": a few words of letters, digits and hyphens.
constexpr qsizetype longestKey = 200;

} // namespace

ToldEvents::ToldEvents(QString path) : m_path(std::move(path)) {}

bool ToldEvents::isKey(QStringView line)
{
    return !line.isEmpty() && line.size() <= longestKey &&
           std::all_of(line.cbegin(), line.cend(), [](QChar c) {
               return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'-' ||
                      c == u' ';
           });
}

QSet<QString> ToldEvents::read() const
{
    QSet<QString> keys;
    const auto content = RunFiles::readSmallFile(m_path, sizeCap);
    if (!content)
        return keys;
    for (const QByteArray& line : content->first.split('\n')) {
        const QString key = QString::fromLatin1(line);
        if (isKey(key))
            keys.insert(key);
    }
    return keys;
}

std::expected<void, QString> ToldEvents::write(const QSet<QString>& keys) const
{
    if (const auto made = PrivateFiles::makeDirectory(QFileInfo(m_path).path()); !made)
        return std::unexpected(made.error().message);
    QStringList lines(keys.cbegin(), keys.cend());
    lines.sort();
    QByteArray bytes;
    for (const QString& line : std::as_const(lines))
        bytes += line.toLatin1() + '\n';
    if (const auto written = PrivateFiles::writeAtomically(m_path, bytes); !written)
        return std::unexpected(written.error().message);
    return {};
}

} // namespace Tempolane
