#pragma once

#include "RunnerScript.h"
#include "ShellQuoting.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <optional>

namespace Tempolane::Testing {

// The real runner script, installed with a root whose path has spaces and an apostrophe, and
// started by a real shell (TEMPOLANE_RUNNER_SHELL, e.g. "/bin/bash --posix"; /bin/sh without).
class RunnerFixture final
{
public:
    RunnerFixture()
        : m_base(m_directory.path() + QStringLiteral("/data dir with 'quotes'")),
          m_root(m_base + QStringLiteral("/Executions")),
          m_script(m_base + QStringLiteral("/runner"))
    {
        QDir().mkpath(m_base);
        QString text = runnerScriptTemplate();
        text.replace(runnerRootPlaceholder.toString(), quotedPath(m_root));
        QFile file(m_script);
        if (file.open(QIODevice::WriteOnly))
            file.write(text.toUtf8());
    }

    QString root() const { return m_root; }
    QString base() const { return m_base; }
    QString runsDirectory(const QString& jobId) const
    {
        return m_root + u'/' + jobId + QStringLiteral("/runs");
    }

    static QStringList shellCommand()
    {
        const QString configured = qEnvironmentVariable("TEMPOLANE_RUNNER_SHELL");
        return configured.isEmpty() ? QStringList{QStringLiteral("/bin/sh")}
                                    : configured.split(u' ', Qt::SkipEmptyParts);
    }

    struct Result
    {
        int exitCode = -1;
        QByteArray standardOutput;
        QByteArray standardError;
    };

    // `shell`: nothing leaves SHELL as it is, an empty optional value unsets it.
    Result run(const QStringList& arguments,
               std::optional<std::optional<QString>> shell = std::nullopt) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (shell) {
            if (*shell)
                environment.insert(QStringLiteral("SHELL"), **shell);
            else
                environment.remove(QStringLiteral("SHELL"));
        }
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(m_directory.path());
        QStringList command = shellCommand();
        process.setProgram(command.takeFirst());
        process.setArguments(command + QStringList{m_script} + arguments);
        process.start();
        process.waitForFinished(60000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }

    QString scriptPath() const { return m_script; }
    QString workingDirectory() const { return m_directory.path(); }

    static QString encoded(const QByteArray& command)
    {
        return QString::fromLatin1(command.toBase64());
    }

private:
    QTemporaryDir m_directory;
    QString m_base;
    QString m_root;
    QString m_script;
};

} // namespace Tempolane::Testing
