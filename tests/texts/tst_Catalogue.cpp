// The catalogues against the sources: lupdate, run as `update_translations` runs it, finds every
// German text of the programs under the context it is looked up in, and each has a finished
// translation with the same placeholders. A failure names the texts; refreshing the catalogue
// (cmake --build --preset dev --target update_translations) and translating them mends it.
#include "Catalogue.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Tempolane::Testing;

namespace {

QString key(const CatalogueEntry& entry)
{
    return entry.context + QStringLiteral(" | ") + entry.source;
}

struct ToolRun
{
    bool finished = false;
    QString output;
};

ToolRun run(const QString& program, const QStringList& arguments)
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(program, arguments);
    const bool finished = tool.waitForFinished(120'000) &&
                          tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    return {finished, QString::fromUtf8(tool.readAll())};
}

// "%1", "%2" … and, in ICU plural patterns, the "#" that stands for the count.
QStringList placeholders(const QString& text)
{
    static const QRegularExpression placeholder(QStringLiteral("%\\d+|#"));
    QStringList found;
    for (auto match = placeholder.globalMatch(text); match.hasNext();)
        found.append(match.next().captured());
    found.sort();
    return found;
}

} // namespace

class CatalogueTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyTextOfTheSources_isTranslated_data();
    void everyTextOfTheSources_isTranslated();
    void everyEntry_isFinishedWithItsPlaceholders_data();
    void everyEntry_isFinishedWithItsPlaceholders();
};

void CatalogueTest::everyTextOfTheSources_isTranslated_data()
{
    QTest::addColumn<QString>("catalogue");
    for (const QString& catalogue : QStringLiteral(TEMPOLANE_CATALOGUES).split(u'|'))
        QTest::newRow(qPrintable(QFileInfo(catalogue).fileName())) << catalogue;
}

void CatalogueTest::everyTextOfTheSources_isTranslated()
{
    QFETCH(QString, catalogue);
    QTemporaryDir scratch;
    const QString fresh = scratch.filePath(QFileInfo(catalogue).fileName());
    const ToolRun lupdate = run(QStringLiteral(TEMPOLANE_LUPDATE),
                                QStringLiteral(TEMPOLANE_LUPDATE_OPTIONS).split(u'|') +
                                    QStringList{QStringLiteral("@" TEMPOLANE_TRANSLATED_SOURCES),
                                                QStringLiteral("-ts"), fresh});
    QVERIFY2(lupdate.finished, qPrintable(lupdate.output));
    // lupdate warns where it cannot tell a text's context: a TEMPOLANE_TEXT_CONTEXT inside a
    // namespace, a tr() of a class without Q_OBJECT. Such a text would stay German.
    QStringList unclear;
    for (const QString& line : lupdate.output.split(u'\n')) {
        if (line.contains(QStringLiteral(".cpp:")) || line.contains(QStringLiteral(".h:")))
            unclear.append(line);
    }
    QVERIFY2(unclear.isEmpty(), qPrintable(unclear.join(u'\n')));

    const QList<CatalogueEntry> found = catalogueEntries(fresh);
    QVERIFY(!found.isEmpty());
    QSet<QString> translated;
    for (const CatalogueEntry& entry : catalogueEntries(catalogue)) {
        if (entry.type.isEmpty() && !entry.translation.isEmpty())
            translated.insert(key(entry));
    }
    QStringList missing;
    QSet<QString> inSources;
    for (const CatalogueEntry& entry : found) {
        inSources.insert(key(entry));
        if (!translated.contains(key(entry)))
            missing.append(QStringLiteral("no translation: ") + key(entry));
    }
    for (const QString& entry : std::as_const(translated)) {
        if (!inSources.contains(entry))
            missing.append(QStringLiteral("no longer in the sources: ") + entry);
    }
    missing.sort();
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u'\n')));
}

void CatalogueTest::everyEntry_isFinishedWithItsPlaceholders_data()
{
    everyTextOfTheSources_isTranslated_data();
}

void CatalogueTest::everyEntry_isFinishedWithItsPlaceholders()
{
    QFETCH(QString, catalogue);
    const QList<CatalogueEntry> entries = catalogueEntries(catalogue);
    QVERIFY(!entries.isEmpty());
    QStringList flawed;
    for (const CatalogueEntry& entry : entries) {
        if (!entry.type.isEmpty() || entry.translation.isEmpty())
            flawed.append(QStringLiteral("%1 (%2)").arg(key(entry), entry.type));
        else if (placeholders(entry.source) != placeholders(entry.translation))
            flawed.append(
                QStringLiteral("placeholders differ: %1 → %2").arg(key(entry), entry.translation));
    }
    QVERIFY2(flawed.isEmpty(), qPrintable(flawed.join(u'\n')));

    // lrelease, as the build runs it, agrees: everything finished, nothing left out.
    QTemporaryDir scratch;
    const ToolRun lrelease =
        run(QStringLiteral(TEMPOLANE_LRELEASE),
            {catalogue, QStringLiteral("-qm"), scratch.filePath(QStringLiteral("check.qm"))});
    QVERIFY2(lrelease.finished, qPrintable(lrelease.output));
    QVERIFY2(lrelease.output.contains(
                 QStringLiteral("(%1 finished and 0 unfinished)").arg(entries.size())),
             qPrintable(lrelease.output));
    QVERIFY2(!lrelease.output.contains(QStringLiteral("Ignored")), qPrintable(lrelease.output));
}

QTEST_GUILESS_MAIN(CatalogueTest)
#include "tst_Catalogue.moc"
