#pragma once

#include <QString>

namespace Tempolane {

// Where the application keeps backups, the runner and the run records. Worked out once when
// the program starts and handed to every component that reads or writes there.
struct DataLocations
{
    QString backups;
    // The runner script's file, as every wrapped command names it.
    QString runner;
    QString executions;
    // What the background watcher has told the user already.
    QString toldEvents;

    friend bool operator==(const DataLocations&, const DataLocations&) = default;

    // <dataDirectory>/Tempolane/Backups, …/Runner/tempolane-runner, …/Executions and
    // …/Notifications/told-events.
    static DataLocations under(const QString& dataDirectory);
    // Under the per-user data directory; every path is empty where the platform reports none.
    static DataLocations forCurrentUser();
};

} // namespace Tempolane
