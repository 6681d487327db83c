#include "JobListModel.h"
#include "SidebarModel.h"
#include "StatusRefreshLoop.h"
#include "StoreUnderTest.h"
#include "WindowPresentation.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using namespace Tempolane;
using namespace Tempolane::Testing;

namespace {

using Change = std::function<void(StoreUnderTest&)>;

QList<QUuid> modelIds(const JobListModel& model)
{
    QList<QUuid> ids;
    for (int row = 0; row < model.rowCount(); ++row)
        ids.append(model.index(row).data(JobListModel::JobIdRole).toUuid());
    return ids;
}

QList<QUuid> filteredIds(const CronStore& store)
{
    QList<QUuid> ids;
    for (const CronJob& job : store.filteredJobs())
        ids.append(job.id);
    return ids;
}

QList<JobSketch> numberedJobs(int count)
{
    QList<JobSketch> sketches;
    for (int i = 0; i < count; ++i)
        sketches.append({QStringLiteral("Aufgabe %1").arg(i), QStringLiteral("*/5 * * * *"),
                         QStringLiteral("/home/ann/bin/task-%1.sh").arg(i), i % 3 != 0});
    return sketches;
}

JobExecutionSummary summaryOf(JobExecutionState state,
                              std::optional<QDateTime> latestStart = std::nullopt)
{
    JobExecutionSummary summary{state, std::nullopt, std::nullopt};
    if (latestStart)
        summary.latestRecord = JobExecutionRecord{
            QStringLiteral("1-1"), *latestStart, latestStart->addSecs(3), 0, std::nullopt, false};
    return summary;
}

struct Spies
{
    explicit Spies(QAbstractItemModel& model)
        : reset(&model, &QAbstractItemModel::modelReset),
          layout(&model, &QAbstractItemModel::layoutChanged),
          inserted(&model, &QAbstractItemModel::rowsInserted),
          removed(&model, &QAbstractItemModel::rowsRemoved),
          moved(&model, &QAbstractItemModel::rowsMoved),
          changed(&model, &QAbstractItemModel::dataChanged)
    {
    }

    QSignalSpy reset;
    QSignalSpy layout;
    QSignalSpy inserted;
    QSignalSpy removed;
    QSignalSpy moved;
    QSignalSpy changed;
};

} // namespace

class WindowModelsTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void jobRow_showsTheJobAndItsStatus_data();
    void jobRow_showsTheJobAndItsStatus();
    void jobList_savingOneOfAThousandJobs_touchesOnlyItsRow();
    void jobList_followsTheStoreRowByRow_data();
    void jobList_followsTheStoreRowByRow();
    void jobList_relativeTimesChangeOnlyTheRowsTheyConcern();
    void jobList_namesTheRolesARowChangedIn_data();
    void jobList_namesTheRolesARowChangedIn();
    void jobList_offersTheWholeCommandAsToolTip();
    void sidebar_countsEachFilter();
    void emptyState_tellsAnEmptyCrontabFromNoMatches_data();
    void emptyState_tellsAnEmptyCrontabFromNoMatches();
    void monitoringSuggestion_showsOnlyWhenItApplies_data();
    void monitoringSuggestion_showsOnlyWhenItApplies();
    void syncStatus_saysWhatTheStoreDoes();
    void deletionQuestion_namesABlankJobByItsCommand();
    void windowTitle_namesTheSelectedJobAsItsEditorDoes();
    void windowPlace_keepsTheFrameOnTheScreen_data();
    void windowPlace_keepsTheFrameOnTheScreen();
    void refreshLoop_loadsOnceAndRefreshesWhileRunning();
};

