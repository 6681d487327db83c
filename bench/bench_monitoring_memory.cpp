// Memory of a first load over 100 monitored jobs with 100 runs each and 1 MiB logs: the
// store's load plus first refresh, and the status command (the same, then printed). Each runs
// in a fresh child process and is measured as its peak resident set above its resident set
// just before the work; the target is 64 MiB.
#include "CliCommand.h"
#include "CronBackupStore.h"
#include "CronStore.h"
#include "DemoCronClient.h"
#include "ExecutionService.h"
#include "MonitoredJobs.h"
#include "ProcessFigures.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <benchmark/benchmark.h>
#include <qcoro/qcorotask.h>

using namespace Tempolane;
using namespace Tempolane::Bench;

namespace {

constexpr double targetMiB = 64;

// In the child: the fixture's crontab in a store over the real execution service.
int measure(const QString& mode, const QString& data)
{
    const DataLocations locations = DataLocations::under(data);
    QFile crontab(crontabPath(data));
    if (!crontab.open(QIODevice::ReadOnly))
        return 1;
    const QString text = QString::fromUtf8(crontab.readAll());
    QFile sink(QStringLiteral("/dev/null"));
    sink.open(QIODevice::WriteOnly);
    QTextStream out(&sink);

    const qint64 baseline = statusKiB("VmRSS");
    // From here on the peak counts only what the work adds.
    if (!resetPeakResidentSet())
        return 1;
    {
        CronStore store(std::make_unique<DemoCronClient>(text),
                        std::make_unique<CronBackupStore>(locations.backups),
                        std::make_shared<ExecutionService>(locations.executions, locations.runner),
                        locations.runner,
                        std::make_unique<QSettings>(data + QStringLiteral("/settings.ini"),
                                                    QSettings::IniFormat));
        QCoro::waitFor(store.load());
        if (store.document().jobs().size() != jobCount ||
            store.executionSummaries().size() != jobCount)
            return 1;
        if (mode == u"status")
            Cli::printStatus(store, out);
        out.flush();
    }
    QTextStream(stdout) << baseline << u' ' << statusKiB("VmHWM") << Qt::endl;
    return 0;
}

void runChild(benchmark::State& state, const QString& mode)
{
    double aboveMiB = 0;
    double baselineMiB = 0;
    for (auto _ : state) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--measure"), mode, sharedMonitoredFixture().path()});
        child.waitForFinished(-1);
        const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
        if (child.exitCode() != 0 || figures.size() != 2) {
            state.SkipWithError("the measuring child failed");
            return;
        }
        baselineMiB = double(figures[0].toLongLong()) / 1024;
        aboveMiB = double(figures[1].toLongLong() - figures[0].toLongLong()) / 1024;
    }
    state.counters["baseline_MiB"] = baselineMiB;
    state.counters["above_baseline_MiB"] = aboveMiB;
    state.counters["share_of_64MiB_target"] = aboveMiB / targetMiB;
}

void BM_StoreLoadAndFirstRefresh(benchmark::State& state)
{
    runChild(state, QStringLiteral("store"));
}
BENCHMARK(BM_StoreLoadAndFirstRefresh)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_StatusCommand(benchmark::State& state)
{
    runChild(state, QStringLiteral("status"));
}
BENCHMARK(BM_StatusCommand)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && QByteArrayView(argv[1]) == "--measure")
        return measure(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
