#pragma once

#include "ExecutionLogPolicy.h"

#include <QString>
#include <QStringList>
#include <QUuid>
#include <optional>

namespace Tempolane {

struct UnwrappedCommand
{
    QUuid id;
    ExecutionLogPolicy policy = ExecutionLogPolicy::messagesAndErrors;
    QString command;

    friend bool operator==(const UnwrappedCommand&, const UnwrappedCommand&) = default;
};

// A wrapped command names the runner by its quoted path (quotedPath), worked out once by the
// caller: a runner call that names another runner is an ordinary command.
namespace MonitoringCommandLine {

// macOS cron skips a job whose command begins with this keyword while the computer runs on
// battery, and only sees it at the very start of the command. Other crons run it as part of
// the command, which then fails.
inline constexpr QStringView batteryPrefix = u"@AppleNotOnBattery ";
#ifdef Q_OS_MACOS
inline constexpr bool cronKnowsBatteryPrefix = true;
#else
inline constexpr bool cronKnowsBatteryPrefix = false;
#endif

// What the runner runs of a job's command: all of it, but for the battery keyword where cron
// takes that for itself.
QString executedCommand(const QString& command);

// The crontab command that runs `command` through the runner. Where cron knows the battery
// keyword, it stays in front of the runner call and out of the encoding; elsewhere the runner
// runs it with the rest, as cron would. Either form is recognised on every platform.
QString wrappedCommand(const QUuid& id, ExecutionLogPolicy policy, const QString& command,
                       QStringView quotedRunner);

// The three runner arguments: lower-case id, policy word, Base64 of the command's UTF-8.
QStringList runnerArguments(const QUuid& id, ExecutionLogPolicy policy, const QString& command);

// Nothing unless the text is a call of this runner.
std::optional<UnwrappedCommand> unwrapCommand(const QString& commandLine, QStringView quotedRunner);

// cron turns an unescaped "%" into a line break, while a wrapped command reaches the shell
// unchanged, so such a command would behave differently once monitored.
std::optional<QString> compatibilityIssue(const QString& command);

// Debian's crontab refuses a command field over this many bytes, and BSD-derived crons cut
// it silently, which could leave a shorter command that still runs.
inline constexpr qsizetype maximumCommandFieldBytes = 998;

// The wrapped command is a third longer than the command itself; nothing when it fits the
// command field with any job id and any policy.
std::optional<QString> lengthIssue(const QString& command, QStringView quotedRunner);

// Why the command cannot be monitored as it is written: the percent sign first, then the
// length; nothing when it can.
std::optional<QString> monitoringIssue(const QString& command, QStringView quotedRunner);

} // namespace MonitoringCommandLine

} // namespace Tempolane
