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

QString printable(QStringView text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() != QChar::Other_Control)
            shown += c;
        else if (c.unicode() < 0x80)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0'));
        else
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
    }
    return shown;
}

} // namespace Tempolane::Cli
