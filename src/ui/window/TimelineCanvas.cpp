#include "TimelineCanvas.h"

#include "ItemPictureAccessible.h"
#include "PaintBands.h"
#include "Palette.h"
#include "RunMarks.h"
#include "RunSpans.h"
#include "Style.h"
#include "SymbolIcon.h"
#include "TextStyle.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOption>
#include <QToolTip>
#include <algorithm>
#include <cmath>

namespace Tempolane {

namespace {

// Keys of the text caches: a lane or mark packed into one number.
int markKey(int lane, int mark)
{
    return lane * 100'000 + mark;
}

// The colour a translucent one shows over an opaque background.
QColor opaqueOver(const QColor& color, const QColor& background)
{
    const qreal alpha = color.alphaF();
    const auto mix = [alpha](qreal over, qreal under) {
        return over * alpha + under * (1 - alpha);
    };
    return QColor::fromRgbF(float(mix(color.redF(), background.redF())),
                            float(mix(color.greenF(), background.greenF())),
                            float(mix(color.blueF(), background.blueF())));
}

QRect outward(const QRectF& rect)
{
    return rect.toAlignedRect();
}

} // namespace

TimelineCanvas::TimelineCanvas(Clock clock, QWidget* parent)
    : QAbstractScrollArea(parent), m_clock(std::move(clock))
{
    // Before anything asks for this widget's accessible interface, which Qt keeps once made.
    ItemPictureAccessible::install();
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    setAccessibleName(tr("Zeitleiste"));
}

const TimelineCanvas::Metrics& TimelineCanvas::metrics() const
{
    if (!m_metrics) {
        const QFont font = styledFont(TextStyle::caption);
        const QFontMetricsF fontMetrics(font);
        const qreal line = fontMetrics.height();
        const qreal track = std::round(line * 1.25);
        // The axis: a row of labels at the top, then "jetzt" and the notes' signs.
        m_metrics = Metrics{font,
                            std::round(line * 0.75),
                            std::round(line * 3),
                            std::round(line + track + line * 0.45),
                            std::round(line),
                            track,
                            std::round(track * 0.56),
                            fontMetrics.horizontalAdvance(QStringLiteral("00:00")) + line};
    }
    return *m_metrics;
}

void TimelineCanvas::dropCaches()
{
    m_picture = {};
    m_metrics.reset();
    m_names.clear();
    m_labels.clear();
    m_rates.clear();
    m_signs.clear();
    m_noteSign = {};
}

void TimelineCanvas::setTimeline(Timeline timeline)
{
    // The item in focus stays on its job and its time, wherever the new lanes put them.
    std::optional<std::pair<QUuid, std::int64_t>> focusedAt;
    if (m_focused) {
        const TimelineLane& lane = m_timeline.lanes[m_focused->lane];
        focusedAt = {lane.jobId,
                     m_focused->mark < 0 ? m_timeline.now : lane.marks[m_focused->mark].start};
    }
    m_timeline = std::move(timeline);
    m_laneItems.clear();
    int items = 0;
    for (const TimelineLane& lane : std::as_const(m_timeline.lanes)) {
        m_laneItems.append(items);
        items += std::max(1, int(lane.marks.size()));
    }
    m_focused.reset();
    if (focusedAt) {
        for (int lane = 0; lane < m_timeline.lanes.size(); ++lane) {
            if (m_timeline.lanes[lane].jobId == focusedAt->first)
                m_focused = nearestItem(lane, focusedAt->second);
        }
    }
    m_names.clear();
    m_labels.clear();
    m_rates.clear();
    m_picture = {};
    updateScrollRange();
    viewport()->update();
    ItemPictureAccessible::itemsChanged(this);
}

void TimelineCanvas::setSelectedJob(const QUuid& jobId)
{
    if (m_selectedJob == jobId)
        return;
    m_selectedJob = jobId;
    viewport()->update();
}

void TimelineCanvas::clockTicked()
{
    if (std::abs(xOf(m_clock().toMSecsSinceEpoch()) - m_paintedNowX) * devicePixelRatioF() >= 1)
        viewport()->update();
}

int TimelineCanvas::itemCount() const
{
    if (m_laneItems.isEmpty())
        return 0;
    return m_laneItems.back() + std::max(1, int(m_timeline.lanes.back().marks.size()));
}

TimelineCanvas::Item TimelineCanvas::itemAt(int index) const
{
    const auto lane = std::upper_bound(m_laneItems.begin(), m_laneItems.end(), index) - 1;
    const int laneIndex = int(lane - m_laneItems.begin());
    return {laneIndex, m_timeline.lanes[laneIndex].marks.isEmpty() ? -1 : index - *lane};
}

int TimelineCanvas::indexOf(const Item& item) const
{
    return m_laneItems[item.lane] + std::max(0, item.mark);
}

QString TimelineCanvas::itemText(const Item& item) const
{
    if (item.mark < 0) {
        const TimelineLane& lane = m_timeline.lanes[item.lane];
        return tr("%1: %2").arg(lane.name, lane.emptyText);
    }
    return m_timeline.markText(item.lane, item.mark);
}

qreal TimelineCanvas::xOf(std::int64_t instant) const
{
    const qreal left = metrics().padding;
    const qreal width = viewport()->width() - 2 * left;
    const std::int64_t span = std::max<std::int64_t>(1, m_timeline.end - m_timeline.start);
    // Just beyond either end for what lies outside the axis, as the clock may before the first
    // timeline comes.
    return std::clamp(left + width * qreal(instant - m_timeline.start) / qreal(span), -left,
                      left + width + left);
}

QRectF TimelineCanvas::trackRect(int lane) const
{
    const Metrics& m = metrics();
    const qreal top = m.axisHeight + lane * m.laneHeight - verticalScrollBar()->value();
    return {m.padding, top + m.nameHeight, viewport()->width() - 2 * m.padding, m.trackHeight};
}

QRectF TimelineCanvas::markRect(int lane, int mark) const
{
    const QRectF track = trackRect(lane);
    const TimelineMark& shown = m_timeline.lanes[lane].marks[mark];
    const qreal half = metrics().sign / 2;
    const qreal start = xOf(shown.start);
    return QRectF(QPointF(start - half, track.top()),
                  QPointF(std::max(xOf(shown.end), start + half), track.bottom()));
}

QRect TimelineCanvas::itemRect(const Item& item) const
{
    return outward(item.mark < 0 ? trackRect(item.lane) : markRect(item.lane, item.mark));
}

std::optional<TimelineCanvas::Item> TimelineCanvas::itemAtPoint(const QPoint& point) const
{
    const Metrics& m = metrics();
    if (point.y() < m.axisHeight)
        return std::nullopt;
    const int lane = int((point.y() - m.axisHeight + verticalScrollBar()->value()) / m.laneHeight);
    if (lane < 0 || lane >= m_timeline.lanes.size())
        return std::nullopt;
    const QList<TimelineMark>& marks = m_timeline.lanes[lane].marks;
    // The mark drawn last lies on top.
    for (int mark = int(marks.size()) - 1; mark >= 0; --mark) {
        const QRectF rect = markRect(lane, mark);
        if (point.x() >= rect.left() && point.x() <= rect.right())
            return Item{lane, mark};
    }
    return Item{lane, -1};
}

std::optional<int> TimelineCanvas::noteAtPoint(const QPoint& point) const
{
    const Metrics& m = metrics();
    if (point.y() >= m.axisHeight)
        return std::nullopt;
    for (int note = 0; note < m_timeline.notes.size(); ++note) {
        const qreal x = xOf(m_timeline.notes[note].start);
        if (std::abs(point.x() - x) <= m.sign)
            return note;
    }
    return std::nullopt;
}

TimelineCanvas::Item TimelineCanvas::nearestItem(int lane, std::int64_t instant) const
{
    const QList<TimelineMark>& marks = m_timeline.lanes[lane].marks;
    if (marks.isEmpty())
        return {lane, -1};
    const auto later =
        std::lower_bound(marks.begin(), marks.end(), instant,
                         [](const TimelineMark& mark, std::int64_t at) { return mark.start < at; });
    int index = int(later - marks.begin());
    if (index == marks.size() ||
        (index > 0 && instant - marks[index - 1].start < marks[index].start - instant))
        --index;
    return {lane, index};
}

void TimelineCanvas::focusItem(const Item& item)
{
    m_focused = item;
    const Metrics& m = metrics();
    const qreal top = m.axisHeight + item.lane * m.laneHeight - verticalScrollBar()->value();
    QScrollBar* bar = verticalScrollBar();
    if (top < m.axisHeight)
        bar->setValue(int(item.lane * m.laneHeight));
    else if (top + m.laneHeight > viewport()->height())
        bar->setValue(int((item.lane + 1) * m.laneHeight - (viewport()->height() - m.axisHeight)));
    viewport()->update();
    announceFocus();
}

void TimelineCanvas::chooseItem(const Item& item)
{
    Q_EMIT jobChosen(m_timeline.lanes[item.lane].jobId);
}

void TimelineCanvas::announceFocus()
{
    if (m_focused && hasFocus())
        ItemPictureAccessible::focusMoved(this, indexOf(*m_focused));
}

QRect TimelineCanvas::pictureItemScreenRect(int index) const
{
    const QRect local = itemRect(itemAt(index));
    return {viewport()->mapToGlobal(local.topLeft()), local.size()};
}

bool TimelineCanvas::isPictureItemShown(int index) const
{
    const QRect rect = itemRect(itemAt(index));
    return rect.bottom() >= metrics().axisHeight && rect.top() < viewport()->height();
}

std::optional<int> TimelineCanvas::focusedPictureItem() const
{
    return m_focused ? std::optional(indexOf(*m_focused)) : std::nullopt;
}

int TimelineCanvas::labelLevel() const
{
    // The finest level whose labels stand apart; one level is an hour (day) or six (week).
    const bool isDay = m_timeline.range == TimelineRange::day;
    const qreal hourWidth = (xOf(m_timeline.start + 3'600'000) - xOf(m_timeline.start));
    const int hoursOfLevel[] = {24, isDay ? 6 : 12, isDay ? 3 : 6, 1};
    for (int level = isDay ? 3 : 2; level > 0; --level) {
        if (hourWidth * hoursOfLevel[level] >= metrics().labelWidth)
            return level;
    }
    return 0;
}

void TimelineCanvas::updateScrollRange()
{
    const Metrics& m = metrics();
    const int lanesHeight = int(std::ceil(m_timeline.lanes.size() * m.laneHeight));
    const int shown = std::max(0, viewport()->height() - int(m.axisHeight));
    verticalScrollBar()->setRange(0, std::max(0, lanesHeight - shown));
    verticalScrollBar()->setPageStep(shown);
    verticalScrollBar()->setSingleStep(int(m.laneHeight));
}

const QStaticText& TimelineCanvas::cachedText(TextCache& cache, int key, qreal width,
                                              const std::function<QString()>& text) const
{
    auto found = cache.find(key);
    if (found == cache.end() || found->first != width) {
        QStaticText staticText(
            QFontMetricsF(metrics().font).elidedText(text(), Qt::ElideRight, width));
        staticText.setTextFormat(Qt::PlainText);
        staticText.prepare(QTransform(), metrics().font);
        found = cache.insert(key, {width, staticText});
    }
    return found->second;
}

void TimelineCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const qreal nowX = xOf(m_clock().toMSecsSinceEpoch());
    const QPixmap& picture = picturePixmap(nowX);
    const qreal ratio = picture.devicePixelRatio();
    paintInBands(viewport()->rect(), [&](const QRect& band) {
        painter.drawPixmap(QRectF(band), picture,
                           QRectF(QPointF(band.topLeft()) * ratio, QSizeF(band.size()) * ratio));
    });
    m_paintedNowX = nowX;
    if (!m_focused || !hasFocus())
        return;
    QStyleOption option;
    option.initFrom(this);
    // The marks are reached with the arrow keys alone: the one in focus is always shown.
    option.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
    const QRectF ring = m_focused->mark < 0 ? trackRect(m_focused->lane)
                                            : markRect(m_focused->lane, m_focused->mark);
    if (ring.bottom() >= metrics().axisHeight)
        Style::drawFocusRing(&painter, &option, ring.adjusted(-2, -2, 2, 2), 3);
}

