#include "StoreUnderTest.h"

#include <QCoro/QCoroTask>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <functional>

using namespace Tempolane;

namespace {

const QTimeZone berlin(QByteArrayLiteral("Europe/Berlin"));

QString marked(const QString& id, const QString& line)
{
    return QStringLiteral("# Tempolane id: ") + id + u'\n' + line + u'\n';
}

const QString idA = QStringLiteral("aaaaaaaa-0000-4000-8000-000000000001");
const QString idB = QStringLiteral("bbbbbbbb-0000-4000-8000-000000000002");

using JobOperation = std::function<QCoro::Task<>(CronStore&, CronJob)>;

// The shared store under test, loaded, with the execution service's calls logged among the
// crontab's.
struct Fixture : Testing::StoreUnderTest
{
    explicit Fixture(const QString& crontab = {}) : StoreUnderTest(crontab)
    {
        execution->sharedLog = client->sharedLog;
        load();
    }

    // Switches monitoring on for one job and saves it.
    bool monitor(qsizetype index)
    {
        CronJob monitored = job(index);
        monitored.isMonitoringEnabled = true;
        return QCoro::waitFor(store->saveJob(monitored, false));
    }
};

JobExecutionRecord recordAt(const QDateTime& start, std::optional<qint32> exitCode)
{
    return {QString::number(start.toSecsSinceEpoch()) + QStringLiteral("-1"),
            start,
            start.addSecs(5),
            exitCode,
            std::nullopt,
            false};
}

} // namespace

Q_DECLARE_METATYPE(JobOperation)

class CronStoreTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void assigningAnEqualValue_notifiesNothing();
    void load_ofAnEmptyCrontab_selectsNothing();
    void load_failure_keepsTheDocumentAndPresentsTheError();
    void load_keepsTheSelectedJobAcrossReloads_data();
    void load_keepsTheSelectedJobAcrossReloads();
    void overlappingOperations_duringASave_doNothing();
    void saveJob_whileALoadAdoptsAnExternalChange_keepsTheChange();
    void filteredJobs_data();
    void filteredJobs();
    void search_findsWhatASaveChanged_data();
    void search_findsWhatASaveChanged();
    void upcomingExecution_ofPausedOrRebootJob_isNone();
    void saveJob_newJobOnEmptyCrontab_endsWithLineFeedAndIsSelected();
    void saveJob_afterExternalChange_keepsTheEdit();
    void saveJob_installsTheRunnerOnlyForMonitoredJobs();
    void duplicateName_data();
    void duplicateName();
    void beginDuplicating_ofPausedUnmonitoredJob_isPausedAndMonitored();
    void deleteJob_ofTheLastJob_clearsItsHistoryAndTheSelection();
    void operationOnAnotherJob_keepsTheSelection_data();
    void operationOnAnotherJob_keepsTheSelection();
    void refresh_marksOverdueRunsAsNotObserved_data();
    void refresh_marksOverdueRunsAsNotObserved();
    void runJobNow_twice_startsOneRun();
    void runJobNow_handsOnTheAssignmentsAbove_andPresentsAFailureAfterTheRefresh();
    void clearJobHistory_turnsAnOverdueJobBackToWaiting();
    void enableMonitoringForAllJobs_skipsWhatCannotBeMonitored();
    void enableMonitoringForAllJobs_withNothingLeft_hidesTheSuggestionWithoutWriting();
};

void CronStoreTest::assigningAnEqualValue_notifiesNothing()
{
    Fixture fixture(marked(idA, QStringLiteral("0 9 * * * /bin/a")));
    CronStore& store = *fixture.store;

    QSignalSpy document(&store, &CronStore::documentChanged);
    QSignalSpy search(&store, &CronStore::searchTextChanged);
    QSignalSpy filter(&store, &CronStore::filterChanged);
    QSignalSpy selection(&store, &CronStore::selectionChanged);
    QSignalSpy summaries(&store, &CronStore::executionSummariesChanged);

    store.setSearchText(QStringLiteral("x"));
    store.setSearchText(QStringLiteral("x"));
    store.setFilter(JobFilter::all);
    store.setSelection(store.selection());
    fixture.load(); // the same text parses to an equal document when every job has an id marker
    QCOMPARE(search.count(), 1);
    QCOMPARE(filter.count(), 0);
    QCOMPARE(selection.count(), 0);
    QCOMPARE(document.count(), 0);
    QCOMPARE(summaries.count(), 0);

    fixture.client->contents = marked(idA, QStringLiteral("0 10 * * * /bin/a"));
    fixture.load();
    QCOMPARE(document.count(), 1);
}

