#pragma once

#include "CronBackupStoring.h"
#include "CronManaging.h"
#include "CronRepositoryError.h"

#include <memory>

namespace Tempolane {

// The only way to the crontab: a save replaces only the text the caller last saw, and
// keeps a backup of it first.
class CronRepository final
{
public:
    CronRepository(std::unique_ptr<CronManaging> client,
                   std::unique_ptr<CronBackupStoring> backupStore);
    Q_DISABLE_COPY_MOVE(CronRepository)

    QCoro::Task<std::expected<QString, CronRepositoryError>> load();
    // Fails with concurrentModification, without backup or write, when the crontab is no
    // longer expectedText.
    QCoro::Task<std::expected<void, CronRepositoryError>> save(QString newText,
                                                               QString expectedText);
    // The kept copies of replaced texts, newest first.
    QCoro::Task<std::expected<QList<CronBackup>, CronBackupError>> backups();

private:
    std::unique_ptr<CronManaging> m_client;
    std::unique_ptr<CronBackupStoring> m_backupStore;
};

} // namespace Tempolane