// The picture changes with the timeline, the scroll position, the "jetzt" line's pixel, the
// selected job, the size, the palette and the font; the focus ring, which moves with every
// arrow key, is drawn over it.
const QPixmap& TimelineCanvas::picturePixmap(qreal nowX)
{
    const qreal ratio = devicePixelRatioF();
    const PictureKey key{viewport()->size(), ratio, verticalScrollBar()->value(),
                         qRound(nowX * ratio), m_selectedJob};
    if (!m_picture.isNull() && key == m_pictureKey)
        return m_picture;
    if (m_picture.isNull() || m_pictureKey.size != key.size || m_pictureKey.ratio != ratio) {
        m_picture = QPixmap(viewport()->size() * ratio);
        m_picture.setDevicePixelRatio(ratio);
    }
    m_pictureKey = key;
    QPainter painter(&m_picture);
    const Metrics& m = metrics();
    const QRect area = viewport()->rect();
    painter.setFont(m.font);

    const qreal lanesTop = m.axisHeight;
    const qreal pastEnd = std::min(nowX, xOf(m_timeline.end));
    const QColor window = palette().color(QPalette::Window);
    // Laid over the window once here, so that the large past is filled, not blended.
    const QColor past = opaqueOver(Palette::role(Role::timelinePast, palette()), window);
    const QColor grid = Palette::role(Role::timelineGrid, palette());
    const QColor noteWash = Palette::role(Role::timelineNoteWash, palette());
    const int level = labelLevel();
    // Lines and washes as tall as the lanes are drawn band by band, as the background is.
    paintInBands(area, [&](const QRect& band) {
        painter.fillRect(band, window);
        const QRectF lanes =
            QRectF(band).intersected(QRectF(0, lanesTop, area.width(), area.height() - lanesTop));
        if (lanes.isEmpty())
            return;
        painter.fillRect(
            QRectF(QPointF(xOf(m_timeline.start), lanes.top()), QPointF(pastEnd, lanes.bottom())),
            past);
        for (const TimelineTick& tick : std::as_const(m_timeline.ticks)) {
            if (tick.level <= level)
                painter.fillRect(QRectF(std::round(xOf(tick.at)), lanes.top(),
                                        tick.level == 0 ? 2 : 1, lanes.height()),
                                 grid);
        }
        for (const TimelineNote& note : std::as_const(m_timeline.notes)) {
            const qreal start = xOf(note.start);
            painter.fillRect(QRectF(start, lanes.top(), std::max<qreal>(2, xOf(note.end) - start),
                                    lanes.height()),
                             noteWash);
        }
    });

    const int scroll = verticalScrollBar()->value();
    const int firstLane = std::max(0, int(scroll / m.laneHeight));
    const int lastLane = std::min(int(m_timeline.lanes.size()) - 1,
                                  int((scroll + area.height() - m.axisHeight) / m.laneHeight));
    if (firstLane <= lastLane) {
        paintLanes(painter, firstLane, lastLane);
    } else if (m_timeline.lanes.isEmpty()) {
        painter.setPen(Palette::color(Tint::secondary, palette()));
        painter.drawText(QRectF(area).adjusted(m.padding, lanesTop, -m.padding, 0),
                         Qt::AlignCenter | Qt::TextWordWrap,
                         tr("Keine aktiven Cronjobs in dieser Auswahl."));
    }
    // Before the first timeline is worked out there is no axis to show.
    if (m_timeline.end <= m_timeline.start)
        return m_picture;
    paintInBands(QRect(int(nowX) - 1, int(lanesTop), 2, area.height() - int(lanesTop)),
                 [&](const QRect& band) {
                     painter.fillRect(QRectF(nowX - 1, band.top(), 2, band.height()),
                                      Palette::role(Role::timelineNow, palette()));
                 });
    paintAxis(painter, nowX);
    return m_picture;
}

