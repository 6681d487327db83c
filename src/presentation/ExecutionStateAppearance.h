#pragma once

#include "JobExecutionState.h"
#include "Symbol.h"

namespace Tempolane {

// The symbol and colour that stand for an execution state wherever it is shown.
struct ExecutionStateAppearance
{
    Symbol symbol;
    Tint tint;

    static ExecutionStateAppearance of(JobExecutionState::Kind kind);
};

} // namespace Tempolane
