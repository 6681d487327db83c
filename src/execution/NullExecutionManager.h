#pragma once

#include "ExecutionManaging.h"

namespace Tempolane {

// For the sample data: does nothing and never touches the disk.
class NullExecutionManager final : public ExecutionManaging
{
public:
    QCoro::Task<std::expected<void, ExecutionServiceError>> installRunner() override;
    QCoro::Task<> prepareMonitoring(QList<QUuid> jobIds) override;
    QCoro::Task<QMap<QUuid, JobExecutionSummary>> summaries(QList<QUuid> jobIds) override;
    QCoro::Task<QList<JobExecutionRecord>> history(QUuid jobId) override;
    QCoro::Task<std::expected<void, ExecutionServiceError>>
    runNow(CronJob job, QList<EnvironmentAssignment> crontabAssignments) override;
    QCoro::Task<> clearHistory(QUuid jobId) override;
};

} // namespace Tempolane
