#pragma once

#include <QProxyStyle>

namespace Tempolane {

// Tempolane's look over Fusion: the controls stay Qt's own classes and this style draws them,
// with colours from the palette and sizes from the font, so the look lives in one place.
//
// A push button with the dynamic property "tint" (an int of `Tint`) is drawn as a tinted
// label that a faint wash backs under the pointer; with "prominent" set it is filled with its
// tint instead. While "busy" is set it shows a turning arc at "busyAngle" in place of its label.
class Style final : public QProxyStyle
{
    Q_OBJECT

public:
    Style();

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void polish(QWidget* widget) override;
    using QProxyStyle::polish;

private:
    // Each returns false for what it does not draw, which Fusion then draws.
    bool drawTintedButton(const QStyleOption* option, QPainter* painter,
                          const QWidget* widget) const;
    bool drawLine(const QStyleOption* option, QPainter* painter) const;
    static void drawFocusRing(QPainter* painter, const QStyleOption* option, const QRectF& area,
                              qreal radius);
};

} // namespace Tempolane
