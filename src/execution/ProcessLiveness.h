#pragma once

#include <QtGlobal>
#include <optional>

namespace Tempolane::ProcessLiveness {

// Whether the runner that wrote a running marker (its pid and start seconds) still runs. The
// null signal answers for the pid; where the system tells when a process started, a process
// that did not start with the run is an unrelated one that holds the pid now (after a reboot,
// or a marker planted with a long-running pid such as 1).
bool isRunnerAlive(qint32 pid, double markerStartSeconds);

// Seconds since 1970 at which the process started; nothing where the system does not tell.
std::optional<double> processStartSeconds(qint32 pid);

// Seconds since 1970 at which the computer started; nothing where the system does not tell.
std::optional<double> bootSeconds();

} // namespace Tempolane::ProcessLiveness
