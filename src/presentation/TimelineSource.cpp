#include "TimelineSource.h"

#include "CronStore.h"

#include <QtConcurrent/QtConcurrentRun>

namespace Tempolane {

TimelineSource::TimelineSource(CronStore& store, Clock clock, QObject* parent)
    : QObject(parent), m_store(store), m_clock(std::move(clock))
{
    connect(&m_watcher, &QFutureWatcher<Timeline>::finished, this,
            [this] { take(m_watcher.result()); });
    for (const auto signal :
         {&CronStore::documentChanged, &CronStore::filterChanged, &CronStore::searchTextChanged,
          &CronStore::executionSummariesChanged, &CronStore::jobRunsChanged})
        connect(&m_store, signal, this, &TimelineSource::recompute);
}

TimelineSource::~TimelineSource()
{
    // The work holds copies of everything it reads; only its result would reach this object.
    m_watcher.disconnect();
}

TimelineInput TimelineSource::inputOf(const CronStore& store, TimelineRange range,
                                      const QDateTime& now)
{
    TimelineInput input;
    input.range = range;
    input.now = now;
    input.zone = store.timeZone();
    for (const CronJob& job : store.filteredJobs()) {
        if (!job.isEnabled)
            continue;
        const JobExecutionSummary summary = store.executionSummary(job);
        input.jobs.append({job.id, CronStore::shownName(job), job.scheduleExpression,
                           job.isMonitoringEnabled, store.jobRuns().value(job.id),
                           summary.monitoringStartedAt});
    }
    return input;
}

void TimelineSource::setActive(bool isActive)
{
    if (m_isActive == isActive)
        return;
    m_isActive = isActive;
    recompute();
}

void TimelineSource::setRange(TimelineRange range)
{
    if (m_range == range)
        return;
    m_range = range;
    recompute();
}

void TimelineSource::clockTicked()
{
    if (m_isActive && m_clock().toMSecsSinceEpoch() >= m_timeline.validUntil)
        recompute();
}

void TimelineSource::recompute()
{
    if (!m_isActive)
        return;
    if (m_watcher.isRunning()) {
        m_isStale = true;
        return;
    }
    m_isStale = false;
    TimelineInput input = inputOf(m_store, m_range, m_clock());
    QList<QUuid> monitored;
    for (const TimelineJob& job : std::as_const(input.jobs)) {
        if (job.isMonitored)
            monitored.append(job.id);
    }
    m_watcher.setFuture(QtConcurrent::run(&Timeline::make, std::move(input)));
    // Told only once the work is under way: reading their runs may change the store at once,
    // and the timeline asked for then must follow this one, not be replaced by it.
    if (monitored != m_monitoredJobs) {
        m_monitoredJobs = std::move(monitored);
        Q_EMIT monitoredJobsChanged();
    }
}

void TimelineSource::take(Timeline timeline)
{
    if (m_isStale) {
        recompute();
        return;
    }
    m_timeline = std::move(timeline);
    Q_EMIT timelineChanged();
}

} // namespace Tempolane
