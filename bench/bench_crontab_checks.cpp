// Checking a crontab of 10,000 lines on this machine's real files: comments, assignments and
// jobs naming a few dozen programs (some installed, some not) and scripts (none there). The
// floor is reading the same text into a document, which every check does first; both are timed
// in each iteration, as CPU time of this thread.
#include "CronDocument.h"
#include "CrontabChecker.h"
#include "LocalMachine.h"

#include <QRandomGenerator>
#include <benchmark/benchmark.h>
#include <ctime>

using namespace Tempolane;

namespace {

const QString runner = QStringLiteral("/home/ann/.local/share/Tempolane/Runner/tempolane-runner");

QString largeCrontab(int lineCount)
{
    QRandomGenerator random(7);
    const QStringList schedules{QStringLiteral("*/5 * * * *"),     QStringLiteral("30 8 * * 1-5"),
                                QStringLiteral("0 2 * * 0"),       QStringLiteral("@daily"),
                                QStringLiteral("15 */2 1,15 * *"), QStringLiteral("0 0 13 * 5")};
    const QStringList programs{QStringLiteral("/usr/bin/env"),
                               QStringLiteral("date"),
                               QStringLiteral("php"),
                               QStringLiteral("python3"),
                               QStringLiteral("rsync"),
                               QStringLiteral("curl"),
                               QStringLiteral("notify-send"),
                               QStringLiteral("sh"),
                               QStringLiteral("backup-all"),
                               QStringLiteral("~/bin/report.sh"),
                               QStringLiteral("/opt/tools/sync.sh")};
    QStringList lines{QStringLiteral("SHELL=/bin/sh"), QStringLiteral("MAILTO=ops@example.org")};
    while (lines.size() < lineCount) {
        const int line = int(lines.size());
        switch (random.bounded(8)) {
        case 0:
            lines.append(QStringLiteral("# nightly maintenance for host %1").arg(line));
            break;
        case 1:
            lines.append(QStringLiteral("PATH=/usr/local/bin:/usr/bin:/bin"));
            break;
        default:
            lines.append(
                QStringLiteral("%1 %2 --job %3 --date +%Y-%m >> /tmp/log-%3 2>&1")
                    .arg(schedules[line % schedules.size()], programs[line % programs.size()])
                    .arg(line));
        }
    }
    return lines.join(u'\n') + u'\n';
}

double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

void checkLargeCrontab(benchmark::State& state)
{
    const QString text = largeCrontab(10'000);
    const CrontabChecker checker(LocalMachine::current(QString()));
    double checkSeconds = 0;
    double parseSeconds = 0;
    qsizetype findings = 0;
    for (auto _ : state) {
        const double start = threadSeconds();
        findings = checker.check(text, CrontabSource::installed, runner).size();
        const double checked = threadSeconds();
        benchmark::DoNotOptimize(CronDocument::parse(text, runner).nodes.size());
        parseSeconds += threadSeconds() - checked;
        checkSeconds += checked - start;
    }
    const auto iterations = double(state.iterations());
    state.counters["check_cpu_ms"] = checkSeconds * 1000 / iterations;
    state.counters["parse_cpu_ms"] = parseSeconds * 1000 / iterations;
    state.counters["check/parse"] = checkSeconds / parseSeconds;
    state.counters["findings"] = double(findings);
}

} // namespace

BENCHMARK(checkLargeCrontab)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
