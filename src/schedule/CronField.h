#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>

namespace Tempolane {

// The five positions of a cron expression, in the order they are written.
enum class CronField
{
    minute,
    hour,
    dayOfMonth,
    month,
    weekday
};

inline constexpr std::array<CronField, 5> allCronFields{CronField::minute, CronField::hour,
                                                        CronField::dayOfMonth, CronField::month,
                                                        CronField::weekday};

QString title(CronField field);
int lowerBound(CronField field);
int upperBound(CronField field);

// The value of a month or weekday name ("jan", "MON"), in any case of its letters.
std::optional<int> nameValue(CronField field, QStringView name);

// One value as cron reads it in a field: a name of the field stands for its number, anything
// else must read as a number (CronText::readNumber). Bounds are not checked.
std::optional<std::int64_t> readValue(CronField field, QStringView text);

} // namespace Tempolane
