#include "ProcessLiveness.h"

#include "RunFiles.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <unistd.h>

namespace Tempolane::ProcessLiveness {

namespace {

// Whole seconds in the marker, whole seconds of boot time and clock ticks: a few seconds
// absorb the rounding, while a pid reused after a reboot is minutes younger.
constexpr double startTolerance = 5.0;

} // namespace

std::optional<double> bootSeconds()
{
    const auto stat = RunFiles::readSmallFile(QStringLiteral("/proc/stat"), 1 << 20);
    // /proc files report size 0, so the cap check passes and the read gives the content.
    if (!stat)
        return std::nullopt;
    for (const QByteArray& line : stat->first.split('\n')) {
        if (line.startsWith("btime ")) {
            bool ok = false;
            const qint64 value = line.mid(6).trimmed().toLongLong(&ok);
            if (ok)
                return double(value);
        }
    }
    return std::nullopt;
}

std::optional<double> processStartSeconds(qint32 pid)
{
    const auto stat = RunFiles::readSmallFile(QStringLiteral("/proc/%1/stat").arg(pid), 1 << 16);
    if (!stat)
        return std::nullopt;
    // The command name in parentheses may hold spaces and parentheses itself.
    const QByteArray& text = stat->first;
    const qsizetype close = text.lastIndexOf(')');
    if (close < 0)
        return std::nullopt;
    const QList<QByteArray> fields = text.mid(close + 1).simplified().split(' ');
    // Field 22 of the whole line (start time in clock ticks after boot); fields after the
    // name start at number 3.
    constexpr qsizetype startTimeIndex = 22 - 3;
    if (fields.size() <= startTimeIndex)
        return std::nullopt;
    bool ok = false;
    const qint64 ticks = fields[startTimeIndex].toLongLong(&ok);
    const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
    const auto boot = bootSeconds();
    if (!ok || ticksPerSecond <= 0 || !boot)
        return std::nullopt;
    return *boot + double(ticks) / double(ticksPerSecond);
}

bool isRunnerAlive(qint32 pid, double markerStartSeconds)
{
    // kill() with 0 or a negative pid addresses whole process groups, which would make any
    // marker with such a value look alive; 1 is the init process, never a runner.
    if (pid <= 1)
        return false;
    if (::kill(pid, 0) != 0 && errno != EPERM)
        return false;
    // The runner writes its marker in the moments after it starts: a process that started
    // well before the run, or after it, holds the pid by chance.
    const auto started = processStartSeconds(pid);
    return !started || std::fabs(*started - markerStartSeconds) <= startTolerance;
}

} // namespace Tempolane::ProcessLiveness
