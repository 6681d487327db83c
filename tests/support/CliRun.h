#pragma once

#include <QProcess>
#include <QStringList>

namespace Tempolane::Testing {

struct CliRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the built tempolane-cli as a user in a terminal would, with the given standard input.
inline CliRun runCli(const QStringList& arguments, const QByteArray& input = {})
{
    QProcess cli;
    cli.start(QStringLiteral(TEMPOLANE_CLI), arguments);
    if (!cli.waitForStarted())
        return {-1, {}, cli.errorString().toUtf8()};
    cli.write(input);
    cli.closeWriteChannel();
    if (!cli.waitForFinished(30'000))
        return {-1, {}, QByteArrayLiteral("timed out")};
    return {cli.exitCode(), cli.readAllStandardOutput(), cli.readAllStandardError()};
}

} // namespace Tempolane::Testing
