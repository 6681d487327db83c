#include "CanonicalUuid.h"
#include "CliCommand.h"
#include "CliInput.h"
#include "NextRunText.h"
#include "TempolaneApp.h"

#include <QCoro/QCoroTask>

namespace Tempolane::Cli {

void printStatus(CronStore& store, QTextStream& out)
{
    const QTimeZone zone = QTimeZone::systemTimeZone();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const CronJob& job : store.jobs()) {
        QStringList filters;
        for (const JobFilter filter : allJobFilters) {
            if (store.passesFilter(job, filter))
                filters.append(rawValue(filter));
        }
        out << printable(CronStore::shownName(job)) << u'\t' << filters.join(u' ') << u'\t'
            << title(store.executionSummary(job).state) << u'\t'
            << nextRunText(store.upcomingExecution(job, now), zone) << u'\t'
            << canonicalText(job.id) << u'\n';
    }
}

int withLoadedStore(Streams streams, bool isDemo, const std::function<int(CronStore&)>& command)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (isDemo)
        environment.insert(QStringLiteral("TEMPOLANE_DEMO"), QStringLiteral("1"));
    TempolaneApp app(environment);
    CronStore& store = app.store();
    QCoro::waitFor(store.load());
    if (store.presentedError())
        return printedFailure(store, streams.err);
    return command(store);
}

int withLoadedStoreOn(
    const char* usage, const QStringList& arguments, Streams streams,
    const std::function<int(CronStore&, const QString&, const Terminal&)>& command)
{
    if (arguments.size() != 1 || arguments.front().startsWith(u"--")) {
        streams.err << usage << Qt::endl;
        return usageError;
    }
    QTextStream input(stdin);
    return withLoadedStore(streams, false, [&](CronStore& store) {
        return command(store, arguments.front(), Terminal::ofThisProcess(input));
    });
}

int printedFailure(const CronStore& store, QTextStream& err)
{
    if (const auto error = store.presentedError())
        err << error->title << u'\n' << error->message << Qt::endl;
    return failure;
}

int status(const QStringList& arguments, Streams streams)
{
    const bool isDemo = arguments == QStringList(QStringLiteral("--demo"));
    if (!arguments.isEmpty() && !isDemo) {
        streams.err << "usage: tempolane-cli status [--demo]" << Qt::endl;
        return usageError;
    }
    return withLoadedStore(streams, isDemo, [&](CronStore& store) {
        printStatus(store, streams.out);
        return int(success);
    });
}

} // namespace Tempolane::Cli
