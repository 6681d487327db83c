#pragma once

#include <QString>

namespace Tempolane {

// Why PAM aborts cron's session for the account: cron then runs none of its jobs ("Critical
// error - immediate abort" in cron's log), so a job run as cron would run it is not started
// either. Found in pam_env's settings file, which pam_env reads for every cron session.
struct CronSessionFailure
{
    enum class Kind
    {
        // "${NAME" or "@{NAME" without its closing brace.
        unterminatedReference,
        // The expanded value reaches pam_env's buffer of 8192 bytes.
        valueTooLong,
        // A line too long for pam_env's buffer, a NUL byte, or a continued line that the end of
        // the file cuts off.
        unreadableLine
    };

    Kind kind = Kind::unterminatedReference;
    QString file;
    qsizetype line = 0;
    // The variable whose value failed, or the reference that is not closed.
    QString subject;

    QString description() const;

    friend bool operator==(const CronSessionFailure&, const CronSessionFailure&) = default;
};

} // namespace Tempolane
