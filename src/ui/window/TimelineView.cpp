#include "TimelineView.h"

#include "ClampedLabel.h"
#include "CronStore.h"
#include "JobRunsFeed.h"
#include "SegmentedPicker.h"
#include "TextLabel.h"
#include "TimelineCanvas.h"
#include "TimelineSource.h"

#include <QVBoxLayout>

namespace Tempolane {

namespace {

constexpr int margin = 16;
constexpr int summaryLines = 3;

} // namespace

TimelineView::TimelineView(CronStore& store, JobRunsFeed& runs, Clock clock, QWidget* parent)
    : QWidget(parent), m_store(store), m_runs(runs),
      m_source(new TimelineSource(store, clock, this)),
      m_range(new SegmentedPicker({tr("24 Stunden"), tr("7 Tage")}, this)),
      m_summary(new ClampedLabel(summaryLines, TextStyle::caption, Tint::secondary, this)),
      m_canvas(new TimelineCanvas(clock, this))
{
    setObjectName(QStringLiteral("timeline"));
    auto* title = new TextLabel(tr("Zeitleiste"), TextStyle::title3, Tint::primary, this);
    QFont titleFont = title->font();
    titleFont.setWeight(QFont::DemiBold);
    title->setFont(titleFont);
    m_range->setObjectName(QStringLiteral("timelineRange"));
    m_range->setAccessibleName(tr("Zeitraum"));
    m_range->setCurrentIndex(0);
    m_summary->setObjectName(QStringLiteral("timelineSummary"));
    m_canvas->setObjectName(QStringLiteral("timelineCanvas"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, margin, 0, 0);
    layout->setSpacing(margin / 2);
    // One above the other, so that the column stays as narrow as the list at the largest font.
    auto* header = new QVBoxLayout;
    header->setContentsMargins(margin, 0, margin, 0);
    header->setSpacing(margin / 2);
    header->addWidget(title);
    header->addWidget(m_range, 0, Qt::AlignLeft);
    header->addWidget(m_summary);
    layout->addLayout(header);
    layout->addWidget(m_canvas, 1);

    connect(m_range, &SegmentedPicker::activated, this, [this](int index) {
        m_source->setRange(index == 0 ? TimelineRange::day : TimelineRange::week);
    });
    connect(m_source, &TimelineSource::timelineChanged, this, [this] {
        m_canvas->setTimeline(m_source->timeline());
        m_summary->setText(m_source->timeline().summary);
    });
    connect(m_source, &TimelineSource::monitoredJobsChanged, this, [this] {
        if (m_isActive)
            m_runs.setDrawnJobs(m_source->monitoredJobs());
    });
    connect(m_canvas, &TimelineCanvas::jobChosen, this, &TimelineView::jobChosen);
    connect(&m_store, &CronStore::selectionChanged, this,
            [this] { m_canvas->setSelectedJob(m_store.selection()); });
    m_canvas->setSelectedJob(m_store.selection());
}

void TimelineView::setActive(bool isActive)
{
    m_isActive = isActive;
    m_source->setActive(isActive);
    m_runs.setDrawnJobs(isActive ? m_source->monitoredJobs() : QList<QUuid>());
}

void TimelineView::clockTicked()
{
    m_source->clockTicked();
    m_canvas->clockTicked();
}

} // namespace Tempolane
