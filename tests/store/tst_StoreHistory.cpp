// Restoring a backup, and taking the last change back and making it again: each is a whole
// text written through the store's one commit, backed up first, refused over a crontab that
// changed behind the store's back.
#include "StoreUnderTest.h"

#include <QTest>

using namespace Tempolane;
using namespace Tempolane::Testing;

namespace {

const QList<JobSketch> twoJobs{
    {QStringLiteral("daily-report.sh"), QStringLiteral("30 8 * * 1-5"),
     QStringLiteral("/home/ann/daily-report.sh")},
    {QStringLiteral("Archiv"), QStringLiteral("0 2 * * 0"), QStringLiteral("/bin/archive"), false}};

// The texts of the backups, newest first.
QStringList backupTexts(CronStore& store)
{
    QStringList texts;
    const auto backups = QCoro::waitFor(store.backups());
    for (const CronBackup& backup : backups.value())
        texts.append(backup.text);
    return texts;
}

} // namespace

class StoreHistoryTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void undoAndRedo_writeTheTextsAroundTheChange_data();
    void undoAndRedo_writeTheTextsAroundTheChange();
    void undo_afterAnOutsideChange_isNotInPlaceAndRefused();
};

void StoreHistoryTest::undoAndRedo_writeTheTextsAroundTheChange_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("jobName");

    QTest::newRow("pause from the list")
        << "pause" << int(SavedChange::Kind::pause) << "daily-report.sh";
    QTest::newRow("resume") << "resume" << int(SavedChange::Kind::resume) << "Archiv";
    QTest::newRow("a save that only switches the job off is a pause")
        << "switch off in the editor" << int(SavedChange::Kind::pause) << "daily-report.sh";
    QTest::newRow("edit names the job as saved")
        << "rename" << int(SavedChange::Kind::edit) << "Bericht";
    QTest::newRow("create") << "create" << int(SavedChange::Kind::create) << "Neu";
    QTest::newRow("delete") << "delete" << int(SavedChange::Kind::remove) << "Archiv";
    QTest::newRow("monitoring for all")
        << "monitor all" << int(SavedChange::Kind::enableMonitoring) << "";
    QTest::newRow("restore") << "restore" << int(SavedChange::Kind::restore) << "";
}

void StoreHistoryTest::undoAndRedo_writeTheTextsAroundTheChange()
{
    QFETCH(QString, operation);
    QFETCH(int, kind);
    QFETCH(QString, jobName);

    StoreUnderTest test(crontabOf(twoJobs));
    test.load();
    CronStore& store = *test.store;
    const QString before = test.client->contents;
    CronJob job = test.job(operation == u"resume" || operation == u"delete" ? 1 : 0);
    if (operation == u"pause" || operation == u"resume") {
        QCoro::waitFor(store.setEnabled(operation == u"resume", job));
    } else if (operation == u"switch off in the editor") {
        job.isEnabled = false;
        QVERIFY(test.save(job));
    } else if (operation == u"rename") {
        job.name = QStringLiteral("Bericht");
        QVERIFY(test.save(job));
    } else if (operation == u"create") {
        job = makeJob(9, {QStringLiteral("Neu")});
        QVERIFY(QCoro::waitFor(store.saveJob(job, true)));
    } else if (operation == u"delete") {
        QCoro::waitFor(store.deleteJob(job));
    } else if (operation == u"monitor all") {
        QCoro::waitFor(store.enableMonitoringForAllJobs());
    } else {
        QVERIFY(QCoro::waitFor(store.restoreBackup(QStringLiteral("# nur ein Kommentar\n"))));
    }
    QVERIFY(!store.presentedError());
    const QString after = test.client->contents;
    QVERIFY(after != before);
    QCOMPARE(store.lastChange(),
             (SavedChange{SavedChange::Kind(kind), jobName, before, after, false, {}}));
    QVERIFY(store.isLastChangeInPlace());

    QVERIFY(QCoro::waitFor(store.undoLastChange()));
    QCOMPARE(test.client->contents, before);
    QCOMPARE(store.loadedContents(), before);
    QVERIFY(store.lastChange()->isUndone);
    QVERIFY(store.isLastChangeInPlace());
    QVERIFY(!QCoro::waitFor(store.undoLastChange()));

    QVERIFY(QCoro::waitFor(store.redoLastChange()));
    QCOMPARE(test.client->contents, after);
    QVERIFY(!store.lastChange()->isUndone);
    // Every write kept what it replaced.
    QCOMPARE(backupTexts(store).mid(0, 3), (QStringList{before, after, before}));
}

void StoreHistoryTest::undo_afterAnOutsideChange_isNotInPlaceAndRefused()
{
    StoreUnderTest test(crontabOf(twoJobs));
    test.load();
    CronStore& store = *test.store;
    QCoro::waitFor(store.setEnabled(false, test.job(0)));
    const QString written = test.client->contents;
    QCoro::waitFor(store.checkLastChange());
    QVERIFY(store.isLastChangeInPlace());

    // Seen by a check, or by the refusal itself when no check came first.
    for (const bool isChecked : {true, false}) {
        test.client->contents = written + QStringLiteral("# im Terminal ergänzt\n");
        if (isChecked) {
            QCoro::waitFor(store.checkLastChange());
            QVERIFY(!store.isLastChangeInPlace());
        }
        QVERIFY(!QCoro::waitFor(store.undoLastChange()));
        QCOMPARE(store.presentedError()->title,
                 QStringLiteral("Änderung konnte nicht rückgängig gemacht werden"));
        QVERIFY(store.presentedError()->message.contains(u"außerhalb von Tempolane"));
        QVERIFY(!store.isLastChangeInPlace());
        QCOMPARE(test.client->contents, written + QStringLiteral("# im Terminal ergänzt\n"));

        // The same text back in place: the change can be taken back again.
        test.client->contents = written;
        QCoro::waitFor(store.checkLastChange());
        QVERIFY(store.isLastChangeInPlace());
    }

    // A reload of another text shows it as well.
    test.client->contents = QStringLiteral("# neu\n");
    test.load();
    QVERIFY(!store.isLastChangeInPlace());
}

QTEST_GUILESS_MAIN(StoreHistoryTest)
#include "tst_StoreHistory.moc"
