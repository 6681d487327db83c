#pragma once

#include <QString>

namespace Tempolane {

// A failed service operation: the runner ended with a non-zero status, or the system refused
// a file or process operation, whose own description is kept.
class ExecutionServiceError final
{
public:
    enum class Kind
    {
        commandFailed,
        fileSystemFailed,
        launchFailed
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

    Kind kind() const { return m_kind; }
    // The runner's exit status, for `commandFailed`.
    qint32 exitStatus() const { return m_exitStatus; }
    // Tempolane's sentence, then the system's own words.
    QString description() const;
    // Tempolane's sentence alone, and the system's words (empty where it said nothing).
    QString summary() const;
    QString details() const { return m_systemDescription; }

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
