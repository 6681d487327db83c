#pragma once

#include "Palette.h"

#include <QObject>
#include <QPalette>
#include <optional>

class QApplication;
class QDBusVariant;

namespace Tempolane {

// Light or dark: the desktop portal's "color-scheme" preference (1 prefers dark, 2 prefers
// light) when it states one, else the lightness of the platform's own palette.
ColorScheme preferredColorScheme(std::optional<uint> portalPreference,
                                 const QPalette& platformPalette);

// The portal's answer arrives as a variant, often one variant inside another.
std::optional<uint> portalPreferenceFrom(const QVariant& value);

// Gives the application the Fusion style with our palette for the desktop's colour scheme,
// and follows the desktop when the user switches between light and dark.
class Theme final : public QObject
{
    Q_OBJECT

public:
    explicit Theme(QApplication& application);

    ColorScheme scheme() const { return m_scheme; }
    // Overrides the desktop's choice until it next changes (screenshots, tests).
    void setScheme(ColorScheme scheme);

Q_SIGNALS:
    void schemeChanged(Tempolane::ColorScheme scheme);

private:
    void askPortal();
    void adoptPortalPreference(std::optional<uint> preference);
    Q_SLOT void portalSettingChanged(const QString& group, const QString& key,
                                     const QDBusVariant& value);

    QPalette m_platformPalette;
    ColorScheme m_scheme = ColorScheme::light;
};

} // namespace Tempolane
