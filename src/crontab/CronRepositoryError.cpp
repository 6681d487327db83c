#include "CronRepositoryError.h"

#include <QCoreApplication>

namespace Tempolane {

QString CronRepositoryError::description() const
{
    if (isConcurrentModification())
        return summary();
    if (const auto* error = clientError())
        return error->description();
    return backupError()->description();
}

QString CronRepositoryError::summary() const
{
    if (isConcurrentModification())
        return QCoreApplication::translate(
            "CronRepositoryError", "Die crontab wurde außerhalb von Tempolane geändert. Bitte neu "
                                   "laden und die Änderung erneut anwenden.");
    if (const auto* error = clientError())
        return error->summary();
    return backupError()->summary();
}

QString CronRepositoryError::details() const
{
    if (const auto* error = clientError())
        return error->details();
    if (const auto* error = backupError())
        return error->details();
    return {};
}

} // namespace Tempolane
