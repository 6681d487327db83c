// Responsiveness of the first load: load() plus the first status refresh of a 1,000-job
// crontab (half monitored, a tenth with rarely or never matching schedules) on sample data.
// A zero-interval timer ticks whenever the main thread returns to its event loop; the
// longest gap between ticks is the longest stretch the window would have been frozen.
#include "CronBackupStore.h"
#include "CronStore.h"
#include "DataLocations.h"
#include "DemoCronClient.h"
#include "MainThreadStretch.h"
#include "NullExecutionManager.h"
#include "ShellQuoting.h"

#include <QCoro/QCoroTask>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace Tempolane;
using namespace Tempolane::Bench;

namespace {

QString thousandJobs(const QString& runner)
{
    const QStringList rare{QStringLiteral("0 0 30 2 *"), QStringLiteral("0 0 29 2 *"),
                           QStringLiteral("0 0 31 4 *")};
    const QStringList usual{QStringLiteral("*/5 * * * *"), QStringLiteral("30 8 * * 1-5"),
                            QStringLiteral("@daily"), QStringLiteral("15 */2 1,15 * *")};
    QStringList lines{QStringLiteral("SHELL=/bin/sh"), QString()};
    for (int i = 0; i < 1000; ++i) {
        CronJob job;
        job.id = QUuid::createUuid();
        job.name = QStringLiteral("Aufgabe %1").arg(i);
        job.scheduleExpression = i % 10 == 0 ? rare[i / 10 % rare.size()] : usual[i % usual.size()];
        job.command = QStringLiteral("/home/ann/bin/task-%1.sh --quiet").arg(i);
        job.isEnabled = i % 9 != 0;
        job.isMonitoringEnabled = i % 2 == 0;
        lines.append(job.serializedLines(quotedPath(runner)));
    }
    return lines.join(u'\n') + u'\n';
}

void loadAndFirstRefresh(benchmark::State& state)
{
    QTemporaryDir dataHome;
    const DataLocations locations = DataLocations::under(dataHome.path());
    const QString text = thousandJobs(locations.runner);
    double longestStretchMs = 0;
    double totalMs = 0;

    for (auto _ : state) {
        CronStore store(std::make_unique<DemoCronClient>(text),
                        std::make_unique<CronBackupStore>(locations.backups),
                        std::make_shared<NullExecutionManager>(), locations.runner,
                        std::make_unique<QSettings>(dataHome.filePath(QStringLiteral("s.ini")),
                                                    QSettings::IniFormat));
        MainThreadStretch stretch;
        QCoro::waitFor(store.load());
        const auto [longest, end] = stretch.stop();

        if (store.document().jobs().size() != 1000 || !store.hasLoaded())
            state.SkipWithError("the crontab was not loaded");
        longestStretchMs = std::max(longestStretchMs, double(longest) / 1e6);
        totalMs = std::max(totalMs, double(end) / 1e6);
    }
    state.counters["longest_stretch_ms"] = longestStretchMs;
    state.counters["worst_total_ms"] = totalMs;
}

} // namespace

BENCHMARK(loadAndFirstRefresh)->Unit(benchmark::kMillisecond)->Iterations(20);
