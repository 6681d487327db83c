#include "DataLocations.h"

#include <QStandardPaths>

namespace Tempolane {

DataLocations DataLocations::under(const QString& dataDirectory)
{
    const QString base = dataDirectory + QStringLiteral("/Tempolane");
    return {base + QStringLiteral("/Backups"), base + QStringLiteral("/Runner/tempolane-runner"),
            base + QStringLiteral("/Executions"),
            base + QStringLiteral("/Notifications/told-events")};
}

DataLocations DataLocations::forCurrentUser()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data.isEmpty() ? DataLocations() : under(data);
}

} // namespace Tempolane
