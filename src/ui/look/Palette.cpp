#include "Palette.h"

#include <algorithm>

namespace Tempolane {

namespace {

struct TintPair
{
    QRgb light;
    QRgb dark;
};

// Each tint is dark enough in light and light enough in dark to be read as text (4.5:1) on
// every surface it is painted on: the window, a card, a row under the pointer or selected.
TintPair accent(Tint tint)
{
    switch (tint) {
    case Tint::indigo:
        return {0x5250D5, 0x9796F4};
    case Tint::cyan:
        return {0x126991, 0x64D2FF};
    case Tint::mint:
        return {0x006E69, 0x63E6E2};
    case Tint::green:
        return {0x1D7032, 0x30D158};
    case Tint::orange:
        return {0x8F5300, 0xFF9F0A};
    case Tint::red:
        return {0xC60B00, 0xFF8A82};
    case Tint::primary:
    case Tint::secondary:
    case Tint::tertiary:
        break;
    }
    Q_UNREACHABLE();
}

// How strong the fainter texts are in light and in dark: still 4.5:1 on every surface.
struct TextStrength
{
    float light;
    float dark;
};
constexpr TextStrength fullText{1, 1};
constexpr TextStrength secondaryText{0.74f, 0.70f};
constexpr TextStrength tertiaryText{0.66f, 0.60f};

QColor textColor(ColorScheme scheme, Contrast contrast, TextStrength strength = fullText)
{
    const bool dark = scheme == ColorScheme::dark;
    const float alpha = dark ? strength.dark : strength.light;
    if (contrast == Contrast::high) {
        // Black or white, and the fainter texts closer to them.
        QColor color = dark ? QColor(Qt::white) : QColor(Qt::black);
        color.setAlphaF(1 - (1 - alpha) / 3);
        return color;
    }
    QColor color = dark ? QColor(0xF5, 0xF5, 0xF7) : QColor(0x1D, 0x1D, 0x1F);
    color.setAlphaF(alpha);
    return color;
}

QColor faded(QColor color, float strength)
{
    color.setAlphaF(color.alphaF() * strength);
    return color;
}

} // namespace

QColor Palette::color(Tint tint, ColorScheme scheme, Contrast contrast)
{
    switch (tint) {
    case Tint::primary:
        return textColor(scheme, contrast);
    case Tint::secondary:
        return textColor(scheme, contrast, secondaryText);
    case Tint::tertiary:
        return textColor(scheme, contrast, tertiaryText);
    default: {
        const TintPair pair = accent(tint);
        return QColor::fromRgb(scheme == ColorScheme::dark ? pair.dark : pair.light);
    }
    }
}

QColor Palette::color(Tint tint, const QPalette& palette)
{
    return color(tint, schemeOf(palette), contrastOf(palette));
}

QColor Palette::fill(Tint tint, const QPalette& palette)
{
    // The light scheme's tints are dark enough for white text in either scheme.
    return color(tint, ColorScheme::light, contrastOf(palette));
}

QColor Palette::role(Role role, const QPalette& palette)
{
    const bool dark = schemeOf(palette) == ColorScheme::dark;
    // The text colour at a strength for light and one for dark.
    const auto text = [&](float light, float darkStrength) {
        return faded(color(Tint::primary, palette), dark ? darkStrength : light);
    };
    const auto shadow = [&](int light, int darkAlpha) {
        return QColor(0, 0, 0, dark ? darkAlpha : light);
    };
    switch (role) {
    case Role::cardFill:
        return faded(palette.color(QPalette::Base), dark ? 0.55f : 0.72f);
    case Role::cardEdge:
        return text(0.07f, 0.10f);
    case Role::wellFill:
        return text(0.035f, 0.06f);
    case Role::wellEdge:
    case Role::barEdge:
        return text(0.10f, 0.14f);
    case Role::focusRing:
        // Seen at 3:1 on a card, in dark too, as a sign that a control needs.
        return color(Tint::indigo, palette);
    case Role::separator:
        return text(0.16f, 0.16f);
    case Role::hairline:
        return text(0.11f, 0.16f);
    case Role::toolHover:
        return text(0.07f, 0.07f);
    case Role::toolPressed:
        return text(0.13f, 0.13f);
    case Role::buttonHover:
        return text(0.06f, 0.06f);
    case Role::buttonPressed:
        return text(0.12f, 0.12f);
    case Role::prominentShadow:
        return shadow(30, 30);
    case Role::prominentDisabled:
        return text(0.10f, 0.14f);
    case Role::onProminent:
    case Role::switchKnob:
        return QColor(Qt::white);
    case Role::disclosureHover:
        return text(0.045f, 0.045f);
    case Role::disclosurePressed:
        return text(0.09f, 0.09f);
    case Role::segmentTrack:
        return text(0.07f, 0.12f);
    case Role::segmentSelected:
        return dark ? QColor(0x63, 0x63, 0x68) : QColor(Qt::white);
    case Role::segmentShadow:
        return shadow(28, 70);
    case Role::segmentHover:
        return text(0.05f, 0.05f);
    case Role::switchTrackOff:
        return text(0.16f, 0.16f);
    case Role::switchKnobShadow:
        return shadow(40, 40);
    case Role::rowHover:
        return text(0.04f, 0.06f);
    case Role::rowSelected:
        return faded(color(Tint::indigo, palette), dark ? 0.20f : 0.12f);
    case Role::sidebarSelected:
        return text(0.08f, 0.14f);
    case Role::selectedScheduleText:
        return faded(color(Tint::primary, palette), 0.72f);
    case Role::scheduleText:
        // As faint as text gets while it still reads at 3:1.
        return color(Tint::tertiary, palette);
    case Role::barFill:
        return faded(palette.color(QPalette::Window), dark ? 0.78f : 0.82f);
    case Role::leadingGlow:
        return faded(color(Tint::cyan, palette), dark ? 0.12f : 0.08f);
    case Role::trailingGlow:
        return faded(color(Tint::indigo, palette), dark ? 0.22f : 0.12f);
    case Role::timelineTrack:
    case Role::timelineGrid:
    case Role::timelinePast:
    case Role::timelineNow:
    case Role::timelineNoteWash:
    case Role::plannedFill:
    case Role::plannedEdge:
    case Role::chartMedian:
        return pictureRole(role, palette);
    }
    Q_UNREACHABLE();
}

// The pictures of runs draw on the window itself; with high contrast their faint parts
// grow stronger, so that lanes, lines and planned runs stay apart from the background.
QColor Palette::pictureRole(Role role, const QPalette& palette)
{
    const bool dark = schemeOf(palette) == ColorScheme::dark;
    const float boost = contrastOf(palette) == Contrast::high ? 2.0f : 1.0f;
    const auto text = [&](float light, float darkStrength) {
        return faded(color(Tint::primary, palette),
                     std::min(1.0f, boost * (dark ? darkStrength : light)));
    };
    switch (role) {
    case Role::timelineTrack:
        return text(0.045f, 0.07f);
    case Role::timelineGrid:
        return text(0.10f, 0.14f);
    case Role::timelinePast:
        return text(0.035f, 0.05f);
    case Role::timelineNow:
        return color(Tint::red, palette);
    case Role::timelineNoteWash:
        return faded(color(Tint::orange, palette), std::min(1.0f, boost * (dark ? 0.20f : 0.16f)));
    case Role::plannedFill:
        return faded(color(Tint::indigo, palette), std::min(1.0f, boost * (dark ? 0.40f : 0.28f)));
    case Role::plannedEdge:
        return color(Tint::indigo, palette);
    case Role::chartMedian:
        return text(0.55f, 0.6f);
    default:
        return Palette::role(role, palette);
    }
}

QColor Palette::wash(Tint tint, const QPalette& palette)
{
    return faded(color(tint, palette), 0.14f);
}

ColorScheme Palette::schemeOf(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightness() < 128 ? ColorScheme::dark
                                                             : ColorScheme::light;
}

Contrast Palette::contrastOf(const QPalette& palette)
{
    const QColor window = palette.color(QPalette::Window);
    return window == QColor(Qt::black) || window == QColor(Qt::white) ? Contrast::high
                                                                      : Contrast::standard;
}

QPalette Palette::qtPalette(ColorScheme scheme)
{
    return qtPalette(Appearance{scheme, Contrast::standard, std::nullopt});
}

QPalette Palette::qtPalette(const Appearance& appearance)
{
    const ColorScheme scheme = appearance.scheme;
    const Contrast contrast = appearance.contrast;
    const bool dark = scheme == ColorScheme::dark;
    const bool high = contrast == Contrast::high;
    const QColor window = high   ? QColor(dark ? Qt::black : Qt::white)
                          : dark ? QColor(0x1E, 0x1E, 0x20)
                                 : QColor(0xF2, 0xF2, 0xF5);
    const QColor base = dark ? QColor(0x2A, 0x2A, 0x2D) : QColor(0xFF, 0xFF, 0xFF);
    const QColor alternate = dark ? QColor(0x32, 0x32, 0x36) : QColor(0xF7, 0xF7, 0xF9);
    const QColor button = dark ? QColor(0x3A, 0x3A, 0x3E) : QColor(0xFB, 0xFB, 0xFD);
    const QColor text = textColor(scheme, contrast);
    const QColor accentColor = appearance.accent.value_or(color(Tint::indigo, scheme));
    // Text on a selection stays readable on a light accent colour too.
    constexpr int lightAccent = 150;
    const QColor onAccent =
        qGray(accentColor.rgb()) > lightAccent ? QColor(Qt::black) : QColor(Qt::white);

    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, alternate);
    palette.setColor(QPalette::ToolTipBase, base);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, color(Tint::tertiary, scheme, contrast));
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, button);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, color(Tint::red, scheme));
    palette.setColor(QPalette::Light, dark ? QColor(0x4A, 0x4A, 0x4F) : QColor(0xFF, 0xFF, 0xFF));
    palette.setColor(QPalette::Midlight,
                     dark ? QColor(0x40, 0x40, 0x45) : QColor(0xE6, 0xE6, 0xEB));
    palette.setColor(QPalette::Mid, dark ? QColor(0x2E, 0x2E, 0x32) : QColor(0xC7, 0xC7, 0xCC));
    palette.setColor(QPalette::Dark, dark ? QColor(0x14, 0x14, 0x16) : QColor(0xA0, 0xA0, 0xA6));
    palette.setColor(QPalette::Shadow, QColor(0, 0, 0));
    palette.setColor(QPalette::Highlight, accentColor);
    palette.setColor(QPalette::HighlightedText, onAccent);
    palette.setColor(QPalette::Link, accentColor);
    palette.setColor(QPalette::LinkVisited, accentColor.darker(120));

    const QColor disabledText = color(Tint::tertiary, scheme, contrast);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::Highlight,
                     color(Tint::secondary, scheme, contrast));
    return palette;
}

} // namespace Tempolane
