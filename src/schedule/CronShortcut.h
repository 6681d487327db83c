#pragma once

#include <QStringView>

namespace Tempolane {

// An @-shortcut cron understands and the five fields it stands for.
struct CronShortcut
{
    QStringView name;      // lower case, "@" included
    QStringView expansion; // empty for "@reboot", which has no time-based schedule

    // The shortcut the whole text names; nothing otherwise. cron knows them in lower case only.
    static const CronShortcut* find(QStringView text);
};

} // namespace Tempolane