void CronStoreTest::load_ofAnEmptyCrontab_selectsNothing()
{
    Testing::StoreUnderTest fixture;
    QSignalSpy loading(fixture.store.get(), &CronStore::isLoadingChanged);
    fixture.load();
    QVERIFY(fixture.store->hasLoaded());
    QVERIFY(fixture.store->document().nodes.isEmpty());
    QVERIFY(fixture.store->selection().isNull());
    QVERIFY(fixture.store->executionSummaries().isEmpty());
    QCOMPARE(fixture.store->lastLoadedAt(), fixture.now);
    QCOMPARE(loading.count(), 2);
}

void CronStoreTest::load_failure_keepsTheDocumentAndPresentsTheError()
{
    Fixture fixture(QStringLiteral("@daily /bin/a\n"));
    const CronDocument before = fixture.store->document();
    const QUuid selection = fixture.store->selection();

    fixture.client->readError =
        CronSystemError::commandFailed(1, QStringLiteral("permission denied"));
    fixture.client->contents = QStringLiteral("@daily /bin/b\n");
    fixture.load();
    QCOMPARE(fixture.store->document(), before);
    QCOMPARE(fixture.store->selection(), selection);
    QCOMPARE(fixture.store->loadedContents(), QStringLiteral("@daily /bin/a\n"));
    QVERIFY(!fixture.store->isLoading());
    QCOMPARE(fixture.store->presentedError()->title,
             QStringLiteral("Crontab konnte nicht geladen werden"));
    // The tool's English stays behind the details; the message is Tempolane's.
    QCOMPARE(fixture.store->presentedError()->message,
             QStringLiteral("Das Programm „crontab“ hat einen Fehler gemeldet (Status 1)."));
    QCOMPARE(fixture.store->presentedError()->details, QStringLiteral("permission denied"));
}

void CronStoreTest::load_keepsTheSelectedJobAcrossReloads_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<int>("selectedIndex");
    QTest::addColumn<QString>("second");
    QTest::addColumn<int>("expectedIndex");

    const QString a = QStringLiteral("0 1 * * * /bin/a\n");
    const QString b = QStringLiteral("0 2 * * * /bin/b\n");
    const QString c = QStringLiteral("0 3 * * * /bin/c\n");
    QTest::newRow("reordered jobs without id markers") << a + b + c << 1 << c + a + b << 2;
    QTest::newRow("selected job changed outside: the first job")
        << a + b << 1 << a + QStringLiteral("0 5 * * * /bin/b\n") << 0;
    QTest::newRow("two identical jobs: the first of them") << a + b + b << 2 << b + a + b << 0;
    QTest::newRow("changed job keeps its id marker")
        << marked(idA, QStringLiteral("0 1 * * * /bin/a")) +
               marked(idB, QStringLiteral("0 2 * * * /bin/b"))
        << 1
        << marked(idA, QStringLiteral("0 1 * * * /bin/a")) +
               marked(idB, QStringLiteral("9 9 * * * /bin/b2"))
        << 1;
}

void CronStoreTest::load_keepsTheSelectedJobAcrossReloads()
{
    QFETCH(QString, first);
    QFETCH(int, selectedIndex);
    QFETCH(QString, second);
    QFETCH(int, expectedIndex);

    Fixture fixture(first);
    fixture.store->setSelection(fixture.job(selectedIndex).id);
    fixture.client->contents = second;
    fixture.load();
    QCOMPARE(fixture.store->selection(), fixture.job(expectedIndex).id);
}

