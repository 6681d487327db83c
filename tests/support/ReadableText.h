#pragma once

#include "Palette.h"

#include <QHash>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTextItem>
#include <QWidget>
#include <cmath>

namespace Tempolane::Testing {

// Relative luminance of a colour on screen, 0 for black to 1 for white (WCAG 2).
inline double luminanceOf(QRgb pixel)
{
    const auto linear = [](int channel) {
        const double value = channel / 255.0;
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(pixel)) + 0.7152 * linear(qGreen(pixel)) +
           0.0722 * linear(qBlue(pixel));
}

// 1 for equal colours, 21 for black on white.
inline double contrastRatio(QRgb one, QRgb other)
{
    const double a = luminanceOf(one);
    const double b = luminanceOf(other);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The colour seen where `top` is painted over an opaque `bottom`.
inline QColor over(const QColor& top, const QColor& bottom)
{
    const double alpha = top.alphaF();
    const auto mix = [alpha](double upper, double lower) {
        return upper * alpha + lower * (1 - alpha);
    };
    return QColor::fromRgbF(float(mix(top.redF(), bottom.redF())),
                            float(mix(top.greenF(), bottom.greenF())),
                            float(mix(top.blueF(), bottom.blueF())));
}

// A data row for each appearance: light and dark, each at standard and at high contrast.
inline void addRowsForEveryAppearance()
{
    QTest::addColumn<Appearance>("appearance");
    for (const ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        for (const Contrast contrast : {Contrast::standard, Contrast::high}) {
            QTest::addRow("%s, %s contrast", scheme == ColorScheme::dark ? "dark" : "light",
                          contrast == Contrast::high ? "high" : "standard")
                << Appearance{scheme, contrast, std::nullopt};
        }
    }
}

// One run of text as a widget (or the delegate of a view) painted it.
struct PaintedText
{
    QString text;
    QFont font;
    // The pen's colour at the painter's opacity.
    QColor color;
    // The run's box in the window's pixels.
    QRect box;
    QPointer<QWidget> widget;
};

// A paint device that keeps the texts painted on it and draws nothing: rendering a window on
// it tells what every label, button, field and row delegate wrote, in which colour.
class TextRecorder final : public QPaintDevice
{
public:
    explicit TextRecorder(QSize size) : m_size(size) {}

    QPaintEngine* paintEngine() const override { return &m_engine; }
    const QList<PaintedText>& texts() const { return m_engine.texts; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
        }
    }

private:
    class Engine final : public QPaintEngine
    {
    public:
        Engine() : QPaintEngine(AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        Type type() const override { return User; }
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPath(const QPainterPath&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void updateState(const QPaintEngineState& state) override
        {
            if (state.state() & DirtyTransform)
                m_transform = state.transform();
            if (state.state() & DirtyPen)
                m_pen = state.pen();
            if (state.state() & DirtyOpacity)
                m_opacity = state.opacity();
        }
        void drawTextItem(const QPointF& origin, const QTextItem& item) override
        {
            const QRectF logical(origin.x(), origin.y() - item.ascent(), item.width(),
                                 item.ascent() + item.descent());
            QRect box = m_transform.mapRect(logical).toAlignedRect();
            if (!systemClip().isEmpty())
                box &= systemClip().boundingRect();
            if (box.isEmpty() || item.text().trimmed().isEmpty())
                return;
            QColor color = m_pen.color();
            color.setAlphaF(float(color.alphaF() * m_opacity));
            auto* widget = painter() && painter()->device() &&
                                   painter()->device()->devType() == QInternal::Widget
                               ? static_cast<QWidget*>(painter()->device())
                               : nullptr;
            texts.append({item.text(), item.font(), color, box, widget});
        }

        QList<PaintedText> texts;

    private:
        QTransform m_transform;
        QPen m_pen;
        qreal m_opacity = 1;
    };

    QSize m_size;
    mutable Engine m_engine;
};

// Every text `window` paints, as it stands now.
inline QList<PaintedText> paintedTexts(QWidget& window)
{
    TextRecorder recorder(window.size());
    window.render(&recorder);
    return recorder.texts();
}

// What lies behind a run of text: the commonest colour just around its box.
inline QRgb backgroundAround(const QImage& picture, const QRect& box)
{
    const QRect ring = box.adjusted(-2, -2, 2, 2).intersected(picture.rect());
    QHash<QRgb, int> counts;
    for (int x = ring.left(); x <= ring.right(); ++x) {
        ++counts[picture.pixel(x, ring.top()) | 0xFF000000u];
        ++counts[picture.pixel(x, ring.bottom()) | 0xFF000000u];
    }
    for (int y = ring.top(); y <= ring.bottom(); ++y) {
        ++counts[picture.pixel(ring.left(), y) | 0xFF000000u];
        ++counts[picture.pixel(ring.right(), y) | 0xFF000000u];
    }
    const auto commonest = std::max_element(counts.cbegin(), counts.cend());
    return commonest == counts.cend() ? 0xFF000000u : commonest.key();
}

// WCAG's large text: 18 points, or 14 points in bold.
inline bool isLargeText(const QFont& font)
{
    const qreal points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 0.75;
    return points >= 18 || (points >= 14 && font.weight() >= QFont::Bold);
}

// The texts `window` paints on what lies behind them with less contrast than WCAG asks (4.5:1,
// 3:1 for large text), as "widget “text”: ratio"; disabled controls may be faint on purpose.
inline QStringList unreadableTexts(QWidget& window)
{
    const QImage picture = window.grab().toImage();
    QStringList unreadable;
    for (const PaintedText& text : paintedTexts(window)) {
        if (text.widget && !text.widget->isEnabled())
            continue;
        const QRgb background = backgroundAround(picture, text.box);
        const double ratio = contrastRatio(over(text.color, QColor(background)).rgb(), background);
        const double least = isLargeText(text.font) ? 3 : 4.5;
        if (ratio >= least)
            continue;
        const QWidget* widget = text.widget;
        const QString name =
            !widget                           ? QStringLiteral("?")
            : !widget->objectName().isEmpty() ? widget->objectName()
            : widget->parentWidget() && !widget->parentWidget()->objectName().isEmpty()
                ? widget->parentWidget()->objectName()
                : QString::fromLatin1(widget->metaObject()->className());
        unreadable.append(
            QStringLiteral("%1 “%2”: %3 (%4 on %5)")
                .arg(name, text.text.simplified().left(40))
                .arg(ratio, 0, 'f', 2)
                .arg(over(text.color, QColor(background)).name(), QColor(background).name()));
    }
    return unreadable;
}

} // namespace Tempolane::Testing
