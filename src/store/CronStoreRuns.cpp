// The store's side of the pictures of past runs: the run records of the jobs they draw.
#include "CronStore.h"

#include <QSet>

namespace Tempolane {

QCoro::Task<> CronStore::refreshJobRuns(QList<QUuid> jobIds)
{
    const QSet<QUuid> wanted(jobIds.cbegin(), jobIds.cend());
    QList<QUuid> monitored;
    for (const CronJob& job : std::as_const(m_jobs)) {
        if (job.isMonitoringEnabled && wanted.contains(job.id))
            monitored.append(job.id);
    }
    JobRunsMap runs;
    if (!monitored.isEmpty())
        runs = co_await m_executionManager->runRecords(monitored);
    assign(m_jobRuns, std::move(runs), &CronStore::jobRunsChanged);
}

} // namespace Tempolane
