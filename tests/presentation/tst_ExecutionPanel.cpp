#include "DataTable.h"
#include "ExecutionPanel.h"
#include "ExecutionTexts.h"
#include "LastMeaningfulLine.h"

#include <QTest>

using namespace Tempolane;

namespace {

const QDateTime start = QDateTime::fromString(QStringLiteral("2026-12-07T08:30:00Z"), Qt::ISODate);

JobExecutionRecord record(std::optional<qint32> exitCode, std::optional<QString> output = {},
                          std::optional<double> seconds = 12)
{
    JobExecutionRecord record;
    record.id = QStringLiteral("1765096200-42");
    record.startedAt = start;
    if (exitCode && seconds)
        record.endedAt = start.addMSecs(qint64(*seconds * 1000));
    record.exitCode = exitCode;
    record.output = std::move(output);
    return record;
}

JobExecutionSummary summaryOf(const JobExecutionRecord& latest)
{
    return {stateOf(latest), latest, std::nullopt};
}

} // namespace

Q_DECLARE_METATYPE(std::optional<QString>)
Q_DECLARE_METATYPE(JobExecutionSummary)

class ExecutionPanelTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void durationText_data();
    void durationText();
    void lastMeaningfulLine_data();
    void lastMeaningfulLine();
    void statusBlock_data();
    void statusBlock();
    void runFacts_data();
    void runFacts();
    void body_dependsOnSavingFirst();
    void runButton_waitsForTheSaveAndTheRunningRun();
    void clearHistory_isOfferedForAHistoryThatCanBeCleared();
};

void ExecutionPanelTest::durationText_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("expected");
    for (const QStringList& row : Testing::dataTable(QStringLiteral("duration-texts.tsv"), 3))
        QTest::newRow(qPrintable(row[0])) << row[1].toDouble() << row[2];
}

void ExecutionPanelTest::durationText()
{
    QFETCH(double, seconds);
    QFETCH(QString, expected);
    QCOMPARE(ExecutionTexts::durationText(seconds), expected);
}

void ExecutionPanelTest::lastMeaningfulLine_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<std::optional<QString>>("expected");

    const std::optional<QString> last = u"last"_qs;
    const std::optional<QString> none;
    QTest::newRow("message then blank lines") << "start\n  Error: disk full \t\n\n \t\n"
                                              << std::optional(u"Error: disk full"_qs);
    QTest::newRow("CR LF") << "first\r\nlast\r\n" << last;
    QTest::newRow("CR alone") << "50%\r75%\rlast" << last;
    QTest::newRow("vertical tab") << "first\vlast" << last;
    QTest::newRow("form feed") << "first\flast\f" << last;
    QTest::newRow("next line") << u"first\u0085last"_qs << last;
    QTest::newRow("line separator") << u"first\u2028last"_qs << last;
    QTest::newRow("paragraph separator") << u"first\u2029last\u2029"_qs << last;
    QTest::newRow("blanks only") << " \t\n\t \n" << none;
    QTest::newRow("empty") << "" << none;
    QTest::newRow("cut to 220") << QString(300, u'x') << std::optional(QString(220, u'x'));
    QTest::newRow("cut keeps accents with their letters")
        << u"e\u0301"_qs.repeated(230) << std::optional(u"e\u0301"_qs.repeated(220));
    QTest::newRow("a character too long to look at whole is left out, not cut")
        << QString(219, u'x') + u'a' + QString(3400, QChar(0x0301))
        << std::optional(QString(219, u'x'));
}

void ExecutionPanelTest::lastMeaningfulLine()
{
    QFETCH(QString, output);
    QFETCH(std::optional<QString>, expected);
    QCOMPARE(Tempolane::lastMeaningfulLine(output), expected);
}

void ExecutionPanelTest::statusBlock_data()
{
    QTest::addColumn<JobExecutionSummary>("summary");
    QTest::addColumn<bool>("isRunningNow");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("pulses");
    QTest::addColumn<std::optional<QString>>("detail");
    QTest::addColumn<bool>("isDetailOutput");

    // Detail text, and whether it is the run's output.
    const auto row = [](const char* name, const JobExecutionSummary& summary, bool isRunningNow,
                        const char* title, bool pulses, const char* detail = nullptr,
                        bool isDetailOutput = false) {
        QTest::newRow(name) << summary << isRunningNow << QString::fromUtf8(title) << pulses
                            << (detail ? std::optional(QString::fromUtf8(detail))
                                       : std::optional<QString>())
                            << isDetailOutput;
    };
    const char* const failedTitle = "Fehler bei der letzten Ausführung";
    const auto failed = summaryOf(record(1, u"copying\nrsync: No space left\n\n"_qs));
    row("failed with output", failed, false, failedTitle, false, "rsync: No space left", true);
    row("failed without output", summaryOf(record(1)), false, failedTitle, false);
    row("failed, blank output", summaryOf(record(1, u"\n \n"_qs)), false, failedTitle, false);
    row("interrupted with output", summaryOf(record(std::nullopt, u"step 3"_qs)), false,
        "Ausführung wurde unerwartet beendet", false, "step 3", true);
    row("succeeded shows no output", summaryOf(record(0, u"done"_qs)), false,
        "Letzte Ausführung erfolgreich", false);
    row("not observed", {JobExecutionState::notObserved(), record(0), std::nullopt}, false,
        "Geplante Ausführung nicht erkannt", false,
        "Der Computer war möglicherweise ausgeschaltet oder im Ruhezustand.");
    row("run now keeps the state's detail", failed, true, "Wird gerade ausgeführt", true,
        "rsync: No space left", true);
    row("running pulses", {JobExecutionState::running(), std::nullopt, std::nullopt}, false,
        "Wird gerade ausgeführt", true);
}

