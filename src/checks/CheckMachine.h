#pragma once

#include "CronEnvironment.h"
#include "JobExecutionRecord.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <QUuid>
#include <functional>
#include <memory>
#include <optional>

namespace Tempolane {

// A file as the system sees it when it is to run it: links followed.
struct FileStatus
{
    enum class Kind
    {
        missing,
        regular,
        directory,
        // A pipe, device or socket.
        special,
        // A folder on the way may not be entered, or links loop.
        unreachable
    };

    Kind kind = Kind::missing;
    // By this user; for a folder, whether it may be entered.
    bool isExecutable = false;
    bool isOwnedByUser = false;

    friend bool operator==(const FileStatus&, const FileStatus&) = default;
};

// The file system, as far as the checks look at it. Nothing is run and nothing is opened but
// regular files, of which only the first bytes are read.
class FileView
{
public:
    virtual ~FileView() = default;
    virtual FileStatus status(const QString& path) const = 0;
    // At most `limit` bytes from the start of a regular file; nothing for anything else.
    virtual std::optional<QByteArray> head(const QString& path, qsizetype limit) const = 0;
};

struct CheckAccount
{
    QString name;
    uint uid = 0;
    QString home;
    // Where the user's login shell finds programs, for telling where cron's search misses one.
    QStringList loginPath;

    CronEnvironment::Account forCron() const { return {name, home, {}}; }
};

// Everything of the machine the checks decide on, so that tests can set each of it.
struct CheckMachine
{
    CheckAccount account;
    // What PAM's pam_env adds to every job of this user (CronEnvironment::pamVariables).
    QProcessEnvironment pamVariables;
    // Why PAM ends cron's session for this user, so that cron runs none of the jobs.
    std::optional<QString> cronSessionFailure;
    std::shared_ptr<const FileView> files;
    // Nothing where it cannot be told.
    std::optional<bool> isCronRunning;
    // Whether a user account of that name exists, as in the user column of /etc/crontab.
    std::function<bool(const QString& name)> isAccount;
    // The newest runs of a monitored job first; at most the hundred newest are looked at.
    std::function<QList<JobExecutionRecord>(const QUuid& jobId)> runHistory;
    QTimeZone zone;
    QDateTime now;
};

} // namespace Tempolane
