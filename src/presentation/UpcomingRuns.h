#pragma once

#include <QDateTime>
#include <QLocale>
#include <QStringList>
#include <QTimeZone>

namespace Tempolane::UpcomingRuns {

inline constexpr int shownRuns = 5;

// The lines under "Nächste Ausführungen" for a valid schedule: its next runs after now, in the
// locale's short form, or one line saying why there are none; no lines for a refused schedule.
// Each run is searched from the one before, as far ahead as the schedule engine looks.
QStringList texts(const QString& expression, const QDateTime& now,
                  const QTimeZone& zone = QTimeZone::systemTimeZone(),
                  const QLocale& locale = QLocale());

} // namespace Tempolane::UpcomingRuns
