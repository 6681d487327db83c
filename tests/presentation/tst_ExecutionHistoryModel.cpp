#include "DateTimeText.h"
#include "ExecutionHistoryModel.h"
#include "ExecutionPanel.h"
#include "RunHistory.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>
#include <functional>

using namespace Tempolane;

namespace {

// Which runs the rows show, by their start time, top to bottom.
QList<int> shownRuns(const ExecutionHistoryModel& model)
{
    QList<int> numbers;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QString time =
            model.index(row).data(ExecutionHistoryModel::startedAtTextRole).toString();
        int number = 0;
        while (DateTimeText::shortDateTime(Testing::newestRunStart.addDays(-number)) != time &&
               number < 100)
            ++number;
        numbers.append(number);
    }
    return numbers;
}

using RecordChange = std::function<void(JobExecutionRecord&)>;

} // namespace

Q_DECLARE_METATYPE(RecordChange)

class ExecutionHistoryModelTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rows_areTheNewestRuns();
    void newRecords_keepTheRowsOfRunsStillListed_data();
    void newRecords_keepTheRowsOfRunsStillListed();
    void aChangedRun_announcesOnlyTheRolesThatChanged_data();
    void aChangedRun_announcesOnlyTheRolesThatChanged();
    void unfolding_readsOutWhatTheRowShows();
};

void ExecutionHistoryModelTest::rows_areTheNewestRuns()
{
    ExecutionHistoryModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setRecords(Testing::runsDaysBefore(
        Testing::firstNumbers(int(ExecutionPanel::maximumShownRecords) + 5)));
    QCOMPARE(shownRuns(model), Testing::firstNumbers(int(ExecutionPanel::maximumShownRecords)));
    // A screen reader hears each run by its own start time, then how it went; only the newest
    // is the last run.
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex run = model.index(row);
        const QString heard = run.data(Qt::AccessibleTextRole).toString();
        QVERIFY2(heard.startsWith(run.data(ExecutionHistoryModel::startedAtTextRole).toString()),
                 qPrintable(heard));
        QVERIFY2(heard.contains(u"Letzte Ausführung"_qs) == (row == 0), qPrintable(heard));
        QVERIFY2(run.data().toString().contains(u"letzte"_qs, Qt::CaseInsensitive) == (row == 0),
                 qPrintable(run.data().toString()));
    }
    // A newer run arrives: the former newest is titled as an older run, and says so.
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setRecords(Testing::runsDaysBefore({-1, 0, 1}));
    QCOMPARE(model.index(1).data().toString(), u"Erfolgreich"_qs);
    QVERIFY(std::ranges::any_of(changed, [](const QList<QVariant>& arguments) {
        return arguments.at(0).toModelIndex().row() <= 1 &&
               arguments.at(1).toModelIndex().row() >= 1 &&
               arguments.at(2).value<QList<int>>().contains(Qt::DisplayRole);
    }));
}

void ExecutionHistoryModelTest::newRecords_keepTheRowsOfRunsStillListed_data()
{
    QTest::addColumn<QList<int>>("before");
    QTest::addColumn<QList<int>>("after");
    QTest::addColumn<int>("unfoldedRun");

    QTest::newRow("a new run on top") << QList{1, 2, 3} << QList{0, 1, 2, 3} << 2;
    QTest::newRow("the oldest run drops out") << QList{1, 2, 3} << QList{0, 1, 2} << 1;
    QTest::newRow("a run in the middle goes") << QList{1, 2, 3} << QList{1, 3} << 3;
    QTest::newRow("runs in another order") << QList{3, 1, 2} << QList{1, 2, 3} << 3;
    QTest::newRow("all new runs") << QList{4, 5} << QList{1, 2} << -1;
}

void ExecutionHistoryModelTest::newRecords_keepTheRowsOfRunsStillListed()
{
    QFETCH(QList<int>, before);
    QFETCH(QList<int>, after);
    QFETCH(int, unfoldedRun);

    ExecutionHistoryModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setRecords(Testing::runsDaysBefore(before));
    for (int row = 0; row < model.rowCount(); ++row)
        model.setData(model.index(row), true, ExecutionHistoryModel::isExpandedRole);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);

    model.setRecords(Testing::runsDaysBefore(after));
    QCOMPARE(shownRuns(model), after);
    QCOMPARE(resets.size(), 0);
    // Records equal to the ones shown change no data; only a run that is no longer the newest
    // is titled anew.
    for (const QList<QVariant>& change : std::as_const(changes)) {
        const auto roles = change.at(2).value<QList<int>>();
        QVERIFY(std::ranges::all_of(roles, [](int role) {
            return role == Qt::DisplayRole || role == Qt::AccessibleTextRole;
        }));
    }
    // A run that was unfolded stays so; a new one comes folded.
    for (int row = 0; row < model.rowCount(); ++row) {
        const bool wasUnfolded = before.contains(after[row]);
        QCOMPARE(model.index(row).data(ExecutionHistoryModel::isExpandedRole).toBool(),
                 wasUnfolded);
        if (after[row] == unfoldedRun)
            QVERIFY(wasUnfolded);
    }
    model.collapseAll();
    for (int row = 0; row < model.rowCount(); ++row)
        QVERIFY(!model.index(row).data(ExecutionHistoryModel::isExpandedRole).toBool());
}

