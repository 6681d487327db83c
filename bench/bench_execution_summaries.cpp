// A status refresh of 100 monitored jobs with 100 runs each and 1 MiB logs: the first
// (cold) refresh, and the steady refresh the application repeats every 5 seconds.
#include "ExecutionService.h"
#include "MonitoredJobs.h"

#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <qcoro/qcorotask.h>
#include <sys/resource.h>

using namespace Tempolane;

namespace {

using namespace Tempolane::Bench;

struct Fixture
{
    QTemporaryDir directory;
    DataLocations locations = DataLocations::under(directory.path());
    QList<QUuid> ids;
    std::unique_ptr<ExecutionService> service;

    Fixture()
    {
        for (const CronJob& job : createMonitoredJobs(locations))
            ids.append(job.id);
        // In a steady state the files are older than the cache's settling time.
        QThread::sleep(3);
        service = std::make_unique<ExecutionService>(locations.executions, locations.runner);
    }

    void refresh() const
    {
        const auto summaries = QCoro::waitFor(service->summaries(ids));
        const auto history = QCoro::waitFor(service->history(ids.front()));
        benchmark::DoNotOptimize(summaries);
        benchmark::DoNotOptimize(history);
    }
};

Fixture& fixture()
{
    static Fixture instance;
    return instance;
}

// All threads of the process, so the service's worker counts too.
double processCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) {
        return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double maxResidentMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void BM_ColdRefresh(benchmark::State& state)
{
    Fixture& data = fixture();
    for (auto _ : state)
        data.refresh();
    const auto statistics = QCoro::waitFor(data.service->cacheStatistics());
    state.counters["log_MiB_read"] = double(statistics.logBytesRead) / logSize;
    state.counters["cache_MiB"] = double(statistics.cachedBytes) / logSize;
}
BENCHMARK(BM_ColdRefresh)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_SteadyRefresh(benchmark::State& state)
{
    Fixture& data = fixture();
    data.refresh();
    const qint64 before = QCoro::waitFor(data.service->cacheStatistics()).logBytesRead;
    const double cpuBefore = processCpuMs();
    for (auto _ : state)
        data.refresh();
    state.counters["process_cpu_ms_per_refresh"] =
        (processCpuMs() - cpuBefore) / double(state.iterations());
    const auto statistics = QCoro::waitFor(data.service->cacheStatistics());
    state.counters["log_bytes_read"] = double(statistics.logBytesRead - before);
    state.counters["cache_MiB"] = double(statistics.cachedBytes) / logSize;
    state.counters["max_rss_MiB"] = maxResidentMiB();
}
BENCHMARK(BM_SteadyRefresh)->Unit(benchmark::kMillisecond);

} // namespace
