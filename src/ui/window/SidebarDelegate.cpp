#include "SidebarDelegate.h"

#include "Palette.h"
#include "SidebarModel.h"
#include "Style.h"
#include "SymbolIcon.h"
#include "TextStyle.h"

#include <QPainter>
#include <QPainterPath>

namespace Tempolane {

namespace {

constexpr int padding = 8;
constexpr int iconSpacing = 9;
constexpr qreal cornerRadius = 8;

} // namespace

SidebarDelegate::SidebarDelegate(QObject* parent)
    : QStyledItemDelegate(parent), m_titleFont(styledFont(TextStyle::body)),
      m_countFont(styledFont(TextStyle::caption))
{
}

QSize SidebarDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    // No width of its own: each row is as wide as the list, which never scrolls sideways.
    return {0, std::max(rowHeight, QFontMetrics(m_titleFont).height() + 12)};
}

const QIcon& SidebarDelegate::iconFor(const QModelIndex& index) const
{
    const int row = index.row();
    auto found = m_icons.find(row);
    if (found == m_icons.end())
        found = m_icons.insert(
            row, symbolIcon(index.data(SidebarModel::SymbolRole).value<Symbol>(),
                            index.data(SidebarModel::SymbolStyleRole).value<SymbolStyle>()));
    return *found;
}

void SidebarDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const
{
    const QPalette& palette = option.palette;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRect card = option.rect.adjusted(inset, 1, -inset, -1);
    if (option.state & (QStyle::State_Selected | QStyle::State_MouseOver)) {
        const QColor fill = Palette::role(
            option.state & QStyle::State_Selected ? Role::sidebarSelected : Role::rowHover,
            palette);
        QPainterPath path;
        path.addRoundedRect(QRectF(card), cornerRadius, cornerRadius);
        painter->fillPath(path, fill);
    }
    Style::drawFocusRing(painter, &option, QRectF(card).adjusted(0.5, 0.5, -0.5, -0.5),
                         cornerRadius);

    // Laid out left to right, then mirrored in a right-to-left layout.
    const auto shown = [&](const QRect& area) {
        return QStyle::visualRect(option.direction, card, area);
    };
    const QRect content = card.adjusted(padding, 0, -padding, 0);
    const int side = symbolSide(TextStyle::body);
    const QRect iconRect(content.left(), content.center().y() - side / 2, side, side);
    iconFor(index).paint(painter, shown(iconRect));

    // The count keeps its whole width, with a pixel of slack; the title gives way.
    const QString count = index.data(SidebarModel::CountTextRole).toString();
    const int countWidth = QFontMetrics(m_countFont).horizontalAdvance(count) + 1;
    painter->setFont(m_countFont);
    painter->setPen(Palette::color(Tint::tertiary, palette));
    painter->drawText(
        shown(QRect(content.right() - countWidth + 1, content.top(), countWidth, content.height())),
        int(QStyle::visualAlignment(option.direction, Qt::AlignRight)) | Qt::AlignVCenter, count);

    const QRect titleRect(iconRect.right() + 1 + iconSpacing, content.top(),
                          content.right() - countWidth - padding - iconRect.right() - iconSpacing,
                          content.height());
    painter->setFont(m_titleFont);
    painter->setPen(Palette::color(Tint::primary, palette));
    const QString title = index.data(Qt::DisplayRole).toString();
    painter->drawText(
        shown(titleRect),
        int(QStyle::visualAlignment(option.direction, Qt::AlignLeft)) | Qt::AlignVCenter,
        QFontMetrics(m_titleFont).elidedText(title, Qt::ElideRight, titleRect.width()));
    painter->restore();
}

} // namespace Tempolane
