#pragma once

#include "CheckMachine.h"

namespace Tempolane::LocalMachine {

// This computer and the user running the program: the account from the password database,
// PAM's variables for cron, the real files, whether a cron daemon runs, the run records under
// `executions`, the local zone and the time now. Reads files; not for the main thread.
CheckMachine current(const QString& executions);

// Whether a process named cron or crond runs, from /proc; nothing where that cannot be read.
std::optional<bool> isCronRunning();

} // namespace Tempolane::LocalMachine
