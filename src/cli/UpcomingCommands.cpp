// `upcoming`: the next runs of all active jobs in time order, with the result of each job's last
// recorded run, as a table or as one JSON object per run.
#include "CliCommand.h"
#include "CliInput.h"
#include "CronExpression.h"
#include "CronStore.h"
#include "NextExecutionSearch.h"
#include "TextContext.h"

#include <queue>
#include <vector>

TEMPOLANE_TEXT_CONTEXT(Cli)

namespace Tempolane::Cli {

namespace {

constexpr const char* usage = "usage: tempolane-cli upcoming [--hours N] [--json] [--demo]";
constexpr int defaultHours = 24;
// A leap year: enough to plan with, and a bound on what an every-minute job prints.
constexpr int mostHours = 366 * 24;
constexpr std::int64_t day = 86'400'000;
// What a job without a recorded run shows in LAST and RESULT.
const QString none = QStringLiteral("\u2013");

struct Options
{
    int hours = defaultHours;
    bool isJson = false;
    bool isDemo = false;
};

std::optional<Options> parsedOptions(const QStringList& arguments)
{
    Options options;
    for (qsizetype index = 0; index < arguments.size(); ++index) {
        const QString& argument = arguments[index];
        if (argument == u"--json") {
            options.isJson = true;
        } else if (argument == u"--demo") {
            options.isDemo = true;
        } else if (argument == u"--hours" && index + 1 < arguments.size()) {
            bool isNumber = false;
            options.hours = arguments[++index].toInt(&isNumber);
            if (!isNumber || options.hours < 1 || options.hours > mostHours)
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

struct Job
{
    const CronJob* job;
    NextExecutionSearch search;
    std::optional<JobExecutionRecord> last;
};

struct Run
{
    std::int64_t at;
    int job;
};

QString dateTime(std::int64_t at, const QTimeZone& zone)
{
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(at, zone);
    return local.toString(QStringLiteral("yyyy-MM-dd HH:mm ")) + zone.abbreviation(local);
}

// The two largest units, as systemd counts time left: "2d 4h", "3h 12min", "45s".
QString timeLeft(std::int64_t milliseconds)
{
    const std::int64_t seconds = std::max<std::int64_t>(0, milliseconds / 1000);
    const std::pair<std::int64_t, const char*> units[] = {{seconds / 86'400, "d"},
                                                          {seconds / 3600 % 24, "h"},
                                                          {seconds / 60 % 60, "min"},
                                                          {seconds % 60, "s"}};
    QStringList parts;
    for (const auto& [count, unit] : units) {
        if (count > 0 || !parts.isEmpty())
            parts.append(QString::number(count) + QLatin1String(unit));
        if (parts.size() == 2)
            break;
    }
    if (parts.size() == 2 && parts.back().startsWith(u'0'))
        parts.removeLast();
    return parts.isEmpty() ? QStringLiteral("0s") : parts.join(u' ');
}

QString resultOf(const std::optional<JobExecutionRecord>& last)
{
    return last ? rawValue(stateOf(*last).kind()) : QString();
}

// Every run from now up to the end, in time order; runs at the same minute in crontab order.
std::vector<Run> runsUntil(const std::vector<Job>& jobs, std::int64_t now, std::int64_t end)
{
    const auto later = [](const Run& a, const Run& b) {
        return a.at != b.at ? a.at > b.at : a.job > b.job;
    };
    std::priority_queue<Run, std::vector<Run>, decltype(later)> queue(later);
    for (int index = 0; index < int(jobs.size()); ++index) {
        if (const auto first = jobs[index].search.next(now); first && *first < end)
            queue.push({*first, index});
    }
    std::vector<Run> runs;
    while (!queue.empty()) {
        const Run run = queue.top();
        queue.pop();
        runs.push_back(run);
        if (const auto next = jobs[run.job].search.next(run.at); next && *next < end)
            queue.push({*next, run.job});
    }
    return runs;
}

void printTable(const std::vector<Job>& jobs, const std::vector<Run>& runs, std::int64_t now,
                int hours, const QTimeZone& zone, QTextStream& out)
{
    if (runs.empty()) {
        out << tr.plural("one {Keine Ausführung in der nächsten Stunde.} "
                          "other {Keine Ausführung in den nächsten # Stunden.}",
                          hours)
            << Qt::endl;
        return;
    }
    qsizetype nextWidth = 4;
    qsizetype leftWidth = 4;
    qsizetype lastWidth = 4;
    for (const Run& run : runs) {
        nextWidth = std::max(nextWidth, dateTime(run.at, zone).size());
        leftWidth = std::max(leftWidth, timeLeft(run.at - now).size());
    }
    for (const Job& job : jobs) {
        if (job.last)
            lastWidth =
                std::max(lastWidth, dateTime(job.last->startedAt.toMSecsSinceEpoch(), zone).size());
    }
    constexpr qsizetype resultWidth = 11; // "interrupted"
    const auto row = [&](const QString& next, const QString& left, const QString& last,
                         const QString& result, const QString& name) {
        out << next.leftJustified(nextWidth) << "  " << left.leftJustified(leftWidth) << "  "
            << last.leftJustified(lastWidth) << "  " << result.leftJustified(resultWidth) << "  "
            << name << u'\n';
    };
    row(QStringLiteral("NEXT"), QStringLiteral("LEFT"), QStringLiteral("LAST"),
        QStringLiteral("RESULT"), QStringLiteral("JOB"));
    for (const Run& run : runs) {
        const Job& job = jobs[std::size_t(run.job)];
        const QString result = resultOf(job.last);
        row(dateTime(run.at, zone), timeLeft(run.at - now),
            job.last ? dateTime(job.last->startedAt.toMSecsSinceEpoch(), zone) : none,
            result.isEmpty() ? none : result, printable(CronStore::shownName(*job.job)));
    }
    out.flush();
}

void printJson(const std::vector<Job>& jobs, const std::vector<Run>& runs, QTextStream& out)
{
    for (const Run& run : runs) {
        const Job& job = jobs[std::size_t(run.job)];
        const QString result = resultOf(job.last);
        out << "{\"job\":" << jsonString(job.job->id.toString(QUuid::WithoutBraces))
            << ",\"name\":" << jsonString(CronStore::shownName(*job.job))
            << ",\"next\":" << run.at / 1000 << ",\"last\":"
            << (job.last ? QString::number(job.last->startedAt.toSecsSinceEpoch())
                         : QStringLiteral("null"))
            << ",\"result\":" << (result.isEmpty() ? QStringLiteral("null") : jsonString(result))
            << "}\n";
    }
    out.flush();
}

} // namespace

void printUpcoming(CronStore& store, const QDateTime& now, const QTimeZone& zone, int hours,
                   bool isJson, QTextStream& out)
{
    const std::int64_t start = now.toMSecsSinceEpoch();
    const std::int64_t end = start + std::int64_t{hours} * 3'600'000;
    // The zone's changes over the range worked out once for every job.
    const ZoneOffsets offsets(zone, start - day, end + 740 * day);
    std::vector<Job> jobs;
    for (const CronJob& job : store.jobs()) {
        const QString expression = job.scheduleExpression.trimmed();
        const auto schedule = job.isEnabled && CronExpression::expandedShortcut(expression)
                                  ? CronExpression::parse(expression)
                                  : std::nullopt;
        if (!schedule)
            continue;
        const JobExecutionSummary summary = store.executionSummary(job);
        jobs.push_back({&job, NextExecutionSearch(*schedule, offsets),
                        job.isMonitoringEnabled ? summary.latestRecord : std::nullopt});
    }
    const std::vector<Run> runs = runsUntil(jobs, start, end);
    if (isJson)
        printJson(jobs, runs, out);
    else
        printTable(jobs, runs, start, hours, zone, out);
}

int upcoming(const QStringList& arguments, Streams streams)
{
    const auto options = parsedOptions(arguments);
    if (!options) {
        streams.err << usage << Qt::endl;
        return usageError;
    }
    return withLoadedStore(streams, options->isDemo, [&](CronStore& store) {
        printUpcoming(store, QDateTime::currentDateTimeUtc(), QTimeZone::systemTimeZone(),
                      options->hours, options->isJson, streams.out);
        return int(success);
    });
}

} // namespace Tempolane::Cli
