#pragma once

#include <QFile>
#include <QStringList>
#include <QTest>

namespace Tempolane::Testing {

// A table of inputs and expected outputs kept as text under tests/data: a row a line, its
// columns parted by tabs, the first naming the row; lines starting with # are left out. In every
// column \n, \r, \t and \\ stand for a line feed, a carriage return, a tab and a backslash.
inline QList<QStringList> dataTable(const QString& name, qsizetype columns)
{
    const auto unescaped = [](const QString& text) {
        QString plain;
        for (qsizetype at = 0; at < text.size(); ++at) {
            const QChar next = at + 1 < text.size() ? text[at + 1] : QChar();
            if (text[at] != u'\\' || !QStringView(u"nrt\\").contains(next)) {
                plain += text[at];
                continue;
            }
            plain += next == u'n' ? u'\n' : next == u'r' ? u'\r' : next == u't' ? u'\t' : u'\\';
            ++at;
        }
        return plain;
    };
    QFile file(QStringLiteral(TEMPOLANE_SOURCE_DIR "/tests/data/") + name);
    if (!file.open(QIODevice::ReadOnly))
        QTest::qFail(qPrintable(file.fileName() + QStringLiteral(" cannot be read")), __FILE__,
                     __LINE__);
    QList<QStringList> rows;
    while (!file.atEnd()) {
        QString line = QString::fromUtf8(file.readLine());
        if (line.endsWith(u'\n'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        QStringList row = line.split(u'\t');
        if (row.size() != columns)
            QTest::qFail(qPrintable(QStringLiteral("%1 columns instead of %2: %3")
                                        .arg(row.size())
                                        .arg(columns)
                                        .arg(line)),
                         __FILE__, __LINE__);
        for (QString& column : row)
            column = unescaped(column);
        rows.append(row);
    }
    return rows;
}

// A column that says "yes" or "no".
inline bool isYes(const QString& cell)
{
    if (cell != u"yes" && cell != u"no")
        QTest::qFail(qPrintable(QStringLiteral("neither yes nor no: ") + cell), __FILE__, __LINE__);
    return cell == u"yes";
}

} // namespace Tempolane::Testing
