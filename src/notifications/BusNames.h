#pragma once

#include <QString>

// What the desktop program and the watcher answer to on the session bus.
namespace Tempolane::BusNames {

// The one window process: a second start hands its request to the owner of this name.
inline QString application()
{
    return QStringLiteral("io.github.tempolane.Tempolane");
}
inline QString applicationPath()
{
    return QStringLiteral("/io/github/tempolane/Tempolane");
}
// Method ShowJob(s jobId): the window comes forward, with the job selected when one is named.
inline QString applicationInterface()
{
    return QStringLiteral("io.github.tempolane.Tempolane");
}
inline QString showJobMethod()
{
    return QStringLiteral("ShowJob");
}

// The one background watcher; method Quit ends it.
inline QString watcher()
{
    return QStringLiteral("io.github.tempolane.Tempolane.Watcher");
}
inline QString watcherPath()
{
    return QStringLiteral("/io/github/tempolane/Tempolane/Watcher");
}
inline QString watcherInterface()
{
    return QStringLiteral("io.github.tempolane.Tempolane.Watcher");
}
inline QString quitMethod()
{
    return QStringLiteral("Quit");
}

} // namespace Tempolane::BusNames
