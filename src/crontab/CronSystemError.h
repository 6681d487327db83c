#pragma once

#include <QString>

namespace Tempolane {

// What the crontab tool itself reported, or why its answer cannot be trusted.
class CronSystemError final
{
public:
    enum class Kind
    {
        commandFailed,
        invalidOutput,
        // The tool died from a signal: whether it installed the text is unknown.
        terminated,
        // The tool reported success, but reading back gave another text.
        unconfirmedWrite,
    };

    static CronSystemError commandFailed(int status, QString message)
    {
        return CronSystemError(Kind::commandFailed, status, std::move(message));
    }
    static CronSystemError invalidOutput() { return CronSystemError(Kind::invalidOutput); }
    static CronSystemError terminated() { return CronSystemError(Kind::terminated); }
    static CronSystemError unconfirmedWrite() { return CronSystemError(Kind::unconfirmedWrite); }

    Kind kind() const { return m_kind; }
    int status() const { return m_status; }
    QString message() const { return m_message; }
    QString description() const;

    friend bool operator==(const CronSystemError&, const CronSystemError&) = default;

private:
    explicit CronSystemError(Kind kind, int status = 0, QString message = {})
        : m_kind(kind), m_status(status), m_message(std::move(message))
    {
    }

    Kind m_kind;
    int m_status = 0;
    QString m_message;
};

} // namespace Tempolane
