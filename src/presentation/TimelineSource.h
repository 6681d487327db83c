#pragma once

#include "Clock.h"
#include "Timeline.h"

#include <QFutureWatcher>
#include <QObject>

namespace Tempolane {

class CronStore;

// The timeline of the jobs the list shows: one lane per active job that passes the filter and
// the search, in list order. It is worked out on a worker thread whenever the jobs, their runs,
// the filter, the search or the range change, and when the time moves past what it shows; the
// last one asked for wins. While inactive (the view hidden) it works nothing out.
class TimelineSource final : public QObject
{
    Q_OBJECT

public:
    TimelineSource(CronStore& store, Clock clock, QObject* parent = nullptr);
    ~TimelineSource() override;

    void setActive(bool isActive);
    void setRange(TimelineRange range);
    TimelineRange range() const { return m_range; }

    const Timeline& timeline() const { return m_timeline; }
    // The monitored jobs among the lanes: whose runs the timeline draws.
    const QList<QUuid>& monitoredJobs() const { return m_monitoredJobs; }

    // The clock moved on: the timeline is worked out again once it shows the time wrongly.
    void clockTicked();

    // What one lane of the store's job is given.
    static TimelineInput inputOf(const CronStore& store, TimelineRange range, const QDateTime& now);

Q_SIGNALS:
    void timelineChanged();
    void monitoredJobsChanged();

private:
    void recompute();
    void take(Timeline timeline);

    CronStore& m_store;
    Clock m_clock;
    TimelineRange m_range = TimelineRange::day;
    bool m_isActive = false;
    Timeline m_timeline;
    QList<QUuid> m_monitoredJobs;
    QFutureWatcher<Timeline> m_watcher;
    // Asked again while one was being worked out.
    bool m_isStale = false;
};

} // namespace Tempolane
