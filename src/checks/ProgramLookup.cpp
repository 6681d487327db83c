#include "ProgramLookup.h"

#include <QSet>

namespace Tempolane {

ProgramLookup::ProgramLookup(const FileView& files, QString home)
    : m_files(files), m_home(std::move(home))
{
}

FileStatus ProgramLookup::status(const QString& path)
{
    const auto cached = m_statuses.constFind(path);
    if (cached != m_statuses.cend())
        return *cached;
    const FileStatus status = m_files.status(path);
    m_statuses.insert(path, status);
    return status;
}

std::optional<QByteArray> ProgramLookup::head(const QString& path, qsizetype limit)
{
    const auto cached = m_heads.constFind(path);
    if (cached != m_heads.cend())
        return *cached;
    auto bytes = m_files.head(path, limit);
    m_heads.insert(path, bytes);
    return bytes;
}

std::optional<QString> ProgramLookup::find(const QString& name, const QString& searchPath)
{
    const QString key = searchPath + u'\0' + name;
    const auto cached = m_found.constFind(key);
    if (cached != m_found.cend())
        return *cached;

    std::optional<QString> found;
    // A folder named twice is searched once: a search path of ten thousand copies costs one.
    QSet<QStringView> searched;
    for (const QStringView entry : QStringView(searchPath).tokenize(u':')) {
        if (searched.contains(entry))
            continue;
        searched.insert(entry);
        QString folder = entry.toString();
        if (folder.isEmpty())
            folder = m_home;
        else if (!folder.startsWith(u'/'))
            folder = m_home + u'/' + folder;
        const QString path = folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
        const FileStatus file = status(path);
        if (file.kind == FileStatus::Kind::regular && file.isExecutable) {
            found = path;
            break;
        }
    }
    m_found.insert(key, found);
    return found;
}

} // namespace Tempolane
