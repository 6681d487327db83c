#pragma once

#include "JobRow.h"

#include <QHash>
#include <QIcon>
#include <QStyledItemDelegate>

namespace Tempolane {

// Paints one job per row: the status symbol beside four lines (name and raw schedule, the
// schedule's description, the status, the command), on a rounded selection inset from the
// list's edges, and below the symbol a warning mark for a job the checks found wrong, whose
// tooltip tells what. Reads only the model's roles and the option's palette.
class JobRowDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int inset = 8;
    static constexpr int verticalPadding = 7;
    static constexpr int horizontalPadding = 10;
    static constexpr int lineSpacing = 5;
    static constexpr int symbolSpacing = 12;
    static constexpr int symbolTopOffset = 4;
    static constexpr int scheduleGap = 4;

    explicit JobRowDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // The opacity of pulsing symbols at this moment, driven by the list while it is visible.
    void setPulseOpacity(qreal opacity) { m_pulseOpacity = opacity; }
    // Where the warning mark stands in a row, beside the status line.
    QRect markRect(const QRect& row) const;

private:
    const QIcon& iconFor(const JobStatusBadge& status) const;
    void paintBackground(QPainter* painter, const QStyleOptionViewItem& option,
                         const QRect& card) const;

    QFont m_nameFont;
    QFont m_descriptionFont;
    QFont m_statusFont;
    QFont m_monospacedFont;
    int m_symbolSide;
    qreal m_pulseOpacity = 1;
    mutable QHash<QPair<int, int>, QIcon> m_icons;
    QIcon m_mark;
};

} // namespace Tempolane