void CronStoreTest::overlappingOperations_duringASave_doNothing()
{
    Fixture fixture(QStringLiteral("@daily /bin/a\n"));
    CronJob job = fixture.job(0);
    job.command = QStringLiteral("/bin/changed");

    fixture.client->gate.isClosed = true;
    auto saving = fixture.store->saveJob(job, false);
    QVERIFY(fixture.store->isSaving());
    const auto reads = fixture.client->calls.count(QStringLiteral("read"));
    QCoro::waitFor(fixture.store->load());
    QCOMPARE(fixture.client->calls.count(QStringLiteral("read")), reads);
    QVERIFY(!fixture.store->isLoading());
    QVERIFY(!QCoro::waitFor(
        fixture.store->commitDocument(CronDocument(), std::nullopt, QStringLiteral("x"))));
    QVERIFY(!QCoro::waitFor(fixture.store->saveJob(fixture.job(0), true)));

    fixture.client->gate.open();
    QVERIFY(QCoro::waitFor(std::move(saving)));
    QVERIFY(!fixture.store->isSaving());
    QCOMPARE(fixture.client->calls.count(QStringLiteral("write")), 1);
    QCOMPARE(fixture.job(0).command, QStringLiteral("/bin/changed"));
}

void CronStoreTest::saveJob_whileALoadAdoptsAnExternalChange_keepsTheChange()
{
    Fixture fixture(QStringLiteral("@daily /bin/a\n"));
    CronJob job = fixture.job(0);
    job.isMonitoringEnabled = true;

    fixture.client->gate.isClosed = true;
    auto loading = fixture.store->load();
    const QString external = QStringLiteral("@daily /bin/external\n");
    fixture.client->contents = external;
    fixture.execution->installGate.isClosed = true;
    auto saving = fixture.store->saveJob(job, false);
    fixture.client->gate.open();
    QCoro::waitFor(std::move(loading));
    QCOMPARE(fixture.job(0).command, QStringLiteral("/bin/external"));

    fixture.execution->installGate.open();
    QVERIFY(!QCoro::waitFor(std::move(saving)));
    QCOMPARE(fixture.client->contents, external);
    QCOMPARE(fixture.store->presentedError()->title,
             QStringLiteral("Cronjob konnte nicht gespeichert werden"));
}

void CronStoreTest::filteredJobs_data()
{
    QTest::addColumn<JobFilter>("filter");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QStringList>("commands");

    QTest::newRow("all") << JobFilter::all << ""
                         << QStringList{"/bin/ok", "/bin/bad", "/bin/cut", "/bin/off"};
    QTest::newRow("active") << JobFilter::active << ""
                            << QStringList{"/bin/ok", "/bin/bad", "/bin/cut"};
    QTest::newRow("paused") << JobFilter::paused << "" << QStringList{"/bin/off"};
    QTest::newRow("failed includes interrupted, never unmonitored")
        << JobFilter::failed << "" << QStringList{"/bin/bad", "/bin/cut"};
    QTest::newRow("search is trimmed and ignores case") << JobFilter::all << "  BAD \n"
                                                        << QStringList{"/bin/bad"};
    QTest::newRow("search in the raw expression")
        << JobFilter::all << "*/5" << QStringList{"/bin/cut"};
}