void WindowModelsTest::jobRow_showsTheJobAndItsStatus_data()
{
    QTest::addColumn<CronJob>("job");
    QTest::addColumn<JobExecutionSummary>("summary");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("command");
    QTest::addColumn<Symbol>("symbol");
    QTest::addColumn<Tint>("tint");
    QTest::addColumn<QString>("statusLine");
    QTest::addColumn<qreal>("opacity");

    const QDateTime now(QDate(2026, 3, 2), QTime(10, 0), StoreUnderTest::zone());
    const QString seventyFour(74, u'x');
    const QString accented = QStringLiteral("e\u0301");
    const auto notMonitored = JobExecutionSummary::notMonitored();
    const QString off = QStringLiteral("Ausführungsstatus nicht aktiviert");
    const auto row = [](const char* name, const QString& jobName, const QString& command,
                        const JobExecutionSummary& summary, const QString& shownName,
                        const QString& shownCommand, Symbol symbol, Tint tint,
                        const QString& statusLine, bool isEnabled = true) {
        QTest::newRow(name) << makeJob(1,
                                       {jobName, QStringLiteral("0 9 * * *"), command, isEnabled})
                            << summary << shownName << shownCommand << symbol << tint << statusLine
                            << (isEnabled ? 1.0 : 0.72);
    };
    row("blank name shows the command's name", " \t ", "/usr/bin/backup --all", notMonitored,
        "backup", "/usr/bin/backup --all", Symbol::playFill, Tint::secondary, off);
    row("74 characters after trimming blanks are shown in full", "Lang", "  " + seventyFour + u'\t',
        notMonitored, "Lang", seventyFour, Symbol::playFill, Tint::secondary, off);
    row("75 characters are cut to 71 and an ellipsis", "Lang", seventyFour + u'y', notMonitored,
        "Lang", QString(71, u'x') + u'…', Symbol::playFill, Tint::secondary, off);
    row("a letter with its accent counts once", "Akzente", accented.repeated(75), notMonitored,
        "Akzente", accented.repeated(71) + u'…', Symbol::playFill, Tint::secondary, off);
    row("paused outweighs a failure and dims the row", "Archiv", "/bin/archive",
        summaryOf(JobExecutionState::failed(2)), "Archiv", "/bin/archive", Symbol::pauseFill,
        Tint::orange, "Pausiert", false);
    row("failed, with the start of the latest run", "Bericht", "/bin/report",
        summaryOf(JobExecutionState::failed(3), now.addSecs(-2 * 3600 - 5)), "Bericht",
        "/bin/report", Symbol::warningCircleFill, Tint::red,
        "Fehler bei der letzten Ausführung · vor 2 Stunden");
    row("waiting", "W", "/bin/w", summaryOf(JobExecutionState::waiting()), "W", "/bin/w",
        Symbol::clock, Tint::secondary, "Wartet auf die erste Ausführung");
    row("running", "R", "/bin/r", summaryOf(JobExecutionState::running(), now), "R", "/bin/r",
        Symbol::waveform, Tint::cyan, "Wird gerade ausgeführt · jetzt");
    row("succeeded yesterday", "S", "/bin/s",
        summaryOf(JobExecutionState::succeeded(), now.addDays(-1)), "S", "/bin/s",
        Symbol::checkCircleFill, Tint::green, "Letzte Ausführung erfolgreich · gestern");
    row("interrupted", "I", "/bin/i", summaryOf(JobExecutionState::interrupted()), "I", "/bin/i",
        Symbol::warningFill, Tint::orange, "Ausführung wurde unerwartet beendet");
    row("not observed", "N", "/bin/n", summaryOf(JobExecutionState::notObserved()), "N", "/bin/n",
        Symbol::clockBadgeWarning, Tint::orange, "Geplante Ausführung nicht erkannt");
}

void WindowModelsTest::jobRow_showsTheJobAndItsStatus()
{
    QFETCH(CronJob, job);
    QFETCH(JobExecutionSummary, summary);
    const JobRow row = JobRow::make(job, summary);
    QTEST(row.name, "name");
    QTEST(row.command, "command");
    QTEST(row.status.symbol, "symbol");
    QTEST(row.status.tint, "tint");
    QTEST(row.statusLine(QDateTime(QDate(2026, 3, 2), QTime(10, 0), StoreUnderTest::zone())),
          "statusLine");
    QTEST(row.opacity, "opacity");
    QCOMPARE(row.status.pulses, summary.state == JobExecutionState::running() && job.isEnabled);
    QVERIFY(row.accessibleText().startsWith(row.name));
    QVERIFY(row.accessibleText().endsWith(row.status.text));
}

