#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

namespace Tempolane::Testing {

// A session bus of the test's own (dbus-daemon), so that no test reaches the desktop's
// notifications or its running programs. Invalid when dbus-daemon is missing.
class PrivateSessionBus final
{
public:
    PrivateSessionBus()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            return;
        m_daemon.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                QStringLiteral("--print-address")});
        if (!m_daemon.waitForStarted(5000))
            return;
        while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(5000)) {
        }
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }
    ~PrivateSessionBus()
    {
        for (const QString& name : std::as_const(m_connections))
            QDBusConnection::disconnectFromBus(name);
        m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }
    Q_DISABLE_COPY_MOVE(PrivateSessionBus)

    bool isValid() const { return !m_address.isEmpty(); }
    QString address() const { return m_address; }

    // A connection of its own to the bus: one per role, as separate programs would have.
    QDBusConnection connect(const QString& name)
    {
        m_connections.append(name);
        return QDBusConnection::connectToBus(m_address, name);
    }
    // The same under a name of its own.
    QDBusConnection connect()
    {
        static int connections = 0;
        return connect(QStringLiteral("private-session-%1").arg(++connections));
    }

private:
    QProcess m_daemon;
    QString m_address;
    QStringList m_connections;
};

} // namespace Tempolane::Testing