void CronStoreTest::filteredJobs()
{
    QFETCH(JobFilter, filter);
    QFETCH(QString, search);

    const QString idC = QStringLiteral("cccccccc-0000-4000-8000-000000000003");
    Fixture fixture(marked(idA, QStringLiteral("0 9 * * * /bin/ok")) +
                    marked(idB, QStringLiteral("0 9 * * * /bin/bad")) +
                    marked(idC, QStringLiteral("*/5 * * * * /bin/cut")) +
                    QStringLiteral("# Tempolane disabled: 0 9 * * * /bin/off\n"));
    // Monitoring is a document matter; switch it on in memory for the first three.
    CronDocument document = fixture.store->document();
    for (qsizetype i = 0; i < 3; ++i) {
        CronJob job = fixture.job(i);
        job.isMonitoringEnabled = true;
        document = document.replacingJob(job);
    }
    QVERIFY(QCoro::waitFor(fixture.store->commitDocument(document, 0, QStringLiteral("x"))));
    fixture.execution->summaryMap.insert(QUuid::fromString(idB),
                                         {JobExecutionState::failed(2), {}, {}});
    fixture.execution->summaryMap.insert(QUuid::fromString(idC),
                                         {JobExecutionState::interrupted(), {}, {}});
    fixture.execution->summaryMap.insert(fixture.job(3).id, {JobExecutionState::failed(1), {}, {}});
    QCoro::waitFor(fixture.store->refreshExecutionStatus());

    fixture.store->setFilter(filter);
    fixture.store->setSearchText(search);
    QStringList found;
    for (const CronJob& job : fixture.store->filteredJobs())
        found.append(job.command);
    QTEST(found, "commands");
    QCOMPARE(fixture.store->failedJobCount(), 2);
    QCOMPARE(fixture.store->activeJobCount(), 3);
    QCOMPARE(fixture.store->unmonitoredJobCount(), 1);
}

void CronStoreTest::search_findsWhatASaveChanged_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<std::function<void(CronJob&)>>("edit");

    QTest::newRow("name") << "wochenbericht"
                          << std::function([](CronJob& job) { job.name = "Wochenbericht"; });
    QTest::newRow("command") << "/BIN/NEU"
                             << std::function([](CronJob& job) { job.command = "/bin/neu"; });
    QTest::newRow("the schedule's description")
        << "alle 5 minuten"
        << std::function([](CronJob& job) { job.scheduleExpression = "*/5 * * * *"; });
}

// The search looks in texts prepared once per document: a save must not leave it looking in
// the texts of the jobs before it.
void CronStoreTest::search_findsWhatASaveChanged()
{
    QFETCH(QString, search);
    QFETCH(std::function<void(CronJob&)>, edit);
    Fixture fixture(marked(idA, QStringLiteral("0 9 * * * /bin/a")) +
                    marked(idB, QStringLiteral("0 9 * * * /bin/b")));
    fixture.store->setSearchText(search);
    QCOMPARE(fixture.store->filteredJobs().size(), 0);

    CronJob job = fixture.job(1);
    edit(job);
    QVERIFY(QCoro::waitFor(fixture.store->saveJob(job, false)));

    const QList<CronJob> found = fixture.store->filteredJobs();
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.front().id, job.id);
}

void CronStoreTest::upcomingExecution_ofPausedOrRebootJob_isNone()
{
    Fixture fixture(QStringLiteral(
        "@reboot /bin/a\n# Tempolane disabled: * * * * * /bin/b\n* * * * * /bin/c\n"));
    QCOMPARE(fixture.store->upcomingExecution(fixture.job(0), fixture.now), std::nullopt);
    QCOMPARE(fixture.store->upcomingExecution(fixture.job(1), fixture.now), std::nullopt);
    const QDateTime at = fixture.now.addSecs(25);
    QCOMPARE(fixture.store->upcomingExecution(fixture.job(2), at), fixture.now.addSecs(60));
}

void CronStoreTest::saveJob_newJobOnEmptyCrontab_endsWithLineFeedAndIsSelected()
{
    Fixture fixture;
    fixture.store->beginCreatingJob();
    CronJob job = *fixture.store->jobForCreation();
    QCOMPARE(job.scheduleExpression, QStringLiteral("0 9 * * *"));
    QVERIFY(job.isMonitoringEnabled);
    job.name = QStringLiteral("Bericht");
    job.command = QStringLiteral("/bin/report");
    job.isMonitoringEnabled = false;

    QVERIFY(QCoro::waitFor(fixture.store->saveJob(job, true)));
    QVERIFY(fixture.client->contents.endsWith(QStringLiteral("0 9 * * * /bin/report\n")));
    QCOMPARE(fixture.store->loadedContents(), fixture.client->contents);
    QCOMPARE(fixture.store->selection(), job.id);
    QVERIFY(!fixture.execution->calls.contains(QStringLiteral("installRunner")));
}