void WindowModelsTest::jobList_savingOneOfAThousandJobs_touchesOnlyItsRow()
{
    StoreUnderTest fixture(crontabOf(numberedJobs(1000)));
    fixture.load();
    JobListModel model(*fixture.store, fixture.clock());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.rowCount(), 1000);
    Spies spies(model);

    CronJob edited = fixture.job(500);
    edited.name = QStringLiteral("Geändert");
    QVERIFY(fixture.save(edited));

    QCOMPARE(spies.reset.count() + spies.layout.count(), 0);
    QCOMPARE(spies.inserted.count() + spies.removed.count() + spies.moved.count(), 0);
    QCOMPARE(spies.changed.count(), 1);
    QCOMPARE(spies.changed.front().at(0).toModelIndex().row(), 500);
    QCOMPARE(spies.changed.front().at(1).toModelIndex().row(), 500);
    QCOMPARE(model.index(500).data().toString(), QStringLiteral("Geändert"));
}

void WindowModelsTest::jobList_followsTheStoreRowByRow_data()
{
    QTest::addColumn<QString>("crontab");
    QTest::addColumn<Change>("change");
    QTest::addColumn<int>("inserted");
    QTest::addColumn<int>("removed");
    QTest::addColumn<int>("moved");

    const QString twelve = crontabOf(numberedJobs(12));
    QTest::newRow("a filter removes the rows it hides")
        << twelve << Change([](StoreUnderTest& f) { f.store->setFilter(JobFilter::paused); }) << 0
        << 8 << 0;
    QTest::newRow("a search finds jobs by their schedule's description")
        << crontabOf({{QStringLiteral("A"), QStringLiteral("0 9 * * *")},
                      {QStringLiteral("B"), QStringLiteral("*/5 * * * *")},
                      {QStringLiteral("C"), QStringLiteral("30 8 * * 1-5")}})
        << Change([](StoreUnderTest& f) { f.store->setSearchText(QStringLiteral(" 5 minuten ")); })
        << 0 << 2 << 0;
    QTest::newRow("clearing the filter brings hidden rows back in place")
        << twelve << Change([](StoreUnderTest& f) {
               f.store->setFilter(JobFilter::paused);
               f.store->setFilter(JobFilter::all);
           })
        << 8 << 8 << 0;
    QTest::newRow("a reload that moved a job moves its row")
        << twelve << Change([](StoreUnderTest& f) {
               QStringList lines = f.client->contents.split(u'\n');
               // The last job's two lines (name marker is absent: id marker and job line).
               const QStringList last = lines.mid(lines.size() - 3, 2);
               lines.remove(lines.size() - 3, 2);
               f.client->contents = (last + lines).join(u'\n');
               f.load();
           })
        << 0 << 0 << 1;
    QTest::newRow("a reload of jobs without id markers changes rows in place")
        << QStringLiteral("0 9 * * * /bin/a\n*/5 * * * * /bin/b\n")
        << Change([](StoreUnderTest& f) { f.load(); }) << 0 << 0 << 0;
    QTest::newRow("deleting a job removes its row")
        << twelve << Change([](StoreUnderTest& f) { QCoro::waitFor(f.store->deleteJob(f.job(4))); })
        << 0 << 1 << 0;
    QTest::newRow("a new job is inserted at the end") << twelve << Change([](StoreUnderTest& f) {
        QCoro::waitFor(f.store->saveJob(makeJob(99, {QStringLiteral("Neu")}), true));
    }) << 1 << 0 << 0;
}

