#include "DisplayCheck.h"

#include "CrontabText.h"
#include "TextContext.h"
#include "XAuthority.h"

#include <QCoreApplication>
#include <QtEndian>
#include <algorithm>
#include <limits>

TEMPOLANE_TEXT_CONTEXT(DisplayCheck)

namespace Tempolane {

namespace {

using std::chrono::milliseconds;

constexpr quint16 firstXPort = 6000;

// What one display said.
enum class Answer
{
    unreachable,
    // The server answered the greeting with a refusal, such as a missing cookie.
    refused,
    accepted
};

void appendLittle16(QByteArray& bytes, quint16 value)
{
    char little[2];
    qToLittleEndian(value, little);
    bytes.append(little, 2);
}

void appendPadded(QByteArray& bytes, const QByteArray& text)
{
    bytes.append(text);
    while (bytes.size() % 4 != 0)
        bytes.append('\0');
}

// The X connection setup in little-endian order, protocol 11.0, with the cookie if any.
QByteArray xSetupRequest(const std::optional<QByteArray>& cookie)
{
    const QByteArray name = cookie ? QByteArrayLiteral("MIT-MAGIC-COOKIE-1") : QByteArray();
    QByteArray request("l\0", 2);
    appendLittle16(request, 11);
    appendLittle16(request, 0);
    appendLittle16(request, quint16(name.size()));
    appendLittle16(request, quint16(cookie ? cookie->size() : 0));
    appendLittle16(request, 0);
    appendPadded(request, name);
    appendPadded(request, cookie.value_or(QByteArray()));
    return request;
}

// The reply's first eight bytes, and a refusal's reason after them.
bool isCompleteXReply(const QByteArray& bytes)
{
    if (bytes.size() < 8)
        return false;
    const char status = bytes[0];
    if (status != 0 && status != 2)
        return true;
    return bytes.size() >= 8 + 4 * qsizetype(qFromLittleEndian<quint16>(bytes.constData() + 6));
}

// Greets the X server on the socket: accepted on a setup reply of protocol 11, refused with the
// server's reason, unreachable on silence, a closed connection or bytes that are no X reply.
Answer greetX(TimedSocket& socket, const QProcessEnvironment& environment, uint number,
              QDeadlineTimer deadline, QString& reason)
{
    const auto cookie =
        XAuthority::cookieFor(environment, socket.family(), socket.peerAddress(), number);
    if (!socket.send(xSetupRequest(cookie), deadline))
        return Answer::unreachable;
    const auto reply = socket.receive(isCompleteXReply, deadline, 1024 * 1024);
    if (!reply)
        return Answer::unreachable;
    const char status = (*reply)[0];
    if (status == 1)
        return qFromLittleEndian<quint16>(reply->constData() + 2) == 11 ? Answer::accepted
                                                                        : Answer::unreachable;
    if (status != 0 && status != 2)
        return Answer::unreachable;
    const qsizetype length = status == 0 ? uchar((*reply)[1]) : reply->size() - 8;
    reason = QString::fromLatin1(reply->mid(8, length)).trimmed();
    return Answer::refused;
}

// "[protocol/][host]:number[.screen]": no host or "unix" means this computer's socket of that
// number (abstract first, then the file), and without a host TCP on this computer after that;
// any other host is reached over TCP. The first socket that accepts is greeted, as the X
// library does.
TimedSocket connectToX(const QString& display, QDeadlineTimer deadline, uint& number)
{
    const qsizetype colon = display.lastIndexOf(u':');
    if (colon < 0)
        return {};
    bool isNumber = false;
    number = QStringView(display).mid(colon + 1).split(u'.').front().toUInt(&isNumber);
    if (display.startsWith(u'/'))
        return TimedSocket::toLocal(display.left(colon), TimedSocket::Namespace::file, deadline);
    if (!isNumber || number > uint(std::numeric_limits<quint16>::max() - firstXPort))
        return {};
    const QString place = display.left(colon);
    const qsizetype slash = place.indexOf(u'/');
    const QString protocol = slash < 0 ? QString() : place.left(slash);
    const QString host = place.mid(slash + 1);
    const bool isLocal = protocol.isEmpty() || protocol == u"unix" || protocol == u"local";
    if (isLocal && (host.isEmpty() || host == u"unix")) {
        const QString path = QStringLiteral("/tmp/.X11-unix/X%1").arg(number);
        for (const auto space : {TimedSocket::Namespace::abstract, TimedSocket::Namespace::file}) {
            if (TimedSocket socket = TimedSocket::toLocal(path, space, deadline);
                socket.isConnected())
                return socket;
        }
        if (!protocol.isEmpty() || !host.isEmpty())
            return {};
    }
    return TimedSocket::toHost(host.isEmpty() ? QStringLiteral("localhost") : host,
                               quint16(firstXPort + number), deadline);
}

// wl_display.sync on object 1, asking for the callback object 2: any compositor answers with
// the callback's "done" (or an error on the display).
bool isWaylandEvent(const QByteArray& bytes)
{
    return bytes.size() >= 8;
}

bool greetWayland(TimedSocket& socket, QDeadlineTimer deadline)
{
    QByteArray sync;
    for (const quint32 word : {quint32(1), quint32(12) << 16, quint32(2)}) {
        char native[4];
        qToLittleEndian(word, native);
        sync.append(native, 4);
    }
    if (!socket.send(sync, deadline))
        return false;
    const auto event = socket.receive(isWaylandEvent, deadline, 4096);
    if (!event)
        return false;
    const auto object = qFromLittleEndian<quint32>(event->constData());
    const auto size = qFromLittleEndian<quint32>(event->constData() + 4) >> 16;
    return (object == 1 || object == 2) && size >= 8 && size % 4 == 0;
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

// Tries the displays a window could use and notes each one tried ("DISPLAY=:1"), and the
// reason of one that refused.
class DisplayTrial
{
public:
    DisplayTrial(const QProcessEnvironment& environment, milliseconds timeLimit)
        : m_environment(environment), m_deadline(timeLimit)
    {
    }

    bool reachesX()
    {
        const QString display = value("DISPLAY");
        if (display.isEmpty())
            return false;
        note("DISPLAY", display);
        uint number = 0;
        TimedSocket socket = connectToX(display, m_deadline, number);
        if (!socket.isConnected())
            return false;
        QString reason;
        switch (greetX(socket, m_environment, number, m_deadline, reason)) {
        case Answer::accepted:
            m_held = std::move(socket);
            return true;
        case Answer::refused:
            m_refusedBy = QStringLiteral("DISPLAY=%1: %2")
                              .arg(CrontabText::printable(display), CrontabText::printable(reason));
            return false;
        case Answer::unreachable:
            break;
        }
        return false;
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
        // A name is looked for in the user's runtime folder, a path taken as it is.
        const QString runtime = value("XDG_RUNTIME_DIR");
        if (!display.startsWith(u'/') && runtime.isEmpty())
            return false;
        const QString path = display.startsWith(u'/') ? display : runtime + u'/' + display;
        TimedSocket socket = TimedSocket::toLocal(path, TimedSocket::Namespace::file, m_deadline);
        return socket.isConnected() && greetWayland(socket, m_deadline);
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
    const QString& refusedBy() const { return m_refusedBy; }
    TimedSocket takeHeld() { return std::move(m_held); }

private:
    QString value(const char* name) const { return m_environment.value(QString::fromLatin1(name)); }

    void note(const char* name, const QString& display)
    {
        const QString shown = QString::fromLatin1(name) + u'=' + CrontabText::printable(display);
        if (!m_tried.contains(shown))
            m_tried.append(shown);
    }

    const QProcessEnvironment& m_environment;
    QDeadlineTimer m_deadline;
    QStringList m_tried;
    QString m_refusedBy;
    TimedSocket m_held;
};

} // namespace

DisplayCheck::DisplayCheck(const QProcessEnvironment& environment, const QStringList& arguments,
                           milliseconds timeLimit)
{
    DisplayTrial trial(environment, timeLimit);
    const QStringList platforms = namedPlatforms(environment, arguments);
    const bool canOpen =
        platforms.isEmpty() ? trial.reachesX() || trial.reachesWayland(false)
                            : std::any_of(platforms.begin(), platforms.end(),
                                          [&](const QString& name) { return trial.reaches(name); });
    m_held = trial.takeHeld();
    if (canOpen)
        return;
    if (trial.tried().isEmpty())
        m_refusal = tr("Tempolane braucht eine grafische Sitzung, aber weder DISPLAY noch "
                       "WAYLAND_DISPLAY ist gesetzt; im Terminal hilft das Programm tempolane-cli "
                       "weiter.");
    else if (!trial.refusedBy().isEmpty())
        m_refusal = tr("Tempolane braucht eine grafische Sitzung, aber die Anzeige weist es ab "
                       "(%1); im Terminal hilft das Programm tempolane-cli weiter.")
                        .arg(trial.refusedBy());
    else
        m_refusal = tr("Tempolane braucht eine grafische Sitzung, aber die Anzeige ist nicht "
                       "erreichbar (%1); im Terminal hilft das Programm tempolane-cli weiter.")
                        .arg(trial.tried().join(QStringLiteral(", ")));
}

} // namespace Tempolane
