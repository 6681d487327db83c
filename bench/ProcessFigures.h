#pragma once

// What a benchmark reads about its own process: memory from /proc and processor time.
#include <QByteArray>
#include <QFile>
#include <sys/resource.h>

namespace Tempolane::Bench {

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM"); -1 where it cannot be read.
inline qint64 statusKiB(const QByteArray& key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key + ':'))
            return line.mid(key.size() + 1).trimmed().split(' ').front().toLongLong();
    }
    return -1;
}

// From here on VmHWM counts only what comes after: the peak starts again at VmRSS.
inline bool resetPeakResidentSet()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

// User and system time this process has spent, in seconds.
inline double processorSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& time) {
        return double(time.tv_sec) + time.tv_usec / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace Tempolane::Bench
