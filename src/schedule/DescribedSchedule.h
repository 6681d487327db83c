#pragma once

#include "VisualSchedule.h"

#include <QString>

namespace Tempolane {

// What a schedule's description says, before any language phrases it: one of the shortcuts
// with a sentence of their own, a shape of the visual form, or neither.
struct DescribedSchedule
{
    enum class Kind
    {
        custom,
        atStartUp,
        yearly,          // 1 January at 00:00
        weeklyOnSundays, // at 00:00
        visual
    };

    Kind kind = Kind::custom;
    VisualSchedule visual; // the shape, for Kind::visual

    // The shortcuts "@monthly", "@daily", "@midnight" and "@hourly" read as the shape they
    // stand for; text cron refuses is custom, even where the form would recognise it.
    static DescribedSchedule of(const QString& expression);

    friend bool operator==(const DescribedSchedule&, const DescribedSchedule&) = default;
};

} // namespace Tempolane
