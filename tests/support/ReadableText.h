#pragma once

#include <QAbstractButton>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QStringList>
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

// How far the text in `area` of `picture` stands out: the pixel most unlike the commonest one,
// which is what lies behind the text.
inline double textContrastIn(const QImage& picture, const QRect& area)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[picture.pixel(x, y) | 0xFF000000u];
    }
    QRgb background = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    }
    double strongest = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        strongest = std::max(strongest, contrastRatio(it.key(), background));
    return strongest;
}

// Every enabled label and button with text that `window` shows, whose text stands out from
// what is behind it by less than `least` (WCAG's ratio for large text is 3), as
// "name “text”: ratio". Disabled controls may be faint on purpose.
inline QStringList unreadableTexts(QWidget& window, double least = 3)
{
    const QImage picture = window.grab().toImage();
    const qreal scale = picture.devicePixelRatio();
    QStringList unreadable;
    const QList<QWidget*> widgets = window.findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        QString text;
        if (const auto* label = qobject_cast<QLabel*>(widget))
            text = label->text();
        else if (const auto* button = qobject_cast<QAbstractButton*>(widget))
            text = button->text();
        if (text.trimmed().isEmpty() || !widget->isVisibleTo(&window) || !widget->isEnabled())
            continue;
        const QRect shown =
            widget->visibleRegion().boundingRect().translated(widget->mapTo(&window, QPoint(0, 0)));
        const QRect area = QRect((QRectF(shown).topLeft() * scale).toPoint(),
                                 (QSizeF(shown.size()) * scale).toSize())
                               .intersected(picture.rect());
        if (area.isEmpty())
            continue;
        const double ratio = textContrastIn(picture, area);
        if (ratio < least)
            unreadable.append(QStringLiteral("%1 “%2”: %3")
                                  .arg(widget->objectName().isEmpty()
                                           ? QString::fromLatin1(widget->metaObject()->className())
                                           : widget->objectName(),
                                       text.simplified().left(40))
                                  .arg(ratio, 0, 'f', 2));
    }
    return unreadable;
}

} // namespace Tempolane::Testing
