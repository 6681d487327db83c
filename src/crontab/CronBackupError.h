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

    QString description() const;

    friend bool operator==(const CronBackupError&, const CronBackupError&) = default;
};

} // namespace Tempolane
