#pragma once

#include <QString>

namespace Tempolane {

// A file-system failure while keeping a backup; the message is the system's own.
struct CronBackupError
{
    enum class Operation
    {
        locateDirectory,
        createDirectory,
        // Another user owns the directory; the message says so.
        foreignDirectory,
        setPermissions,
        writeFile,
        listDirectory,
        readDate,
        removeFile,
    };

    Operation operation = Operation::writeFile;
    QString path;
    QString message;

    // Tempolane's sentence, then the system's own words.
    QString description() const;
    // Tempolane's sentence alone, and the system's words (empty where it said nothing).
    QString summary() const;
    QString details() const;

    friend bool operator==(const CronBackupError&, const CronBackupError&) = default;
};

} // namespace Tempolane
