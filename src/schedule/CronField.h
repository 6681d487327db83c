#pragma once

#include <QString>
#include <QStringView>
#include <array>
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

// The value of a month or weekday name ("jan", "mon"); the text must already be lower case.
std::optional<int> nameValue(CronField field, QStringView lowercaseName);

} // namespace Tempolane
