#include "Theme.h"

#include "Style.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QWidget>

namespace Tempolane {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");
const QString contrastKey = QStringLiteral("contrast");
const QString accentColorKey = QStringLiteral("accent-color");

constexpr uint prefersDark = 1;
constexpr uint prefersLight = 2;
constexpr uint prefersHighContrast = 1;
// One frame at 60 Hz: changes that arrive within it are applied together.
constexpr int frameMs = 16;

QVariant unwrapped(const QVariant& value)
{
    QVariant inner = value;
    while (inner.metaType() == QMetaType::fromType<QDBusVariant>())
        inner = qvariant_cast<QDBusVariant>(inner).variant();
    return inner;
}

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
    bool isNumber = false;
    const uint preference = unwrapped(value).toUInt(&isNumber);
    return isNumber ? std::optional(preference) : std::nullopt;
}

std::optional<QColor> accentColorFrom(const QVariant& value)
{
    const QVariant inner = unwrapped(value);
    if (inner.metaType() != QMetaType::fromType<QDBusArgument>())
        return std::nullopt;
    const auto argument = qvariant_cast<QDBusArgument>(inner);
    if (argument.currentSignature() != QStringLiteral("(ddd)"))
        return std::nullopt;
    double red = -1;
    double green = -1;
    double blue = -1;
    argument.beginStructure();
    argument >> red >> green >> blue;
    argument.endStructure();
    const auto inRange = [](double share) { return share >= 0 && share <= 1; };
    if (!inRange(red) || !inRange(green) || !inRange(blue))
        return std::nullopt;
    return QColor::fromRgbF(float(red), float(green), float(blue));
}

Theme::Theme(QApplication& application, const QDBusConnection& bus,
             std::chrono::milliseconds longestWait)
    : QObject(&application), m_platformPalette(QApplication::palette())
{
    QApplication::setStyle(new Style);
    m_nextFrame.setSingleShot(true);
    m_nextFrame.setInterval(frameMs);
    connect(&m_nextFrame, &QTimer::timeout, this, [this] {
        if (m_pending)
            adopt(*std::exchange(m_pending, std::nullopt));
    });
    m_appearance.scheme = preferredColorScheme(std::nullopt, m_platformPalette);
    if (bus.isConnected()) {
        // Listening first, so that a switch while the answers are on their way is not lost.
        followPortal(bus);
        m_appearance = askPortal(bus, longestWait);
    }
    adopt(m_appearance);
}

void Theme::setScheme(ColorScheme scheme)
{
    m_pending.reset();
    Appearance appearance = m_appearance;
    appearance.scheme = scheme;
    adopt(appearance);
}

void Theme::adopt(const Appearance& appearance)
{
    const bool changed = appearance.scheme != m_appearance.scheme;
    m_appearance = appearance;
    QApplication::setPalette(Palette::qtPalette(appearance));
    // Qt tells only windows already on screen; one built but not yet shown would keep the
    // palette it was made with, and so would everything inside it.
    QEvent paletteChange(QEvent::ApplicationPaletteChange);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->windowHandle())
            QCoreApplication::sendEvent(window, &paletteChange);
    }
    if (changed)
        Q_EMIT schemeChanged(appearance.scheme);
}

void Theme::followPortal(QDBusConnection bus)
{
    // A slot taking the whole message: Qt refuses to connect one typed with a QDBusVariant.
    m_followsDesktop =
        bus.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"),
                    this, SLOT(portalSettingChanged(QDBusMessage)));
}

Appearance Theme::askPortal(QDBusConnection bus, std::chrono::milliseconds longestWait) const
{
    Appearance appearance = m_appearance;
    const QDeadlineTimer deadline(longestWait);
    for (const QString& key : {colorSchemeKey, contrastKey, accentColorKey}) {
        // ReadOne answers with the value itself; portals older than it know only Read.
        for (const QString& method : {QStringLiteral("ReadOne"), QStringLiteral("Read")}) {
            const qint64 left = deadline.remainingTime();
            if (left <= 0)
                return appearance;
            QDBusMessage read = QDBusMessage::createMethodCall(portalService, portalPath,
                                                               settingsInterface, method);
            read << appearanceGroup << key;
            const QDBusMessage reply = bus.call(read, QDBus::Block, int(left));
            if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
                appearance = withSetting(appearance, key, reply.arguments().constFirst());
                break;
            }
            if (reply.errorName() != QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"))
                break;
        }
    }
    return appearance;
}

Appearance Theme::withSetting(Appearance appearance, const QString& key,
                              const QVariant& value) const
{
    if (key == colorSchemeKey)
        appearance.scheme = preferredColorScheme(portalPreferenceFrom(value), m_platformPalette);
    else if (key == contrastKey)
        appearance.contrast = portalPreferenceFrom(value) == prefersHighContrast
                                  ? Contrast::high
                                  : Contrast::standard;
    else if (key == accentColorKey)
        appearance.accent = accentColorFrom(value);
    return appearance;
}

void Theme::portalSettingChanged(const QDBusMessage& message)
{
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() != 3 || arguments.at(0).toString() != appearanceGroup)
        return;
    m_pending =
        withSetting(m_pending.value_or(m_appearance), arguments.at(1).toString(), arguments.at(2));
    if (!m_nextFrame.isActive())
        m_nextFrame.start();
}

} // namespace Tempolane
