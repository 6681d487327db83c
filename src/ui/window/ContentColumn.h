#pragma once

#include <QStackedWidget>

namespace Tempolane {

class TimelineView;

// The middle column of the window: the job list, or in its place the timeline, which takes the
// room the editor beside it can spare. Going back gives the list its width again.
class ContentColumn final : public QStackedWidget
{
    Q_OBJECT

public:
    ContentColumn(QWidget* list, TimelineView* timeline, int listMaximumWidth,
                  int detailMinimumWidth, QWidget* parent = nullptr);

    void showTimeline(bool isShown);
    bool showsTimeline() const;

private:
    QWidget* m_list;
    TimelineView* m_timeline;
    int m_listMaximumWidth;
    int m_detailMinimumWidth;
    int m_listWidth = 0;
};

} // namespace Tempolane
