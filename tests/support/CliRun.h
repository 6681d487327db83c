#pragma once

#include <QProcess>
#include <QStringList>

namespace Tempolane::Testing {

struct CliRun
{
    int exitCode = -1; // -1 also where it crashed
    QByteArray out;
    QByteArray err;
};

// Runs a built program, the terminal companion unless told otherwise, as a user in a terminal
// would: with the given standard input and environment.
inline CliRun
runCli(const QStringList& arguments, const QByteArray& input = {},
       const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
       const QString& program = QStringLiteral(TEMPOLANE_CLI))
{
    QProcess cli;
    cli.setProcessEnvironment(environment);
    cli.start(program, arguments);
    if (!cli.waitForStarted())
        return {-1, {}, cli.errorString().toUtf8()};
    cli.write(input);
    cli.closeWriteChannel();
    if (!cli.waitForFinished(60'000))
        return {-1, {}, QByteArrayLiteral("timed out")};
    return {cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1,
            cli.readAllStandardOutput(), cli.readAllStandardError()};
}

} // namespace Tempolane::Testing
