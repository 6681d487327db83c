#include "TextStyle.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QWidget>

namespace Tempolane {

namespace {

struct StyleMetrics
{
    qreal scale;
    QFont::Weight weight;
};

// Relative to the body size, which is the desktop's font size.
StyleMetrics metrics(TextStyle style)
{
    switch (style) {
    case TextStyle::title:
        return {1.6, QFont::Normal};
    case TextStyle::title3:
        return {1.2, QFont::Normal};
    case TextStyle::headline:
        return {1.0, QFont::DemiBold};
    case TextStyle::subheadline:
        return {0.93, QFont::Normal};
    case TextStyle::body:
        return {1.0, QFont::Normal};
    case TextStyle::caption:
        return {0.88, QFont::Normal};
    case TextStyle::caption2:
        return {0.8, QFont::Normal};
    }
    Q_UNREACHABLE();
}

} // namespace

QFont styledFont(TextStyle style, bool monospaced)
{
    const QFont desktop = QApplication::font();
    QFont result = monospaced ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : desktop;
    const StyleMetrics styleMetrics = metrics(style);
    result.setPointSizeF(desktop.pointSizeF() * styleMetrics.scale);
    result.setWeight(styleMetrics.weight);
    return result;
}

int symbolSide(TextStyle style)
{
    // A little taller than the line, as symbols set beside text usually are.
    constexpr qreal symbolToLine = 1.1;
    return qRound(QFontMetricsF(styledFont(style)).height() * symbolToLine);
}

void keepLeftToRight(QWidget* widget)
{
    widget->setLayoutDirection(Qt::LeftToRight);
}

} // namespace Tempolane
