#pragma once

#include "CronManaging.h"

#include <QByteArray>
#include <QStringList>
#include <QThreadPool>
#include <optional>

namespace Tempolane {

// The user's crontab through the system's crontab tool, run as a child process on this
// client's own background thread.
class CronSystemClient final : public CronManaging
{
public:
    struct Run
    {
        int status = 0;
        QByteArray standardOutput;
        QByteArray standardError;
    };

    explicit CronSystemClient(QString toolPath = QStringLiteral("/usr/bin/crontab"));
    ~CronSystemClient() override;
    Q_DISABLE_COPY_MOVE(CronSystemClient)

    QCoro::Task<std::expected<QString, CronClientError>> readCrontab() override;
    QCoro::Task<std::expected<void, CronClientError>> writeCrontab(QString text) override;

    // Blocking; both output pipes are drained while the child runs. Without input the child
    // reads this process's standard input.
    static std::expected<Run, CronClientError> runCrontab(const QString& toolPath,
                                                          const QStringList& arguments,
                                                          const std::optional<QByteArray>& input);

private:
    QString m_toolPath;
    QThreadPool m_pool;
};

} // namespace Tempolane
