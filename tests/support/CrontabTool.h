#pragma once

#include <QFile>
#include <QProcess>
#include <sys/stat.h>

namespace Tempolane::Testing {

// What the real crontab tool answered; status -1 where it crashed.
struct ToolRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// The real tool, driven the way a user in a terminal would: "-l", "-r", or "-" with `input`.
inline ToolRun crontabTool(const QString& argument, const QByteArray& input = {})
{
    QProcess process;
    process.start(QStringLiteral("/usr/bin/crontab"), {argument});
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(-1);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

// What `crontab -l` lists.
inline QByteArray listedCrontab()
{
    return crontabTool(QStringLiteral("-l")).out;
}

// Type and permissions, without following a link; 0 where there is nothing.
inline mode_t linkMode(const QString& path)
{
    struct stat status
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode : 0;
}

} // namespace Tempolane::Testing
