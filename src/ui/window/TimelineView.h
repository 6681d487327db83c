#pragma once

#include "Clock.h"

#include <QUuid>
#include <QWidget>

namespace Tempolane {

class ClampedLabel;
class CronStore;
class JobRunsFeed;
class SegmentedPicker;
class TimelineCanvas;
class TimelineSource;

// The timeline in place of the job list: its title, the choice of "24 Stunden" or "7 Tage",
// the summary of what lies ahead, and the lanes. Choosing a job reports it; the window selects
// it the way a click in the list does.
class TimelineView final : public QWidget
{
    Q_OBJECT

public:
    TimelineView(CronStore& store, JobRunsFeed& runs, Clock clock, QWidget* parent = nullptr);

    // Works only while shown.
    void setActive(bool isActive);
    void clockTicked();
    TimelineCanvas* canvas() const { return m_canvas; }

Q_SIGNALS:
    void jobChosen(QUuid jobId);

private:
    CronStore& m_store;
    JobRunsFeed& m_runs;
    TimelineSource* m_source;
    SegmentedPicker* m_range;
    ClampedLabel* m_summary;
    TimelineCanvas* m_canvas;
    bool m_isActive = false;
};

} // namespace Tempolane
