#pragma once

#include "CronStore.h"

#include <QProcessEnvironment>
#include <memory>

namespace Tempolane {

// The application entry: decides between the real crontab and the sample data, and builds
// the one store every window shares. Nothing is read until a window asks the store to load.
class TempolaneApp final
{
public:
    explicit TempolaneApp(
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
    Q_DISABLE_COPY_MOVE(TempolaneApp)

    // TEMPOLANE_DEMO or XCODE_RUNNING_FOR_PREVIEWS set to exactly "1".
    static bool isSampleDataMode(const QProcessEnvironment& environment);

    bool isInSampleDataMode() const { return m_isSampleDataMode; }
    CronStore& store() { return *m_store; }

private:
    bool m_isSampleDataMode;
    std::unique_ptr<CronStore> m_store;
};

} // namespace Tempolane
