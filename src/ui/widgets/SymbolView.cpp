#include "SymbolView.h"

#include <QPainter>
#include <QtMath>

namespace Tempolane {

namespace {

constexpr int rotationMilliseconds = 1100;
constexpr qreal faintestPulse = 0.35;

} // namespace

qreal SymbolView::pulseOpacity(qreal phase)
{
    const qreal wave = (1 + qCos(phase * 2 * M_PI)) / 2;
    return faintestPulse + (1 - faintestPulse) * wave;
}

SymbolView::SymbolView(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_animation.setStartValue(0.0);
    m_animation.setEndValue(1.0);
    m_animation.setLoopCount(-1);
    connect(&m_animation, &QVariantAnimation::valueChanged, this, [this] { update(); });
}

void SymbolView::setSymbol(Symbol symbol, SymbolStyle style)
{
    m_icon = symbolIcon(symbol, style);
    update();
}

void SymbolView::setSide(int side)
{
    m_side = side;
    updateGeometry();
    update();
}

void SymbolView::setEffect(Effect effect)
{
    if (m_effect == effect)
        return;
    m_effect = effect;
    m_animation.setDuration(effect == Effect::rotation ? rotationMilliseconds : pulseMilliseconds);
    updateAnimation();
    update();
}

QSize SymbolView::sizeHint() const
{
    return {m_side, m_side};
}

void SymbolView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect square = QRect(QPoint(0, 0), QSize(m_side, m_side))
                             .translated((width() - m_side) / 2, (height() - m_side) / 2);
    const qreal phase = isAnimating() ? m_animation.currentValue().toReal() : 0.0;
    if (m_effect == Effect::pulse && isAnimating()) {
        painter.setOpacity(pulseOpacity(phase));
    }
    if (m_effect == Effect::rotation && isAnimating()) {
        painter.translate(QRectF(square).center());
        painter.rotate(phase * 360);
        painter.translate(-QRectF(square).center());
    }
    m_icon.paint(&painter, square, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
}

void SymbolView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    updateAnimation();
}

void SymbolView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    updateAnimation();
}

void SymbolView::updateAnimation()
{
    const bool wanted = m_effect != Effect::none && isVisible();
    if (wanted && !isAnimating())
        m_animation.start();
    else if (!wanted)
        m_animation.stop();
}

} // namespace Tempolane
