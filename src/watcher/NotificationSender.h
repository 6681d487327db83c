#pragma once

#include "Notification.h"
#include "NotificationOutlet.h"

#include <QDBusConnection>
#include <QHash>
#include <QList>
#include <QObject>
#include <QUuid>

namespace Tempolane {

// Shows notifications through the desktop's notification service (org.freedesktop.
// Notifications) and reports "Anzeigen" or a click on one, once per notification. A job has at
// most one notification on screen: a new one replaces it. Calls are asynchronous and limited:
// a slow or vanished service never blocks the watcher, and while it owes answers to
// `maxInFlight` calls, further notifications are refused instead of queued.
class NotificationSender final : public QObject, public NotificationOutlet
{
    Q_OBJECT

public:
    static constexpr int maxInFlight = 4;
    static constexpr int callTimeoutMs = 10000;
    // The notifications whose buttons are remembered; older ones can no longer open a job.
    static constexpr qsizetype rememberedNotifications = 256;

    explicit NotificationSender(QDBusConnection bus, QObject* parent = nullptr);

    static QString serviceName();
    // Whether a notification service runs on the bus or can be started by it.
    static bool hasService(const QDBusConnection& bus);

    void show(const Notification& notification, Delivered delivered) override;
    void withdraw(const QUuid& jobId) override;
    // Takes one notification off the screen.
    void close(uint notificationId);
    int callsInFlight() const { return m_inFlight; }

Q_SIGNALS:
    // "Anzeigen" or the notification itself was chosen; a null job id for a summary.
    void showRequested(uint notificationId, QUuid jobId);

private Q_SLOTS:
    void onActionInvoked(uint id, const QString& action);
    void onClosed(uint id, uint reason);

private:
    void remember(uint id, const QUuid& jobId);

    QDBusConnection m_bus;
    bool m_readsMarkup = false;
    int m_inFlight = 0;
    QHash<uint, QUuid> m_jobs;
    QList<uint> m_order;
    // The notification each job has on screen.
    QHash<QUuid, uint> m_onScreen;
};

} // namespace Tempolane
