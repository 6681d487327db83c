#pragma once

#include "JobExecutionRecord.h"
#include "JobExecutionState.h"

#include <QDateTime>
#include <optional>

namespace Tempolane {

// What the job list and the execution panel show for one job.
struct JobExecutionSummary
{
    JobExecutionState state = JobExecutionState::waiting();
    std::optional<JobExecutionRecord> latestRecord;
    std::optional<QDateTime> monitoringStartedAt;

    friend bool operator==(const JobExecutionSummary&, const JobExecutionSummary&) = default;

    // The shared value for jobs without monitoring.
    static JobExecutionSummary notMonitored()
    {
        return {JobExecutionState::notMonitored(), std::nullopt, std::nullopt};
    }
};

// The state one record stands for, as if it were the job's latest.
inline JobExecutionState stateOf(const JobExecutionRecord& record)
{
    if (record.isRunning)
        return JobExecutionState::running();
    if (!record.exitCode)
        return JobExecutionState::interrupted();
    if (*record.exitCode == 0)
        return JobExecutionState::succeeded();
    return JobExecutionState::failed(*record.exitCode);
}

} // namespace Tempolane