void ExecutionPanelTest::statusBlock()
{
    QFETCH(JobExecutionSummary, summary);
    QFETCH(bool, isRunningNow);
    QFETCH(QString, title);
    QFETCH(bool, pulses);
    QFETCH(std::optional<QString>, detail);
    QFETCH(bool, isDetailOutput);

    const auto block = ExecutionPanel::statusBlock(summary, isRunningNow, std::nullopt);
    QCOMPARE(block.title, title);
    QCOMPARE(block.pulses, pulses);
    QCOMPARE(block.detail, detail);
    QCOMPARE(block.isDetailOutput, isDetailOutput);
}

void ExecutionPanelTest::runFacts_data()
{
    QTest::addColumn<JobExecutionSummary>("summary");
    QTest::addColumn<bool>("hasNext");
    QTest::addColumn<QStringList>("expected");

    const JobExecutionSummary waiting;
    QTest::newRow("all three") << summaryOf(record(0, {}, 125.9)) << true
                               << QStringList{
                                      "Letzte Ausführung", "7. Dez., 09:30",     "Dauer",
                                      "2 Min. 5 Sek.",     "Nächste Ausführung", "8. Dez., 09:30"};
    QTest::newRow("no end, no duration") << summaryOf(record(std::nullopt)) << false
                                         << QStringList{"Letzte Ausführung", "7. Dez., 09:30"};
    QTest::newRow("end before start")
        << summaryOf(record(0, {}, -5)) << false
        << QStringList{"Letzte Ausführung", "7. Dez., 09:30", "Dauer", "0 Sek."};
    QTest::newRow("only the next run")
        << waiting << true << QStringList{"Nächste Ausführung", "8. Dez., 09:30"};
    QTest::newRow("nothing") << waiting << false << QStringList{};
}

void ExecutionPanelTest::runFacts()
{
    QFETCH(JobExecutionSummary, summary);
    QFETCH(bool, hasNext);
    QFETCH(QStringList, expected);

    const auto next = hasNext ? std::optional(start.addDays(1)) : std::nullopt;
    const auto block = ExecutionPanel::statusBlock(summary, false, next, QLocale(QLocale::German),
                                                   QTimeZone("Europe/Berlin"));
    QStringList facts;
    for (const auto& fact : block.facts)
        facts << fact.label << fact.value;
    QCOMPARE(facts, expected);
}

void ExecutionPanelTest::body_dependsOnSavingFirst()
{
    using ExecutionPanel::Body;
    const JobExecutionSummary waiting;
    QCOMPARE(ExecutionPanel::body(true, waiting), Body::beginsAfterFirstSave);
    QCOMPARE(ExecutionPanel::body(false, JobExecutionSummary::notMonitored()),
             Body::beginsAfterSaving);
    QCOMPARE(ExecutionPanel::body(false, waiting), Body::status);
}

void ExecutionPanelTest::runButton_waitsForTheSaveAndTheRunningRun()
{
    using ExecutionPanel::runButton;
    QVERIFY(runButton(false, false).isEnabled);
    QCOMPARE(runButton(false, false).help, u"Cronjob einmal sofort ausführen"_qs);
    QVERIFY(!runButton(true, false).isEnabled);
    QCOMPARE(runButton(true, false).help, u"Sichere zuerst deine Änderungen."_qs);
    QVERIFY(!runButton(false, true).isEnabled);
    QCOMPARE(runButton(false, true).help, u"Cronjob einmal sofort ausführen"_qs);
}

void ExecutionPanelTest::clearHistory_isOfferedForAHistoryThatCanBeCleared()
{
    QVERIFY(ExecutionPanel::offersClearHistory({record(0)}, true));
    QVERIFY(!ExecutionPanel::offersClearHistory({}, true));
    QVERIFY(!ExecutionPanel::offersClearHistory({record(0)}, false));
}

QTEST_APPLESS_MAIN(ExecutionPanelTest)
#include "tst_ExecutionPanel.moc"
