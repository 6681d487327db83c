#include "VisualScheduleChoices.h"

#include "CronExpression.h"
#include "TextContext.h"

#include <QCoreApplication>
#include <QRegularExpression>

TEMPOLANE_TEXT_CONTEXT(VisualScheduleEditor)

namespace Tempolane::VisualScheduleChoices {

namespace {

// The day of month's field reads "15. Tag": the words before and after the number.
QString dayOfMonthText()
{
    return tr("%1. Tag");
}

} // namespace

QList<int> offeredMinuteIntervals()
{
    return {1, 2, 5, 10, 15, 20, 30};
}

QList<int> minuteIntervalEntries(const QList<int>& offered, int current)
{
    if (offered.contains(current))
        return offered;
    QList<int> entries = offered;
    const auto larger = std::find_if(entries.begin(), entries.end(),
                                     [current](int interval) { return interval > current; });
    entries.insert(larger, current);
    return entries;
}

QString minuteIntervalTitle(int interval)
{
    return CronExpression::minuteIntervalText(interval);
}

Symbol frequencySymbol(ScheduleFrequency frequency)
{
    switch (frequency) {
    case ScheduleFrequency::minutes:
        return Symbol::timer;
    case ScheduleFrequency::hourly:
        return Symbol::clock;
    case ScheduleFrequency::daily:
        return Symbol::sun;
    case ScheduleFrequency::weekly:
        return Symbol::calendar;
    case ScheduleFrequency::monthly:
        return Symbol::calendarBadgeClock;
    }
    Q_UNREACHABLE();
}

Rows rowsFor(ScheduleFrequency frequency)
{
    Rows rows;
    rows.interval = frequency == ScheduleFrequency::minutes;
    rows.startMinute = frequency == ScheduleFrequency::hourly;
    rows.time = frequency == ScheduleFrequency::daily || frequency == ScheduleFrequency::weekly ||
                frequency == ScheduleFrequency::monthly;
    rows.weekdays = frequency == ScheduleFrequency::weekly;
    rows.dayOfMonth = frequency == ScheduleFrequency::monthly;
    return rows;
}

QString startMinutePrefix()
{
    return tr("Minute ");
}

QString dayOfMonthPrefix()
{
    return dayOfMonthText().section(QStringLiteral("%1"), 0, 0);
}

QString dayOfMonthSuffix()
{
    return dayOfMonthText().section(QStringLiteral("%1"), 1);
}

QList<int> weekdayOrder()
{
    return {0, 1, 2, 3, 4, 5, 6};
}

QString weekdayShortLabel(int weekday)
{
    static const char* const labels[] = {QT_TRANSLATE_NOOP("VisualScheduleEditor", "So"),
                                         QT_TRANSLATE_NOOP("VisualScheduleEditor", "Mo"),
                                         QT_TRANSLATE_NOOP("VisualScheduleEditor", "Di"),
                                         QT_TRANSLATE_NOOP("VisualScheduleEditor", "Mi"),
                                         QT_TRANSLATE_NOOP("VisualScheduleEditor", "Do"),
                                         QT_TRANSLATE_NOOP("VisualScheduleEditor", "Fr"),
                                         QT_TRANSLATE_NOOP("VisualScheduleEditor", "Sa")};
    return tr(labels[weekday]);
}

QString weekdayName(int weekday)
{
    return CronExpression::weekdayNames().value(weekday);
}

std::set<int> toggledWeekday(const std::set<int>& weekdays, int weekday)
{
    std::set<int> toggled = weekdays;
    if (!toggled.contains(weekday))
        toggled.insert(weekday);
    else if (toggled.size() > 1)
        toggled.erase(weekday);
    return toggled;
}

QString timeOfDayFormat(const QLocale& locale)
{
    static const QRegularExpression seconds(QStringLiteral("[^hHmaApP]*s+"));
    return locale.timeFormat(QLocale::ShortFormat).remove(seconds).trimmed();
}

VisualSchedule withTime(VisualSchedule schedule, QTime time)
{
    if (time.isValid()) {
        schedule.hour = time.hour();
        schedule.minute = time.minute();
    }
    return schedule;
}

} // namespace Tempolane::VisualScheduleChoices
