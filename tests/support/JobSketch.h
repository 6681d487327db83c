#pragma once

#include "CronJob.h"
#include "ShellQuoting.h"

#include <QStringList>

namespace Tempolane::Testing {

// Where the stores of these tests have their runner; the crontabs written here call it.
inline QString runnerPath()
{
    return QStringLiteral("/home/ann/.local/share/Tempolane/Runner/tempolane-runner");
}

struct JobSketch
{
    QString name;
    QString schedule = QStringLiteral("0 9 * * *");
    QString command = QStringLiteral("/usr/local/bin/task");
    bool isEnabled = true;
    bool isMonitoringEnabled = false;
};

// A job with a stable id, so that the crontab written from it reads back the same.
inline CronJob makeJob(int number, const JobSketch& sketch)
{
    CronJob job;
    job.id = QUuid(QStringLiteral("00000000-0000-4000-8000-%1").arg(number, 12, 10, QChar(u'0')));
    job.name = sketch.name;
    job.scheduleExpression = sketch.schedule;
    job.command = sketch.command;
    job.isEnabled = sketch.isEnabled;
    job.isMonitoringEnabled = sketch.isMonitoringEnabled;
    return job;
}

inline QString crontabOf(const QList<JobSketch>& sketches)
{
    QStringList lines;
    for (int i = 0; i < sketches.size(); ++i)
        makeJob(i + 1, sketches[i]).appendSerializedLines(lines, quotedPath(runnerPath()));
    return lines.join(u'\n') + u'\n';
}

// A job as the editor tests start from: a backup script on the given schedule.
inline CronJob backupJob(const QString& expression, const QString& name = QStringLiteral("Backup"))
{
    CronJob job;
    job.id = QUuid::createUuid();
    job.name = name;
    job.scheduleExpression = expression;
    job.command = QStringLiteral("/usr/local/bin/backup.sh");
    return job;
}

} // namespace Tempolane::Testing
