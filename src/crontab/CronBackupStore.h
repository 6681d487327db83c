#pragma once

#include "CronBackupStoring.h"

#include <QDateTime>
#include <QThreadPool>
#include <functional>
#include <optional>

namespace Tempolane {

// One file per backup, named by the time it was taken, in a directory only the user can
// enter; only the most recently modified backups are kept.
class CronBackupStore final : public CronBackupStoring
{
public:
    using Clock = std::function<QDateTime()>;

    // Without a root the backups go to the per-user data directory.
    explicit CronBackupStore(std::optional<QString> rootPath = std::nullopt,
                             int maximumBackupCount = 20,
                             Clock clock = &QDateTime::currentDateTimeUtc);
    ~CronBackupStore() override;
    Q_DISABLE_COPY_MOVE(CronBackupStore)

    QCoro::Task<std::expected<void, CronBackupError>> storeBackup(QString text) override;

    // crontab-YYYY-MM-DDTHH-MM-SS.mmm.txt in UTC.
    static QString fileName(const QDateTime& time);
    static QString defaultDirectory();

private:
    std::optional<QString> m_rootPath;
    int m_maximumBackupCount;
    Clock m_clock;
    QThreadPool m_pool;
};

} // namespace Tempolane
