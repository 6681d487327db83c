#include "JobShowing.h"

#include "CronStore.h"

#include <algorithm>

namespace Tempolane {

namespace {

bool holds(const CronStore& store, const QUuid& jobId)
{
    return std::any_of(store.jobs().cbegin(), store.jobs().cend(),
                       [&](const CronJob& job) { return job.id == jobId; });
}

} // namespace

QCoro::Task<> showJob(CronStore& store, QUuid jobId)
{
    if (jobId.isNull())
        co_return;
    // The same way to another job as a click in the list: the edits of the job shown first.
    if (jobId != store.selection()) {
        const bool mayLeave = co_await store.mayLeaveSelectedJob();
        if (!mayLeave)
            co_return;
    }
    if (!holds(store, jobId) && !store.isLoading())
        co_await store.load();
    // A load under way finds the selection again once it is done.
    if (!holds(store, jobId) && !store.isLoading())
        co_return;
    const auto shown = store.filteredJobs();
    if (std::none_of(shown.cbegin(), shown.cend(),
                     [&](const CronJob& job) { return job.id == jobId; })) {
        store.setFilter(JobFilter::all);
        store.setSearchText(QString());
    }
    store.setSelection(jobId);
}

} // namespace Tempolane
