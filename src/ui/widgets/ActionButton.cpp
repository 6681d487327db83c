#include "ActionButton.h"

#include "FocusRing.h"
#include "Palette.h"
#include "SymbolIcon.h"
#include "TextStyle.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace Tempolane {

namespace {

constexpr int horizontalPadding = 12;
constexpr int iconSpacing = 6;
// At the usual font size the button is 30 high; a larger font makes it taller.
constexpr int buttonHeight = 30;
constexpr int verticalPadding = 6;
constexpr qreal radius = 8;
constexpr int spinMilliseconds = 900;

} // namespace

ActionButton::ActionButton(const QString& text, std::optional<Symbol> symbol, Style style,
                           Tint tint, QWidget* parent)
    : QPushButton(text, parent), m_icon(symbol ? symbolIcon(*symbol) : QIcon()), m_style(style),
      m_tint(tint)
{
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    if (style == Style::prominent) {
        QFont semibold = font();
        semibold.setWeight(QFont::DemiBold);
        setFont(semibold);
    }
    m_spin.setStartValue(0.0);
    m_spin.setEndValue(360.0);
    m_spin.setDuration(spinMilliseconds);
    m_spin.setLoopCount(-1);
    connect(&m_spin, &QVariantAnimation::valueChanged, this, [this] { update(); });
}

void ActionButton::setBusy(bool isBusy)
{
    if (m_isBusy == isBusy)
        return;
    m_isBusy = isBusy;
    updateAnimation();
    update();
}

int ActionButton::iconSide() const
{
    return m_icon.isNull() ? 0 : symbolSide(TextStyle::body) - 2;
}

QSize ActionButton::sizeHint() const
{
    const int symbolWidth = m_icon.isNull() ? 0 : iconSide() + iconSpacing;
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text()) + symbolWidth + 2 * horizontalPadding,
            std::max(buttonHeight, std::max(metrics.height(), iconSide()) + 2 * verticalPadding)};
}

QColor ActionButton::contentColor() const
{
    if (m_style == Style::prominent)
        return Qt::white;
    return Palette::color(m_tint, palette());
}

void ActionButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(m_style == Style::prominent ? 0.4 : 0.45);
    paintBackground(painter);
    const QColor color = contentColor();
    if (m_isBusy)
        paintBusyIndicator(painter, color);
    else
        paintContent(painter, color);
}

void ActionButton::paintBackground(QPainter& painter) const
{
    const QRectF area = QRectF(rect()).adjusted(1, 1, -1, -1);
    QPainterPath path;
    path.addRoundedRect(area, radius, radius);
    const bool pressed = isDown();
    const bool hovered = underMouse() && isEnabled();
    if (m_style == Style::prominent) {
        QColor fill = Palette::color(m_tint, palette());
        if (pressed)
            fill = fill.darker(115);
        else if (hovered)
            fill = fill.lighter(108);
        painter.fillPath(path.translated(0, 0.75), QColor(0, 0, 0, 30));
        painter.fillPath(path, fill);
    } else if (pressed || hovered) {
        QColor wash = Palette::color(Tint::primary, palette());
        wash.setAlphaF(pressed ? 0.12f : 0.06f);
        painter.fillPath(path, wash);
    }
    paintFocusRing(painter, *this, area, radius);
}

void ActionButton::paintContent(QPainter& painter, const QColor& color) const
{
    const int side = iconSide();
    const int symbolWidth = m_icon.isNull() ? 0 : side + iconSpacing;
    const int textWidth = QFontMetrics(font()).horizontalAdvance(text());
    const int left = (width() - symbolWidth - textWidth) / 2;
    if (!m_icon.isNull()) {
        // The symbol is drawn in the label's colour, whatever its own tint.
        const QRect iconRect(left, (height() - side) / 2, side, side);
        QImage icon = m_icon.pixmap(iconRect.size(), devicePixelRatioF()).toImage();
        QPainter tint(&icon);
        tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tint.fillRect(icon.rect(), color);
        tint.end();
        painter.drawImage(iconRect, icon);
    }
    painter.setPen(color);
    painter.drawText(QRect(left + symbolWidth, 0, textWidth + 1, height()),
                     Qt::AlignVCenter | Qt::AlignLeft, text());
}

void ActionButton::paintBusyIndicator(QPainter& painter, const QColor& color) const
{
    const qreal side = symbolSide(TextStyle::body) - 4;
    const QRectF arc(width() / 2.0 - side / 2, height() / 2.0 - side / 2, side, side);
    painter.setPen(QPen(color, 2, Qt::SolidLine, Qt::RoundCap));
    const int start = -int(m_spin.currentValue().toReal() * 16);
    painter.drawArc(arc, start, 270 * 16);
}

void ActionButton::showEvent(QShowEvent* event)
{
    QPushButton::showEvent(event);
    updateAnimation();
}

void ActionButton::hideEvent(QHideEvent* event)
{
    QPushButton::hideEvent(event);
    updateAnimation();
}

void ActionButton::updateAnimation()
{
    if (m_isBusy && isVisible())
        m_spin.start();
    else
        m_spin.stop();
}

} // namespace Tempolane
