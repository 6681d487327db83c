#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace Tempolane {

// What the runner keeps of a command's output.
enum class ExecutionLogPolicy
{
    messagesAndErrors,
    errorsOnly,
    none
};

inline constexpr std::array<ExecutionLogPolicy, 3> allExecutionLogPolicies{
    ExecutionLogPolicy::messagesAndErrors, ExecutionLogPolicy::errorsOnly,
    ExecutionLogPolicy::none};

// The word used in the runner call and in the monitoring marker.
QString rawValue(ExecutionLogPolicy policy);
QString title(ExecutionLogPolicy policy);
QString explanation(ExecutionLogPolicy policy);

// Exactly "all", "errors" or "none", case-sensitive.
std::optional<ExecutionLogPolicy> executionLogPolicyFromRawValue(QStringView rawValue);

} // namespace Tempolane
