#include "Style.h"

#include "Palette.h"
#include "TextStyle.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <optional>

namespace Tempolane {

namespace {

constexpr char controlProperty[] = "tempolaneControl";
constexpr char tintProperty[] = "tempolaneTint";

std::optional<Style::Control> controlOf(const QWidget* widget)
{
    const QVariant value = widget ? widget->property(controlProperty) : QVariant();
    if (!value.isValid())
        return std::nullopt;
    return Style::Control(value.toInt());
}

bool is(const QWidget* widget, Style::Control control)
{
    return controlOf(widget) == control;
}

QPainterPath roundedPath(const QRectF& area, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(area, radius, radius);
    return path;
}

QFont boldFont(QFont font)
{
    font.setWeight(QFont::DemiBold);
    return font;
}

// The switch: a track 22 by 38 and a label spacing of 10 at a 14-pixel line; a larger font
// grows them in step.
constexpr qreal switchHeightPerLine = 22.0 / 14;
constexpr qreal switchWidthPerHeight = 38.0 / 22;
constexpr qreal switchSpacingPerLine = 10.0 / 14;
constexpr qreal knobInset = 2;
constexpr int ringMargin = 1;
constexpr qreal disabledOpacity = 0.45;

QSize switchTrackSize(const QFontMetrics& metrics)
{
    const int height = qRound(metrics.height() * switchHeightPerLine);
    return {qRound(height * switchWidthPerHeight), height};
}

int switchSpacing(const QFontMetrics& metrics)
{
    return qRound(metrics.height() * switchSpacingPerLine);
}

// Segments: 24 high at a 14-pixel line, a little wider than their bold title.
constexpr qreal segmentHeightPerLine = 24.0 / 14;
constexpr int segmentTextMargin = 24;
constexpr qreal segmentRowRadius = 8;
constexpr qreal segmentRadius = 6.5;

// Weekdays: the bar is as wide as 18 of a 14-pixel line and 2 high, 5 below the label.
constexpr qreal weekdayBarPerLine = 18.0 / 14;
constexpr qreal weekdayBarHeight = 2;
constexpr int weekdayLabelToBar = 5;
constexpr int weekdayPadding = 4;

// Disclosure: an arrow of 8 at a 14-pixel line, 6 from the edge and 8 before the content.
constexpr qreal arrowPerLine = 8.0 / 14;
constexpr int arrowInset = 6;
constexpr int disclosureSpacing = 8;
constexpr qreal disclosureRadius = 6;

qreal arrowSide(const QFontMetrics& metrics)
{
    return std::round(metrics.height() * arrowPerLine);
}

// Tinted buttons: their padding around the label, the gap between symbol and text, their
// corners. At the usual font size the button is 30 high; a larger font makes it taller.
constexpr int buttonPadding = 12;
constexpr int buttonVerticalPadding = 6;
constexpr int buttonLeastHeight = 30;
constexpr int iconSpacing = 6;
constexpr qreal buttonRadius = 8;
constexpr qreal focusRingWidth = 1.5;

// The tint of a push button marked as a plain or prominent button; none for any other widget.
std::optional<Tint> tintOf(const QWidget* widget)
{
    const bool isButton =
        is(widget, Style::Control::button) || is(widget, Style::Control::prominentButton);
    if (!isButton || !qobject_cast<const QPushButton*>(widget))
        return std::nullopt;
    return Tint(widget->property(tintProperty).toInt());
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

void Style::mark(QWidget* widget, Control control, Tint tint)
{
    widget->setProperty(controlProperty, int(control));
    widget->setProperty(tintProperty, int(tint));
}

Style::Style() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int Style::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    if (metric == PM_DisclosureIndent) {
        const QFontMetrics metrics = option   ? option->fontMetrics
                                     : widget ? widget->fontMetrics()
                                              : QFontMetrics(QApplication::font());
        return arrowInset + int(arrowSide(metrics)) + disclosureSpacing;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QRect Style::subElementRect(SubElement element, const QStyleOption* option,
                            const QWidget* widget) const
{
    if (!is(widget, Control::toggleSwitch))
        return QProxyStyle::subElementRect(element, option, widget);
    // The label leads, the track stands at the trailing end.
    const QRect area = option->rect.adjusted(ringMargin, ringMargin, -ringMargin, -ringMargin);
    const QSize track = switchTrackSize(option->fontMetrics);
    const QRect trackRect(area.right() + 1 - track.width(),
                          area.top() + (area.height() - track.height()) / 2, track.width(),
                          track.height());
    QRect result;
    switch (element) {
    case SE_CheckBoxIndicator:
        result = trackRect;
        break;
    case SE_CheckBoxFocusRect:
        result = trackRect.adjusted(-ringMargin, -ringMargin, ringMargin, ringMargin);
        break;
    case SE_CheckBoxContents:
        result = QRect(area.topLeft(), QPoint(trackRect.left() - switchSpacing(option->fontMetrics),
                                              area.bottom()));
        break;
    default:
        return option->rect;
    }
    return visualRect(option->direction, option->rect, result);
}

QSize Style::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                              const QWidget* widget) const
{
    const std::optional<Control> control = controlOf(widget);
    if (type == CT_CheckBox && control == Control::toggleSwitch) {
        const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
        const QSize track = switchTrackSize(option->fontMetrics);
        const int label = button && !button->text.isEmpty()
                              ? option->fontMetrics.horizontalAdvance(button->text) +
                                    switchSpacing(option->fontMetrics)
                              : 0;
        return QSize(label + track.width(),
                     std::max(option->fontMetrics.height(), track.height())) +
               QSize(2 * ringMargin, 2 * ringMargin);
    }
    if (type == CT_ToolButton && (control == Control::segment || control == Control::weekday)) {
        const auto* button = qstyleoption_cast<const QStyleOptionToolButton*>(option);
        // Wide enough for the bold title, so choosing does not move the neighbours.
        const QFontMetrics bold(boldFont(widget->font()));
        const int text = button ? bold.horizontalAdvance(button->text) : 0;
        if (control == Control::segment)
            return {text + segmentTextMargin, qRound(bold.height() * segmentHeightPerLine)};
        const int bar = qRound(bold.height() * weekdayBarPerLine);
        return {std::max(text, bar) + 2 * weekdayPadding,
                bold.height() + weekdayLabelToBar + int(weekdayBarHeight) + 2 * weekdayPadding};
    }
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
    if (type == CT_PushButton && button && tintOf(widget)) {
        const QFontMetrics& metrics = button->fontMetrics;
        const bool hasIcon = !button->icon.isNull();
        const int iconWidth = hasIcon ? button->iconSize.width() + iconSpacing : 0;
        const int iconHeight = hasIcon ? button->iconSize.height() : 0;
        return {metrics.horizontalAdvance(button->text) + iconWidth + 2 * buttonPadding,
                std::max(buttonLeastHeight,
                         std::max(metrics.height(), iconHeight) + 2 * buttonVerticalPadding)};
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

void Style::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                          const QWidget* widget) const
{
    const bool arrow = element == PE_IndicatorArrowRight || element == PE_IndicatorArrowLeft ||
                       element == PE_IndicatorArrowDown;
    if (arrow && is(widget, Control::disclosure))
        return drawDisclosureArrow(element, *option, *painter);
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void Style::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                        const QWidget* widget) const
{
    if (element == CE_CheckBox && is(widget, Control::toggleSwitch))
        return drawSwitch(*option, *painter, *widget);
    if (element == CE_ShapedFrame && is(widget, Control::segmentRow))
        return drawSegmentRow(*option, *painter);
    if (element == CE_PushButton && drawTintedButton(option, painter, widget))
        return;
    if (element == CE_MenuItem && drawHighlightedMenuItem(option, painter, widget))
        return;
    if (element == CE_ShapedFrame && drawLine(option, painter))
        return;
    QProxyStyle::drawControl(element, option, painter, widget);
}

void Style::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                               QPainter* painter, const QWidget* widget) const
{
    const auto* button = qstyleoption_cast<const QStyleOptionToolButton*>(option);
    if (control == CC_ToolButton && button) {
        switch (controlOf(widget).value_or(Control::toggleSwitch)) {
        case Control::segment:
            return drawSegment(*button, *painter);
        case Control::weekday:
            return drawWeekday(*button, *painter);
        case Control::disclosure:
            return drawDisclosure(*button, *painter, *widget);
        case Control::toggleSwitch:
        case Control::segmentRow:
        case Control::button:
        case Control::prominentButton:
            break;
        }
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

void Style::drawSwitch(const QStyleOption& option, QPainter& painter, const QWidget& widget) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (!(option.state & State_Enabled))
        painter.setOpacity(disabledOpacity);
    if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(&option)) {
        painter.setPen(option.palette.color(QPalette::Active, QPalette::WindowText));
        painter.drawText(subElementRect(SE_CheckBoxContents, &option, &widget),
                         int(Qt::AlignVCenter) | int(Qt::AlignLeading), button->text);
    }

    const bool on = option.state & State_On;
    const QRectF track = subElementRect(SE_CheckBoxIndicator, &option, &widget);
    const auto tint = Tint(widget.property(tintProperty).toInt());
    painter.fillPath(roundedPath(track, track.height() / 2),
                     on ? Palette::color(tint, option.palette)
                        : Palette::role(Role::switchTrackOff, option.palette));

    // The knob stands at the end that says "on": the trailing end.
    const qreal knob = track.height() - 2 * knobInset;
    const bool trailing = on == (option.direction == Qt::LeftToRight);
    const qreal x = trailing ? track.right() - knobInset - knob : track.left() + knobInset;
    const QRectF knobRect(x, track.top() + knobInset, knob, knob);
    constexpr qreal shadowOffset = 0.6;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::role(Role::switchKnobShadow, option.palette));
    painter.drawEllipse(knobRect.translated(0, shadowOffset));
    painter.setBrush(Palette::role(Role::switchKnob, option.palette));
    painter.drawEllipse(knobRect);

    constexpr qreal ringGap = 1.5;
    drawFocusRing(&painter, &option, track.adjusted(-ringGap, -ringGap, ringGap, ringGap),
                  track.height() / 2 + ringGap);
    painter.restore();
}

void Style::drawSegmentRow(const QStyleOption& option, QPainter& painter) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(roundedPath(QRectF(option.rect), segmentRowRadius),
                     Palette::role(Role::segmentTrack, option.palette));
    painter.restore();
}

void Style::drawSegment(const QStyleOptionToolButton& option, QPainter& painter) const
{
    const bool chosen = option.state & State_On;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(option.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath path = roundedPath(area, segmentRadius);
    if (chosen) {
        // The chosen segment is raised above the row: a lighter face with a soft shadow.
        constexpr qreal shadowOffset = 0.75;
        painter.fillPath(path.translated(0, shadowOffset),
                         Palette::role(Role::segmentShadow, option.palette));
        painter.fillPath(path, Palette::role(Role::segmentSelected, option.palette));
    } else if (option.state & State_MouseOver) {
        painter.fillPath(path, Palette::role(Role::segmentHover, option.palette));
    }
    drawFocusRing(&painter, &option, area, segmentRadius);
    QFont label = painter.font();
    label.setWeight(chosen ? QFont::DemiBold : QFont::Normal);
    painter.setFont(label);
    painter.setPen(Palette::color(chosen ? Tint::primary : Tint::secondary, option.palette));
    painter.drawText(option.rect, Qt::AlignCenter, option.text);
    painter.restore();
}

void Style::drawWeekday(const QStyleOptionToolButton& option, QPainter& painter) const
{
    const bool chosen = option.state & State_On;
    const QColor chosenColor = Palette::color(Tint::indigo, option.palette);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QFont label = painter.font();
    label.setWeight(chosen ? QFont::DemiBold : QFont::Normal);
    painter.setFont(label);
    const QFontMetrics metrics(label);
    const QRect labelRect(option.rect.left(), option.rect.top() + weekdayPadding,
                          option.rect.width(), metrics.height());
    painter.setPen(chosen ? chosenColor : Palette::color(Tint::secondary, option.palette));
    painter.drawText(labelRect, Qt::AlignCenter, option.text);
    if (chosen) {
        const qreal barWidth =
            std::round(QFontMetrics(boldFont(label)).height() * weekdayBarPerLine);
        const QRectF bar(QPointF(option.rect.left() + (option.rect.width() - barWidth) / 2,
                                 labelRect.bottom() + 1 + weekdayLabelToBar),
                         QSizeF(barWidth, weekdayBarHeight));
        painter.fillPath(roundedPath(bar, weekdayBarHeight / 2), chosenColor);
    }
    constexpr qreal ringRadius = 5;
    drawFocusRing(&painter, &option, QRectF(option.rect).adjusted(1, 1, -1, -1), ringRadius);
    painter.restore();
}

void Style::drawDisclosure(const QStyleOptionToolButton& option, QPainter& painter,
                           const QWidget& widget) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(option.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool pressed = option.state & State_Sunken;
    if (pressed || (option.state & State_MouseOver)) {
        painter.fillPath(roundedPath(area, disclosureRadius),
                         Palette::role(pressed ? Role::disclosurePressed : Role::disclosureHover,
                                       option.palette));
    }
    drawFocusRing(&painter, &option, area, disclosureRadius);
    painter.restore();

    // Right while collapsed (left in a right-to-left layout), down while expanded.
    const int side = int(arrowSide(option.fontMetrics));
    QStyleOption arrow = option;
    arrow.rect =
        visualRect(option.direction, option.rect,
                   QRect(option.rect.left() + arrowInset,
                         option.rect.top() + (option.rect.height() - side) / 2, side, side));
    const PrimitiveElement collapsed =
        option.direction == Qt::RightToLeft ? PE_IndicatorArrowLeft : PE_IndicatorArrowRight;
    proxy()->drawPrimitive(option.state & State_On ? PE_IndicatorArrowDown : collapsed, &arrow,
                           &painter, &widget);
}

void Style::drawDisclosureArrow(PrimitiveElement element, const QStyleOption& option,
                                QPainter& painter) const
{
    // A thin chevron rather than Fusion's filled triangle.
    constexpr qreal penWidth = 1.6;
    const QRectF box(option.rect);
    const qreal half = box.width() / 2;
    const QPointF centre = box.center();
    QPainterPath chevron;
    switch (element) {
    case PE_IndicatorArrowDown:
        chevron.moveTo(centre + QPointF(-half, -half / 2));
        chevron.lineTo(centre + QPointF(0, half / 2));
        chevron.lineTo(centre + QPointF(half, -half / 2));
        break;
    case PE_IndicatorArrowLeft:
        chevron.moveTo(centre + QPointF(half / 2, -half));
        chevron.lineTo(centre + QPointF(-half / 2, 0));
        chevron.lineTo(centre + QPointF(half / 2, half));
        break;
    default:
        chevron.moveTo(centre + QPointF(-half / 2, -half));
        chevron.lineTo(centre + QPointF(half / 2, 0));
        chevron.lineTo(centre + QPointF(-half / 2, half));
        break;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Palette::color(Tint::secondary, option.palette), penWidth, Qt::SolidLine,
                        Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(chevron);
    painter.restore();
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
    const bool prominent = is(widget, Control::prominentButton);
    const bool enabled = option->state & State_Enabled;
    const bool pressed = option->state & (State_Sunken | State_On);
    const bool hovered = enabled && (option->state & State_MouseOver);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    // A prominent button that cannot be pressed loses its tint: faded, it would still read as
    // enabled on a dark window.
    if (!enabled && !prominent)
        painter->setOpacity(disabledOpacity);
    const QRectF area = QRectF(option->rect).adjusted(1, 1, -1, -1);
    QPainterPath path;
    path.addRoundedRect(area, buttonRadius, buttonRadius);
    if (prominent && enabled) {
        QColor fill = Palette::fill(*tint, palette);
        if (pressed)
            fill = fill.darker(115);
        else if (hovered)
            fill = fill.lighter(108);
        painter->fillPath(path.translated(0, 0.75), Palette::role(Role::prominentShadow, palette));
        painter->fillPath(path, fill);
    } else if (prominent) {
        painter->fillPath(path, Palette::role(Role::prominentDisabled, palette));
    } else if (pressed || hovered) {
        painter->fillPath(
            path, Palette::role(pressed ? Role::buttonPressed : Role::buttonHover, palette));
    }
    drawFocusRing(painter, option, area, buttonRadius);

    const QColor content = !prominent ? Palette::color(*tint, palette)
                           : enabled  ? Palette::role(Role::onProminent, palette)
                                      : palette.color(QPalette::Disabled, QPalette::ButtonText);
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

// A highlighted entry of a menu or a picker's list shows its symbol in the colour of its text:
// in the symbol's own tint it would vanish into an accent-coloured highlight.
bool Style::drawHighlightedMenuItem(const QStyleOption* option, QPainter* painter,
                                    const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (!item || !(item->state & State_Selected) || item->icon.isNull())
        return false;
    const auto* combo = qobject_cast<const QComboBox*>(widget);
    const int small = proxy()->pixelMetric(PM_SmallIconSize, option, widget);
    const QSize side = combo ? combo->iconSize() : QSize(small, small);
    QStyleOptionMenuItem highlighted = *item;
    highlighted.icon =
        QIcon(item->icon.pixmap(side, widget ? widget->devicePixelRatioF() : 1.0, QIcon::Selected));
    QProxyStyle::drawControl(CE_MenuItem, &highlighted, painter, widget);
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
