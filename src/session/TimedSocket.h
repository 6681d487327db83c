#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <functional>
#include <sys/socket.h>

namespace Tempolane {

// A stream socket whose every step ends by a deadline: for asking a display server or the
// session bus whether it answers, where a server that accepts and then says nothing must not
// hold the program up.
class TimedSocket final
{
public:
    enum class Namespace
    {
        file,
        abstract
    };

    TimedSocket() = default;
    ~TimedSocket();
    TimedSocket(TimedSocket&& other) noexcept;
    TimedSocket& operator=(TimedSocket&& other) noexcept;
    TimedSocket(const TimedSocket&) = delete;
    TimedSocket& operator=(const TimedSocket&) = delete;

    // A socket of this computer, by path or by abstract name.
    static TimedSocket toLocal(const QString& path, Namespace space, QDeadlineTimer deadline);
    // The first address of the host that accepts.
    static TimedSocket toHost(const QString& host, quint16 port, QDeadlineTimer deadline);

    bool isConnected() const { return m_fd >= 0; }
    // The address family, for telling a local connection from one over the network.
    int family() const { return m_family; }
    // The peer's address, as the connection reached it.
    QByteArray peerAddress() const;

    bool send(QByteArrayView bytes, QDeadlineTimer deadline);
    // Reads until `isComplete` says the bytes so far suffice; nothing when the peer closes, the
    // deadline passes, or more than `limit` bytes arrive first.
    std::optional<QByteArray> receive(const std::function<bool(const QByteArray&)>& isComplete,
                                      QDeadlineTimer deadline, qsizetype limit = 65536);
    void close();

private:
    TimedSocket(int fd, int family);
    static TimedSocket connected(int family, const sockaddr* address, socklen_t length,
                                 QDeadlineTimer deadline);

    int m_fd = -1;
    int m_family = 0;
};

} // namespace Tempolane
