#pragma once

#include "CheckMachine.h"

#include <QHash>
#include <QString>
#include <optional>

namespace Tempolane {

// Finds programs the way the shell does, by looking at files only; every answer is kept for
// the rest of one check, so a crontab that names the same program on every line costs one
// search.
class ProgramLookup final
{
public:
    ProgramLookup(const FileView& files, QString home);

    // The executable file a search of `searchPath` (colon-separated, as PATH) finds for the
    // name; an empty or relative entry counts from the home folder, where cron starts.
    std::optional<QString> find(const QString& name, const QString& searchPath);
    FileStatus status(const QString& path);
    // The first bytes of a regular file, as FileView::head.
    std::optional<QByteArray> head(const QString& path, qsizetype limit);

private:
    const FileView& m_files;
    QString m_home;
    QHash<QString, std::optional<QString>> m_found;
    QHash<QString, FileStatus> m_statuses;
    QHash<QString, std::optional<QByteArray>> m_heads;
};

} // namespace Tempolane