void ExecutionHistoryModelTest::aChangedRun_announcesOnlyTheRolesThatChanged_data()
{
    QTest::addColumn<RecordChange>("change");
    QTest::addColumn<QList<int>>("roles");

    const QList<int> state{Qt::DisplayRole, ExecutionHistoryModel::symbolRole,
                           ExecutionHistoryModel::tintRole, Qt::AccessibleTextRole};
    const QList<int> output{ExecutionHistoryModel::outputRole, Qt::AccessibleDescriptionRole};
    QTest::newRow("it failed") << RecordChange([](auto& run) { run.exitCode = 2; }) << state;
    QTest::newRow("its output was read")
        << RecordChange([](auto& run) { run.output = QStringLiteral("done\n"); }) << output;
    QTest::newRow("it ended with output") << RecordChange([](auto& run) {
        run.exitCode = 1;
        run.output = QStringLiteral("failed\n");
    }) << state + output;
    QTest::newRow("only its end time moved")
        << RecordChange([](auto& run) { run.endedAt = run.endedAt->addSecs(1); }) << QList<int>{};
}

void ExecutionHistoryModelTest::aChangedRun_announcesOnlyTheRolesThatChanged()
{
    QFETCH(RecordChange, change);
    QFETCH(QList<int>, roles);

    ExecutionHistoryModel model;
    QList<JobExecutionRecord> records = Testing::runsDaysBefore({0, 1});
    model.setRecords(records);
    const QVariantList before{model.index(1).data(), model.index(1).data(Qt::AccessibleTextRole),
                              model.index(1).data(ExecutionHistoryModel::outputRole)};
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);

    change(records[1]);
    model.setRecords(records);
    if (roles.isEmpty()) {
        QCOMPARE(changes.size(), 0);
        return;
    }
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes[0][0].toModelIndex(), model.index(1));
    QCOMPARE(changes[0][1].toModelIndex(), model.index(1));
    const auto announced = changes[0][2].value<QList<int>>();
    QCOMPARE(QSet<int>(announced.cbegin(), announced.cend()),
             QSet<int>(roles.cbegin(), roles.cend()));
    // What was announced did change.
    if (roles.contains(Qt::DisplayRole))
        QVERIFY(model.index(1).data() != before[0]);
    if (roles.contains(ExecutionHistoryModel::outputRole))
        QVERIFY(model.index(1).data(ExecutionHistoryModel::outputRole) != before[2]);
}

void ExecutionHistoryModelTest::unfolding_readsOutWhatTheRowShows()
{
    ExecutionHistoryModel model;
    QList<JobExecutionRecord> records = Testing::runsDaysBefore({0, 1});
    records[0].output = QStringLiteral("line one\nline two\r\n\n");
    model.setRecords(records);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);

    for (int row = 0; row < 2; ++row) {
        QVERIFY(model.index(row).data(Qt::AccessibleDescriptionRole).isNull());
        QVERIFY(model.setData(model.index(row), true, ExecutionHistoryModel::isExpandedRole));
    }
    QCOMPARE(changes.size(), 2);
    // The output as written, without the line breaks that end it.
    QCOMPARE(model.index(0).data(Qt::AccessibleDescriptionRole).toString(),
             u"line one\nline two"_qs);
    QCOMPARE(model.index(1).data(Qt::AccessibleDescriptionRole).toString(),
             u"Für diese Ausführung wurden keine Meldungen aufgezeichnet."_qs);
    // Unfolding an unfolded row changes nothing.
    QVERIFY(model.setData(model.index(0), true, ExecutionHistoryModel::isExpandedRole));
    QCOMPARE(changes.size(), 2);
}

QTEST_MAIN(ExecutionHistoryModelTest)
#include "tst_ExecutionHistoryModel.moc"
