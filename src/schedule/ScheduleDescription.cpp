#include "CronExpression.h"
#include "CronShortcut.h"
#include "TextContext.h"
#include "VisualSchedule.h"

#include <QCoreApplication>
#include <QLocale>

namespace Tempolane::CronExpression {

namespace {

constexpr TextContext tr{"CronExpression"};

QString weekdayList(const std::set<int>& weekdays)
{
    const QStringList names = weekdayNames();
    QStringList listed;
    for (const int weekday : weekdays) {
        if (weekday >= 0 && weekday < names.size())
            listed.append(names[weekday]);
    }
    // The texts are German whatever the system's locale, so the list is joined the German way.
    return QLocale(QLocale::German).createSeparatedList(listed);
}

} // namespace

QStringList weekdayNames()
{
    return {tr("Sonntag"),    tr("Montag"),  tr("Dienstag"), tr("Mittwoch"),
            tr("Donnerstag"), tr("Freitag"), tr("Samstag")};
}

QString minuteIntervalText(int interval)
{
    return interval == 1 ? tr("Jede Minute") : tr("Alle %1 Minuten").arg(interval);
}

QString description(const QString& expression)
{
    if (const CronShortcut* shortcut = CronShortcut::find(expression))
        return tr(shortcut->description);
    // The recogniser forgives dangling dashes and empty list items; a sentence for text that
    // cron refuses would tell the user it runs.
    const auto schedule =
        validationMessage(expression) ? std::nullopt : VisualSchedule::recognize(expression);
    if (!schedule)
        return tr("Individueller Zeitplan");

    const QString time = QString::asprintf("%02d:%02d", schedule->hour, schedule->minute);
    switch (schedule->frequency) {
    case ScheduleFrequency::minutes:
        return minuteIntervalText(schedule->minuteInterval);
    case ScheduleFrequency::hourly:
        if (schedule->minute == 0)
            return tr("Zu jeder vollen Stunde");
        return tr("Stündlich bei Minute %1").arg(schedule->minute);
    case ScheduleFrequency::daily:
        return tr("Täglich um %1").arg(time);
    case ScheduleFrequency::weekly:
        return tr("%1 um %2").arg(weekdayList(schedule->weekdays), time);
    case ScheduleFrequency::monthly:
        return tr("Monatlich am %1. um %2").arg(QString::number(schedule->dayOfMonth), time);
    }
    Q_UNREACHABLE();
}

} // namespace Tempolane::CronExpression
