#pragma once

#include <QString>
#include <QtGlobal>

namespace Tempolane {

// What the crontab tool itself reported, or why its answer cannot be trusted.
class CronSystemError final
{
public:
    enum class Kind
    {
        commandFailed,
        invalidOutput,
        // The tool died from a signal.
        terminated,
        // The tool reported success, but reading back gave another text.
        unconfirmedWrite,
        // The tool did not answer within its time limit and was stopped.
        timedOut,
        // The tool wrote more than outputLimit bytes to one stream and was stopped.
        outputTooLarge,
    };

    // What reading the crontab back showed after a write whose tool died or was stopped.
    enum class WriteCheck
    {
        none, // a read
        notInPlace,
        failed,
    };

    // More than any crontab a person keeps; a longer answer is not read into memory.
    static constexpr qint64 outputLimit = 8 * 1024 * 1024;

    static CronSystemError commandFailed(int status, QString message)
    {
        return CronSystemError(Kind::commandFailed, status, std::move(message));
    }
    static CronSystemError invalidOutput() { return CronSystemError(Kind::invalidOutput); }
    // The message is what the tool wrote to standard error before it died.
    static CronSystemError terminated(QString message = {})
    {
        return CronSystemError(Kind::terminated, 0, std::move(message));
    }
    static CronSystemError unconfirmedWrite() { return CronSystemError(Kind::unconfirmedWrite); }
    static CronSystemError timedOut() { return CronSystemError(Kind::timedOut); }
    static CronSystemError outputTooLarge() { return CronSystemError(Kind::outputTooLarge); }

    // Whether a write that failed this way may still have installed its text.
    bool leavesWriteUnknown() const
    {
        return m_kind == Kind::terminated || m_kind == Kind::timedOut ||
               m_kind == Kind::outputTooLarge;
    }
    CronSystemError afterWriteCheck(WriteCheck check) const
    {
        CronSystemError checked = *this;
        checked.m_writeCheck = check;
        return checked;
    }

    Kind kind() const { return m_kind; }
    WriteCheck writeCheck() const { return m_writeCheck; }
    int status() const { return m_status; }
    QString message() const { return m_message; }
    QString description() const;
    // Tempolane's sentence alone, and the tool's own words (empty where it said nothing).
    QString summary() const;
    QString details() const { return m_message; }

    friend bool operator==(const CronSystemError&, const CronSystemError&) = default;

private:
    explicit CronSystemError(Kind kind, int status = 0, QString message = {})
        : m_kind(kind), m_status(status), m_message(std::move(message))
    {
    }

    Kind m_kind;
    int m_status = 0;
    QString m_message;
    WriteCheck m_writeCheck = WriteCheck::none;
};

} // namespace Tempolane
