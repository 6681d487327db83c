#pragma once

#include "Language.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTimeZone>
#include <optional>

namespace Tempolane {

// A next run as a job list shows it on the zone's wall clock, or "—": "dd.MM.yyyy HH:mm" in
// German, the locale's numeric date and time elsewhere ("12/7/2026, 9:30 AM").
QString nextRunText(const std::optional<QDateTime>& run, const QTimeZone& zone,
                    const QLocale& locale = Language::shown().locale);

} // namespace Tempolane
