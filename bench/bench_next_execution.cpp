// The fast next-run search against the literal minute-by-minute scan, in one run:
// the scan with cached transitions (the tests' reference) and the naive scan with QDateTime.
#include "CronExpression.h"
#include "LiteralNextExecution.h"
#include "NextExecutionSearch.h"

#include <benchmark/benchmark.h>

using namespace Tempolane;

namespace {

const char* const expressions[] = {"0 0 30 2 *", "30 8 * * 1-5", "*/15 * * * *"};

const QTimeZone& berlin()
{
    static const QTimeZone zone("Europe/Berlin");
    return zone;
}

// A morning in May now, and one in the years whose offsets Qt works out from the zone's rule.
QDateTime reference(std::int64_t year)
{
    return QDateTime(QDate(int(year), 5, 4), QTime(10, 15, 30), berlin());
}

void fastSearch(benchmark::State& state)
{
    const QString expression = QString::fromLatin1(expressions[state.range(0)]);
    const QDateTime from = reference(state.range(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(CronExpression::nextExecution(expression, from, berlin()));
    state.SetLabel(expressions[state.range(0)]);
}

// The same without parsing the text and building the search: what a caller keeping a
// NextExecutionSearch per job pays.
void fastSearchPrepared(benchmark::State& state)
{
    const auto schedule = CronExpression::parse(QString::fromLatin1(expressions[state.range(0)]));
    const NextExecutionSearch search(*schedule, berlin());
    const std::int64_t from = reference(state.range(1)).toMSecsSinceEpoch();
    for (auto _ : state)
        benchmark::DoNotOptimize(search.next(from));
    state.SetLabel(expressions[state.range(0)]);
}

void literalScan(benchmark::State& state)
{
    const auto schedule = CronExpression::parse(QString::fromLatin1(expressions[state.range(0)]));
    static const Testing::TransitionTable table(berlin());
    const std::int64_t from = reference(state.range(1)).toMSecsSinceEpoch();
    for (auto _ : state)
        benchmark::DoNotOptimize(Testing::literalNextExecution(*schedule, from, table));
    state.SetLabel(expressions[state.range(0)]);
}

void qDateTimeScan(benchmark::State& state)
{
    const auto schedule = CronExpression::parse(QString::fromLatin1(expressions[state.range(0)]));
    const QDateTime from = reference(state.range(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(Testing::qDateTimeNextExecution(*schedule, from, berlin()));
    state.SetLabel(expressions[state.range(0)]);
}

void cases(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgNames({"expression", "year"});
    for (const std::int64_t year : {2026, 2040}) {
        for (std::int64_t index = 0; index < std::int64_t(std::size(expressions)); ++index)
            benchmark->Args({index, year});
    }
}

} // namespace

BENCHMARK(fastSearch)->Apply(cases)->Unit(benchmark::kMicrosecond);
BENCHMARK(fastSearchPrepared)->Apply(cases)->Unit(benchmark::kMicrosecond);
BENCHMARK(literalScan)->Apply(cases)->Unit(benchmark::kMicrosecond);
BENCHMARK(qDateTimeScan)->Apply(cases)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
