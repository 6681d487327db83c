#pragma once

#include <QDateTime>
#include <QStringList>
#include <QTextStream>
#include <QTimeZone>
#include <functional>

namespace Tempolane {
class CronStore;
}

namespace Tempolane::Cli {

enum ExitCode
{
    success = 0,
    failure = 1,
    usageError = 2,
    roundTripMismatch = 3
};

struct Streams
{
    QTextStream& out;
    QTextStream& err;
};

using Command = int (*)(const QStringList& arguments, Streams streams);

// What a command may do with the terminal it runs in.
struct Terminal
{
    // Standard input and error are a terminal: a question can be asked and answered.
    bool canAsk = false;
    // Standard output is a terminal that takes colours.
    bool showsColours = false;
    // Where answers are read from.
    QTextStream* input = nullptr;

    // The process's own terminal, answers read from `input`.
    static Terminal ofThisProcess(QTextStream& input);
};

// The subcommands, each in the file of its area.
int validate(const QStringList& arguments, Streams streams);
int parse(const QStringList& arguments, Streams streams);
int list(const QStringList& arguments, Streams streams);
int runs(const QStringList& arguments, Streams streams);
int installRunner(const QStringList& arguments, Streams streams);
int next(const QStringList& arguments, Streams streams);
int describe(const QStringList& arguments, Streams streams);
int visual(const QStringList& arguments, Streams streams);
int status(const QStringList& arguments, Streams streams);
int backups(const QStringList& arguments, Streams streams);
int diff(const QStringList& arguments, Streams streams);
int restore(const QStringList& arguments, Streams streams);
int pause(const QStringList& arguments, Streams streams);
int resume(const QStringList& arguments, Streams streams);
int remove(const QStringList& arguments, Streams streams);
int run(const QStringList& arguments, Streams streams);
// on|off|status of the notifications of failed runs: the watcher's autostart entry.
int notifications(const QStringList& arguments, Streams streams);
// The next runs of all active jobs up to some hours ahead, with each job's last recorded run.
int upcoming(const QStringList& arguments, Streams streams);
// Why lines of the crontab (or of FILE) will not do what they say: exit 2 with errors, 1 with
// warnings alone, 3 on unusable input and 4 on bad arguments.
int check(const QStringList& arguments, Streams streams);

// Runs the command on the store of the user's crontab (the sample data with TEMPOLANE_DEMO=1
// or `isDemo`), loaded first; a failed load prints the store's error and gives failure.
int withLoadedStore(Streams streams, bool isDemo, const std::function<int(CronStore&)>& command);
// The same for a command on one named thing (a job, a backup), which may ask on the terminal:
// anything but exactly one argument that is not an option prints `usage` and gives usageError.
int withLoadedStoreOn(
    const char* usage, const QStringList& arguments, Streams streams,
    const std::function<int(CronStore&, const QString&, const Terminal&)>& command);
// Prints the error the store presents, title and message, and gives failure.
int printedFailure(const CronStore& store, QTextStream& err);

// The commands that change the crontab, on a loaded store. JOB is a job's id or its shown
// name in any letter case; an unknown or ambiguous one gives usageError and the candidates.
enum class JobAction
{
    pause,
    resume,
    remove,
    run
};
int changeJob(CronStore& store, JobAction action, const QString& job, bool isConfirmed,
              Streams streams, const Terminal& terminal);
// BACKUP is a backup's number in the listing (from 1) or its file name.
int listBackups(CronStore& store, Streams streams);
int showBackupDiff(CronStore& store, const QString& backup, Streams streams,
                   const Terminal& terminal);
int restoreBackup(CronStore& store, const QString& backup, Streams streams,
                  const Terminal& terminal);

// What `upcoming` prints of a loaded store: a table, or one JSON object per run.
void printUpcoming(CronStore& store, const QDateTime& now, const QTimeZone& zone, int hours,
                   bool isJson, QTextStream& out);

// What `status` prints of a loaded store: per job its name, the filters it passes, its
// execution state and its upcoming run.
void printStatus(CronStore& store, QTextStream& out);

} // namespace Tempolane::Cli
