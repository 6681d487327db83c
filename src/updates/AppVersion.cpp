#include "AppVersion.h"

#include <QCoreApplication>

namespace Tempolane {

namespace {

QString orFallback(const QString& value, const QString& fallback)
{
    const QString trimmed = value.trimmed();
    return trimmed.isEmpty() ? fallback : trimmed;
}

} // namespace

QString AppVersion::displayedShortVersion() const
{
    return orFallback(shortVersion, QStringLiteral("1.0"));
}

QString AppVersion::displayedBuildNumber() const
{
    return orFallback(buildNumber, QStringLiteral("1"));
}

QString AppVersion::line() const
{
    return QCoreApplication::translate("AppVersion", "Version %1 (%2)")
        .arg(displayedShortVersion(), displayedBuildNumber());
}

} // namespace Tempolane