void CronStoreTest::saveJob_afterExternalChange_keepsTheEdit()
{
    Fixture fixture(QStringLiteral("@daily /bin/a\n"));
    const CronDocument before = fixture.store->document();
    fixture.client->contents = QStringLiteral("@daily /bin/a\n@hourly /bin/other\n");

    CronJob job = fixture.job(0);
    job.command = QStringLiteral("/bin/edited");
    QVERIFY(!QCoro::waitFor(fixture.store->saveJob(job, false)));
    QCOMPARE(fixture.store->document(), before);
    QVERIFY(fixture.store->presentedError());
    QCOMPARE(fixture.store->presentedError()->title,
             QStringLiteral("Cronjob konnte nicht gespeichert werden"));
    QCOMPARE(
        fixture.store->presentedError()->message,
        QStringLiteral("Die crontab wurde außerhalb von Tempolane geändert. Bitte neu laden und "
                       "die Änderung erneut anwenden."));
    QCOMPARE(fixture.client->contents, QStringLiteral("@daily /bin/a\n@hourly /bin/other\n"));
    QVERIFY(!fixture.store->isSaving());
}

void CronStoreTest::saveJob_installsTheRunnerOnlyForMonitoredJobs()
{
    Fixture fixture(QStringLiteral("@daily /bin/a\n"));
    CronJob job = fixture.job(0);
    job.isMonitoringEnabled = true;
    fixture.client->sharedLog->clear();
    QVERIFY(QCoro::waitFor(fixture.store->saveJob(job, false)));
    const QStringList log = *fixture.client->sharedLog;
    QVERIFY(log.indexOf(QStringLiteral("installRunner")) >= 0);
    QVERIFY(log.indexOf(QStringLiteral("installRunner")) < log.indexOf(QStringLiteral("write")));
    QCOMPARE(fixture.execution->preparedIds, QList<QUuid>{job.id});

    fixture.execution->installError =
        ExecutionServiceError::fileSystemFailed(QStringLiteral("Permission denied"));
    const QString written = fixture.client->contents;
    job.command = QStringLiteral("/bin/b");
    QVERIFY(!QCoro::waitFor(fixture.store->saveJob(job, false)));
    QCOMPARE(fixture.client->contents, written);
}

void CronStoreTest::duplicateName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("others");
    QTest::addColumn<QString>("duplicate");

    QTest::newRow("first copy") << "Backup" << QStringList{} << "Backup – Kopie";
    QTest::newRow("copy taken in other letter case")
        << "Backup" << QStringList{"BACKUP – kopie"} << "Backup – Kopie 2";
    QTest::newRow("second copy taken too")
        << "Backup" << QStringList{"Backup – Kopie", "backup – kopie 2"} << "Backup – Kopie 3";
    QTest::newRow("empty name uses the command's file name")
        << "  " << QStringList{} << "run.sh – Kopie";
    QTest::newRow("long name is cut to 80 characters")
        << QString(100, u'x') << QStringList{} << QString(72, u'x') + " – Kopie";
    QTest::newRow("accents count as one character")
        << QString(100, u'e').replace(u'e', QStringLiteral("e\u0301")) << QStringList{}
        << QString(72, u'e').replace(u'e', QStringLiteral("e\u0301")) + " – Kopie";
}

void CronStoreTest::duplicateName()
{
    QFETCH(QString, name);
    QFETCH(QStringList, others);

    QString crontab;
    for (const QString& other : others)
        crontab +=
            QStringLiteral("# Tempolane name: ") + other + QStringLiteral("\n@daily /bin/x\n");
    Fixture fixture(crontab);
    CronJob job;
    job.name = name;
    job.command = QStringLiteral("/opt/run.sh --now");
    QTEST(fixture.store->duplicateName(job), "duplicate");
}

