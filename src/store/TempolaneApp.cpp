#include "TempolaneApp.h"

#include "CronBackupStore.h"
#include "CronSystemClient.h"
#include "DemoCronClient.h"
#include "ExecutionService.h"
#include "NullExecutionManager.h"

namespace Tempolane {

bool TempolaneApp::isSampleDataMode(const QProcessEnvironment& environment)
{
    return environment.value(QStringLiteral("TEMPOLANE_DEMO")) == u"1" ||
           environment.value(QStringLiteral("XCODE_RUNNING_FOR_PREVIEWS")) == u"1";
}

TempolaneApp::TempolaneApp(const QProcessEnvironment& environment, const DataLocations& locations)
    : m_isSampleDataMode(isSampleDataMode(environment)), m_locations(locations)
{
    std::unique_ptr<CronManaging> client;
    std::shared_ptr<ExecutionManaging> executionManager;
    if (m_isSampleDataMode) {
        client = std::make_unique<DemoCronClient>();
        executionManager = std::make_shared<NullExecutionManager>();
    } else {
        client = std::make_unique<CronSystemClient>();
        executionManager =
            std::make_shared<ExecutionService>(m_locations.executions, m_locations.runner);
    }
    // The sample data keeps backups too, so a save works the same in both modes; but they live
    // and go with this run, so sample texts never join, push out or get restored over the real
    // crontab's backups.
    if (m_isSampleDataMode)
        m_sampleBackups.emplace();
    const QString backups = m_sampleBackups ? m_sampleBackups->path() : m_locations.backups;
    m_store = std::make_unique<CronStore>(
        std::move(client), std::make_unique<CronBackupStore>(backups), std::move(executionManager),
        m_locations.runner,
        std::make_unique<QSettings>(QStringLiteral("Tempolane"), QStringLiteral("Tempolane")));
}

} // namespace Tempolane
