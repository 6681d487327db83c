#include "CronBackupStore.h"
#include "DataLocations.h"
#include "DataTable.h"
#include "DemoCronClient.h"
#include "ExecutionService.h"
#include "TempolaneApp.h"

#include <QCoro/QCoroTask>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Tempolane;

// The store over the real execution service and the real runner, in a data directory of
// the test's own; and the start-up's choice between real and sample data.
class StoreWithRunnerTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void monitoredJob_runNow_succeedsThenFailsThenClears();
    void sampleDataMode_data();
    void sampleDataMode();
    void sampleDataMode_savesInMemoryAndStillKeepsABackup();

private:
    std::unique_ptr<QTemporaryDir> m_dataHome;
};

void StoreWithRunnerTest::init()
{
    m_dataHome = std::make_unique<QTemporaryDir>();
    qputenv("XDG_DATA_HOME", m_dataHome->filePath(QStringLiteral("it's data")).toUtf8());
}

void StoreWithRunnerTest::monitoredJob_runNow_succeedsThenFailsThenClears()
{
    const DataLocations locations = DataLocations::under(m_dataHome->path());
    CronStore store(std::make_unique<DemoCronClient>(QString()),
                    std::make_unique<CronBackupStore>(locations.backups),
                    std::make_shared<ExecutionService>(locations.executions, locations.runner),
                    locations.runner,
                    std::make_unique<QSettings>(m_dataHome->filePath(QStringLiteral("s.ini")),
                                                QSettings::IniFormat));
    QCoro::waitFor(store.load());
    store.beginCreatingJob();
    CronJob job = *store.jobForCreation();
    job.name = QStringLiteral("Gruß");
    job.command = QStringLiteral("echo hallo");
    QVERIFY(QCoro::waitFor(store.saveJob(job, true)));
    QVERIFY(QFileInfo(locations.runner).isExecutable());
    QCOMPARE(store.executionSummary(*store.selectedJob()).state, JobExecutionState::waiting());

    QCoro::waitFor(store.runJobNow(*store.selectedJob()));
    QVERIFY(!store.presentedError());
    QCOMPARE(store.executionSummary(*store.selectedJob()).state, JobExecutionState::succeeded());
    QCOMPARE(store.selectedJobHistory().size(), 1);
    QCOMPARE(store.selectedJobHistory().front().exitCode, 0);

    job = *store.selectedJob();
    job.command = QStringLiteral("echo kaputt >&2; exit 3");
    QVERIFY(QCoro::waitFor(store.saveJob(job, false)));
    QCoro::waitFor(store.runJobNow(*store.selectedJob()));
    QCOMPARE(store.executionSummary(*store.selectedJob()).state, JobExecutionState::failed(3));
    QCOMPARE(store.selectedJobHistory().size(), 2);
    QVERIFY(store.presentedError());
    QCOMPARE(store.presentedError()->title,
             QStringLiteral("Cronjob konnte nicht erfolgreich ausgeführt werden"));

    QCoro::waitFor(store.clearJobHistory(job.id));
    QCOMPARE(store.executionSummary(*store.selectedJob()).state, JobExecutionState::waiting());
    QVERIFY(store.selectedJobHistory().isEmpty());
}

void StoreWithRunnerTest::sampleDataMode_data()
{
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("isSampleData");
    for (const QStringList& row : Testing::dataTable(QStringLiteral("sample-data-mode.tsv"), 4))
        QTest::newRow(qPrintable(row[0])) << row[1] << row[2] << Testing::isYes(row[3]);
}

void StoreWithRunnerTest::sampleDataMode()
{
    QFETCH(QString, variable);
    QFETCH(QString, value);
    QProcessEnvironment environment;
    environment.insert(variable, value);
    QTEST(TempolaneApp::isSampleDataMode(environment), "isSampleData");
}

void StoreWithRunnerTest::sampleDataMode_savesInMemoryAndStillKeepsABackup()
{
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("TEMPOLANE_DEMO"), QStringLiteral("1"));
    TempolaneApp app(environment);
    CronStore& store = app.store();
    QCoro::waitFor(store.load());
    QCOMPARE(store.loadedContents(), DemoCronClient::sampleText());
    QCOMPARE(store.document().jobs().size(), 4);

    CronJob job = store.document().jobs().front();
    job.isMonitoringEnabled = true;
    QVERIFY(QCoro::waitFor(store.saveJob(job, false)));
    QCOMPARE(store.executionSummary(store.document().jobs().front()).state,
             JobExecutionState::waiting());
    QVERIFY(store.selectedJobHistory().isEmpty());
    // The no-op service installs nothing, and the sample text was backed up all the same, but
    // not among the real crontab's backups in the user's data directory.
    QCOMPARE(app.locations(),
             DataLocations::under(m_dataHome->filePath(QStringLiteral("it's data"))));
    QVERIFY(!QFileInfo::exists(app.locations().runner));
    QVERIFY(QDir(app.locations().backups).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
    const auto backups = QCoro::waitFor(store.backups());
    QVERIFY(backups);
    QCOMPARE(backups->size(), 1);
    QCOMPARE(backups->front().text, DemoCronClient::sampleText());
}

QTEST_GUILESS_MAIN(StoreWithRunnerTest)
#include "tst_StoreWithRunner.moc"
