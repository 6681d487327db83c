#pragma once

#include "CronBackupStoring.h"

#include <QDateTime>
#include <QThreadPool>
#include <functional>

namespace Tempolane {

// One file per backup, named by the time it was taken, in a directory only the user can
// enter; only the most recently modified backups are kept.
class CronBackupStore final : public CronBackupStoring
{
public:
    using Clock = std::function<QDateTime()>;

    // An empty directory stands for a data directory the platform did not report.
    explicit CronBackupStore(QString directory, int maximumBackupCount = 20,
                             Clock clock = &QDateTime::currentDateTimeUtc);
    ~CronBackupStore() override;
    Q_DISABLE_COPY_MOVE(CronBackupStore)

    QCoro::Task<std::expected<void, CronBackupError>> storeBackup(QString text) override;
    QCoro::Task<std::expected<QList<CronBackup>, CronBackupError>> backups() override;

    // crontab-YYYY-MM-DDTHH-MM-SS.mmm.txt in UTC.
    static QString fileName(const QDateTime& time);

private:
    QString m_directory;
    int m_maximumBackupCount;
    Clock m_clock;
    QThreadPool m_pool;
};

} // namespace Tempolane
