#include "JobRowDelegate.h"

#include "JobListModel.h"
#include "Palette.h"
#include "Style.h"
#include "SymbolIcon.h"
#include "TextStyle.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

namespace Tempolane {

namespace {

constexpr qreal cornerRadius = 10;

int lineHeight(const QFont& font)
{
    return QFontMetrics(font).height();
}

} // namespace

JobRowDelegate::JobRowDelegate(QObject* parent)
    : QStyledItemDelegate(parent), m_nameFont(styledFont(TextStyle::headline)),
      m_descriptionFont(styledFont(TextStyle::subheadline)),
      m_statusFont(styledFont(TextStyle::caption)),
      m_monospacedFont(styledFont(TextStyle::caption, true)),
      m_symbolSide(symbolSide(TextStyle::caption)),
      m_mark(symbolIcon(Symbol::warningFill, {Tint::orange}))
{
}

QRect JobRowDelegate::markRect(const QRect& row) const
{
    const QRect content = row.adjusted(inset + horizontalPadding, 1 + verticalPadding,
                                       -inset - horizontalPadding, -1 - verticalPadding);
    const int statusTop =
        content.top() + lineHeight(m_nameFont) + lineHeight(m_descriptionFont) + 2 * lineSpacing;
    return {content.left(), statusTop + (lineHeight(m_statusFont) - m_symbolSide) / 2, m_symbolSide,
            m_symbolSide};
}

bool JobRowDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                               const QStyleOptionViewItem& option, const QModelIndex& index)
{
    const QString problem = index.data(Qt::AccessibleDescriptionRole).toString();
    if (event->type() == QEvent::ToolTip && !problem.isEmpty() &&
        markRect(option.rect).contains(event->pos())) {
        QToolTip::showText(event->globalPos(), problem, view, markRect(option.rect));
        return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

QSize JobRowDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    const int lines = lineHeight(m_nameFont) + lineHeight(m_descriptionFont) +
                      lineHeight(m_statusFont) + lineHeight(m_monospacedFont) + 3 * lineSpacing;
    // No width of its own: the list makes each row as wide as its viewport, which narrows when
    // the vertical scroll bar appears. Rows measured at the wider width would run under the
    // scroll bar and bring a horizontal one.
    return {0, lines + 2 * verticalPadding + 2};
}

const QIcon& JobRowDelegate::iconFor(const JobStatusBadge& status) const
{
    const QPair<int, int> key(int(status.symbol), int(status.tint));
    auto found = m_icons.find(key);
    if (found == m_icons.end())
        found = m_icons.insert(
            key, symbolIcon(status.symbol, {status.tint, SymbolRendering::hierarchical}));
    return *found;
}

void JobRowDelegate::paintBackground(QPainter* painter, const QStyleOptionViewItem& option,
                                     const QRect& card) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const bool hovered = option.state & QStyle::State_MouseOver;
    if (selected || hovered) {
        const QColor fill =
            Palette::role(selected ? Role::rowSelected : Role::rowHover, option.palette);
        QPainterPath path;
        path.addRoundedRect(QRectF(card), cornerRadius, cornerRadius);
        painter->fillPath(path, fill);
    }
    Style::drawFocusRing(painter, &option, QRectF(card).adjusted(0.5, 0.5, -0.5, -0.5),
                         cornerRadius);
}

void JobRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const
{
    const auto row = index.data(JobListModel::RowRole).value<JobRow>();
    const QString statusLine = index.data(JobListModel::StatusLineRole).toString();
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& palette = option.palette;

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRect card = option.rect.adjusted(inset, 1, -inset, -1);
    paintBackground(painter, option, card);

    const QRect content =
        card.adjusted(horizontalPadding, verticalPadding, -horizontalPadding, -verticalPadding);
    // Laid out left to right, then mirrored in a right-to-left layout.
    const auto shown = [&](const QRect& area) {
        return QStyle::visualRect(option.direction, card, area);
    };
    const QRect symbolRect(content.left(), content.top() + symbolTopOffset, m_symbolSide,
                           m_symbolSide);
    // A paused row fades its symbol; its texts stay as readable as any other row's.
    painter->save();
    painter->setOpacity(row.opacity * (row.status.pulses ? m_pulseOpacity : 1));
    iconFor(row.status).paint(painter, shown(symbolRect));
    painter->restore();
    if (!row.problem.isEmpty())
        m_mark.paint(painter, markRect(option.rect));

    QRect line = content.adjusted(m_symbolSide + symbolSpacing, 0, 0, 0);
    const int leading = int(QStyle::visualAlignment(option.direction, Qt::AlignLeft));
    const auto drawLine = [&](const QFont& font, const QColor& color, const QString& text,
                              const QRect& area, bool isCode = false) {
        painter->setFont(font);
        painter->setPen(color);
        const QString elided = QFontMetrics(font).elidedText(text, Qt::ElideRight, area.width());
        // The schedule and the command are code: left to right in every layout.
        const int direction = isCode ? int(Qt::TextForceLeftToRight) : 0;
        painter->drawText(shown(area), leading | Qt::AlignVCenter | Qt::TextSingleLine | direction,
                          elided);
    };
    const auto advance = [&](const QFont& font) {
        line.setHeight(lineHeight(font));
        const QRect area = line;
        line.moveTop(line.bottom() + 1 + lineSpacing);
        return area;
    };

    // Line 1: the name, with the raw schedule at its right end.
    const QRect nameLine = advance(m_nameFont);
    // A pixel of slack: eliding measures a little wider than the advance.
    const int scheduleWidth =
        std::min(QFontMetrics(m_monospacedFont).horizontalAdvance(row.scheduleExpression) + 2,
                 nameLine.width() / 2);
    const QRect scheduleArea(nameLine.right() - scheduleWidth + 1, nameLine.top(), scheduleWidth,
                             nameLine.height());
    const QColor scheduleColor =
        Palette::role(selected ? Role::selectedScheduleText : Role::scheduleText, palette);
    drawLine(m_monospacedFont, scheduleColor, row.scheduleExpression, scheduleArea, true);
    drawLine(m_nameFont, Palette::color(Tint::primary, palette), row.name,
             nameLine.adjusted(0, 0, -(scheduleWidth + scheduleGap), 0));

    drawLine(m_descriptionFont, Palette::color(selected ? Tint::primary : Tint::indigo, palette),
             row.scheduleDescription, advance(m_descriptionFont));
    drawLine(m_statusFont, Palette::color(row.status.tint, palette), statusLine,
             advance(m_statusFont));
    drawLine(m_monospacedFont, Palette::color(Tint::secondary, palette), row.command,
             advance(m_monospacedFont), true);
    painter->restore();
}

} // namespace Tempolane
