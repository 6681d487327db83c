#include "ContentColumn.h"

#include "TimelineView.h"

#include <QSplitter>
#include <algorithm>

namespace Tempolane {

namespace {

// The editor keeps at least half the room the two columns share: a monitored job's form needs
// more than its narrowest width.
constexpr double detailShare = 0.5;

} // namespace

ContentColumn::ContentColumn(QWidget* list, TimelineView* timeline, int listMaximumWidth,
                             int detailMinimumWidth, QWidget* parent)
    : QStackedWidget(parent), m_list(list), m_timeline(timeline),
      m_listMaximumWidth(listMaximumWidth), m_detailMinimumWidth(detailMinimumWidth)
{
    addWidget(m_list);
    addWidget(m_timeline);
    setMaximumWidth(m_listMaximumWidth);
}

bool ContentColumn::showsTimeline() const
{
    return currentWidget() == m_timeline;
}

void ContentColumn::showTimeline(bool isShown)
{
    if (isShown == showsTimeline())
        return;
    auto* columns = qobject_cast<QSplitter*>(parentWidget());
    QList<int> sizes = columns ? columns->sizes() : QList<int>();
    const int index = columns ? columns->indexOf(this) : -1;
    // Before the window is laid out there are no widths to share yet.
    const bool hasDetail = index >= 0 && index + 1 < sizes.size() && sizes[index] > 0;
    const int shared = hasDetail ? sizes[index] + sizes[index + 1] : 0;
    if (isShown) {
        m_listWidth = hasDetail ? sizes[index] : 0;
        setMaximumWidth(QWIDGETSIZE_MAX);
        setCurrentWidget(m_timeline);
        if (hasDetail) {
            const int detail = std::max(m_detailMinimumWidth, int(shared * detailShare));
            sizes[index] = std::max(m_listWidth, shared - detail);
            sizes[index + 1] = shared - sizes[index];
        }
    } else {
        setCurrentWidget(m_list);
        setMaximumWidth(m_listMaximumWidth);
        if (hasDetail) {
            sizes[index] = std::min(m_listWidth, m_listMaximumWidth);
            sizes[index + 1] = shared - sizes[index];
        }
    }
    m_timeline->setActive(isShown);
    if (hasDetail)
        columns->setSizes(sizes);
}

} // namespace Tempolane
