#pragma once

#include <QStringView>

namespace Tempolane {

// An @-shortcut cron understands: the five fields it stands for and the sentence that
// describes it.
struct CronShortcut
{
    QStringView name;        // lower case, "@" included
    QStringView expansion;   // empty for "@reboot", which has no time-based schedule
    const char* description; // the German source text, translated in the "CronExpression" context

    // The shortcut the whole text names; nothing otherwise. cron knows them in lower case only.
    static const CronShortcut* find(QStringView text);
};

} // namespace Tempolane
