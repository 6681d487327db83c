#pragma once

#include <QDateTime>
#include <QString>
#include <QTimeZone>
#include <optional>

namespace Tempolane {

// A next run as a job list shows it: "dd.MM.yyyy HH:mm" on the zone's wall clock, or "—".
QString nextRunText(const std::optional<QDateTime>& run, const QTimeZone& zone);

} // namespace Tempolane
