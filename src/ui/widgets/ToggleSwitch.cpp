#include "ToggleSwitch.h"

#include "FocusRing.h"
#include "Palette.h"

#include <QPainter>
#include <QPainterPath>

namespace Tempolane {

namespace {

constexpr QSizeF trackSize(38, 22);
constexpr qreal knobInset = 2;
constexpr int labelSpacing = 10;
constexpr int knobMilliseconds = 140;

} // namespace

ToggleSwitch::ToggleSwitch(const QString& text, Tint tint, QWidget* parent)
    : QAbstractButton(parent), m_tint(tint)
{
    setText(text);
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    m_knob.setDuration(knobMilliseconds);
    m_knob.setEasingCurve(QEasingCurve::OutCubic);
    m_knob.setStartValue(0.0);
    m_knob.setEndValue(0.0);
    connect(&m_knob, &QVariantAnimation::valueChanged, this, [this] { update(); });
}

QSize ToggleSwitch::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int textWidth = text().isEmpty() ? 0 : metrics.horizontalAdvance(text()) + labelSpacing;
    return QSize(textWidth + int(trackSize.width()) + 2,
                 std::max(metrics.height(), int(trackSize.height())) + 2);
}

QRectF ToggleSwitch::trackRect() const
{
    return QRectF(QPointF(width() - trackSize.width() - 1, (height() - trackSize.height()) / 2),
                  trackSize);
}

void ToggleSwitch::checkStateSet()
{
    // Set from outside (a new draft, a revert): the knob jumps. Forms set every switch again
    // whenever anything changes; a knob already in place needs no repaint.
    const qreal position = isChecked() ? 1.0 : 0.0;
    if (m_knob.state() == QAbstractAnimation::Stopped && m_knob.currentValue().toReal() == position)
        return;
    m_knob.stop();
    m_knob.setStartValue(position);
    m_knob.setEndValue(position);
    update();
}

void ToggleSwitch::nextCheckState()
{
    QAbstractButton::nextCheckState();
    if (!isVisible())
        return checkStateSet();
    const qreal from = m_knob.currentValue().toReal();
    m_knob.stop();
    m_knob.setStartValue(from);
    m_knob.setEndValue(isChecked() ? 1.0 : 0.0);
    m_knob.start();
}

void ToggleSwitch::hideEvent(QHideEvent* event)
{
    QAbstractButton::hideEvent(event);
    checkStateSet();
}

void ToggleSwitch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(0.45);

    const QRectF track = trackRect();
    if (!text().isEmpty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRectF(0, 0, track.left() - labelSpacing, height()),
                         Qt::AlignVCenter | Qt::AlignLeft, text());
    }

    const qreal position = m_knob.currentValue().toReal();
    QColor off = Palette::color(Tint::primary, palette());
    off.setAlphaF(0.16f);
    const QColor on = Palette::color(m_tint, palette());
    QColor fill;
    fill.setRgbF(off.redF() + (on.redF() - off.redF()) * float(position),
                 off.greenF() + (on.greenF() - off.greenF()) * float(position),
                 off.blueF() + (on.blueF() - off.blueF()) * float(position),
                 off.alphaF() + (on.alphaF() - off.alphaF()) * float(position));
    QPainterPath trackPath;
    trackPath.addRoundedRect(track, track.height() / 2, track.height() / 2);
    painter.fillPath(trackPath, fill);

    const qreal knob = track.height() - 2 * knobInset;
    const qreal x = track.left() + knobInset + (track.width() - knob - 2 * knobInset) * position;
    const QRectF knobRect(x, track.top() + knobInset, knob, knob);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 40));
    painter.drawEllipse(knobRect.translated(0, 0.6));
    painter.setBrush(Qt::white);
    painter.drawEllipse(knobRect);

    constexpr qreal ringGap = 1.5;
    paintFocusRing(painter, *this, track.adjusted(-ringGap, -ringGap, ringGap, ringGap),
                   track.height() / 2 + ringGap);
}

} // namespace Tempolane
