#include "LocaleFormat.h"
#include "ScheduleWording.h"

#include <algorithm>
#include <array>
#include <vector>

namespace Tempolane::EnglishScheduleWording {

namespace {

// Mondays first, as most English calendars print the working week; runs of three days or more
// read as a range, and a run through Sunday into Monday leads.
QStringList weekdayItems(const std::set<int>& weekdays)
{
    const QStringList names = weekdayNames();
    const auto fromMonday = [](int weekday) { return (weekday + 6) % 7; };
    const auto dayAt = [](int position) { return (position + 1) % 7; };
    std::array<bool, 7> chosen{};
    for (const int weekday : weekdays) {
        if (weekday >= 0 && weekday < 7)
            chosen[std::size_t(fromMonday(weekday))] = true;
    }

    struct Run
    {
        int start;
        int length;
    };
    std::vector<Run> runs;
    for (int position = 0; position < 7; ++position) {
        if (!chosen[std::size_t(position)] || chosen[std::size_t((position + 6) % 7)])
            continue;
        int length = 1;
        while (length < 7 && chosen[std::size_t((position + length) % 7)])
            ++length;
        runs.push_back({position, length});
    }
    const auto wraps = [](const Run& run) { return run.start + run.length > 7; };
    std::sort(runs.begin(), runs.end(), [&wraps](const Run& one, const Run& other) {
        return std::pair(!wraps(one), one.start) < std::pair(!wraps(other), other.start);
    });

    QStringList items;
    for (const Run& run : runs) {
        const QString& first = names[dayAt(run.start)];
        const QString& last = names[dayAt((run.start + run.length - 1) % 7)];
        if (run.length >= 3) {
            items.append(QStringLiteral("%1 to %2").arg(first, last));
            continue;
        }
        for (int offset = 0; offset < run.length; ++offset)
            items.append(names[dayAt((run.start + offset) % 7)]);
    }
    return items;
}

QString weekly(const VisualSchedule& schedule, const QString& time, const QLocale& locale)
{
    if (schedule.weekdays.size() >= 7)
        return QStringLiteral("Every day at %1").arg(time);
    const QStringList items = weekdayItems(schedule.weekdays);
    if (items.size() == 1 && schedule.weekdays.size() == 1)
        return QStringLiteral("Every %1 at %2").arg(items.front(), time);
    return QStringLiteral("%1 at %2").arg(locale.createSeparatedList(items), time);
}

QString shape(const VisualSchedule& schedule, const QLocale& locale)
{
    const QString time = LocaleFormat::timeOfDay(schedule.hour, schedule.minute, locale);
    switch (schedule.frequency) {
    case ScheduleFrequency::minutes:
        return minuteInterval(schedule.minuteInterval);
    case ScheduleFrequency::hourly:
        if (schedule.minute == 0)
            return QStringLiteral("Every hour on the hour");
        return QStringLiteral("Every hour at minute %1").arg(schedule.minute);
    case ScheduleFrequency::daily:
        return QStringLiteral("Every day at %1").arg(time);
    case ScheduleFrequency::weekly:
        return weekly(schedule, time, locale);
    case ScheduleFrequency::monthly:
        return QStringLiteral("On the %1 of every month at %2")
            .arg(LocaleFormat::ordinal(schedule.dayOfMonth, locale), time);
    }
    Q_UNREACHABLE();
}

} // namespace

QString sentence(const DescribedSchedule& schedule, const QLocale& locale)
{
    const QTimeZone utc = QTimeZone::utc();
    switch (schedule.kind) {
    case DescribedSchedule::Kind::custom:
        return QStringLiteral("Custom schedule");
    case DescribedSchedule::Kind::atStartUp:
        return QStringLiteral("At system start-up");
    case DescribedSchedule::Kind::yearly:
        return QStringLiteral("Every year on %1 at %2")
            .arg(LocaleFormat::dateTime(u"MMMMd", QDateTime(QDate(2000, 1, 1), QTime(0, 0), utc),
                                        locale, utc),
                 LocaleFormat::timeOfDay(0, 0, locale));
    case DescribedSchedule::Kind::weeklyOnSundays:
        return QStringLiteral("Every week on Sunday at %1")
            .arg(LocaleFormat::timeOfDay(0, 0, locale));
    case DescribedSchedule::Kind::visual:
        return shape(schedule.visual, locale);
    }
    Q_UNREACHABLE();
}

QString minuteInterval(int interval)
{
    return interval == 1 ? QStringLiteral("Every minute")
                         : QStringLiteral("Every %1 minutes").arg(interval);
}

QStringList weekdayNames()
{
    return {QStringLiteral("Sunday"),    QStringLiteral("Monday"),   QStringLiteral("Tuesday"),
            QStringLiteral("Wednesday"), QStringLiteral("Thursday"), QStringLiteral("Friday"),
            QStringLiteral("Saturday")};
}

} // namespace Tempolane::EnglishScheduleWording
