#pragma once

#include "Clock.h"
#include "ItemPicture.h"
#include "RunMarks.h"
#include "Timeline.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QPixmap>
#include <QStaticText>
#include <functional>
#include <optional>
#include <utility>

namespace Tempolane {

// The lanes of the timeline under their time axis: it draws the timeline it is given through the
// palette's roles and reports the job the user picks. The axis stays on top while the lanes
// scroll. Each mark (and the text of a lane without marks) is an item that the arrow keys move
// between and a screen reader reads.
class TimelineCanvas final : public QAbstractScrollArea, public ItemPicture
{
    Q_OBJECT

public:
    // A mark of a lane; `mark` is -1 for a lane without marks.
    struct Item
    {
        int lane = 0;
        int mark = -1;

        friend bool operator==(const Item&, const Item&) = default;
    };

    explicit TimelineCanvas(Clock clock, QWidget* parent = nullptr);

    void setTimeline(Timeline timeline);
    const Timeline& timeline() const { return m_timeline; }
    void setSelectedJob(const QUuid& jobId);
    // Redraws when the "jetzt" line has moved by a pixel since it was drawn.
    void clockTicked();

    // Every item in lane order, then time order.
    int itemCount() const;
    Item itemAt(int index) const;
    int indexOf(const Item& item) const;
    QString itemText(const Item& item) const;
    // In the viewport's coordinates.
    QRect itemRect(const Item& item) const;
    std::optional<Item> focusedItem() const { return m_focused; }
    void focusItem(const Item& item);
    // Chooses the item's job, as a click on it does.
    void chooseItem(const Item& item);

    int pictureItemCount() const override { return itemCount(); }
    QString pictureItemText(int index) const override { return itemText(itemAt(index)); }
    QRect pictureItemScreenRect(int index) const override;
    bool isPictureItemShown(int index) const override;
    std::optional<int> focusedPictureItem() const override;
    void focusPictureItem(int index) override { focusItem(itemAt(index)); }
    void choosePictureItem(int index) override { chooseItem(itemAt(index)); }
    QString pictureSummary() const override { return m_timeline.summary; }

Q_SIGNALS:
    // The user clicked a lane or pressed Enter on it.
    void jobChosen(QUuid jobId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct Metrics
    {
        QFont font;
        qreal padding;
        qreal axisHeight;
        qreal laneHeight;
        qreal nameHeight;
        qreal trackHeight;
        qreal sign;
        qreal labelWidth;
    };
    const Metrics& metrics() const;
    qreal xOf(std::int64_t instant) const;
    QRectF trackRect(int lane) const;
    QRectF markRect(int lane, int mark) const;
    std::optional<Item> itemAtPoint(const QPoint& point) const;
    std::optional<int> noteAtPoint(const QPoint& point) const;
    int labelLevel() const;
    void updateScrollRange();
    void dropCaches();
    // The mark of the lane nearest to the instant, or the lane's text.
    Item nearestItem(int lane, std::int64_t instant) const;
    void announceFocus();

    const QPixmap& picturePixmap(qreal nowX);
    void paintLanes(QPainter& painter, int firstLane, int lastLane) const;
    void paintAxis(QPainter& painter, qreal nowX) const;
    // The text elided to the width, made once per key and width.
    using TextCache = QHash<int, std::pair<qreal, QStaticText>>;
    const QStaticText& cachedText(TextCache& cache, int key, qreal width,
                                  const std::function<QString()>& text) const;

    Clock m_clock;
    Timeline m_timeline;
    QUuid m_selectedJob;
    std::optional<Item> m_focused;
    // The first item index of each lane.
    QList<int> m_laneItems;
    qreal m_paintedNowX = -1;

    mutable std::optional<Metrics> m_metrics;
    mutable TextCache m_names;
    mutable TextCache m_labels;
    mutable TextCache m_rates;
    mutable RunMarks::SignPixmaps m_signs;
    // What the last picture showed; it is drawn again when anything of it changes.
    struct PictureKey
    {
        QSize size;
        qreal ratio = 0;
        int scroll = 0;
        int nowPixel = 0;
        QUuid selectedJob;

        friend bool operator==(const PictureKey&, const PictureKey&) = default;
    };
    QPixmap m_picture;
    PictureKey m_pictureKey;
    mutable QPixmap m_noteSign;
};

} // namespace Tempolane
