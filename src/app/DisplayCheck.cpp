#include "DisplayCheck.h"

#include "CrontabText.h"
#include "TextContext.h"

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <limits>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

TEMPOLANE_TEXT_CONTEXT(DisplayCheck)

namespace Tempolane {

namespace {

using std::chrono::milliseconds;

constexpr quint16 firstXPort = 6000;

bool connects(int family, const sockaddr* address, socklen_t length, milliseconds timeLimit)
{
    const int socket = ::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return false;
    bool connected = ::connect(socket, address, length) == 0;
    if (!connected && errno == EINPROGRESS) {
        pollfd waiting{socket, POLLOUT, 0};
        int error = 0;
        socklen_t size = sizeof error;
        connected = ::poll(&waiting, 1, int(timeLimit.count())) == 1 &&
                    ::getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
    }
    ::close(socket);
    return connected;
}

enum class Namespace
{
    file,
    abstract
};

bool connectsLocally(const QString& path, Namespace space, milliseconds timeLimit)
{
    const QByteArray name = path.toLocal8Bit();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // An abstract name starts with a zero byte and has no terminating one.
    const qsizetype start = space == Namespace::abstract ? 1 : 0;
    if (name.isEmpty() || start + name.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path + start, name.constData(), name.size());
    const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + start + name.size() +
                                  (space == Namespace::file ? 1 : 0));
    return connects(AF_UNIX, reinterpret_cast<const sockaddr*>(&address), length, timeLimit);
}

bool connectsOverNetwork(const QString& host, quint16 port, milliseconds timeLimit)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.toLocal8Bit().constData(), QByteArray::number(port).constData(), &hints,
                      &found) != 0)
        return false;
    bool connected = false;
    for (const addrinfo* address = found; address && !connected; address = address->ai_next)
        connected = connects(address->ai_family, address->ai_addr, address->ai_addrlen, timeLimit);
    ::freeaddrinfo(found);
    return connected;
}

// "[protocol/][host]:number[.screen]": no host or "unix" means this computer's socket of that
// number (abstract first, then the file), and without a host TCP on this computer after that;
// any other host is reached over TCP.
bool reachesXDisplay(const QString& display, milliseconds timeLimit)
{
    const qsizetype colon = display.lastIndexOf(u':');
    if (colon < 0)
        return false;
    if (display.startsWith(u'/'))
        return connectsLocally(display.left(colon), Namespace::file, timeLimit);
    bool isNumber = false;
    const uint number = QStringView(display).mid(colon + 1).split(u'.').front().toUInt(&isNumber);
    if (!isNumber || number > uint(std::numeric_limits<quint16>::max() - firstXPort))
        return false;
    const QString place = display.left(colon);
    const qsizetype slash = place.indexOf(u'/');
    const QString protocol = slash < 0 ? QString() : place.left(slash);
    const QString host = place.mid(slash + 1);
    const bool isLocal = protocol.isEmpty() || protocol == u"unix" || protocol == u"local";
    if (isLocal && (host.isEmpty() || host == u"unix")) {
        const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(number);
        if (connectsLocally(socket, Namespace::abstract, timeLimit) ||
            connectsLocally(socket, Namespace::file, timeLimit))
            return true;
        if (!protocol.isEmpty() || !host.isEmpty())
            return false;
    }
    return connectsOverNetwork(host.isEmpty() ? QStringLiteral("localhost") : host,
                               quint16(firstXPort + number), timeLimit);
}

// A name is looked for in the user's runtime folder, a path taken as it is.
bool reachesWaylandDisplay(const QProcessEnvironment& environment, const QString& display,
                           milliseconds timeLimit)
{
    if (display.startsWith(u'/'))
        return connectsLocally(display, Namespace::file, timeLimit);
    const QString runtime = environment.value(QStringLiteral("XDG_RUNTIME_DIR"));
    return !runtime.isEmpty() &&
           connectsLocally(runtime + u'/' + display, Namespace::file, timeLimit);
}

// The platforms Qt is told to try, in its order; empty when the choice is left to Qt.
QStringList namedPlatforms(const QProcessEnvironment& environment, const QStringList& arguments)
{
    // Qt takes its own options with one dash or two.
    for (qsizetype i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments.at(i) == u"-platform" || arguments.at(i) == u"--platform")
            return {arguments.at(i + 1)};
    }
    return environment.value(QStringLiteral("QT_QPA_PLATFORM")).split(u';', Qt::SkipEmptyParts);
}

// Tries the displays a window could use and notes each one tried ("DISPLAY=:1").
class DisplayTrial
{
public:
    DisplayTrial(const QProcessEnvironment& environment, milliseconds timeLimit)
        : m_environment(environment), m_timeLimit(timeLimit)
    {
    }

    bool reachesX()
    {
        const QString display = value("DISPLAY");
        if (display.isEmpty())
            return false;
        note("DISPLAY", display);
        return reachesXDisplay(display, m_timeLimit);
    }

    // Wayland's own default name when none is set, as a Wayland platform named for Qt uses it.
    bool reachesWayland(bool orItsDefault)
    {
        if (!value("WAYLAND_SOCKET").isEmpty())
            return true;
        QString display = value("WAYLAND_DISPLAY");
        if (display.isEmpty() && orItsDefault)
            display = QStringLiteral("wayland-0");
        if (display.isEmpty())
            return false;
        note("WAYLAND_DISPLAY", display);
        return reachesWaylandDisplay(m_environment, display, m_timeLimit);
    }

    bool reaches(QStringView platform)
    {
        // "xcb:option=value" names the plugin before its options.
        const QStringView plugin = platform.left(platform.indexOf(u':'));
        if (plugin == u"xcb")
            return reachesX();
        if (plugin.startsWith(u"wayland"))
            return reachesWayland(true);
        return true;
    }

    const QStringList& tried() const { return m_tried; }

private:
    QString value(const char* name) const { return m_environment.value(QString::fromLatin1(name)); }

    void note(const char* name, const QString& display)
    {
        const QString shown = QString::fromLatin1(name) + u'=' + CrontabText::printable(display);
        if (!m_tried.contains(shown))
            m_tried.append(shown);
    }

    const QProcessEnvironment& m_environment;
    milliseconds m_timeLimit;
    QStringList m_tried;
};

} // namespace

std::optional<QString> whyNoWindowCanOpen(const QProcessEnvironment& environment,
                                          const QStringList& arguments, milliseconds timeLimit)
{
    DisplayTrial trial(environment, timeLimit);
    const QStringList platforms = namedPlatforms(environment, arguments);
    const bool canOpen =
        platforms.isEmpty() ? trial.reachesX() || trial.reachesWayland(false)
                            : std::any_of(platforms.begin(), platforms.end(),
                                          [&](const QString& name) { return trial.reaches(name); });
    if (canOpen)
        return std::nullopt;
    if (trial.tried().isEmpty())
        return tr("Tempolane braucht eine grafische Sitzung, aber weder DISPLAY noch "
                  "WAYLAND_DISPLAY ist gesetzt; im Terminal hilft das Programm tempolane-cli "
                  "weiter.");
    return tr("Tempolane braucht eine grafische Sitzung, aber die Anzeige ist nicht erreichbar "
              "(%1); im Terminal hilft das Programm tempolane-cli weiter.")
        .arg(trial.tried().join(QStringLiteral(", ")));
}

} // namespace Tempolane
