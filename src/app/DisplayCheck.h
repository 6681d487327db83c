#pragma once

#include "TimedSocket.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>

namespace Tempolane {

// Qt's windowing aborts the whole program when the display it tries cannot be reached, and
// waits without end on one that accepts and never answers, so the desktop program asks first:
// the German sentence to print instead of a window, or nothing when a window can open. An X
// display is greeted as the X library greets it (its local socket, then TCP, with the user's
// cookie), a Wayland display at its socket with a round trip, all within `timeLimit`; a platform
// other than X or Wayland, named in QT_QPA_PLATFORM or with -platform, is left to Qt.
//
// An X server resets when its last client leaves, and a client connecting during the reset
// fails. The check keeps its X connection until handOver(), so that Qt's own connection
// follows it without a gap.
class DisplayCheck final
{
public:
    // No check: for answers that need no display.
    DisplayCheck() = default;
    DisplayCheck(const QProcessEnvironment& environment, const QStringList& arguments,
                 std::chrono::milliseconds timeLimit = std::chrono::milliseconds(2000));

    const std::optional<QString>& refusal() const { return m_refusal; }
    // Whether the check still holds a connection to the display.
    bool holdsDisplay() const { return m_held.isConnected(); }
    // Lets go of the display, once the application holds its own connection.
    void handOver() { m_held.close(); }

private:
    std::optional<QString> m_refusal;
    TimedSocket m_held;
};

} // namespace Tempolane
