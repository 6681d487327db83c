#include "Theme.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QStyleFactory>

namespace Tempolane {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");

constexpr uint prefersDark = 1;
constexpr uint prefersLight = 2;

} // namespace

ColorScheme preferredColorScheme(std::optional<uint> portalPreference,
                                 const QPalette& platformPalette)
{
    if (portalPreference == prefersDark)
        return ColorScheme::dark;
    if (portalPreference == prefersLight)
        return ColorScheme::light;
    return Palette::schemeOf(platformPalette);
}

std::optional<uint> portalPreferenceFrom(const QVariant& value)
{
    QVariant inner = value;
    while (inner.canConvert<QDBusVariant>() &&
           inner.metaType() == QMetaType::fromType<QDBusVariant>())
        inner = qvariant_cast<QDBusVariant>(inner).variant();
    bool isNumber = false;
    const uint preference = inner.toUInt(&isNumber);
    return isNumber ? std::optional(preference) : std::nullopt;
}

Theme::Theme(QApplication& application)
    : QObject(&application), m_platformPalette(QApplication::palette())
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    adoptPortalPreference(std::nullopt);
    askPortal();
}

void Theme::setScheme(ColorScheme scheme)
{
    const bool changed = scheme != m_scheme;
    m_scheme = scheme;
    QApplication::setPalette(Palette::qtPalette(scheme));
    if (changed)
        Q_EMIT schemeChanged(scheme);
}

void Theme::askPortal()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"),
                this, SLOT(portalSettingChanged(QString, QString, QDBusVariant)));
    QDBusMessage read = QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface,
                                                       QStringLiteral("Read"));
    read << appearanceGroup << colorSchemeKey;
    // Asked without waiting: the window opens in the platform's lightness and switches when
    // the answer arrives, a few milliseconds later.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(read), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* call) {
                const QDBusPendingReply<QVariant> reply = *call;
                if (!reply.isError())
                    adoptPortalPreference(portalPreferenceFrom(reply.value()));
                call->deleteLater();
            });
}

void Theme::adoptPortalPreference(std::optional<uint> preference)
{
    setScheme(preferredColorScheme(preference, m_platformPalette));
}

void Theme::portalSettingChanged(const QString& group, const QString& key,
                                 const QDBusVariant& value)
{
    if (group == appearanceGroup && key == colorSchemeKey)
        adoptPortalPreference(portalPreferenceFrom(value.variant()));
}

} // namespace Tempolane
