// The line diff of two texts of 20,000 lines where 10,000 differ: time per comparison and the
// peak memory it adds, once with rewritten lines the other text lacks and once with lines
// drawn from a small set, which every shortest script must search. The targets are 1 s and
// 50 MB; the counters give each figure as a share of its target.
#include "LineDiff.h"
#include "ProcessFigures.h"

#include <QRandomGenerator>
#include <benchmark/benchmark.h>

using namespace Tempolane;
using namespace Tempolane::Bench;

namespace {

constexpr int lineCount = 20000;

void compare(benchmark::State& state, const QString& from, const QString& to)
{
    double peakMiB = 0;
    qsizetype edits = 0;
    for (auto _ : state) {
        const qint64 before = statusKiB("VmRSS");
        resetPeakResidentSet();
        const LineDiff diff = LineDiff::between(from, to);
        peakMiB = std::max(peakMiB, double(statusKiB("VmHWM") - before) / 1024);
        edits = diff.addedCount() + diff.removedCount();
        benchmark::DoNotOptimize(edits);
    }
    state.counters["edits"] = double(edits);
    state.counters["peak_above_start_MiB"] = peakMiB;
    state.counters["share_of_50MB"] = peakMiB * 1024 * 1024 / 50e6;
    state.counters["share_of_1s"] = benchmark::Counter(
        double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Every other line rewritten to a line the other text does not hold.
void BM_EveryOtherLineRewritten(benchmark::State& state)
{
    QString from;
    QString to;
    for (int i = 0; i < lineCount; ++i) {
        const QString line = QStringLiteral("%1 3 * * * /usr/local/bin/job-%1 --quiet\n").arg(i);
        from += line;
        to += i % 2 == 0 ? line : QStringLiteral("# Tempolane disabled: ") + line;
    }
    compare(state, from, to);
}

// Half the lines replaced by others from the same small set, so that nothing is left out
// of the search.
void BM_HalfRedrawnFromFewLines(benchmark::State& state)
{
    QRandomGenerator random(7);
    const auto line = [&random] {
        return QStringLiteral("*/5 * * * * /usr/bin/php /srv/site-%1/cron.php\n")
            .arg(random.bounded(40));
    };
    QString from;
    QString to;
    for (int i = 0; i < lineCount; ++i) {
        const QString kept = line();
        from += kept;
        to += i % 2 == 0 ? kept : line();
    }
    compare(state, from, to);
}

} // namespace

BENCHMARK(BM_EveryOtherLineRewritten)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HalfRedrawnFromFewLines)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
