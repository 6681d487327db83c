#pragma once

#include "ParsedCronSchedule.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QTimeZone>
#include <optional>

namespace Tempolane::CronExpression {

// Nothing when the text may be stored as a schedule, else the one German message to show.
std::optional<QString> validationMessage(QStringView expression);

// For refused text that a common slip explains (a step after a single value, a shortcut in
// capitals, fields parted by other white space): the valid text the user most likely meant.
std::optional<QString> suggestedExpression(QStringView expression);

// The five-field form of a shortcut, nothing for "@reboot", the text unchanged otherwise.
std::optional<QString> expandedShortcut(const QString& expression);

// Lenient: meant for validated text. Nothing when the text has no time-based schedule.
std::optional<ParsedCronSchedule> parse(const QString& expression);

// The schedule every computation of runs starts from: text that validation refuses has no runs,
// however leniently it parses. Nothing for refused text and for "@reboot".
std::optional<ParsedCronSchedule> acceptedSchedule(const QString& expression);

// Whether two expressions that validation accepts run at the same instants, whatever their
// spelling ("1-5" and "1,2,3,4,5", "7" and "0", "@daily" and "0 0 * * *").
bool meansSameTimes(const QString& expression, const QString& other);

// The first whole minute after the reference's minute at which the schedule matches on the
// zone's wall clock, within two calendar years; an instant in UTC. Nothing for "@reboot", for
// text that validation refuses and when no minute matches. Safe to call from any thread.
std::optional<QDateTime> nextExecution(const QString& expression, const QDateTime& reference,
                                       const QTimeZone& zone);

// The sentence shown for a schedule, in the language the texts are shown in; never empty.
QString description(const QString& expression);
// The same in the locale's language (German, else English), its time and dates written as the
// locale writes them.
QString description(const QString& expression, const QLocale& locale);
// "Jede Minute" or "Alle 5 Minuten", in the language the texts are shown in.
QString minuteIntervalText(int interval);

// The names of the cron weekdays in the language the texts are shown in, indexed
// 0 = Sunday … 6 = Saturday.
QStringList weekdayNames();

} // namespace Tempolane::CronExpression
