// Reading and writing a large crontab: a realistic mix of comments, assignments, blank
// lines, plain, paused and monitored jobs (a third of the jobs monitored).
#include "CronDocument.h"
#include "ShellQuoting.h"

#include <QRandomGenerator>
#include <benchmark/benchmark.h>

using namespace Tempolane;

namespace {

const QString runner = QStringLiteral("/home/ann/.local/share/Tempolane/Runner/tempolane-runner");

QString largeCrontab(int lineCount)
{
    QRandomGenerator random(42);
    const QStringList schedules{QStringLiteral("*/5 * * * *"), QStringLiteral("30 8 * * 1-5"),
                                QStringLiteral("0 2 * * 0"), QStringLiteral("@daily"),
                                QStringLiteral("15 */2 1,15 * *")};
    QStringList lines{QStringLiteral("SHELL=/bin/bash"), QStringLiteral("MAILTO=ops@example.org")};
    int jobIndex = 0;
    while (lines.size() < lineCount) {
        switch (random.bounded(6)) {
        case 0:
            lines.append(QStringLiteral("# nightly maintenance for host %1").arg(lines.size()));
            break;
        case 1:
            lines.append(QString());
            break;
        default: {
            CronJob job;
            job.id = QUuid::createUuid();
            job.name = QStringLiteral("Aufgabe %1").arg(jobIndex);
            job.scheduleExpression = schedules[jobIndex % schedules.size()];
            job.command =
                QStringLiteral("/home/ann/bin/task-%1.sh --verbose >> /tmp/log 2>&1").arg(jobIndex);
            job.isEnabled = jobIndex % 7 != 0;
            job.isMonitoringEnabled = jobIndex % 3 == 0;
            lines.append(job.serializedLines(quotedPath(runner)));
            ++jobIndex;
        }
        }
    }
    return lines.mid(0, lineCount).join(u'\n') + u'\n';
}

void parseAndSerialize(benchmark::State& state)
{
    const QString text = largeCrontab(10'000);
    for (auto _ : state) {
        const CronDocument document = CronDocument::parse(text, runner);
        benchmark::DoNotOptimize(document.serializedText(runner).size());
    }
    if (CronDocument::parse(text, runner).serializedText(runner) != text)
        state.SkipWithError("round trip changed the text");
    state.counters["lines"] = 10'000;
    state.counters["jobs"] = double(CronDocument::parse(text, runner).jobs().size());
}

} // namespace

BENCHMARK(parseAndSerialize)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
