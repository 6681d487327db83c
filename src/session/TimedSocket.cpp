#include "TimedSocket.h"

#include <QFile>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace Tempolane {

namespace {

// Waits for the socket to become ready; false when the deadline passes first.
bool waitFor(int fd, short events, QDeadlineTimer deadline)
{
    for (;;) {
        const qint64 left = deadline.remainingTime();
        if (left == 0)
            return false;
        pollfd waiting{fd, events, 0};
        const int ready = ::poll(&waiting, 1, int(std::min<qint64>(left, 60'000)));
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
    }
}

} // namespace

TimedSocket::TimedSocket(int fd, int family) : m_fd(fd), m_family(family) {}

TimedSocket::~TimedSocket()
{
    close();
}

TimedSocket::TimedSocket(TimedSocket&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_family(other.m_family)
{
}

TimedSocket& TimedSocket::operator=(TimedSocket&& other) noexcept
{
    if (this != &other) {
        close();
        m_fd = std::exchange(other.m_fd, -1);
        m_family = other.m_family;
    }
    return *this;
}

void TimedSocket::close()
{
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
}

TimedSocket TimedSocket::connected(int family, const sockaddr* address, socklen_t length,
                                   QDeadlineTimer deadline)
{
    const int fd = ::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return {};
    TimedSocket socket(fd, family);
    if (::connect(fd, address, length) == 0)
        return socket;
    int error = errno;
    if (error == EINPROGRESS && waitFor(fd, POLLOUT, deadline)) {
        socklen_t size = sizeof error;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
            error = errno;
        if (error == 0)
            return socket;
    }
    return {};
}

TimedSocket TimedSocket::toLocal(const QString& path, Namespace space, QDeadlineTimer deadline)
{
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // An abstract name starts with a zero byte and has no terminating one.
    const qsizetype start = space == Namespace::abstract ? 1 : 0;
    if (name.isEmpty() || start + name.size() >= qsizetype(sizeof address.sun_path))
        return {};
    std::memcpy(address.sun_path + start, name.constData(), size_t(name.size()));
    const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(start + name.size()) +
                                  (space == Namespace::file ? 1 : 0));
    return connected(AF_UNIX, reinterpret_cast<const sockaddr*>(&address), length, deadline);
}

TimedSocket TimedSocket::toHost(const QString& host, quint16 port, QDeadlineTimer deadline)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.toLocal8Bit().constData(), QByteArray::number(port).constData(), &hints,
                      &found) != 0)
        return {};
    TimedSocket socket;
    for (const addrinfo* address = found; address && !socket.isConnected();
         address = address->ai_next)
        socket = connected(address->ai_family, address->ai_addr, address->ai_addrlen, deadline);
    ::freeaddrinfo(found);
    return socket;
}

QByteArray TimedSocket::peerAddress() const
{
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (m_fd < 0 || ::getpeername(m_fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return {};
    if (address.ss_family == AF_INET) {
        const auto& ip = reinterpret_cast<const sockaddr_in&>(address).sin_addr;
        return {reinterpret_cast<const char*>(&ip), sizeof ip};
    }
    if (address.ss_family == AF_INET6) {
        const auto& ip = reinterpret_cast<const sockaddr_in6&>(address).sin6_addr;
        return {reinterpret_cast<const char*>(&ip), sizeof ip};
    }
    return {};
}

bool TimedSocket::send(QByteArrayView bytes, QDeadlineTimer deadline)
{
    qsizetype sent = 0;
    while (m_fd >= 0 && sent < bytes.size()) {
        const ssize_t count =
            ::send(m_fd, bytes.data() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (count > 0) {
            sent += count;
        } else if (count < 0 && errno != EINTR &&
                   !((errno == EAGAIN || errno == EWOULDBLOCK) &&
                     waitFor(m_fd, POLLOUT, deadline))) {
            return false;
        }
    }
    return m_fd >= 0;
}

std::optional<QByteArray>
TimedSocket::receive(const std::function<bool(const QByteArray&)>& isComplete,
                     QDeadlineTimer deadline, qsizetype limit)
{
    QByteArray received;
    char chunk[4096];
    while (m_fd >= 0 && !isComplete(received)) {
        if (received.size() > limit || !waitFor(m_fd, POLLIN, deadline))
            return std::nullopt;
        const ssize_t count = ::recv(m_fd, chunk, sizeof chunk, 0);
        if (count == 0)
            return std::nullopt;
        if (count < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)
                continue;
            return std::nullopt;
        }
        received.append(chunk, count);
    }
    return received;
}

} // namespace Tempolane