void TimelineCanvas::paintLanes(QPainter& painter, int firstLane, int lastLane) const
{
    const Metrics& m = metrics();
    const RunMarks::Colors colors(palette());
    const QColor track = Palette::role(Role::timelineTrack, palette());
    const QColor selected = Palette::role(Role::rowSelected, palette());
    const QColor text = Palette::color(Tint::primary, palette());
    const QColor faint = Palette::color(Tint::secondary, palette());
    const QPointF signOffset(-(m.sign + 2) / 2, -(m.sign + 2) / 2);
    for (int laneIndex = firstLane; laneIndex <= lastLane; ++laneIndex) {
        const TimelineLane& lane = m_timeline.lanes[laneIndex];
        const QRectF trackArea = trackRect(laneIndex);
        if (lane.jobId == m_selectedJob)
            painter.fillRect(
                QRectF(0, trackArea.top() - m.nameHeight, viewport()->width(), m.laneHeight),
                selected);
        painter.setPen(text);
        painter.drawStaticText(
            QPointF(m.padding, trackArea.top() - m.nameHeight),
            cachedText(m_names, laneIndex, trackArea.width(), [&] { return lane.name; }));
        painter.fillRect(trackArea, track);
        if (lane.marks.isEmpty()) {
            painter.setPen(faint);
            painter.drawStaticText(
                QPointF(trackArea.left() + m.sign, trackArea.center().y() - m.nameHeight / 2),
                cachedText(m_rates, markKey(laneIndex, 0), trackArea.width() - m.sign,
                           [&] { return lane.emptyText; }));
            continue;
        }
        // Signs closer than a few pixels would hide each other: one of each outcome is drawn.
        qreal lastSignX = -1e9;
        RunShape lastShape = RunShape::planned;
        for (int markIndex = 0; markIndex < lane.marks.size(); ++markIndex) {
            const TimelineMark& mark = lane.marks[markIndex];
            const qreal startX = xOf(mark.start);
            const qreal endX = xOf(mark.end);
            const bool isBand = mark.count > 1;
            if (endX - startX >= 1 || isBand)
                RunMarks::drawLaneBar(painter, trackArea, startX, endX, mark.shape, isBand, colors);
            if (startX - lastSignX >= 2 || mark.shape != lastShape) {
                painter.drawPixmap(QPointF(startX, trackArea.center().y()) + signOffset,
                                   m_signs.of(mark.shape, m.sign, devicePixelRatioF(), palette()));
                lastSignX = startX;
                lastShape = mark.shape;
            }
            if (isBand && mark.shape == RunShape::planned && endX - startX > 4 * m.sign) {
                painter.setPen(text);
                painter.drawStaticText(
                    QPointF(startX + m.sign, trackArea.center().y() - m.nameHeight / 2),
                    cachedText(
                        m_rates, markKey(laneIndex, markIndex), endX - startX - 1.5 * m.sign, [&] {
                            return RunSpans::rateText({mark.start, mark.lastStart, mark.count});
                        }));
            }
        }
    }
}

