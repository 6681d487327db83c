#include "NextRunText.h"

namespace Tempolane {

QString nextRunText(const std::optional<QDateTime>& run, const QTimeZone& zone)
{
    if (!run || !run->isValid())
        return QStringLiteral("—");
    return run->toTimeZone(zone).toString(QStringLiteral("dd.MM.yyyy HH:mm"));
}

} // namespace Tempolane
