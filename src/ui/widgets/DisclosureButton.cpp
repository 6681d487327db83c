#include "DisclosureButton.h"

#include "FocusRing.h"
#include "Palette.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>

namespace Tempolane {

namespace {

constexpr int chevronInset = 6;
constexpr int chevronSide = 8;
constexpr int contentSpacing = 8;
constexpr qreal hoverRadius = 6;

} // namespace

DisclosureButton::DisclosureButton(const QString& accessibleName, int verticalPadding,
                                   QWidget* parent)
    : QAbstractButton(parent), m_layout(new QHBoxLayout(this))
{
    setAccessibleName(accessibleName);
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_layout->setContentsMargins(chevronInset + chevronSide + contentSpacing, verticalPadding,
                                 chevronInset, verticalPadding);
    m_layout->setSpacing(contentSpacing);
}

void DisclosureButton::addContent(QWidget* widget, int stretch)
{
    widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_layout->addWidget(widget, stretch);
}

void DisclosureButton::addStretch()
{
    m_layout->addStretch(1);
}

void DisclosureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (underMouse() || isDown()) {
        QColor wash = Palette::color(Tint::primary, palette());
        wash.setAlphaF(isDown() ? 0.09f : 0.045f);
        QPainterPath path;
        path.addRoundedRect(area, hoverRadius, hoverRadius);
        painter.fillPath(path, wash);
    }
    paintFocusRing(painter, *this, area, hoverRadius);

    // A chevron ">" turned a quarter clockwise when expanded.
    const QPointF centre(chevronInset + chevronSide / 2.0, height() / 2.0);
    painter.translate(centre);
    if (isChecked())
        painter.rotate(90);
    const qreal half = chevronSide / 2.0;
    QPainterPath chevron;
    chevron.moveTo(-half / 2, -half);
    chevron.lineTo(half / 2, 0);
    chevron.lineTo(-half / 2, half);
    painter.setPen(QPen(Palette::color(Tint::secondary, palette()), 1.6, Qt::SolidLine,
                        Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(chevron);
}

} // namespace Tempolane
