// pause, resume, delete and run: each finds its job in the loaded store and calls the store
// operation the window calls, so the crontab is written only through the store's commit.
#include "CanonicalUuid.h"
#include "CliCommand.h"
#include "CliInput.h"
#include "CronStore.h"
#include "ShellQuoting.h"
#include "TextContext.h"

#include <QCoreApplication>
#include <QCoro/QCoroTask>
#include <unistd.h>

TEMPOLANE_TEXT_CONTEXT(Cli)

namespace Tempolane::Cli {

namespace {

struct JobMatch
{
    std::optional<CronJob> job;
    // Without a job: the jobs the argument could mean, or every job when it means none.
    QList<CronJob> candidates;
    bool isAmbiguous = false;
};

// By id first, then by shown name in any letter case.
JobMatch findJob(const QList<CronJob>& jobs, const QString& argument)
{
    if (const auto id = parseCanonicalUuid(argument)) {
        for (const CronJob& job : jobs) {
            if (job.id == *id)
                return {job, {}, false};
        }
    }
    const QString wanted = argument.toCaseFolded();
    QList<CronJob> named;
    for (const CronJob& job : jobs) {
        if (CronStore::shownName(job).toCaseFolded() == wanted)
            named.append(job);
    }
    if (named.size() == 1)
        return {named.front(), {}, false};
    if (!named.isEmpty())
        return {std::nullopt, named, true};
    return {std::nullopt, jobs, false};
}

// The line of the crontab, counted from 1, that holds each job's schedule and command: the line
// a person finds the job by in an editor.
QHash<QUuid, qsizetype> jobLines(const CronStore& store)
{
    const QString quotedRunner = quotedPath(store.runnerPath());
    QHash<QUuid, qsizetype> lines;
    qsizetype line = 0;
    for (const CronDocument::Node& node : store.document().nodes) {
        if (const CronJob* job = node.job()) {
            line += job->serializedLines(quotedRunner).size();
            lines.insert(job->id, line);
        } else {
            ++line;
        }
    }
    return lines;
}

// Each job by its id, its line, its name, its schedule and its command, so that jobs that look
// alike can be told apart.
int printCandidates(const CronStore& store, const QString& argument,
                    const QList<CronJob>& candidates, bool isAmbiguous, QTextStream& err)
{
    if (isAmbiguous)
        err << tr("„%1“ passt auf mehrere Cronjobs; bitte die Id angeben:")
                   .arg(printable(argument));
    else if (candidates.isEmpty())
        err << tr("Kein Cronjob „%1“; die crontab hat keine Cronjobs.").arg(printable(argument));
    else
        err << tr("Kein Cronjob „%1“. Vorhanden sind:").arg(printable(argument));
    err << u'\n';
    const QHash<QUuid, qsizetype> lines = jobLines(store);
    for (const CronJob& job : candidates)
        err << "  " << canonicalText(job.id) << u'\t' << tr("Zeile %1").arg(lines.value(job.id))
            << u'\t' << printable(CronStore::shownName(job)) << u'\t'
            << printable(job.scheduleExpression) << u'\t' << printable(job.command) << u'\n';
    err.flush();
    return usageError;
}

bool confirmsDeletion(const CronJob& job, Streams streams, const Terminal& terminal)
{
    streams.err << tr("„%1“ wird aus der crontab entfernt. Vorher wird automatisch ein Backup "
                      "angelegt. Löschen? [j/N] ")
                       .arg(printable(CronStore::shownName(job)))
                << Qt::flush;
    const QString answer = terminal.input->readLine().trimmed().toCaseFolded();
    return answer == u"j" || answer == u"ja" || answer == u"y" || answer == u"yes";
}

int runNow(CronStore& store, const CronJob& job, Streams streams)
{
    if (!job.isMonitoringEnabled) {
        streams.err << tr("Cronjob konnte nicht erfolgreich ausgeführt werden") << u'\n'
                    << tr("„%1“ hat keinen Ausführungsstatus; nur überwachte Cronjobs lassen "
                          "sich von Tempolane ausführen.")
                           .arg(printable(CronStore::shownName(job)))
                    << Qt::endl;
        return failure;
    }
    QCoro::waitFor(store.runJobNow(job));
    const JobExecutionSummary summary = store.executionSummary(job);
    const QString exitCode = summary.latestRecord && summary.latestRecord->exitCode
                                 ? QString::number(*summary.latestRecord->exitCode)
                                 : QStringLiteral("-");
    streams.out << title(summary.state) << u'\t' << exitCode << Qt::endl;
    return store.presentedError() ? printedFailure(store, streams.err) : int(success);
}

// What a finished change prints: the store's error, or what was done.
int reported(const CronStore& store, const QString& done, Streams streams)
{
    if (store.presentedError())
        return printedFailure(store, streams.err);
    streams.out << done << Qt::endl;
    return success;
}

} // namespace

Terminal Terminal::ofThisProcess(QTextStream& input)
{
    const bool takesColours = qEnvironmentVariableIsEmpty("NO_COLOR") &&
                              qEnvironmentVariable("TERM") != QStringLiteral("dumb");
    return {::isatty(STDIN_FILENO) == 1 && ::isatty(STDERR_FILENO) == 1,
            ::isatty(STDOUT_FILENO) == 1 && takesColours, &input};
}

int changeJob(CronStore& store, JobAction action, const QString& argument, bool isConfirmed,
              Streams streams, const Terminal& terminal)
{
    const JobMatch match = findJob(store.jobs(), argument);
    if (!match.job)
        return printCandidates(store, argument, match.candidates, match.isAmbiguous, streams.err);
    const CronJob& job = *match.job;
    const QString name = printable(CronStore::shownName(job));
    switch (action) {
    case JobAction::pause:
    case JobAction::resume: {
        const bool isEnabled = action == JobAction::resume;
        // Writing the same text again would only push an older backup out.
        if (job.isEnabled == isEnabled) {
            streams.out << (isEnabled ? tr("„%1“ ist bereits aktiv.")
                                      : tr("„%1“ ist bereits pausiert."))
                               .arg(name)
                        << Qt::endl;
            return success;
        }
        QCoro::waitFor(store.setEnabled(isEnabled, job));
        return reported(
            store, (isEnabled ? tr("„%1“ fortgesetzt.") : tr("„%1“ pausiert.")).arg(name), streams);
    }
    case JobAction::remove:
        if (!isConfirmed && !terminal.canAsk) {
            streams.err << tr("delete fragt vor dem Löschen nach; ohne Terminal bitte --yes "
                              "angeben.")
                        << Qt::endl;
            return usageError;
        }
        if (!isConfirmed && !confirmsDeletion(job, streams, terminal)) {
            streams.err << tr("Nichts gelöscht.") << Qt::endl;
            return failure;
        }
        QCoro::waitFor(store.deleteJob(job));
        return reported(store, tr("„%1“ gelöscht.").arg(name), streams);
    case JobAction::run:
        return runNow(store, job, streams);
    }
    Q_UNREACHABLE();
}

namespace {

int onJob(JobAction action, const char* usage, const QStringList& arguments, Streams streams)
{
    QStringList rest = arguments;
    const bool isConfirmed =
        action == JobAction::remove && rest.removeAll(QStringLiteral("--yes")) > 0;
    return withLoadedStoreOn(
        usage, rest, streams, [&](CronStore& store, const QString& job, const Terminal& terminal) {
            return changeJob(store, action, job, isConfirmed, streams, terminal);
        });
}

} // namespace

int pause(const QStringList& arguments, Streams streams)
{
    return onJob(JobAction::pause, "usage: tempolane-cli pause JOB", arguments, streams);
}

int resume(const QStringList& arguments, Streams streams)
{
    return onJob(JobAction::resume, "usage: tempolane-cli resume JOB", arguments, streams);
}

int remove(const QStringList& arguments, Streams streams)
{
    return onJob(JobAction::remove, "usage: tempolane-cli delete JOB [--yes]", arguments, streams);
}

int run(const QStringList& arguments, Streams streams)
{
    return onJob(JobAction::run, "usage: tempolane-cli run JOB", arguments, streams);
}

} // namespace Tempolane::Cli
