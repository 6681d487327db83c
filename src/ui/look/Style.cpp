#include "Style.h"

#include "Palette.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>
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

QColor withAlpha(QColor color, float alpha)
{
    color.setAlphaF(color.alphaF() * alpha);
    return color;
}

QPainterPath roundedPath(const QRectF& area, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(area, radius, radius);
    return path;
}

// The ring around a control that has the focus, only when the focus came from the keyboard,
// as the platform's controls do.
void drawFocusRing(QPainter& painter, const QStyleOption& option, const QRectF& area, qreal radius)
{
    constexpr float ringStrength = 0.55f;
    constexpr qreal ringWidth = 1.5;
    if (!(option.state & QStyle::State_HasFocus) ||
        !(option.state & QStyle::State_KeyboardFocusChange))
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(
        QPen(withAlpha(Palette::color(Tint::indigo, option.palette), ringStrength), ringWidth));
    painter.drawRoundedRect(area, radius, radius);
    painter.restore();
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
    constexpr float offStrength = 0.16f;
    painter.fillPath(roundedPath(track, track.height() / 2),
                     on ? Palette::color(tint, option.palette)
                        : withAlpha(Palette::color(Tint::primary, option.palette), offStrength));

    // The knob stands at the end that says "on": the trailing end.
    const qreal knob = track.height() - 2 * knobInset;
    const bool trailing = on == (option.direction == Qt::LeftToRight);
    const qreal x = trailing ? track.right() - knobInset - knob : track.left() + knobInset;
    const QRectF knobRect(x, track.top() + knobInset, knob, knob);
    constexpr float knobShadow = 0.16f;
    constexpr qreal shadowOffset = 0.6;
    painter.setPen(Qt::NoPen);
    painter.setBrush(withAlpha(option.palette.color(QPalette::Shadow), knobShadow));
    painter.drawEllipse(knobRect.translated(0, shadowOffset));
    painter.setBrush(Qt::white);
    painter.drawEllipse(knobRect);

    constexpr qreal ringGap = 1.5;
    drawFocusRing(painter, option, track.adjusted(-ringGap, -ringGap, ringGap, ringGap),
                  track.height() / 2 + ringGap);
    painter.restore();
}

void Style::drawSegmentRow(const QStyleOption& option, QPainter& painter) const
{
    const bool dark = Palette::schemeOf(option.palette) == ColorScheme::dark;
    constexpr float lightStrength = 0.07f;
    constexpr float darkStrength = 0.12f;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(roundedPath(QRectF(option.rect), segmentRowRadius),
                     withAlpha(Palette::color(Tint::primary, option.palette),
                               dark ? darkStrength : lightStrength));
    painter.restore();
}

void Style::drawSegment(const QStyleOptionToolButton& option, QPainter& painter) const
{
    const bool dark = Palette::schemeOf(option.palette) == ColorScheme::dark;
    const bool chosen = option.state & State_On;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(option.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath path = roundedPath(area, segmentRadius);
    if (chosen) {
        // The chosen segment is raised above the row: a lighter face with a soft shadow.
        constexpr float lightShadow = 0.11f;
        constexpr float darkShadow = 0.27f;
        constexpr qreal shadowOffset = 0.75;
        const QColor darkFace(0x63, 0x63, 0x68);
        painter.fillPath(
            path.translated(0, shadowOffset),
            withAlpha(option.palette.color(QPalette::Shadow), dark ? darkShadow : lightShadow));
        painter.fillPath(path, dark ? darkFace : option.palette.color(QPalette::Base));
    } else if (option.state & State_MouseOver) {
        constexpr float hoverStrength = 0.05f;
        painter.fillPath(path,
                         withAlpha(Palette::color(Tint::primary, option.palette), hoverStrength));
    }
    drawFocusRing(painter, option, area, segmentRadius);
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
    drawFocusRing(painter, option, QRectF(option.rect).adjusted(1, 1, -1, -1), ringRadius);
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
        constexpr float hoverStrength = 0.045f;
        constexpr float pressedStrength = 0.09f;
        painter.fillPath(roundedPath(area, disclosureRadius),
                         withAlpha(Palette::color(Tint::primary, option.palette),
                                   pressed ? pressedStrength : hoverStrength));
    }
    drawFocusRing(painter, option, area, disclosureRadius);
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

} // namespace Tempolane
