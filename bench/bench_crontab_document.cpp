// Reading and writing a large crontab: a realistic mix of comments, assignments, blank
// lines, plain, paused and monitored jobs (a third of the jobs monitored). And reading one
// whose id markers were crafted to collide in a hash, against one with random ids.
#include "CronDocument.h"
#include "ShellQuoting.h"

#include <QElapsedTimer>
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

// One job per id, each under its id marker.
QString crontabWithIds(const QStringList& ids)
{
    QString text;
    for (const QString& id : ids)
        text += QStringLiteral("# Tempolane id: %1\n0 * * * * /bin/true\n").arg(id);
    return text;
}

// qHash(QUuid) xors the id's words, so ids whose first two words are equal all hash alike.
QStringList collidingIds(int count)
{
    QStringList ids;
    for (int i = 0; i < count; ++i)
        ids.append(QStringLiteral("%1-%2-4abc-8def-0123456789ab")
                       .arg(i, 8, 16, QLatin1Char('0'))
                       .arg(i, 4, 16, QLatin1Char('0')));
    return ids;
}

QStringList randomIds(int count)
{
    QRandomGenerator random(42);
    QStringList ids;
    for (int i = 0; i < count; ++i) {
        quint32 words[4];
        random.fillRange(words);
        ids.append(QUuid::fromRfc4122(QByteArrayView(reinterpret_cast<const char*>(words), 16))
                       .toString(QUuid::WithoutBraces));
    }
    return ids;
}

double secondsToParse(const QString& text)
{
    QElapsedTimer clock;
    clock.start();
    benchmark::DoNotOptimize(CronDocument::parse(text, runner).nodes.size());
    return double(clock.nsecsElapsed()) / 1e9;
}

// Both texts in every iteration, so the ratio compares figures of the same moment.
void parseCraftedAgainstRandomIds(benchmark::State& state)
{
    const int jobs = int(state.range(0));
    const QString crafted = crontabWithIds(collidingIds(jobs));
    const QString random = crontabWithIds(randomIds(jobs));
    double craftedSeconds = 0;
    double randomSeconds = 0;
    for (auto _ : state) {
        craftedSeconds += secondsToParse(crafted);
        randomSeconds += secondsToParse(random);
    }
    if (CronDocument::parse(crafted, runner).jobs().size() != jobs)
        state.SkipWithError("crafted ids did not all read as jobs");
    const auto iterations = double(state.iterations());
    state.counters["crafted_ms"] = craftedSeconds * 1000 / iterations;
    state.counters["random_ms"] = randomSeconds * 1000 / iterations;
    state.counters["crafted/random"] = craftedSeconds / randomSeconds;
}

} // namespace

BENCHMARK(parseAndSerialize)->Unit(benchmark::kMillisecond);
BENCHMARK(parseCraftedAgainstRandomIds)->Arg(60'000)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
