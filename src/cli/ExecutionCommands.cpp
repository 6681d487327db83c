#include "CanonicalUuid.h"
#include "CliCommand.h"
#include "CliInput.h"
#include "DataLocations.h"
#include "ExecutionService.h"

#include <qcoro/qcorotask.h>

namespace Tempolane::Cli {

int runs(const QStringList& arguments, Streams streams)
{
    const auto id = arguments.size() == 1 ? parseCanonicalUuid(arguments.front()) : std::nullopt;
    if (!id) {
        streams.err << "usage: tempolane-cli runs JOB-ID" << Qt::endl;
        return usageError;
    }
    const DataLocations locations = DataLocations::forCurrentUser();
    ExecutionService service(locations.executions, locations.runner);
    const QList<JobExecutionRecord> records = QCoro::waitFor(service.allRecords(*id));
    for (const JobExecutionRecord& record : records) {
        streams.out << title(stateOf(record)) << u'\t' << localTime(record.startedAt) << u'\t'
                    << localTime(record.endedAt) << u'\t'
                    << (record.exitCode ? QString::number(*record.exitCode) : QStringLiteral("-"))
                    << u'\t' << printable(record.output.value_or(QString())) << u'\n';
    }
    streams.out.flush();
    return success;
}

int installRunner(const QStringList& arguments, Streams streams)
{
    if (!arguments.isEmpty()) {
        streams.err << "usage: tempolane-cli install-runner" << Qt::endl;
        return usageError;
    }
    const DataLocations locations = DataLocations::forCurrentUser();
    ExecutionService service(locations.executions, locations.runner);
    const auto installed = QCoro::waitFor(service.installRunner());
    if (!installed) {
        streams.err << installed.error().description() << Qt::endl;
        return failure;
    }
    streams.out << service.runnerPath() << Qt::endl;
    return success;
}

} // namespace Tempolane::Cli
