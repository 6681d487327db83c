#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace Tempolane {

// The shapes of schedule the visual form offers, in the order the form lists them.
enum class ScheduleFrequency
{
    minutes,
    hourly,
    daily,
    weekly,
    monthly
};

inline constexpr std::array<ScheduleFrequency, 5> allScheduleFrequencies{
    ScheduleFrequency::minutes, ScheduleFrequency::hourly, ScheduleFrequency::daily,
    ScheduleFrequency::weekly, ScheduleFrequency::monthly};

QString rawValue(ScheduleFrequency frequency);
QString title(ScheduleFrequency frequency);

// Exactly one of the raw values, case-sensitive.
std::optional<ScheduleFrequency> scheduleFrequencyFromRawValue(QStringView rawValue);

} // namespace Tempolane
