#pragma once

#include <QHash>
#include <QIcon>
#include <QStyledItemDelegate>

namespace Tempolane {

// One filter per row: its symbol in the filter's colour, its title, and the count at the right
// in tertiary caption digits, on a rounded selection.
class SidebarDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int inset = 10;
    static constexpr int rowHeight = 30;

    explicit SidebarDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const QIcon& iconFor(const QModelIndex& index) const;

    QFont m_titleFont;
    QFont m_countFont;
    mutable QHash<int, QIcon> m_icons;
};

} // namespace Tempolane
