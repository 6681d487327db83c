#pragma once

#include <QByteArrayView>
#include <QString>
#include <expected>
#include <optional>
#include <sys/types.h>

// The application's own files may hold passwords from crontab commands, and the runner is a
// script that cron runs as this user: nobody else may read them or put something in their place.
namespace Tempolane::PrivateFiles {

// What failed, on which path, in the system's own words.
struct Failure
{
    enum class Step
    {
        createDirectory,
        // The directory belongs to another user, who may put anything in it.
        foreignDirectory,
        setPermissions,
        writeFile
    };

    Step step = Step::writeFile;
    QString path;
    QString message;
};

// Creates the directory and its missing parents, each new one open to its owner only, then
// claims the directory itself. Existing parents are the user's own arrangement and stay
// untouched.
std::expected<void, Failure> makeDirectory(const QString& path);

// Refuses an existing directory that belongs to another user, and closes one of the user's own
// to others (left open by an earlier version or by hand, even as a shared folder); the owner's
// own bits stay as they are.
std::expected<void, Failure> claimDirectory(const QString& path);

// The file name that writeAtomically is writing under the temporary `name`; nothing for any
// other name. A temporary that outlived its writer was left by a process that was killed.
std::optional<QString> targetOfTemporary(const QString& name);

// Writes the bytes to a fresh file beside `path`, gives it `mode` and renames it onto `path`:
// a reader sees the old or the new content whole, nobody sees the file with other permissions,
// and a symbolic link at `path` is replaced, never written through.
std::expected<void, Failure> writeAtomically(const QString& path, QByteArrayView bytes,
                                             mode_t mode = 0600);

} // namespace Tempolane::PrivateFiles