void WindowModelsTest::jobList_followsTheStoreRowByRow()
{
    QFETCH(QString, crontab);
    QFETCH(Change, change);
    StoreUnderTest fixture(crontab);
    fixture.load();
    JobListModel model(*fixture.store, fixture.clock());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    Spies spies(model);

    change(fixture);

    QCOMPARE(modelIds(model), filteredIds(*fixture.store));
    QCOMPARE(spies.reset.count() + spies.layout.count(), 0);
    const auto rows = [](const QSignalSpy& spy) {
        int count = 0;
        for (const auto& arguments : spy)
            count += arguments.at(2).toInt() - arguments.at(1).toInt() + 1;
        return count;
    };
    QTEST(rows(spies.inserted), "inserted");
    QTEST(rows(spies.removed), "removed");
    QTEST(int(spies.moved.count()), "moved");
}

void WindowModelsTest::jobList_relativeTimesChangeOnlyTheRowsTheyConcern()
{
    StoreUnderTest fixture(crontabOf({{QStringLiteral("Überwacht"), QStringLiteral("0 9 * * *"),
                                       QStringLiteral("/bin/a"), true, true},
                                      {QStringLiteral("Still")}}));
    const CronJob monitored = makeJob(1, {});
    fixture.execution->summaryMap.insert(
        monitored.id, summaryOf(JobExecutionState::succeeded(), fixture.now.addSecs(-58)));
    fixture.load();
    JobListModel model(*fixture.store, fixture.clock());
    QCOMPARE(model.index(0).data(JobListModel::StatusLineRole).toString(),
             QStringLiteral("Letzte Ausführung erfolgreich · vor 58 Sekunden"));
    model.index(1).data(JobListModel::RowRole);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    fixture.now = fixture.now.addSecs(1);
    model.refreshRelativeTimes();
    fixture.now = fixture.now.addMSecs(300);
    model.refreshRelativeTimes();
    QCOMPARE(changed.count(), 1);
    fixture.now = fixture.now.addSecs(2);
    model.refreshRelativeTimes();
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.last().at(0).toModelIndex().row(), 0);
    QCOMPARE(model.index(0).data(JobListModel::StatusLineRole).toString(),
             QStringLiteral("Letzte Ausführung erfolgreich · vor 1 Minute"));
}

void WindowModelsTest::jobList_namesTheRolesARowChangedIn_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<QList<int>>("roles");

    const QDateTime earlier(QDate(2026, 3, 2), QTime(9, 0), StoreUnderTest::zone());
    const auto refreshedWith = [](JobExecutionSummary summary) {
        return Change([summary](StoreUnderTest& f) {
            f.execution->summaryMap.insert(makeJob(2, {}).id, summary);
            QCoro::waitFor(f.store->refreshExecutionStatus());
        });
    };
    const auto savedWith = [](std::function<void(CronJob&)> edit) {
        return Change([edit](StoreUnderTest& f) {
            CronJob job = f.job(1);
            edit(job);
            QVERIFY(f.save(job));
        });
    };
    QTest::newRow("the status refresh reads the same")
        << refreshedWith(summaryOf(JobExecutionState::succeeded(), earlier)) << QList<int>();
    QTest::newRow("the latest run failed")
        << refreshedWith(summaryOf(JobExecutionState::failed(2), earlier))
        << QList<int>{Qt::AccessibleTextRole, JobListModel::RowRole, JobListModel::StatusLineRole};
    QTest::newRow("a later run succeeded too")
        << refreshedWith(summaryOf(JobExecutionState::succeeded(), earlier.addSecs(1800)))
        << QList<int>{JobListModel::RowRole, JobListModel::StatusLineRole};
    QTest::newRow("renamed") << savedWith([](CronJob& job) {
        job.name = QStringLiteral("Umbenannt");
    }) << QList<int>{Qt::DisplayRole, Qt::AccessibleTextRole, JobListModel::RowRole};
    QTest::newRow("a longer command past the cut")
        << savedWith([](CronJob& job) { job.command += QString(80, u'x'); })
        << QList<int>{Qt::ToolTipRole, JobListModel::RowRole};
}

