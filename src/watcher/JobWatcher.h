#pragma once

#include "Clock.h"
#include "DataLocations.h"
#include "Notification.h"
#include "NotificationFlood.h"
#include "ToldEvents.h"

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>
#include <functional>
#include <memory>
#include <qcoro/qcorotask.h>

class QSocketNotifier;

namespace Tempolane {

class CronStore;

// Tells the user of failed, interrupted and missed runs of monitored jobs while no window
// needs to be open. It sleeps until something can have changed: a file in a watched run
// folder, a save of the crontab by this program (the runner is rewritten), a runner that ends,
// or the moment the next expected run would count as missed. Then it reads the crontab and the
// run files through the store, with the store's own rules, and tells each new event once.
class JobWatcher final : public QObject
{
    Q_OBJECT

public:
    using Sink = std::function<void(const Notification&)>;

    // Changes that arrive together are read together.
    static constexpr int settleMs = 100;

    JobWatcher(CronStore& store, DataLocations locations, Sink sink, Clock clock = systemClock(),
               QObject* parent = nullptr);
    ~JobWatcher() override;
    Q_DISABLE_COPY_MOVE(JobWatcher)

    // The first look; after it, the watcher wakes by itself.
    void start();
    QStringList watchedPaths() const { return m_files.directories(); }
    // When the watcher wakes next without a file change; invalid when nothing is due.
    QDateTime nextWake() const { return m_nextWake; }

Q_SIGNALS:
    // A look at the crontab and the run files has ended.
    void checked();

private:
    void scheduleCheck();
    QCoro::Task<> check();
    void tell();
    void deliver(const NotificationFlood::Outcome& outcome);
    void watchFolders();
    // Whether a running runner's end cannot be watched, so it must be looked for.
    bool watchRunners();
    void scheduleWake(bool isRunnerUnwatched);
    static void release(QSocketNotifier* notifier);

    CronStore& m_store;
    DataLocations m_locations;
    Sink m_sink;
    Clock m_clock;
    ToldEvents m_toldFile;
    QSet<QString> m_told;
    NotificationFlood m_flood;
    QFileSystemWatcher m_files;
    QTimer m_settle;
    QTimer m_wake;
    QTimer m_heldBack;
    QDateTime m_nextWake;
    // Runners seen running, by process id: their end wakes the watcher.
    QHash<qint32, QSocketNotifier*> m_runners;
    bool m_isChecking = false;
    bool m_checkAgain = false;
};

} // namespace Tempolane
