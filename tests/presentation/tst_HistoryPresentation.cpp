// What the window shows of the way back: the undo and redo commands, the backups with their
// diffs, and how a diff is shown.
#include "BackupListModel.h"
#include "StoreUnderTest.h"
#include "UndoCommands.h"

#include <QAbstractItemModelTester>
#include <QSemaphore>
#include <QTest>
#include <QThreadPool>

using namespace Tempolane;
using namespace Tempolane::Testing;
using UndoCommands::CommandState;

namespace {

const QList<JobSketch> twoJobs{
    {QStringLiteral("daily-report.sh"), QStringLiteral("30 8 * * 1-5"),
     QStringLiteral("/home/ann/daily-report.sh")},
    {QStringLiteral("Archiv"), QStringLiteral("0 2 * * 0"), QStringLiteral("/bin/archive"), false}};

QString numberedLines(int count, const QMap<int, QString>& replaced = {})
{
    QString text;
    for (int i = 1; i <= count; ++i)
        text += replaced.value(i, QString::number(i)) + u'\n';
    return text;
}

// One line per shown line, its tint first.
QString rendered(const QList<ShownDiffLine>& lines)
{
    const QMap<Tint, QString> tints{{Tint::primary, "P"},
                                    {Tint::secondary, "S"},
                                    {Tint::tertiary, "T"},
                                    {Tint::green, "G"},
                                    {Tint::red, "R"}};
    QStringList shown;
    for (const ShownDiffLine& line : lines)
        shown.append(tints.value(line.tint, QStringLiteral("?")) + u'|' + line.text);
    return shown.join(u'\n');
}

} // namespace

class HistoryPresentationTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void undoAndRedo_nameTheChangeWhileItStands_data();
    void undoAndRedo_nameTheChangeWhileItStands();
    void shownDiff_marksChangesAndLeavesOutUnchangedRuns_data();
    void shownDiff_marksChangesAndLeavesOutUnchangedRuns();
    void backupList_comparesEachBackupAndKeepsTheSelectionAcrossARestore();
    void backupList_explainsWhatItCannotShow();
    void backupList_listingStartedByAClosedDialogOutlivesTheStore();
};

void HistoryPresentationTest::undoAndRedo_nameTheChangeWhileItStands_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<CommandState>("undo");
    QTest::addColumn<CommandState>("redo");

    const CommandState noUndo{QStringLiteral("Rückgängig"), false, {}};
    const CommandState noRedo{QStringLiteral("Wiederholen"), false, {}};
    const QString pause = QStringLiteral("Pausieren von „daily-report.sh“");
    const QString changed = QStringLiteral("Die crontab wurde seitdem geändert.");
    QTest::newRow("nothing saved yet") << "" << noUndo << noRedo;
    QTest::newRow("pause") << "pause" << CommandState{"Rückgängig: " + pause, true, {}} << noRedo;
    QTest::newRow("resume") << "resume"
                            << CommandState{"Rückgängig: Fortsetzen von „Archiv“", true, {}}
                            << noRedo;
    QTest::newRow("changed behind the window's back")
        << "pause outside" << CommandState{"Rückgängig: " + pause, false, changed} << noRedo;
    QTest::newRow("while saving") << "pause saving"
                                  << CommandState{"Rückgängig: " + pause, false, {}} << noRedo;
    QTest::newRow("undone") << "pause undo" << noUndo
                            << CommandState{"Wiederholen: " + pause, true, {}};
    QTest::newRow("undone, then changed")
        << "pause undo outside" << noUndo << CommandState{"Wiederholen: " + pause, false, changed};
}

void HistoryPresentationTest::undoAndRedo_nameTheChangeWhileItStands()
{
    QFETCH(QString, steps);
    QFETCH(CommandState, undo);
    QFETCH(CommandState, redo);

    StoreUnderTest test(crontabOf(twoJobs));
    test.load();
    CronStore& store = *test.store;
    for (const QString& step : steps.split(u' ', Qt::SkipEmptyParts)) {
        if (step == u"pause" || step == u"resume") {
            QCoro::waitFor(store.setEnabled(step == u"resume", test.job(step == u"pause" ? 0 : 1)));
        } else if (step == u"undo") {
            QVERIFY(QCoro::waitFor(store.undoLastChange()));
        } else if (step == u"outside") {
            test.client->contents += QStringLiteral("# von außen\n");
            QCoro::waitFor(store.checkLastChange());
        } else if (step == u"saving") {
            test.client->gate.isClosed = true;
            store.setEnabled(false, test.job(1));
            QTRY_COMPARE(test.client->gate.waiting, 1);
        }
    }
    QCOMPARE(UndoCommands::undo(store), undo);
    QCOMPARE(UndoCommands::redo(store), redo);
    test.client->gate.open();
    QTRY_VERIFY(!store.isSaving());
}