void TimelineCanvas::paintAxis(QPainter& painter, qreal nowX) const
{
    const Metrics& m = metrics();
    const qreal width = viewport()->width();
    painter.fillRect(QRectF(0, 0, width, m.axisHeight), palette().color(QPalette::Window));
    painter.fillRect(QRectF(0, m.axisHeight - 1, width, 1),
                     Palette::role(Role::hairline, palette()));
    const QStaticText& nowLabel =
        cachedText(m_labels, -1, 4 * m.labelWidth, [] { return tr("jetzt"); });
    const QSizeF pillSize = nowLabel.size() + QSizeF(m.padding, 0);
    const qreal secondRow = m.axisHeight - m.nameHeight * 1.35;
    const QRectF pill(std::clamp(nowX - pillSize.width() / 2, 0.0, width - pillSize.width()),
                      secondRow, pillSize.width(), pillSize.height());

    const int level = labelLevel();
    painter.setPen(Palette::color(Tint::secondary, palette()));
    // A label that would run into the one before is left out: days are wider than hours.
    qreal labelsEnd = -width;
    for (int index = 0; index < m_timeline.ticks.size(); ++index) {
        const TimelineTick& tick = m_timeline.ticks[index];
        if (tick.level > level)
            continue;
        const QStaticText& label =
            cachedText(m_labels, index, 4 * m.labelWidth, [&] { return tick.label; });
        const qreal labelWidth = label.size().width();
        const qreal x = std::clamp(xOf(tick.at) - labelWidth / 2, 0.0, width - labelWidth);
        if (x < labelsEnd + m.padding)
            continue;
        painter.drawStaticText(QPointF(x, m.padding / 2), label);
        labelsEnd = x + labelWidth;
    }

    if (!m_timeline.notes.isEmpty() && m_noteSign.isNull()) {
        m_noteSign = symbolIcon(Symbol::warningFill, SymbolStyle(Tint::orange))
                         .pixmap(QSize(int(m.sign), int(m.sign)), devicePixelRatioF());
    }
    const qreal signTop = secondRow + (m.nameHeight - m.sign) / 2;
    for (const TimelineNote& note : std::as_const(m_timeline.notes))
        painter.drawPixmap(QPointF(xOf(note.start) - m.sign / 2, signTop), m_noteSign);

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::role(Role::timelineNow, palette()));
    painter.drawRoundedRect(pill, pill.height() / 2, pill.height() / 2);
    painter.setPen(Palette::role(Role::onProminent, palette()));
    painter.drawStaticText(pill.topLeft() + QPointF(m.padding / 2, 0), nowLabel);
}

