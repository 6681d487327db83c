#pragma once

#include "CronJobLine.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QTimeZone>

// When cron starts a line, by its own reading: with both day fields restricted, on either.
namespace Tempolane::CronCalendar {

bool matchesDate(const CronJobLine& line, QDate date);
bool matchesTime(const CronJobLine& line, int hour, int minute);
// Some day of some year matches, and some time of it.
bool ever(const CronJobLine& line);
// The next starts after `now`, at most `count`, within two years, on the zone's wall clock.
QList<QDateTime> nextStarts(const CronJobLine& line, const QDateTime& now, const QTimeZone& zone,
                            int count);
// The first start after `from` up to `until`, searched minute by minute.
std::optional<QDateTime> startWithin(const CronJobLine& line, const QDateTime& from,
                                     const QDateTime& until, const QTimeZone& zone);

} // namespace Tempolane::CronCalendar
