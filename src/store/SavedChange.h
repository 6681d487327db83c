#pragma once

#include <QString>

namespace Tempolane {

// The last change the store wrote, with the texts before and after it, so that the change can
// be named, taken back and made again.
struct SavedChange
{
    enum class Kind
    {
        create,
        edit,
        pause,
        resume,
        remove,
        enableMonitoring,
        restore,
        // A fix the checks offered, named by `description`.
        fix
    };

    Kind kind = Kind::edit;
    // The shown name of the job it concerns; empty for changes of the whole crontab.
    QString jobName;
    QString before;
    QString after;
    // Taken back: the crontab holds `before` again, and the change can be made again.
    bool isUndone = false;
    // What a fix did, in its own words ("Pfad von „php“ ergänzen").
    QString description;

    // A change about to be written; the store fills in both texts.
    static SavedChange of(Kind kind, QString jobName = {})
    {
        return {kind, std::move(jobName), {}, {}, false, {}};
    }

    // What the crontab holds while this change is the last thing the store wrote.
    const QString& written() const { return isUndone ? before : after; }

    friend bool operator==(const SavedChange&, const SavedChange&) = default;
};

} // namespace Tempolane
