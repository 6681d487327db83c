#pragma once

#include "CronBackupStore.h"
#include "CronDocument.h"
#include "CronRepository.h"
#include "CronSystemClient.h"
#include "DataLocations.h"

#include <QTest>
#include <QTime>
#include <optional>
#include <qcoro/qcorotask.h>

namespace Tempolane::Testing {

// Replaces the test user's crontab the way the application does: through the repository,
// which compares with what it read, keeps a backup and writes with the system tool. Returns
// the error's description on failure.
inline std::optional<QString> installCrontab(const QString& text)
{
    CronRepository repository(
        std::make_unique<CronSystemClient>(),
        std::make_unique<CronBackupStore>(DataLocations::forCurrentUser().backups));
    const auto current = QCoro::waitFor(repository.load());
    if (!current)
        return current.error().description();
    const auto saved = QCoro::waitFor(repository.save(text, *current));
    if (!saved)
        return saved.error().description();
    return std::nullopt;
}

// cron notices a new crontab by the spool directory's modification time, in whole seconds,
// once a minute; a change within the second of that scan but after it goes unseen.
inline void waitUntilClearOfCronsMinuteScan()
{
    while (QTime::currentTime().second() < 4 || QTime::currentTime().second() > 56)
        QTest::qWait(500);
}

// A monitored job that cron runs every minute.
inline CronJob everyMinuteJob(const QString& name, const QString& command,
                              ExecutionLogPolicy policy = ExecutionLogPolicy::messagesAndErrors)
{
    CronJob job;
    job.id = QUuid::createUuid();
    job.name = name;
    job.scheduleExpression = QStringLiteral("* * * * *");
    job.command = command;
    job.isMonitoringEnabled = true;
    job.logPolicy = policy;
    return job;
}

// A whole crontab of these lines and jobs, calling the test user's runner.
inline QString crontabText(const QList<CronDocument::Node>& nodes)
{
    return CronDocument{nodes, true}.serializedText(DataLocations::forCurrentUser().runner);
}

} // namespace Tempolane::Testing
