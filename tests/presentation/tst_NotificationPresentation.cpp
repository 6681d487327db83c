// What the window does for the notifications: the job a notification opens, and when it offers
// to switch them on.
#include "JobShowing.h"
#include "NotificationOffer.h"
#include "StoreUnderTest.h"

#include <QTest>

using namespace Tempolane;
using namespace Tempolane::Testing;

Q_DECLARE_METATYPE(std::optional<SavedChange>)

class NotificationPresentationTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void offeredOnceAfterMonitoringWasSwitchedOn_data();
    void offeredOnceAfterMonitoringWasSwitchedOn();
    void shownJobIsSelected_data();
    void shownJobIsSelected();
};

void NotificationPresentationTest::offeredOnceAfterMonitoringWasSwitchedOn_data()
{
    QTest::addColumn<std::optional<SavedChange>>("change");
    QTest::addColumn<bool>("areOn");
    QTest::addColumn<bool>("wasOffered");
    QTest::addColumn<bool>("offers");

    const auto enabled = SavedChange::of(SavedChange::Kind::enableMonitoring);
    auto undone = enabled;
    undone.isUndone = true;
    QTest::newRow("monitoring just switched on")
        << std::optional(enabled) << false << false << true;
    QTest::newRow("offered before") << std::optional(enabled) << false << true << false;
    QTest::newRow("notifications already on") << std::optional(enabled) << true << false << false;
    QTest::newRow("switching on taken back") << std::optional(undone) << false << false << false;
    QTest::newRow("another change")
        << std::optional(SavedChange::of(SavedChange::Kind::pause)) << false << false << false;
    QTest::newRow("nothing written") << std::optional<SavedChange>() << false << false << false;
}

void NotificationPresentationTest::offeredOnceAfterMonitoringWasSwitchedOn()
{
    QFETCH(std::optional<SavedChange>, change);
    QFETCH(bool, areOn);
    QFETCH(bool, wasOffered);
    QTEST(NotificationOffer::shouldOffer(change, areOn, wasOffered), "offers");
}

void NotificationPresentationTest::shownJobIsSelected_data()
{
    QTest::addColumn<JobFilter>("filter");
    QTest::addColumn<QString>("search");
    QTest::addColumn<bool>("isAddedAfterLoad");
    QTest::addColumn<int>("shownJob");
    QTest::addColumn<int>("selectedJob");

    QTest::newRow("listed job") << JobFilter::all << QString() << false << 2 << 2;
    QTest::newRow("job hidden by the filter and the search")
        << JobFilter::paused << QStringLiteral("Erster") << false << 2 << 2;
    QTest::newRow("job added since the last read") << JobFilter::all << QString() << true << 3 << 3;
    QTest::newRow("job the crontab does not hold")
        << JobFilter::all << QString() << false << 9 << 1;
}

void NotificationPresentationTest::shownJobIsSelected()
{
    QFETCH(JobFilter, filter);
    QFETCH(QString, search);
    QFETCH(bool, isAddedAfterLoad);
    QFETCH(int, shownJob);
    QFETCH(int, selectedJob);

    const QList<JobSketch> jobs{{QStringLiteral("Erster")}, {QStringLiteral("Zweiter")}};
    StoreUnderTest fixture(crontabOf(jobs));
    fixture.load();
    fixture.store->setSelection(makeJob(1, {}).id);
    fixture.store->setFilter(filter);
    fixture.store->setSearchText(search);
    if (isAddedAfterLoad)
        fixture.client->contents = crontabOf(jobs + QList<JobSketch>{{QStringLiteral("Dritter")}});

    QCoro::waitFor(showJob(*fixture.store, makeJob(shownJob, {}).id));
    QCOMPARE(fixture.store->selection(), makeJob(selectedJob, {}).id);
    const auto listed = fixture.store->filteredJobs();
    QVERIFY(std::any_of(listed.cbegin(), listed.cend(),
                        [&](const CronJob& job) { return job.id == fixture.store->selection(); }));
}

QTEST_GUILESS_MAIN(NotificationPresentationTest)
#include "tst_NotificationPresentation.moc"