void CronStoreTest::beginDuplicating_ofPausedUnmonitoredJob_isPausedAndMonitored()
{
    Fixture fixture(QStringLiteral("# Tempolane disabled: 0 2 * * 0 /srv/archive.sh\n"));
    CronJob source = fixture.job(0);
    source.logPolicy = ExecutionLogPolicy::none;
    fixture.store->beginDuplicating(source);
    const CronJob copy = *fixture.store->jobForCreation();
    QVERIFY(copy.id != source.id);
    QVERIFY(!copy.isEnabled);
    QVERIFY(copy.isMonitoringEnabled);
    QCOMPARE(copy.logPolicy, ExecutionLogPolicy::none);
    QCOMPARE(copy.name, QStringLiteral("archive.sh – Kopie"));
    QVERIFY(!copy.original);
    QCOMPARE(fixture.client->calls.count(QStringLiteral("write")), 0);
}

void CronStoreTest::deleteJob_ofTheLastJob_clearsItsHistoryAndTheSelection()
{
    Fixture fixture(QStringLiteral("@daily /bin/a\n"));
    fixture.store->setSelection(fixture.job(0).id);
    QCoro::waitFor(fixture.store->deleteJob(fixture.job(0)));
    QVERIFY(fixture.store->selection().isNull());
    QCOMPARE(fixture.client->contents, QString());
    QCOMPARE(fixture.execution->calls.count(QStringLiteral("clearHistory")), 1);

    // A job already gone from the crontab writes nothing and is no longer pending.
    CronJob gone;
    gone.id = QUuid::createUuid();
    fixture.store->setJobPendingDeletion(gone);
    QCoro::waitFor(fixture.store->deleteJob(gone));
    QVERIFY(!fixture.store->jobPendingDeletion());
    QCOMPARE(fixture.client->calls.count(QStringLiteral("write")), 1);
}

void CronStoreTest::operationOnAnotherJob_keepsTheSelection_data()
{
    QTest::addColumn<JobOperation>("operation");
    QTest::addColumn<int>("selectedRow");
    QTest::addColumn<int>("operatedRow");
    QTest::addColumn<QString>("selectedAfterwards");

    const JobOperation pause = [](CronStore& store, CronJob job) {
        return store.setEnabled(false, std::move(job));
    };
    const JobOperation resume = [](CronStore& store, CronJob job) {
        return store.setEnabled(true, std::move(job));
    };
    const JobOperation remove = [](CronStore& store, CronJob job) {
        return store.deleteJob(std::move(job));
    };
    QTest::newRow("pausing a job below") << pause << 0 << 1 << "/bin/a";
    QTest::newRow("resuming a job above") << resume << 1 << 2 << "/bin/b";
    QTest::newRow("pausing the selected job") << pause << 1 << 1 << "/bin/b";
    QTest::newRow("deleting a job above") << remove << 2 << 0 << "/bin/c";
    QTest::newRow("deleting the selected job: the one after it") << remove << 0 << 0 << "/bin/b";
    QTest::newRow("deleting the last job, selected: the one before it")
        << remove << 2 << 2 << "/bin/b";
}

void CronStoreTest::operationOnAnotherJob_keepsTheSelection()
{
    QFETCH(JobOperation, operation);
    QFETCH(int, selectedRow);
    QFETCH(int, operatedRow);

    Fixture fixture(
        QStringLiteral("@daily /bin/a\n@daily /bin/b\n# Tempolane disabled: @daily /bin/c\n"));
    fixture.store->setSelection(fixture.job(selectedRow).id);
    QSignalSpy selections(fixture.store.get(), &CronStore::selectionChanged);
    QCoro::waitFor(operation(*fixture.store, fixture.job(operatedRow)));
    QCOMPARE(fixture.client->calls.count(QStringLiteral("write")), 1);
    QTEST(fixture.store->selectedJob()->command, "selectedAfterwards");
    // Not even for a moment elsewhere: the editor would start over from that job.
    if (selectedRow != operatedRow)
        QCOMPARE(selections.size(), 0);
}

