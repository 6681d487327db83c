#include "ActionButton.h"

#include "Style.h"
#include "SymbolIcon.h"
#include "TextStyle.h"

namespace Tempolane {

namespace {

constexpr int spinMilliseconds = 900;

} // namespace

ActionButton::ActionButton(const QString& text, std::optional<Symbol> symbol, Style style,
                           Tint tint, QWidget* parent)
    : QPushButton(text, parent)
{
    Tempolane::Style::mark(this,
                           style == Style::prominent ? Tempolane::Style::Control::prominentButton
                                                     : Tempolane::Style::Control::button,
                           tint);
    if (symbol) {
        setIcon(symbolIcon(*symbol));
        const int side = symbolSide(TextStyle::body) - 2;
        setIconSize({side, side});
    }
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
    connect(&m_spin, &QVariantAnimation::valueChanged, this, [this](const QVariant& angle) {
        setProperty("busyAngle", angle);
        update();
    });
}

void ActionButton::setBusy(bool isBusy)
{
    if (m_isBusy == isBusy)
        return;
    m_isBusy = isBusy;
    setProperty("busy", isBusy);
    updateAnimation();
    update();
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
