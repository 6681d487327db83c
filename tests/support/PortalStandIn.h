#pragma once

#include "PrivateSessionBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QThread>
#include <QTimer>
#include <QVariantMap>
#include <chrono>
#include <memory>

namespace Tempolane::Testing {

// How the portal stand-in answers.
struct PortalBehaviour
{
    enum class Methods
    {
        readAndReadOne,
        // Portals older than ReadOne.
        readOnly
    };
    Methods methods = Methods::readAndReadOne;
    std::chrono::milliseconds answerDelay{0};
};

// The desktop portal's settings, as a desktop offers them: org.freedesktop.portal.Settings
// with Read and ReadOne, and SettingChanged when the test changes a value. It answers on a
// thread of its own, so the program under test may wait for it on the main thread.
class PortalStandIn final
{
public:
    static inline const QString group = QStringLiteral("org.freedesktop.appearance");

    PortalStandIn(PrivateSessionBus& bus, const QVariantMap& appearance,
                  PortalBehaviour behaviour = {})
        : m_connection(bus.connect()), m_service(new Service(appearance, behaviour))
    {
        m_service->moveToThread(&m_thread);
        m_thread.start();
        m_isServing =
            m_connection.registerVirtualObject(path(), m_service.get(),
                                               QDBusConnection::SingleNode) &&
            m_connection.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
    }
    ~PortalStandIn()
    {
        m_connection.unregisterObject(path());
        m_thread.quit();
        m_thread.wait();
    }
    PortalStandIn(const PortalStandIn&) = delete;
    PortalStandIn& operator=(const PortalStandIn&) = delete;

    bool isServing() const { return m_isServing; }

    // Sets a value of the appearance group and tells the desktop's programs, as a switch in
    // the desktop's settings does.
    void change(const QString& key, const QVariant& value)
    {
        m_service->set(key, value);
        QDBusMessage changed =
            QDBusMessage::createSignal(path(), interface(), QStringLiteral("SettingChanged"));
        changed << group << key << QVariant::fromValue(QDBusVariant(value));
        m_connection.send(changed);
    }

private:
    static QString path() { return QStringLiteral("/org/freedesktop/portal/desktop"); }
    static QString interface() { return QStringLiteral("org.freedesktop.portal.Settings"); }

    class Service final : public QDBusVirtualObject
    {
    public:
        Service(const QVariantMap& appearance, PortalBehaviour behaviour)
            : m_appearance(appearance), m_behaviour(behaviour)
        {
        }

        void set(const QString& key, const QVariant& value)
        {
            const QMutexLocker lock(&m_mutex);
            m_appearance.insert(key, value);
        }
        QString introspect(const QString&) const override { return {}; }
        bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
        {
            if (message.interface() != interface())
                return false;
            // Answered from the service's own thread, after the delay, whichever thread the
            // bus delivers on: a slow portal must not hold up the bus for everybody.
            QTimer::singleShot(m_behaviour.answerDelay, this,
                               [this, message, connection] { connection.send(answer(message)); });
            return true;
        }

    private:
        QDBusMessage answer(const QDBusMessage& message)
        {
            const QString method = message.member();
            const bool knows = method == QStringLiteral("Read") ||
                               (method == QStringLiteral("ReadOne") &&
                                m_behaviour.methods == PortalBehaviour::Methods::readAndReadOne);
            if (!knows)
                return message.createErrorReply(QDBusError::UnknownMethod, method);
            const QList<QVariant> arguments = message.arguments();
            const QMutexLocker lock(&m_mutex);
            if (arguments.size() != 2 || arguments.at(0).toString() != group ||
                !m_appearance.contains(arguments.at(1).toString()))
                return message.createErrorReply(
                    QStringLiteral("org.freedesktop.portal.Error.NotFound"), method);
            const QVariant value = m_appearance.value(arguments.at(1).toString());
            // Read wraps the value in one variant more.
            const QVariant answer =
                method == QStringLiteral("Read") ? QVariant::fromValue(QDBusVariant(value)) : value;
            return message.createReply(QVariant::fromValue(QDBusVariant(answer)));
        }

        QMutex m_mutex;
        QVariantMap m_appearance;
        const PortalBehaviour m_behaviour;
    };

    QDBusConnection m_connection;
    QThread m_thread;
    std::unique_ptr<Service> m_service;
    bool m_isServing = false;
};

} // namespace Tempolane::Testing