// A view that repaints only for the roles it draws learns from the signal what to redraw.
void WindowModelsTest::jobList_namesTheRolesARowChangedIn()
{
    QFETCH(Change, change);
    QFETCH(QList<int>, roles);
    StoreUnderTest fixture(crontabOf({{QStringLiteral("Eins")},
                                      {QStringLiteral("Zwei"), QStringLiteral("0 9 * * *"),
                                       QStringLiteral("/bin/zwei"), true, true},
                                      {QStringLiteral("Drei")}}));
    fixture.execution->summaryMap.insert(
        makeJob(2, {}).id, summaryOf(JobExecutionState::succeeded(), fixture.now.addSecs(-3600)));
    fixture.load();
    JobListModel model(*fixture.store, fixture.clock());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.index(1).data().toString(), QStringLiteral("Zwei"));
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    change(fixture);

    if (roles.isEmpty()) {
        QCOMPARE(changed.count(), 0);
        return;
    }
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.front().at(0).toModelIndex().row(), 1);
    QCOMPARE(changed.front().at(1).toModelIndex().row(), 1);
    auto told = changed.front().at(2).value<QList<int>>();
    std::sort(told.begin(), told.end());
    std::sort(roles.begin(), roles.end());
    QCOMPARE(told, roles);
}

void WindowModelsTest::jobList_offersTheWholeCommandAsToolTip()
{
    const QString command = QStringLiteral("/home/ann/bin/sync.sh ") + QString(90, u'a');
    StoreUnderTest fixture(
        crontabOf({{QStringLiteral("Lang"), QStringLiteral("0 9 * * *"), command}}));
    fixture.load();
    JobListModel model(*fixture.store, fixture.clock());

    QVERIFY(model.index(0).data(JobListModel::RowRole).value<JobRow>().command.endsWith(u'…'));
    QCOMPARE(model.index(0).data(Qt::ToolTipRole).toString(), command);
}

void WindowModelsTest::sidebar_countsEachFilter()
{
    StoreUnderTest fixture(crontabOf(
        {{QStringLiteral("A")},
         {QStringLiteral("B"), QStringLiteral("0 9 * * *"), QStringLiteral("/bin/b"), true, true},
         {QStringLiteral("C"), QStringLiteral("0 9 * * *"), QStringLiteral("/bin/c"), false}}));
    SidebarModel model(*fixture.store);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    fixture.load();
    const auto counts = [&] {
        QList<int> result;
        for (int row = 0; row < model.rowCount(); ++row)
            result.append(model.index(row).data(SidebarModel::CountRole).toInt());
        return result;
    };
    QCOMPARE(counts(), QList<int>({3, 2, 1, 0, 0}));
    QCOMPARE(model.index(1).data(Qt::AccessibleTextRole).toString(), QStringLiteral("Aktiv, 2"));

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    fixture.execution->summaryMap.insert(makeJob(2, {}).id,
                                         summaryOf(JobExecutionState::interrupted()));
    QCoro::waitFor(fixture.store->refreshExecutionStatus());
    QCOMPARE(counts(), QList<int>({3, 2, 1, 1, 0}));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.front().at(0).toModelIndex().row(), 3);

    // The checks found something wrong with a job, and with one that is gone since.
    fixture.store->setJobProblems(
        {{fixture.job(0).id, QStringLiteral("„a“ gibt es nicht.")}, {QUuid::createUuid(), {}}});
    QCOMPARE(counts(), QList<int>({3, 2, 1, 1, 1}));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.back().at(0).toModelIndex().row(), 4);
}

void WindowModelsTest::emptyState_tellsAnEmptyCrontabFromNoMatches_data()
{
    QTest::addColumn<QString>("crontab");
    QTest::addColumn<bool>("load");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("offersCreateButton");

    const QString oneJob = crontabOf({{QStringLiteral("Bericht")}});
    QTest::newRow("before the first load the empty list shows")
        << QString() << false << QString() << QString() << false;
    QTest::newRow("an empty crontab")
        << QString() << true << QString() << "Noch keine Cronjobs" << true;
    QTest::newRow("a search that matches nothing") << oneJob << true << "gibt es nicht"
                                                   << "Keine Treffer" << false;
    QTest::newRow("jobs that match") << oneJob << true << "bericht" << QString() << false;
}

