#pragma once

#include "CronManaging.h"

#include <QThreadPool>
#include <chrono>

namespace Tempolane {

// The user's crontab through the system's crontab tool, run as a child process on this
// client's own background thread. A tool that takes longer than the time limit is stopped.
class CronSystemClient final : public CronManaging
{
public:
    explicit CronSystemClient(QString toolPath = QStringLiteral("/usr/bin/crontab"),
                              std::chrono::milliseconds timeLimit = std::chrono::seconds(30));
    ~CronSystemClient() override;
    Q_DISABLE_COPY_MOVE(CronSystemClient)

    QCoro::Task<std::expected<QString, CronClientError>> readCrontab() override;
    QCoro::Task<std::expected<void, CronClientError>> writeCrontab(QString text) override;

    // Which tool the client runs, and how long it waits for it.
    struct Tool
    {
        QString path;
        std::chrono::milliseconds timeLimit;
    };

private:
    Tool m_tool;
    QThreadPool m_pool;
};

} // namespace Tempolane
