#include "Theme.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QStyleFactory>
#include <QWidget>

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

Theme::Theme(QApplication& application, const QDBusConnection& bus,
             std::chrono::milliseconds longestWait)
    : QObject(&application), m_platformPalette(QApplication::palette())
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    if (bus.isConnected()) {
        // Listening first, so that a switch while the answer is on its way is not lost.
        followPortal(bus);
        adoptPortalPreference(askPortal(bus, longestWait));
    } else {
        adoptPortalPreference(std::nullopt);
    }
}

void Theme::setScheme(ColorScheme scheme)
{
    const bool changed = scheme != m_scheme;
    m_scheme = scheme;
    QApplication::setPalette(Palette::qtPalette(scheme));
    // Qt tells only windows already on screen; one built but not yet shown would keep the
    // palette it was made with, and so would everything inside it.
    QEvent paletteChange(QEvent::ApplicationPaletteChange);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->windowHandle())
            QCoreApplication::sendEvent(window, &paletteChange);
    }
    if (changed)
        Q_EMIT schemeChanged(scheme);
}

void Theme::followPortal(QDBusConnection bus)
{
    // A slot taking the whole message: Qt refuses to connect one typed with a QDBusVariant.
    m_followsDesktop =
        bus.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"),
                    this, SLOT(portalSettingChanged(QDBusMessage)));
}

std::optional<uint> Theme::askPortal(QDBusConnection bus, std::chrono::milliseconds longestWait)
{
    const QDeadlineTimer deadline(longestWait);
    // ReadOne answers with the value itself; portals older than it know only Read.
    for (const QString& method : {QStringLiteral("ReadOne"), QStringLiteral("Read")}) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0)
            break;
        QDBusMessage read =
            QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface, method);
        read << appearanceGroup << colorSchemeKey;
        const QDBusMessage reply = bus.call(read, QDBus::Block, int(left));
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
            return portalPreferenceFrom(reply.arguments().constFirst());
        if (reply.errorName() != QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"))
            break;
    }
    return std::nullopt;
}

void Theme::adoptPortalPreference(std::optional<uint> preference)
{
    setScheme(preferredColorScheme(preference, m_platformPalette));
}

void Theme::portalSettingChanged(const QDBusMessage& message)
{
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() == 3 && arguments.at(0).toString() == appearanceGroup &&
        arguments.at(1).toString() == colorSchemeKey)
        adoptPortalPreference(portalPreferenceFrom(arguments.at(2)));
}

} // namespace Tempolane
