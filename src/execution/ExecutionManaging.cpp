#include "ExecutionManaging.h"

namespace Tempolane {

QCoro::Task<QMap<QUuid, QList<JobExecutionRecord>>>
ExecutionManaging::runRecords(QList<QUuid> jobIds)
{
    QMap<QUuid, QList<JobExecutionRecord>> records;
    for (const QUuid& id : jobIds) {
        QList<JobExecutionRecord> runs = co_await history(id);
        for (JobExecutionRecord& run : runs)
            run.output.reset();
        records.insert(id, std::move(runs));
    }
    co_return records;
}

} // namespace Tempolane
