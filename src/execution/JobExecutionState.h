#pragma once

#include <QString>

namespace Tempolane {

// A job's execution status; only `failed` carries a payload.
class JobExecutionState final
{
public:
    enum class Kind
    {
        failed,
        notMonitored,
        waiting,
        running,
        succeeded,
        interrupted,
        notObserved
    };

    static JobExecutionState failed(qint32 exitCode) { return {Kind::failed, exitCode}; }
    static JobExecutionState notMonitored() { return {Kind::notMonitored, 0}; }
    static JobExecutionState waiting() { return {Kind::waiting, 0}; }
    static JobExecutionState running() { return {Kind::running, 0}; }
    static JobExecutionState succeeded() { return {Kind::succeeded, 0}; }
    static JobExecutionState interrupted() { return {Kind::interrupted, 0}; }
    static JobExecutionState notObserved() { return {Kind::notObserved, 0}; }

    Kind kind() const { return m_kind; }
    // Meaningful for `failed` only.
    qint32 exitCode() const { return m_exitCode; }

    friend bool operator==(const JobExecutionState&, const JobExecutionState&) = default;

private:
    JobExecutionState(Kind kind, qint32 exitCode) : m_kind(kind), m_exitCode(exitCode) {}

    Kind m_kind;
    qint32 m_exitCode;
};

QString rawValue(JobExecutionState::Kind kind);
QString title(const JobExecutionState& state);

} // namespace Tempolane
