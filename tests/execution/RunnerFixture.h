#pragma once

#include "RunnerScript.h"
#include "ShellQuoting.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <optional>

namespace Tempolane::Testing {

// The real runner script, installed with a root whose path has spaces and an apostrophe, and
// started by a real shell (TEMPOLANE_RUNNER_SHELL, e.g. "/bin/bash --posix"; /bin/sh without).
struct RunnerFixture
{
    QTemporaryDir directory;
    QString base = directory.path() + "/data dir with 'quotes'";
    QString root = base + "/Executions";
    QString script = base + "/runner";

    RunnerFixture()
    {
        QDir().mkpath(base);
        QString text = runnerScriptTemplate();
        text.replace(runnerRootPlaceholder.toString(), quotedPath(root));
        QFile file(script);
        if (file.open(QIODevice::WriteOnly))
            file.write(text.toUtf8());
    }

    QString runs(const QString& jobId) const { return root + u'/' + jobId + "/runs"; }

    static QStringList shellCommand()
    {
        const QString configured = qEnvironmentVariable("TEMPOLANE_RUNNER_SHELL");
        return configured.isEmpty() ? QStringList{"/bin/sh"}
                                    : configured.split(u' ', Qt::SkipEmptyParts);
    }

    // `shell`: nothing leaves SHELL as it is, an empty optional value unsets it.
    void start(QProcess& process, const QStringList& arguments,
               std::optional<std::optional<QString>> shell = std::nullopt) const
    {
        if (shell) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            if (*shell)
                environment.insert("SHELL", **shell);
            else
                environment.remove("SHELL");
            process.setProcessEnvironment(environment);
        }
        process.setWorkingDirectory(directory.path());
        QStringList command = shellCommand();
        process.setProgram(command.takeFirst());
        process.setArguments(command + QStringList{script} + arguments);
        process.start();
    }

    // The runner's exit code, or -1 when it crashed.
    int run(const QStringList& arguments,
            std::optional<std::optional<QString>> shell = std::nullopt) const
    {
        QProcess process;
        start(process, arguments, shell);
        process.waitForFinished(60000);
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    static QString encoded(const QByteArray& command)
    {
        return QString::fromLatin1(command.toBase64());
    }
};

} // namespace Tempolane::Testing
