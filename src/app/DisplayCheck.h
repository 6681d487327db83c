#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>

namespace Tempolane {

// Qt's windowing aborts the whole program when the display it tries cannot be reached, so the
// desktop program asks first: the German sentence to print instead of a window, or nothing when
// a window can open. An X display is tried as the X library would (its local socket, then TCP),
// a Wayland display at its socket, each connection for at most `timeLimit`; a platform other
// than X or Wayland, named in QT_QPA_PLATFORM or with -platform, is left to Qt.
std::optional<QString>
whyNoWindowCanOpen(const QProcessEnvironment& environment, const QStringList& arguments,
                   std::chrono::milliseconds timeLimit = std::chrono::milliseconds(2000));

} // namespace Tempolane
