#include "UpcomingRuns.h"

#include "CronExpression.h"
#include "DateTimeText.h"
#include "NextExecutionSearch.h"

#include <QCoreApplication>

namespace Tempolane::UpcomingRuns {

QStringList texts(const QString& expression, const QDateTime& now, const QTimeZone& zone,
                  const QLocale& locale)
{
    const QString trimmed = expression.trimmed();
    if (!CronExpression::expandedShortcut(trimmed))
        return {CronExpression::description(trimmed)};
    const auto schedule = CronExpression::acceptedSchedule(trimmed);
    if (!schedule)
        return {};

    // One search for all runs: building it works out the zone's offsets, which costs more
    // than a search.
    const NextExecutionSearch search(*schedule, zone);
    QStringList lines;
    std::optional<std::int64_t> run = now.toMSecsSinceEpoch();
    while (lines.size() < shownRuns && (run = search.next(*run)))
        lines.append(
            DateTimeText::shortDateTime(QDateTime::fromMSecsSinceEpoch(*run, zone), locale, zone));
    if (lines.isEmpty())
        lines.append(QCoreApplication::translate("JobEditor",
                                                 "Keine Ausführung in den nächsten zwei Jahren."));
    return lines;
}

} // namespace Tempolane::UpcomingRuns
