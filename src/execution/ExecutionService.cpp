#include "ExecutionService.h"

namespace Tempolane {

QString ExecutionService::wrappedCommand(const CronJob& job)
{
    return MonitoringCommandLine::wrappedCommand(job.id, job.logPolicy, job.command);
}

std::optional<UnwrappedCommand> ExecutionService::unwrapCommand(const QString& commandLine)
{
    return MonitoringCommandLine::unwrapCommand(commandLine);
}

std::optional<QString> ExecutionService::compatibilityIssue(const QString& command)
{
    return MonitoringCommandLine::compatibilityIssue(command);
}

} // namespace Tempolane