void CronStoreTest::refresh_marksOverdueRunsAsNotObserved_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QDateTime>("lastStart"); // invalid: no record, marker only
    QTest::addColumn<std::optional<qint32>>("exitCode");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<JobExecutionState>("state");

    const auto at = [](int day, int hour, int minute, int second = 0, int msec = 0) {
        return QDateTime(QDate(2026, 3, day), QTime(hour, minute, second, msec), berlin);
    };
    const QString daily = QStringLiteral("0 9 * * * /bin/daily");
    const QString fiveMinutes = QStringLiteral("*/5 * * * * /bin/often");
    const auto row = [](const char* name, const QString& line, const QDateTime& lastStart,
                        std::optional<qint32> exitCode, const QDateTime& now,
                        JobExecutionState state) {
        QTest::newRow(name) << line << lastStart << exitCode << now << state;
    };
    const auto succeeded = JobExecutionState::succeeded();
    const auto notObserved = JobExecutionState::notObserved();
    row("daily run still within the grace", daily, at(2, 9, 0), 0, at(3, 9, 1, 30), succeeded);
    row("daily run overdue", daily, at(2, 9, 0), 0, at(3, 9, 1, 31), notObserved);
    row("five-minute job at the edge", fiveMinutes, at(2, 10, 0), 0, at(2, 10, 6, 30), succeeded);
    row("five-minute job overdue by half a second", fiveMinutes, at(2, 10, 0), 0,
        at(2, 10, 6, 30, 500), notObserved);
    row("failed run stays failed", daily, at(1, 9, 0), 4, at(3, 12, 0),
        JobExecutionState::failed(4));
    row("just switched on, no record yet", daily, {}, {}, at(2, 9, 1, 30),
        JobExecutionState::waiting());
    row("switched on and first run missed", daily, {}, {}, at(2, 9, 1, 31), notObserved);
    row("paused job is never overdue", "# Tempolane disabled: " + daily, at(1, 9, 0), 0,
        at(3, 12, 0), succeeded);
}

void CronStoreTest::refresh_marksOverdueRunsAsNotObserved()
{
    QFETCH(QString, line);
    QFETCH(QDateTime, lastStart);
    QFETCH(std::optional<qint32>, exitCode);
    QFETCH(QDateTime, now);

    Fixture fixture(line + u'\n');
    QVERIFY(fixture.monitor(0));
    CronJob job = fixture.job(0);

    JobExecutionSummary summary;
    if (lastStart.isValid()) {
        summary.latestRecord = recordAt(lastStart, exitCode);
        summary.state = stateOf(*summary.latestRecord);
    } else {
        summary.monitoringStartedAt = QDateTime(QDate(2026, 3, 2), QTime(8, 0), berlin);
    }
    fixture.execution->summaryMap.insert(job.id, summary);
    fixture.now = now;
    QCoro::waitFor(fixture.store->refreshExecutionStatus());
    QTEST(fixture.store->executionSummary(fixture.job(0)).state, "state");
}

void CronStoreTest::runJobNow_twice_startsOneRun()
{
    Fixture fixture(QStringLiteral("@daily /bin/a\n@daily /bin/plain\n"));
    QVERIFY(fixture.monitor(0));
    const CronJob job = fixture.job(0);

    fixture.execution->runGate.isClosed = true;
    auto first = fixture.store->runJobNow(job);
    QCOMPARE(fixture.store->executionSummary(job).state, JobExecutionState::running());
    QCoro::waitFor(fixture.store->runJobNow(job));
    QCoro::waitFor(fixture.store->runJobNow(fixture.job(1)));
    fixture.execution->runGate.open();
    QCoro::waitFor(std::move(first));
    QCOMPARE(fixture.execution->calls.count(QStringLiteral("runNow")), 1);
    QVERIFY(fixture.store->manuallyRunningJobID().isNull());

    // An unmonitored job cannot be run from the application.
    QCoro::waitFor(fixture.store->runJobNow(fixture.job(1)));
    QCOMPARE(fixture.execution->calls.count(QStringLiteral("runNow")), 1);
    QCOMPARE(fixture.store->executionSummary(fixture.job(1)), JobExecutionSummary::notMonitored());
}

