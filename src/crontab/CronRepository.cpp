#include "CronRepository.h"

namespace Tempolane {

CronRepository::CronRepository(std::unique_ptr<CronManaging> client,
                               std::unique_ptr<CronBackupStoring> backupStore)
    : m_client(std::move(client)), m_backupStore(std::move(backupStore))
{
}

QCoro::Task<std::expected<QString, CronRepositoryError>> CronRepository::load()
{
    auto text = co_await m_client->readCrontab();
    if (!text)
        co_return std::unexpected(CronRepositoryError(text.error()));
    co_return *std::move(text);
}

QCoro::Task<std::expected<void, CronRepositoryError>> CronRepository::save(QString newText,
                                                                           QString expectedText)
{
    using Result = std::expected<void, CronRepositoryError>;
    const auto current = co_await m_client->readCrontab();
    if (!current)
        co_return Result(std::unexpect, current.error());
    if (*current != expectedText)
        co_return Result(std::unexpect, CronRepositoryError::concurrentModification());
    const auto backup = co_await m_backupStore->storeBackup(*current);
    if (!backup)
        co_return Result(std::unexpect, backup.error());
    const auto written = co_await m_client->writeCrontab(std::move(newText));
    if (!written)
        co_return Result(std::unexpect, written.error());
    co_return Result();
}

QCoro::Task<std::expected<QList<CronBackup>, CronBackupError>> CronRepository::backups()
{
    co_return co_await m_backupStore->backups();
}

} // namespace Tempolane