void WindowModelsTest::emptyState_tellsAnEmptyCrontabFromNoMatches()
{
    QFETCH(QString, crontab);
    QFETCH(bool, load);
    QFETCH(QString, search);
    StoreUnderTest fixture(crontab);
    if (load)
        fixture.load();
    fixture.store->setSearchText(search);
    const auto state = WindowPresentation::jobListEmptyState(*fixture.store);
    QTEST(state ? state->title : QString(), "title");
    QTEST(state && state->offersCreateButton, "offersCreateButton");
}

void WindowModelsTest::monitoringSuggestion_showsOnlyWhenItApplies_data()
{
    QTest::addColumn<QList<JobSketch>>("jobs");
    QTest::addColumn<bool>("load");
    QTest::addColumn<bool>("dismiss");
    QTest::addColumn<bool>("shows");

    const JobSketch unmonitored{QStringLiteral("A")};
    const JobSketch monitored{QStringLiteral("B"), QStringLiteral("0 9 * * *"),
                              QStringLiteral("/bin/b"), true, true};
    QTest::newRow("before the first load")
        << QList<JobSketch>{unmonitored} << false << false << false;
    QTest::newRow("an unmonitored job")
        << QList<JobSketch>{monitored, unmonitored} << true << false << true;
    QTest::newRow("every job monitored") << QList<JobSketch>{monitored} << true << false << false;
    QTest::newRow("dismissed") << QList<JobSketch>{unmonitored} << true << true << false;
}

void WindowModelsTest::monitoringSuggestion_showsOnlyWhenItApplies()
{
    QFETCH(QList<JobSketch>, jobs);
    QFETCH(bool, load);
    QFETCH(bool, dismiss);
    StoreUnderTest fixture(crontabOf(jobs));
    if (load)
        fixture.load();
    if (dismiss)
        fixture.store->dismissMonitoringSuggestion();
    QTEST(WindowPresentation::showsMonitoringSuggestion(*fixture.store), "shows");
}

void WindowModelsTest::syncStatus_saysWhatTheStoreDoes()
{
    const QDateTime now(QDate(2026, 3, 2), QTime(10, 0), StoreUnderTest::zone());
    const auto loading = WindowPresentation::syncStatus(true, now.addSecs(-300), now);
    QCOMPARE(loading.title, QStringLiteral("Wird synchronisiert"));
    QVERIFY(loading.rotates);
    QVERIFY(loading.detail.isEmpty());

    const auto loaded = WindowPresentation::syncStatus(false, now.addSecs(-300), now);
    QCOMPARE(loaded.title, QStringLiteral("System-crontab"));
    QCOMPARE(loaded.detail, QStringLiteral("Aktualisiert vor 5 Minuten"));
    QVERIFY(!loaded.rotates);
    QVERIFY(WindowPresentation::syncStatus(false, QDateTime(), now).detail.isEmpty());
}

void WindowModelsTest::deletionQuestion_namesABlankJobByItsCommand()
{
    const CronJob job = makeJob(1, {QStringLiteral("  \n"), QStringLiteral("@daily"),
                                    QStringLiteral("  /usr/local/bin/backup.sh --now")});
    QCOMPARE(WindowPresentation::deletionQuestion(job).message,
             QStringLiteral("„backup.sh“ wird aus der lokalen crontab entfernt. Vorher wird "
                            "automatisch ein Backup angelegt."));
}

// How a title is made of a job is the editor's rule; the window follows the selection with it.
void WindowModelsTest::windowTitle_namesTheSelectedJobAsItsEditorDoes()
{
    StoreUnderTest fixture(
        crontabOf({{QStringLiteral(" Ost – West\t"), QStringLiteral("@daily")}}));
    QCOMPARE(WindowPresentation::windowTitle(*fixture.store), QStringLiteral("Tempolane"));
    fixture.load();
    fixture.store->setSelection(fixture.job(0).id);
    QCOMPARE(WindowPresentation::windowTitle(*fixture.store),
             QStringLiteral("Ost – West – Tempolane"));
    fixture.store->setSelection(QUuid());
    QCOMPARE(WindowPresentation::windowTitle(*fixture.store), QStringLiteral("Tempolane"));
}

