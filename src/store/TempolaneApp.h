#pragma once

#include "CronStore.h"
#include "DataLocations.h"

#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <memory>
#include <optional>

namespace Tempolane {

// The application entry: decides between the real crontab and the sample data, and builds
// the one store every window shares, with the locations worked out once at start-up. Nothing
// is read until a window asks the store to load.
class TempolaneApp final
{
public:
    explicit TempolaneApp(
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
        const DataLocations& locations = DataLocations::forCurrentUser());
    Q_DISABLE_COPY_MOVE(TempolaneApp)

    // TEMPOLANE_DEMO or XCODE_RUNNING_FOR_PREVIEWS set to exactly "1".
    static bool isSampleDataMode(const QProcessEnvironment& environment);

    bool isInSampleDataMode() const { return m_isSampleDataMode; }
    const DataLocations& locations() const { return m_locations; }
    CronStore& store() { return *m_store; }

private:
    bool m_isSampleDataMode;
    DataLocations m_locations;
    std::optional<QTemporaryDir> m_sampleBackups;
    std::unique_ptr<CronStore> m_store;
};

} // namespace Tempolane
