#include "CanonicalUuid.h"
#include "CliCommand.h"
#include "CliInput.h"
#include "CronBackupStore.h"
#include "CronDocument.h"
#include "CronExpression.h"
#include "CronRepository.h"
#include "CronSystemClient.h"
#include "DataLocations.h"
#include "DemoCronClient.h"
#include "NextRunText.h"

#include <QCoreApplication>
#include <QCoro/QCoroTask>

namespace Tempolane::Cli {

namespace {

QString nodeJson(const CronDocument::Node& node)
{
    const CronJob* job = node.job();
    if (!job)
        return QStringLiteral("{\"kind\":\"passthrough\",\"text\":") +
               jsonString(*node.passthroughText()) + u'}';
    const auto boolean = [](bool value) {
        return value ? QStringLiteral("true") : QStringLiteral("false");
    };
    return QStringLiteral("{\"kind\":\"job\",\"id\":%1,\"name\":%2,\"schedule\":%3,"
                          "\"command\":%4,\"enabled\":%5,\"monitored\":%6,\"policy\":%7}")
        .arg(jsonString(canonicalText(job->id)), jsonString(job->name),
             jsonString(job->scheduleExpression), jsonString(job->command), boolean(job->isEnabled),
             boolean(job->isMonitoringEnabled), jsonString(rawValue(job->logPolicy)));
}

// The first line (1-based) where the two texts differ, with both versions of it.
QString firstDifference(const QString& expected, const QString& actual)
{
    const QStringList expectedLines = expected.split(u'\n');
    const QStringList actualLines = actual.split(u'\n');
    for (qsizetype i = 0;; ++i) {
        const QString left = i < expectedLines.size() ? expectedLines[i] : QString();
        const QString right = i < actualLines.size() ? actualLines[i] : QString();
        if (left != right || i >= expectedLines.size() || i >= actualLines.size())
            return QStringLiteral("line %1 differs:\n< %2\n> %3").arg(i + 1).arg(left, right);
    }
}

} // namespace

int parse(const QStringList& arguments, Streams streams)
{
    if (arguments.size() > 1) {
        streams.err << "usage: tempolane-cli parse [FILE]" << Qt::endl;
        return usageError;
    }
    const auto text = readText(arguments.value(0));
    if (!text) {
        streams.err << text.error() << Qt::endl;
        return failure;
    }
    const QString runner = DataLocations::forCurrentUser().runner;
    const CronDocument document = CronDocument::parse(*text, runner);
    for (const auto& node : document.nodes)
        streams.out << nodeJson(node) << u'\n';

    const QString written = document.serializedText(runner);
    if (written != *text) {
        streams.err << firstDifference(*text, written) << Qt::endl;
        return roundTripMismatch;
    }
    return success;
}

int list(const QStringList& arguments, Streams streams)
{
    const bool isDemo = arguments == QStringList(QStringLiteral("--demo"));
    if (!arguments.isEmpty() && !isDemo) {
        streams.err << "usage: tempolane-cli list [--demo]" << Qt::endl;
        return usageError;
    }
    std::unique_ptr<CronManaging> client;
    if (isDemo)
        client = std::make_unique<DemoCronClient>();
    else
        client = std::make_unique<CronSystemClient>();
    const DataLocations locations = DataLocations::forCurrentUser();
    CronRepository repository(std::move(client),
                              std::make_unique<CronBackupStore>(locations.backups));

    const auto text = QCoro::waitFor(repository.load());
    if (!text) {
        streams.err << text.error().description() << Qt::endl;
        return failure;
    }
    const QTimeZone zone = QTimeZone::systemTimeZone();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const CronJob& job : CronDocument::parse(*text, locations.runner).jobs()) {
        const QString state = job.isEnabled ? QCoreApplication::translate("Cli", "aktiv")
                                            : QCoreApplication::translate("Cli", "pausiert");
        // A paused job has no next run: cron only sees it as a comment.
        const auto next = job.isEnabled
                              ? CronExpression::nextExecution(job.scheduleExpression, now, zone)
                              : std::nullopt;
        streams.out << state << u'\t' << printable(job.name) << u'\t' << job.scheduleExpression
                    << u'\t' << printable(job.command) << u'\t'
                    << CronExpression::description(job.scheduleExpression) << u'\t'
                    << nextRunText(next, zone) << u'\t' << canonicalText(job.id) << u'\n';
    }
    return success;
}

} // namespace Tempolane::Cli
