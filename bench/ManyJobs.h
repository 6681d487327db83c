#pragma once

#include "CronJob.h"

#include <QStringList>

namespace Tempolane::Bench {

// A crontab of many jobs as a user keeps them: mostly named, a few paused, a mix of schedules
// and commands long enough to be cut in the list.
inline QString manyJobsCrontab(int count)
{
    const QStringList schedules{QStringLiteral("*/5 * * * *"), QStringLiteral("30 8 * * 1-5"),
                                QStringLiteral("@daily"), QStringLiteral("15 */2 1,15 * *"),
                                QStringLiteral("0 3 * * 0")};
    QStringList lines{QStringLiteral("MAILTO=\"\""), QString()};
    for (int i = 0; i < count; ++i) {
        CronJob job;
        job.id = QUuid::createUuid();
        job.name = i % 4 == 0 ? QString() : QStringLiteral("Sicherung Projekt %1").arg(i);
        job.scheduleExpression = schedules[i % schedules.size()];
        job.command = QStringLiteral("/home/ann/bin/sync-%1.sh --target /srv/backup/projects/%1 "
                                     "--exclude '*.tmp' --notify team@example.org")
                          .arg(i);
        job.isEnabled = i % 7 != 0;
        // No job is monitored, so no line names the runner.
        lines.append(job.serializedLines(QStringView()));
    }
    return lines.join(u'\n') + u'\n';
}

} // namespace Tempolane::Bench
