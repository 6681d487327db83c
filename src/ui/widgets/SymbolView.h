#pragma once

#include "SymbolIcon.h"

#include <QIcon>
#include <QVariantAnimation>
#include <QWidget>

namespace Tempolane {

// A symbol drawn at a text size, optionally pulsing or rotating. Animations run only while
// the view is visible, so a hidden window never wakes up for them. Screen readers read its
// accessible name (a status text, for instance); without one it is left out.
class SymbolView final : public QWidget
{
    Q_OBJECT

public:
    enum class Effect
    {
        none,
        pulse,
        rotation
    };

    static constexpr int pulseMilliseconds = 1400;

    // How opaque a pulsing symbol is at a phase of its cycle (0 to 1): it fades out and back in.
    static qreal pulseOpacity(qreal phase);

    explicit SymbolView(QWidget* parent = nullptr);

    void setSymbol(Symbol symbol, SymbolStyle style = {});
    // The side of the square the symbol fills, in device-independent pixels.
    void setSide(int side);
    void setEffect(Effect effect);
    Effect effect() const { return m_effect; }
    bool isAnimating() const { return m_animation.state() == QAbstractAnimation::Running; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void updateAnimation();

    QIcon m_icon;
    int m_side = 16;
    Effect m_effect = Effect::none;
    QVariantAnimation m_animation;
};

} // namespace Tempolane
