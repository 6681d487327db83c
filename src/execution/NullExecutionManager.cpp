#include "NullExecutionManager.h"

namespace Tempolane {

QCoro::Task<std::expected<void, ExecutionServiceError>> NullExecutionManager::installRunner()
{
    co_return std::expected<void, ExecutionServiceError>();
}

QCoro::Task<> NullExecutionManager::prepareMonitoring(QList<QUuid>)
{
    co_return;
}

QCoro::Task<QMap<QUuid, JobExecutionSummary>> NullExecutionManager::summaries(QList<QUuid>)
{
    co_return QMap<QUuid, JobExecutionSummary>();
}

QCoro::Task<QList<JobExecutionRecord>> NullExecutionManager::history(QUuid)
{
    co_return QList<JobExecutionRecord>();
}

QCoro::Task<std::expected<void, ExecutionServiceError>>
NullExecutionManager::runNow(CronJob, QList<EnvironmentAssignment>)
{
    co_return std::expected<void, ExecutionServiceError>();
}

QCoro::Task<> NullExecutionManager::clearHistory(QUuid)
{
    co_return;
}

} // namespace Tempolane
