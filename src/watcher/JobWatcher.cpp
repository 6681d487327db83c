#include "JobWatcher.h"

#include "CronStore.h"
#include "ProcessLiveness.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QSocketNotifier>
#include <sys/syscall.h>
#include <unistd.h>

namespace Tempolane {

namespace {

// A day at most: a timer's interval is an int of milliseconds, and a clock set forward or a
// suspended computer is caught up with by then.
constexpr qint64 longestSleepMs = 24LL * 60 * 60 * 1000;
// Where the end of a runner cannot be watched, how long until it is looked for.
constexpr qint64 runnerRecheckMs = 60 * 1000;

// The folder itself when it exists, else the nearest folder above it that does: the one in
// which it will appear. Symbolic links are not followed: a link planted in place of a folder
// could make every change of an unrelated, busy folder wake the watcher.
QString nearestFolder(const QString& path)
{
    QFileInfo info(path);
    while (!info.isDir() || info.isSymLink()) {
        const QString parent = info.path();
        if (parent == info.filePath() || parent.isEmpty())
            return {};
        info = QFileInfo(parent);
    }
    return info.absoluteFilePath();
}

bool isRealFolder(const QString& path)
{
    const QFileInfo info(path);
    return info.isDir() && !info.isSymLink();
}

std::optional<qint32> runnerProcess(const JobExecutionSummary& summary)
{
    if (summary.state != JobExecutionState::running() || !summary.latestRecord)
        return std::nullopt;
    // A run's id is its start seconds, a hyphen and the runner's process id.
    const QString& id = summary.latestRecord->id;
    bool ok = false;
    const qint32 pid = id.mid(id.lastIndexOf(u'-') + 1).toInt(&ok);
    return ok && pid > 0 ? std::optional(pid) : std::nullopt;
}

std::optional<QDateTime> computerStartedAt()
{
    const auto seconds = ProcessLiveness::bootSeconds();
    return seconds ? std::optional(QDateTime::fromSecsSinceEpoch(qint64(*seconds), Qt::UTC))
                   : std::nullopt;
}

} // namespace

JobWatcher::JobWatcher(CronStore& store, DataLocations locations, NotificationOutlet& outlet,
                       Clock clock, QObject* parent)
    : QObject(parent), m_store(store), m_locations(std::move(locations)), m_outlet(outlet),
      m_clock(std::move(clock)), m_toldFile(m_locations.toldEvents), m_told(m_toldFile.read())
{
    m_store.setSelectsJobs(false);
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleMs);
    m_wake.setSingleShot(true);
    m_heldBack.setSingleShot(true);
    m_retry.setSingleShot(true);
    m_retry.setInterval(retryMs);
    connect(&m_retry, &QTimer::timeout, this, &JobWatcher::scheduleCheck);
    connect(&m_settle, &QTimer::timeout, this, [this] { check(); });
    connect(&m_wake, &QTimer::timeout, this, [this] { check(); });
    connect(&m_heldBack, &QTimer::timeout, this, [this] { deliver(m_flood.take({}, m_clock())); });
    connect(&m_files, &QFileSystemWatcher::directoryChanged, this, &JobWatcher::scheduleCheck);
}

JobWatcher::~JobWatcher()
{
    for (QSocketNotifier* notifier : std::as_const(m_runners))
        release(notifier);
}

void JobWatcher::release(QSocketNotifier* notifier)
{
    const int fd = int(notifier->socket());
    delete notifier;
    ::close(fd);
}

void JobWatcher::start()
{
    check();
}

void JobWatcher::scheduleCheck()
{
    if (!m_settle.isActive())
        m_settle.start();
}

QCoro::Task<> JobWatcher::check()
{
    if (m_isChecking) {
        m_checkAgain = true;
        co_return;
    }
    m_isChecking = true;
    do {
        m_checkAgain = false;
        m_store.setPresentedError(std::nullopt);
        co_await m_store.load();
        // A crontab that cannot be read now tells nothing new; what was told stays told.
        if (m_store.presentedError())
            m_store.setPresentedError(std::nullopt);
        else
            tell();
        watchFolders();
        scheduleWake(watchRunners());
    } while (m_checkAgain);
    m_isChecking = false;
    Q_EMIT checked();
}

void JobWatcher::tell()
{
    const auto bootedAt = computerStartedAt();
    QSet<QString> current;
    QList<RunEvent> fresh;
    for (const CronJob& job : m_store.jobs()) {
        if (!job.isMonitoringEnabled)
            continue;
        const JobExecutionSummary summary = m_store.executionSummaries().value(job.id);
        const auto expected = summary.state == JobExecutionState::notObserved()
                                  ? m_store.expectedExecution(job, summary)
                                  : std::nullopt;
        const auto event = runEventOf(job, summary, expected, bootedAt);
        if (!event) {
            // A success after failures: what was told of them is over.
            if (summary.state == JobExecutionState::succeeded())
                m_outlet.withdraw(job.id);
            continue;
        }
        current.insert(event->key);
        if (!m_told.contains(event->key) && !m_inFlight.contains(event->key))
            fresh.append(*event);
    }
    m_current = current;
    // Only what still describes a job's state needs remembering.
    rememberTold(m_told & current);
    deliver(m_flood.take(fresh, m_clock()));
}

