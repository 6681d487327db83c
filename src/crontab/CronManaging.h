#pragma once

#include "CronClientError.h"

#include <QCoro/QCoroTask>
#include <QString>
#include <expected>

namespace Tempolane {

// Reads and replaces the current user's crontab as a whole text.
class CronManaging
{
public:
    virtual ~CronManaging() = default;

    // The current crontab text, empty when the user has none.
    virtual QCoro::Task<std::expected<QString, CronClientError>> readCrontab() = 0;
    virtual QCoro::Task<std::expected<void, CronClientError>> writeCrontab(QString text) = 0;
};

} // namespace Tempolane
