#include "DescribedSchedule.h"

#include "CronExpression.h"
#include "CronShortcut.h"

namespace Tempolane {

DescribedSchedule DescribedSchedule::of(const QString& expression)
{
    if (const CronShortcut* shortcut = CronShortcut::find(expression)) {
        if (shortcut->expansion.isEmpty())
            return {Kind::atStartUp, {}};
        if (shortcut->name == u"@yearly" || shortcut->name == u"@annually")
            return {Kind::yearly, {}};
        if (shortcut->name == u"@weekly")
            return {Kind::weeklyOnSundays, {}};
        return {Kind::visual, *VisualSchedule::recognize(shortcut->expansion.toString())};
    }
    // The recogniser forgives dangling dashes and empty list items; a sentence for text that
    // cron refuses would tell the user it runs.
    if (CronExpression::validationMessage(expression))
        return {};
    if (const auto schedule = VisualSchedule::recognize(expression))
        return {Kind::visual, *schedule};
    return {};
}

} // namespace Tempolane
