#pragma once

#include <QByteArray>
#include <QFile>

namespace Tempolane::Bench {

// VmRSS or VmHWM of this process, in KiB; -1 when the kernel does not say.
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

} // namespace Tempolane::Bench
