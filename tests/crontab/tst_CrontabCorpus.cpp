#include "CronDocument.h"
#include "CronExpression.h"
#include "CronText.h"
#include "Utf8.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace Tempolane;

namespace {

struct CorpusEntry
{
    QString fileName;
    int publishedJobCount = 0;
};

// The table of the corpus' SOURCES.md: file name and the job count its note gives.
QList<CorpusEntry> corpusEntries()
{
    QFile sources(QStringLiteral(TEMPOLANE_CORPUS_DIR "/../SOURCES.md"));
    if (!sources.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression row(QStringLiteral("^\\| `([^`]+)` \\|.*\\b(\\d+) jobs?\\b"));
    QList<CorpusEntry> entries;
    for (const QString& line : QString::fromUtf8(sources.readAll()).split(u'\n')) {
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

} // namespace

class CrontabCorpusTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void publishedCrontab_roundTripsAndReadsItsJobs_data();
    void publishedCrontab_roundTripsAndReadsItsJobs();
};

void CrontabCorpusTest::publishedCrontab_roundTripsAndReadsItsJobs_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("publishedJobCount");
    const auto entries = corpusEntries();
    QCOMPARE(entries.size(), 90);
    for (const auto& entry : entries) {
        QTest::newRow(qPrintable(entry.fileName))
            << QStringLiteral(TEMPOLANE_CORPUS_DIR "/") + entry.fileName << entry.publishedJobCount;
    }
}

void CrontabCorpusTest::publishedCrontab_roundTripsAndReadsItsJobs()
{
    QFETCH(QString, path);
    QFETCH(int, publishedJobCount);

    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.errorString()));
    const QByteArray bytes = file.readAll();
    const auto text = Utf8::decode(bytes);
    QVERIFY(text);

    const QString runner =
        QStringLiteral("/home/ann/.local/share/Tempolane/Runner/tempolane-runner");
    const CronDocument document = CronDocument::parse(*text, runner);
    QCOMPARE(document.serializedText(runner).toUtf8(), bytes);

    const QStringList lines = text->split(u'\n');
    QStringList cronJobLines;
    QStringList acceptedJobLines;
    for (const QString& line : lines) {
        const auto schedule = cronScheduleOf(line);
        if (!schedule)
            continue;
        cronJobLines.append(line);
        if (!CronExpression::validationMessage(*schedule))
            acceptedJobLines.append(line);
    }
    // The corpus notes count what cron runs; lines whose schedule we refuse stay text.
    QCOMPARE(cronJobLines.size(), publishedJobCount);

    const auto jobs = document.jobs();
    QStringList readJobLines;
    for (const CronJob& job : jobs) {
        readJobLines.append(job.original->rawLine);
        QCOMPARE(std::optional<QString>(job.scheduleExpression),
                 cronScheduleOf(job.original->rawLine));
        QVERIFY(job.original->rawLine.endsWith(job.command));
        QVERIFY(!job.isMonitoringEnabled);
    }
    QCOMPARE(readJobLines, acceptedJobLines);
}

QTEST_GUILESS_MAIN(CrontabCorpusTest)
#include "tst_CrontabCorpus.moc"
