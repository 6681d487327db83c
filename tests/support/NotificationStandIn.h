#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

namespace Tempolane::Testing {

// The desktop's notification service as far as Tempolane uses it: records each Notify and
// CloseNotification, answers with fresh ids (the replaced one's where asked), and lets the test
// choose an action as a user would. With `isSlow` it never answers a Notify, like a service
// that hangs; with `isRefusing` it answers with an error, like one that fails.
class NotificationStandIn final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Shown
    {
        uint id = 0;
        uint replacesId = 0;
        QString appName;
        QString icon;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        QDateTime receivedAt;
    };

    explicit NotificationStandIn(QDBusConnection bus) : m_bus(std::move(bus)) {}

    bool registerOnBus()
    {
        return m_bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                                    QDBusConnection::ExportAllSlots) &&
               m_bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
    }

    // What the user chose on notification `id`.
    void invoke(uint id, const QString& action)
    {
        QDBusMessage signal = QDBusMessage::createSignal(
            QStringLiteral("/org/freedesktop/Notifications"),
            QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("ActionInvoked"));
        signal << id << action;
        m_bus.send(signal);
    }

    QList<Shown> shown;
    QList<uint> closed;
    bool isSlow = false;
    bool isRefusing = false;
    QList<QDBusMessage> unanswered;

public Q_SLOTS:
    uint Notify(const QString& appName, uint replacesId, const QString& icon,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& hints, int /*timeout*/, const QDBusMessage& message)
    {
        if (isSlow) {
            message.setDelayedReply(true);
            unanswered.append(message);
            return 0;
        }
        if (isRefusing) {
            message.setDelayedReply(true);
            m_bus.send(message.createErrorReply(QDBusError::Failed, QStringLiteral("refused")));
            return 0;
        }
        const uint id = replacesId != 0 ? replacesId : ++m_lastId;
        shown.append({id, replacesId, appName, icon, summary, body, actions, hints,
                      QDateTime::currentDateTimeUtc()});
        return id;
    }
    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }
    void CloseNotification(uint id) { closed.append(id); }

private:
    QDBusConnection m_bus;
    uint m_lastId = 0;
};

} // namespace Tempolane::Testing