void TimelineCanvas::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void TimelineCanvas::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::ApplicationFontChange:
    case QEvent::PaletteChange:
    case QEvent::ApplicationPaletteChange:
    case QEvent::StyleChange:
        dropCaches();
        updateScrollRange();
        viewport()->update();
        break;
    default:
        break;
    }
}

bool TimelineCanvas::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QAbstractScrollArea::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    if (const auto note = noteAtPoint(help->pos())) {
        QToolTip::showText(help->globalPos(), m_timeline.noteText(*note), viewport());
    } else if (const auto item = itemAtPoint(help->pos())) {
        QToolTip::showText(help->globalPos(), itemText(*item), viewport(), itemRect(*item));
    } else {
        QToolTip::hideText();
        event->ignore();
    }
    return true;
}

void TimelineCanvas::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    const auto item = itemAtPoint(event->position().toPoint());
    if (!item)
        return;
    focusItem(item->mark < 0 ? nearestItem(item->lane, m_timeline.now) : *item);
    chooseItem(*item);
}

void TimelineCanvas::keyPressEvent(QKeyEvent* event)
{
    if (m_timeline.lanes.isEmpty())
        return QAbstractScrollArea::keyPressEvent(event);
    const Item current = m_focused.value_or(nearestItem(0, m_timeline.now));
    const QList<TimelineMark>& marks = m_timeline.lanes[current.lane].marks;
    const std::int64_t at = current.mark < 0 ? m_timeline.now : marks[current.mark].start;
    const int lanes = int(m_timeline.lanes.size());
    const int pageLanes =
        std::max(1, int((viewport()->height() - metrics().axisHeight) / metrics().laneHeight));
    const auto toLane = [&](int lane) { return nearestItem(std::clamp(lane, 0, lanes - 1), at); };
    switch (event->key()) {
    case Qt::Key_Left:
        focusItem({current.lane, std::max(current.mark - 1, marks.isEmpty() ? -1 : 0)});
        return;
    case Qt::Key_Right:
        focusItem({current.lane, std::min(current.mark + 1, int(marks.size()) - 1)});
        return;
    case Qt::Key_Home:
        focusItem({current.lane, marks.isEmpty() ? -1 : 0});
        return;
    case Qt::Key_End:
        focusItem({current.lane, int(marks.size()) - 1});
        return;
    case Qt::Key_Up:
        focusItem(toLane(current.lane - 1));
        return;
    case Qt::Key_Down:
        focusItem(toLane(current.lane + 1));
        return;
    case Qt::Key_PageUp:
        focusItem(toLane(current.lane - pageLanes));
        return;
    case Qt::Key_PageDown:
        focusItem(toLane(current.lane + pageLanes));
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        focusItem(current);
        chooseItem(current);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void TimelineCanvas::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    if (!m_focused && !m_timeline.lanes.isEmpty())
        m_focused = nearestItem(0, m_timeline.now);
    viewport()->update();
    announceFocus();
}

void TimelineCanvas::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

} // namespace Tempolane
