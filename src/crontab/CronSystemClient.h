#pragma once

#include "CronManaging.h"

#include <QThreadPool>

namespace Tempolane {

// The user's crontab through the system's crontab tool, run as a child process on this
// client's own background thread.
class CronSystemClient final : public CronManaging
{
public:
    explicit CronSystemClient(QString toolPath = QStringLiteral("/usr/bin/crontab"));
    ~CronSystemClient() override;
    Q_DISABLE_COPY_MOVE(CronSystemClient)

    QCoro::Task<std::expected<QString, CronClientError>> readCrontab() override;
    QCoro::Task<std::expected<void, CronClientError>> writeCrontab(QString text) override;

private:
    QString m_toolPath;
    QThreadPool m_pool;
};

} // namespace Tempolane
