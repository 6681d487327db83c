#include "DisclosureButton.h"

#include "DisclosureChevron.h"
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

    paintDisclosureChevron(painter, QPointF(chevronInset + chevronSide / 2.0, height() / 2.0),
                           chevronSide, isChecked(), Palette::color(Tint::secondary, palette()));
}

} // namespace Tempolane