void JobWatcher::rememberTold(const QSet<QString>& told)
{
    if (told == m_told)
        return;
    m_told = told;
    if (const auto written = m_toldFile.write(m_told); !written)
        qWarning("Tempolane: %s", qUtf8Printable(written.error()));
}

void JobWatcher::deliver(const NotificationFlood::Outcome& outcome)
{
    for (const RunEvent& event : outcome.single)
        show(notificationOf(event), {event.key});
    if (!outcome.summarised.isEmpty()) {
        QStringList keys;
        for (const RunEvent& event : outcome.summarised)
            keys.append(event.key);
        show(summaryOf(outcome.summarised), keys);
    }
    if (outcome.retryAt)
        m_heldBack.start(
            int(std::clamp(m_clock().msecsTo(*outcome.retryAt), qint64(0), longestSleepMs)));
}

void JobWatcher::show(const Notification& notification, const QStringList& keys)
{
    for (const QString& key : keys)
        m_inFlight.insert(key);
    m_outlet.show(notification, [self = QPointer(this), keys](bool isAccepted) {
        if (self)
            self->delivered(keys, isAccepted);
    });
}

void JobWatcher::delivered(const QStringList& keys, bool isAccepted)
{
    for (const QString& key : keys)
        m_inFlight.remove(key);
    if (!isAccepted) {
        if (!m_retry.isActive())
            m_retry.start();
        return;
    }
    QSet<QString> told = m_told;
    for (const QString& key : keys) {
        if (m_current.contains(key))
            told.insert(key);
    }
    rememberTold(told);
}

void JobWatcher::watchFolders()
{
    QSet<QString> wanted;
    for (const QString& path : {m_locations.executions, QFileInfo(m_locations.runner).path()}) {
        if (const QString folder = nearestFolder(path); !folder.isEmpty())
            wanted.insert(folder);
    }
    const QDir executions(m_locations.executions);
    for (const CronJob& job : m_store.jobs()) {
        if (!job.isMonitoringEnabled)
            continue;
        const QString jobFolder = executions.filePath(job.id.toString(QUuid::WithoutBraces));
        const QString runs = jobFolder + QStringLiteral("/runs");
        // Until the runs folder exists, the job's folder (or the root) shows it appearing.
        if (isRealFolder(runs))
            wanted.insert(runs);
        else if (isRealFolder(jobFolder))
            wanted.insert(jobFolder);
    }
    const QStringList watched = m_files.directories();
    QStringList gone;
    for (const QString& path : watched) {
        if (!wanted.remove(path))
            gone.append(path);
    }
    if (!gone.isEmpty())
        m_files.removePaths(gone);
    if (!wanted.isEmpty())
        m_files.addPaths(QStringList(wanted.cbegin(), wanted.cend()));
}

bool JobWatcher::watchRunners()
{
    QSet<qint32> running;
    bool isBlind = false;
    for (const CronJob& job : m_store.jobs()) {
        const auto pid = job.isMonitoringEnabled
                             ? runnerProcess(m_store.executionSummaries().value(job.id))
                             : std::nullopt;
        if (!pid)
            continue;
        running.insert(*pid);
        if (m_runners.contains(*pid))
            continue;
        // Readable once the process has ended.
        const int fd = int(::syscall(SYS_pidfd_open, *pid, 0));
        if (fd < 0) {
            isBlind = true;
            continue;
        }
        auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this, notifier] {
            notifier->setEnabled(false);
            scheduleCheck();
        });
        m_runners.insert(*pid, notifier);
    }
    for (auto runner = m_runners.begin(); runner != m_runners.end();) {
        if (running.contains(runner.key())) {
            ++runner;
            continue;
        }
        release(runner.value());
        runner = m_runners.erase(runner);
    }
    return isBlind;
}

void JobWatcher::scheduleWake(bool isRunnerUnwatched)
{
    const QDateTime now = m_clock();
    std::optional<QDateTime> earliest;
    if (isRunnerUnwatched)
        earliest = now.addMSecs(runnerRecheckMs);
    for (const CronJob& job : m_store.jobs()) {
        if (!job.isMonitoringEnabled || !job.isEnabled)
            continue;
        const JobExecutionSummary summary = m_store.executionSummaries().value(job.id);
        if (summary.state != JobExecutionState::waiting() &&
            summary.state != JobExecutionState::succeeded())
            continue;
        const auto expected = m_store.expectedExecution(job, summary);
        if (!expected)
            continue;
        // The first moment at which the store counts the run as not observed.
        const QDateTime missedAt = expected->addSecs(CronStore::notObservedGraceSeconds + 1);
        if (missedAt > now && (!earliest || missedAt < *earliest))
            earliest = missedAt;
    }
    m_nextWake = earliest.value_or(QDateTime());
    if (earliest)
        m_wake.start(int(std::clamp(now.msecsTo(*earliest), qint64(0), longestSleepMs)));
    else
        m_wake.stop();
}

} // namespace Tempolane
