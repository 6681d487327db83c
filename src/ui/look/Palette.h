#pragma once

#include "Tint.h"

#include <QColor>
#include <QPalette>

namespace Tempolane {

enum class ColorScheme
{
    light,
    dark
};

// The one place that knows the colours of light and dark. Views ask it with the palette they
// paint with, so a switch of the application palette re-tints everything on the next paint.
class Palette final
{
public:
    static QColor color(Tint tint, ColorScheme scheme);
    static QColor color(Tint tint, const QPalette& palette);

    // Dark when the window colour is darker than mid-grey.
    static ColorScheme schemeOf(const QPalette& palette);

    // The application palette for the Fusion style in the given scheme.
    static QPalette qtPalette(ColorScheme scheme);
};

} // namespace Tempolane
