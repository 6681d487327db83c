#pragma once

#include "ScheduleFrequency.h"

#include <QString>
#include <optional>
#include <set>

namespace Tempolane {

// The form model of the simple schedule shapes. Fields a frequency does not use keep their
// values, so switching the frequency back and forth loses nothing. Ranges are not checked.
struct VisualSchedule
{
    ScheduleFrequency frequency = ScheduleFrequency::daily;
    int minuteInterval = 5;
    int minute = 0;
    int hour = 9;
    int dayOfMonth = 1;
    std::set<int> weekdays{1}; // cron weekdays, 0 = Sunday … 6 = Saturday

    // Daily at 09:00.
    static VisualSchedule defaultSchedule() { return {}; }

    // The expression the value stands for, normalised ("5 9 * * 1,5").
    QString expression() const;

    // Nothing unless the text has one of the shapes. Weekday names count as their numbers;
    // shortcuts are never recognised.
    static std::optional<VisualSchedule> recognize(const QString& expression);

    friend bool operator==(const VisualSchedule&, const VisualSchedule&) = default;
};

} // namespace Tempolane
