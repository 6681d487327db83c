#include "CronDocument.h"
#include "CronExpression.h"
#include "CronText.h"
#include "JobSketch.h"
#include "Utf8.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace Tempolane;

namespace {

const QString ourCorpus = QStringLiteral(TEMPOLANE_SOURCE_DIR "/tests/data/crontabs");
const QString publishedCorpus = QStringLiteral(TEMPOLANE_CORPUS_DIR);

struct CorpusEntry
{
    QString fileName;
    int cronJobCount = 0;
};

// The table of a corpus index: a row names its file in backticks and ends its note with the
// number of jobs cron runs ("…, 3 jobs").
QList<CorpusEntry> corpusEntries(const QString& indexPath)
{
    QFile index(indexPath);
    if (!index.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression row(QStringLiteral("^\\| `([^`]+)` \\|.*\\b(\\d+) jobs?\\b"));
    QList<CorpusEntry> entries;
    for (const QString& line : QString::fromUtf8(index.readAll()).split(u'\n')) {
        const auto match = row.match(line);
        if (match.hasMatch())
            entries.append({match.captured(1), match.captured(2).toInt()});
    }
    return entries;
}

// What cron itself would run: not blank, not a comment, not an assignment, and a schedule
// followed by a command. Returns the schedule text.
std::optional<QString> cronScheduleOf(const QString& line)
{
    static const QRegularExpression assignment(QStringLiteral("^\\s*[A-Za-z_][A-Za-z0-9_]*\\s*="));
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(u'#') || assignment.match(line).hasMatch())
        return std::nullopt;
    const auto fields = CronText::splitAtWhitespace(trimmed);
    const qsizetype scheduleFields = trimmed.startsWith(u'@') ? 1 : 5;
    if (fields.size() <= scheduleFields)
        return std::nullopt;
    QStringList schedule;
    for (qsizetype i = 0; i < scheduleFields; ++i)
        schedule.append(fields[i].toString());
    return schedule.join(u' ');
}

QStringList jobLines(const QStringList& lines, bool acceptedOnly)
{
    QStringList result;
    for (const QString& line : lines) {
        const auto schedule = cronScheduleOf(line);
        if (schedule && (!acceptedOnly || !CronExpression::validationMessage(*schedule)))
            result.append(line);
    }
    return result;
}

void addCorpusRows(const char* name, const QString& directory, const QString& indexPath,
                   bool isOurs)
{
    const auto entries = corpusEntries(indexPath);
    QVERIFY2(!entries.isEmpty(), qPrintable(indexPath));
    QStringList listed;
    for (const auto& entry : entries) {
        listed.append(entry.fileName);
        QTest::addRow("%s/%s", name, qPrintable(entry.fileName))
            << directory + u'/' + entry.fileName << entry.cronJobCount << isOurs;
    }
    // Every file is listed, and every listed file is there.
    const QStringList files = QDir(directory).entryList(QStringList(QStringLiteral("*.crontab"))
                                                            << QStringLiteral("*.txt"),
                                                        QDir::Files, QDir::Name);
    listed.sort();
    QCOMPARE(files, listed);
}

} // namespace

class CrontabCorpusTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void crontab_roundTripsAndReadsItsJobs_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("cronJobCount");
        QTest::addColumn<bool>("isOurs");

        addCorpusRows("ours", ourCorpus, ourCorpus + QStringLiteral("/README.md"), true);
        if (QDir(publishedCorpus).exists()) {
            addCorpusRows("published", publishedCorpus,
                          publishedCorpus + QStringLiteral("/../SOURCES.md"), false);
        } else {
            qInfo("No published corpus at %s: reading only the crontabs in tests/data.",
                  qPrintable(publishedCorpus));
        }
    }

    void crontab_roundTripsAndReadsItsJobs()
    {
        QFETCH(QString, path);
        QFETCH(int, cronJobCount);
        QFETCH(bool, isOurs);

        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.errorString()));
        const QByteArray bytes = file.readAll();
        const auto text = Utf8::decode(bytes);
        QVERIFY(text);

        const QString runner = Testing::runnerPath();
        const CronDocument document = CronDocument::parse(*text, runner);
        QCOMPARE(document.serializedText(runner).toUtf8(), bytes);

        // cron ends a line at every line feed, and so does the crontab format.
        const QStringList lines = text->split(u'\n');
        const QStringList cronJobLines = jobLines(lines, false);
        QCOMPARE(cronJobLines.size(), cronJobCount);

        QStringList readJobLines;
        for (const CronJob& job : document.jobs()) {
            readJobLines.append(job.original->rawLine);
            QCOMPARE(std::optional<QString>(job.scheduleExpression),
                     cronScheduleOf(job.original->rawLine));
            QVERIFY(job.original->rawLine.endsWith(job.command));
            QVERIFY(!job.isMonitoringEnabled);
        }
        // Lines whose schedule we refuse stay text.
        QCOMPARE(readJobLines, jobLines(lines, true));
        // Our crontabs are ones cron installs: every job it runs is read.
        if (isOurs)
            QCOMPARE(readJobLines, cronJobLines);
    }
};

QTEST_GUILESS_MAIN(CrontabCorpusTest)
#include "tst_CrontabCorpus.moc"
