// Crontabs people keep, checked on a machine where every program and script they name is
// there: what is left says something of the text itself, and each of it was judged by hand.
#include "CrontabChecker.h"
#include "DataTable.h"
#include "FakeMachine.h"
#include "Utf8.h"

#include <QDir>
#include <QTest>

using namespace Tempolane;

namespace {

const QString ourCorpus = QStringLiteral(TEMPOLANE_SOURCE_DIR "/tests/data/crontabs");
const QString publishedCorpus = QStringLiteral(TEMPOLANE_CORPUS_DIR);

class EverythingThere final : public FileView
{
public:
    FileStatus status(const QString& path) const override
    {
        if (path.startsWith(u"/etc/cron."))
            return {};
        return {FileStatus::Kind::regular, true, true};
    }
    std::optional<QByteArray> head(const QString& path, qsizetype) const override
    {
        if (path.startsWith(u"/etc/cron."))
            return std::nullopt;
        return QByteArray("#!/bin/sh\n");
    }
};

// The errors and warnings each file is expected to give, "line:id"; a file not named gives
// none.
const QMap<QString, QStringList>& verdicts()
{
    static const QMap<QString, QStringList> table = [] {
        QMap<QString, QStringList> read;
        for (const QStringList& row : Testing::dataTable(QStringLiteral("check-verdicts.tsv"), 2))
            read.insert(row[0], row[1].split(u' '));
        return read;
    }();
    return table;
}

void addRows(const QString& folder, const char* name)
{
    const QStringList files = QDir(folder).entryList(
        {QStringLiteral("*.crontab"), QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (const QString& file : files)
        QTest::addRow("%s/%s", name, qPrintable(file)) << folder + u'/' + file;
}

} // namespace

class CheckCorpusTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void crontabGivesTheJudgedFindings_data();
    void crontabGivesTheJudgedFindings();
};

void CheckCorpusTest::crontabGivesTheJudgedFindings_data()
{
    QTest::addColumn<QString>("path");
    addRows(ourCorpus, "ours");
    if (QDir(publishedCorpus).exists())
        addRows(publishedCorpus, "published");
    else
        qInfo("No published corpus at %s: checking only the crontabs in tests/data.",
              qPrintable(publishedCorpus));
}

void CheckCorpusTest::crontabGivesTheJudgedFindings()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const auto text = Utf8::decode(file.readAll());
    QVERIFY(text);

    CheckMachine machine = Testing::fakeMachine();
    machine.files = std::make_shared<EverythingThere>();
    machine.isAccount = [](const QString& name) { return name == u"root" || name == u"www-data"; };
    QStringList found;
    for (const Finding& finding :
         CrontabChecker(machine).check(*text, CrontabSource::file, QStringLiteral("/x/runner"))) {
        if (finding.severity != Severity::hint)
            found.append(QStringLiteral("%1:%2").arg(finding.line).arg(finding.id));
    }
    const QString name = QFileInfo(path).fileName();
    QVERIFY2(found == verdicts().value(name), qPrintable(name + u'\t' + found.join(u' ')));
}

QTEST_GUILESS_MAIN(CheckCorpusTest)
#include "tst_CheckCorpus.moc"
