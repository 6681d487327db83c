#pragma once

#include "CronDocument.h"
#include "CronSessionFailure.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QUuid>
#include <expected>
#include <functional>
#include <memory>
#include <optional>

namespace Tempolane {

struct EnvironmentAssignment
{
    QString name;
    QString value;

    friend bool operator==(const EnvironmentAssignment&, const EnvironmentAssignment&) = default;
};

// The environment Debian's cron gives a job, as the daemon was seen to build it: the variables
// PAM's pam_env adds for the cron service, then, overriding them, the crontab's assignments
// above the job with cron's own defaults for SHELL, HOME and PATH and the account's LOGNAME.
// Everything here is pure; the caller reads the account and the files.
namespace CronEnvironment {

struct Account
{
    QString name;
    QString home;
    // The login shell, for "@{SHELL}" in pam_env's settings; cron itself never uses it.
    QString shell;
};

// Opens a file for reading, or gives nothing where it cannot be read.
using FileOpener = std::function<std::unique_ptr<QIODevice>(const QString& path)>;

inline constexpr QStringView defaultShell = u"/bin/sh";
inline constexpr QStringView defaultPath = u"/usr/bin:/bin";
inline constexpr QStringView pamConfigurationPath = u"/etc/pam.d/cron";
// cron's own folder, where a job starts whose home folder cannot be entered.
inline constexpr QStringView cronFolder = u"/var/spool/cron";
// cron reads this many bytes of an assignment line, after its leading blanks, and drops the
// rest of the line.
inline constexpr qsizetype assignmentBytes = 998;

// The assignment cron reads from one crontab line; nothing for a comment, a job or anything
// the crontab tool would refuse as an assignment.
std::optional<EnvironmentAssignment> assignment(QStringView line);

// The assignments of the lines above the job, in file order; all of them where the document
// holds no such job.
QList<EnvironmentAssignment> assignmentsAbove(const CronDocument& document, const QUuid& jobId);

// What the pam_env entries of the cron service's PAM configuration add, reading each entry's
// settings file and then its environment file, in the configuration's order, each file whole;
// or why PAM aborts cron's session, so that cron runs no job of the account.
std::expected<QProcessEnvironment, CronSessionFailure> pamVariables(const FileOpener& open,
                                                                    const Account& account);

// The job's whole environment.
QProcessEnvironment forJob(const QList<EnvironmentAssignment>& crontabAssignments,
                           const QProcessEnvironment& pam, const Account& account);

// Where the job starts: its HOME, or cron's own folder where HOME cannot be entered (a file,
// a folder that is missing or closed to the account).
QString workingDirectory(const QProcessEnvironment& job,
                         const std::function<bool(const QString& folder)>& canEnter);

} // namespace CronEnvironment

} // namespace Tempolane
