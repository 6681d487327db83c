#pragma once

#include "CronBackupStore.h"
#include "CronStore.h"
#include "JobSketch.h"
#include "StoreFakes.h"

#include <QCoro/QCoroTask>
#include <QTemporaryDir>
#include <QTest>

namespace Tempolane::Testing {

// A store over an in-memory crontab and execution service, with a clock the test sets, in
// Berlin, and settings and backups in a directory of its own.
struct StoreUnderTest
{
    explicit StoreUnderTest(const QString& crontab = {})
    {
        auto fakeClient = std::make_unique<FakeCronClient>();
        client = fakeClient.get();
        client->contents = crontab;
        store = std::make_unique<CronStore>(
            std::move(fakeClient),
            std::make_unique<CronBackupStore>(directory.filePath(QStringLiteral("Backups")), 20,
                                              backupClock()),
            execution, runnerPath(),
            std::make_unique<QSettings>(directory.filePath(QStringLiteral("settings.ini")),
                                        QSettings::IniFormat),
            StoreTime{clock(), [] { return zone(); }});
    }

    // A load or save still under way (a shown window starts one) would resume into the
    // destroyed store.
    ~StoreUnderTest()
    {
        (void)QTest::qWaitFor(
            [this] { return !store || (!store->isLoading() && !store->isSaving()); });
    }

    static QTimeZone zone() { return QTimeZone(QByteArrayLiteral("Europe/Berlin")); }
    // A second later at every backup, so that no two backups share a name and the newest
    // sorts first, however fast the test saves.
    static CronBackupStore::Clock backupClock()
    {
        return [taken = QDateTime(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC)]() mutable {
            taken = taken.addSecs(1);
            return taken;
        };
    }
    Clock clock()
    {
        return [this] { return now; };
    }
    void load() { QCoro::waitFor(store->load()); }
    CronJob job(qsizetype index) const { return store->document().jobs().at(index); }
    bool save(const CronJob& job) { return QCoro::waitFor(store->saveJob(job, false)); }

    QTemporaryDir directory;
    QDateTime now = QDateTime(QDate(2026, 3, 2), QTime(10, 0), zone());
    FakeCronClient* client = nullptr;
    std::shared_ptr<FakeExecutionManager> execution = std::make_shared<FakeExecutionManager>();
    std::unique_ptr<CronStore> store;
};

} // namespace Tempolane::Testing
