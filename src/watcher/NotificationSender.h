#pragma once

#include "Notification.h"

#include <QDBusConnection>
#include <QHash>
#include <QList>
#include <QObject>
#include <QUuid>

namespace Tempolane {

// Shows notifications through the desktop's notification service (org.freedesktop.
// Notifications) and reports "Anzeigen" or a click on one. Calls are asynchronous and
// limited: a slow or vanished service never blocks the watcher, and while it owes answers
// to `maxInFlight` calls, further notifications are dropped instead of queued.
class NotificationSender final : public QObject
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

    // False when the notification was dropped because too many calls are unanswered.
    bool send(const Notification& notification);
    int callsInFlight() const { return m_inFlight; }

Q_SIGNALS:
    // "Anzeigen" or the notification itself was chosen; a null id for a summary.
    void showRequested(QUuid jobId);

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
};

} // namespace Tempolane
