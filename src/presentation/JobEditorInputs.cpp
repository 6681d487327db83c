#include "JobEditorInputs.h"

#include "CronStore.h"

namespace Tempolane {

JobEditorInputs JobEditorInputs::of(CronStore& store, const CronJob& job, const QDateTime& now)
{
    return {job,
            false,
            store.isSaving(),
            store.executionSummary(job),
            store.selectedJobHistory(),
            store.upcomingExecution(job, now),
            store.manuallyRunningJobID() == job.id,
            store.runnerPath(),
            store.jobRuns().value(job.id),
            now};
}

} // namespace Tempolane
