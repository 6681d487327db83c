#pragma once

#include "ItemPicture.h"
#include "RunChart.h"
#include "RunMarks.h"

#include <QPixmap>
#include <QWidget>

namespace Tempolane {

// The run chart of the executions card: a bar per recorded run as high as it took, in its
// outcome's colour and shape, marks on the axis where scheduled runs left no record, and a line
// at the median. Hovering over a slot or moving to it with the arrow keys tells the run; a click
// or Enter on a run reports it, so the history below can unfold it.
class RunChartView final : public QWidget, public ItemPicture
{
    Q_OBJECT

public:
    explicit RunChartView(QWidget* parent = nullptr);

    void setChart(RunChart chart);
    const RunChart& chart() const { return m_chart; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // In the widget's coordinates: the whole column of the slot.
    QRect slotRect(qsizetype slot) const;

    int pictureItemCount() const override { return int(m_chart.slots.size()); }
    QString pictureItemText(int index) const override { return m_chart.slotText(index); }
    QRect pictureItemScreenRect(int index) const override;
    bool isPictureItemShown(int) const override { return isVisible(); }
    std::optional<int> focusedPictureItem() const override { return m_focused; }
    void focusPictureItem(int index) override;
    void choosePictureItem(int index) override;
    QString pictureSummary() const override { return m_chart.summary; }

Q_SIGNALS:
    // A recorded run was clicked or chosen with Enter.
    void runChosen(QString recordId);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    qreal lineHeight() const;
    QRectF plotArea() const;
    std::optional<int> slotAt(const QPoint& point) const;
    const QPixmap& chartPixmap();

    RunChart m_chart;
    std::optional<int> m_focused;
    RunMarks::SignPixmaps m_signs;
    QPixmap m_pixmap;
};

} // namespace Tempolane
