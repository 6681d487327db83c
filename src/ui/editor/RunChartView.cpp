#include "RunChartView.h"

#include "ItemPictureAccessible.h"
#include "Palette.h"
#include "RunMarks.h"
#include "Style.h"
#include "TextStyle.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOption>
#include <QToolTip>
#include <algorithm>
#include <cmath>

namespace Tempolane {

namespace {

// The chart is this many lines of caption text high; its bars at most this share of a line wide.
constexpr qreal heightInLines = 6;
constexpr qreal widestBar = 1.1;

} // namespace

RunChartView::RunChartView(QWidget* parent) : QWidget(parent)
{
    // Before anything asks for this widget's accessible interface, which Qt keeps once made.
    ItemPictureAccessible::install();
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(tr("Laufzeiten der letzten Ausführungen"));
}

void RunChartView::setChart(RunChart chart)
{
    if (chart.slots == m_chart.slots && chart.summary == m_chart.summary &&
        chart.median == m_chart.median)
        return;
    m_chart = std::move(chart);
    m_pixmap = {};
    if (m_focused && *m_focused >= m_chart.slots.size())
        m_focused.reset();
    ItemPictureAccessible::itemsChanged(this);
    update();
}

qreal RunChartView::lineHeight() const
{
    return QFontMetricsF(styledFont(TextStyle::caption)).height();
}

QSize RunChartView::sizeHint() const
{
    return {int(lineHeight() * 20), int(std::ceil(lineHeight() * heightInLines))};
}

QSize RunChartView::minimumSizeHint() const
{
    return {int(lineHeight() * 8), sizeHint().height()};
}

// Room above the bars for the sign on the tallest one, and below them for the axis marks.
QRectF RunChartView::plotArea() const
{
    const qreal line = lineHeight();
    return QRectF(rect()).adjusted(2, line * 0.9, -2, -line * 0.9);
}

QRect RunChartView::slotRect(qsizetype slot) const
{
    const qreal slotWidth = qreal(width() - 4) / std::max<qsizetype>(1, m_chart.slots.size());
    return QRectF(2 + slot * slotWidth, 0, slotWidth, height()).toAlignedRect();
}

QRect RunChartView::pictureItemScreenRect(int index) const
{
    const QRect local = slotRect(index);
    return {mapToGlobal(local.topLeft()), local.size()};
}

std::optional<int> RunChartView::slotAt(const QPoint& point) const
{
    if (m_chart.slots.isEmpty() || !rect().contains(point))
        return std::nullopt;
    const qreal slotWidth = qreal(width() - 4) / m_chart.slots.size();
    return std::clamp(int((point.x() - 2) / slotWidth), 0, int(m_chart.slots.size()) - 1);
}

void RunChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, chartPixmap());
    if (m_focused && hasFocus()) {
        QStyleOption option;
        option.initFrom(this);
        // The marks are reached with the arrow keys alone: the one in focus is always shown.
        option.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
        Style::drawFocusRing(&painter, &option, QRectF(slotRect(*m_focused)).adjusted(0, 1, 0, -1),
                             3);
    }
}