void CronStoreTest::runJobNow_handsOnTheAssignmentsAbove_andPresentsAFailureAfterTheRefresh()
{
    Fixture fixture(QStringLiteral("MAILTO=\"\"\n@daily /bin/a\nBELOW=1\n@daily /bin/b\n"));
    QVERIFY(fixture.monitor(0));
    fixture.execution->runError = ExecutionServiceError::commandFailed(3);
    fixture.execution->calls.clear();
    QCoro::waitFor(fixture.store->runJobNow(fixture.job(0)));
    QCOMPARE(fixture.execution->lastRunAssignments,
             (QList<EnvironmentAssignment>{{QStringLiteral("MAILTO"), QString()}}));
    QCOMPARE(fixture.execution->calls.mid(0, 2), (QStringList{"runNow", "summaries"}));
    QCOMPARE(fixture.store->presentedError()->title,
             QStringLiteral("Cronjob konnte nicht erfolgreich ausgeführt werden"));
    QCOMPARE(fixture.store->presentedError()->message,
             ExecutionServiceError::commandFailed(3).description());
}

void CronStoreTest::clearJobHistory_turnsAnOverdueJobBackToWaiting()
{
    Fixture fixture(QStringLiteral("0 9 * * * /bin/a\n"));
    QVERIFY(fixture.monitor(0));
    CronJob job = fixture.job(0);
    fixture.execution->summaryMap.insert(
        job.id,
        {JobExecutionState::succeeded(), recordAt(fixture.now.addDays(-3), 0), std::nullopt});
    QCoro::waitFor(fixture.store->refreshExecutionStatus());
    QCOMPARE(fixture.store->executionSummary(job).state, JobExecutionState::notObserved());

    QCoro::waitFor(fixture.store->clearJobHistory(job.id));
    QCOMPARE(fixture.execution->preparedIds, QList<QUuid>{job.id});
    QCOMPARE(fixture.store->executionSummary(job).state, JobExecutionState::waiting());
}

void CronStoreTest::enableMonitoringForAllJobs_skipsWhatCannotBeMonitored()
{
    Fixture fixture(QStringLiteral("@daily /bin/a\n@daily date +%s\n@daily echo ") +
                    QString(800, u'x') + QStringLiteral("\n@daily /bin/d\n"));
    fixture.store->setSelection(fixture.job(3).id);
    QCoro::waitFor(fixture.store->enableMonitoringForAllJobs());

    const auto jobs = fixture.store->document().jobs();
    QVERIFY(jobs[0].isMonitoringEnabled);
    QVERIFY(!jobs[1].isMonitoringEnabled);
    QVERIFY(!jobs[2].isMonitoringEnabled);
    QVERIFY(jobs[3].isMonitoringEnabled);
    QCOMPARE(fixture.store->selectedJob()->command, QStringLiteral("/bin/d"));
    QVERIFY(fixture.store->hasDismissedMonitoringSuggestion());
}

void CronStoreTest::enableMonitoringForAllJobs_withNothingLeft_hidesTheSuggestionWithoutWriting()
{
    Fixture fixture(QStringLiteral("@daily date +%s\n"));
    QSignalSpy dismissed(fixture.store.get(), &CronStore::hasDismissedMonitoringSuggestionChanged);
    QCoro::waitFor(fixture.store->enableMonitoringForAllJobs());
    QCOMPARE(dismissed.count(), 1);
    QCOMPARE(fixture.client->calls.count(QStringLiteral("write")), 0);

    QSettings settings(fixture.directory.filePath(QStringLiteral("settings.ini")),
                       QSettings::IniFormat);
    fixture.store.reset();
    QVERIFY(settings.value(QStringLiteral("hasDismissedExecutionMonitoringSuggestion")).toBool());
}

QTEST_GUILESS_MAIN(CronStoreTest)
#include "tst_CronStore.moc"
