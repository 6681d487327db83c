#pragma once

#include "Palette.h"

#include <QDBusConnection>
#include <QObject>
#include <QPalette>
#include <QTimer>
#include <chrono>
#include <optional>

class QApplication;
class QDBusMessage;

namespace Tempolane {

// Light or dark: the desktop portal's "color-scheme" preference (1 prefers dark, 2 prefers
// light) when it states one, else the lightness of the platform's own palette.
ColorScheme preferredColorScheme(std::optional<uint> portalPreference,
                                 const QPalette& platformPalette);

// The portal's answer arrives as a variant, often one variant inside another.
std::optional<uint> portalPreferenceFrom(const QVariant& value);
// The portal's "accent-color": red, green and blue from 0 to 1; outside that, none is set.
std::optional<QColor> accentColorFrom(const QVariant& value);

// Gives the application the Fusion style with our palette for the desktop's colour scheme,
// contrast and accent colour, and follows the desktop when the user switches them.
class Theme final : public QObject
{
    Q_OBJECT

public:
    // Waits up to `longestWait` for the desktop's answer, so that the first window is built
    // in the scheme the desktop prefers: meant to be made before any window exists.
    explicit Theme(QApplication& application,
                   const QDBusConnection& bus = QDBusConnection::sessionBus(),
                   std::chrono::milliseconds longestWait = std::chrono::milliseconds(300));

    ColorScheme scheme() const { return m_appearance.scheme; }
    const Appearance& appearance() const { return m_appearance; }
    // Whether a switch on the desktop reaches the program.
    bool followsDesktop() const { return m_followsDesktop; }
    // Overrides the desktop's choice until it next changes (screenshots, tests).
    void setScheme(ColorScheme scheme);

Q_SIGNALS:
    void schemeChanged(Tempolane::ColorScheme scheme);

private:
    void followPortal(QDBusConnection bus);
    Appearance askPortal(QDBusConnection bus, std::chrono::milliseconds longestWait) const;
    // The appearance with one of the portal's settings changed; others leave it as it is.
    Appearance withSetting(Appearance appearance, const QString& key, const QVariant& value) const;
    void adopt(const Appearance& appearance);
    Q_SLOT void portalSettingChanged(const QDBusMessage& message);

    QPalette m_platformPalette;
    Appearance m_appearance;
    // The desktop's settings as they came in since the last frame: a burst of changes costs one
    // palette change, not one per change.
    std::optional<Appearance> m_pending;
    QTimer m_nextFrame;
    bool m_followsDesktop = false;
};

} // namespace Tempolane