// The chart changes with the runs, the size, the palette or the font; a focus that moves or a
// window that comes back only shows it again.
const QPixmap& RunChartView::chartPixmap()
{
    const qreal ratio = devicePixelRatioF();
    if (!m_pixmap.isNull() && m_pixmap.deviceIndependentSize() == QSizeF(size()) &&
        m_pixmap.devicePixelRatio() == ratio)
        return m_pixmap;
    m_pixmap = QPixmap(size() * ratio);
    m_pixmap.setDevicePixelRatio(ratio);
    m_pixmap.fill(Qt::transparent);
    QPainter painter(&m_pixmap);
    const RunMarks::Colors colors(palette());
    const QRectF plot = plotArea();
    const qreal line = lineHeight();
    const qreal sign = std::round(line * 0.6);
    const QPointF signCentre(-(sign + 2) / 2, -(sign + 2) / 2);
    painter.fillRect(QRectF(plot.left(), plot.bottom(), plot.width(), 1),
                     Palette::role(Role::separator, palette()));
    const qsizetype count = m_chart.slots.size();
    const qreal slotWidth = plot.width() / std::max<qsizetype>(1, count);
    const qreal barWidth = std::max<qreal>(1, std::min(slotWidth * 0.7, line * widestBar));
    const auto heightOf = [&](std::int64_t duration) {
        return plot.height() * qreal(duration) / qreal(m_chart.scaleTop);
    };
    for (qsizetype index = 0; index < count; ++index) {
        const RunChartSlot& slot = m_chart.slots[index];
        const qreal centre = plot.left() + (index + 0.5) * slotWidth;
        const QPixmap& slotSign = m_signs.of(slot.shape, sign, ratio, palette());
        if (slot.shape == RunShape::missed || slot.shape == RunShape::interrupted) {
            // Nothing to measure: the sign stands on the axis.
            painter.drawPixmap(QPointF(centre, plot.bottom()) + signCentre, slotSign);
            continue;
        }
        // A run too short to be seen still gets a sliver.
        const qreal height = std::max<qreal>(1, heightOf(slot.duration.value_or(0)));
        const QRectF bar(centre - barWidth / 2, plot.bottom() - height, barWidth, height);
        RunMarks::drawChartBar(painter, bar, slot.shape, colors);
        if (slot.shape == RunShape::failed)
            painter.drawPixmap(QPointF(centre, bar.top() - sign / 2 - 1) + signCentre, slotSign);
    }
    if (m_chart.median) {
        const qreal y = std::round(plot.bottom() - heightOf(*m_chart.median));
        RunMarks::drawDashedLine(painter, QRectF(plot.left(), y, plot.width(), 1),
                                 Palette::role(Role::chartMedian, palette()));
    }
    return m_pixmap;
}

bool RunChartView::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    if (const auto slot = slotAt(help->pos()))
        QToolTip::showText(help->globalPos(), m_chart.slotText(*slot), this, slotRect(*slot));
    else
        QToolTip::hideText();
    return true;
}

void RunChartView::focusPictureItem(int index)
{
    if (index < 0 || index >= m_chart.slots.size())
        return;
    m_focused = index;
    update();
    if (hasFocus())
        ItemPictureAccessible::focusMoved(this, index);
}

void RunChartView::choosePictureItem(int index)
{
    if (index >= 0 && index < m_chart.slots.size() && !m_chart.slots[index].recordId.isEmpty())
        Q_EMIT runChosen(m_chart.slots[index].recordId);
}

void RunChartView::mousePressEvent(QMouseEvent* event)
{
    const auto slot = slotAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !slot)
        return QWidget::mousePressEvent(event);
    focusPictureItem(*slot);
    choosePictureItem(*slot);
}

void RunChartView::keyPressEvent(QKeyEvent* event)
{
    const int last = int(m_chart.slots.size()) - 1;
    if (last < 0)
        return QWidget::keyPressEvent(event);
    const int current = m_focused.value_or(last);
    switch (event->key()) {
    case Qt::Key_Left:
        focusPictureItem(std::max(0, current - 1));
        return;
    case Qt::Key_Right:
        focusPictureItem(std::min(last, current + 1));
        return;
    case Qt::Key_Home:
        focusPictureItem(0);
        return;
    case Qt::Key_End:
        focusPictureItem(last);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        choosePictureItem(current);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void RunChartView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    // The newest run first: the one a reader most likely asks about.
    if (!m_focused && !m_chart.slots.isEmpty())
        m_focused = int(m_chart.slots.size()) - 1;
    if (m_focused)
        ItemPictureAccessible::focusMoved(this, *m_focused);
    update();
}

void RunChartView::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void RunChartView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::ApplicationFontChange:
    case QEvent::PaletteChange:
    case QEvent::ApplicationPaletteChange:
        m_signs.clear();
        m_pixmap = {};
        updateGeometry();
        update();
        break;
    default:
        break;
    }
}

} // namespace Tempolane
