#pragma once

#include "Clock.h"
#include "DataLocations.h"
#include "Notification.h"
#include "NotificationFlood.h"
#include "NotificationOutlet.h"
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
// run files through the store, with the store's own rules, and tells each new event once: an
// event counts as told when the service took it; one it refused is told at the next look, at
// the latest a minute later. A job that succeeds after it was told of takes its notification
// off the screen.
class JobWatcher final : public QObject
{
    Q_OBJECT

public:
    // Changes that arrive together are read together.
    static constexpr int settleMs = 100;
    // How long until events the service refused are told again.
    static constexpr int retryMs = 60 * 1000;

    JobWatcher(CronStore& store, DataLocations locations, NotificationOutlet& outlet,
               Clock clock = systemClock(), QObject* parent = nullptr);
    ~JobWatcher() override;
    Q_DISABLE_COPY_MOVE(JobWatcher)

    // The first look; after it, the watcher wakes by itself.
    void start();
    // Looks again soon, for instance because the notification service has come back.
    void scheduleCheck();
    QStringList watchedPaths() const { return m_files.directories(); }
    // When the watcher wakes next without a file change; invalid when nothing is due.
    QDateTime nextWake() const { return m_nextWake; }

Q_SIGNALS:
    // A look at the crontab and the run files has ended.
    void checked();

private:
    QCoro::Task<> check();
    void tell();
    void deliver(const NotificationFlood::Outcome& outcome);
    void show(const Notification& notification, const QStringList& keys);
    void delivered(const QStringList& keys, bool isAccepted);
    void rememberTold(const QSet<QString>& told);
    void watchFolders();
    // Whether a running runner's end cannot be watched, so it must be looked for.
    bool watchRunners();
    void scheduleWake(bool isRunnerUnwatched);
    static void release(QSocketNotifier* notifier);

    CronStore& m_store;
    DataLocations m_locations;
    NotificationOutlet& m_outlet;
    Clock m_clock;
    ToldEvents m_toldFile;
    // Events the service took, of those that still describe a job's state.
    QSet<QString> m_told;
    // Events the service has not answered for yet.
    QSet<QString> m_inFlight;
    // Events that still describe a job's state, as of the last look.
    QSet<QString> m_current;
    NotificationFlood m_flood;
    QFileSystemWatcher m_files;
    QTimer m_settle;
    QTimer m_wake;
    QTimer m_heldBack;
    QTimer m_retry;
    QDateTime m_nextWake;
    // Runners seen running, by process id: their end wakes the watcher.
    QHash<qint32, QSocketNotifier*> m_runners;
    bool m_isChecking = false;
    bool m_checkAgain = false;
};

} // namespace Tempolane
