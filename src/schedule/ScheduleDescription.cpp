#include "CronExpression.h"
#include "DescribedSchedule.h"
#include "Language.h"
#include "ScheduleWording.h"

namespace Tempolane::CronExpression {

namespace {

bool isGerman(const QLocale& locale)
{
    return locale.language() == QLocale::German;
}

bool showsGerman()
{
    return isGerman(Language::shown().locale);
}

} // namespace

QStringList weekdayNames()
{
    return showsGerman() ? GermanScheduleWording::weekdayNames()
                         : EnglishScheduleWording::weekdayNames();
}

QString minuteIntervalText(int interval)
{
    return showsGerman() ? GermanScheduleWording::minuteInterval(interval)
                         : EnglishScheduleWording::minuteInterval(interval);
}

QString description(const QString& expression)
{
    return description(expression, Language::shown().locale);
}

QString description(const QString& expression, const QLocale& locale)
{
    const DescribedSchedule schedule = DescribedSchedule::of(expression);
    return isGerman(locale) ? GermanScheduleWording::sentence(schedule)
                            : EnglishScheduleWording::sentence(schedule, locale);
}

} // namespace Tempolane::CronExpression
