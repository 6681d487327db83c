#pragma once

#include <QDateTime>
#include <QString>

namespace Tempolane {

// One kept copy of a replaced crontab.
struct CronBackup
{
    QString fileName;
    // When the copy was taken: the time in its name, or its modification time for a name
    // that holds none.
    QDateTime takenAt;
    qint64 size = 0;
    QString text;

    friend bool operator==(const CronBackup&, const CronBackup&) = default;
};

} // namespace Tempolane
