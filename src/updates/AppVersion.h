#pragma once

#include <QString>

namespace Tempolane {

// The version a build of Tempolane carries: the release it belongs to ("2.3") and the number
// of the build ("57"). Either may be missing when the build did not set it.
struct AppVersion
{
    QString shortVersion;
    QString buildNumber;

    // The values this program was built with.
    static AppVersion ofThisBuild();

    // The release as shown, "1.0" when it is missing.
    QString displayedShortVersion() const;
    // The build number as shown, "1" when it is missing.
    QString displayedBuildNumber() const;
    // "Version 2.3 (57)".
    QString line() const;
};

} // namespace Tempolane
