#include "CliInput.h"

#include "Utf8.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

namespace Tempolane::Cli {

std::expected<QString, QString> readText(const QString& path)
{
    QFile file(path);
    const bool opened =
        path.isEmpty() ? file.open(stdin, QIODevice::ReadOnly) : file.open(QIODevice::ReadOnly);
    if (!opened)
        return std::unexpected(file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::unexpected(file.errorString());
    auto text = Utf8::decode(bytes);
    if (!text)
        return std::unexpected(
            QCoreApplication::translate("Cli", "Die Eingabe ist kein gültiges UTF-8."));
    return *text;
}

QStringList inputLines(const QString& text)
{
    QStringList lines = text.split(u'\n');
    if (lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

QString jsonString(const QString& text)
{
    QString json = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            json += QStringLiteral("\\\"");
            break;
        case u'\\':
            json += QStringLiteral("\\\\");
            break;
        case u'\n':
            json += QStringLiteral("\\n");
            break;
        case u'\r':
            json += QStringLiteral("\\r");
            break;
        case u'\t':
            json += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                json += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
            else
                json += c;
        }
    }
    return json + u'"';
}

QString localTime(const std::optional<QDateTime>& instant)
{
    if (!instant)
        return QStringLiteral("-");
    const QDateTime local = instant->toLocalTime();
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate);
}

} // namespace Tempolane::Cli
