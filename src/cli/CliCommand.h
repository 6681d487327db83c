#pragma once

#include <QStringList>
#include <QTextStream>

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

// What `status` prints of a loaded store: per job its name, the filters it passes, its
// execution state and its upcoming run.
void printStatus(CronStore& store, QTextStream& out);

} // namespace Tempolane::Cli