void HistoryPresentationTest::shownDiff_marksChangesAndLeavesOutUnchangedRuns_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("expected");

    QTest::newRow("two hunks, with the unchanged lines around them left out")
        << numberedLines(20) << numberedLines(20, {{5, "fünf"}, {15, "fünfzehn"}})
        << "T|⋯\nP|  2\nP|  3\nP|  4\nR|− 5\nG|+ fünf\nP|  6\nP|  7\nP|  8\nT|⋯\n"
           "P|  12\nP|  13\nP|  14\nR|− 15\nG|+ fünfzehn\nP|  16\nP|  17\nP|  18\nT|⋯";
    QTest::newRow("control characters escaped, tabs kept, a missing line feed told")
        << "a\nb\n"
        << "a\nb\tc\x1b[2J"
        << "P|  a\nR|− b\nG|+ b\tc\\x1b[2J\nS|Kein Zeilenumbruch am Dateiende";
    QTest::newRow("no difference") << "a\n"
                                   << "a\n"
                                   << QString();
}

void HistoryPresentationTest::shownDiff_marksChangesAndLeavesOutUnchangedRuns()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, expected);
    QCOMPARE(rendered(shownDiff(LineDiff::between(from, to))), expected);
}

void HistoryPresentationTest::backupList_comparesEachBackupAndKeepsTheSelectionAcrossARestore()
{
    StoreUnderTest test(crontabOf(twoJobs));
    test.load();
    CronStore& store = *test.store;
    const QString first = test.client->contents;
    QCoro::waitFor(store.deleteJob(test.job(1)));
    const QString second = test.client->contents;
    QCoro::waitFor(store.setEnabled(false, test.job(0)));

    BackupListModel model(store, test.clock(), StoreUnderTest::zone());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.reload();
    QTRY_VERIFY(!model.isLoading());
    QCOMPARE(model.rowCount(), 2);
    const auto row = [&](int number) {
        QStringList columns;
        for (int column = 0; column < model.columnCount(); ++column)
            columns.append(model.index(number, column).data().toString());
        return columns;
    };
    // Backups are taken a second apart from 1 March 2026, 09:00:01 UTC.
    QCOMPARE(row(0), (QStringList{"1. März 2026, 10:00:02", "1 Job", "+1 −1"}));
    QCOMPARE(row(1), (QStringList{"1. März 2026, 10:00:01", "2 Jobs", "+4 −1"}));
    QCOMPARE(model.selectedRow(), 0);
    QVERIFY(model.notice().isEmpty());
    QVERIFY(model.canRestore());

    model.select(1);
    QVERIFY(!model.selectedDiff().isEmpty());
    model.restoreSelected();
    QTRY_VERIFY(!store.isSaving() && !model.isLoading());
    QCOMPARE(test.client->contents, first);
    // The text replaced by the restore is the newest backup now; the restored one stays
    // selected and equals the crontab.
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.selectedRow(), 2);
    QCOMPARE(row(2)[2], QStringLiteral("unverändert"));
    QCOMPARE(model.notice(), QStringLiteral("Diese Sicherung entspricht der aktuellen crontab."));
    QVERIFY(!model.canRestore());
    QVERIFY(second != first);
}

void HistoryPresentationTest::backupList_explainsWhatItCannotShow()
{
    StoreUnderTest test;
    BackupListModel model(*test.store, test.clock(), StoreUnderTest::zone());
    model.reload();
    QTRY_VERIFY(!model.isLoading());
    QCOMPARE(model.selectedRow(), -1);
    QCOMPARE(model.notice(),
             QStringLiteral("Noch keine Sicherungen. Tempolane sichert die crontab vor jeder "
                            "Änderung."));
    QVERIFY(!model.canRestore());

    // A file where the backups' directory belongs.
    QFile blocker(test.directory.filePath(QStringLiteral("Backups")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    model.reload();
    QTRY_VERIFY(!model.isLoading());
    QVERIFY2(model.notice().startsWith(u"Die Sicherungen konnten nicht gelesen werden: "),
             qPrintable(model.notice()));
}

// A dialog closed at once goes before the store it shows, while the listing it started still
// runs: the listing must not reach back into the store when it resumes. The sanitiser of the
// test build reports such a read of the destroyed store.
void HistoryPresentationTest::backupList_listingStartedByAClosedDialogOutlivesTheStore()
{
    auto test = std::make_unique<StoreUnderTest>(crontabOf(twoJobs));
    auto model =
        std::make_unique<BackupListModel>(*test->store, test->clock(), StoreUnderTest::zone());
    // Every worker held busy, so the comparison cannot finish before the store goes.
    QThreadPool& pool = *QThreadPool::globalInstance();
    QSemaphore held;
    for (int worker = 0; worker < pool.maxThreadCount(); ++worker)
        pool.start([&held] { held.acquire(); });
    model->reload();
    QVERIFY(model->isLoading());
    model.reset();
    test.reset();
    held.release(pool.maxThreadCount());
    // The backups were read before the store went; what follows them resumes from here.
    for (int step = 0; step < 3; ++step) {
        QCoreApplication::processEvents();
        QVERIFY(QThreadPool::globalInstance()->waitForDone(5000));
    }
}

QTEST_GUILESS_MAIN(HistoryPresentationTest)
#include "tst_HistoryPresentation.moc"
