#pragma once

#include "CronStore.h"

#include <QObject>
#include <QTimer>
#include <chrono>

namespace Tempolane {

// The main window's task while it is shown: load once (unless a load already succeeded), then
// refresh the execution status every few seconds on a monotonic timer, and at once when the
// selection changes. Each tick also reads the crontab again where something outside changed it,
// and checks that it still holds the last change. Stopping
// ends the loop; starting again resumes the refreshes without a second load.
class StatusRefreshLoop final : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds defaultInterval{5000};

    explicit StatusRefreshLoop(CronStore& store,
                               std::chrono::milliseconds interval = defaultInterval,
                               QObject* parent = nullptr);

    void start();
    void stop();

Q_SIGNALS:
    // After the first load and after every refresh: texts that say "vor 5 Minuten" update.
    void ticked();

private:
    void refreshNow();
    void continueIfCurrent(int round);

    CronStore& m_store;
    QTimer m_timer;
    bool m_isRunning = false;
    // A load or refresh that finishes after a stop, or after a stop and a new start, belongs
    // to an ended round and must not arm the timer again.
    int m_round = 0;
};

} // namespace Tempolane
