#include "NotificationSender.h"

#include "BusNames.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>
#include <QVariantMap>

namespace Tempolane {

namespace {

const QString path = QStringLiteral("/org/freedesktop/Notifications");
const QString interface = QStringLiteral("org.freedesktop.Notifications");
const QString showAction = QStringLiteral("show");
const QString defaultAction = QStringLiteral("default");

// The urgency hint's values.
constexpr uchar normalUrgency = 1;
constexpr uchar criticalUrgency = 2;

QDBusMessage call(const QString& method)
{
    return QDBusMessage::createMethodCall(NotificationSender::serviceName(), path, interface,
                                          method);
}

// Services that read markup in the body would take a job's output for it.
QString escapedMarkup(QString text)
{
    return text.replace(u'&', QStringLiteral("&amp;"))
        .replace(u'<', QStringLiteral("&lt;"))
        .replace(u'>', QStringLiteral("&gt;"));
}

} // namespace

NotificationSender::NotificationSender(QDBusConnection bus, QObject* parent)
    : QObject(parent), m_bus(std::move(bus))
{
    const bool connected =
        m_bus.connect(serviceName(), path, interface, QStringLiteral("ActionInvoked"), this,
                      SLOT(onActionInvoked(uint, QString))) &&
        m_bus.connect(serviceName(), path, interface, QStringLiteral("NotificationClosed"), this,
                      SLOT(onClosed(uint, uint)));
    if (!connected)
        qWarning("Tempolane: the notification service's signals cannot be received");

    auto* capabilities = new QDBusPendingCallWatcher(
        m_bus.asyncCall(call(QStringLiteral("GetCapabilities")), callTimeoutMs), this);
    connect(capabilities, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* watcher) {
                const QDBusPendingReply<QStringList> reply = *watcher;
                m_readsMarkup =
                    reply.isValid() && reply.value().contains(QStringLiteral("body-markup"));
                watcher->deleteLater();
            });
}

QString NotificationSender::serviceName()
{
    return QStringLiteral("org.freedesktop.Notifications");
}

bool NotificationSender::hasService(const QDBusConnection& bus)
{
    if (!bus.isConnected())
        return false;
    const QDBusConnectionInterface* names = bus.interface();
    if (names->isServiceRegistered(serviceName()))
        return true;
    const QDBusReply<QStringList> activatable = names->activatableServiceNames();
    return activatable.isValid() && activatable.value().contains(serviceName());
}

void NotificationSender::show(const Notification& notification, Delivered delivered)
{
    if (m_inFlight >= maxInFlight) {
        delivered(false);
        return;
    }
    const QStringList actions{defaultAction, tr("Anzeigen"), showAction, tr("Anzeigen")};
    const QVariantMap hints{
        {QStringLiteral("desktop-entry"), BusNames::application()},
        {QStringLiteral("urgency"),
         QVariant::fromValue(notification.isCritical ? criticalUrgency : normalUrgency)}};
    const uint replaced = notification.jobId.isNull() ? 0 : m_onScreen.value(notification.jobId);
    QDBusMessage message = call(QStringLiteral("Notify"));
    message << QCoreApplication::applicationName() << replaced << BusNames::application()
            << notification.summary
            << (m_readsMarkup ? escapedMarkup(notification.body) : notification.body) << actions
            << hints << qint32(-1);

    ++m_inFlight;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message, callTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, jobId = notification.jobId,
             delivered = std::move(delivered)](QDBusPendingCallWatcher* finished) {
                --m_inFlight;
                const QDBusPendingReply<uint> reply = *finished;
                finished->deleteLater();
                if (reply.isValid()) {
                    remember(reply.value(), jobId);
                    if (!jobId.isNull())
                        m_onScreen.insert(jobId, reply.value());
                }
                delivered(reply.isValid());
            });
}

void NotificationSender::withdraw(const QUuid& jobId)
{
    if (const auto shown = m_onScreen.constFind(jobId); shown != m_onScreen.cend())
        close(*shown);
}

void NotificationSender::close(uint notificationId)
{
    m_onScreen.removeIf(
        [notificationId](const auto& shown) { return shown.value() == notificationId; });
    QDBusMessage message = call(QStringLiteral("CloseNotification"));
    message << notificationId;
    m_bus.asyncCall(message, callTimeoutMs);
}

void NotificationSender::onActionInvoked(uint id, const QString& action)
{
    // Each notification opens its job once, however often the service repeats the action.
    if ((action != showAction && action != defaultAction) || !m_jobs.contains(id))
        return;
    m_order.removeOne(id);
    Q_EMIT showRequested(id, m_jobs.take(id));
}

void NotificationSender::onClosed(uint id, uint /*reason*/)
{
    if (m_jobs.remove(id))
        m_order.removeOne(id);
    m_onScreen.removeIf([id](const auto& shown) { return shown.value() == id; });
}

void NotificationSender::remember(uint id, const QUuid& jobId)
{
    if (m_jobs.contains(id))
        m_order.removeOne(id);
    m_jobs.insert(id, jobId);
    m_order.append(id);
    while (m_order.size() > rememberedNotifications)
        m_jobs.remove(m_order.takeFirst());
}

} // namespace Tempolane