void WindowModelsTest::windowPlace_keepsTheFrameOnTheScreen_data()
{
    QTest::addColumn<QRect>("wanted");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QSize>("minimum");

    // A title bar of 30 and borders of 2; the window allows 940 × 620 at least.
    const QRect screen(0, 0, 1280, 800);
    QTest::newRow("fits with its frame: stays")
        << QRect(100, 50, 1000, 700) << screen << QRect(100, 50, 1000, 700) << QSize(940, 620);
    QTest::newRow("the default size on a screen of that size: the frame fits too")
        << QRect(0, 0, 1280, 800) << screen << QRect(2, 30, 1276, 768) << QSize(940, 620);
    QTest::newRow("a saved 100000 × 100000 far away: as large as the screen, on it")
        << QRect(5000, 5000, 100000, 100000) << screen << QRect(2, 30, 1276, 768)
        << QSize(940, 620);
    QTest::newRow("partly beyond the right edge: moved back in")
        << QRect(900, 100, 1000, 640) << screen << QRect(278, 100, 1000, 640) << QSize(940, 620);
    QTest::newRow("a second screen beside the first")
        << QRect(1300, 0, 1280, 800) << QRect(1280, 0, 1366, 768) << QRect(1300, 30, 1280, 736)
        << QSize(940, 620);
    QTest::newRow("a screen smaller than the least size: the least size gives way")
        << QRect(0, 0, 1280, 800) << QRect(0, 0, 853, 533) << QRect(2, 30, 849, 501)
        << QSize(849, 501);
}

void WindowModelsTest::windowPlace_keepsTheFrameOnTheScreen()
{
    QFETCH(QRect, wanted);
    QFETCH(QRect, available);
    QFETCH(QRect, geometry);
    QFETCH(QSize, minimum);
    const QMargins frame(2, 30, 2, 2);
    const auto place = WindowPresentation::fittedPlace(wanted, frame, available, QSize(940, 620));
    QCOMPARE(place.geometry, geometry);
    QCOMPARE(place.minimum, minimum);
    QVERIFY(available.contains(place.geometry + frame));
}

void WindowModelsTest::refreshLoop_loadsOnceAndRefreshesWhileRunning()
{
    StoreUnderTest fixture(crontabOf({{QStringLiteral("A")}, {QStringLiteral("B")}}));
    StatusRefreshLoop loop(*fixture.store, std::chrono::milliseconds(20));
    QSignalSpy ticks(&loop, &StatusRefreshLoop::ticked);
    // Each tick reads the crontab again, but loads only what someone else changed.
    QSignalSpy loads(fixture.store.get(), &CronStore::isLoadingChanged);

    loop.start();
    QTRY_VERIFY(ticks.count() >= 3);
    QCOMPARE(loads.count(), 2);

    loop.stop();
    const auto stoppedAt = ticks.count();
    QTest::qWait(100);
    QCOMPARE(ticks.count(), stoppedAt);

    // Reopening resumes the refreshes without a second load; a new selection refreshes at once.
    loop.start();
    QTRY_VERIFY(ticks.count() >= stoppedAt + 2);
    QCOMPARE(loads.count(), 2);
    fixture.client->contents += QStringLiteral("# von Hand\n");
    QTRY_COMPARE(loads.count(), 4);
    QTRY_COMPARE(fixture.store->loadedContents(), fixture.client->contents);
    loop.stop();
    const auto beforeSelection = ticks.count();
    loop.start();
    fixture.store->setSelection(fixture.job(1).id);
    QCOMPARE(ticks.count(), beforeSelection + 1);
}

QTEST_GUILESS_MAIN(WindowModelsTest)
#include "tst_WindowModels.moc"
