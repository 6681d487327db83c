#pragma once

#include <QSettings>
#include <QString>
#include <chrono>
#include <optional>

namespace Tempolane::SettingsLock {

// QSettings writes its file under a lock and waits without end for one it can neither take nor
// remove as stale (a folder in its place, a file of another user): the program would never end.
// Why the settings cannot be written now, asked with a time limit; nothing when they can.
std::optional<QString>
whyUnwritable(const QSettings& settings,
              std::chrono::milliseconds timeLimit = std::chrono::milliseconds(1000));

} // namespace Tempolane::SettingsLock
