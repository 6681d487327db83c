// The background watcher over 100 monitored jobs with 100 runs each: its resident memory after
// the first look, the processor time it spends idle, and the time from a failed run's record to
// its notification. Each figure comes from a fresh child process of this program. Targets:
// 25 MiB resident, 0.05 s of processor time per 10 minutes idle, 2 s to the notification.
#include "CronBackupStore.h"
#include "CronStore.h"
#include "DemoCronClient.h"
#include "ExecutionService.h"
#include "JobWatcher.h"
#include "MonitoredJobs.h"
#include "ProcessFigures.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <benchmark/benchmark.h>

using namespace Tempolane;
using namespace Tempolane::Bench;

namespace {

constexpr double targetMiB = 25;
constexpr double targetIdleSecondsPer10Minutes = 0.05;
constexpr int idleMeasuredSeconds = 10;

bool waitFor(JobWatcher& watcher)
{
    QEventLoop loop;
    QObject::connect(&watcher, &JobWatcher::checked, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, [&loop] { loop.exit(1); });
    return loop.exec() == 0;
}

// In the child: the watcher over the fixture; prints the figure the mode asks for.
int measure(const QString& mode, const QString& data)
{
    const DataLocations locations = DataLocations::under(data);
    QFile crontab(crontabPath(data));
    if (!crontab.open(QIODevice::ReadOnly))
        return 1;
    CronStore store(
        std::make_unique<DemoCronClient>(QString::fromUtf8(crontab.readAll())),
        std::make_unique<CronBackupStore>(locations.backups),
        std::make_shared<ExecutionService>(locations.executions, locations.runner),
        locations.runner,
        std::make_unique<QSettings>(data + QStringLiteral("/settings.ini"), QSettings::IniFormat));
    QElapsedTimer sinceRecord;
    qint64 latencyMs = -1;
    int told = 0;
    // Every notification is taken at once, as by a service that answers.
    struct Counter final : NotificationOutlet
    {
        std::function<void()> onShown;
        void show(const Notification&, Delivered delivered) override
        {
            onShown();
            delivered(true);
        }
        void withdraw(const QUuid&) override {}
    } outlet;
    outlet.onShown = [&] {
        ++told;
        if (sinceRecord.isValid() && latencyMs < 0)
            latencyMs = sinceRecord.elapsed();
    };
    JobWatcher watcher(store, locations, outlet);
    watcher.start();
    if (!waitFor(watcher) || store.executionSummaries().size() != jobCount || told == 0)
        return 1;
    QTextStream out(stdout);
    if (mode == u"rss") {
        out << statusKiB("VmRSS") << Qt::endl;
    } else if (mode == u"idle") {
        const double before = processorSeconds();
        QEventLoop idle;
        QTimer::singleShot(idleMeasuredSeconds * 1000, &idle, &QEventLoop::quit);
        idle.exec();
        out << (processorSeconds() - before) << Qt::endl;
    } else {
        // One more failed run: the first look's summary leaves room to tell it singly.
        const QString runs = locations.executions + u'/' +
                             store.jobs().front().id.toString(QUuid::WithoutBraces) +
                             QStringLiteral("/runs/");
        const qint64 now = QDateTime::currentSecsSinceEpoch();
        // This child's own process id: every child's run is a new one.
        const qint64 pid = QCoreApplication::applicationPid();
        const QString id = QStringLiteral("%1-%2").arg(now).arg(pid);
        QFile temporary(runs + id + QStringLiteral(".tmp"));
        temporary.open(QIODevice::WriteOnly);
        temporary.write(QStringLiteral("version=1\nstart=%1\nend=%1\nexit=2\npid=%2\nlog=\n")
                            .arg(now)
                            .arg(pid)
                            .toLatin1());
        temporary.close();
        told = 0;
        sinceRecord.start();
        QFile::rename(temporary.fileName(), runs + id + QStringLiteral(".run"));
        QEventLoop wait;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &wait, [&] {
            if (told > 0 || sinceRecord.elapsed() > 10000)
                wait.quit();
        });
        poll.start(1);
        wait.exec();
        out << latencyMs << Qt::endl;
    }
    return 0;
}

std::optional<double> runChild(const QString& mode)
{
    // Every child starts from the same files: nothing told yet.
    QFile::remove(DataLocations::under(sharedMonitoredFixture().path()).toldEvents);
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--measure"), mode, sharedMonitoredFixture().path()});
    child.waitForFinished(-1);
    bool ok = false;
    const double figure = child.readAllStandardOutput().trimmed().toDouble(&ok);
    return child.exitCode() == 0 && ok ? std::optional(figure) : std::nullopt;
}

void BM_WatcherResidentMemory(benchmark::State& state)
{
    double mib = 0;
    for (auto _ : state) {
        const auto kib = runChild(QStringLiteral("rss"));
        if (!kib)
            return state.SkipWithError("the measuring child failed");
        mib = *kib / 1024;
    }
    state.counters["resident_MiB"] = mib;
    state.counters["share_of_25MiB_target"] = mib / targetMiB;
}
BENCHMARK(BM_WatcherResidentMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_WatcherIdleProcessorTime(benchmark::State& state)
{
    double per10Minutes = 0;
    for (auto _ : state) {
        const auto seconds = runChild(QStringLiteral("idle"));
        if (!seconds)
            return state.SkipWithError("the measuring child failed");
        per10Minutes = *seconds * (600.0 / idleMeasuredSeconds);
    }
    state.counters["cpu_s_per_10min"] = per10Minutes;
    state.counters["share_of_0.05s_target"] = per10Minutes / targetIdleSecondsPer10Minutes;
}
BENCHMARK(BM_WatcherIdleProcessorTime)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_RecordToNotification(benchmark::State& state)
{
    double worstMs = 0;
    for (auto _ : state) {
        const auto ms = runChild(QStringLiteral("latency"));
        if (!ms || *ms < 0)
            return state.SkipWithError("the measuring child failed");
        worstMs = std::max(worstMs, *ms);
    }
    state.counters["worst_ms"] = worstMs;
    state.counters["share_of_2s_target"] = worstMs / 2000;
}
BENCHMARK(BM_RecordToNotification)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && QByteArrayView(argv[1]) == "--measure")
        return measure(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    // For measuring the installed program (bench/background-watcher-memory): the fixture in DIR.
    if (argc == 3 && QByteArrayView(argv[1]) == "--write-fixture") {
        createMonitoredFixture(QString::fromLocal8Bit(argv[2]));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
