#pragma once

#include "CronJob.h"
#include "MonitoringCommandLine.h"

#include <QString>
#include <optional>

namespace Tempolane {

class ExecutionService final
{
public:
    static QString wrappedCommand(const CronJob& job);
    static std::optional<UnwrappedCommand> unwrapCommand(const QString& commandLine);
    static std::optional<QString> compatibilityIssue(const QString& command);
};

} // namespace Tempolane
