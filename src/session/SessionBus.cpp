#include "SessionBus.h"

#include "TimedSocket.h"

#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QtEndian>
#include <optional>
#include <unistd.h>

namespace Tempolane::SessionBus {

namespace {

// What libdbus takes for an address it cannot use, so that neither Qt nor this program waits.
constexpr char noAddress[] = "disabled:";

// One "transport:key=value,…" entry of a bus address, its values unescaped.
struct Address
{
    QString transport;
    QMap<QString, QString> values;
};

QList<Address> addressesIn(const QString& text)
{
    QList<Address> addresses;
    for (const QString& entry : text.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype colon = entry.indexOf(u':');
        if (colon < 0)
            continue;
        Address address{entry.left(colon), {}};
        for (const QString& pair : entry.mid(colon + 1).split(u',', Qt::SkipEmptyParts)) {
            const qsizetype equals = pair.indexOf(u'=');
            if (equals > 0)
                address.values.insert(pair.left(equals),
                                      QString::fromUtf8(QByteArray::fromPercentEncoding(
                                          pair.mid(equals + 1).toUtf8())));
        }
        addresses.append(address);
    }
    return addresses;
}

// The socket an address names; nothing for a kind this check does not try.
std::optional<TimedSocket> socketFor(const Address& address, const QProcessEnvironment& environment,
                                     QDeadlineTimer deadline)
{
    if (address.transport == u"unix") {
        if (address.values.contains(QStringLiteral("path")))
            return TimedSocket::toLocal(address.values.value(QStringLiteral("path")),
                                        TimedSocket::Namespace::file, deadline);
        if (address.values.contains(QStringLiteral("abstract")))
            return TimedSocket::toLocal(address.values.value(QStringLiteral("abstract")),
                                        TimedSocket::Namespace::abstract, deadline);
        if (address.values.value(QStringLiteral("runtime")) == u"yes")
            return TimedSocket::toLocal(environment.value(QStringLiteral("XDG_RUNTIME_DIR")) +
                                            QStringLiteral("/bus"),
                                        TimedSocket::Namespace::file, deadline);
        return std::nullopt;
    }
    if (address.transport == u"tcp") {
        bool isNumber = false;
        const uint port = address.values.value(QStringLiteral("port")).toUInt(&isNumber);
        if (!isNumber || port > 65535)
            return TimedSocket();
        return TimedSocket::toHost(
            address.values.value(QStringLiteral("host"), QStringLiteral("localhost")),
            quint16(port), deadline);
    }
    return std::nullopt;
}

void appendNumber(QByteArray& bytes, quint32 number)
{
    char little[4];
    qToLittleEndian(number, little);
    bytes.append(little, 4);
}

void alignTo(QByteArray& bytes, qsizetype boundary)
{
    while (bytes.size() % boundary != 0)
        bytes.append('\0');
}

// The bus's Hello, the first call every connection makes, marshalled by hand: little endian,
// serial 1, no body, the four header fields a method call to the bus needs.
QByteArray hello()
{
    QByteArray fields;
    const auto field = [&fields](char code, char type, QByteArrayView text) {
        alignTo(fields, 8);
        fields.append(code).append('\x01').append(type).append('\0');
        appendNumber(fields, quint32(text.size()));
        fields.append(text.data(), text.size()).append('\0');
    };
    field(1, 'o', "/org/freedesktop/DBus");
    field(6, 's', "org.freedesktop.DBus");
    field(2, 's', "org.freedesktop.DBus");
    field(3, 's', "Hello");
    QByteArray message("l\x01\x00\x01", 4);
    appendNumber(message, 0);
    appendNumber(message, 1);
    appendNumber(message, quint32(fields.size()));
    message.append(fields);
    alignTo(message, 8);
    return message;
}

bool isLine(const QByteArray& bytes)
{
    return bytes.contains("\r\n");
}

// A message header that is a reply or an error, in either byte order.
bool isReply(const QByteArray& bytes)
{
    return bytes.size() >= 16 && (bytes[0] == 'l' || bytes[0] == 'B') &&
           (bytes[1] == 2 || bytes[1] == 3) && bytes[3] == 1;
}

// The greeting: the peer's credentials, then Hello. A bus that refuses the credentials
// answered all the same; what it wants instead is left to Qt.
bool answers(TimedSocket& socket, QDeadlineTimer deadline)
{
    const QByteArray user = QByteArray::number(::getuid()).toHex();
    if (!socket.send(QByteArray(1, '\0') + "AUTH EXTERNAL " + user + "\r\n", deadline))
        return false;
    const auto answer = socket.receive(isLine, deadline, 4096);
    if (!answer)
        return false;
    if (answer->startsWith("REJECTED") || answer->startsWith("ERROR") || answer->startsWith("DATA"))
        return true;
    return answer->startsWith("OK ") && socket.send("BEGIN\r\n" + hello(), deadline) &&
           socket.receive(isReply, deadline).has_value();
}

std::optional<Verdict>& preparedVerdict()
{
    static std::optional<Verdict> verdict;
    return verdict;
}

bool isUsable(Verdict verdict)
{
    return verdict == Verdict::answers || verdict == Verdict::untried;
}

} // namespace

Verdict ask(const QProcessEnvironment& environment, std::chrono::milliseconds timeLimit)
{
    const QDeadlineTimer deadline(timeLimit);
    QString text = environment.value(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    // Where no address is named, libdbus looks in the runtime folder first.
    if (text.isEmpty() && QFileInfo::exists(environment.value(QStringLiteral("XDG_RUNTIME_DIR")) +
                                            QStringLiteral("/bus")))
        text = QStringLiteral("unix:runtime=yes");
    if (text.isEmpty())
        return Verdict::absent;
    // libdbus takes the first address it can connect to.
    for (const Address& address : addressesIn(text)) {
        auto socket = socketFor(address, environment, deadline);
        if (!socket)
            return Verdict::untried;
        if (socket->isConnected())
            return answers(*socket, deadline) ? Verdict::answers : Verdict::silent;
        if (deadline.hasExpired())
            return Verdict::silent;
    }
    return Verdict::absent;
}

Verdict prepare(std::chrono::milliseconds timeLimit)
{
    std::optional<Verdict>& verdict = preparedVerdict();
    if (!verdict) {
        verdict = ask(QProcessEnvironment::systemEnvironment(), timeLimit);
        if (!isUsable(*verdict))
            qputenv("DBUS_SESSION_BUS_ADDRESS", noAddress);
    }
    return *verdict;
}

QDBusConnection connection()
{
    if (!isUsable(prepare()))
        return QDBusConnection(QStringLiteral("tempolane-without-session-bus"));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected())
        bus.interface()->setTimeout(callTimeoutMs);
    return bus;
}

} // namespace Tempolane::SessionBus
