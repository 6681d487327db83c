#pragma once

#include <QString>

namespace Tempolane {

// A failed service operation: the runner ended with a non-zero status, the system refused
// a file or process operation, whose own description is kept, or cron would not run the job.
class ExecutionServiceError final
{
public:
    enum class Kind
    {
        commandFailed,
        fileSystemFailed,
        launchFailed,
        // cron runs no job of the account, so the job was not started either.
        cronRunsNothing
    };

    static ExecutionServiceError commandFailed(qint32 exitStatus)
    {
        return {Kind::commandFailed, exitStatus, {}};
    }
    static ExecutionServiceError fileSystemFailed(QString systemDescription)
    {
        return {Kind::fileSystemFailed, 0, std::move(systemDescription)};
    }
    static ExecutionServiceError launchFailed(QString systemDescription)
    {
        return {Kind::launchFailed, 0, std::move(systemDescription)};
    }

    static ExecutionServiceError cronRunsNothing(QString why)
    {
        return {Kind::cronRunsNothing, 0, std::move(why)};
    }

    Kind kind() const { return m_kind; }
    // The runner's exit status, for `commandFailed`.
    qint32 exitStatus() const { return m_exitStatus; }
    // Tempolane's sentence, then the system's own words.
    QString description() const;
    // Tempolane's sentence alone, and the system's words (empty where it said nothing).
    QString summary() const;
    QString details() const;

    friend bool operator==(const ExecutionServiceError&, const ExecutionServiceError&) = default;

private:
    ExecutionServiceError(Kind kind, qint32 exitStatus, QString systemDescription)
        : m_kind(kind), m_exitStatus(exitStatus), m_systemDescription(std::move(systemDescription))
    {
    }

    Kind m_kind;
    qint32 m_exitStatus;
    QString m_systemDescription;
};

} // namespace Tempolane
