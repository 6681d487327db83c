#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace Tempolane::Testing {

// A server that a display or a bus client may reach but should not trust: on a thread of its
// own it accepts every connection and then says nothing, closes it at once, or sends the same
// bytes to every client at once (by default bytes that are no answer of any protocol). It
// listens on a socket of this computer (a file or an abstract name) or on a TCP port of the
// loopback address.
class HostileServer final
{
public:
    enum class Manner
    {
        silent,
        closes,
        sends
    };

    static inline const QByteArray garbage = "HTTP/1.0 200 OK\r\n\r\n<html>hello</html>\n";

    // A socket file at `path`, or the abstract name `path` with `isAbstract`.
    HostileServer(Manner manner, const QString& path, bool isAbstract = false,
                  QByteArray bytes = garbage)
        : m_manner(manner), m_bytes(std::move(bytes))
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = path.toLocal8Bit();
        const size_t start = isAbstract ? 1 : 0;
        std::memcpy(address.sun_path + start, name.constData(), size_t(name.size()));
        // An abstract name has no terminating zero byte.
        const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + start +
                                      size_t(name.size()) + (isAbstract ? 0 : 1));
        listenOn(AF_UNIX, reinterpret_cast<const sockaddr*>(&address), length);
    }
    // A TCP port of 127.0.0.1 chosen by the system.
    explicit HostileServer(Manner manner, QByteArray bytes = garbage)
        : m_manner(manner), m_bytes(std::move(bytes))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        listenOn(AF_INET, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        if (m_listener >= 0 &&
            ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            m_port = ntohs(address.sin_port);
    }
    ~HostileServer()
    {
        m_isStopping = true;
        if (m_thread.joinable())
            m_thread.join();
        for (const int held : m_held)
            ::close(held);
        if (m_listener >= 0)
            ::close(m_listener);
    }
    HostileServer(const HostileServer&) = delete;
    HostileServer& operator=(const HostileServer&) = delete;

    bool isListening() const { return m_listener >= 0; }
    quint16 port() const { return m_port; }

private:
    void listenOn(int family, const sockaddr* address, socklen_t length)
    {
        const int listener = ::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (listener < 0 || ::bind(listener, address, length) != 0 || ::listen(listener, 64) != 0) {
            if (listener >= 0)
                ::close(listener);
            return;
        }
        m_listener = listener;
        m_thread = std::thread([this] { serve(); });
    }

    void serve()
    {
        while (!m_isStopping) {
            pollfd waiting{m_listener, POLLIN, 0};
            if (::poll(&waiting, 1, 50) != 1)
                continue;
            const int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                continue;
            if (m_manner == Manner::closes) {
                ::close(client);
                continue;
            }
            if (m_manner == Manner::sends)
                (void)::send(client, m_bytes.constData(), size_t(m_bytes.size()), MSG_NOSIGNAL);
            m_held.push_back(client);
        }
    }

    Manner m_manner;
    QByteArray m_bytes;
    int m_listener = -1;
    quint16 m_port = 0;
    std::vector<int> m_held;
    std::atomic<bool> m_isStopping = false;
    std::thread m_thread;
};

} // namespace Tempolane::Testing
