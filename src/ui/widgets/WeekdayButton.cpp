#include "WeekdayButton.h"

#include "FocusRing.h"
#include "Palette.h"

#include <QPainter>
#include <QPainterPath>

namespace Tempolane {

namespace {

constexpr QSizeF barSize(18, 2);
constexpr int labelToBar = 5;
constexpr int padding = 4;

} // namespace

WeekdayButton::WeekdayButton(const QString& shortLabel, const QString& fullName, QWidget* parent)
    : QAbstractButton(parent)
{
    setText(shortLabel);
    setAccessibleName(fullName);
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QFont WeekdayButton::labelFont() const
{
    QFont label = font();
    label.setWeight(isChecked() ? QFont::DemiBold : QFont::Normal);
    return label;
}

QSize WeekdayButton::sizeHint() const
{
    // Wide enough for the bold label, so choosing a day does not move its neighbours.
    QFont bold = font();
    bold.setWeight(QFont::DemiBold);
    const QFontMetrics metrics(bold);
    const int width = std::max(metrics.horizontalAdvance(text()), int(barSize.width()));
    return {width + 2 * padding,
            metrics.height() + labelToBar + int(barSize.height()) + 2 * padding};
}

void WeekdayButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor chosen = Palette::color(Tint::indigo, palette());
    const QFontMetrics metrics(labelFont());
    const QRect labelRect(0, padding, width(), metrics.height());
    painter.setFont(labelFont());
    painter.setPen(isChecked() ? chosen : Palette::color(Tint::secondary, palette()));
    painter.drawText(labelRect, Qt::AlignHCenter | Qt::AlignVCenter, text());

    const QRectF bar(QPointF((width() - barSize.width()) / 2, labelRect.bottom() + 1 + labelToBar),
                     barSize);
    if (isChecked()) {
        QPainterPath path;
        path.addRoundedRect(bar, 1, 1);
        painter.fillPath(path, chosen);
    }
    constexpr qreal ringRadius = 5;
    paintFocusRing(painter, *this, QRectF(rect()).adjusted(1, 1, -1, -1), ringRadius);
}

} // namespace Tempolane
