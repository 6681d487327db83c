#include "Style.h"

#include "Palette.h"
#include "TextStyle.h"

#include <QFrame>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyleOption>
#include <algorithm>

namespace Tempolane {

namespace {

// Tinted buttons: their padding around the label, the gap between symbol and text, their
// corners. At the usual font size the button is 30 high; a larger font makes it taller.
constexpr int buttonPadding = 12;
constexpr int buttonVerticalPadding = 6;
constexpr int buttonLeastHeight = 30;
constexpr int iconSpacing = 6;
constexpr qreal buttonRadius = 8;
constexpr qreal focusRingWidth = 1.5;
constexpr qreal disabledOpacity = 0.45;
constexpr qreal disabledProminentOpacity = 0.4;

std::optional<Tint> tintOf(const QWidget* widget)
{
    if (!widget || !qobject_cast<const QPushButton*>(widget))
        return std::nullopt;
    const QVariant tint = widget->property("tint");
    if (!tint.isValid())
        return std::nullopt;
    return Tint(tint.toInt());
}

bool isProminent(const QWidget* widget)
{
    return widget->property("prominent").toBool();
}

// The symbol in the label's colour, whatever its own tint.
QImage tinted(const QIcon& icon, QSize size, qreal pixelRatio, const QColor& color)
{
    QImage image = icon.pixmap(size, pixelRatio).toImage();
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    return image;
}

void drawBusyArc(QPainter* painter, const QRectF& area, qreal angle, const QColor& color)
{
    const qreal side = symbolSide(TextStyle::body) - 4;
    const QRectF arc(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
    painter->setPen(QPen(color, 2, Qt::SolidLine, Qt::RoundCap));
    painter->setBrush(Qt::NoBrush);
    painter->drawArc(arc, -int(angle * 16), 270 * 16);
}

} // namespace

Style::Style() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

void Style::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                        const QWidget* widget) const
{
    if (element == CE_PushButton && drawTintedButton(option, painter, widget))
        return;
    if (element == CE_ShapedFrame && drawLine(option, painter))
        return;
    QProxyStyle::drawControl(element, option, painter, widget);
}

QSize Style::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                              const QWidget* widget) const
{
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
    if (type != CT_PushButton || !button || !tintOf(widget))
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    const QFontMetrics& metrics = button->fontMetrics;
    const bool hasIcon = !button->icon.isNull();
    const int iconWidth = hasIcon ? button->iconSize.width() + iconSpacing : 0;
    const int iconHeight = hasIcon ? button->iconSize.height() : 0;
    return {metrics.horizontalAdvance(button->text) + iconWidth + 2 * buttonPadding,
            std::max(buttonLeastHeight,
                     std::max(metrics.height(), iconHeight) + 2 * buttonVerticalPadding)};
}

void Style::polish(QWidget* widget)
{
    QProxyStyle::polish(widget);
    // The wash under the pointer needs hover events.
    if (tintOf(widget))
        widget->setAttribute(Qt::WA_Hover);
}

bool Style::drawTintedButton(const QStyleOption* option, QPainter* painter,
                             const QWidget* widget) const
{
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
    const std::optional<Tint> tint = tintOf(widget);
    if (!button || !tint)
        return false;
    const QPalette& palette = option->palette;
    const bool prominent = isProminent(widget);
    const bool enabled = option->state & State_Enabled;
    const bool pressed = option->state & (State_Sunken | State_On);
    const bool hovered = enabled && (option->state & State_MouseOver);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (!enabled)
        painter->setOpacity(prominent ? disabledProminentOpacity : disabledOpacity);
    const QRectF area = QRectF(option->rect).adjusted(1, 1, -1, -1);
    QPainterPath path;
    path.addRoundedRect(area, buttonRadius, buttonRadius);
    if (prominent) {
        QColor fill = Palette::color(*tint, palette);
        if (pressed)
            fill = fill.darker(115);
        else if (hovered)
            fill = fill.lighter(108);
        painter->fillPath(path.translated(0, 0.75), Palette::role(Role::prominentShadow, palette));
        painter->fillPath(path, fill);
    } else if (pressed || hovered) {
        painter->fillPath(
            path, Palette::role(pressed ? Role::buttonPressed : Role::buttonHover, palette));
    }
    drawFocusRing(painter, option, area, buttonRadius);

    const QColor content =
        prominent ? Palette::role(Role::onProminent, palette) : Palette::color(*tint, palette);
    if (widget->property("busy").toBool()) {
        drawBusyArc(painter, area, widget->property("busyAngle").toReal(), content);
        painter->restore();
        return true;
    }
    const bool hasIcon = !button->icon.isNull();
    const QSize iconSize = hasIcon ? button->iconSize : QSize();
    const int symbolWidth = hasIcon ? iconSize.width() + iconSpacing : 0;
    const int textWidth = button->fontMetrics.horizontalAdvance(button->text);
    const QRect rect = option->rect;
    const int left = rect.left() + (rect.width() - symbolWidth - textWidth) / 2;
    if (hasIcon) {
        const QRect iconRect(QPoint(left, rect.top() + (rect.height() - iconSize.height()) / 2),
                             iconSize);
        painter->drawImage(iconRect,
                           tinted(button->icon, iconSize, widget->devicePixelRatioF(), content));
    }
    painter->setPen(content);
    painter->drawText(QRect(left + symbolWidth, rect.top(), textWidth + 1, rect.height()),
                      Qt::AlignVCenter | Qt::AlignLeft | Qt::TextHideMnemonic, button->text);
    painter->restore();
    return true;
}

bool Style::drawLine(const QStyleOption* option, QPainter* painter) const
{
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    if (!frame || (frame->frameShape != QFrame::HLine && frame->frameShape != QFrame::VLine))
        return false;
    const QRect rect = option->rect;
    const QRect line = frame->frameShape == QFrame::HLine
                           ? QRect(rect.left(), rect.center().y(), rect.width(), 1)
                           : QRect(rect.center().x(), rect.top(), 1, rect.height());
    painter->fillRect(line, Palette::role(Role::separator, option->palette));
    return true;
}

void Style::drawFocusRing(QPainter* painter, const QStyleOption* option, const QRectF& area,
                          qreal radius)
{
    // Only where the focus came from the keyboard, as the platform's controls do.
    if (!(option->state & State_HasFocus) || !(option->state & State_KeyboardFocusChange))
        return;
    painter->save();
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(Palette::role(Role::focusRing, option->palette), focusRingWidth));
    painter->drawRoundedRect(area, radius, radius);
    painter->restore();
}

} // namespace Tempolane
