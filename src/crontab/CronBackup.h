#pragma once

#include <QDateTime>
#include <QString>

namespace Tempolane {

// One kept copy of a replaced crontab, or a file that has a backup's name but cannot be one.
struct CronBackup
{
    enum class Flaw
    {
        none,
        // Over the size of any crontab: left unread.
        tooLarge,
        notUtf8,
        unreadable,
        // Put there by another user: never read, never restored.
        foreign,
    };

    QString fileName;
    // When the copy was taken: the time in its name, or its modification time for a name
    // that holds none.
    QDateTime takenAt;
    qint64 size = 0;
    // Empty for a flawed file.
    QString text;
    Flaw flaw = Flaw::none;
    // Why an unreadable file could not be read, in the system's words.
    QString systemMessage;

    friend bool operator==(const CronBackup&, const CronBackup&) = default;

    bool isUsable() const { return flaw == Flaw::none; }
    // Not even a backup that could be shown: left out of listings, and named once.
    bool isSkipped() const { return flaw == Flaw::unreadable || flaw == Flaw::foreign; }
    // Why the file cannot be restored, for the user; empty for a usable backup.
    QString flawDescription() const;
};

} // namespace Tempolane
