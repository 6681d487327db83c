#include "StatusRefreshLoop.h"

namespace Tempolane {

StatusRefreshLoop::StatusRefreshLoop(CronStore& store, std::chrono::milliseconds interval,
                                     QObject* parent)
    : QObject(parent), m_store(store)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(interval);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        const int round = m_round;
        // A change made outside reaches the window by itself; undo is offered only while the
        // crontab holds what the window wrote.
        m_store.followOutsideChange();
        QCoro::connect(m_store.refreshExecutionStatus(), this,
                       [this, round] { continueIfCurrent(round); });
    });
    connect(&m_store, &CronStore::selectionChanged, this, [this] {
        if (m_isRunning)
            refreshNow();
    });
}

void StatusRefreshLoop::start()
{
    if (m_isRunning)
        return;
    m_isRunning = true;
    const int round = ++m_round;
    if (m_store.hasLoaded()) {
        m_timer.start();
        return;
    }
    QCoro::connect(m_store.load(), this, [this, round] { continueIfCurrent(round); });
}

void StatusRefreshLoop::stop()
{
    m_isRunning = false;
    ++m_round;
    m_timer.stop();
}

void StatusRefreshLoop::refreshNow()
{
    QCoro::connect(m_store.refreshExecutionStatus(), this, [this] { Q_EMIT ticked(); });
}

void StatusRefreshLoop::continueIfCurrent(int round)
{
    if (round != m_round)
        return;
    Q_EMIT ticked();
    m_timer.start();
}

} // namespace Tempolane
