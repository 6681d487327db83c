#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

namespace Tempolane::Bench {

// How long the main thread stays away from its event loop: a zero-interval timer ticks
// whenever it returns there, and the longest gap between ticks is the longest stretch a window
// would have been frozen. Counts from construction.
class MainThreadStretch final
{
public:
    MainThreadStretch()
    {
        m_ticker.setInterval(0);
        QObject::connect(&m_ticker, &QTimer::timeout, [this] { tick(); });
        m_ticker.start();
        m_clock.start();
    }

    // Ends the count; the longest stretch and the time since construction, in nanoseconds.
    std::pair<qint64, qint64> stop()
    {
        tick();
        m_ticker.stop();
        return {m_longest, m_lastTick};
    }

private:
    void tick()
    {
        const qint64 now = m_clock.nsecsElapsed();
        m_longest = std::max(m_longest, now - m_lastTick);
        m_lastTick = now;
    }

    QElapsedTimer m_clock;
    QTimer m_ticker;
    qint64 m_lastTick = 0;
    qint64 m_longest = 0;
};

} // namespace Tempolane::Bench
