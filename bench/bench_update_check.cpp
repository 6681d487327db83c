// An update check against a feed server on this computer, from the request to the outcome:
// feeds that declare one 4,000-character entity and refer to it 190,000 times (950 KB, under
// the size limit) or 40,000 times (200 KB), beside an ordinary feed of the same 950 KB with
// 6,150 releases. A zero-interval timer ticks whenever the main thread returns to its event
// loop; the longest gap between ticks is the longest stretch the window would have been frozen.
// Memory is the peak resident set above the resident set just before the check.
#include "FeedServer.h"
#include "HostileFeeds.h"
#include "MainThreadStretch.h"
#include "ProcessFigures.h"
#include "UpdateController.h"

#include <QEventLoop>
#include <benchmark/benchmark.h>

using namespace Tempolane;
using namespace Tempolane::Bench;
using namespace Tempolane::Testing;

namespace {

QByteArray ordinaryFeed(int releases)
{
    QByteArray items;
    for (int i = 0; i < releases; ++i)
        items += "<item><link>https://example.org/r/" + QByteArray::number(i) +
                 "</link><sparkle:version>" + QByteArray::number(i) +
                 "</sparkle:version><sparkle:shortVersionString>1." + QByteArray::number(i) +
                 "</sparkle:shortVersionString></item>\n";
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<rss version=\"2.0\" "
           "xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\"><channel>" +
           items + "</channel></rss>";
}

void checkAgainst(benchmark::State& state, const QByteArray& feed)
{
    FeedServer server;
    server.route(QStringLiteral("/appcast.xml"), {200, feed});
    double longestStretchMs = 0;
    double worstTotalMs = 0;
    double peakGrowthMiB = 0;

    for (auto _ : state) {
        UpdateController controller(server.url(QStringLiteral("/appcast.xml")),
                                    AppVersion{QStringLiteral("1.0"), QStringLiteral("1")});
        QEventLoop loop;
        bool hasFinished = false;
        QObject::connect(&controller, &UpdateController::checkFinished, &loop, [&] {
            hasFinished = true;
            loop.quit();
        });
        const qint64 baseline = statusKiB("VmRSS");
        if (!resetPeakResidentSet())
            state.SkipWithError("the peak resident set cannot be reset");
        MainThreadStretch stretch;
        controller.checkForUpdates();
        if (!hasFinished)
            loop.exec();
        const auto [longest, end] = stretch.stop();
        peakGrowthMiB = std::max(peakGrowthMiB, double(statusKiB("VmHWM") - baseline) / 1024);
        longestStretchMs = std::max(longestStretchMs, double(longest) / 1e6);
        worstTotalMs = std::max(worstTotalMs, double(end) / 1e6);
    }
    state.counters["feed_kB"] = double(feed.size()) / 1000;
    state.counters["longest_stretch_ms"] = longestStretchMs;
    state.counters["worst_total_ms"] = worstTotalMs;
    state.counters["peak_growth_MiB"] = peakGrowthMiB;
}

void entityExpansion950KB(benchmark::State& state)
{
    checkAgainst(state, entityExpansionFeed(4000, 190'000));
}

void entityExpansion200KB(benchmark::State& state)
{
    checkAgainst(state, entityExpansionFeed(4000, 40'000));
}

void ordinaryFeed950KB(benchmark::State& state)
{
    checkAgainst(state, ordinaryFeed(6'150));
}

} // namespace

BENCHMARK(entityExpansion950KB)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(entityExpansion200KB)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(ordinaryFeed950KB)->Unit(benchmark::kMillisecond)->Iterations(10);
