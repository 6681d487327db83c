#pragma once

#include "Tint.h"

#include <QProxyStyle>

class QStyleOptionToolButton;

namespace Tempolane {

// Tempolane's look over Fusion: the controls stay Qt's own classes and this style draws them,
// with colours from the palette and sizes from the font, so the look lives in one place.
//
// A push button marked `button` is drawn as a tinted label that a faint wash backs under the
// pointer; marked `prominentButton` it is filled with its tint instead. While its property
// "busy" is set it shows a turning arc at "busyAngle" in place of its label.
class Style final : public QProxyStyle
{
    Q_OBJECT

public:
    // The stock controls drawn in a look of their own. A control says which it is with mark().
    enum class Control
    {
        // A QCheckBox drawn as an on/off switch behind its label, filled with its tint while on.
        toggleSwitch,
        // A frame around a row of segments, and one checkable tool button in it.
        segmentRow,
        segment,
        // A checkable tool button: a day's short label over a bar while chosen.
        weekday,
        // A checkable tool button that shows or hides a part: an arrow, then its content.
        disclosure,
        // A push button: its label in its tint, or filled with its tint.
        button,
        prominentButton
    };
    static void mark(QWidget* widget, Control control, Tint tint = Tint::indigo);

    // The ring around a control, or a row, that has the keyboard focus; nothing otherwise.
    static void drawFocusRing(QPainter* painter, const QStyleOption* option, const QRectF& area,
                              qreal radius);

    // How far a disclosure header's content stands from the edge its arrow is on.
    static constexpr PixelMetric PM_DisclosureIndent = PixelMetric(PM_CustomBase + 1);

    Style();

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    QRect subElementRect(SubElement element, const QStyleOption* option,
                         const QWidget* widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;
    void polish(QWidget* widget) override;
    using QProxyStyle::polish;

private:
    void drawSwitch(const QStyleOption& option, QPainter& painter, const QWidget& widget) const;
    void drawSegmentRow(const QStyleOption& option, QPainter& painter) const;
    void drawSegment(const QStyleOptionToolButton& option, QPainter& painter) const;
    void drawWeekday(const QStyleOptionToolButton& option, QPainter& painter) const;
    void drawDisclosure(const QStyleOptionToolButton& option, QPainter& painter,
                        const QWidget& widget) const;
    void drawDisclosureArrow(PrimitiveElement element, const QStyleOption& option,
                             QPainter& painter) const;
    // Each returns false for what it does not draw, which Fusion then draws.
    bool drawTintedButton(const QStyleOption* option, QPainter* painter,
                          const QWidget* widget) const;
    bool drawLine(const QStyleOption* option, QPainter* painter) const;
    bool drawHighlightedMenuItem(const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const;
};

} // namespace Tempolane
