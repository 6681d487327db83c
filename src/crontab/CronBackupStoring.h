#pragma once

#include "CronBackup.h"
#include "CronBackupError.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QString>
#include <expected>

namespace Tempolane {

// Keeps a copy of a crontab text before it is replaced, and gives the copies back.
class CronBackupStoring
{
public:
    virtual ~CronBackupStoring() = default;

    virtual QCoro::Task<std::expected<void, CronBackupError>> storeBackup(QString text) = 0;
    // Newest first, flawed files among them; none before the first backup.
    virtual QCoro::Task<std::expected<QList<CronBackup>, CronBackupError>> backups() = 0;
};

} // namespace Tempolane
