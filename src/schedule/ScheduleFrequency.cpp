#include "ScheduleFrequency.h"

#include <QCoreApplication>

namespace Tempolane {

QString rawValue(ScheduleFrequency frequency)
{
    switch (frequency) {
    case ScheduleFrequency::minutes:
        return QStringLiteral("minutes");
    case ScheduleFrequency::hourly:
        return QStringLiteral("hourly");
    case ScheduleFrequency::daily:
        return QStringLiteral("daily");
    case ScheduleFrequency::weekly:
        return QStringLiteral("weekly");
    case ScheduleFrequency::monthly:
        return QStringLiteral("monthly");
    }
    Q_UNREACHABLE();
}

QString title(ScheduleFrequency frequency)
{
    switch (frequency) {
    case ScheduleFrequency::minutes:
        return QCoreApplication::translate("ScheduleFrequency", "Minuten");
    case ScheduleFrequency::hourly:
        return QCoreApplication::translate("ScheduleFrequency", "Stündlich");
    case ScheduleFrequency::daily:
        return QCoreApplication::translate("ScheduleFrequency", "Täglich");
    case ScheduleFrequency::weekly:
        return QCoreApplication::translate("ScheduleFrequency", "Wöchentlich");
    case ScheduleFrequency::monthly:
        return QCoreApplication::translate("ScheduleFrequency", "Monatlich");
    }
    Q_UNREACHABLE();
}

std::optional<ScheduleFrequency> scheduleFrequencyFromRawValue(QStringView rawValue)
{
    for (const ScheduleFrequency frequency : allScheduleFrequencies) {
        if (rawValue == Tempolane::rawValue(frequency))
            return frequency;
    }
    return std::nullopt;
}

} // namespace Tempolane
