// The main window against a yardstick measured in the same run: a bare QMainWindow with one
// label (the floor). Each figure comes from a fresh process (window-probe), timed from its
// start to its first painted job list, so loading the program counts too. Also the time to
// paint a full viewport of job rows, against Qt's plain item delegate on the same rows.
#include "CronBackupStore.h"
#include "CronStore.h"
#include "DataLocations.h"
#include "DemoCronClient.h"
#include "JobListModel.h"
#include "JobRowDelegate.h"
#include "ManyJobs.h"
#include "NullExecutionManager.h"

#include <QCoro/QCoroTask>
#include <QFile>
#include <QImage>
#include <QListView>
#include <QProcess>
#include <QStyledItemDelegate>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <ctime>

using namespace Tempolane;

namespace {

struct ProbeResult
{
    double milliseconds = 0;
    double residentMebibytes = 0;
    double idleCpuSeconds = 0;
    bool ok = false;
};

double monotonicSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

ProbeResult probe(const char* mode, int timeoutMs = 60'000)
{
    QTemporaryDir home;
    QFile crontab(home.filePath(QStringLiteral("crontab")));
    if (!crontab.open(QIODevice::WriteOnly) ||
        crontab.write(Bench::manyJobsCrontab(1000).toUtf8()) < 0)
        return {};
    crontab.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TEMPOLANE_PROBE_CRONTAB"), crontab.fileName());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const double startedAt = monotonicSeconds();
    process.start(QStringLiteral(WINDOW_PROBE), {QString::fromLatin1(mode)});
    ProbeResult result;
    while (process.waitForReadyRead(timeoutMs)) {
        while (process.canReadLine()) {
            const QList<QByteArray> words = process.readLine().trimmed().split(' ');
            const double value = words.value(1).toDouble();
            if (words.front() == "painted_at_s") {
                result.milliseconds = (value - startedAt) * 1000;
                result.ok = true;
            } else if (words.front() == "rss_kib") {
                result.residentMebibytes = value / 1024;
            } else if (words.front() == "idle_cpu_s") {
                result.idleCpuSeconds = value;
            }
        }
    }
    process.waitForFinished(timeoutMs);
    result.ok =
        result.ok && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return result;
}

// Start-up to the first painted list, alternating with the floor so both see the same noise.
void firstPaint(benchmark::State& state, const char* mode)
{
    double subject = 0;
    double floor = 0;
    double subjectRss = 0;
    double floorRss = 0;
    for (auto _ : state) {
        const ProbeResult measured = probe(mode);
        const ProbeResult yardstick = probe("floor");
        if (!measured.ok || !yardstick.ok) {
            state.SkipWithError("the window probe failed");
            return;
        }
        state.SetIterationTime(measured.milliseconds / 1000);
        subject += measured.milliseconds;
        floor += yardstick.milliseconds;
        subjectRss = std::max(subjectRss, measured.residentMebibytes);
        floorRss = std::max(floorRss, yardstick.residentMebibytes);
    }
    const double runs = double(state.iterations());
    state.counters["first_paint_ms"] = subject / runs;
    state.counters["floor_ms"] = floor / runs;
    state.counters["ratio_to_floor"] = subject / floor;
    state.counters["rss_mib"] = subjectRss;
    state.counters["floor_rss_mib"] = floorRss;
    state.counters["rss_over_floor_mib"] = subjectRss - floorRss;
}

void firstPaintSampleData(benchmark::State& state)
{
    firstPaint(state, "sample");
}

void firstPaintThousandJobs(benchmark::State& state)
{
    firstPaint(state, "thousand");
}

void idleMinute(benchmark::State& state)
{
    for (auto _ : state) {
        const ProbeResult idle = probe("idle", 120'000);
        if (!idle.ok) {
            state.SkipWithError("the window probe failed");
            return;
        }
        state.counters["idle_cpu_s_per_minute"] = idle.idleCpuSeconds;
    }
}

// One full viewport of job rows, painted into an image, with our delegate or Qt's plain one.
void paintViewport(benchmark::State& state, bool plain)
{
    QTemporaryDir home;
    const DataLocations locations = DataLocations::under(home.path());
    CronStore store(
        std::make_unique<DemoCronClient>(Bench::manyJobsCrontab(1000)),
        std::make_unique<CronBackupStore>(locations.backups),
        std::make_shared<NullExecutionManager>(), locations.runner,
        std::make_unique<QSettings>(home.filePath(QStringLiteral("s.ini")), QSettings::IniFormat));
    QCoro::waitFor(store.load());
    JobListModel model(store);
    QListView view;
    view.setModel(&model);
    view.setUniformItemSizes(true);
    if (plain)
        view.setItemDelegate(new QStyledItemDelegate(&view));
    else
        view.setItemDelegate(new JobRowDelegate(&view));
    view.resize(360, 800);
    view.show();
    QImage image(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    // Rows are made when first asked for; the first paint is not what is measured.
    view.viewport()->render(&image);
    int rows = 0;
    for (auto _ : state) {
        view.viewport()->render(&image);
        benchmark::ClobberMemory();
    }
    for (int row = 0; row < model.rowCount(); ++row)
        rows += view.visualRect(model.index(row)).intersects(view.viewport()->rect());
    state.counters["rows_painted"] = rows;
}

void paintViewportOfJobRows(benchmark::State& state)
{
    paintViewport(state, false);
}

void paintViewportPlainFloor(benchmark::State& state)
{
    paintViewport(state, true);
}

} // namespace

BENCHMARK(firstPaintSampleData)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(firstPaintThousandJobs)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(paintViewportOfJobRows)->Unit(benchmark::kMillisecond);
BENCHMARK(paintViewportPlainFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(idleMinute)->Unit(benchmark::kSecond)->Iterations(1);
