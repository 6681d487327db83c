#pragma once

#include <QSet>
#include <QString>
#include <expected>

namespace Tempolane {

// The keys of the events the user has been told of, kept in a small private file so that a
// restarted watcher tells nothing twice. Only events that still describe a job's current state
// need keeping: the file holds those, so it stays as small as the job list.
class ToldEvents final
{
public:
    // A file far larger than any job list needs is not one this program wrote.
    static constexpr qint64 sizeCap = 256 * 1024;

    explicit ToldEvents(QString path);

    // What the file holds; nothing when it is missing, too large or not readable. Lines that
    // are no key are left out.
    QSet<QString> read() const;
    // Replaces the file's content; the folder and the file are the user's alone.
    std::expected<void, QString> write(const QSet<QString>& keys) const;

    static bool isKey(QStringView line);

private:
    QString m_path;
};

} // namespace Tempolane
