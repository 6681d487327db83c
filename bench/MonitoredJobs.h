#pragma once

// The run files of a busy user: 100 monitored jobs with 100 runs each and 1 MiB logs, every
// other run failed, the newest among them, so the job list needs each newest log's last line.
#include "CanonicalUuid.h"
#include "CronJob.h"
#include "DataLocations.h"
#include "ShellQuoting.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QTemporaryDir>

namespace Tempolane::Bench {

inline constexpr int jobCount = 100;
inline constexpr int recordsPerJob = 100;
inline constexpr qint64 logSize = 1048576;

// Writes the run files under the executions directory and returns the monitored jobs.
inline QList<CronJob> createMonitoredJobs(const DataLocations& locations)
{
    QList<CronJob> jobs;
    for (int job = 0; job < jobCount; ++job) {
        CronJob cronJob;
        cronJob.id = QUuid::createUuid();
        cronJob.name = QStringLiteral("Aufgabe %1").arg(job);
        cronJob.scheduleExpression = QStringLiteral("*/5 * * * *");
        cronJob.command = QStringLiteral("/home/ann/bin/task-%1.sh").arg(job);
        cronJob.isMonitoringEnabled = true;
        jobs.append(cronJob);
        const QString runs =
            locations.executions + u'/' + canonicalText(cronJob.id) + QStringLiteral("/runs");
        QDir().mkpath(runs);
        for (int run = 0; run < recordsPerJob; ++run) {
            const qint64 start = 1700000000 + run * 60;
            const QString runId = QStringLiteral("%1-%2").arg(start).arg(1000 + run);
            QFile record(runs + u'/' + runId + QStringLiteral(".run"));
            record.open(QIODevice::WriteOnly);
            record.write(
                QStringLiteral("version=1\nstart=%1\nend=%2\nexit=%3\npid=%4\nlog=%5.log\n")
                    .arg(start)
                    .arg(start + 5)
                    .arg(run % 2)
                    .arg(1000 + run)
                    .arg(runId)
                    .toLatin1());
            // Sparse but for the last line: real sizes, almost nothing on the disk.
            const QByteArray message = "error: task " + QByteArray::number(run) + " failed\n";
            QFile log(runs + u'/' + runId + QStringLiteral(".log"));
            log.open(QIODevice::WriteOnly);
            log.resize(logSize - message.size());
            log.seek(logSize - message.size());
            log.write(message);
        }
    }
    return jobs;
}

// The crontab of the fixture that createMonitoredFixture writes into `data`.
inline QString crontabPath(const QString& data)
{
    return data + QStringLiteral("/crontab");
}

// The run files under `data` and a crontab (crontabPath) that monitors their jobs.
inline void createMonitoredFixture(const QString& data)
{
    const DataLocations locations = DataLocations::under(data);
    QStringList lines;
    for (const CronJob& job : createMonitoredJobs(locations))
        lines.append(job.serializedLines(quotedPath(locations.runner)));
    QFile crontab(crontabPath(data));
    crontab.open(QIODevice::WriteOnly);
    crontab.write((lines.join(u'\n') + u'\n').toUtf8());
}

// One fixture per benchmark program, made on first use in a folder removed at exit.
inline QTemporaryDir& sharedMonitoredFixture()
{
    static QTemporaryDir directory;
    static const bool created = (createMonitoredFixture(directory.path()), true);
    (void)created;
    return directory;
}

} // namespace Tempolane::Bench
