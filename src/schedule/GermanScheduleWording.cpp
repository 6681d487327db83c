#include "ScheduleWording.h"

namespace Tempolane::GermanScheduleWording {

namespace {

QString timeOfDay(const VisualSchedule& schedule)
{
    return QString::asprintf("%02d:%02d", schedule.hour, schedule.minute);
}

QString weekdayList(const std::set<int>& weekdays)
{
    const QStringList names = weekdayNames();
    QStringList listed;
    for (const int weekday : weekdays) {
        if (weekday >= 0 && weekday < names.size())
            listed.append(names[weekday]);
    }
    return QLocale(QLocale::German).createSeparatedList(listed);
}

QString shape(const VisualSchedule& schedule)
{
    switch (schedule.frequency) {
    case ScheduleFrequency::minutes:
        return minuteInterval(schedule.minuteInterval);
    case ScheduleFrequency::hourly:
        if (schedule.minute == 0)
            return QStringLiteral("Zu jeder vollen Stunde");
        return QStringLiteral("Stündlich bei Minute %1").arg(schedule.minute);
    case ScheduleFrequency::daily:
        return QStringLiteral("Täglich um %1").arg(timeOfDay(schedule));
    case ScheduleFrequency::weekly:
        return QStringLiteral("%1 um %2").arg(weekdayList(schedule.weekdays), timeOfDay(schedule));
    case ScheduleFrequency::monthly:
        return QStringLiteral("Monatlich am %1. um %2")
            .arg(QString::number(schedule.dayOfMonth), timeOfDay(schedule));
    }
    Q_UNREACHABLE();
}

} // namespace

QString sentence(const DescribedSchedule& schedule)
{
    switch (schedule.kind) {
    case DescribedSchedule::Kind::custom:
        return QStringLiteral("Individueller Zeitplan");
    case DescribedSchedule::Kind::atStartUp:
        return QStringLiteral("Beim Systemstart");
    case DescribedSchedule::Kind::yearly:
        return QStringLiteral("Jährlich am 1. Januar um 00:00");
    case DescribedSchedule::Kind::weeklyOnSundays:
        return QStringLiteral("Wöchentlich sonntags um 00:00");
    case DescribedSchedule::Kind::visual:
        return shape(schedule.visual);
    }
    Q_UNREACHABLE();
}

QString minuteInterval(int interval)
{
    return interval == 1 ? QStringLiteral("Jede Minute")
                         : QStringLiteral("Alle %1 Minuten").arg(interval);
}

QStringList weekdayNames()
{
    return {QStringLiteral("Sonntag"),  QStringLiteral("Montag"),     QStringLiteral("Dienstag"),
            QStringLiteral("Mittwoch"), QStringLiteral("Donnerstag"), QStringLiteral("Freitag"),
            QStringLiteral("Samstag")};
}

} // namespace Tempolane::GermanScheduleWording
