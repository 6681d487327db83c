#pragma once

#include <QFile>
#include <QList>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QXmlStreamReader>

namespace Tempolane::Testing {

// One message of a Qt Linguist catalogue: the German source text and its translation.
struct CatalogueEntry
{
    QString context;
    QString source;
    QString translation;
    QString type; // "unfinished", "vanished", "obsolete", or empty when finished
};

// The messages of a .ts file; empty when it cannot be read.
inline QList<CatalogueEntry> catalogueEntries(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<CatalogueEntry> entries;
    QString context;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            entries.append({context, {}, {}, {}});
        } else if (xml.name() == u"source" && !entries.isEmpty()) {
            entries.back().source = xml.readElementText();
        } else if (xml.name() == u"translation" && !entries.isEmpty()) {
            entries.back().type = xml.attributes().value(QLatin1String("type")).toString();
            entries.back().translation = xml.readElementText();
        }
    }
    return entries;
}

// The words of the program's German texts that none of its English texts uses (in any letter
// case), as a catalogue lists them: what an English screen or message must not show. They are
// matched as written, so "dir" is German and "DIR" of XDG_RUNTIME_DIR is not; words shorter
// than three letters say too little to tell the languages apart.
class GermanWords
{
public:
    static GermanWords of(const QString& cataloguePath)
    {
        QSet<QString> english;
        const QList<CatalogueEntry> entries = catalogueEntries(cataloguePath);
        for (const CatalogueEntry& entry : entries) {
            for (const QString& word : wordList(entry.translation))
                english.insert(word.toCaseFolded());
        }
        GermanWords words;
        for (const CatalogueEntry& entry : entries) {
            for (const QString& word : wordList(entry.source)) {
                if (!english.contains(word.toCaseFolded()))
                    words.m_words.insert(word);
            }
        }
        return words;
    }

    qsizetype size() const { return m_words.size(); }

    // The German words in a text, as they stand there.
    QStringList in(const QString& text) const
    {
        QStringList found;
        for (const QString& word : wordList(text)) {
            if (m_words.contains(word))
                found.append(word);
        }
        return found;
    }

private:
    static QStringList wordList(const QString& text)
    {
        static const QRegularExpression word(QStringLiteral("\\p{L}{3,}"));
        QStringList words;
        for (auto match = word.globalMatch(text); match.hasNext();)
            words.append(match.next().captured());
        return words;
    }

    QSet<QString> m_words;
};

} // namespace Tempolane::Testing
