#include "XAuthority.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QtEndian>
#include <sys/socket.h>

namespace Tempolane::XAuthority {

namespace {

// The address families of the authority file.
constexpr quint16 familyInternet = 0;
constexpr quint16 familyInternet6 = 6;
constexpr quint16 familyLocal = 256;
constexpr quint16 familyWild = 65535;

// A file far larger than any authority file is not read.
constexpr qint64 sizeCap = 1024 * 1024;

const QByteArray cookieName = QByteArrayLiteral("MIT-MAGIC-COOKIE-1");

// Reads the big-endian, length-prefixed fields of the file one after the other.
class Fields
{
public:
    explicit Fields(const QByteArray& bytes) : m_bytes(bytes) {}

    std::optional<quint16> number()
    {
        if (m_at + 2 > m_bytes.size())
            return std::nullopt;
        const auto value = qFromBigEndian<quint16>(m_bytes.constData() + m_at);
        m_at += 2;
        return value;
    }
    std::optional<QByteArray> text()
    {
        const auto length = number();
        if (!length || m_at + *length > m_bytes.size())
            return std::nullopt;
        const QByteArray value = m_bytes.mid(m_at, *length);
        m_at += *length;
        return value;
    }

private:
    const QByteArray& m_bytes;
    qsizetype m_at = 0;
};

} // namespace

std::optional<QByteArray> cookieFor(const QProcessEnvironment& environment, int family,
                                    const QByteArray& peer, uint number)
{
    QString path = environment.value(QStringLiteral("XAUTHORITY"));
    if (path.isEmpty())
        path = environment.value(QStringLiteral("HOME"), QDir::homePath()) +
               QStringLiteral("/.Xauthority");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > sizeCap)
        return std::nullopt;
    const QByteArray bytes = file.read(sizeCap);

    // A connection on this computer, also over the loopback address, goes by the host's name.
    const bool isLoopback = family == AF_INET && peer.size() == 4 && uchar(peer[0]) == 127;
    const bool isLocal = family == AF_UNIX || isLoopback;
    const quint16 wanted = isLocal              ? familyLocal
                           : family == AF_INET6 ? familyInternet6
                                                : familyInternet;
    const QByteArray address = isLocal ? QSysInfo::machineHostName().toLocal8Bit() : peer;
    const QByteArray display = QByteArray::number(number);

    Fields fields(bytes);
    for (;;) {
        const auto entryFamily = fields.number();
        const auto entryAddress = fields.text();
        const auto entryNumber = fields.text();
        const auto name = fields.text();
        const auto data = fields.text();
        if (!data)
            return std::nullopt;
        const bool isForAddress =
            *entryFamily == familyWild || (*entryFamily == wanted && *entryAddress == address);
        const bool isForDisplay = entryNumber->isEmpty() || *entryNumber == display;
        if (isForAddress && isForDisplay && *name == cookieName)
            return data;
    }
}

} // namespace Tempolane::XAuthority
