#pragma once

#include "CronBackupError.h"

#include <QCoro/QCoroTask>
#include <QString>
#include <expected>

namespace Tempolane {

// Keeps a copy of a crontab text before it is replaced.
class CronBackupStoring
{
public:
    virtual ~CronBackupStoring() = default;

    virtual QCoro::Task<std::expected<void, CronBackupError>> storeBackup(QString text) = 0;
};

} // namespace Tempolane
