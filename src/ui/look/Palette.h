#pragma once

#include "Role.h"
#include "Tint.h"

#include <QColor>
#include <QPalette>
#include <optional>

namespace Tempolane {

enum class ColorScheme
{
    light,
    dark
};

enum class Contrast
{
    standard,
    high
};

// How the desktop wants things to look.
struct Appearance
{
    ColorScheme scheme = ColorScheme::light;
    Contrast contrast = Contrast::standard;
    // For selections and links; none keeps indigo.
    std::optional<QColor> accent;

    friend bool operator==(const Appearance&, const Appearance&) = default;
};

// The one place that knows the colours of light and dark. Views ask it with the palette they
// paint with, so a switch of the application palette re-tints everything on the next paint.
class Palette final
{
public:
    static QColor color(Tint tint, ColorScheme scheme, Contrast contrast = Contrast::standard);
    static QColor color(Tint tint, const QPalette& palette);
    // The tint filling a prominent button, behind its white label.
    static QColor fill(Tint tint, const QPalette& palette);
    static QColor role(Role role, const QPalette& palette);
    // The roles of the timeline and the run chart.
    static QColor pictureRole(Role role, const QPalette& palette);
    // A tint faded to lie behind text of that tint, as a changed line of a comparison.
    static QColor wash(Tint tint, const QPalette& palette);

    // Dark when the window colour is darker than mid-grey.
    static ColorScheme schemeOf(const QPalette& palette);
    // High when the window is pure black or white, as only the high-contrast palettes have it.
    static Contrast contrastOf(const QPalette& palette);

    // The application palette for the Fusion style.
    static QPalette qtPalette(ColorScheme scheme);
    static QPalette qtPalette(const Appearance& appearance);
};

} // namespace Tempolane
